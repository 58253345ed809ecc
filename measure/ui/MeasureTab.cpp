#include "measure/ui/MeasureTab.h"

#include "link/ExchangeLink.h"
#include "measure/AddressList.h"
#include "measure/Identification.h"
#include "measure/IdentificationWatch.h"
#include "measure/MeasureChoices.h"
#include "measure/MeasurementCsv.h"
#include "measure/MeasurementRunner.h"
#include "measure/PlotAxesChoice.h"
#include "measure/PlotSeries.h"
#include "measure/ui/MeasurePlot.h"
#include "platform/AtomicFile.h"
#include "platform/FileDialog.h"
#include "platform/ui/FocusScrollArea.h"
#include "platform/ui/WholeNumberBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

MeasureTab::MeasureTab(ExchangeLink& link, IClock& clock, IFileDialog& dialog,
                       ISettingsStore& settings, QWidget* parent)
    : QWidget(parent), m_link(link), m_dialog(dialog), m_settings(settings),
      m_runner(new MeasurementRunner(link, clock, this)),
      m_csvFileName(QDir::homePath() + QLatin1String("/Measurements.csv")) {
    createControls();
    connect(cmdMeasure, &QPushButton::clicked, this, &MeasureTab::cmdMeasure_Click);
    connect(cmdIdentify, &QPushButton::clicked, this, &MeasureTab::cmdIdentify_Click);
    connect(cmdSaveCsv, &QPushButton::clicked, this, &MeasureTab::cmdSaveCsv_Click);
    connect(cmdClearMeasurements, &QPushButton::clicked, this,
            &MeasureTab::cmdClearMeasurements_Click);
    connect(m_runner, &MeasurementRunner::measurementEnded, this,
            &MeasureTab::Runner_MeasurementEnded);
    connect(m_runner, &MeasurementRunner::runningChanged, this, &MeasureTab::Runner_RunningChanged);
    connect(m_runner, &MeasurementRunner::report, this, &MeasureTab::showReport);
    connect(new IdentificationWatch(link, this), &IdentificationWatch::answered, this,
            [this](QChar, const QByteArray& answer) { Watch_Answered(answer); });
    connect(&m_table, &QAbstractItemModel::headerDataChanged, this, &MeasureTab::showValueTitles);
}

void MeasureTab::SetValueLabels(const ValueLabels* labels) {
    m_labels = labels;
    m_table.SetValueLabels(labels);
    showValueTitles();
}

void MeasureTab::showValueTitles() {
    picPlot->SetSeriesNames(m_plotSeries.names(m_labels));
}

