#include "platform/FileSettingsStore.h"
#include "support/MemorySettingsStore.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {
const QString App = QStringLiteral("PROBETRM");
const QString Section = QStringLiteral("Commands");

QStringList listing(const ISettingsStore& store) {
    QStringList pairs;
    for (const auto& [key, value] : store.GetAll(App, Section))
        pairs << key + QLatin1Char('=') + value;
    return pairs;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_path = m_folder.filePath(QStringLiteral("%1/settings.json").arg(++m_number)); }

    // Steps: "+key=value" saves, "-key" deletes, "!key" is a delete that must fail.
    void rules_data() {
        QTest::addColumn<bool>("onFile");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected");
        for (const bool onFile : {true, false}) {
            const char* kind = onFile ? "file" : "memory";
            QTest::addRow("%s: replace, letter case ignored", kind)
                << onFile << QStringList{"+m=1", "+M=2"} << QStringList{"m=2"};
            QTest::addRow("%s: delete", kind)
                << onFile << QStringList{"!a", "+a=1", "+b=2", "!c", "-A"} << QStringList{"b=2"};
            QTest::addRow("%s: order of creation", kind)
                << onFile << QStringList{"+c=1", "+a=2", "+b=3", "+A=4"}
                << QStringList{"c=1", "a=4", "b=3"};
        }
    }
    void rules() {
        QFETCH(bool, onFile);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        FileSettingsStore fileStore(m_path);
        MemorySettingsStore memoryStore;
        ISettingsStore* store = onFile ? static_cast<ISettingsStore*>(&fileStore) : &memoryStore;
        for (const QString& step : steps) {
            const QString key = step.mid(1).section(QLatin1Char('='), 0, 0);
            if (step.startsWith(QLatin1Char('+')))
                QVERIFY(store->Save(App, Section, key, step.section(QLatin1Char('='), 1)));
            else
                QCOMPARE(store->Delete(App, Section, key), step.startsWith(QLatin1Char('-')));
        }
        QCOMPARE(listing(*store), expected);
        QCOMPARE(store->GetAll(App.toLower(), Section.toUpper()), store->GetAll(App, Section));
        if (onFile)
            QCOMPARE(listing(FileSettingsStore(m_path)), expected);
    }

    void oddTextsRoundTrip_data() {
        QTest::addColumn<QString>("text");
        for (const char* text : {" lead", "trail ", "a=b", "a/b\\c", "[Commands]", "]", "x;y", "#c",
                                 "\"q\" 'q'", "Grüße 日本 🙂", "", "\t\r\n"})
            QTest::newRow(text) << QString::fromUtf8(text);
    }
    void oddTextsRoundTrip() {
        QFETCH(QString, text);
        QVERIFY(FileSettingsStore(m_path).Save(App, Section, text, text + QLatin1String(" value")));
        const ISettingsStore::Entries expected{{text, text + QLatin1String(" value")}};
        QCOMPARE(FileSettingsStore(m_path).GetAll(App, Section), expected);
    }

    void unparsableFileIsKeptAside() {
        QDir().mkpath(QFileInfo(m_path).path());
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("{\"sections\": [ x") > 0);
        file.close();
        FileSettingsStore store(m_path);
        QVERIFY(store.GetAll(App, Section).isEmpty());
        QVERIFY(store.Save(App, Section, QStringLiteral("new"), QStringLiteral("2")));
        QCOMPARE(listing(store), QStringList{QStringLiteral("new=2")});
        QCOMPARE(contents(m_path + QLatin1String(".bad")), QByteArray("{\"sections\": [ x"));
    }

    // A file size limit makes the write fail as a full disk would, even for root.
    void failedWriteLeavesTheOldFile() {
        FileSettingsStore store(m_path);
        QVERIFY(store.Save(App, Section, QStringLiteral("kept"), QStringLiteral("1")));
        const QByteArray before = contents(m_path);
        rlimit original{};
        getrlimit(RLIMIT_FSIZE, &original);
        const rlimit small{4096, original.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        const bool saved =
            store.Save(App, Section, QStringLiteral("big"), QString(100000, QLatin1Char('x')));
        setrlimit(RLIMIT_FSIZE, &original);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!saved);
        QCOMPARE(contents(m_path), before);
    }

    // Two copies of this program save 100 keys each into one file at once.
    void twoProcessesLoseNothing() {
        QProcess first;
        QProcess second;
        first.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--save"), m_path, QStringLiteral("a")});
        second.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--save"), m_path, QStringLiteral("b")});
        for (QProcess* child : {&first, &second}) {
            QVERIFY(child->waitForFinished(120000));
            QCOMPARE(child->exitCode(), 0);
        }
        QCOMPARE(FileSettingsStore(m_path).GetAll(App, Section).size(), 200);
        QVERIFY(!QFile::exists(m_path + QLatin1String(".bad")));
    }

private:
    QTemporaryDir m_folder;
    QString m_path;
    int m_number = 0;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--save") == 0) {
        FileSettingsStore store(QString::fromLocal8Bit(argv[2]));
        for (int i = 0; i < 100; ++i) {
            if (!store.Save(App, Section, QString::fromLocal8Bit(argv[3]) + QString::number(i),
                            QStringLiteral("v")))
                return 1;
        }
        return 0;
    }
    SettingsStoreTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "SettingsStoreTest.moc"
