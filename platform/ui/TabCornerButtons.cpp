#include "platform/ui/TabCornerButtons.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

TabCornerButtons::TabCornerButtons(QTabWidget& tabs, QWidget& page)
    : QWidget(&tabs), m_tabs(tabs), m_pageIndex(tabs.indexOf(&page)), m_row(new QHBoxLayout(this)) {
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(2);
    connect(&tabs, &QTabWidget::currentChanged, this, &TabCornerButtons::showWhenRoom);
    tabs.installEventFilter(this);
    showWhenRoom();
}

QPushButton* TabCornerButtons::AddButton(const QString& caption) {
    auto* button = new QPushButton(caption, this);
    m_row->addWidget(button);
    showWhenRoom();
    return button;
}

bool TabCornerButtons::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_tabs && event->type() == QEvent::Resize)
        showWhenRoom();
    return QWidget::eventFilter(watched, event);
}

void TabCornerButtons::showWhenRoom() {
    const bool room = m_tabs.tabBar()->sizeHint().width() + sizeHint().width() <= m_tabs.width();
    const bool shown = m_tabs.currentIndex() == m_pageIndex && room;
    // The tab control keeps a corner widget's room even while it is hidden,
    // so hidden buttons leave the corner.
    if (shown != (m_tabs.cornerWidget(Qt::TopRightCorner) == this))
        m_tabs.setCornerWidget(shown ? this : nullptr, Qt::TopRightCorner);
    setVisible(shown);
}
