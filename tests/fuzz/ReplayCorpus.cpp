#include "FuzzSupport.h"

#include <QDir>
#include <QTest>

// Feeds every committed input of one fuzz target to that target, so that the
// normal suite keeps each input that once found a fault (and each seed). The
// test names the target's corpus folder in PROBETERM_FUZZ_CORPUS.
class ReplayCorpus : public QObject {
    Q_OBJECT
    const QString m_folder = qEnvironmentVariable("PROBETERM_FUZZ_CORPUS");
    const QDir m_corpus{m_folder};

private slots:
    void initTestCase() {
        QVERIFY2(!m_folder.isEmpty(), "PROBETERM_FUZZ_CORPUS names no folder");
        QVERIFY2(m_corpus.exists() && !m_corpus.isEmpty(), qPrintable(m_folder));
    }

    void replay_data() {
        QTest::addColumn<QString>("fileName");
        for (const QString& name : m_corpus.entryList(QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(name)) << m_corpus.filePath(name);
    }
    void replay() {
        QFETCH(QString, fileName);
        QFile file(fileName);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
        const QByteArray input = file.readAll();
        // A sanitizer report ends the process before Qt Test can name the row.
        std::fprintf(stderr, "replaying %s\n", qPrintable(fileName));
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()),
                               std::size_t(input.size()));
    }
};

QTEST_GUILESS_MAIN(ReplayCorpus)
#include "ReplayCorpus.moc"
