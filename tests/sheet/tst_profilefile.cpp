#include "platform/ProfileFile.h"
#include "sheet/modINI.h"

#include <QTemporaryDir>
#include <QTest>

class TestProfileFile : public QObject {
    Q_OBJECT
private slots:
    // Each file is asked for key "K" of section "S".
    void reading_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("letter case") << QByteArray("[s]\nk=v") << "v";
        QTest::newRow("blanks") << QByteArray("  [ S ]  \n\t K  =  v w  ") << "v w";
        QTest::newRow("quotes") << QByteArray("[S]\nK= \" v \" ") << " v ";
        QTest::newRow("unmatched quotes") << QByteArray("[S]\nK=\"v'") << "\"v'";
        QTest::newRow("comment") << QByteArray("[S]\n;K=c\nK=v") << "v";
        QTest::newRow("semicolon in value") << QByteArray("[S]\nK=|#0;a") << "|#0;a";
        QTest::newRow("duplicate key") << QByteArray("[S]\nK=1\nk=2") << "1";
        QTest::newRow("duplicate section") << QByteArray("[S]\nA=1\n[s]\nK=2") << "-";
        QTest::newRow("CR LF") << QByteArray("[S]\r\nK=v\r\n[T]\r\n") << "v";
        QTest::newRow("UTF-8") << QByteArray("\xef\xbb\xbf[S]\nK=\xc3\xa9\xe2\x82\xac") << "é€";
        QTest::newRow("Windows-1252") << QByteArray("[S]\nK=\xe9\x80") << "é€";
        QTest::newRow("cut UTF-8") << QByteArray("[S]\nK=\xc3") << "Ã";
        QTest::newRow("long value") << "[S]\nK=" + QByteArray(1000, 'x') << QString(1000, 'x');
        QTest::newRow("header holding =") << QByteArray("K=v\n[S]\n[K=v]") << "-";
    }
    void reading() {
        QFETCH(QByteArray, bytes);
        QTEST(ProfileFile::FromBytes(bytes).Value("S", "K", "-"), "expected");
    }

    void sectionNamesOnceInFileOrder() {
        const ProfileFile profile = ProfileFile::FromBytes("[b]\n[A]\n[B]\n[]\n[c");
        QCOMPARE(profile.SectionNames(), QStringList({"b", "A", "", "c"}));
    }

    // New keys go at the end of their section, new sections after the last.
    void writingKeepsLayout() {
        ProfileFile profile = ProfileFile::FromBytes("; note\n[S]\nK=1\nL=2\n\n[T]\nX=3\n");
        profile.SetValue("s", "k", "9");
        profile.SetValue("S", "M", "4");
        profile.SetValue("U", "Y", "5");
        QCOMPARE(profile.ToBytes(),
                 "; note\r\n[S]\r\nk=9\r\nL=2\r\nM=4\r\n\r\n[T]\r\nX=3\r\n\r\n[U]\r\nY=5\r\n");
    }

    // A file that exists but cannot be read (here a folder) is not replaced.
    void unreadableFileIsNotOverwritten() {
        QTemporaryDir folder;
        QString error;
        QVERIFY(!modINI::WriteProfileValue(folder.path(), "S", "K", "v", &error));
        QVERIFY(!error.isEmpty() && QFileInfo(folder.path()).isDir());
    }
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
