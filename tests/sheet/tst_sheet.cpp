#include "platform/ui/Grid.h"
#include "sheet/SheetModel.h"
#include "sheet/ui/Sheet.h"
#include "support/RecordingMessageBox.h"
#include "support/ScriptedFileDialog.h"
#include "support/TempFolders.h"
#include "timer/CTimer.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

// A commands file: 'R' gives READ row i (command XI<i>), 'W' a value row
// (command XR<i><i>), i counting rows from 1.
QString sheetFile(const QString& kinds) {
    QString text = QStringLiteral("[Title]\nN=Test sheet\n");
    for (int i = 1; i <= kinds.size(); ++i) {
        const QString n = QString::number(i);
        text += kinds.at(i - 1) == QLatin1Char('R')
                    ? "[XI" + n + "]\nN=Read " + n + "\n"
                    : "[XR" + n + "]\nN=Write " + n + "\nA=" + n + "\n";
    }
    return text;
}

const QString EditFile = QStringLiteral("[XIV]\nN=Version\n[XB]\nN=Averaging\nA=3\n"
                                        "[XRA]\nN=Rain factor\nA=0.2\n[XOPM]\nN=Options\n"
                                        "M=Single\nML=|#0;Off|#1;Single|#2;Continuous\n"
                                        "T=Raw\nTL=|#0;Raw|#1;Calibrated\n"
                                        "C=Internal\nCL=|#0;Internal|#1;External\n"
                                        "G=x1\nGL=|#01;x1|#02;x2|#10;x10\n");

struct Rig {
    Grid grid;
    QPushButton load, save, write;
    CTimer tmrBatch;
    ScriptedFileDialog dialog;
    RecordingMessageBox messages;
    TempFolders folders;
    QStringList sent; // what the command line sent: nothing for an empty text
    Sheet sheet{SheetControls{&grid, &load, &save, &write, &tmrBatch},
                dialog,
                messages,
                folders,
                QStringLiteral("Test title"),
                [this](const QString& command) {
                    if (!command.isEmpty())
                        sent.append(command);
                }};

    // The sheet as start-up leaves it, then loaded with the file when given.
    explicit Rig(const QString& file = QString(), bool shown = false) {
        sheet.SetupGrid();
        if (!file.isNull())
            loadText(file);
        if (shown) {
            grid.resize(900, 400);
            grid.show();
            QVERIFY(QTest::qWaitForWindowExposed(&grid));
        }
    }
    QString writeFile(const QString& text) {
        const QString path = folders.Root() + "/t.SDI12";
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text.toUtf8());
        return path;
    }
    void loadText(const QString& text) { sheet.LoadCommandsFile(writeFile(text)); }
    QPoint cellCentre(int row, int column) {
        QTableWidget* table = grid.Table();
        const QRect cell = table->visualRect(table->model()->index(row - 1, column));
        return table->viewport()->mapTo(&grid, cell.center());
    }
    QWidget* openEditor() const {
        QWidget* viewport = grid.Table()->viewport();
        QWidget* lineEdit = viewport->findChild<QLineEdit*>();
        return lineEdit ? lineEdit : viewport->findChild<QComboBox*>();
    }
    QStringList column(int column, bool data = false) const {
        QStringList cells;
        for (int row = 1; row < grid.RowCount(); ++row)
            cells << (data ? grid.CellData(row, column) : grid.CellText(row, column));
        return cells;
    }
    QStringList rowsAsLoaded() const {
        QStringList cells;
        for (int index = 0; index < SheetColumn::Send; ++index)
            cells << column(index) << column(index, true);
        return cells;
    }
};

} // namespace

class TestSheet : public QObject {
    Q_OBJECT
private slots:
    void setupGridAndReload() {
        Rig rig;
        QCOMPARE(rig.grid.RowCount(), 1);
        QStringList captions;
        for (int column = 0; column < rig.grid.ColumnCount(); ++column)
            captions << rig.grid.CellText(0, column);
        QCOMPARE(captions.join('|'),
                 QStringLiteral("Name|Action|Command|Value|Mode|Type|Config|Gain|Send|Result"));
        rig.sheet.MarkResult(QStringLiteral("OK")); // SheetRow 0: the captions stay
        QCOMPARE(rig.grid.CellText(0, 9), QStringLiteral("Result"));

        rig.loadText(sheetFile("WR"));
        rig.loadText(sheetFile("R"));
        QCOMPARE(rig.grid.RowCount(), 2);
        QCOMPARE(rig.grid.CellText(1, 2), QStringLiteral("XI1"));
        QCOMPARE(rig.grid.CellData(1, 3), QString());
        QCOMPARE(rig.grid.Table()->item(0, 1)->background().color(), QColor(224, 255, 224));
    }

