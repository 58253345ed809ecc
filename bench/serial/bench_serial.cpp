// Figures of the serial component: how late a received byte reaches the
// buffer (the 10 ms silence detection depends on it), and what the terminal
// view costs in a long session.
#include "platform/serial/SerialTerminalView.h"
#include "platform/serial/TermiosSerialPort.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

long residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Microseconds from a write on the far side of a pseudo-terminal until the
// component has buffered the byte: the median and the worst of 500.
void measureReceiveLatency() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    grantpt(master);
    unlockpt(master);
    TermiosSerialPort port;
    port.setPortName(QString::fromLocal8Bit(ptsname(master)));
    port.setIsOpen(true);
    std::vector<qint64> delays;
    QElapsedTimer clock;
    QObject::connect(&port, &ISerialPort::BytesReceived,
                     [&] { delays.push_back(clock.nsecsElapsed() / 1000); });
    for (int i = 0; i < 500; ++i) {
        clock.start();
        if (::write(master, "0", 1) != 1)
            break;
        while (delays.size() <= size_t(i) && clock.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        port.ReadAll();
    }
    std::sort(delays.begin(), delays.end());
    std::printf("receive_latency_median: %lld us\n", delays[delays.size() / 2]);
    std::printf("receive_latency_max: %lld us\n", delays.back());
    ::close(master);
}

// A long session of 300000 exchanges; with the scrollback bounded, memory
// stops growing once the view holds its last 5000 lines.
void measureTerminalView() {
    TermiosSerialPort port;
    SerialTerminalView view(port);
    const long before = residentKilobytes();
    QElapsedTimer clock;
    clock.start();
    const int lines = 300000;
    for (int i = 1; i <= lines; ++i) {
        emit port.BytesTransmitted("0D0!");
        emit port.BytesReceived("0+" + QByteArray::number(i) + "+21.75+1013.2\r\n");
        if (i % 100000 == 0)
            std::printf("view_memory_growth_after_%d_lines: %ld kB\n", i,
                        residentKilobytes() - before);
    }
    std::printf("view_append_per_line: %.1f us\n", double(clock.nsecsElapsed()) / 1000.0 / lines);
    std::printf("view_lines_kept: %d lines\n", view.document()->blockCount());
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    measureReceiveLatency();
    measureTerminalView();
    return 0;
}