void MeasureTab::createControls() {
    txtMeasureAddress = new QLineEdit(this);
    // Room for a few sensors: "0,3,5,7" and a margin.
    txtMeasureAddress->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("0,3,5,7MM")));
    txtMeasureAddress->setToolTip(
        tr("The sensor's address, or several separated by commas (0,3,5), measured in turn "
           "or, with C methods, together"));
    cboMethod = new QComboBox(this);
    const MeasureChoices lastChoices = MeasureChoices::Load(m_settings);
    cboMethod->addItems(MeasurementMethod::AllNames());
    cboMethod->setCurrentText(lastChoices.Method);
    cboMethod->setMaxVisibleItems(20);
    txtMeasureRepeat = new WholeNumberBox(this);
    txtMeasureRepeat->setRange(0, MeasureChoices::MaxRepeatSeconds);
    txtMeasureRepeat->setValue(lastChoices.RepeatSeconds);
    txtMeasureRepeat->setSuffix(tr(" s"));
    txtMeasureRepeat->setSpecialValueText(tr("once"));
    txtMeasureRepeat->setToolTip(tr("Seconds from the start of one measurement to the start of "
                                    "the next; 0 measures once"));
    cmdMeasure = new QPushButton(tr("Measure"), this);
    cmdIdentify = new QPushButton(tr("Identify"), this);

    auto* choices = new QHBoxLayout;
    const auto addLabelled = [this, choices](const QString& caption, QWidget* control) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(control);
        choices->addWidget(label);
        choices->addWidget(control);
    };
    addLabelled(tr("&Address"), txtMeasureAddress);
    addLabelled(tr("M&ethod"), cboMethod);
    addLabelled(tr("&Repeat every"), txtMeasureRepeat);
    choices->addWidget(cmdMeasure);
    choices->addStretch();
    choices->addWidget(cmdIdentify);

    QWidget* views = createViews();

    cmdSaveCsv = new QPushButton(tr("Save as CSV…"), this);
    cmdClearMeasurements = new QPushButton(tr("Clear"), this);
    auto* tableButtons = new QHBoxLayout;
    tableButtons->addWidget(createIdentificationFields(), 1);
    tableButtons->addWidget(cmdSaveCsv, 0, Qt::AlignBottom);
    tableButtons->addWidget(cmdClearMeasurements, 0, Qt::AlignBottom);

    lblMeasureReport = new QLabel(this);
    lblMeasureReport->setTextFormat(Qt::PlainText);
    lblMeasureReport->setWordWrap(true);

    // The tab's controls keep the room they need to read whole; in a window
    // too small for them they scroll.
    auto* scroller = new FocusScrollArea(this);
    scroller->setWidgetResizable(true);
    auto* content = new QWidget(scroller);
    auto* page = new QVBoxLayout(content);
    m_page = page;
    page->setContentsMargins(6, 6, 6, 6); // the page is framed by the tab control already
    page->addLayout(choices);
    page->addWidget(lblMeasureReport);
    page->addWidget(views, 1);
    page->addLayout(tableButtons);
    scroller->setWidget(content);
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->addWidget(scroller);
}

// The table and the plot side by side, the plot under its choice of axes.
QWidget* MeasureTab::createViews() {
    grdMeasurements = new QTableView(this);
    grdMeasurements->setModel(&m_table);
    grdMeasurements->setAccessibleName(tr("Measurements"));
    grdMeasurements->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Tab and Shift+Tab move on to the next control, not from cell to cell.
    grdMeasurements->setTabKeyNavigation(false);
    grdMeasurements->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);

    chkOneAxisPerValue = new QCheckBox(tr("One axis per value"), this);
    picPlot = new MeasurePlot(this);
    const bool oneAxisPerValue = PlotAxesChoice::LoadOneAxisPerValue(m_settings);
    chkOneAxisPerValue->setChecked(oneAxisPerValue);
    picPlot->SetOneAxisPerValue(oneAxisPerValue);
    connect(chkOneAxisPerValue, &QCheckBox::toggled, this, [this](bool checked) {
        picPlot->SetOneAxisPerValue(checked);
        const QString notSaved = PlotAxesChoice::SaveOneAxisPerValue(m_settings, checked);
        if (!notSaved.isEmpty())
            showReport(notSaved);
    });
    auto* plotSide = new QWidget(this);
    auto* plotColumn = new QVBoxLayout(plotSide);
    plotColumn->setContentsMargins(0, 0, 0, 0);
    plotColumn->addWidget(chkOneAxisPerValue);
    plotColumn->addWidget(picPlot, 1);

    auto* views = new QSplitter(Qt::Horizontal, this);
    views->addWidget(grdMeasurements);
    views->addWidget(plotSide);
    views->setChildrenCollapsible(false);
    views->setStretchFactor(0, 0); // a wider window widens the plot
    views->setStretchFactor(1, 1);
    // Columns fit their contents when they appear, not at every row: a day
    // of measurements every few seconds is tens of thousands of rows. The
    // table then takes the width its columns need, as far as the plot can
    // give it, so that every column reads without dragging the splitter;
    // the last column fills what is left.
    const auto fitColumns = [this, views, plotSide] {
        QHeaderView* titles = grdMeasurements->horizontalHeader();
        const int last = m_table.columnCount() - 1;
        for (int column = 0; column <= last; ++column)
            titles->setSectionResizeMode(column, column == last ? QHeaderView::Stretch
                                                                : QHeaderView::Interactive);
        grdMeasurements->resizeColumnsToContents();
        const QList<int> sizes = views->sizes();
        const int room = sizes.value(0) + sizes.value(1);
        if (room <= 0)
            return; // not laid out yet
        const int table =
            std::min(tableWidthForColumns(), room - plotSide->minimumSizeHint().width());
        views->setSizes({table, room - table});
    };
    connect(&m_table, &QAbstractItemModel::columnsInserted, grdMeasurements, fitColumns);
    // The newest row stays in sight as the table grows.
    connect(&m_table, &QAbstractItemModel::rowsInserted, grdMeasurements,
            [this, fitColumns](const QModelIndex&, int first) {
                if (first == 0)
                    fitColumns();
                grdMeasurements->scrollToBottom();
            });
    return views;
}

