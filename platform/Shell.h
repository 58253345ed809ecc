#pragma once

#include <QString>

// The shell's open action: hands a document path or a web address to the
// user's default program. It never blocks and reports nothing.
class IShell {
public:
    virtual ~IShell() = default;
    virtual void Open(const QString& target) = 0;
};
