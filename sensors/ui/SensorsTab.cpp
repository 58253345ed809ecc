#include "sensors/ui/SensorsTab.h"

#include "measure/IdentificationWatch.h"
#include "measure/MeasurementMethod.h"
#include "platform/ui/WholeNumberBox.h"
#include "sensors/SensorBus.h"
#include "sensors/SensorCatalogue.h"
#include "sensors/SensorsChoices.h"
#include "sensors/ui/frmChangeAddress.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QTableView* newTable(QAbstractItemModel& model, QWidget* parent) {
    auto* table = new QTableView(parent);
    table->setModel(&model);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setTabKeyNavigation(false);
    return table;
}

} // namespace

SensorsTab::SensorsTab(ExchangeLink& link, ISettingsStore& settings, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_bus(new SensorBus(link, this)),
      m_catalogue(new SensorCatalogue(settings, this)) {
    createControls();
    m_bus->setRetries(Retries());
    connect(cmdScan, &QPushButton::clicked, this, &SensorsTab::cmdScan_Click);
    connect(cmdMakeCurrent, &QPushButton::clicked, this, &SensorsTab::cmdMakeCurrent_Click);
    connect(cmdMeasureTicked, &QPushButton::clicked, this, &SensorsTab::cmdMeasureTicked_Click);
    connect(cmdChangeAddress, &QPushButton::clicked, this, &SensorsTab::cmdChangeAddress_Click);
    connect(cmdReadParameters, &QPushButton::clicked, this, &SensorsTab::cmdReadParameters_Click);
    connect(chkRetries, &QCheckBox::toggled, this, &SensorsTab::retrySettings_Changed);
    connect(txtFirstByteTimeout, &QSpinBox::editingFinished, this,
            &SensorsTab::retrySettings_Changed);
    connect(grdSensors, &QTableView::doubleClicked, this, &SensorsTab::cmdMakeCurrent_Click);
    connect(grdSensors, &QWidget::customContextMenuRequested, this,
            &SensorsTab::grdSensors_ContextMenu);
    connect(grdSensors->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &SensorsTab::showParameters);
    connect(cboParameterMethod, &QComboBox::currentTextChanged, this, &SensorsTab::showParameters);
    connect(m_catalogue, &ValueLabels::changed, this, &SensorsTab::showParameters);

    connect(m_bus, &SensorBus::busyChanged, this, &SensorsTab::Bus_BusyChanged);
    connect(m_bus, &SensorBus::scanStarted, &m_survey, &BusSurvey::scanStarted);
    connect(m_bus, &SensorBus::probing, this, &SensorsTab::Bus_Probing);
    connect(m_bus, &SensorBus::addressScanned, this, &SensorsTab::Bus_AddressScanned);
    connect(m_bus, &SensorBus::severalAnswerQuery, this, [this] {
        m_severalAnswerQuery = true;
        showReport(tr("several sensors answer ?!"));
    });
    connect(m_bus, &SensorBus::scanEnded, this, &SensorsTab::Bus_ScanEnded);
    connect(m_bus, &SensorBus::addressChangeEnded, this, &SensorsTab::Bus_AddressChangeEnded);
    connect(m_bus, &SensorBus::metadataEnded, this, &SensorsTab::Bus_MetadataEnded);
    // Any identification on the line tells which sensor is where, whoever
    // asked for it.
    connect(new IdentificationWatch(link, this), &IdentificationWatch::answered, m_catalogue,
            &SensorCatalogue::identificationAnswered);
}

void SensorsTab::createControls() {
    const SensorsChoices choices = SensorsChoices::load(m_settings);
    cboScanRange = new QComboBox(this);
    cboScanRange->setAccessibleName(tr("Scan range"));
    cboScanRange->addItem(tr("0–9"), int(BusAddresses::Range::Standard));
    cboScanRange->addItem(tr("all 62"), int(BusAddresses::Range::All));
    cmdScan = new QPushButton(tr("Scan"), this);
    lblScanProgress = new QLabel(this);
    chkRetries = new QCheckBox(tr("Retries as SDI-12 recorders do"), this);
    chkRetries->setChecked(choices.Retries.Enabled);
    chkRetries->setToolTip(tr("A command with no valid answer goes again without a break, three "
                              "tries a round and up to three rounds, here and in the Measure "
                              "tab's measurements; off, each command has one try"));
    txtFirstByteTimeout = new WholeNumberBox(this);
    txtFirstByteTimeout->setAccessibleName(tr("First-byte time-out"));
    txtFirstByteTimeout->setRange(RetrySettings::LeastFirstByteTimeoutMs,
                                  RetrySettings::MostFirstByteTimeoutMs);
    txtFirstByteTimeout->setValue(choices.Retries.FirstByteTimeoutMs);
    txtFirstByteTimeout->setSuffix(tr(" ms"));
    txtFirstByteTimeout->setEnabled(choices.Retries.Enabled);
    txtFirstByteTimeout->setToolTip(tr("How long each try waits for the first byte of its "
                                       "answer: sensors start within 15 ms, USB adaptors may "
                                       "add 16 ms"));

    auto* scanRow = new QHBoxLayout;
    auto* rangeLabel = new QLabel(tr("&Range"), this);
    rangeLabel->setBuddy(cboScanRange);
    scanRow->addWidget(rangeLabel);
    scanRow->addWidget(cboScanRange);
    scanRow->addWidget(cmdScan);
    scanRow->addWidget(lblScanProgress, 1);
    scanRow->addWidget(chkRetries);
    auto* timeoutLabel = new QLabel(tr("&First-byte time-out"), this);
    timeoutLabel->setBuddy(txtFirstByteTimeout);
    scanRow->addWidget(timeoutLabel);
    scanRow->addWidget(txtFirstByteTimeout);

    lblSensorsReport = new QLabel(this);
    lblSensorsReport->setTextFormat(Qt::PlainText);
    lblSensorsReport->setWordWrap(true);

    grdSensors = newTable(m_survey, this);
    grdSensors->setAccessibleName(tr("Sensors found"));
    grdSensors->setContextMenuPolicy(Qt::CustomContextMenu);
    grdSensors->setToolTip(tr("Double-click a sensor to work with its address"));
    connect(&m_survey, &QAbstractItemModel::rowsInserted, grdSensors,
            [this] { grdSensors->resizeColumnsToContents(); });

    auto* views = new QSplitter(Qt::Vertical, this);
    views->addWidget(grdSensors);
    views->addWidget(createParameterControls());
    views->setChildrenCollapsible(false);

    auto* page = new QVBoxLayout(this);
    page->addLayout(scanRow);
    page->addWidget(lblSensorsReport);
    page->addWidget(views, 1);
}

QWidget* SensorsTab::createParameterControls() {
    auto* area = new QWidget(this);
    cmdMakeCurrent = new QPushButton(tr("&Use this address"), area);
    cmdMeasureTicked = new QPushButton(tr("Measure the &ticked"), area);
    cmdMeasureTicked->setToolTip(
        tr("The sensors ticked in the table become the Measure tab's list of addresses"));
    cmdChangeAddress = new QPushButton(tr("Change address…"), area);
    cboParameterMethod = new QComboBox(area);
    cboParameterMethod->setAccessibleName(tr("Method of the names and units"));
    cboParameterMethod->addItems(MeasurementMethod::AllNames());
    cboParameterMethod->setMaxVisibleItems(20);
    cmdReadParameters = new QPushButton(tr("Read names and units"), area);
    lblParametersOf = new QLabel(area);
    grdParameters = newTable(m_parameters, area);
    grdParameters->setAccessibleName(tr("Names and units"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdMakeCurrent);
    buttons->addWidget(cmdMeasureTicked);
    buttons->addWidget(cmdChangeAddress);
    buttons->addStretch();
    auto* methodLabel = new QLabel(tr("M&ethod"), area);
    methodLabel->setBuddy(cboParameterMethod);
    buttons->addWidget(methodLabel);
    buttons->addWidget(cboParameterMethod);
    buttons->addWidget(cmdReadParameters);

    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(lblParametersOf);
    layout->addWidget(grdParameters, 1);
    return area;
}

const ValueLabels& SensorsTab::Labels() const {
    return *m_catalogue;
}

RetrySettings SensorsTab::Retries() const {
    return {chkRetries->isChecked(), txtFirstByteTimeout->value()};
}

void SensorsTab::showReport(const QString& text) {
    lblSensorsReport->setText(text);
    lblSensorsReport->setToolTip(text);
}

std::optional<QChar> SensorsTab::selectedSensor() {
    const QModelIndex current = grdSensors->currentIndex();
    if (!current.isValid() || current.row() >= m_survey.sensors().size()) {
        showReport(m_survey.hasScan() ? tr("Pick a found sensor in the table first")
                                      : tr("No scan yet: press Scan to find the sensors"));
        return std::nullopt;
    }
    return m_survey.sensors().at(current.row()).Address;
}

void SensorsTab::retrySettings_Changed() {
    txtFirstByteTimeout->setEnabled(chkRetries->isChecked());
    const RetrySettings retries = Retries();
    const QString notSaved = SensorsChoices{retries}.save(m_settings);
    if (!notSaved.isEmpty())
        showReport(notSaved);
    m_bus->setRetries(retries);
    emit retriesChanged(retries);
}

void SensorsTab::cmdScan_Click() {
    if (m_bus->isBusy()) {
        m_bus->stop();
        return;
    }
    m_severalAnswerQuery = false;
    showReport(QString());
    m_bus->scan(BusAddresses::Range(cboScanRange->currentData().toInt()));
}

void SensorsTab::cmdMakeCurrent_Click() {
    if (const std::optional<QChar> sensor = selectedSensor())
        emit addressChosen(*sensor);
}

void SensorsTab::cmdMeasureTicked_Click() {
    const QList<QChar> ticked = m_survey.tickedAddresses();
    if (ticked.isEmpty())
        showReport(tr("Tick the sensors to measure in the table's address column"));
    else
        emit sensorsChosen(ticked);
}

void SensorsTab::grdSensors_ContextMenu(const QPoint& position) {
    const QModelIndex index = grdSensors->indexAt(position);
    if (!index.isValid())
        return;
    grdSensors->setCurrentIndex(index);
    const QChar address = m_survey.sensors().at(index.row()).Address;
    QMenu menu(this);
    menu.addAction(tr("Use the address %1").arg(address), this, &SensorsTab::cmdMakeCurrent_Click);
    menu.addAction(cmdChangeAddress->text(), this, &SensorsTab::cmdChangeAddress_Click)
        ->setEnabled(cmdChangeAddress->isEnabled());
    menu.addAction(cmdReadParameters->text(), this, &SensorsTab::cmdReadParameters_Click)
        ->setEnabled(cmdReadParameters->isEnabled());
    menu.exec(grdSensors->viewport()->mapToGlobal(position));
}

void SensorsTab::cmdChangeAddress_Click() {
    if (!m_survey.hasScan()) {
        showReport(m_survey.refusalToChange(QChar(), QChar()));
        return;
    }
    const std::optional<QChar> from = selectedSensor();
    if (!from)
        return;
    if (m_survey.freeAddresses().isEmpty()) {
        showReport(tr("The last scan found no free address"));
        return;
    }
    auto* dialog = new frmChangeAddress(*from, m_survey.freeAddresses(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog, from = *from] {
        ChangeAddress(from, dialog->NewAddress(), dialog->OthersOnBus());
    });
    dialog->open();
}

// Checked as it goes, though the window offers free addresses only: the
// survey may have changed while it was open.
void SensorsTab::ChangeAddress(QChar from, QChar to, bool othersOnBus) {
    if (m_bus->isBusy()) {
        showReport(tr("Press Stop, or wait for the work under way to end"));
        return;
    }
    const QString refusal = m_survey.refusalToChange(from, to);
    if (!refusal.isEmpty()) {
        showReport(refusal);
        return;
    }
    showReport(tr("Changing the address %1 to %2…").arg(from, to));
    m_bus->changeAddress(from, to, othersOnBus);
}

void SensorsTab::cmdReadParameters_Click() {
    const std::optional<QChar> sensor = selectedSensor();
    const std::optional<MeasurementMethod> method =
        MeasurementMethod::FromName(cboParameterMethod->currentText());
    if (!sensor || !method)
        return;
    showReport(tr("Reading the names and units of %1 at %2…").arg(method->Name(), *sensor));
    m_bus->readMetadata(*sensor, *method);
}

void SensorsTab::showParameters() {
    const QModelIndex current = grdSensors->currentIndex();
    const std::optional<MeasurementMethod> method =
        MeasurementMethod::FromName(cboParameterMethod->currentText());
    if (!current.isValid() || current.row() >= m_survey.sensors().size() || !method) {
        lblParametersOf->clear();
        m_parameters.show({});
        return;
    }
    const QChar address = m_survey.sensors().at(current.row()).Address;
    const QList<ParameterInfo> parameters = m_catalogue->parametersOf(address, *method);
    lblParametersOf->setText(
        parameters.isEmpty()
            ? tr("No names and units known for %1 at %2").arg(method->Name(), address)
            : tr("Names and units of %1 at %2").arg(method->Name(), address));
    m_parameters.show(parameters);
    grdParameters->resizeColumnsToContents();
}

void SensorsTab::Bus_BusyChanged(bool busy) {
    cmdScan->setText(busy ? tr("Stop") : tr("Scan"));
    for (QWidget* control : std::initializer_list<QWidget*>{
             cboScanRange, cmdChangeAddress, cmdReadParameters, chkRetries, txtFirstByteTimeout})
        control->setEnabled(!busy);
    if (!busy)
        txtFirstByteTimeout->setEnabled(chkRetries->isChecked());
}

void SensorsTab::Bus_Probing(int position, int count, QChar address) {
    lblScanProgress->setText(tr("Address %1 of %2 (%3)").arg(position).arg(count).arg(address));
}

void SensorsTab::Bus_AddressScanned(const ScanFinding& finding) {
    m_survey.addressScanned(finding);
    if (finding.What == ScanFinding::Kind::Absent)
        m_catalogue->forget(finding.Address);
}

void SensorsTab::Bus_ScanEnded(bool stopped, const QString& fault) {
    lblScanProgress->clear();
    QStringList found;
    QStringList unclear;
    for (const ScanFinding& sensor : m_survey.sensors())
        (sensor.What == ScanFinding::Kind::Found ? found : unclear) << QString(sensor.Address);
    QString report = stopped           ? tr("Scan stopped")
                     : fault.isEmpty() ? tr("Scan done")
                                       : tr("Scan ended early, %1").arg(fault);
    if (found.isEmpty())
        report += tr(": no sensor found");
    else if (found.size() == 1)
        report += tr(": 1 sensor found (%1)").arg(found.first());
    else
        report += tr(": %1 sensors found (%2)").arg(found.size()).arg(found.join(", "));
    if (!unclear.isEmpty())
        report += tr("; something answers at %1, but never clearly").arg(unclear.join(", "));
    if (m_severalAnswerQuery)
        report += tr("; several sensors answer ?!");
    showReport(report);
    if (!grdSensors->currentIndex().isValid() && !m_survey.sensors().isEmpty())
        grdSensors->selectRow(0);
}

void SensorsTab::Bus_AddressChangeEnded(QChar from, QChar to, const AddressChangeOutcome& outcome) {
    m_survey.addressChanged(from, to, outcome);
    QString report = outcome.Report;
    if (outcome.Changed) {
        const QString notRemembered = m_catalogue->moved(from, to);
        if (!notRemembered.isEmpty())
            report += QStringLiteral(". ") + notRemembered;
        const int row = m_survey.rowOf(to);
        if (row >= 0)
            grdSensors->selectRow(row);
    }
    showReport(report);
}

void SensorsTab::Bus_MetadataEnded(QChar address, const MeasurementMethod& method,
                                   const MethodMetadata& metadata) {
    const int named = int(metadata.Parameters.size());
    QString report;
    if (named == 0 && metadata.IsComplete())
        report = tr("The sensor at %1 names none of the values of %2; they stay \"Value n\"")
                     .arg(address, method.Name());
    else if (named == 0)
        report = tr("Names and units of %1 at %2: %3").arg(method.Name(), address, metadata.Fault);
    else
        report = named == 1 ? tr("%1 at %2: 1 value named").arg(method.Name(), address)
                            : tr("%1 at %2: %3 values named")
                                  .arg(method.Name(), address, QString::number(named));
    if (named > 0 && !metadata.IsComplete())
        report += tr(", then %1").arg(metadata.Fault);
    if (named > 0) {
        const QString notRemembered = m_catalogue->remember(address, method, metadata.Parameters);
        if (!notRemembered.isEmpty())
            report += QStringLiteral(". ") + notRemembered;
    }
    showReport(report);
    showParameters();
}
