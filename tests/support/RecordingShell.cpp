#include "support/RecordingShell.h"

bool RecordingShell::Open(const QString& target) {
    OpenedTargets.append(target);
    return !NoProgramTakesTargets;
}
