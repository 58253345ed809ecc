#include "link/PortRule.h"

#include <QtTest>

class TestPortRule : public QObject {
    Q_OBJECT
private slots:
    void qualifies_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("expected");
        QTest::newRow("COM1") << "COM1" << true;
        QTest::newRow("lower case com12") << "com12" << true;
        QTest::newRow("COM1234 (three characters read)") << "COM1234" << true;
        QTest::newRow("COMX") << "COMX" << false;
        QTest::newRow("LPT1") << "LPT1" << false;
        QTest::newRow("bare COM") << "COM" << false;
        QTest::newRow("USB adaptor") << "/dev/ttyUSB0" << true;
        QTest::newRow("ACM adaptor") << "/dev/ttyACM12" << true;
        QTest::newRow("on-board port") << "/dev/ttyS0" << true;
        QTest::newRow("Raspberry Pi port") << "/dev/ttyAMA0" << true;
        QTest::newRow("Bluetooth port") << "/dev/rfcomm3" << true;
        QTest::newRow("prefix without number") << "/dev/ttyUSB" << false;
        QTest::newRow("pseudo-terminal") << "/dev/pts/3" << false;
        QTest::newRow("console") << "/dev/tty0" << false;
    }
    void qualifies() {
        QFETCH(QString, name);
        QFETCH(bool, expected);
        QCOMPARE(PortRule::Qualifies(name), expected);
    }

    void keepsOrderAndCase() {
        const QStringList reported = {"COM1", "com12", "COM1234", "COMX", "LPT1", "COM"};
        QCOMPARE(PortRule::QualifyingPorts(reported), QStringList({"COM1", "com12", "COM1234"}));
    }
};

QTEST_APPLESS_MAIN(TestPortRule)
#include "tst_portrule.moc"
