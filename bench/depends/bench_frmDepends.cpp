// Time to open the dependencies window with the process's real modules:
// construction and Form_Load, the package database read included.
#include "depends/ui/frmDepends.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    constexpr int Runs = 9;
    std::vector<double> milliseconds;
    int rows = 0;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        frmDepends window(nullptr);
        milliseconds.push_back(double(timer.nsecsElapsed()) / 1e6);
        rows = window.findChild<QTreeWidget*>(QStringLiteral("ListView"))->topLevelItemCount();
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("frmDepends_open_median: %.1f ms\n", milliseconds[Runs / 2]);
    std::printf("frmDepends_open_max: %.1f ms\n", milliseconds.back());
    std::printf("frmDepends_modules: %d rows\n", rows);
    return 0;
}
