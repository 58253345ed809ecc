#include "app/frmSDI12.h"

#include "app/AboutTab.h"
#include "app/TwoPanelStatusBar.h"
#include "commands/CommandRepeat.h"
#include "commands/OperatorCommands.h"
#include "commands/ui/CommandLine.h"
#include "commands/ui/RepeatFacility.h"
#include "link/LinkEngine.h"
#include "link/LogFile.h"
#include "link/TrafficLog.h"
#include "link/TranscriptModel.h"
#include "link/ui/PortSelection.h"
#include "link/ui/TranscriptExport.h"
#include "measure/AddressList.h"
#include "measure/MeasurementRunner.h"
#include "measure/ui/MeasureTab.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "platform/SerialPort.h"
#include "platform/serial/SerialTerminalView.h"
#include "platform/ui/DropDownComboBox.h"
#include "recording/ui/RecordingPanel.h"
#include "sensors/ui/SensorsTab.h"
#include "sheet/ui/Sheet.h"
#include "timer/CTimer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace {

const char* const LineSettingsChoices[] = {"1200,E,7,1", "1200,E,7,2",  "1200,N,8,1",
                                           "2400,N,8,1", "4800,N,8,1",  "9600,N,8,1",
                                           "9600,E,7,1", "19200,N,8,1", "38400,N,8,1"};

} // namespace

frmSDI12::frmSDI12(const Platform& platform, const StartupChoices& choices, QWidget* parent)
    : QWidget(parent), m_platform(platform), m_transcript(std::make_unique<TranscriptModel>()),
      m_logFile(std::make_unique<LogFile>()),
      m_trafficLog(std::make_unique<TrafficLog>(*m_transcript, *m_logFile, *platform.Clock)) {
    createControls();
    createHandlers();
    Form_Load(choices);
    placeOnScreen();
    qApp->installEventFilter(this);
}

frmSDI12::~frmSDI12() {
    qApp->removeEventFilter(this);
    Form_QueryUnload();
}

namespace {
// Status panel 2 keeps this many of the latest received characters.
constexpr int ReceivedTextLimit = 1000;
} // namespace

