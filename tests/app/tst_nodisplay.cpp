#include "app/ProgramOptions.h"
#include "app/VersionCaption.h"

#include <QProcess>
#include <QtTest>

// The built programs answer their command lines where there is no display
// at all: over SSH, in a packaging script, in CI.
class TestNoDisplay : public QObject {
    Q_OBJECT
private slots:
    void answersWithoutDisplay_data() {
        const QString program = QStringLiteral(PROBETERM_EXECUTABLE);
        const QString simulator = QStringLiteral(PROBETERM_SIM_EXECUTABLE);
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");       // standard output begins with it
        QTest::addColumn<QString>("errorsEnding"); // standard error ends with it
        QTest::newRow("probeterm --help")
            << program << QStringList{"--help"} << 0 << programUsage() << QString();
        QTest::newRow("probeterm --version")
            << program << QStringList{"--version"} << 0 << "ProbeTerm " + versionCaption() + "\n"
            << QString();
        QTest::newRow("probeterm, a bad option")
            << program << QStringList{"--bogus"} << 2 << QString() << programUsage();
        QTest::newRow("probeterm-sim --help")
            << simulator << QStringList{"--help"} << 0 << "Usage: " << QString();
        QTest::newRow("probeterm-sim, a bad option")
            << simulator << QStringList{"--bogus"} << 2 << QString() << "(see --help)\n";
    }
    void answersWithoutDisplay() {
        QFETCH(QString, executable);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, errorsEnding);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(executable, arguments);
        QVERIFY(process.waitForFinished(60000));
        const QString standardOutput = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString standardError = QString::fromLocal8Bit(process.readAllStandardError());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        QVERIFY2(standardOutput.startsWith(output), qPrintable(standardOutput));
        if (output.isEmpty())
            QCOMPARE(standardOutput, QString());
        if (errorsEnding.isEmpty())
            QCOMPARE(standardError, QString());
        else
            QVERIFY2(standardError.endsWith(errorsEnding), qPrintable(standardError));
    }
};

QTEST_APPLESS_MAIN(TestNoDisplay)
#include "tst_nodisplay.moc"
