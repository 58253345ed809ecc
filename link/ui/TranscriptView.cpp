#include "link/ui/TranscriptView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>

TranscriptView::TranscriptView(QWidget* parent) : QTableView(parent) {
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setShowGrid(false);
    setWordWrap(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

void TranscriptView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    // Follow new answers while the operator is at the end of the list.
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
        m_followEnd = verticalScrollBar()->value() == verticalScrollBar()->maximum();
    });
    // One scroll per event-loop turn, however many items came in it.
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] {
        if (!m_followEnd || m_scrollPending)
            return;
        m_scrollPending = true;
        QTimer::singleShot(0, this, [this] {
            m_scrollPending = false;
            scrollToBottom();
        });
    });
}
