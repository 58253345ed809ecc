#include "app/TwoPanelStatusBar.h"

#include "platform/OneLineText.h"
#include "platform/ui/ElidedLabel.h"

#include <QLabel>

TwoPanelStatusBar::TwoPanelStatusBar(QWidget* parent)
    : QStatusBar(parent), m_panel1(new ElidedLabel(Qt::ElideRight, this)),
      m_panel2(new QLabel(this)), m_notice(new QLabel(this)), m_linkState(new QLabel(this)) {
    setSizeGripEnabled(true);
    m_panel1->setObjectName(QStringLiteral("StatusPanel1"));
    m_panel2->setObjectName(QStringLiteral("StatusPanel2"));
    m_panel1->setTextFormat(Qt::PlainText);
    m_panel2->setTextFormat(Qt::PlainText);
    // Panel 1 takes the width of its message and panel 2 the rest; where the
    // message is longer than that, panel 1 cuts it and panel 2 keeps its text.
    addWidget(m_panel1);
    addWidget(m_panel2, 1);
    m_notice->setObjectName(QStringLiteral("Notice"));
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->hide();
    addPermanentWidget(m_notice);
    m_linkState->setObjectName(QStringLiteral("LinkState"));
    m_linkState->setTextFormat(Qt::PlainText);
    addPermanentWidget(m_linkState);
}

QLabel* TwoPanelStatusBar::panelLabel(int panel) const {
    return panel == 1 ? m_panel1 : m_panel2;
}

void TwoPanelStatusBar::SetPanelText(int panel, const QString& text) {
    m_texts[panel == 1 ? 0 : 1] = text;
    QLabel* label = panelLabel(panel);
    label->setText(OneLineText(text));
    label->setToolTip(label->text());
}

QString TwoPanelStatusBar::PanelText(int panel) const {
    return m_texts[panel == 1 ? 0 : 1];
}

void TwoPanelStatusBar::SetNotice(const QString& text) {
    m_notice->setText(OneLineText(text));
    m_notice->setToolTip(text);
    m_notice->setVisible(!text.isEmpty());
}

QString TwoPanelStatusBar::NoticeText() const {
    return m_notice->toolTip();
}

// The words differ for each state; the colour only underlines them.
void TwoPanelStatusBar::SetLinkState(LinkState::Kind kind, const QString& text) {
    const char* colour = kind == LinkState::Kind::Open   ? "#1b7a2b"
                         : kind == LinkState::Kind::Lost ? "#b3261e"
                                                         : "#5f6368";
    m_linkState->setStyleSheet(
        QStringLiteral("QLabel { color: %1; font-weight: bold; }").arg(QLatin1String(colour)));
    m_linkState->setText(text);
    m_linkState->setToolTip(text);
}

QString TwoPanelStatusBar::LinkStateText() const {
    return m_linkState->text();
}
