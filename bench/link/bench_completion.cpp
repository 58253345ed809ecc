// Completion latency: from the moment the sensor's CR LF is written on the
// far side of a pseudo-terminal to the moment the window completes the
// answer, over 200 exchanges on the real serial component and the real
// receive timer.
#include "BenchFigures.h"
#include "app/frmSDI12.h"
#include "link/LinkEngine.h"
#include "link/TranscriptModel.h"
#include "platform/Clock.h"
#include "platform/serial/TermiosSerialPort.h"
#include "platform/ui/DropDownComboBox.h"
#include "support/TestPlatform.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <fcntl.h>
#include <unistd.h>

namespace {

void runEventsFor(int milliseconds) {
    const QDeadlineTimer deadline(milliseconds, Qt::PreciseTimer);
    while (!deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 1);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const int sensor = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (sensor < 0 || grantpt(sensor) != 0 || unlockpt(sensor) != 0) {
        std::printf("completion: no pseudo-terminal\n");
        return 1;
    }
    TermiosSerialPort serial;
    SystemClock clock;
    TestPlatform pieces;
    frmSDI12 window(pieces.With(serial, clock));
    window.cboLines->setEditText(QString::fromLocal8Bit(ptsname(sensor)));
    emit window.cboLines->Committed();

    QElapsedTimer stopwatch;
    stopwatch.start();
    double completedAt = -1;
    QObject::connect(&window.Transcript(), &QAbstractItemModel::rowsInserted, [&] {
        if (completedAt < 0)
            completedAt = stopwatch.nsecsElapsed() / 1e6;
    });

    QVector<double> latencies;
    char discard[256];
    for (int exchange = 0; exchange < 200; ++exchange) {
        window.Link().sendCommand(QStringLiteral("0M!"));
        runEventsFor(100); // the break, the marking and the command
        while (read(sensor, discard, sizeof discard) > 0) {
        }
        // The answer, its last byte one character time (8.3 ms) after the rest.
        if (write(sensor, "0+1.23\r", 7) != 7)
            break;
        runEventsFor(8);
        completedAt = -1;
        if (write(sensor, "\n", 1) != 1)
            break;
        const double lastByteAt = stopwatch.nsecsElapsed() / 1e6;
        const QDeadlineTimer deadline(1000);
        while (completedAt < 0 && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (completedAt >= 0)
            latencies << completedAt - lastByteAt;
        runEventsFor(20);
    }
    std::printf("completion_target: median within 12 ms, p99 within 25 ms\n");
    printFigures("completion_latency", latencies);
    close(sensor);
    return 0;
}
