#include "link/ui/TranscriptView.h"

#include "platform/OneLineText.h"

#include <QAction>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>
#include <vector>

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

} // namespace

TranscriptView::TranscriptView(QWidget* parent)
    : QTableView(parent), m_lineDelegate(new OneLineDelegate(this)),
      m_copyAction(new QAction(tr("&Copy"), this)) {
    setItemDelegate(m_lineDelegate);
    setTextElideMode(Qt::ElideNone);
    horizontalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setShowGrid(false);
    setWordWrap(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    m_copyAction->setShortcut(QKeySequence::Copy);
    m_copyAction->setShortcutContext(Qt::WidgetShortcut);
    m_copyAction->setEnabled(false);
    connect(m_copyAction, &QAction::triggered, this, &TranscriptView::CopySelection);
    addAction(m_copyAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TranscriptView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    measureAllRows();
    // Follow new answers while the operator is at the end of the list.
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this] { m_followEnd = atEnd(); });
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                measureRows(first, last);
                fitColumn();
                if (!m_followEnd || m_scrollPending)
                    return;
                // One scroll per event-loop turn, however many items came in it.
                m_scrollPending = true;
                QTimer::singleShot(0, this, [this] {
                    m_scrollPending = false;
                    scrollToBottom();
                });
            });
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] {
        m_readingBack = !atEnd();
        m_topBeforeDrop = indexAt(QPoint(0, 0));
    });
    connect(model, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) { dropRows(last - first + 1); });
}

// The rows' heights and widths follow the font; it is set once, at start-up.
void TranscriptView::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() != QEvent::FontChange)
        return;
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    if (model())
        measureAllRows();
}

// The item view's own Copy would take the current item's stored text alone,
// line ends and all.
void TranscriptView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TranscriptView::selectionChanged(const QItemSelection& selected,
                                      const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    m_copyAction->setEnabled(selectionModel()->hasSelection());
}

// Each line through the delegate that draws it, so that the clipboard gets
// exactly what the list shows. Rows come in list order whatever order they
// were picked in.
void TranscriptView::CopySelection() {
    if (!selectionModel())
        return;
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    if (rows.empty())
        return;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QStringList lines;
    lines.reserve(qsizetype(rows.size()));
    for (const int row : rows)
        lines.append(m_lineDelegate->displayText(model()->index(row, 0).data(), locale()));
    QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void TranscriptView::measureAllRows() {
    m_advances = std::make_unique<CharacterAdvances>(font());
    m_widestLine.Clear();
    measureRows(0, model()->rowCount() - 1);
    fitColumn();
}

// Each line as the delegate draws it, between the style's text margins, with
// a pixel for the rounding of the style's text layout.
void TranscriptView::measureRows(int first, int last) {
    const int margins =
        2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 1;
    for (int row = first; row <= last; ++row) {
        const QString line = OneLineText(model()->index(row, 0).data().toString());
        m_widestLine.Append(m_advances->Width(line) + margins);
    }
}

void TranscriptView::dropRows(int count) {
    m_widestLine.DropOldest(count);
    fitColumn();
    if (m_readingBack && m_topBeforeDrop.isValid())
        scrollTo(m_topBeforeDrop, PositionAtTop);
    else if (m_readingBack)
        scrollToTop();
    m_topBeforeDrop = QPersistentModelIndex();
}

void TranscriptView::fitColumn() {
    if (columnWidth(0) != m_widestLine.Widest())
        setColumnWidth(0, m_widestLine.Widest());
}

bool TranscriptView::atEnd() const {
    return verticalScrollBar()->value() == verticalScrollBar()->maximum();
}