    void loadAndSaveThroughDialogs() {
        Rig rig;
        rig.dialog.QueueCancel();
        rig.load.click();
        QCOMPARE(rig.grid.RowCount(), 1);
        const FileDialogRequest open = rig.dialog.Calls.at(0).Request;
        QCOMPARE(open.Title, QStringLiteral("Select an SDI-12 commands file to load"));
        QCOMPARE(open.InitialFileName, rig.folders.ProgramFolder() + "/Commands.SDI12");
        QCOMPARE(open.Filter, QStringLiteral("SDI-12 Files (*.SDI12)|*.SDI12|All Files (*.*)|*.*"));

        rig.dialog.QueueFileName(rig.writeFile(EditFile));
        rig.load.click();
        QCOMPARE(rig.grid.RowCount(), 5);
        const QStringList loaded = rig.rowsAsLoaded();
        const QString saved = rig.folders.Root() + "/saved.SDI12";
        rig.dialog.QueueFileName(saved);
        rig.save.click();
        QVERIFY(rig.dialog.Calls.at(2).Request.ConfirmOverwrite);
        rig.sheet.LoadCommandsFile(saved);
        QCOMPARE(rig.rowsAsLoaded(), loaded);
        QVERIFY(rig.messages.Messages.isEmpty());

        rig.sheet.SaveCommandsFile(rig.folders.Root() + "/missing/x.SDI12");
        rig.sheet.LoadCommandsFile(rig.folders.Root()); // a folder cannot be read
        QCOMPARE(rig.messages.Messages.size(), 2);
        QCOMPARE(rig.messages.Messages.at(1).Title, QStringLiteral("Test title"));
    }

