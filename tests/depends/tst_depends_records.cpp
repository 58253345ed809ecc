#include "app/Version.h"
#include "depends/VersionReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class DependsRecordsTest : public QObject {
    Q_OBJECT
private slots:
    void fileIsDescribedByItsRecordOrItsPackage_data();
    void fileIsDescribedByItsRecordOrItsPackage();
};

void DependsRecordsTest::fileIsDescribedByItsRecordOrItsPackage_data() {
    QTest::addColumn<QString>("asked"); // @ stands for the test's folder
    QTest::addColumn<QString>("shown"); // product|version|company, as the window shows them
    const QString unknown = QStringLiteral("||");
    const QString foo = "libfoo1|" + QString(MaxVersionTextLength, 'x') + "|Foo Team";
    QTest::newRow("copy of the program")
        << "@/copy"
        << QStringLiteral("Quenvarel Tidewright|%1|Quenvarel Instruments")
               .arg(ProbeTermVersion::Text);
    QTest::newRow("program cut after its header") << "@/cut" << unknown;
    QTest::newRow("/lib alias of /usr/lib") << "/lib/x86_64-linux-gnu/libfoo.so.1" << foo;
    QTest::newRow("through a symbolic link") << "@/liblinked.so.1" << foo;
    QTest::newRow("removed package") << "/usr/lib/libgone.so.0" << unknown;
}

// The program's copies lie outside every package: only the record they carry
// describes them. dpkg knows libfoo1 (multi-arch, its files listed under
// /usr/lib and by the real path of a link, its version too long to show whole)
// and a removed package whose configuration is kept.
void DependsRecordsTest::fileIsDescribedByItsRecordOrItsPackage() {
    QFETCH(QString, asked);
    QFETCH(QString, shown);
    QTemporaryDir root;
    const QDir folder(root.path());
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    const QString library = folder.canonicalPath() + "/libfoo.so.1.0";
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), folder.filePath("copy")) &&
            QFile::copy(QCoreApplication::applicationFilePath(), folder.filePath("cut")) &&
            QFile::resize(folder.filePath("cut"), 64) && write(library, "lib") &&
            QFile::link(library, folder.filePath("liblinked.so.1")) && folder.mkpath("dpkg/info"));
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
    QCOMPARE(SystemVersionReader(folder.filePath("dpkg"))
                 .GetVersionStrings(asked.replace('@', root.path()), strings),
             shown == "||" ? VersionStringsIncomplete : AllVersionStringsFound);
    QCOMPARE(strings.ProductName + '|' + strings.FileVersion + '|' + strings.CompanyName, shown);
}

QTEST_GUILESS_MAIN(DependsRecordsTest)
#include "tst_depends_records.moc"
