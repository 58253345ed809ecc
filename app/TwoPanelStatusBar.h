#pragma once

#include "link/LinkState.h"

#include <QStatusBar>

class QLabel;

// The window's status bar with its two text panels: panel 1 for the link's
// reports (the port's status and the exchange's verdict), panel 2 for what
// was received; a notice field for the window's other reports (a file
// saved or not, a history that could not be stored), which stays until the
// next notice; and, at its right end, a field that always shows the state
// of the link. A panel 1 message longer than its room ends in "…" and
// shows whole on hover.
class TwoPanelStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TwoPanelStatusBar(QWidget* parent = nullptr);

    void SetPanelText(int panel, const QString& text);
    QString PanelText(int panel) const;

    void SetNotice(const QString& text);
    QString NoticeText() const;

    void SetLinkState(LinkState::Kind kind, const QString& text);
    QString LinkStateText() const;

private:
    QLabel* panelLabel(int panel) const;

    QLabel* m_panel1;
    QLabel* m_panel2;
    QLabel* m_notice;
    QLabel* m_linkState;
    // What the panels hold, line ends included; the labels show it on one line.
    QString m_texts[2];
};
