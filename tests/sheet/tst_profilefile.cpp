#include "platform/ProfileFile.h"
#include "sheet/modINI.h"

#include <QTemporaryDir>
#include <QTest>

class TestProfileFile : public QObject {
    Q_OBJECT
private slots:
    void reading_data();
    void reading();
    void sectionNamesOnceInFileOrder();
    void writingKeepsLayout();
    void awkwardValuesReadBack();
    void unreadableFileIsNotOverwritten();
};

// Each file is asked for key "K" of section "S".
void TestProfileFile::reading_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, const QByteArray& bytes, const QString& expected) {
        QTest::newRow(name) << bytes << expected;
    };
    row("letter case", "[s]\nk=v", "v");
    row("blanks", "  [ S ]  \n\t K  =  v w  ", "v w");
    row("double quotes", "[S]\nK= \" v \" ", " v ");
    row("single quotes", "[S]\nK='v'", "v");
    row("unmatched quotes", "[S]\nK=\"v'", "\"v'");
    row("comment", "[S]\n;K=c\nK=v", "v");
    row("semicolon in value", "[S]\nK=|#0;a", "|#0;a");
    row("duplicate key", "[S]\nK=1\nk=2", "1");
    row("duplicate section", "[S]\nA=1\n[s]\nK=2", "-");
    row("CR LF", "[S]\r\nK=v\r\n[T]\r\n", "v");
    row("UTF-8", "[S]\nK=\xc3\xa9\xe2\x82\xac", "é€");
    row("UTF-8 BOM", "\xef\xbb\xbf[S]\nK=v", "v");
    row("Windows-1252", "[S]\nK=\xe9\x80", "é€");
    row("cut UTF-8", "[S]\nK=\xc3", "Ã");
    row("long value", "[S]\nK=" + QByteArray(1000, 'x'), QString(1000, 'x'));
    row("key before any section", "K=v\n[S]", "-");
    row("header holding =", "[S]\n[K=v]", "-");
}

void TestProfileFile::reading() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(ProfileFile::FromBytes(bytes).Value("S", "K", "-"), expected);
}

void TestProfileFile::sectionNamesOnceInFileOrder() {
    const ProfileFile profile = ProfileFile::FromBytes("[b]\n[A]\n[B]\n[]\n[c");
    QCOMPARE(profile.SectionNames(), QStringList({"b", "A", "", "c"}));
}

void TestProfileFile::writingKeepsLayout() {
    ProfileFile profile = ProfileFile::FromBytes("; note\n[S]\nK=1\nL=2\n\n[T]\nX=3\n");
    profile.SetValue("s", "k", "9");
    profile.SetValue("S", "M", "4");
    profile.SetValue("U", "Y", "5");
    QCOMPARE(profile.ToBytes(),
             "; note\r\n[S]\r\nk=9\r\nL=2\r\nM=4\r\n\r\n[T]\r\nX=3\r\n\r\n[U]\r\nY=5\r\n");
}

// Values whose blanks, quotes or line breaks the file format would lose.
void TestProfileFile::awkwardValuesReadBack() {
    const QStringList values = {" a b ", "'q'", "\"q\"", "a\r\nb", "µ°é", QString(5000, 'L')};
    QTemporaryDir folder;
    const QString fileName = folder.filePath("v.ini");
    for (int i = 0; i < values.size(); ++i)
        QVERIFY(modINI::WriteProfileValue(fileName, "S", QString::number(i), values.at(i)));
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(modINI::ReadProfileValue(fileName, "s", QString::number(i), "-"),
                 QString(values.at(i)).replace("\r\n", "  "));
}

// A file that exists but cannot be read (here a folder) must not be replaced
// by one holding only the new key.
void TestProfileFile::unreadableFileIsNotOverwritten() {
    QTemporaryDir folder;
    QString error;
    QVERIFY(!modINI::WriteProfileValue(folder.path(), "S", "K", "v", &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(folder.path()).isDir());
}

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
