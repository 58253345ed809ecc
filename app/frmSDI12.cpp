#include "app/frmSDI12.h"

#include "app/AboutTab.h"
#include "app/TwoPanelStatusBar.h"
#include "commands/ui/CommandLine.h"
#include "commands/ui/RepeatFacility.h"
#include "link/LogFile.h"
#include "link/TrafficLog.h"
#include "link/TranscriptModel.h"
#include "link/ui/PortSelection.h"
#include "link/ui/SensorLink.h"
#include "link/ui/TranscriptExport.h"
#include "measure/ui/MeasureTab.h"
#include "platform/Clock.h"
#include "platform/Folders.h"
#include "platform/SerialPort.h"
#include "platform/serial/SerialTerminalView.h"
#include "platform/ui/DropDownComboBox.h"
#include "sheet/ui/Sheet.h"
#include "timer/CTimer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
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

void frmSDI12::createHandlers() {
    m_ports = new PortSelection(*m_platform.Sax, *cboLines, *cboBaud, *StatusBar, this);
    connect(cboLines, &DropDownComboBox::DropDown, m_ports, &PortSelection::cboLines_DropDown);
    connect(cboLines, &DropDownComboBox::Click, m_ports, &PortSelection::cboLines_Click);
    connect(cboLines, &DropDownComboBox::Committed, m_ports, &PortSelection::cboLines_Click);
    connect(cboBaud, &DropDownComboBox::Click, m_ports, &PortSelection::cboBaud_Click);
    connect(cboBaud, &DropDownComboBox::Committed, m_ports, &PortSelection::cboBaud_Click);

    LinkControls linkControls;
    linkControls.cboLines = cboLines;
    linkControls.txtWakeUp = txtWakeUp;
    linkControls.lblRoundTrip = lblRoundTrip;
    linkControls.tmrRcv = tmrRcv;
    m_link = new SensorLink(*m_platform.Sax, *m_platform.Clock, *StatusBar, *m_trafficLog,
                            linkControls, this);
    connect(tmrRcv, &CTimer::Timer, m_link, &SensorLink::tmrRcv_Timer);
    connect(m_platform.Sax, &ISerialPort::BytesReceived, m_link, &SensorLink::Sax_BytesReceived);
    connect(m_platform.Sax, &ISerialPort::LineEvent, m_link, &SensorLink::Sax_LineEvent);
    connect(SaxView, &SerialTerminalView::KeyTyped, m_link, &SensorLink::Sax_KeyTyped);
    connect(About, &AboutTab::Report, this,
            [this](const QString& text) { StatusBar->SetPanelText(1, text); });
    connect(m_platform.Sax, &ISerialPort::StatusChanged, this, [this] {
        StatusBar->SetPanelText(1, m_platform.Sax->StatusText());
        showLinkState();
    });

    RepeatControls repeatControls;
    repeatControls.txtRepeatCmd = txtRepeatCmd;
    repeatControls.txtRepeatDelay = txtRepeatDelay;
    repeatControls.txtWakeUp = txtWakeUp;
    repeatControls.cmdQuery = cmdQuery;
    repeatControls.cmdSend = cmdSend;
    repeatControls.cmdID = cmdID;
    repeatControls.tmrRepeatCmd = tmrRepeatCmd;
    m_repeat = new RepeatFacility(*m_link, repeatControls, this);

    CommandControls commandControls;
    commandControls.txtNode = txtNode;
    commandControls.cboCmd = cboCmd;
    commandControls.lblCmd = lblCmd;
    commandControls.cmdSend = cmdSend;
    commandControls.cmdID = cmdID;
    commandControls.cmdQuery = cmdQuery;
    commandControls.cmdXQuery = cmdXQuery;
    m_commands = new CommandLine(*m_link, *m_repeat, *m_platform.Settings, *m_platform.Clock,
                                 *StatusBar, commandControls, this);

    SheetControls sheetControls;
    sheetControls.fg = fg;
    sheetControls.cmdLoad = cmdLoad;
    sheetControls.cmdSave = cmdSave;
    sheetControls.cmdWrite = cmdWrite;
    sheetControls.tmrBatch = tmrBatch;
    // A sheet row goes out exactly as if the operator had typed it.
    const auto sendThroughCommandLine = [this](const QString& rowCommand) {
        cboCmd->setEditText(rowCommand);
        return m_commands->cmdSend_Click();
    };
    m_sheet = new Sheet(sheetControls, *m_platform.FileDialog, *m_platform.MessageBox,
                        *m_platform.Folders, QLatin1String(ApplicationTitle),
                        sendThroughCommandLine, this);
    connect(m_link, &SensorLink::ExchangeEnded, m_sheet, &Sheet::ExchangeEnded);

    TranscriptControls transcriptControls;
    transcriptControls.lstHex = lstHex;
    transcriptControls.cmdCopyAll = cmdCopyAll;
    transcriptControls.cmdSaveAs = cmdSaveAs;
    new TranscriptExport(*m_transcript, transcriptControls, *m_platform.FileDialog, *StatusBar,
                         this);
    createMeasureTab();
}

// The fifth tab, after the four the operator knows in their places. It
// drives the link, so it comes once the link exists. Its address is the
// address box's: a change in either shows in the other.
void frmSDI12::createMeasureTab() {
    Measure = new MeasureTab(*m_link, *m_platform.Clock, *StatusBar, *m_platform.FileDialog,
                             *m_platform.Settings);
    SSTab->addTab(Measure, tr("Measure"));
    QLineEdit* measureAddress = Measure->txtMeasureAddress;
    measureAddress->setText(txtNode->text());
    connect(txtNode, &QLineEdit::textChanged, measureAddress,
            [measureAddress](const QString& text) {
                if (measureAddress->text() != text)
                    measureAddress->setText(text);
            });
    connect(measureAddress, &QLineEdit::textEdited, txtNode, &QLineEdit::setText);
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

    ISerialPort& Sax = *m_platform.Sax;
    Sax.setLineSettings(cboBaud->currentText());
    const SerialStartupOptions startupOptions;
    Sax.setStartupOptions(startupOptions);
    SaxView->setStartupOptions(startupOptions);
    Sax.setPortName(cboLines->currentText());
    Sax.setIsOpen(true);
    QString status = Sax.StatusText();
    if (!logFailure.isEmpty())
        status += QStringLiteral("  |  ") + logFailure;
    StatusBar->SetPanelText(1, status);
    showLinkState();

    Timer1 = new CTimer(this);
    Timer1->setEnabled(false);
    Timer1->setInterval(300);
    connect(Timer1, &CTimer::Timer, m_link, [this] { m_link->Timer1_Timer(*Timer1); });

    m_sheet->SetupGrid();
}

void frmSDI12::showLinkState() {
    const ISerialPort& Sax = *m_platform.Sax;
    const LinkState::Kind kind = LinkState::KindOf(Sax.IsOpen(), Sax.Lost());
    StatusBar->SetLinkState(kind, LinkState::Text(kind, Sax.PortName(), Sax.LineSettings()));
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
