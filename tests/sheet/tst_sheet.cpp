#include "platform/ui/Grid.h"
#include "sheet/SheetModel.h"
#include "sheet/ui/Sheet.h"
#include "support/EngineOnFakes.h"
#include "support/RecordingMessageBox.h"
#include "support/ScriptedFileDialog.h"
#include "support/TempFolders.h"
#include "timer/CTimer.h"

#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace SheetColumn;

// READ XI1, WRITE XR22, READ XI3 and WRITE XR44 in rows 1 to 4; in the
// second file row 4 is READ XI4 too.
const QString BatchFile = "[XI1]\n[XR2]\nA=2\n[XI3]\n[XR4]\nA=4\n";
const QString LastReadFile = "[XI1]\n[XR2]\nA=2\n[XI3]\n[XI4]\n";

const QString EditFile = "; Edit sheet\n[Title]\nN=Probe\n"
                         "[XIV]\nN=Version\n[XB]\nN=Averaging\nA=3\n[XRA]\nA=0.2\n[XOPM]\n"
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
    EngineOnFakes line;
    QStringList sent;             // what went out through the command line
    TurnId conversation = NoTurn; // a measurement holds the line
    Sheet sheet = Sheet(SheetControls{&grid, &load, &save, &write, &tmrBatch}, dialog, messages,
                        folders, "Test title", line.Link, [this](const QString& row, TurnId turn) {
                            if (row.isEmpty())
                                return SendOutcome{};
                            const QString command = '0' + row + '!';
                            const SendOutcome outcome = turn == NoTurn
                                                            ? line.Link.sendCommand(command)
                                                            : line.Link.sendInTurn(turn, command);
                            if (outcome.IsSent())
                                sent.append(row);
                            return outcome;
                        });

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
    // Makes (row, column) current, then clicks it, double-clicks it or
    // presses the key named by how.
    void gesture(int row, int column, const QString& how) {
        grid.SetCurrentCell(row, column);
        const QRect cell = grid.Table()->visualRect(grid.Table()->model()->index(row - 1, column));
        const QPoint at = grid.Table()->viewport()->mapTo(&grid, cell.center());
        if (how == "click")
            QTest::mouseClick(grid.windowHandle(), Qt::LeftButton, {}, at);
        else if (how == "double click")
            QTest::mouseDClick(grid.windowHandle(), Qt::LeftButton, {}, at);
        else
            QTest::keyClick(grid.Table(), QKeySequence(how)[0].key());
    }
    QWidget* openEditor() const { return grid.Table()->viewport()->findChild<QWidget*>(); }
    // The text and hidden data of columns first..last-1 of every row.
    QStringList cells(int first, int last) const {
        QStringList cells;
        for (int row = 1; row < grid.RowCount(); ++row)
            for (int column = first; column < last; ++column)
                cells << grid.CellText(row, column) + grid.CellData(row, column);
        return cells;
    }
};

class TestSheet : public QObject {
    Q_OBJECT
private slots:
    // Starts over a sheet of four rows that each load must replace whole; a
    // save keeps the loaded file's opening comment and Title.
    void loadAndSaveThroughDialogs() {
        Rig rig(BatchFile);
        rig.sheet.ExchangeEnded(99, ExchangeOutcome::Answered, {}); // no row's: the caption stays
        QCOMPARE(rig.grid.CellText(0, Result), "Result");
        rig.dialog.QueueCancel();
        rig.load.click();
        QCOMPARE(rig.grid.RowCount(), 5);

        rig.dialog.QueueFileName(rig.writeFile(EditFile));
        rig.load.click();
        QCOMPARE(rig.grid.CellData(4, Value), QString()); // row 4 is now an option row
        const QStringList loaded = rig.cells(Name, Send);
        const QString saved = rig.folders.Root() + "/saved.SDI12";
        rig.dialog.QueueFileName(saved);
        rig.save.click();
        QVERIFY(rig.dialog.Calls.at(2).Request.ConfirmOverwrite);
        QFile savedFile(saved);
        QVERIFY(savedFile.open(QIODevice::ReadOnly));
        QVERIFY(savedFile.readAll().startsWith("; Edit sheet\r\n[Title]\r\nN=Probe\r\n"));
        rig.dialog.QueueFileName(saved);
        rig.load.click();
        QCOMPARE(rig.cells(Name, Send), loaded);

        rig.sheet.SaveCommandsFile(rig.folders.Root() + "/missing/x.SDI12");
        rig.sheet.LoadCommandsFile(rig.folders.Root()); // a folder cannot be read
        rig.sheet.LoadCommandsFile(rig.folders.Root() + "/absent.SDI12");
        QCOMPARE(rig.messages.Messages.size(), 2);
        QCOMPARE(rig.messages.Messages.at(1).Title, "Test title");
    }

