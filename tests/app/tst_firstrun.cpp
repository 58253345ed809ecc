#include "app/AboutTab.h"
#include "app/LicenceWindow.h"
#include "app/TwoPanelStatusBar.h"
#include "app/VersionCaption.h"
#include "app/frmSDI12.h"
#include "platform/Clock.h"
#include "platform/serial/TermiosSerialPort.h"
#include "platform/ui/DropDownComboBox.h"
#include "support/SimulatorProcess.h"
#include "support/TestPlatform.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtTest>

namespace {

struct Program {
    TermiosSerialPort Serial;
    SystemClock Clock;
    TestPlatform Pieces;
    std::unique_ptr<frmSDI12> Window;

    explicit Program(const StartupChoices& choices = {})
        : Window(std::make_unique<frmSDI12>(Pieces.With(Serial, Clock), choices)) {}
    QString LinkState() const { return Window->StatusBar->LinkStateText(); }
};

} // namespace

// A newcomer's first run: the port named on the command line, and the state
// of the link always in sight.
class TestFirstRun : public QObject {
    Q_OBJECT
private slots:
    // Whatever is named, the window comes up and says what became of it.
    void startupOpensTheNamedPort_data() {
        QTest::addColumn<bool>("simulated");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("panel1"); // how status panel 1 begins
        QTest::newRow("the simulator's port") << true << QString("9600,N,8,1") << QString("Open: ");
        QTest::newRow("unusable settings")
            << true << QString("1200,X,7,1") << QString("Line settings");
        QTest::newRow("no such port") << false << QString() << QString("No such port");
    }
    void startupOpensTheNamedPort() {
        QFETCH(bool, simulated);
        QFETCH(QString, settings);
        QFETCH(QString, panel1);
        SimulatorProcess sim;
        QVERIFY(sim.Started());
        const QString port = simulated ? sim.DevicePath() : "/dev/ttyNONE9";
        Program program({port, settings});
        QCOMPARE(program.Window->cboLines->currentText(), port);
        QVERIFY(program.Window->StatusBar->PanelText(1).startsWith(panel1));
        QCOMPARE(program.Serial.IsOpen(), panel1 == "Open: ");
        if (!settings.isEmpty())
            QCOMPARE(program.Window->cboBaud->currentText(), settings);
    }

    void linkStateReadsOpenClosedLost() {
        SimulatorProcess sim;
        QVERIFY(sim.Started());
        Program program({sim.DevicePath(), QString()});
        const QString open = QString("\u25CF %1 1200,E,7,1").arg(sim.DevicePath());
        QCOMPARE(program.LinkState(), open);

        const auto choosePort = [&program](const QString& port) {
            program.Window->cboLines->setEditText(port);
            emit program.Window->cboLines->Committed();
        };
        choosePort("/dev/ttyNONE9");
        QCOMPARE(program.LinkState(), "closed");
        choosePort(sim.DevicePath());
        QCOMPARE(program.LinkState(), open);

        sim.Kill();
        QTRY_COMPARE(program.LinkState(), "lost \u2014 reopening");
    }

    // The About tab shows the caption that --version prints.
    void aboutTabShowsTheVersionCaption() {
        Program program;
        auto* label = program.Window->About->findChild<QLabel*>("lblVersion");
        QVERIFY(label);
        QCOMPARE(label->text(), versionCaption());
        QVERIFY(QRegularExpression("^Version \\d+\\.\\d+  Build [0-9A-Za-z]+$")
                    .match(label->text())
                    .hasMatch());
    }

    void smallestWindowKeepsEveryControlReachable() {
        Program program({"/dev/ttyNONE9", QString()});
        frmSDI12& window = *program.Window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.resize(1, 1); // raised to the minimum at once
        // The lowest controls of the port column stay above the status bar.
        QWidget* lowest = window.txtRepeatDelay;
        QVERIFY(lowest->mapTo(&window, QPoint(0, lowest->height())).y() <=
                window.StatusBar->geometry().top());
    }

    // With no program for the formatted document, the same licence shows as
    // plain text, and the status bar's notice says why.
    void licenceShowsWhereNoProgramOpensIt() {
        Program program;
        program.Pieces.Shell.NoProgramTakesTargets = true;
        const QString folder = program.Pieces.Folders.ProgramFolder();
        for (const char* form : {".rtf", ".txt"})
            QVERIFY(QFile::copy(QStringLiteral(PROBETERM_LICENCE_FILES) + QLatin1String(form),
                                folder + "/Quenvarel Freeware License Agreement" +
                                    QLatin1String(form)));
        program.Window->About->Command1_Click();
        QVERIFY(program.Window->StatusBar->NoticeText().startsWith("No program"));
        auto* window = program.Window->findChild<LicenceWindow*>();
        QVERIFY(window && window->isVisible());
        QVERIFY(window->Text().contains("copyright \u00A9 2026")); // read as UTF-8
    }
};

QTEST_MAIN(TestFirstRun)
#include "tst_firstrun.moc"
