#pragma once

#include "measure/RetryRule.h"
#include "sensors/BusSurvey.h"
#include "sensors/ParameterTable.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class ExchangeLink;
class ISettingsStore;
class SensorBus;
class SensorCatalogue;
class ValueLabels;
class WholeNumberBox;
struct AddressChangeOutcome;
struct MeasurementMethod;
struct MethodMetadata;

// The Sensors tab: scans the bus for every sensor and its identification,
// gives a found sensor a free address, guarded, reads the names and units of
// a method's values, and holds the recorders' retry rule and its first-byte
// time-out, which the Measure tab's measurements follow too. Its reports
// stay on its report line until the next one replaces them.
class SensorsTab : public QWidget {
    Q_OBJECT
public:
    SensorsTab(ExchangeLink& link, ISettingsStore& settings, QWidget* parent = nullptr);

    QComboBox* cboScanRange = nullptr;
    QPushButton* cmdScan = nullptr;
    QLabel* lblScanProgress = nullptr;
    QCheckBox* chkRetries = nullptr;
    WholeNumberBox* txtFirstByteTimeout = nullptr;
    QLabel* lblSensorsReport = nullptr;
    QTableView* grdSensors = nullptr;
    QPushButton* cmdMakeCurrent = nullptr;
    QPushButton* cmdMeasureTicked = nullptr;
    QPushButton* cmdChangeAddress = nullptr;
    QComboBox* cboParameterMethod = nullptr;
    QPushButton* cmdReadParameters = nullptr;
    QLabel* lblParametersOf = nullptr;
    QTableView* grdParameters = nullptr;

    const ValueLabels& Labels() const;
    RetrySettings Retries() const;
    const BusSurvey& Survey() const { return m_survey; }
    SensorBus& Bus() { return *m_bus; }

    void cmdScan_Click();
    void cmdMakeCurrent_Click();
    void cmdMeasureTicked_Click();
    void cmdChangeAddress_Click();
    void cmdReadParameters_Click();
    // Gives the sensor at `from` the address `to`, when the last scan found
    // it free; otherwise the report line says why and nothing is sent.
    void ChangeAddress(QChar from, QChar to, bool othersOnBus);

signals:
    // The operator chose this sensor to work with.
    void addressChosen(QChar address);
    // The operator chose the ticked sensors for the Measure tab.
    void sensorsChosen(const QList<QChar>& addresses);
    void retriesChanged(const RetrySettings& retries);

private:
    void createControls();
    QWidget* createParameterControls();
    // The found sensor of the selected row; the report line says why not.
    std::optional<QChar> selectedSensor();
    void showReport(const QString& text);
    void showParameters();
    void retrySettings_Changed();
    void grdSensors_ContextMenu(const QPoint& position);
    void Bus_BusyChanged(bool busy);
    void Bus_Probing(int position, int count, QChar address);
    void Bus_AddressScanned(const ScanFinding& finding);
    void Bus_ScanEnded(bool stopped, const QString& fault);
    void Bus_AddressChangeEnded(QChar from, QChar to, const AddressChangeOutcome& outcome);
    void Bus_MetadataEnded(QChar address, const MeasurementMethod& method,
                           const MethodMetadata& metadata);

    ISettingsStore& m_settings;
    SensorBus* m_bus;
    SensorCatalogue* m_catalogue;
    BusSurvey m_survey;
    ParameterTable m_parameters;
    bool m_severalAnswerQuery = false; // in the scan under way
};
