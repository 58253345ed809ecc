#include "link/StatusReports.h"

#include <QtTest>

// What status panel 1 shows as reports of each kind come and go.
class TestStatusReports : public QObject {
    Q_OBJECT
private slots:
    // Steps: P port state, p port state standing, R refusal, T time-out,
    // E parity error, L log failure (standing), l the log written again,
    // S a command went on the line.
    void panelText_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("shown");
        QTest::newRow("one report") << "T"
                                    << "TIMEOUT";
        QTest::newRow("kinds side by side, in order") << "LTE"
                                                      << "TIMEOUT  |  PARITY ERROR  |  log";
        QTest::newRow("same kind replaces") << "pP"
                                            << "Open";
        QTest::newRow("a send clears what passes") << "PRTES"
                                                   << "";
        QTest::newRow("a send keeps what stays true") << "pLTS"
                                                      << "Gone  |  log";
        QTest::newRow("withdrawn when true no more") << "LTl"
                                                     << "TIMEOUT";
    }
    void panelText() {
        QFETCH(QString, steps);
        StatusReports reports;
        using Kind = LinkReport::Kind;
        for (const QChar step : steps) {
            switch (step.toLatin1()) {
            case 'P':
                reports.add({Kind::PortState, "Open", false});
                break;
            case 'p':
                reports.add({Kind::PortState, "Gone", true});
                break;
            case 'R':
                reports.add({Kind::Refusal, "Not sent", false});
                break;
            case 'T':
                reports.add({Kind::TimeOut, "TIMEOUT", false});
                break;
            case 'E':
                reports.add({Kind::ParityError, "PARITY ERROR", false});
                break;
            case 'L':
                reports.add({Kind::LogFailure, "log", true});
                break;
            case 'l':
                reports.add({Kind::LogFailure, QString(), false});
                break;
            case 'S':
                reports.commandTransmitted();
                break;
            }
        }
        QTEST(reports.text(), "shown");
    }
};

QTEST_APPLESS_MAIN(TestStatusReports)
#include "tst_statusreports.moc"
