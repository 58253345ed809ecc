#pragma once

#include "app/Platform.h"
#include "link/StatusReports.h"

#include <QString>
#include <QWidget>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTabWidget;
class AboutTab;
class ClickableLabel;
class CommandLine;
class CommandRepeat;
class CTimer;
class DropDownComboBox;
class Grid;
class LinkEngine;
class LogFile;
class MeasureTab;
class OperatorCommands;
class PortSelection;
class RecordingPanel;
class RepeatFacility;
class SensorsTab;
class SerialTerminalView;
class Sheet;
class TrafficLog;
class TranscriptModel;
class TranscriptView;
class TwoPanelStatusBar;

// What the command line may choose for start-up instead of the first listed
// port and the first line settings.
struct StartupChoices {
    QString PortName;     // empty: the first listed port
    QString LineSettings; // empty: "1200,E,7,1"
};

// The operator's window: the port area, the command area, the tab control
// with the terminal, the transcript, the configuration sheet, the About tab,
// the Measure tab and the Sensors tab, and the status bar. It owns the
// controls, the timers and the subsystems' handlers, and closes the circle
// between them: a sheet row goes out through the command line, and the link
// engine's reports, round trips and answers show in the status bar and under
// the buttons.
class frmSDI12 : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* ApplicationTitle = "Quenvarel Tidewright";

    explicit frmSDI12(const Platform& platform, const StartupChoices& choices = {},
                      QWidget* parent = nullptr);
    ~frmSDI12() override;

    // The port and command areas, which scroll on a screen too small for them.
    QScrollArea* scrControls = nullptr;
    // Port area.
    QGroupBox* fraPort = nullptr;
    DropDownComboBox* cboLines = nullptr;
    DropDownComboBox* cboBaud = nullptr;
    QLabel* lblNote = nullptr;
    QLabel* lblWake = nullptr;
    QLineEdit* txtWakeUp = nullptr;
    // Command area.
    QGroupBox* fraSDI12 = nullptr;
    QPushButton* cmdQuery = nullptr;
    QPushButton* cmdXQuery = nullptr;
    QLabel* lblNode = nullptr;
    ClickableLabel* lblCmd = nullptr;
    QLabel* lblT = nullptr;
    QLineEdit* txtNode = nullptr;
    DropDownComboBox* cboCmd = nullptr;
    QLabel* lblTerm = nullptr;
    QPushButton* cmdSend = nullptr;
    QPushButton* cmdID = nullptr;
    QLabel* lblRepeatCmd = nullptr;
    QLineEdit* txtRepeatCmd = nullptr;
    QLabel* lblRoundTrip = nullptr;
    QLabel* lblRepeatDelay = nullptr;
    QLineEdit* txtRepeatDelay = nullptr;
    // Tabs.
    QTabWidget* SSTab = nullptr;
    SerialTerminalView* SaxView = nullptr;
    TranscriptView* lstHex = nullptr;
    QPushButton* cmdCopyAll = nullptr;
    QPushButton* cmdSaveAs = nullptr;
    QPushButton* cmdLoad = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdWrite = nullptr;
    Grid* fg = nullptr;
    AboutTab* About = nullptr;
    MeasureTab* Measure = nullptr;
    RecordingPanel* Recording = nullptr; // on the Measure tab
    SensorsTab* Sensors = nullptr;
    TwoPanelStatusBar* StatusBar = nullptr;
    // Timers. The reception tick is the link engine's.
    CTimer* tmrRcv = nullptr;
    CTimer* tmrRepeatCmd = nullptr;
    CTimer* tmrBatch = nullptr;
    CTimer* Timer1 = nullptr;

    LinkEngine& Link() { return *m_link; }
    CommandLine& Commands() { return *m_commands; }
    RepeatFacility& Repeat() { return *m_repeat; }
    PortSelection& Ports() { return *m_ports; }
    Sheet& ConfigurationSheet() { return *m_sheet; }
    TranscriptModel& Transcript() { return *m_transcript; }
    // The log file's path, as start-up made it.
    QString LogFilePath() const { return m_logFilePath; }

    void Form_Resize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createPortArea(QWidget* column);
    void createCommandArea(QWidget* column);
    void createTabs();
    void createHandlers();
    void createMeasureTab();
    void createSensorsTab();
    void placeOnScreen();
    void Form_Load(const StartupChoices& choices);
    void Form_QueryUnload();
    QString openLogFile();
    void showLinkState();
    void showLinkReport(const LinkReport& report);

    Platform m_platform;
    std::unique_ptr<TranscriptModel> m_transcript;
    std::unique_ptr<LogFile> m_logFile;
    std::unique_ptr<TrafficLog> m_trafficLog;
    PortSelection* m_ports = nullptr;
    LinkEngine* m_link = nullptr;
    StatusReports m_linkReports;
    QString m_receivedText; // status panel 2: the tail of the answers since the last send
    CommandRepeat* m_commandRepeat = nullptr;
    OperatorCommands* m_operatorCommands = nullptr;
    RepeatFacility* m_repeat = nullptr;
    CommandLine* m_commands = nullptr;
    Sheet* m_sheet = nullptr;
    QString m_logFilePath;
    bool m_closed = false;
};
