#pragma once

#include <QStringList>

// Lists the full paths of the modules loaded into the running process: the
// executable itself and every shared library. The list always has at least
// one element: it starts as a single empty text, which the first path
// replaces. Returns true once the enumeration has run.
bool GetProcessModules(QStringList& DependencyList);

// The module enumeration as the dependencies window reaches it.
class IModuleSource {
public:
    virtual ~IModuleSource() = default;
    virtual bool GetProcessModules(QStringList& DependencyList) = 0;
};

class ProcessModuleSource : public IModuleSource {
public:
    bool GetProcessModules(QStringList& DependencyList) override {
        return ::GetProcessModules(DependencyList);
    }
};
