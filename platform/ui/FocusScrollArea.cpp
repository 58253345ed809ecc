#include "platform/ui/FocusScrollArea.h"

#include <QApplication>

FocusScrollArea::FocusScrollArea(QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && widget() && widget()->isAncestorOf(now)) {
            const int margin = fontMetrics().height();
            ensureWidgetVisible(now, margin, margin);
        }
    });
}
