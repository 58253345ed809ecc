#pragma once

#include <QSocketNotifier>

#include <memory>

// Turns SIGINT, SIGTERM and SIGHUP into a quit of the event loop, so that the
// simulator leaves through its destructors (which remove the device link).
// The handler only writes a byte into a pipe; the loop reads it.
class QuitOnSignals {
public:
    QuitOnSignals();

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};
