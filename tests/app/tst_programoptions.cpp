#include "app/ProgramOptions.h"
#include "app/VersionCaption.h"

#include <QtTest>

// The command line as read before any window exists: what starts the
// program, what is answered at once, and what is refused.
class TestProgramOptions : public QObject {
    Q_OBJECT
private slots:
    // Options that start the program hand their values on; Qt's own display
    // options and their values are passed over, whichever form they take.
    void startingOptions_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("exchange"); // null: not asked for
        QTest::newRow("none") << QStringList() << QString() << QString() << QString();
        QTest::newRow("port and settings")
            << QStringList{"--port", "/dev/ttyUSB0", "--settings", "9600,N,8,1"} << "/dev/ttyUSB0"
            << "9600,N,8,1" << QString();
        QTest::newRow("value after =")
            << QStringList{"--port=/tmp/sdi12"} << "/tmp/sdi12" << QString() << QString();
        QTest::newRow("exchange for tests")
            << QStringList{"--exchange-and-quit", "I"} << QString() << QString() << "I";
        QTest::newRow("Qt's options")
            << QStringList{"-platform",         "offscreen", "--style", "Fusion",
                           "-stylesheet=a.qss", "-reverse",  "--port",  "/dev/ttyS0"}
            << "/dev/ttyS0" << QString() << QString();
    }
    void startingOptions() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, port);
        QFETCH(QString, settings);
        QFETCH(QString, exchange);
        const ProgramOptions options = readProgramOptions(QStringList{"probeterm"} + arguments);
        QVERIFY(options.Start);
        QVERIFY(options.Output.isEmpty() && options.Errors.isEmpty());
        QCOMPARE(options.Port, port);
        QCOMPARE(options.Settings, settings);
        QCOMPARE(options.ExchangeCommand.has_value(), !exchange.isNull());
        if (options.ExchangeCommand)
            QCOMPARE(*options.ExchangeCommand, exchange);
    }

    // Help and version are printed at once and end well; any mistake ends
    // with 2, the reason and the usage on standard error, even beside --help.
    void answeredAtOnce_data() {
        const QString version = "ProbeTerm " + versionCaption() + "\n";
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("reason"); // the first line of standard error
        QTest::newRow("--help") << QStringList{"--help"} << 0 << programUsage() << QString();
        QTest::newRow("-h among others")
            << QStringList{"--port", "/dev/ttyS0", "-h"} << 0 << programUsage() << QString();
        QTest::newRow("--version") << QStringList{"--version"} << 0 << version << QString();
        QTest::newRow("-v") << QStringList{"-v"} << 0 << version << QString();
        QTest::newRow("unknown option")
            << QStringList{"--bogus"} << 2 << QString() << "probeterm: Unknown option 'bogus'.";
        QTest::newRow("single dash word") << QStringList{"-port", "/dev/ttyS0"} << 2 << QString()
                                          << "probeterm: Unknown options: p, o, r, t.";
        QTest::newRow("missing value") << QStringList{"--port"} << 2 << QString()
                                       << "probeterm: Missing value after '--port'.";
        QTest::newRow("stray argument") << QStringList{"/dev/ttyUSB0"} << 2 << QString()
                                        << "probeterm: Unexpected argument '/dev/ttyUSB0'.";
        QTest::newRow("mistake beside --help") << QStringList{"--help", "--bogus"} << 2 << QString()
                                               << "probeterm: Unknown option 'bogus'.";
    }
    void answeredAtOnce() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, reason);
        const ProgramOptions options = readProgramOptions(QStringList{"probeterm"} + arguments);
        QVERIFY(!options.Start);
        QCOMPARE(options.ExitCode, exitCode);
        QCOMPARE(options.Output, output);
        if (reason.isEmpty())
            QCOMPARE(options.Errors, QString());
        else
            QCOMPARE(options.Errors, reason + "\n" + programUsage());
    }

    // The usage names every option an operator may give, and no test hook.
    void usageListsTheOperatorsOptions() {
        const QString usage = programUsage();
        for (const char* option : {"--help", "--version", "--port <path>", "--settings <text>"})
            QVERIFY2(usage.contains(QLatin1String(option)), option);
        QVERIFY(!usage.contains("exchange"));
    }
};

QTEST_APPLESS_MAIN(TestProgramOptions)
#include "tst_programoptions.moc"
