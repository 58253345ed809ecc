#include "FakeBus.h"
#include "measure/ValueLabels.h"
#include "platform/ui/WholeNumberBox.h"
#include "sensors/SensorBus.h"
#include "sensors/ui/SensorsTab.h"
#include "sensors/ui/frmChangeAddress.h"
#include "support/MemorySettingsStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

#include <optional>

// The Sensors tab over the link engine on fakes: its controls, its report
// line, its guard on the address change and its settings.
class TestSensorsTab : public QObject {
    Q_OBJECT
    std::optional<EngineOnFakes> line;
    MemorySettingsStore settings;
    std::optional<SensorsTab> tab;
    FakeBus sensors;

    void serve() {
        sensors.serve(
            *line, [this] { return tab->Bus().isBusy(); }, tab->Bus().waitTimer());
    }
    void scan() {
        QTest::mouseClick(tab->cmdScan, Qt::LeftButton);
        serve();
    }
    QString report() const { return tab->lblSensorsReport->text(); }
    void pickRow(int row) {
        tab->grdSensors->setCurrentIndex(tab->grdSensors->model()->index(row, 0));
    }

private slots:
    void init() {
        settings = MemorySettingsStore();
        line.emplace();
        tab.emplace(line->Link, settings);
        sensors = FakeBus{{{'0', "SIM0001"}, {'3', "SIM0002"}}, {}};
    }
    void cleanup() {
        tab.reset();
        line.reset();
    }

    void scanFillsTheTable() {
        QSignalSpy ended(&tab->Bus(), &SensorBus::scanEnded);
        QTest::mouseClick(tab->cmdScan, Qt::LeftButton);
        QCOMPARE(tab->cmdScan->text(), "Stop");
        QCOMPARE(tab->lblScanProgress->text(), "Address 1 of 10 (0)");
        serve();
        QCOMPARE(tab->cmdScan->text(), "Scan");
        QCOMPARE(report(), "Scan done: 2 sensors found (0, 3)");
        const QAbstractItemModel& table = *tab->grdSensors->model();
        QCOMPARE(table.rowCount(), 2);
        QCOMPARE(table.data(table.index(1, BusSurvey::AddressColumn)).toString(), "3");
        QCOMPARE(table.data(table.index(1, BusSurvey::VendorColumn)).toString(), "QUENVREL");
        QCOMPARE(table.data(table.index(1, BusSurvey::RestColumn)).toString(), "SIM0002");
        QVERIFY(table.data(table.index(1, BusSurvey::RoundTripColumn)).toString().endsWith(" ms"));
    }

    void allSixtyTwoHintsAtSeveralSensors() {
        tab->cboScanRange->setCurrentIndex(1);
        scan();
        QCOMPARE(report(), "Scan done: 2 sensors found (0, 3); several sensors answer ?!");
    }

    void stopEndsTheScan() {
        QTest::mouseClick(tab->cmdScan, Qt::LeftButton);
        line->Answer("0\r\n");
        QTest::mouseClick(tab->cmdScan, Qt::LeftButton);
        QCOMPARE(tab->cmdScan->text(), "Scan");
        QCOMPARE(report(), "Scan stopped: no sensor found");
    }

    // A double click, or the button, makes the row's address the one the
    // operator works with.
    void aFoundSensorBecomesCurrent() {
        scan();
        tab->show();
        QVERIFY(QTest::qWaitForWindowExposed(tab.operator->()));
        QSignalSpy chosen(tab.operator->(), &SensorsTab::addressChosen);
        pickRow(1);
        QTest::mouseClick(tab->cmdMakeCurrent, Qt::LeftButton);
        const QRect cell = tab->grdSensors->visualRect(tab->grdSensors->model()->index(0, 0));
        const QPoint at = tab->grdSensors->viewport()->mapTo(tab.operator->(), cell.center());
        QTest::mouseDClick(tab->windowHandle(), Qt::LeftButton, {}, at);
        QCOMPARE(chosen.size(), 2);
        QCOMPARE(chosen.at(0).at(0).value<QChar>(), QChar('3'));
        QCOMPARE(chosen.at(1).at(0).value<QChar>(), QChar('0'));
    }

