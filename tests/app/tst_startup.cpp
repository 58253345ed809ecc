#include "WindowHarness.h"

#include "app/TwoPanelStatusBar.h"
#include "platform/Folders.h"
#include "platform/ui/DropDownComboBox.h"
#include "platform/ui/Grid.h"
#include "platform/ui/Twips.h"

#include <QFile>
#include <QTabWidget>
#include <QtTest>

// Start-up, the port area, the layout on resize, and shutdown.
class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void firstStartCreatesFoldersAndLog() {
        QTemporaryDir dataHome;
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
        SystemFolders systemFolders;
        const QString log = dataHome.path() + "/Quenvarel/ProbeTerm/ProbeTerm.log";
        {
            WindowHarness first({}, &systemFolders);
            QCOMPARE(first.Window->LogFilePath(), log);
            QVERIFY(QFile::exists(log));
        }
        QFile file(log);
        QVERIFY(file.open(QIODevice::Append) && file.write("earlier line\r\n") > 0);
        file.close();
        WindowHarness{{}, &systemFolders}; // a later start keeps what the log holds
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("earlier line\r\n"));
        qunsetenv("XDG_DATA_HOME");
    }

    void startupConfiguresAndOpensThePort() {
        WindowHarness harness({"COM1", "/dev/ttyUSB0"});
        frmSDI12& window = *harness.Window;
        QCOMPARE(harness.Serial.Calls().mid(0, 4),
                 QStringList({"LineSettings=1200,E,7,1", "StartupOptions", "PortName=COM1",
                              "IsOpen=true"}));
        QCOMPARE(harness.Panel(1), "Open: COM1 at 1200,E,7,1");
        QCOMPARE(window.cboLines->count(), 2);
    }

    void failingLogIsReported() {
        TempFolders folders;
        folders.setUserDataFolder("/proc/no-such-folder");
        WindowHarness harness({"COM1"}, &folders);
        QVERIFY(harness.Panel(1).startsWith("Open: COM1"));
        QVERIFY2(harness.Panel(1).contains("ProbeTerm.log"), qPrintable(harness.Panel(1)));
        QVERIFY(harness.Window->isEnabled()); // the window still comes up
    }

    void choosingReopens_data() {
        QTest::addColumn<bool>("baudBox");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("expectedSetting");
        QTest::newRow("another port") << false << 1 << "PortName=COM2";
        QTest::newRow("other line settings") << true << 5 << "LineSettings=9600,N,8,1";
        QTest::newRow("the settings already shown: reopened all the same")
            << true << 0 << "LineSettings=1200,E,7,1";
    }
    void choosingReopens() {
        QFETCH(bool, baudBox);
        QFETCH(int, index);
        QFETCH(QString, expectedSetting);
        WindowHarness harness({"COM1", "COM2"});
        DropDownComboBox* box = baudBox ? harness.Window->cboBaud : harness.Window->cboLines;
        harness.Serial.ClearCalls();
        box->setCurrentIndex(index);
        emit box->activated(index);
        QCOMPARE(harness.Serial.Calls(),
                 QStringList({"IsOpen=false", expectedSetting, "IsOpen=true"}));
        QVERIFY(harness.Panel(1).startsWith("Open: "));
    }

    void typedPortPathIsChosenWithEnter() {
        WindowHarness harness({"COM1"});
        DropDownComboBox* box = harness.Window->cboLines;
        harness.Serial.ClearCalls();
        box->setEditText(QString());
        QTest::keyClicks(box, "/dev/pts/7");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(harness.Serial.PortName(), "/dev/pts/7");
        QVERIFY(harness.Serial.IsOpen());
    }

    // The rules themselves are tst_resizerules'; here the window applies them.
    void resizeKeepsMinimumAndStretches_data() {
        QTest::addColumn<int>("widthTwips");
        QTest::addColumn<int>("heightTwips");
        QTest::newRow("too small snaps back") << 1000 << 1000;
        QTest::newRow("large") << 20000 << 12000;
    }
    void resizeKeepsMinimumAndStretches() {
        QFETCH(int, widthTwips);
        QFETCH(int, heightTwips);
        WindowHarness harness;
        frmSDI12& window = *harness.Window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(Twips::ToPixels(widthTwips), Twips::ToPixels(heightTwips));
        QTRY_VERIFY(window.frameGeometry().width() >= Twips::ToPixels(5000));
        QVERIFY(window.frameGeometry().height() >= Twips::ToPixels(5200));
        // The tab fills what the port column and the status bar leave.
        const QRect tab = window.SSTab->geometry();
        QVERIFY(qAbs(tab.right() + 1 - window.width()) <= 1);
        QVERIFY(qAbs(tab.height() - (window.height() - window.StatusBar->height())) <= 1);
        QVERIFY(qAbs(window.fg->height() - (tab.height() - Twips::ToPixels(1000))) <= 1);

        // A minimised window keeps its layout for the restore.
        const QSize grid = window.fg->size();
        window.setWindowState(Qt::WindowMinimized);
        window.Form_Resize();
        window.setWindowState(Qt::WindowNoState);
        window.Form_Resize();
        QCOMPARE(window.SSTab->geometry(), tab);
        QCOMPARE(window.fg->size(), grid);
    }

    void closingClosesThePort() {
        WindowHarness harness({"COM1"});
        harness.Window->show();
        harness.Window->close();
        QVERIFY(!harness.Serial.IsOpen());
        QCOMPARE(harness.Serial.Calls().last(), "IsOpen=false");
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
