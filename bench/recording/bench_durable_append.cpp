// The cost of recording one row durably: the row written, flushed and
// fdatasync'ed to a record file, as each measurement's row is before the
// next one starts. The file goes in a folder beside this program (pass
// another folder as the first argument, the number of rows as the second),
// so that the figures are those of a real disk rather than of a tmpfs.
#include "../link/BenchFigures.h"
#include "recording/RecordFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/vfs.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString parent =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    const int rowCount = argc > 2 ? std::max(10, atoi(argv[2])) : 2000;
    QTemporaryDir folder(parent + QStringLiteral("/bench_durable_append-XXXXXX"));
    struct statfs disk {};
    statfs(QFile::encodeName(folder.path()).constData(), &disk);
    std::printf("folder: %s (file system type 0x%lx)\n", qPrintable(folder.path()),
                static_cast<unsigned long>(disk.f_type));

    const RecordColumns columns({{'0', {"TA (degC)", "RH (%)", "P (hPa)"}},
                                 {'3', {"TA (degC)", "RH (%)", "P (hPa)"}},
                                 {'5', {"TA (degC)", "RH (%)", "P (hPa)"}}});
    const QDateTime start(QDate(2026, 1, 31), QTime(14, 5, 9), Qt::UTC);
    RecordFile file;
    if (!file.Open(folder.filePath(QStringLiteral("record.csv")), columns, {}, start)
             .IsRecording()) {
        std::printf("cannot open: %s\n", qPrintable(file.ErrorString()));
        return 1;
    }
    QVector<double> rowMs;
    QElapsedTimer timer;
    for (int number = 0; number < rowCount; ++number) {
        const QChar address = QStringLiteral("035").at(number % 3);
        const RecordRow row{start.addSecs(number / 3 * 5),
                            address,
                            QStringLiteral("CC"),
                            {{QStringLiteral("+21.37"), 21.37},
                             {QStringLiteral("+45.2"), 45.2},
                             {QStringLiteral("+1013.25"), 1013.25}},
                            QStringLiteral("OK")};
        timer.start();
        if (!file.AppendRow(row)) {
            std::printf("row %d failed: %s\n", number, qPrintable(file.ErrorString()));
            return 1;
        }
        rowMs.append(timer.nsecsElapsed() / 1e6);
    }
    printFigures("durable_append_per_row", rowMs);
    return 0;
}
