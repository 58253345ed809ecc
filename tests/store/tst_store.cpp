#include "commands/CommandHistory.h"
#include "platform/FileSettingsStore.h"
#include "store/FullDisk.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

const QString App = "PROBETRM", Section = "Commands";

class TestStore : public QObject {
    Q_OBJECT
    QTemporaryDir m_folder;
    QString m_path;

    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
    // A lock file as a program leaves it when it dies between creating the
    // file and writing its owner into it, ageSeconds ago.
    static void leaveEmptyLock(const QString& lockPath, int ageSeconds) {
        QFile lock(lockPath);
        QVERIFY(lock.open(QIODevice::WriteOnly));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                 QFileDevice::FileModificationTime));
    }

private slots:
    void init() {
        m_path = m_folder.filePath(QTest::currentTestFunction() + QString(QTest::currentDataTag()) +
                                   ".json");
    }
    void cleanup() { QFile::remove(m_path + ".lock"); }

    // A key saved again in other letters keeps its place and first spelling.
    void keepsOneEntryPerKeyInCreationOrder() {
        FileSettingsStore store(m_path);
        QVERIFY(!store.Delete(App, Section, "a"));
        for (const char* key : {"c", "a", "b", "A"})
            QVERIFY(store.Save(App, Section, key, key));
        QVERIFY(store.Delete(App, Section, "C"));
        QCOMPARE(FileSettingsStore(m_path).GetAll("probetrm", "COMMANDS"),
                 ISettingsStore::Entries({{"a", "A"}, {"b", "b"}}));
    }

    // Each text is a key and its value, saved by a store of its own, in one file.
    void oddTextsRoundTrip() {
        ISettingsStore::Entries expected;
        for (const char* text : {" lead", "trail ", "a=b", "a/b\\c", "[Commands]", "]", "x;y", "#c",
                                 "\"q\" 'q'", "Grüße 日本 🙂", "", "\t\r\n"}) {
            expected.append({QString::fromUtf8(text), QString::fromUtf8(text)});
            QVERIFY(FileSettingsStore(m_path).Save(App, Section, expected.last().first, text));
        }
        QCOMPARE(FileSettingsStore(m_path).GetAll(App, Section), expected);
    }

    void unparsableFileIsKeptAside() {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("{\"sections\": [ x") > 0);
        file.close();
        FileSettingsStore store(m_path);
        QVERIFY(store.GetAll(App, Section).isEmpty());
        QVERIFY(store.Save(App, Section, "new", "2"));
        QCOMPARE(store.GetAll(App, Section), ISettingsStore::Entries({{"new", "2"}}));
        QFile aside(m_path + ".bad");
        QVERIFY(aside.open(QIODevice::ReadOnly) && aside.readAll() == "{\"sections\": [ x");
    }

    // A write fails as the disk fills: longer than the write buffer, within
    // it (the failure then comes when the buffer is written out), and on a
    // real disk with one page left, which the lock file takes.
    void fullDiskLeavesTheOldFileAndSaysWhy_data() {
        QTest::addColumn<int>("valueLength");
        QTest::addColumn<bool>("realDisk");
        QTest::newRow("size limit, past the buffer") << 100000 << false;
        QTest::newRow("size limit, within the buffer") << 8000 << false;
        QTest::newRow("tiny disk, one page free") << 1 << true;
    }
    void fullDiskLeavesTheOldFileAndSaysWhy() {
        QFETCH(int, valueLength);
        QFETCH(bool, realDisk);
        FullDisk disk(realDisk);
        if (!disk.Usable())
            QSKIP("mounting a tmpfs is not permitted here");
        m_path = disk.Place(m_path);
        FileSettingsStore store(m_path);
        for (int i = 0; i < 5; ++i)
            QVERIFY(store.Save(App, Section, QString("%1M!").arg(i), "31/01/2026 14:05"));
        const QByteArray before = contents(m_path);
        QVERIFY(!disk.WhileFull(FullDisk::PageSize, 4096, [&] {
            return store.Save(App, Section, "new", QString(valueLength, 'x'));
        }));
        QVERIFY2(store.ErrorString().contains(disk.Reason()), qPrintable(store.ErrorString()));
        QCOMPARE(contents(m_path), before);
        const QFileInfo file(m_path);
        QCOMPARE(file.dir().entryList({file.fileName() + "*"}, QDir::Files | QDir::Hidden),
                 QStringList{file.fileName()});
    }

    // A save waits on a lock only briefly, as it runs on the window's thread,
    // and takes over one that its owner left behind when it died; but never
    // one that a live program holds, however old.
    void staleLockIsTakenOverLiveOneKept_data() {
        QTest::addColumn<int>("ageSeconds");
        QTest::addColumn<bool>("heldByLiveProgram");
        QTest::addColumn<bool>("saved");
        QTest::newRow("empty, just left") << 0 << false << false;
        QTest::newRow("empty, 3 s old") << 3 << false << true;
        QTest::newRow("live, 60 s old") << 60 << true << false;
    }
    void staleLockIsTakenOverLiveOneKept() {
        QFETCH(int, ageSeconds);
        QFETCH(bool, heldByLiveProgram);
        const QString lockPath = m_path + ".lock";
        QLockFile liveLock(lockPath);
        if (heldByLiveProgram)
            QVERIFY(liveLock.tryLock(0));
        leaveEmptyLock(lockPath, ageSeconds);
        FileSettingsStore store(m_path);
        QElapsedTimer waited;
        waited.start();
        QFETCH(bool, saved);
        QCOMPARE(store.Save(App, Section, "k", "v"), saved);
        QVERIFY2(waited.elapsed() < 1000, qPrintable(QString::number(waited.elapsed())));
        QCOMPARE(store.ErrorString().contains("lock"), !saved);
        QCOMPARE(QFile::exists(lockPath), !saved);
    }

    // A command the store refuses is kept, reported, and saved with the next.
    void historyKeepsWhatTheStoreRefused_data() {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("reason");
        QTest::newRow("locked") << true << "lock";
        QTest::newRow("disk full") << false << qt_error_string(EFBIG);
    }
    void historyKeepsWhatTheStoreRefused() {
        QFETCH(bool, locked);
        FileSettingsStore store(m_path);
        CommandHistory history(store);
        QString report;
        {
            std::optional<FileSizeLimit> limit;
            if (locked)
                leaveEmptyLock(m_path + ".lock", 0);
            else
                limit.emplace(100);
            report = history.Remember("0I", "t1");
        }
        QFETCH(QString, reason);
        QVERIFY2(report.contains(reason), qPrintable(report));
        QCOMPARE(history.Commands(), QStringList{"0I"});
        QFile::remove(m_path + ".lock");
        QCOMPARE(history.Remember("0M", "t2"), QString());
        QCOMPARE(FileSettingsStore(m_path).GetAll(App, Section),
                 ISettingsStore::Entries({{"0I", "t1"}, {"0M", "t2"}}));
    }

    // Two copies of this program save 100 keys each into one file at once.
    void twoProcessesLoseNothing() {
        QProcess first, second;
        first.start(QCoreApplication::applicationFilePath(), {"--save", m_path, "a"});
        second.start(QCoreApplication::applicationFilePath(), {"--save", m_path, "b"});
        for (QProcess* child : {&first, &second})
            QVERIFY(child->waitForFinished(120000) && child->exitCode() == 0);
        QCOMPARE(FileSettingsStore(m_path).GetAll(App, Section).size(), 200);
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--save") == 0) {
        // A save refused while the other copy holds the lock is tried again,
        // as the command history does at the next send.
        FileSettingsStore store(argv[2]);
        int refusals = 0;
        for (int i = 0; i < 100; ++i)
            while (!store.Save(App, Section, argv[3] + QString::number(i), "v"))
                if (++refusals > 1000)
                    return 1;
        return 0;
    }
    TestStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_store.moc"
