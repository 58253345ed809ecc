// The window's controls at their design places, and how the large views
// follow the window's size.
#include "app/AboutTab.h"
#include "app/ResizeRules.h"
#include "app/TabPage.h"
#include "app/TwoPanelStatusBar.h"
#include "app/frmSDI12.h"
#include "link/TranscriptModel.h"
#include "link/ui/TranscriptView.h"
#include "platform/serial/SerialTerminalView.h"
#include "platform/ui/ClickableLabel.h"
#include "platform/ui/DropDownComboBox.h"
#include "platform/ui/ElidedLabel.h"
#include "platform/ui/FocusScrollArea.h"
#include "platform/ui/Grid.h"
#include "platform/ui/TabCornerButtons.h"
#include "platform/ui/Twips.h"
#include "timer/CTimer.h"

#include <QFont>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <algorithm>

namespace {

// Design size of the client area, in twips.
constexpr double DesignClientWidth = 10890;
constexpr double DesignClientHeight = 7530;

void place(QWidget* widget, double left, double top, double width, double height) {
    widget->setGeometry(Twips::ToPixels(left, top, width, height));
}

void placeOnTab(QWidget* widget, double left, double top, double width, double height) {
    widget->setGeometry(TabPage::ToPixels(left, top, width, height));
}

void resizeTwips(QWidget* widget, double width, double height) {
    widget->resize(Twips::ToPixels(width), Twips::ToPixels(height));
}

// A label keeps its design place and grows to its text where the font
// needs more room than the design gave: a one-line label widens, and the
// box beside it gives up width on its left, keeping its right edge in line
// with the column; a wrapped label grows downwards.
void makeRoomForText(QLabel* label, QWidget* boxBeside = nullptr) {
    if (label->wordWrap()) {
        label->resize(label->width(),
                      std::max(label->height(), label->heightForWidth(label->width())));
        return;
    }
    const int needed = label->sizeHint().width();
    if (label->width() >= needed)
        return;
    label->resize(needed, label->height());
    if (boxBeside && boxBeside->x() <= label->geometry().right()) {
        const QRect box = boxBeside->geometry();
        boxBeside->setGeometry(box.adjusted(label->geometry().right() + 1 - box.left(), 0, 0, 0));
    }
}

// The rest of the frame's width, from the widget's left edge.
void widenToFrameEdge(QWidget* widget, const QGroupBox* frame) {
    const int edge = frame->contentsRect().right() + 1;
    widget->resize(std::max(widget->width(), edge - widget->x()), widget->height());
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/probeterm-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

void frmSDI12::createControls() {
    setWindowIcon(programIcon());
    // The controls are laid out in twips for a small dialog font.
    QFont dialogFont = font();
    dialogFont.setPointSizeF(7.5);
    setFont(dialogFont);
    // The port and command areas keep their places and sizes; on a screen
    // too small for them they scroll.
    scrControls = new FocusScrollArea(this);
    scrControls->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* column = new QWidget(scrControls); // takes the window's font at once
    createPortArea(column);
    createCommandArea(column);
    const QRect used = column->childrenRect();
    column->resize(used.right() + 1, used.bottom() + 1);
    scrControls->setWidget(column);
    createTabs();
    StatusBar = new TwoPanelStatusBar(this);

    tmrRepeatCmd = new CTimer(this);
    tmrRepeatCmd->setInterval(50);
    tmrBatch = new CTimer(this);
    tmrBatch->setInterval(3000);
}

void frmSDI12::createPortArea(QWidget* column) {
    fraPort = new QGroupBox(tr("COM port"), column);
    place(fraPort, 120, 120, 2292, 2415);
    cboLines = new DropDownComboBox(fraPort);
    cboLines->setEnterCommits(true);
    place(cboLines, 120, 360, 1932, 315);
    cboLines->setAccessibleName(tr("COM port"));
    cboBaud = new DropDownComboBox(fraPort);
    cboBaud->setEnterCommits(true);
    place(cboBaud, 120, 840, 1932, 315);
    cboBaud->setAccessibleName(tr("Line settings"));
    lblNote = new QLabel(
        tr("NOTE: An SDI-12 adaptor is required to communicate between the sensor and PC."),
        fraPort);
    lblNote->setWordWrap(true);
    lblNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(lblNote, 120, 1200, 1932, 700);
    makeRoomForText(lblNote);
    lblWake = new QLabel(tr("WakeUp Characters (Only for Korvalink)"), fraPort);
    lblWake->setWordWrap(true);
    lblWake->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(lblWake, 120, 1920, 1500, 480);
    txtWakeUp = new QLineEdit(QStringLiteral("0"), fraPort);
    place(txtWakeUp, 1680, 2040, 372, 288);
    txtWakeUp->setAccessibleName(tr("WakeUp Characters"));
    makeRoomForText(lblWake);
}

void frmSDI12::createCommandArea(QWidget* column) {
    fraSDI12 = new QGroupBox(tr("Commands to Sensor"), column);
    place(fraSDI12, 120, 2640, 2292, 4575);
    const auto button = [this](const QString& caption, const QColor& colour) {
        auto* pushButton = new QPushButton(caption, fraSDI12);
        if (colour.isValid()) {
            pushButton->setStyleSheet(
                QStringLiteral("QPushButton { background-color: %1; color: black; }"
                               "QPushButton:disabled { color: gray; }")
                    .arg(colour.name()));
        }
        return pushButton;
    };
    cmdQuery = button(tr("Sensor Address Query"), QColor(255, 255, 192));
    place(cmdQuery, 120, 360, 2052, 372);
    cmdXQuery = button(tr("X Address Query"), QColor(255, 224, 192));
    place(cmdXQuery, 120, 960, 2055, 375);

    lblNode = new QLabel(tr("Addr"), fraSDI12);
    place(lblNode, 120, 1560, 560, 195);
    lblCmd = new ClickableLabel(tr("Command"), fraSDI12);
    lblCmd->setToolTip(tr("Click to erase the whole command history"));
    place(lblCmd, 720, 1560, 1000, 195);
    lblT = new QLabel(tr("Term"), fraSDI12);
    lblT->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    place(lblT, 1800, 1560, 375, 195);

    txtNode = new QLineEdit(QStringLiteral("0"), fraSDI12);
    place(txtNode, 120, 1800, 372, 345);
    txtNode->setAccessibleName(tr("Addr"));
    cboCmd = new DropDownComboBox(fraSDI12);
    cboCmd->setEditText(QStringLiteral("R0"));
    place(cboCmd, 480, 1800, 1695, 360);
    cboCmd->setAccessibleName(tr("Command"));
    // Enter in the box writes CR LF to the line; a newcomer expects it to
    // send the command, so the box says which does what.
    const QString enterHint = tr("Enter sends CR LF; Send Command (Alt+S) sends the command");
    cboCmd->setToolTip(enterHint);
    cboCmd->lineEdit()->setPlaceholderText(enterHint);
    // The "!" has all the room between the command box and the frame's edge.
    lblTerm = new QLabel(QStringLiteral("!"), fraSDI12);
    place(lblTerm, 2160, 1800, 60, 285);
    lblTerm->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    lblTerm->move(std::max(lblTerm->x(), cboCmd->geometry().right() + 1), lblTerm->y());
    widenToFrameEdge(lblTerm, fraSDI12);
    makeRoomForText(lblNode, txtNode);
    makeRoomForText(lblCmd);
    makeRoomForText(lblT);

    cmdSend = button(tr("&Send Command"), QColor());
    place(cmdSend, 120, 2400, 2052, 372);
    cmdID = button(tr("Sensor Identification"), QColor(192, 192, 255));
    place(cmdID, 120, 3000, 2052, 372);

    lblRepeatCmd = new QLabel(tr("Repeat command Nr."), fraSDI12);
    place(lblRepeatCmd, 120, 3600, 1560, 195);
    txtRepeatCmd = new QLineEdit(QStringLiteral("0"), fraSDI12);
    place(txtRepeatCmd, 1680, 3600, 495, 288);
    txtRepeatCmd->setAccessibleName(tr("Repeat command Nr."));
    makeRoomForText(lblRepeatCmd, txtRepeatCmd);
    // The delay is at its end: a text wider than the frame keeps it.
    lblRoundTrip = new ElidedLabel(Qt::ElideLeft, fraSDI12);
    place(lblRoundTrip, 120, 3900, 2052, 195);
    widenToFrameEdge(lblRoundTrip, fraSDI12);
    lblRepeatDelay = new QLabel(tr("Repeat delay (mS)"), fraSDI12);
    place(lblRepeatDelay, 120, 4200, 1420, 195);
    txtRepeatDelay = new QLineEdit(QStringLiteral("50"), fraSDI12);
    place(txtRepeatDelay, 1560, 4200, 615, 288);
    txtRepeatDelay->setAccessibleName(tr("Repeat delay (mS)"));
    makeRoomForText(lblRepeatDelay, txtRepeatDelay);
}

void frmSDI12::createTabs() {
    SSTab = new QTabWidget(this);
    place(SSTab, 2520, 120, 8295, 4935);

    auto* asciiPage = new QWidget;
    SaxView = new SerialTerminalView(*m_platform.Sax, asciiPage);
    placeOnTab(SaxView, 120, 360, 6372, 4452);
    SSTab->addTab(asciiPage, tr("ASCII"));

    auto* hexPage = new QWidget;
    lstHex = new TranscriptView(hexPage);
    lstHex->setModel(m_transcript.get());
    lstHex->setAccessibleName(tr("Transcript"));
    lstHex->setTabKeyNavigation(false); // Tab moves on to the next control
    placeOnTab(lstHex, 120, 360, 6372, 4380);
    SSTab->addTab(hexPage, tr("HEX"));
    // Beside the tab strip: on the page they would cover part of the list.
    auto* hexButtons = new TabCornerButtons(*SSTab, *hexPage);
    cmdCopyAll = hexButtons->AddButton(tr("Copy all"));
    cmdSaveAs = hexButtons->AddButton(tr("Save as…"));

    auto* sheetPage = new QWidget;
    cmdLoad = new QPushButton(tr("Load"), sheetPage);
    placeOnTab(cmdLoad, 120, 360, 1215, 375);
    cmdSave = new QPushButton(tr("Save"), sheetPage);
    placeOnTab(cmdSave, 1560, 360, 1215, 375);
    cmdWrite = new QPushButton(tr("Write all"), sheetPage);
    placeOnTab(cmdWrite, 4200, 360, 1215, 375);
    fg = new Grid(sheetPage);
    placeOnTab(fg, 120, 840, 7695, 3975);
    fg->Table()->setAccessibleName(tr("Korvalink sheet"));
    SSTab->addTab(sheetPage, tr("Korvalink"));

    About = new AboutTab(*m_platform.Shell, *m_platform.Folders, programIcon(), nullptr);
    SSTab->addTab(About, tr("About"));
}

// The design size, centred on the screen; on a screen too small for it,
// as much as the screen has room for.
void frmSDI12::placeOnScreen() {
    const QSize client(Twips::ToPixels(DesignClientWidth), Twips::ToPixels(DesignClientHeight));
    const QRect room = screen()->availableGeometry();
    const QSize frameExtra = frameGeometry().size() - size();
    resize(client.boundedTo(room.size() - frameExtra));
    move(room.center() - rect().center());
}

void frmSDI12::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmSDI12::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void frmSDI12::Form_Resize() {
    if (isMinimized() || !SSTab)
        return;
    // The frame's thickness turns the outer minimum into a client minimum;
    // Qt then keeps the window from being dragged smaller, and a window that
    // is smaller now is raised to it (which resizes it once more). On a
    // screen too small for the minimum, the minimum is what the screen has
    // room for, and the left column scrolls.
    const QSize frameExtra = frameGeometry().size() - size();
    const int statusHeight = StatusBar->sizeHint().height();
    const QWidget* column = scrControls->widget();
    ResizeRules::MinimumInput minimum;
    minimum.Outer = {double(Twips::ToPixels(ResizeRules::MinimumOuterWidth)),
                     double(Twips::ToPixels(ResizeRules::MinimumOuterHeight))};
    minimum.Frame = {double(frameExtra.width()), double(frameExtra.height())};
    const QSize screenRoom = screen()->availableGeometry().size();
    minimum.Screen = {double(screenRoom.width()), double(screenRoom.height())};
    minimum.LeftColumnHeight = column->height();
    minimum.StatusBarHeight = statusHeight;
    const ResizeRules::Size minimumClient = ResizeRules::MinimumClient(minimum);
    setMinimumSize(int(minimumClient.Width), int(minimumClient.Height));
    // Within the screen: the design size on a small screen exceeds it once
    // the frame is known.
    QSize fitting = size().expandedTo(minimumSize());
    if (!isMaximized() && !isFullScreen())
        fitting = fitting.boundedTo(screenRoom - frameExtra);
    if (fitting != size())
        resize(fitting);

    StatusBar->setGeometry(0, height() - statusHeight, width(), statusHeight);

    ResizeRules::Input input;
    input.ClientWidth = Twips::FromPixels(width());
    input.ClientHeight = Twips::FromPixels(height());
    input.PortFrameWidth = Twips::FromPixels(fraPort->width());
    input.StatusBarHeight = Twips::FromPixels(statusHeight);
    input.LeftColumnHeight = Twips::FromPixels(column->height());
    input.ScrollBarWidth =
        Twips::FromPixels(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scrControls));
    const ResizeRules::Layout layout = ResizeRules::Compute(input);
    place(scrControls, layout.LeftColumn.Left, layout.LeftColumn.Top, layout.LeftColumn.Width,
          layout.LeftColumn.Height);
    scrControls->setVerticalScrollBarPolicy(layout.LeftColumnScrolls ? Qt::ScrollBarAlwaysOn
                                                                     : Qt::ScrollBarAlwaysOff);
    place(SSTab, layout.SSTab.Left, layout.SSTab.Top, layout.SSTab.Width, layout.SSTab.Height);
    resizeTwips(SaxView, layout.SaxWidth, layout.SaxHeight);
    resizeTwips(lstHex, layout.HexWidth, layout.HexHeight);
    resizeTwips(fg, layout.GridWidth, layout.GridHeight);
}
