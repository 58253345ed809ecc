// Loading and saving a large commands file: 5,000 option sections of ten
// keys each. Prints the median of several runs of each.

#include "sheet/CommandsFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr int SectionCount = 5000;
constexpr int Runs = 7;

QByteArray GeneratedFile() {
    QByteArray file;
    for (int i = 0; i < SectionCount; ++i) {
        file += "[XO" + QByteArray::number(i) + "]\r\n";
        file += "N=Option setting " + QByteArray::number(i) + "\r\n";
        file += "M=Single\r\nML=|#0;Off|#1;Single|#2;Continuous\r\n";
        file += "T=Averaged\r\nTL=|#0;Raw|#1;Calibrated|#2;Averaged|#3;Filtered\r\n";
        file += "C=External\r\nCL=|#0;Internal|#1;External\r\n";
        file += "G=x5\r\nGL=|#01;x1|#02;x2|#05;x5|#10;x10\r\n";
        file += "U=unused key\r\n\r\n";
    }
    return file;
}

double MedianMilliseconds(const std::function<void()>& work) {
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const QString source = folder.filePath(QStringLiteral("large.SDI12"));
    QFile file(source);
    if (!file.open(QIODevice::WriteOnly) || file.write(GeneratedFile()) < 0)
        return 1;
    file.close();

    SheetRows rows;
    const double loadMs = MedianMilliseconds([&] { rows = LoadCommandsRows(source).Rows; });
    if (rows.size() != SectionCount)
        return 1;
    const QString target = folder.filePath(QStringLiteral("saved.SDI12"));
    bool saved = true;
    const double saveMs =
        MedianMilliseconds([&] { saved = saved && SaveCommandsRows(target, rows, ProfileFile()); });
    if (!saved)
        return 1;

    QTextStream out(stdout);
    out << "commandsfile_load_5000_sections: " << loadMs << " ms\n";
    out << "commandsfile_save_5000_sections: " << saveMs << " ms\n";
    return 0;
}
