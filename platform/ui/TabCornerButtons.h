#pragma once

#include <QWidget>

class QHBoxLayout;
class QPushButton;
class QTabWidget;

// Buttons of one tab page that sit at the right end of the tab strip, so
// that they take none of the page's room. They show while that page is the
// current one and the whole strip still fits beside them; a narrow window
// keeps its tabs instead.
class TabCornerButtons : public QWidget {
    Q_OBJECT
public:
    // The page is already on the tab control.
    TabCornerButtons(QTabWidget& tabs, QWidget& page);

    QPushButton* AddButton(const QString& caption);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showWhenRoom();

    QTabWidget& m_tabs;
    const int m_pageIndex;
    QHBoxLayout* m_row;
};
