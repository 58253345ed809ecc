#include "link/ui/TranscriptView.h"

#include "platform/OneLineText.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>

namespace {

// Answers hold CR LF and other control characters; the list shows each
// item on its one line.
class OneLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant& value, const QLocale& locale) const override {
        return QStyledItemDelegate::displayText(OneLineText(value.toString()), locale);
    }
};

// Wide enough for a long answer; the view scrolls sideways beyond it.
constexpr int ItemWidthPixels = 4000;

} // namespace

TranscriptView::TranscriptView(QWidget* parent) : QTableView(parent) {
    setItemDelegate(new OneLineDelegate(this));
    setTextElideMode(Qt::ElideNone);
    horizontalHeader()->hide();
    horizontalHeader()->setDefaultSectionSize(ItemWidthPixels);
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
