#include "platform/ui/Grid.h"
#include "platform/ui/QtFileDialog.h"
#include "sheet/SheetModel.h"
#include "sheet/ui/Sheet.h"
#include "support/RecordingMessageBox.h"
#include "support/ScriptedFileDialog.h"
#include "support/TempFolders.h"
#include "timer/CTimer.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace SheetColumn;

namespace {

// A commands file: 'R' gives READ row i (command XI<i>), 'W' a value row
// (command XR<i><i>), i counting rows from 1.
QString sheetFile(const QString& kinds) {
    QString text;
    for (int i = 1; i <= kinds.size(); ++i)
        text += QString(kinds.at(i - 1) == 'R' ? "[XI%1]\n" : "[XR%1]\nA=%1\n").arg(i);
    return text;
}

const QString EditFile = "[XIV]\nN=Version\n[XB]\nN=Averaging\nA=3\n[XRA]\nA=0.2\n[XOPM]\n"
                         "M=Single\nML=|#0;Off|#1;Single\nT=Raw\nTL=|#0;Raw|#1;Calibrated\n"
                         "C=Internal\nCL=|#0;Internal\nG=x1\nGL=|#01;x1|#02;x2;fine|#10;x10\n";

// The sheet as start-up leaves it, loaded with a file and shown.
struct Rig {
    Grid grid;
    QPushButton load, save, write;
    CTimer tmrBatch;
    ScriptedFileDialog dialog;
    RecordingMessageBox messages;
    TempFolders folders;
    QStringList sent; // what went out through the command line
    std::function<void(const QString&)> send = [this](const QString& row) { sent.append(row); };
    Sheet sheet = Sheet(SheetControls{&grid, &load, &save, &write, &tmrBatch}, dialog, messages,
                        folders, "Test title", send);

    explicit Rig(const QString& file) {
        sheet.SetupGrid();
        sheet.LoadCommandsFile(writeFile(file));
        grid.resize(900, 400);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
    }
    QString writeFile(const QString& text) {
        QFile file(folders.Root() + "/t.SDI12");
        file.open(QIODevice::WriteOnly);
        file.write(text.toUtf8());
        return file.fileName();
    }
    // Makes (row, column) current, then a key > 0 is pressed on it, or it is
    // double-clicked (key 0) or clicked (key -1).
    void gesture(int row, int column, int key) {
        grid.SetCurrentCell(row, column);
        QTableWidget* table = grid.Table();
        const QRect cell = table->visualRect(table->model()->index(row - 1, column));
        const QPoint at = table->viewport()->mapTo(&grid, cell.center());
        if (key > 0)
            QTest::keyClick(table, Qt::Key(key));
        else if (key == 0)
            QTest::mouseDClick(grid.windowHandle(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(grid.windowHandle(), Qt::LeftButton, {}, at);
    }
    QWidget* openEditor() const { return grid.Table()->viewport()->findChild<QWidget*>(); }
    // The text (and with data, the hidden data) of columns first..last-1 of every row.
    QStringList cells(int first, int last, bool data = false) const {
        QStringList cells;
        for (int row = 1; row < grid.RowCount(); ++row)
            for (int column = first; column < last; ++column)
                cells << grid.CellText(row, column) +
                             (data ? '/' + grid.CellData(row, column) : "");
        return cells;
    }
};

} // namespace

class TestSheet : public QObject {
    Q_OBJECT
private slots:
    // Starts over a sheet of two rows that the loads must replace whole.
    void loadAndSaveThroughDialogs() {
        Rig rig(sheetFile("WR"));
        rig.sheet.MarkResult("OK"); // SheetRow 0: the caption stays
        QCOMPARE(rig.grid.CellText(0, Result), "Result");
        rig.dialog.QueueCancel();
        rig.load.click();
        QCOMPARE(rig.grid.RowCount(), 3);
        const FileDialogRequest open = rig.dialog.Calls.at(0).Request;
        QCOMPARE(open.InitialFileName, rig.folders.ProgramFolder() + "/Commands.SDI12");
        QCOMPARE(QtNameFilters(open.Filter),
                 QStringList({"SDI-12 Files (*.SDI12)", "All Files (*)"}));

        rig.dialog.QueueFileName(rig.writeFile(EditFile));
        rig.load.click();
        QCOMPARE(rig.grid.CellData(1, Value), QString()); // row 1 is now a READ row
        const QStringList loaded = rig.cells(Name, Send, true);
        const QString saved = rig.folders.Root() + "/saved.SDI12";
        rig.dialog.QueueFileName(saved);
        rig.save.click();
        QVERIFY(rig.dialog.Calls.at(2).Request.ConfirmOverwrite);
        rig.dialog.QueueFileName(saved);
        rig.load.click();
        QCOMPARE(rig.cells(Name, Send, true), loaded);
        QVERIFY(rig.messages.Messages.isEmpty());

        rig.sheet.SaveCommandsFile(rig.folders.Root() + "/missing/x.SDI12");
        rig.sheet.LoadCommandsFile(rig.folders.Root()); // a folder cannot be read
        rig.sheet.LoadCommandsFile(rig.folders.Root() + "/absent.SDI12");
        QCOMPARE(rig.messages.Messages.size(), 2);
        QCOMPARE(rig.messages.Messages.at(1).Title, "Test title");
    }

