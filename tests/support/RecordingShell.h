#pragma once

#include "platform/Shell.h"

#include <QStringList>

// A shell that opens nothing and keeps every target it was handed; it says
// it opened them unless the test says no program takes them.
class RecordingShell : public IShell {
public:
    bool Open(const QString& target) override;

    QStringList OpenedTargets;
    bool NoProgramTakesTargets = false;
};
