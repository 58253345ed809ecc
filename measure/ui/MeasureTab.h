#pragma once

#include "measure/MeasurementTable.h"
#include "measure/PlotSeries.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QVBoxLayout;
class ExchangeLink;
class IClock;
class IFileDialog;
class ISettingsStore;
class MeasurePlot;
class MeasurementRunner;
class ValueLabels;
class WholeNumberBox;
struct Identification;

// The Measure tab: picks a sensor and a measurement method, runs whole
// measurements with one press (once or every so many seconds; the method
// and the interval are remembered for the next run), shows their
// values in a table and a plot, saves the table as CSV, and shows the
// fields of any identification the sensor gives, whoever asked for it.
// Its own reports (a failed measurement, the CSV, choices not remembered)
// stay on its report line until the next one replaces them.
class MeasureTab : public QWidget {
    Q_OBJECT
public:
    MeasureTab(ExchangeLink& link, IClock& clock, IFileDialog& dialog, ISettingsStore& settings,
               QWidget* parent = nullptr);

    QLineEdit* txtMeasureAddress = nullptr;
    QComboBox* cboMethod = nullptr;
    WholeNumberBox* txtMeasureRepeat = nullptr;
    QPushButton* cmdMeasure = nullptr;
    QPushButton* cmdIdentify = nullptr;
    QTableView* grdMeasurements = nullptr;
    QCheckBox* chkOneAxisPerValue = nullptr;
    MeasurePlot* picPlot = nullptr;
    QPushButton* cmdSaveCsv = nullptr;
    QPushButton* cmdClearMeasurements = nullptr;
    QLineEdit* txtSdi12Version = nullptr;
    QLineEdit* txtVendor = nullptr;
    QLineEdit* txtModel = nullptr;
    QLineEdit* txtSensorVersion = nullptr;
    QLineEdit* txtIdentificationRest = nullptr;
    // Why the last answer to an identification could not be decoded.
    QLabel* lblIdentificationRemark = nullptr;
    QLabel* lblMeasureReport = nullptr;

    const MeasurementTable& Table() const { return m_table; }
    MeasurementRunner& Runner() { return *m_runner; }
    // Names the table's value columns, the plot's lines and the CSV's
    // columns by the measured sensor's labels.
    void SetValueLabels(const ValueLabels* labels);

    // The sensors and the method chosen; nothing (the report line says why)
    // when the sensors are not a list of addresses.
    std::optional<QList<QChar>> ChosenSensors();
    std::optional<MeasurementMethod> ChosenMethod() const;
    // Starts measuring as "Measure" does, unless it runs already.
    void StartMeasuring();
    // A row of controls of another layer (the recording's), under the
    // report line.
    void AddPanel(QWidget* panel);

    void cmdMeasure_Click();
    void cmdIdentify_Click();
    void cmdSaveCsv_Click();
    void cmdClearMeasurements_Click();

private:
    void createControls();
    QWidget* createViews();
    QWidget* createIdentificationFields();
    int tableWidthForColumns() const;
    // The one address character, or nothing (the report line says why).
    std::optional<QChar> address();
    // The sensors to measure, or nothing (the report line says why).
    std::optional<QList<QChar>> addresses();
    void showReport(const QString& text);
    void showIdentification(const Identification& identification);
    void Runner_MeasurementEnded(const MeasurementRecord& record);
    void Runner_RunningChanged(bool running);
    void Watch_Answered(const QByteArray& answer);
    void showValueTitles();

    ExchangeLink& m_link;
    QVBoxLayout* m_page = nullptr;
    IFileDialog& m_dialog;
    ISettingsStore& m_settings;
    MeasurementTable m_table;
    PlotSeries m_plotSeries;
    const ValueLabels* m_labels = nullptr;
    MeasurementRunner* m_runner;
    QString m_csvFileName; // the dialog starts from the last one chosen
};
