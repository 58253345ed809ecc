#pragma once

#include "platform/Shell.h"

#include <QStringList>

// A shell that opens nothing and keeps every target it was handed.
class RecordingShell : public IShell {
public:
    void Open(const QString& target) override;

    QStringList OpenedTargets;
};
