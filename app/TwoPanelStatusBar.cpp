#include "app/TwoPanelStatusBar.h"

#include "platform/OneLineText.h"

#include <QLabel>

TwoPanelStatusBar::TwoPanelStatusBar(QWidget* parent)
    : QStatusBar(parent), m_panel1(new QLabel(this)), m_panel2(new QLabel(this)) {
    setSizeGripEnabled(true);
    m_panel1->setObjectName(QStringLiteral("StatusPanel1"));
    m_panel2->setObjectName(QStringLiteral("StatusPanel2"));
    m_panel1->setTextFormat(Qt::PlainText);
    m_panel2->setTextFormat(Qt::PlainText);
    addWidget(m_panel1, 1);
    addWidget(m_panel2, 2);
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