    // An edit: the row's command follows it, a Value cell shows the encoded
    // value at the command's end, and the Command column widens to fit.
    // A Send gesture: the row goes out once and its Result is cleared.
    void gestures_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("gesture"); // as Rig::gesture takes it
        QTest::addColumn<QString>("typed");   // "": no editor may open
        QTest::addColumn<QString>("command");
        const auto add = [](const char* name, int row, int column, const char* gesture,
                            const char* typed, const char* command) {
            QTest::newRow(name) << row << column << gesture << typed << command;
        };
        add("F2", 3, Value, "F2", "123456789012345678", "XRA123456789012345678");
        add("typing", 2, Value, "1", "2", "XB0");
        add("drop-down", 4, Gain, "F2", "x2", "XOPM10002");
        add("Name", 2, Name, "double click", "", "XB3");
        add("Action", 2, Action, "F2", "", "XB3");
        add("Command", 2, Command, "F2", "", "XB3");
        add("Result", 2, Result, "F2", "", "XB3");
        add("READ row Value", 1, Value, "F2", "", "XIV");
        add("option without list", 2, Mode, "double click", "", "XB3");
        add("Send click", 3, Send, "click", "", "XRA0.2");
    }
    void gestures() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, gesture);
        QFETCH(QString, typed);
        QFETCH(QString, command);
        Rig rig(EditFile);
        rig.grid.setCellText(row, Result, "old");
        rig.gesture(row, column, gesture);
        QCOMPARE(rig.openEditor() != nullptr, !typed.isEmpty());
        if (!typed.isEmpty())
            QTest::keyClicks(rig.openEditor(), typed + '\r');
        QTRY_COMPARE(rig.grid.CellText(row, Command), command);
        QVERIFY(column != Value || command.endsWith(rig.grid.CellText(row, Value)));
        QVERIFY(rig.grid.Table()->columnWidth(Command) >=
                rig.grid.Table()->fontMetrics().horizontalAdvance(command));
        QCOMPARE(rig.sent, column == Send ? QStringList({command}) : QStringList());
        QCOMPARE(rig.grid.CellText(row, Result).isEmpty(), column == Send);
        QVERIFY(column != Send || (rig.sheet.SheetRow() == row && rig.grid.CurrentRow() == 0));
    }

    void batch_data() {
        QTest::addColumn<QString>("file");
        // W: press the button; T: a tick of the running timer; O, X: the
        // exchange on the line completes with an answer, times out; H, F: a
        // measurement holds the line, frees it.
        // Every Result starts "old".
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("results");
        QTest::addColumn<QString>("after"); // the button's caption and SheetRow
        const auto addRow = [](const char* name, const QString& file, const char* script,
                               const char* sent, const char* results, const char* after) {
            QTest::newRow(name) << file << script << sent << results << after;
        };
        addRow("READ WRITE READ WRITE", BatchFile, "WTOTO", "XR22 XR44", ",OK,,OK", "Write all 1");
        addRow("last rows READ", LastReadFile, "WTOT", "XR22", ",OK,,", "Write all 1");
        addRow("stop between ticks", BatchFile, "WTWOT", "XR22", ",OK,,", "Write all 2");
        // Restarted while XR44's exchange is in flight: the first row waits
        // for its outcome, which still goes to XR44's row.
        addRow("start after a stop", BatchFile, "WTOTWWTO", "XR22 XR44 XR22", ",,,OK",
               "Stop Write 2");
        addRow("time-out goes on", BatchFile, "WTXTO", "XR22 XR44", ",TIMEOUT,,OK", "Write all 1");
        addRow("a tick waits for its exchange", BatchFile, "WTTOT", "XR22 XR44", ",OK,,",
               "Stop Write 4");
        addRow("a held link makes the batch wait", BatchFile, "WTOHTTFTO", "XR22 XR44", ",OK,,OK",
               "Write all 1");
    }
    void batch() {
        QFETCH(QString, file);
        QFETCH(QString, script);
        Rig rig(file);
        for (int row = 1; row < rig.grid.RowCount(); ++row)
            rig.grid.setCellText(row, Result, "old");
        for (const QChar step : script) {
            if (step == 'W')
                rig.write.click();
            else if (step == 'T' && rig.tmrBatch.Enabled())
                rig.sheet.tmrBatch_Timer();
            else if (step == 'H')
                rig.conversation = rig.line.Link.requestTurn(TurnKind::Conversation, &rig.grid,
                                                             "measuring", [](TurnId) {});
            else if (step == 'F')
                rig.line.Link.endTurn(rig.conversation);
            else if (step == 'O')
                rig.line.Answer("0\r\n");
            else if (step == 'X')
                rig.line.Silence();
        }
        QTEST(rig.sent.join(' '), "sent");
        QTEST(rig.cells(Result, Result + 1).join(','), "results");
        QTEST(rig.write.text() + ' ' + QString::number(rig.sheet.SheetRow()), "after");
        QCOMPARE(rig.tmrBatch.Enabled(), rig.write.text() == "Stop Write");
    }

    // A READ row shows its answer, without the address and the line end, as
    // its own exchange completes; the answer is never saved with the file.
    void readRowShowsItsAnswer() {
        Rig rig(BatchFile);
        rig.gesture(1, Send, "click");
        QCOMPARE(rig.sent, QStringList({"XI1"}));
        rig.line.Answer("0+17.5\r\n");
        QCOMPARE(rig.grid.CellText(1, Value), "+17.5");
        QCOMPARE(rig.grid.CellText(1, Result), "OK");
        rig.line.Link.sendCommand("0I!");
        rig.line.Answer("0+99\r\n");
        QCOMPARE(rig.grid.CellText(1, Value), "+17.5"); // not the row's exchange

        const QString saved = rig.folders.Root() + "/saved.SDI12";
        rig.sheet.SaveCommandsFile(saved);
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("17.5"));
    }
};

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"