    void whichCellsOpenAnEditor_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("opens");
        QTest::newRow("Result") << 2 << 9 << false;
        QTest::newRow("READ row Value") << 1 << 3 << false;
        QTest::newRow("option cell without list") << 2 << 4 << false;
        QTest::newRow("value row Value") << 2 << 3 << true;
        QTest::newRow("option cell") << 4 << 4 << true;
    }
    void whichCellsOpenAnEditor() {
        QFETCH(int, row);
        QFETCH(int, column);
        Rig rig(EditFile, true);
        rig.grid.SetCurrentCell(row, column);
        QTest::keyClick(rig.grid.Table(), Qt::Key_F2);
        QTEST(rig.openEditor() != nullptr, "opens");
    }

    void valueEdits_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("command");
        const auto addRow = [](const char* name, int row, const char* typed, const char* command) {
            QTest::newRow(name) << row << QString(typed) << QString(command);
        };
        addRow("XB out of range", 2, "12", "XB0");
        addRow("long value", 3, "123456789012345678", "XRA123456789012345678");
    }
    void valueEdits() {
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(QString, command);
        Rig rig(EditFile, true);
        rig.grid.SetCurrentCell(row, 3);
        QTest::keyClick(rig.grid.Table(), Qt::Key_F2);
        QTest::keyClicks(rig.openEditor(), typed);
        QTest::keyClick(rig.openEditor(), Qt::Key_Return);
        QTRY_COMPARE(rig.grid.CellText(row, 2), command);
        QCOMPARE(rig.grid.CellText(row, 3), command.mid(row == 2 ? 2 : 3)); // the value shown
        const int commandWidth = rig.grid.Table()->fontMetrics().horizontalAdvance(command);
        QVERIFY(rig.grid.Table()->columnWidth(2) >= commandWidth);
    }

    // The drop-down offers the cell's own options; the pick writes its code.
    void dropDownPick() {
        Rig rig(EditFile, true);
        rig.grid.SetCurrentCell(4, 7);
        QTest::keyClick(rig.grid.Table(), Qt::Key_F2);
        auto* dropDown = qobject_cast<QComboBox*>(rig.openEditor());
        QVERIFY(dropDown);
        QStringList offered;
        for (int i = 0; i < dropDown->count(); ++i)
            offered << dropDown->itemText(i);
        QCOMPARE(offered, QStringList({"x1", "x2", "x10"}));
        QTRY_VERIFY(dropDown->view()->isVisible());
        QTest::keyClick(dropDown->view(), Qt::Key_Down);
        QTest::keyClick(dropDown->view(), Qt::Key_Down);
        QTest::keyClick(dropDown->view(), Qt::Key_Return);
        QTRY_COMPARE(rig.grid.CellText(4, 2), QStringLiteral("XOPM10010"));
        QCOMPARE(rig.grid.CellText(4, 7), QStringLiteral("x10"));
    }

    void sendGesture_data() {
        QTest::addColumn<QString>("gesture");
        for (const char* gesture : {"click", "double click", "F2", "Enter"})
            QTest::newRow(gesture) << gesture;
    }
    // Two gestures on row 3's Send cell: two sends, whatever the gesture.
    void sendGesture() {
        QFETCH(QString, gesture);
        Rig rig(sheetFile("RWRW"), true);
        for (int i = 0; i < 2; ++i) {
            rig.grid.setCellText(3, 9, QStringLiteral("old"));
            rig.grid.SetCurrentCell(3, 8);
            const QPoint at = rig.cellCentre(3, 8);
            if (gesture == "click")
                QTest::mouseClick(rig.grid.windowHandle(), Qt::LeftButton, {}, at);
            else if (gesture == "double click")
                QTest::mouseDClick(rig.grid.windowHandle(), Qt::LeftButton, {}, at);
            else
                QTest::keyClick(rig.grid.Table(), gesture == "F2" ? Qt::Key_F2 : Qt::Key_Enter);
            QCOMPARE(rig.grid.CellText(3, 9), QString());
        }
        QCOMPARE(rig.sent, QStringList({"XI3", "XI3"}));
        QCOMPARE(rig.sheet.SheetRow(), 3);
        QCOMPARE(rig.grid.CurrentRow(), 0);
        QVERIFY(!rig.openEditor());
    }

    void batch_data() {
        QTest::addColumn<QString>("kinds");
        // P: mark every Result "old"; W: press the button; T: a tick of the
        // running timer; O, X: an exchange completes with "OK", times out.
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("results");
        QTest::addColumn<bool>("running");
        QTest::addColumn<int>("sheetRow");
        const auto addRow = [](const char* name, const char* kinds, const char* script,
                               const char* sent, const char* results, bool running, int row) {
            QTest::newRow(name) << QString(kinds) << QString(script) << QString(sent)
                                << QString(results) << running << row;
        };
        addRow("start", "RWRW", "PW", "", ",,,", true, 1);
        addRow("READ WRITE READ WRITE", "RWRW", "PWTOTO", "XR22 XR44", ",OK,,OK", false, 1);
        addRow("last rows READ", "RWRR", "WTOT", "XR22", ",OK,,", false, 1);
        addRow("stop between ticks", "RWRW", "WTWOT", "XR22", ",OK,,", false, 2);
        addRow("start after a stop", "RWRW", "WTWPWT", "XR22 XR22", ",,,", true, 2);
        addRow("time-out goes on", "RWRW", "WTXTO", "XR22 XR44", ",TIMEOUT,,OK", false, 1);
        addRow("late answer on next row", "RWRW", "WTXOTO", "XR22 XR44", ",TIMEOUT,OK,OK", false,
               1);
        addRow("tick before completion resends", "RWRW", "WTT", "XR22 XR22", ",,,", true, 2);
        addRow("header only", "", "WT", "", "", false, 1);
    }
    void batch() {
        QFETCH(QString, kinds);
        QFETCH(QString, script);
        QFETCH(bool, running);
        Rig rig(sheetFile(kinds));
        for (const QChar step : script) {
            if (step == 'P') {
                for (int row = 1; row < rig.grid.RowCount(); ++row)
                    rig.grid.setCellText(row, 9, QStringLiteral("old"));
            } else if (step == 'W') {
                rig.write.click();
            } else if (step == 'T' && rig.tmrBatch.Enabled()) {
                rig.sheet.tmrBatch_Timer();
            } else if (step == 'O' || step == 'X') {
                rig.sheet.MarkResult(step == 'O' ? QStringLiteral("OK")
                                                 : QStringLiteral("TIMEOUT"));
                rig.sheet.BatchStep();
            }
        }
        QTEST(rig.sent.join(' '), "sent");
        QTEST(rig.column(9).join(','), "results");
        QCOMPARE(rig.tmrBatch.Enabled(), running);
        QCOMPARE(rig.write.text(),
                 running ? QStringLiteral("Stop Write") : QStringLiteral("Write all"));
        QTEST(int(rig.sheet.SheetRow()), "sheetRow");
    }
};

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"
