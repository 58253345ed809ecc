#include "platform/Folders.h"
#include "version/InstallDirs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// Where the program finds its own folder (the sample commands file, the
// licence): installed, in share/probeterm beside bin/; run from a build
// tree or a lone copy, beside the executable.
class TestProgramFolder : public QObject {
    Q_OBJECT
private slots:
    void programFolder_data() {
        QTest::addColumn<bool>("installed");
        QTest::newRow("installed under a prefix such as /usr") << true;
        QTest::newRow("build tree") << false;
    }
    void programFolder() {
        QFETCH(bool, installed);
        QTemporaryDir prefix;
        QVERIFY(prefix.isValid());
        const QString bin = prefix.path() + "/bin";
        const QString data =
            QDir::cleanPath(bin + "/" + QLatin1String(ProbeTermVersion::DataDirFromBinDir));
        QVERIFY(QDir().mkpath(bin));
        if (installed)
            QVERIFY(QDir().mkpath(data));
        QCOMPARE(ProgramFolderFor(bin), installed ? data : bin);
    }
};

QTEST_APPLESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
