#include "sheet/CommandsFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString WriteFile(const QTemporaryDir& folder, const QByteArray& bytes, const QString& name = "c") {
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write a test file");
    return file.fileName();
}

QByteArray ReadFile(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

const QString Sample = SAMPLE_COMMANDS_FILE;

} // namespace

class TestCommandsFile : public QObject {
    Q_OBJECT
private slots:
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
        row("Gain code", "[XOPM]\nG=x10\nGL=|#01;x1|#10;x10", "W:XOPM10");
        row("start of an earlier text", "[XOPM]\nM=On\nML=|#1;Only|#2;On", "W:XOPM1");
        row("empty name stops", "[XB]\nA=1\n[]\n[XW]\nA=2", "W:XB1");
        row("no sections", "N=x\n", "");
        row("long list", "[XOPM]\nM=Last\nML=" + QByteArray(1000, 'x') + "|#7;Last", "W:XOPM7");
    }
    void load() {
        QFETCH(QByteArray, file);
        QTemporaryDir folder;
        const CommandsLoad load = LoadCommandsRows(WriteFile(folder, file));
        QStringList rows;
        for (const SheetRowModel& row : load.Rows)
            rows.append(row.Action.left(1) + ':' + row.Command +
                        (row.Name.isEmpty() ? QString() : '(' + row.Name + ')'));
        QTEST(rows.join(' '), "rows");
        QCOMPARE(load.Error, QString());
    }

    // More section-name text than a 16-bit count can hold.
    void longSectionListLoadsInFull() {
        QByteArray file;
        for (int i = 0; i < 4000; ++i)
            file += "[XLONGSECTIONNAME" + QByteArray::number(i) + "]\nA=1\n";
        QTemporaryDir folder;
        QCOMPARE(LoadCommandsRows(WriteFile(folder, file)).Rows.size(), 4000);
    }

    // The sample with a WRITE value ending in "?" (the XS row), a long list
    // and a name whose blanks and quotes the file format would lose.
    void roundTrip() {
        SheetRows rows = LoadCommandsRows(Sample).Rows;
        QCOMPARE(rows.size(), 12);
        rows[0].Name = " \"q\" 'r' µ ";
        rows[7].Value = "WHO?";
        rows[7].Command = "XSWHO?";
        rows[10].OptionList[0] += "|#9;" + QString(1000, 'o');
        QTemporaryDir folder;
        QVERIFY(SaveCommandsRows(folder.filePath("saved"), rows));
        QCOMPARE(LoadCommandsRows(folder.filePath("saved")).Rows, rows);
    }

    // Keys in their fixed order; no Title, no foreign keys, no option without text.
    void savedLayout() {
        QTemporaryDir folder;
        const QString fileName =
            WriteFile(folder, "[Title]\nN=t\n[XIQ]\nN=q\n[XOPM]\nN=o\nX=1\nM=On\n"
                              "ML=|#1;On\nTL=|#2;B\nG=g\nGL=\n[XB]\nA=2\nN=b");
        QVERIFY(SaveCommandsRows(fileName, LoadCommandsRows(fileName).Rows));
        QCOMPARE(ReadFile(fileName),
                 "[XIQ]\r\nN=q\r\n\r\n[XOPM]\r\nN=o\r\nM=On\r\nML=|#1;On\r\nG=g\r\n"
                 "GL=\r\n\r\n[XB]\r\nN=b\r\nA=2\r\n");
    }

    void failedSaveKeepsOldFileAndEmptySaveRemovesIt() {
        // The name leaves no room beside it for the temporary file's name.
        QTemporaryDir folder;
        const QString fileName = WriteFile(folder, "old", QString(250, 'n'));
        QString error;
        QVERIFY(!SaveCommandsRows(fileName, LoadCommandsRows(Sample).Rows, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(ReadFile(fileName), "old");
        QVERIFY(SaveCommandsRows(fileName, {}));
        QVERIFY(!QFile::exists(fileName));
    }

    // Random bytes, cut-off copies of the sample and huge lines: each load finishes.
    void junkNeverCrashesOrHangs() {
        QRandomGenerator random(20240607);
        const QByteArray sample = ReadFile(Sample);
        const QByteArray alphabet("[]=;#|\"'\r\n XIAMLG?\x80\xc3\0", 21);
        QTemporaryDir folder;
        for (int round = 0; round < 300; ++round) {
            QByteArray junk(int(random.bounded(2000)), '\0');
            for (char& c : junk)
                c = round % 2 ? char(random.bounded(256)) : alphabet.at(random.bounded(21));
            LoadCommandsRows(WriteFile(folder, junk));
            LoadCommandsRows(WriteFile(folder, sample.left(random.bounded(sample.size()))));
        }
        const QByteArray huge =
            "[XB]\nA=" + QByteArray(20'000'000, '9') + "\n[" + QByteArray(1'000'000, 'x');
        QCOMPARE(LoadCommandsRows(WriteFile(folder, huge)).Rows.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestCommandsFile)
#include "tst_commandsfile.moc"