    void gestures_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("gestureKey"); // as Rig::gesture takes it
        QTest::addColumn<QString>("typed");  // "": no editor may open
        QTest::addColumn<QString>("command");
        const auto add = [](const char* name, int row, int column, int key, const char* typed,
                            const char* command) {
            QTest::newRow(name) << row << column << key << typed << command;
        };
        add("F2", 3, Value, Qt::Key_F2, "123456789012345678", "XRA123456789012345678");
        add("typing", 2, Value, Qt::Key_1, "2", "XB0");
        add("Enter", 3, Value, Qt::Key_Return, "5", "XRA5");
        add("double click", 3, Value, 0, "5", "XRA5");
        add("drop-down", 4, Gain, Qt::Key_F2, "x2", "XOPM10002");
        add("Name", 2, Name, 0, "", "XB3");
        add("Action", 2, Action, Qt::Key_F2, "", "XB3");
        add("Command", 2, Command, Qt::Key_F2, "", "XB3");
        add("Result", 2, Result, Qt::Key_F2, "", "XB3");
        add("READ row Value", 1, Value, Qt::Key_F2, "", "XIV");
        add("option without list", 2, Mode, 0, "", "XB3");
        add("Send click", 3, Send, -1, "", "XRA0.2");
        add("Send double click", 3, Send, 0, "", "XRA0.2");
        add("Send F2", 3, Send, Qt::Key_F2, "", "XRA0.2");
        add("Send Enter", 3, Send, Qt::Key_Enter, "", "XRA0.2");
    }
    // An edit: the row's command follows it, a Value cell shows the encoded
    // value at the command's end, and the Command column widens to fit.
    // A Send gesture: the row goes out once and its Result is cleared.
    void gestures() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, gestureKey);
        QFETCH(QString, typed);
        QFETCH(QString, command);
        Rig rig(EditFile);
        rig.grid.setCellText(row, Result, "old");
        rig.gesture(row, column, gestureKey);
        QCOMPARE(rig.openEditor() != nullptr, !typed.isEmpty());
        if (!typed.isEmpty()) {
            QTest::keyClicks(rig.openEditor(), typed);
            QTest::keyClick(rig.openEditor(), Qt::Key_Return);
        }
        QTRY_COMPARE(rig.grid.CellText(row, Command), command);
        QVERIFY(column != Value || command.endsWith(rig.grid.CellText(row, Value)));
        QVERIFY(rig.grid.Table()->columnWidth(Command) >=
                rig.grid.Table()->fontMetrics().horizontalAdvance(command));
        QCOMPARE(rig.sent, column == Send ? QStringList({command}) : QStringList());
        QCOMPARE(rig.grid.CellText(row, Result).isEmpty(), column == Send);
        if (column == Send)
            QVERIFY(rig.sheet.SheetRow() == row && rig.grid.CurrentRow() == 0);
    }

    void batch_data() {
        QTest::addColumn<QString>("kinds");
        // W: press the button; T: a tick of the running timer; O, X: an
        // exchange completes with "OK", times out. Every Result starts "old".
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("results");
        QTest::addColumn<bool>("running");
        QTest::addColumn<int>("sheetRow");
        const auto addRow = [](const char* name, const char* kinds, const char* script,
                               const char* sent, const char* results, bool running, int row) {
            QTest::newRow(name) << kinds << script << sent << results << running << row;
        };
        addRow("READ WRITE READ WRITE", "RWRW", "WTOTO", "XR22 XR44", ",OK,,OK", false, 1);
        addRow("last rows READ", "RWRR", "WTOT", "XR22", ",OK,,", false, 1);
        addRow("stop between ticks", "RWRW", "WTWOT", "XR22", ",OK,,", false, 2);
        addRow("start after a stop", "RWRW", "WTOTWWT", "XR22 XR44 XR22", ",,,", true, 2);
        addRow("time-out goes on", "RWRW", "WTXTO", "XR22 XR44", ",TIMEOUT,,OK", false, 1);
        addRow("late answer", "RWRW", "WTXOTO", "XR22 XR44", ",TIMEOUT,OK,OK", false, 1);
        addRow("tick before completion", "RWRW", "WTT", "XR22 XR22", ",,,", true, 2);
        addRow("header only", "", "WT", "", "", false, 1);
    }
    void batch() {
        QFETCH(QString, kinds);
        QFETCH(QString, script);
        QFETCH(bool, running);
        Rig rig(sheetFile(kinds));
        for (int row = 1; row < rig.grid.RowCount(); ++row)
            rig.grid.setCellText(row, Result, "old");
        for (const QChar step : script) {
            if (step == 'W')
                rig.write.click();
            else if (step == 'T' && rig.tmrBatch.Enabled())
                rig.sheet.tmrBatch_Timer();
            else if (step == 'O' || step == 'X')
                rig.sheet.MarkResult(step == 'O' ? "OK" : "TIMEOUT");
            if (step == 'O' || step == 'X')
                rig.sheet.BatchStep();
        }
        QTEST(rig.sent.join(' '), "sent");
        QTEST(rig.cells(Result, Result + 1).join(','), "results");
        QCOMPARE(rig.tmrBatch.Enabled(), running);
        QCOMPARE(rig.write.text(), running ? "Stop Write" : "Write all");
        QTEST(int(rig.sheet.SheetRow()), "sheetRow");
    }
};

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"
