#include "platform/ProfileFile.h"
#include "sheet/CommandsFile.h"
#include "sheet/modINI.h"
#include "store/FullDisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCommandsFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_folder;
    const QString m_sample = QFINDTESTDATA("../../assets/Commands.SDI12");

    QString writeFile(const QByteArray& bytes, const QString& name = "c") {
        QFile file(m_folder.filePath(name));
        const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        return written ? file.fileName() : QString();
    }
    static QByteArray readFile(const QString& fileName) {
        QFile file(fileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }

private slots:
    // Each file is asked for key "K" of section "S".
    void readProfile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("letter case") << QByteArray("[s]\nk=v") << "v";
        QTest::newRow("blanks, quotes") << QByteArray("  [ S ]  \n\t K  = \" v w \"  ") << " v w ";
        QTest::newRow("comment") << QByteArray("[S]\n;K=c\nK=v") << "v";
        QTest::newRow("duplicate key") << QByteArray("[S]\nK=1\nk=2") << "1";
        QTest::newRow("CR LF") << QByteArray("[S]\r\nK=v\r\n[T]\r\n") << "v";
        QTest::newRow("UTF-8") << QByteArray("\xef\xbb\xbf[S]\nK=\xc3\xa9\xe2\x82\xac") << "é€";
        QTest::newRow("Windows-1252") << QByteArray("[S]\nK=\xe9\x80") << "é€";
        QTest::newRow("cut UTF-8") << QByteArray("[S]\nK=\xc3") << "Ã";
    }
    void readProfile() {
        QFETCH(QByteArray, bytes);
        QTEST(ProfileFile::FromBytes(bytes).Value("S", "K", "-"), "expected");
    }

    // A write keeps the file's layout; a file it cannot read (a folder) stays.
    void writeProfileValue() {
        const QString fileName = writeFile("; note\n[S]\nK=1\nL=2\n\n[T]\nX=3\n");
        QVERIFY(modINI::WriteProfileValue(fileName, "s", "k", "9"));
        QCOMPARE(readFile(fileName), "; note\r\n[S]\r\nk=9\r\nL=2\r\n\r\n[T]\r\nX=3\r\n");
        QString error;
        QVERIFY(!modINI::WriteProfileValue(m_folder.path(), "S", "K", "v", &error) &&
                !error.isEmpty());
    }

    void load_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("rows"); // each row as kind:command(name)
        const auto row = [](const char* name, const QByteArray& file, const char* rows) {
            QTest::newRow(name) << file << rows;
        };
        row("title anywhere", "[XB]\nA=1\n[Title]\nN=t\n[XW]\nA=2", "W:XB1 W:XW2");
        row("read rows", "[XIQ]\nN=q\nA=5\nM=On\nML=|#1;On\n[XB?]\nA=3", "R:XIQ(q) R:XB?");
        row("lower-case xi", "[xiq]\nA=1", "W:xiq1");
        row("A with M", "[XB]\nA=3\nM=Off\nML=|#0;Off", "W:XB3");
        row("no keys", "[XOPM]", "W:XOPM");
        row("list without text", "[XOPM]\nML=|#5;Off", "W:XOPM5");
        row("value as stored", "[XW]\nA=10", "W:XW10");
        row("text not in list", "[XOPM]\nM=Fast\nML=|#0;Off\nT=Raw\nTL=|#1;Raw", "W:XOPM1");
        row("code too early", "[XOPM]\nM=Off\nML=#0;Off|#1;Off\nG=x1\nGL=#01;x1|#02;x1", "W:XOPM");
        row("start of an earlier text", "[XOPM]\nM=On\nML=|#1;Only|#2;On", "W:XOPM1");
        row("duplicate section", "[XB]\nA=1\n[xb]\nA=2", "W:XB1");
        row("empty name skipped", "[XB]\nA=1\n[]\nA=9\n[XW]\nA=2", "W:XB1 W:XW2");
        row("empty name first", "[]\n[XB]\nA=1", "W:XB1");
        row("no sections", "N=x\n", "");
        row("long list", "[XOPM]\nM=Last\nML=" + QByteArray(1000, 'x') + "|#7;Last", "W:XOPM7");
        row("commas as stored", "[XRA]\nA=1,500\n[XRB]\nA=1,2", "W:XRA1,500 W:XRB1,2");
        // A code is read from just before its text: one unit must not be half a pair.
        row("code of half a pair", "[XOPM]\nN=o\nM=Off\nML=|#\xF0\x9F\x98\x80;Off|#1;On",
            "W:XOPM(o)");
    }
    void load() {
        QFETCH(QByteArray, file);
        const CommandsLoad load = LoadCommandsRows(writeFile(file));
        QStringList rows;
        for (const SheetRowModel& row : load.Rows)
            rows.append(row.Action.left(1) + ':' + row.Command +
                        (row.Name.isEmpty() ? QString() : '(' + row.Name + ')'));
        QTEST(rows.join(' '), "rows");
        QCOMPARE(load.Error, QString());
    }

    // Section names beyond a 16-bit count, a 20 MB value and an unterminated 1 MB header.
    void hugeFilesLoadInFull() {
        QByteArray file;
        for (int i = 0; i < 4000; ++i)
            file += "[XLONGSECTIONNAME" + QByteArray::number(i) + "]\nA=1\n";
        file += "[XB]\nA=" + QByteArray(20'000'000, '9') + "\n[" + QByteArray(1'000'000, 'x');
        QCOMPARE(LoadCommandsRows(writeFile(file)).Rows.size(), 4002);
    }

    // Texts the file format must keep in a name, a WRITE value and an
    // option text: blanks and quotes that reading would take away, a value
    // ending in "?" (which makes a section name a READ) and lone CRs.
    void roundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("blanks and quotes") << " \"q\" 'r' µ ";
        QTest::newRow("ends in ?") << "WHO?";
        QTest::newRow("lone CRs") << "\ra\rb\r";
        QTest::newRow("long") << QString(1000, 'o');
    }
    void roundTrip() {
        QFETCH(QString, text);
        SheetRows rows = LoadCommandsRows(m_sample).Rows;
        QCOMPARE(rows.size(), 12);
        rows[0].Name = text;
        rows[7].Value = text;
        rows[7].Command = "XS" + text;
        rows[10].OptionList[0] += "|#9;" + text;
        rows[10].OptionText[0] = text;
        rows[10].Command[4] = '9'; // the Mode code follows "XOPM"
        QVERIFY(SaveCommandsRows(m_folder.filePath("saved"), rows, {}));
        QCOMPARE(LoadCommandsRows(m_folder.filePath("saved")).Rows, rows);
    }

    // A file that an editor gave a second byte-order mark reads the same
    // once a value has been written to it.
    void twoByteOrderMarksReadTheSameAfterASave() {
        const QString fileName = writeFile("\xef\xbb\xbf\xef\xbb\xbf[S]\r\nK=v\r\n[T]\r\nK=w\r\n");
        const ProfileFile before = ProfileFile::Load(fileName);
        QVERIFY(modINI::WriteProfileValue(fileName, "T", "K", "x"));
        const ProfileFile after = ProfileFile::Load(fileName);
        QCOMPARE(after.SectionNames(), before.SectionNames());
        QCOMPARE(after.Value("S", "K", "-"), before.Value("S", "K", "-"));
        QCOMPARE(after.Value("T", "K"), "x");
    }

    // Keys in their fixed order, no foreign keys, no option without text;
    // the file's opening comments and its Title section, as they were, go
    // first.
    void savedLayout_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("keys")
            << QByteArray("[XIQ]\nN=q\n[XOPM]\nN=o\nX=1\nM=On\nML=|#1;On\nTL=|#2;B\nG=g\nGL=\n"
                          "[XB]\nA=2\nN=b")
            << QByteArray("[XIQ]\r\nN=q\r\n\r\n[XOPM]\r\nN=o\r\nM=On\r\nML=|#1;On\r\nG=g\r\n"
                          "GL=\r\n\r\n[XB]\r\nN=b\r\nA=2\r\n");
        QTest::newRow("title and comments on top")
            << QByteArray("; Probe\n\n[XB]\n; gone\nA=2\n[Title]\nN=t\n; kept\nV=1\n[Title]\nN=2")
            << QByteArray("; Probe\r\n\r\n[Title]\r\nN=t\r\n; kept\r\nV=1\r\n\r\n"
                          "[XB]\r\nN=\r\nA=2\r\n");
        QTest::newRow("one blank line between sections")
            << QByteArray("[Title]\nN=t\n\n[XB]\nA=1")
            << QByteArray("[Title]\r\nN=t\r\n\r\n[XB]\r\nN=\r\nA=1\r\n");
        QTest::newRow("title alone")
            << QByteArray("[Title]\nN=t\n") << QByteArray("[Title]\r\nN=t\r\n");
        QTest::newRow("lower-case title is a setting")
            << QByteArray("[title]\nN=t\nA=1") << QByteArray("[title]\r\nN=t\r\nA=1\r\n");
    }
    void savedLayout() {
        QFETCH(QByteArray, file);
        const QString fileName = writeFile(file);
        const CommandsLoad load = LoadCommandsRows(fileName);
        QVERIFY(SaveCommandsRows(fileName, load.Rows, load.Heading));
        QTEST(readFile(fileName), "saved");
    }

    void failedSaveKeepsOldFileAndEmptySaveRemovesIt() {
        // The name leaves no room beside it for the temporary file's name.
        const QString fileName = writeFile("old", QString(250, 'n'));
        QString error;
        QVERIFY(!SaveCommandsRows(fileName, LoadCommandsRows(m_sample).Rows, {}, &error) &&
                !error.isEmpty());
        QCOMPARE(readFile(fileName), "old");
        QVERIFY(SaveCommandsRows(fileName, {}, ProfileFile::FromBytes("\n")));
        QVERIFY(!QFile::exists(fileName));
    }

    // The sample saved over a commands file as the disk fills: within the
    // write buffer, and on a real disk with no page left.
    void fullDiskKeepsOldFileAndSaysWhy_data() {
        QTest::addColumn<bool>("realDisk");
        QTest::newRow("size limit") << false;
        QTest::newRow("tiny disk") << true;
    }
    void fullDiskKeepsOldFileAndSaysWhy() {
        QFETCH(bool, realDisk);
        FullDisk disk(realDisk);
        if (!disk.Usable())
            QSKIP("mounting a tmpfs is not permitted here");
        const QString original = writeFile("[XB]\r\nA=3\r\n", "full.SDI12");
        const QString fileName = disk.Place(original);
        QVERIFY(fileName == original || QFile::copy(original, fileName));
        QString error;
        QVERIFY(!disk.WhileFull(0, 100, [&] {
            return SaveCommandsRows(fileName, LoadCommandsRows(m_sample).Rows, {}, &error);
        }));
        QVERIFY2(error.contains(disk.Reason()), qPrintable(error));
        QCOMPARE(readFile(fileName), "[XB]\r\nA=3\r\n");
        const QFileInfo file(fileName);
        QCOMPARE(file.dir().entryList({"full*"}, QDir::Files | QDir::Hidden),
                 QStringList{file.fileName()});
    }
};

QTEST_GUILESS_MAIN(TestCommandsFile)
#include "tst_commandsfile.moc"
