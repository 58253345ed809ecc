// Fills the transcript with a million items behind the HEX tab's view, as a long
// session would, and measures memory, append time and scrolling; then goes on
// beyond the transcript's limit, where the oldest items are dropped.
#include "../link/BenchProcess.h"
#include "link/TrafficLogFormat.h"
#include "link/TranscriptModel.h"
#include "link/ui/TranscriptView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <cstdio>

namespace {

constexpr int ItemCount = 1000000;
constexpr int AppendBatch = 1000;
constexpr int ScrollSteps = 2000;
constexpr int BeyondLimitItems = 200000;

qint64 residentBytes() {
    return qint64(residentMegabytes() * 1024 * 1024);
}

void print(const char* name, double value, const char* unit) {
    std::printf("%s: %.3f %s\n", name, value, unit);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    TranscriptModel transcript;
    TranscriptView view;
    view.setModel(&transcript);
    view.resize(800, 600);
    view.show();
    QApplication::processEvents();

    // The two items of a typical measurement answer, generated up front so
    // that only the appends are timed.
    const QDateTime when(QDate(2026, 1, 31), QTime(14, 5, 9));
    QStringList items;
    qint64 textBytes = 0;
    for (int i = 0; i < AppendBatch; i += 2) {
        const QByteArray response = "0+" + QByteArray::number(i * 1.37, 'f', 2) + "+21.4\r\n";
        items << TrafficLogFormat::TranscriptLine1(when, 250 + i, response)
              << TrafficLogFormat::TranscriptLine2(response);
    }

    const qint64 residentBefore = residentBytes();
    double appendMs = 0;
    double worstBatchMs = 0;
    double worstTurnMs = 0;
    double lastTurnsMs = 0; // the final tenth of the fill, where the view is largest
    QElapsedTimer timer;
    for (int done = 0; done < ItemCount; done += AppendBatch) {
        timer.start();
        for (const QString& item : items)
            transcript.Append(item);
        const double batchMs = timer.nsecsElapsed() / 1e6;
        appendMs += batchMs;
        worstBatchMs = qMax(worstBatchMs, batchMs);
        timer.start();
        QApplication::processEvents();
        const double turnMs = timer.nsecsElapsed() / 1e6;
        worstTurnMs = qMax(worstTurnMs, turnMs);
        if (done >= ItemCount - ItemCount / 10)
            lastTurnsMs += turnMs;
    }
    for (const QString& item : items)
        textBytes += item.toUtf8().size();
    textBytes *= ItemCount / AppendBatch;
    const qint64 residentGrowth = residentBytes() - residentBefore;
    const qint64 storageBytes = transcript.StorageBytes();

    QScrollBar* scrollBar = view.verticalScrollBar();
    double worstScrollMs = 0;
    double scrollTotalMs = 0;
    for (int step = 0; step <= ScrollSteps; ++step) {
        timer.start();
        scrollBar->setValue(int(qint64(scrollBar->maximum()) * step / ScrollSteps));
        view.viewport()->repaint();
        const double stepMs = timer.nsecsElapsed() / 1e6;
        scrollTotalMs += stepMs;
        worstScrollMs = qMax(worstScrollMs, stepMs);
    }

    // Appends with their event-loop turns, now that old items make way.
    double beyondMs = 0;
    double worstBeyondMs = 0;
    for (int done = 0; done < BeyondLimitItems; done += AppendBatch) {
        timer.start();
        for (const QString& item : items)
            transcript.Append(item);
        QApplication::processEvents();
        const double batchMs = timer.nsecsElapsed() / 1e6;
        beyondMs += batchMs;
        worstBeyondMs = qMax(worstBeyondMs, batchMs);
    }

    print("text_per_item", double(textBytes) / ItemCount, "bytes");
    print("model_overhead_per_item", double(storageBytes - textBytes) / ItemCount, "bytes");
    print("rss_growth_beyond_text_per_item", double(residentGrowth - textBytes) / ItemCount,
          "bytes");
    print("append_per_1000", appendMs / (ItemCount / AppendBatch), "ms");
    print("append_worst_1000", worstBatchMs, "ms");
    print("event_loop_turn_worst", worstTurnMs, "ms");
    print("event_loop_turn_mean_last_100k", lastTurnsMs / (ItemCount / 10 / AppendBatch), "ms");
    print("scroll_step_mean", scrollTotalMs / (ScrollSteps + 1), "ms");
    print("scroll_step_worst", worstScrollMs, "ms");
    print("append_and_turn_per_1000_beyond_limit", beyondMs / (BeyondLimitItems / AppendBatch),
          "ms");
    print("append_and_turn_worst_1000_beyond_limit", worstBeyondMs, "ms");
    const bool keptTheNewest = transcript.rowCount() <= transcript.MaxItems() &&
                               transcript.Item(transcript.rowCount() - 1) == items.last();
    return keptTheNewest ? 0 : 1;
}