void frmSDI12::createHandlers() {
    ISerialPort& Sax = *m_platform.Sax;
    m_link = new LinkEngine(Sax, *m_platform.Clock, *m_trafficLog, this);
    tmrRcv = &m_link->receiveTimer();
    m_link->setPortName(cboLines->currentText());
    connect(cboLines, &QComboBox::editTextChanged, m_link, &LinkEngine::setPortName);
    connect(SaxView, &SerialTerminalView::KeyTyped, m_link, &LinkEngine::Sax_KeyTyped);
    connect(m_link, &LinkEngine::reported, this, &frmSDI12::showLinkReport);
    connect(m_link, &LinkEngine::linkStateChanged, this, &frmSDI12::showLinkState);
    connect(m_link, &LinkEngine::commandTransmitted, this, [this] {
        m_linkReports.commandTransmitted();
        StatusBar->SetPanelText(1, m_linkReports.text());
        m_receivedText.clear();
        StatusBar->SetPanelText(2, QString());
    });
    connect(m_link, &LinkEngine::answerCompleted, this,
            [this](ExchangeId, const QByteArray& answer) {
                m_receivedText =
                    (m_receivedText + QString::fromLatin1(answer)).right(ReceivedTextLimit);
                StatusBar->SetPanelText(2, m_receivedText);
            });
    connect(m_link, &LinkEngine::roundTripStarted, lblRoundTrip, &QLabel::clear);
    connect(m_link, &LinkEngine::roundTripMeasured, lblRoundTrip, [this](qint64 milliseconds) {
        lblRoundTrip->setText(QStringLiteral("Roundtrip delay = %1 mS").arg(milliseconds));
    });

    m_ports = new PortSelection(*m_link, Sax, *cboLines, *cboBaud, this);
    connect(cboLines, &DropDownComboBox::DropDown, m_ports, &PortSelection::cboLines_DropDown);
    connect(cboLines, &DropDownComboBox::Click, m_ports, &PortSelection::cboLines_Click);
    connect(cboLines, &DropDownComboBox::Committed, m_ports, &PortSelection::cboLines_Click);
    connect(cboBaud, &DropDownComboBox::Click, m_ports, &PortSelection::cboBaud_Click);
    connect(cboBaud, &DropDownComboBox::Committed, m_ports, &PortSelection::cboBaud_Click);
    connect(About, &AboutTab::Report, StatusBar, &TwoPanelStatusBar::SetNotice);

    m_commandRepeat = new CommandRepeat(*m_link, *tmrRepeatCmd, this);
    RepeatControls repeatControls;
    repeatControls.txtRepeatCmd = txtRepeatCmd;
    repeatControls.txtRepeatDelay = txtRepeatDelay;
    repeatControls.txtWakeUp = txtWakeUp;
    repeatControls.cmdQuery = cmdQuery;
    repeatControls.cmdSend = cmdSend;
    repeatControls.cmdID = cmdID;
    m_repeat = new RepeatFacility(*m_commandRepeat, *m_link, repeatControls, this);

    m_operatorCommands = new OperatorCommands(*m_link, *m_commandRepeat, *m_platform.Settings,
                                              *m_platform.Clock, this);
    connect(m_operatorCommands, &OperatorCommands::Report, StatusBar,
            &TwoPanelStatusBar::SetNotice);
    CommandControls commandControls;
    commandControls.txtNode = txtNode;
    commandControls.cboCmd = cboCmd;
    commandControls.lblCmd = lblCmd;
    commandControls.cmdSend = cmdSend;
    commandControls.cmdID = cmdID;
    commandControls.cmdQuery = cmdQuery;
    commandControls.cmdXQuery = cmdXQuery;
    m_commands = new CommandLine(*m_operatorCommands, *m_repeat, commandControls, this);

    SheetControls sheetControls;
    sheetControls.fg = fg;
    sheetControls.cmdLoad = cmdLoad;
    sheetControls.cmdSave = cmdSave;
    sheetControls.cmdWrite = cmdWrite;
    sheetControls.tmrBatch = tmrBatch;
    // A sheet row goes out exactly as if the operator had typed it.
    const auto sendThroughCommandLine = [this](const QString& rowCommand, TurnId turn) {
        cboCmd->setEditText(rowCommand);
        return m_commands->SendInTurn(turn);
    };
    m_sheet = new Sheet(sheetControls, *m_platform.FileDialog, *m_platform.MessageBox,
                        *m_platform.Folders, QLatin1String(ApplicationTitle), *m_link,
                        sendThroughCommandLine, this);

    TranscriptControls transcriptControls;
    transcriptControls.lstHex = lstHex;
    transcriptControls.cmdCopyAll = cmdCopyAll;
    transcriptControls.cmdSaveAs = cmdSaveAs;
    auto* transcriptExport =
        new TranscriptExport(*m_transcript, transcriptControls, *m_platform.FileDialog, this);
    connect(transcriptExport, &TranscriptExport::Report, StatusBar, &TwoPanelStatusBar::SetNotice);
    createMeasureTab();
    createSensorsTab();
}

void frmSDI12::showLinkReport(const LinkReport& report) {
    m_linkReports.add(report);
    StatusBar->SetPanelText(1, m_linkReports.text());
}

// The fifth tab, after the four the operator knows in their places. It
// drives the link, so it comes once the link exists. Its address is the
// address box's: a change in either shows in the other, but for a list of
// several sensors, which stays on the Measure tab.
void frmSDI12::createMeasureTab() {
    Measure =
        new MeasureTab(*m_link, *m_platform.Clock, *m_platform.FileDialog, *m_platform.Settings);
    SSTab->addTab(Measure, tr("Measure"));
    Recording = new RecordingPanel(*Measure, *m_platform.FileDialog, *m_platform.Settings,
                                   *m_platform.Clock);
    Measure->AddPanel(Recording);
    connect(Recording, &RecordingPanel::Report, StatusBar, &TwoPanelStatusBar::SetNotice);
    QLineEdit* measureAddress = Measure->txtMeasureAddress;
    measureAddress->setText(txtNode->text());
    connect(txtNode, &QLineEdit::textChanged, measureAddress,
            [measureAddress](const QString& text) {
                if (measureAddress->text() != text)
                    measureAddress->setText(text);
            });
    // A list of sensors ("0,3,5") is the Measure tab's own.
    connect(measureAddress, &QLineEdit::textEdited, txtNode, [this](const QString& text) {
        if (AddressList::Read(text).Addresses.size() <= 1)
            txtNode->setText(text);
    });
}

