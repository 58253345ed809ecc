#include "app/Version.h"
#include "depends/VersionReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// dpkg's files for libfoo1 (multi-arch, its files listed under /usr/lib
// and by the real path given) and for a removed package whose
// configuration is kept.
QString WritePackageDatabase(const QString& root, const QString& realFile) {
    const QString admin = root + "/dpkg";
    WriteFile(admin + "/info/libfoo1:amd64.list",
              "/usr/lib/x86_64-linux-gnu/libfoo.so.1\n" + QFile::encodeName(realFile) + "\n");
    WriteFile(admin + "/info/libgone0.list", "/usr/lib/libgone.so.0\n");
    WriteFile(admin + "/status",
              "Package: libfoo1\nStatus: install ok installed\nArchitecture: amd64\n"
              "Maintainer: Foo Team <foo@example.org>\nVersion: 1.2-3\n"
              "Description: foo runtime library\n Longer text.\n\n"
              "Package: libgone0\nStatus: deinstall ok config-files\n"
              "Maintainer: Gone\nVersion: 0.9\nDescription: gone\n");
    return admin;
}

} // namespace

class DependsRecordsTest : public QObject {
    Q_OBJECT
private slots:
    void readStopsAtTheFirstMissingStringAndCutsLongTexts();
    void ownRecordIsReadFromTheFile_data();
    void ownRecordIsReadFromTheFile();
    void libraryIsDescribedByItsPackage_data();
    void libraryIsDescribedByItsPackage();
};

void DependsRecordsTest::readStopsAtTheFirstMissingStringAndCutsLongTexts() {
    VersionStrings strings;
    strings.ProductName = QStringLiteral("left from an earlier read");
    const auto lookUp = [](const QString& name) -> std::optional<QString> {
        if (name == QLatin1String("InternalName"))
            return std::nullopt;
        return QString(300, QLatin1Char('x'));
    };
    QCOMPARE(FillVersionStrings(lookUp, strings), VersionStringsIncomplete);
    QCOMPARE(strings.FileVersion, QString(MaxVersionTextLength, QLatin1Char('x')));
    QCOMPARE(strings.InternalName, QString());
    QCOMPARE(strings.ProductName, QString());
}

void DependsRecordsTest::ownRecordIsReadFromTheFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("status");
    QFile self(QCoreApplication::applicationFilePath());
    QVERIFY(self.open(QIODevice::ReadOnly));
    const QByteArray program = self.readAll();
    QTest::newRow("copy of the program") << program << int(AllVersionStringsFound);
    QTest::newRow("cut after its header") << program.left(64) << int(VersionStringsIncomplete);
    QTest::newRow("cut in the middle")
        << program.left(program.size() / 2) << int(VersionStringsIncomplete);
    QTest::newRow("text file") << QByteArray("text\n") << int(VersionStringsIncomplete);
    QTest::newRow("empty file") << QByteArray() << int(VersionStringsIncomplete);
}

// A copy outside every package can only be described by the record it carries.
void DependsRecordsTest::ownRecordIsReadFromTheFile() {
    QFETCH(QByteArray, content);
    QFETCH(int, status);
    QTemporaryDir folder;
    WriteFile(folder.filePath("copy"), content);
    SystemVersionReader reader(folder.filePath("no-dpkg"));
    VersionStrings strings;
    QCOMPARE(int(reader.GetVersionStrings(folder.filePath("copy"), strings)), status);
    if (status == AllVersionStringsFound) {
        QCOMPARE(strings.ProductName, QStringLiteral("Quenvarel Tidewright"));
        QCOMPARE(strings.CompanyName, QStringLiteral("Quenvarel Instruments"));
        QCOMPARE(strings.FileVersion, QString::fromLatin1(ProbeTermVersion::Text));
        QCOMPARE(strings.LegalCopyright,
                 QStringLiteral("Copyright \u00a9 2026 Quenvarel Instruments"));
    }
}

void DependsRecordsTest::libraryIsDescribedByItsPackage_data() {
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("described");
    QTest::newRow("as listed") << "/usr/lib/x86_64-linux-gnu/libfoo.so.1" << true;
    QTest::newRow("/lib alias of /usr/lib") << "/lib/x86_64-linux-gnu/libfoo.so.1" << true;
    QTest::newRow("through a symbolic link") << "@/liblinked.so.1" << true;
    QTest::newRow("removed package") << "/usr/lib/libgone.so.0" << false;
    QTest::newRow("no owner") << "/usr/lib/libstray.so" << false;
}

void DependsRecordsTest::libraryIsDescribedByItsPackage() {
    QFETCH(QString, asked);
    QFETCH(bool, described);
    QTemporaryDir root;
    const QString realFile = root.filePath("libfoo.so.1.0");
    WriteFile(realFile, "library");
    QVERIFY(QFile::link(realFile, root.filePath("liblinked.so.1")));
    asked.replace(QLatin1Char('@'), root.path());

    SystemVersionReader reader(
        WritePackageDatabase(root.path(), QFileInfo(realFile).canonicalFilePath()));
    VersionStrings strings;
    QCOMPARE(reader.GetVersionStrings(asked, strings),
             described ? AllVersionStringsFound : VersionStringsIncomplete);
    QCOMPARE(strings.ProductName, described ? QStringLiteral("libfoo1") : QString());
    QCOMPARE(strings.CompanyName, described ? QStringLiteral("Foo Team") : QString());
    QCOMPARE(strings.FileVersion, described ? QStringLiteral("1.2-3") : QString());
    QCOMPARE(strings.FileDescription,
             described ? QStringLiteral("foo runtime library") : QString());
}

QTEST_GUILESS_MAIN(DependsRecordsTest)
#include "tst_depends_records.moc"
