#include "depends/VersionReader.h"
#include "version/Version.h"

#include <QtTest>

class TestDependsRecords : public QObject {
    Q_OBJECT
private slots:
    // The program's copy lies outside every package: only the record it carries
    // describes it. libfoo's file is the program cut after its ELF header, so it
    // carries no record. dpkg knows libfoo1 (multi-arch, its files listed under
    // /usr/lib and by the real path of a link, its version too long to show whole)
    // and a removed package whose configuration is kept.
    void fileIsDescribedByItsRecordOrItsPackage_data() {
        QTest::addColumn<QString>("asked"); // @ stands for the test's folder
        QTest::addColumn<QString>("shown"); // product|version|company, as the window shows them
        const QString foo = "libfoo1|" + QString(MaxVersionTextLength, 'x') + "|Foo Team";
        QTest::newRow("copy of the program")
            << "@/copy"
            << "Quenvarel Tidewright|" + QString(ProbeTermVersion::Text) + "|Quenvarel Instruments";
        QTest::newRow("/lib alias of /usr/lib") << "/lib/x86_64-linux-gnu/libfoo.so.1" << foo;
        QTest::newRow("link to a cut program") << "@/liblinked.so.1" << foo;
        QTest::newRow("removed package") << "/usr/lib/libgone.so.0" << QStringLiteral("||");
    }
    void fileIsDescribedByItsRecordOrItsPackage() {
        QFETCH(QString, asked);
        QFETCH(QString, shown);
        QTemporaryDir root;
        const auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile file(root.filePath(name));
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        const QString program = QCoreApplication::applicationFilePath();
        const QString library = QFileInfo(root.path()).canonicalFilePath() + "/libfoo.so.1.0";
        QVERIFY(QFile::copy(program, root.filePath("copy")) && QFile::copy(program, library) &&
                QFile::resize(library, 64) &&
                QFile::link(library, root.filePath("liblinked.so.1")) &&
                QDir(root.path()).mkpath("dpkg/info"));
        QVERIFY(write("dpkg/info/libfoo1:amd64.list",
                      "/usr/lib/x86_64-linux-gnu/libfoo.so.1\n" + QFile::encodeName(library)) &&
                write("dpkg/info/libgone0.list", "/usr/lib/libgone.so.0\n") &&
                write("dpkg/status", "Package: libgone0\nStatus: deinstall ok config-files\n"
                                     "Maintainer: Gone\nVersion: 0.9\nDescription: gone\n\n"
                                     "Package: libfoo1\nStatus: install ok installed\n"
                                     "Architecture: amd64\nMaintainer: Foo Team <foo@example.org>\n"
                                     "Description: foo\nVersion: " +
                                         QByteArray(300, 'x')));

        VersionStrings strings;
        QCOMPARE(SystemVersionReader(root.filePath("dpkg"))
                     .GetVersionStrings(asked.replace('@', root.path()), strings),
                 shown == "||" ? VersionStringsIncomplete : AllVersionStringsFound);
        QCOMPARE(strings.ProductName + '|' + strings.FileVersion + '|' + strings.CompanyName,
                 shown);
    }
};

QTEST_GUILESS_MAIN(TestDependsRecords)
#include "tst_depends_records.moc"