// The sixth tab. Its address choice is the address box's; its retry rule
// and the names and units it reads serve the Measure tab's measurements.
void frmSDI12::createSensorsTab() {
    Sensors = new SensorsTab(*m_link, *m_platform.Settings);
    SSTab->addTab(Sensors, tr("Sensors"));
    connect(Sensors, &SensorsTab::addressChosen, txtNode,
            [this](QChar address) { txtNode->setText(address); });
    connect(Sensors, &SensorsTab::sensorsChosen, Measure, [this](const QList<QChar>& sensors) {
        Measure->txtMeasureAddress->setText(AddressList::Text(sensors));
        SSTab->setCurrentWidget(Measure);
    });
    Measure->SetValueLabels(&Sensors->Labels());
    Recording->SetValueLabels(&Sensors->Labels());
    Measure->Runner().setRetries(Sensors->Retries());
    connect(Sensors, &SensorsTab::retriesChanged, Measure,
            [this](const RetrySettings& retries) { Measure->Runner().setRetries(retries); });
}

void frmSDI12::Form_Load(const StartupChoices& choices) {
    setWindowTitle(QLatin1String(ApplicationTitle));
    About->FillLabels();
    m_ports->cboLines_DropDown();
    if (!choices.PortName.isEmpty())
        cboLines->setEditText(choices.PortName);
    for (const char* settings : LineSettingsChoices)
        cboBaud->addItem(QLatin1String(settings));
    cboBaud->setCurrentIndex(0);
    if (!choices.LineSettings.isEmpty())
        cboBaud->setEditText(choices.LineSettings);

    const QString logFailure = openLogFile();
    if (!logFailure.isEmpty())
        showLinkReport({LinkReport::Kind::LogFailure, logFailure, true});

    ISerialPort& Sax = *m_platform.Sax;
    Sax.setLineSettings(cboBaud->currentText());
    const SerialStartupOptions startupOptions;
    Sax.setStartupOptions(startupOptions);
    SaxView->setStartupOptions(startupOptions);
    m_link->choosePort(cboLines->currentText());
    showLinkState();

    Timer1 = new CTimer(this);
    Timer1->setEnabled(false);
    Timer1->setInterval(300);
    connect(Timer1, &CTimer::Timer, m_link, [this] { m_link->Timer1_Timer(*Timer1); });

    m_sheet->SetupGrid();
}

void frmSDI12::showLinkState() {
    StatusBar->SetLinkState(m_link->linkState(), m_link->linkStateText());
}

// Creates the per-user folders as needed and opens the log for appending.
// Returns a sentence for the status bar when the log cannot be opened.
QString frmSDI12::openLogFile() {
    const QString dataFolder = m_platform.Folders->UserDataFolder();
    const QString makerFolder = dataFolder + QLatin1String("/Quenvarel");
    const QString programFolder = makerFolder + QLatin1String("/ProbeTerm");
    for (const QString& folder : {makerFolder, programFolder}) {
        if (!QDir(folder).exists())
            QDir().mkdir(folder);
    }
    m_logFilePath = programFolder + QLatin1String("/ProbeTerm.log");
    QString error;
    if (m_logFile->Open(m_logFilePath, &error))
        return QString();
    return tr("The log file %1 cannot be opened (%2); responses are not logged.")
        .arg(QDir::toNativeSeparators(m_logFilePath), error);
}

void frmSDI12::Form_QueryUnload() {
    if (m_closed)
        return;
    m_closed = true;
    m_platform.Sax->setIsOpen(false);
    m_logFile->Close();
}

void frmSDI12::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    event->accept();
}

// Key preview: the window sees every key before the focused control. Enter
// writes CR LF to the port and still reaches the control. The terminal view
// answers its own keys.
bool frmSDI12::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == QApplication::focusWidget()) {
        auto* focused = static_cast<QWidget*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && focused->window() == this && !SaxView->isAncestorOf(focused) &&
            focused != SaxView)
            m_commands->Form_KeyPress(13);
    }
    return QWidget::eventFilter(watched, event);
}
