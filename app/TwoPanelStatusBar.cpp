#include "app/TwoPanelStatusBar.h"

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

// Received text holds CR LF and other control characters; the panel shows
// each line end as a mark and other control characters as a dot, so the bar
// keeps one line.
static QString oneLine(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\r'))
            continue;
        if (c == QLatin1Char('\n'))
            shown.append(QChar(0x21B5));
        else
            shown.append(c.unicode() < 0x20 ? QChar(0x00B7) : c);
    }
    return shown;
}

void TwoPanelStatusBar::SetPanelText(int panel, const QString& text) {
    m_texts[panel == 1 ? 0 : 1] = text;
    QLabel* label = panelLabel(panel);
    label->setText(oneLine(text));
    label->setToolTip(label->text());
}

QString TwoPanelStatusBar::PanelText(int panel) const {
    return m_texts[panel == 1 ? 0 : 1];
}
