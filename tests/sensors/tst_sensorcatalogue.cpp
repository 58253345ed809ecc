#include "measure/MeasurementMethod.h"
#include "sensors/SensorCatalogue.h"
#include "sensors/SensorsChoices.h"
#include "support/MemorySettingsStore.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString First = QStringLiteral("13QUENVRELPRBSIM100SIM0001");
const QString Second = QStringLiteral("13QUENVRELPRBSIM100SIM0002");

const QList<ParameterInfo> Weather{
    {"TA", "degC", {"air temperature"}}, {"PA", "hPa", {}}, {"ST", "", {}}};

MeasurementMethod method(const char* name) {
    return *MeasurementMethod::FromName(QLatin1String(name));
}

// A store whose every write fails, as on a full disk.
class FullStore : public MemorySettingsStore {
public:
    bool Save(const QString&, const QString&, const QString&, const QString&) override {
        return false;
    }
    QString ErrorString() const override { return QStringLiteral("No space left on device"); }
};

} // namespace

// What each sensor told of its values: kept by the address and the
// identification together, across restarts, and following a sensor that
// changed its address.
class TestSensorCatalogue : public QObject {
    Q_OBJECT
private slots:
    void labelsOfTheSensorAtTheAddress() {
        MemorySettingsStore store;
        SensorCatalogue catalogue(store);
        catalogue.identified('0', First);
        QSignalSpy changed(&catalogue, &ValueLabels::changed);
        QCOMPARE(catalogue.remember('0', method("M"), Weather), QString());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(catalogue.labelsOf('0', method("M")),
                 QStringList({"TA (degC)", "PA (hPa)", "ST"}));
        QCOMPARE(catalogue.labelsOf('0', method("MC")), QStringList());
        QCOMPARE(catalogue.labelsOf('1', method("M")), QStringList());
    }

    // Another sensor put on the address inherits nothing; the first one
    // back there has its names again.
    void anotherSensorOnTheAddressInheritsNothing() {
        MemorySettingsStore store;
        SensorCatalogue catalogue(store);
        catalogue.identified('0', First);
        catalogue.remember('0', method("M"), Weather);
        catalogue.identified('0', Second);
        QCOMPARE(catalogue.labelsOf('0', method("M")), QStringList());
        catalogue.identified('0', First);
        QCOMPARE(catalogue.labelsOf('0', method("M")).size(), 3);
        catalogue.forget('0');
        QCOMPARE(catalogue.labelsOf('0', method("M")), QStringList());
    }

    // Only a sound identification from the address asked names its sensor.
    void identificationAnswers_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<bool>("identifies");
        QTest::newRow("sound") << QByteArray("013QUENVRELPRBSIM100SIM0001\r\n") << true;
        QTest::newRow("from another address")
            << QByteArray("113QUENVRELPRBSIM100SIM0001\r\n") << false;
        QTest::newRow("not an identification") << QByteArray("0+1.5\r\n") << false;
    }
    void identificationAnswers() {
        QFETCH(QByteArray, answer);
        MemorySettingsStore store;
        SensorCatalogue catalogue(store);
        catalogue.identificationAnswered('0', answer);
        QTEST(catalogue.identityAt('0') == First, "identifies");
    }

    // The store matches keys whatever their letter case; addresses "a" and
    // "A" are still two sensors.
    void lettersOfEitherCaseAreTwoAddresses() {
        MemorySettingsStore store;
        SensorCatalogue catalogue(store);
        catalogue.identified('a', First);
        catalogue.identified('A', First);
        catalogue.remember('a', method("M"), Weather);
        catalogue.remember('A', method("M"), {{"HG", "m", {}}});
        SensorCatalogue restarted(store);
        restarted.identified('a', First);
        restarted.identified('A', First);
        QCOMPARE(restarted.labelsOf('a', method("M")).size(), 3);
        QCOMPARE(restarted.labelsOf('A', method("M")), QStringList({"HG (m)"}));
    }

    void survivesARestart() {
        MemorySettingsStore store;
        {
            SensorCatalogue catalogue(store);
            catalogue.identified('3', First);
            catalogue.remember('3', method("CC1"), Weather);
        }
        SensorCatalogue restarted(store);
        QCOMPARE(restarted.labelsOf('3', method("CC1")), QStringList());
        restarted.identified('3', First);
        QCOMPARE(restarted.parametersOf('3', method("CC1")), Weather);
    }

    void followsAMovedSensor() {
        MemorySettingsStore store;
        SensorCatalogue catalogue(store);
        catalogue.identified('3', First);
        catalogue.remember('3', method("M"), Weather);
        QCOMPARE(catalogue.moved('3', '5'), QString());
        QCOMPARE(catalogue.labelsOf('5', method("M")).size(), 3);
        QCOMPARE(catalogue.labelsOf('3', method("M")), QStringList());
        SensorCatalogue restarted(store);
        restarted.identified('5', First);
        QCOMPARE(restarted.labelsOf('5', method("M")).size(), 3);
    }

    void storeFailuresAreReported() {
        FullStore store;
        SensorCatalogue catalogue(store);
        catalogue.identified('0', First);
        QCOMPARE(catalogue.remember('0', method("M"), Weather),
                 "The names and units are not remembered for the next run: No space left on "
                 "device");
        QCOMPARE(catalogue.labelsOf('0', method("M")).size(), 3); // known this session
        QVERIFY(catalogue.remember('1', method("M"), Weather).contains("has not identified"));
    }

    void unreadableEntriesAreSkipped() {
        MemorySettingsStore store;
        store.Save(ProgramSettingsApplication, "Sensor metadata", "x", "not json");
        store.Save(ProgramSettingsApplication, "Sensor metadata", "y",
                   R"({"address":"00","method":"M","identification":"x","parameters":[]})");
        SensorCatalogue catalogue(store);
        catalogue.identified('0', First);
        QCOMPARE(catalogue.labelsOf('0', method("M")), QStringList());
    }

    // The retry settings: on by default, remembered, and checked when read.
    void retrySettingsAreRemembered_data() {
        QTest::addColumn<QString>("retries");
        QTest::addColumn<QString>("timeout");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("milliseconds");
        QTest::newRow("nothing stored: on, 60 ms") << ""
                                                   << "" << true << 60;
        QTest::newRow("stored") << "0"
                                << "45" << false << 45;
        QTest::newRow("out of range") << "2"
                                      << "5" << true << 60;
        QTest::newRow("not a number") << "1"
                                      << "fast" << true << 60;
    }
    void retrySettingsAreRemembered() {
        QFETCH(QString, retries);
        QFETCH(QString, timeout);
        MemorySettingsStore store;
        if (!retries.isEmpty())
            store.Save(ProgramSettingsApplication, "Sensors", "Retries", retries);
        if (!timeout.isEmpty())
            store.Save(ProgramSettingsApplication, "Sensors", "FirstByteTimeout", timeout);
        const SensorsChoices loaded = SensorsChoices::load(store);
        QTEST(loaded.Retries.Enabled, "enabled");
        QTEST(loaded.Retries.FirstByteTimeoutMs, "milliseconds");
        QCOMPARE(loaded.save(store), QString());
        QCOMPARE(SensorsChoices::load(store).Retries.FirstByteTimeoutMs,
                 loaded.Retries.FirstByteTimeoutMs);
    }
};

QTEST_GUILESS_MAIN(TestSensorCatalogue)
#include "tst_sensorcatalogue.moc"
