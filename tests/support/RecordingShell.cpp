#include "support/RecordingShell.h"

void RecordingShell::Open(const QString& target) {
    OpenedTargets.append(target);
}
