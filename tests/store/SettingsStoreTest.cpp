#include "platform/FileSettingsStore.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

const QString App = "PROBETRM", Section = "Commands";

class SettingsStoreTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_folder;
    QString m_path;

private slots:
    void init() { m_path = m_folder.filePath(QTest::currentTestFunction() + QString(".json")); }

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

    // A file size limit makes the write fail as a full disk would, even for root.
    void failedWriteLeavesTheOldFile() {
        FileSettingsStore store(m_path);
        QVERIFY(store.Save(App, Section, "kept", "1"));
        rlimit original{};
        getrlimit(RLIMIT_FSIZE, &original);
        const rlimit small{4096, original.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        const bool saved = store.Save(App, Section, "big", QString(100000, 'x'));
        setrlimit(RLIMIT_FSIZE, &original);
        QVERIFY(!saved);
        QCOMPARE(FileSettingsStore(m_path).GetAll(App, Section),
                 ISettingsStore::Entries({{"kept", "1"}}));
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
        FileSettingsStore store(argv[2]);
        for (int i = 0; i < 100; ++i)
            if (!store.Save(App, Section, argv[3] + QString::number(i), "v"))
                return 1;
        return 0;
    }
    SettingsStoreTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SettingsStoreTest.moc"