    void changeAddressWarnsWithoutAScan() {
        QTest::mouseClick(tab->cmdChangeAddress, Qt::LeftButton);
        QVERIFY(report().startsWith("No scan yet"));
        QVERIFY(!tab->findChild<frmChangeAddress*>());
    }

    // The window offers the free addresses only; once chosen, the change
    // runs and the table follows it.
    void changeAddressOffersTheFreeAddresses() {
        scan();
        pickRow(1);
        QTest::mouseClick(tab->cmdChangeAddress, Qt::LeftButton);
        frmChangeAddress* dialog = tab->findChild<frmChangeAddress*>();
        QVERIFY(dialog);
        QStringList offered;
        for (int item = 0; item < dialog->cboNewAddress->count(); ++item)
            offered << dialog->cboNewAddress->itemText(item);
        QCOMPARE(offered.join(""), "12456789");
        dialog->cboNewAddress->setCurrentText("5");
        dialog->chkOthersOnBus->setChecked(true);
        dialog->accept();
        serve();
        QCOMPARE(report(), "Changed: the sensor at 3 now answers at 5");
        QCOMPARE(tab->Survey().freeAddresses(), "12346789");
        QCOMPARE(tab->Survey().sensors().at(1).Address, QChar('5'));
    }

    void takenOrSameAddressSendsNothing_data() {
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("report");
        QTest::newRow("taken") << "0"
                               << "The address 0 is taken";
        QTest::newRow("the same") << "3"
                                  << "The sensor already has the address 3";
    }
    void takenOrSameAddressSendsNothing() {
        QFETCH(QString, to);
        scan();
        line->Serial.ClearSent();
        tab->ChangeAddress('3', to.at(0), true);
        QTEST(report(), "report");
        QVERIFY(!tab->Bus().isBusy());
        QCOMPARE(line->Serial.Sent(), QByteArray());
    }

    // What is read shows in the table below and labels the sensor's values.
    void namesAndUnitsAreShownAndKept() {
        scan();
        pickRow(0);
        tab->cboParameterMethod->setCurrentText("M");
        QTest::mouseClick(tab->cmdReadParameters, Qt::LeftButton);
        serve();
        QCOMPARE(report(), "M at 0: 3 values named");
        QCOMPARE(tab->grdParameters->model()->rowCount(), 3);
        QCOMPARE(tab->grdParameters->model()->index(1, 1).data().toString(), "PA");
        QCOMPARE(tab->lblParametersOf->text(), "Names and units of M at 0");
        QCOMPARE(tab->Labels().labelsOf('0', *MeasurementMethod::FromName("M")),
                 QStringList({"TA (degC)", "PA (hPa)", "VB (V)"}));
        pickRow(1);
        QCOMPARE(tab->grdParameters->model()->rowCount(), 0);
    }

    // On unless turned off, remembered, and given to whoever follows them.
    void retrySettingsAreKept() {
        QVERIFY(tab->Retries().Enabled);
        QCOMPARE(tab->Retries().FirstByteTimeoutMs, 60);
        QSignalSpy changed(tab.operator->(), &SensorsTab::retriesChanged);
        tab->chkRetries->setChecked(false);
        QCOMPARE(changed.size(), 1);
        QVERIFY(!tab->txtFirstByteTimeout->isEnabled());
        tab->chkRetries->setChecked(true);
        tab->txtFirstByteTimeout->setValue(45);
        emit tab->txtFirstByteTimeout->editingFinished();
        QCOMPARE(changed.last().at(0).value<RetrySettings>().FirstByteTimeoutMs, 45);
        SensorsTab restarted(line->Link, settings);
        QVERIFY(restarted.Retries().Enabled);
        QCOMPARE(restarted.Retries().FirstByteTimeoutMs, 45);
    }
};

QTEST_MAIN(TestSensorsTab)
#include "tst_sensorstab.moc"