// The table's width with every column at the width of its contents and
// its title, room left for the vertical scroll bar that many rows bring.
int MeasureTab::tableWidthForColumns() const {
    int width = 2 * grdMeasurements->frameWidth() +
                grdMeasurements->verticalHeader()->sizeHint().width() +
                grdMeasurements->verticalScrollBar()->sizeHint().width();
    const QHeaderView* titles = grdMeasurements->horizontalHeader();
    const QAbstractItemView* view = grdMeasurements; // where the size hint is public
    for (int column = 0; column < m_table.columnCount(); ++column)
        width += std::max(view->sizeHintForColumn(column), titles->sectionSizeHint(column));
    return width;
}

QWidget* MeasureTab::createIdentificationFields() {
    auto* fields = new QWidget(this);
    auto* grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);
    const auto addField = [this, grid](const QString& caption, int row, int column,
                                       int fieldColumns = 1) {
        auto* field = new QLineEdit(this);
        field->setReadOnly(true);
        auto* label = new QLabel(caption, this);
        label->setBuddy(field);
        grid->addWidget(label, row, column * 2);
        grid->addWidget(field, row, column * 2 + 1, 1, fieldColumns);
        return field;
    };
    txtSdi12Version = addField(tr("SDI-12 version"), 0, 0);
    txtVendor = addField(tr("Vendor"), 0, 1);
    txtModel = addField(tr("Model"), 0, 2);
    txtSensorVersion = addField(tr("Sensor version"), 1, 0);
    txtIdentificationRest = addField(tr("Rest"), 1, 1, 3);
    lblIdentificationRemark = new QLabel(this);
    lblIdentificationRemark->setTextFormat(Qt::PlainText);
    lblIdentificationRemark->setWordWrap(true);
    grid->addWidget(lblIdentificationRemark, 2, 0, 1, 6);
    return fields;
}

std::optional<QChar> MeasureTab::address() {
    const std::optional<QList<QChar>> sensors = addresses();
    if (!sensors)
        return std::nullopt;
    if (sensors->size() == 1)
        return sensors->first();
    showReport(tr("Identify: give one sensor's address"));
    return std::nullopt;
}

std::optional<QList<QChar>> MeasureTab::ChosenSensors() {
    return addresses();
}

std::optional<MeasurementMethod> MeasureTab::ChosenMethod() const {
    return MeasurementMethod::FromName(cboMethod->currentText());
}

void MeasureTab::AddPanel(QWidget* panel) {
    m_page->insertWidget(m_page->indexOf(lblMeasureReport) + 1, panel);
}

std::optional<QList<QChar>> MeasureTab::addresses() {
    const AddressList::Reading reading = AddressList::Read(txtMeasureAddress->text());
    if (reading.IsSound())
        return reading.Addresses;
    showReport(tr("Measure: %1").arg(reading.Fault));
    return std::nullopt;
}

void MeasureTab::showReport(const QString& text) {
    lblMeasureReport->setText(text);
    lblMeasureReport->setToolTip(text);
}

void MeasureTab::cmdMeasure_Click() {
    if (m_runner->isRunning())
        m_runner->stop();
    else
        StartMeasuring();
}

