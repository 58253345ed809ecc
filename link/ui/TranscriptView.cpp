#include "link/ui/TranscriptView.h"

#include <QHeaderView>
#include <QScrollBar>

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
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] {
        if (m_followEnd)
            scrollToBottom();
    });
}
