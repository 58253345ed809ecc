// A recording without a window, for the crash test: it measures sensors 0
// and 3 with R0 every second on the device given, records each measurement
// to the file given, and prints "recorded <rows>" once each row is on the
// disk. The test kills it at any moment.
//
//   recording_child <device> <record file> <log file>
#include "link/LinkEngine.h"
#include "link/LogFile.h"
#include "link/TrafficLog.h"
#include "link/TranscriptModel.h"
#include "measure/MeasurementRunner.h"
#include "platform/Clock.h"
#include "platform/serial/TermiosSerialPort.h"
#include "recording/MeasurementRecorder.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    TermiosSerialPort port;
    SystemClock clock;
    TranscriptModel transcript(10);
    LogFile log;
    log.Open(QString::fromLocal8Bit(argv[3]), nullptr);
    TrafficLog traffic(transcript, log, clock);
    LinkEngine link(port, clock, traffic);
    port.setLineSettings(QStringLiteral("1200,E,7,1"));
    link.choosePort(QString::fromLocal8Bit(argv[1]));

    const MeasurementMethod method = *MeasurementMethod::FromName(QStringLiteral("R0"));
    MeasurementRecorder recorder;
    const QStringList values = RecordColumns::NumberedLabels(3);
    const RecordOpening opening =
        recorder.start(QString::fromLocal8Bit(argv[2]), {{'0', values}, {'3', values}}, method, {},
                       QDateTime::currentDateTimeUtc());
    if (!opening.IsRecording()) {
        std::printf("not recording: %s\n", qPrintable(opening.Reason));
        return 1;
    }
    QObject::connect(&recorder, &MeasurementRecorder::rowWritten, [](qint64 rows) {
        std::printf("recorded %lld\n", static_cast<long long>(rows));
        std::fflush(stdout);
    });
    MeasurementRunner runner(link, clock);
    QObject::connect(&runner, &MeasurementRunner::measurementEnded, &recorder,
                     &MeasurementRecorder::record);
    runner.start({'0', '3'}, method, 1);
    return QCoreApplication::exec();
}