void MeasureTab::StartMeasuring() {
    if (m_runner->isRunning())
        return;
    const std::optional<QList<QChar>> sensors = addresses();
    const std::optional<MeasurementMethod> method =
        MeasurementMethod::FromName(cboMethod->currentText());
    if (!sensors || !method)
        return;
    showReport(QString());
    const QString notSaved =
        MeasureChoices{method->Name(), txtMeasureRepeat->value()}.Save(m_settings);
    if (!notSaved.isEmpty())
        showReport(notSaved);
    m_runner->start(*sensors, *method, txtMeasureRepeat->value());
}

void MeasureTab::cmdIdentify_Click() {
    if (const std::optional<QChar> sensor = address()) {
        m_link.startRoundTrip();
        m_link.sendCommand(*sensor + QStringLiteral("I!"));
    }
}

void MeasureTab::cmdSaveCsv_Click() {
    FileDialogRequest request;
    request.Title = tr("Save the measurements as");
    request.InitialFileName = m_csvFileName;
    request.Filter = QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*");
    request.DefaultExtension = QStringLiteral("csv");
    request.ConfirmOverwrite = true;
    const std::optional<QString> fileName = m_dialog.ShowSave(request);
    if (!fileName || fileName->isEmpty())
        return;
    m_csvFileName = *fileName;
    QString reason;
    const QString shownName = QDir::toNativeSeparators(m_csvFileName);
    if (AtomicFile::Replace(m_csvFileName, MeasurementCsv::Format(m_table), &reason))
        showReport(tr("The measurements are saved in %1.").arg(shownName));
    else
        showReport(tr("The measurements cannot be saved to %1 (%2).").arg(shownName, reason));
}

void MeasureTab::cmdClearMeasurements_Click() {
    m_table.Clear();
    m_plotSeries.clear();
    picPlot->Clear();
}

void MeasureTab::Runner_MeasurementEnded(const MeasurementRecord& record) {
    m_table.Append(record);
    // Only a complete measurement is drawn: a part of one would read as a
    // reading. A failed one breaks its sensor's lines, so that the points on
    // either side of it are not joined as if nothing had happened between.
    if (!record.Outcome.IsComplete()) {
        picPlot->BreakLines(m_plotSeries.seriesOfSensor(record.Address));
        return;
    }
    const QList<MeasuredValue>& values = record.Outcome.Values;
    QList<int> series;
    for (int number = 1; number <= values.size(); ++number)
        series.append(m_plotSeries.seriesOf(record.Address, record.Method, number));
    // Other sensors' lines get no point from this measurement.
    QList<double> numbers(m_plotSeries.count(), qQNaN());
    for (int value = 0; value < values.size(); ++value)
        numbers[series.at(value)] = values.at(value).Number;
    showValueTitles();
    picPlot->AddMeasurement(record.Time, numbers);
}

void MeasureTab::Runner_RunningChanged(bool running) {
    cmdMeasure->setText(running ? tr("Stop") : tr("Measure"));
    txtMeasureAddress->setEnabled(!running);
    cboMethod->setEnabled(!running);
    txtMeasureRepeat->setEnabled(!running);
}

void MeasureTab::Watch_Answered(const QByteArray& answer) {
    const std::optional<Identification> identification = Identification::Decode(answer);
    if (identification)
        showIdentification(*identification);
    lblIdentificationRemark->setText(identification
                                         ? QString()
                                         : tr("The answer to the identification is not of the form "
                                              "allccccccccmmmmmmvvv…"));
}

void MeasureTab::showIdentification(const Identification& identification) {
    txtSdi12Version->setText(identification.Sdi12Version);
    txtVendor->setText(identification.Vendor);
    txtModel->setText(identification.Model);
    txtSensorVersion->setText(identification.SensorVersion);
    txtIdentificationRest->setText(identification.Rest);
    for (QLineEdit* field :
         {txtSdi12Version, txtVendor, txtModel, txtSensorVersion, txtIdentificationRest})
        field->setCursorPosition(0);
}
