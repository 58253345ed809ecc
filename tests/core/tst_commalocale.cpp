#include <QtTest>

#include <clocale>

// Runs first under the comma-decimal locale that the number tests are
// repeated under. When the system lacks that locale, setlocale falls back
// to "C" without a word and those runs would pass whatever the readers do;
// this check fails instead.
class TestCommaLocale : public QObject {
    Q_OBJECT
private slots:
    void environmentLocaleHasADecimalComma() {
        const QByteArray wanted = qgetenv("LC_ALL");
        QVERIFY2(std::setlocale(LC_ALL, "") != nullptr,
                 qPrintable(QStringLiteral("The system lacks the %1 locale; scripts/setup.sh "
                                           "generates it (locales package, locale-gen).")
                                .arg(QString::fromLatin1(wanted))));
        QCOMPARE(QByteArray(std::localeconv()->decimal_point), QByteArray(","));
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    }
};

QTEST_GUILESS_MAIN(TestCommaLocale)
#include "tst_commalocale.moc"
