#include "platform/ui/Grid.h"

#include "platform/OptionList.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPersistentModelIndex>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>

namespace {

constexpr int DataRole = Qt::UserRole;

QColor colourFromBgr(quint32 colour) {
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

// Ctrl+Tab leaves forwards and Ctrl+Shift+Tab backwards: where Tab moves
// between cells, these are the keys that move the focus on, as elsewhere
// in Qt. Nothing for any other key.
std::optional<bool> leavingForwards(const QKeyEvent& event) {
    if (event.type() != QEvent::KeyPress || !(event.modifiers() & Qt::ControlModifier))
        return std::nullopt;
    const bool shift = event.modifiers() & Qt::ShiftModifier;
    if (event.key() == Qt::Key_Backtab || (event.key() == Qt::Key_Tab && shift))
        return false;
    if (event.key() == Qt::Key_Tab)
        return true;
    return std::nullopt;
}

} // namespace

// The table's gestures: which user actions start an edit, each asking
// BeforeEdit first, and the button cells, where one click, F2, Enter or
// Space is one press and the second click of a double click is part of the
// first. Arriving on a button cell presses nothing.
class GridTable : public QTableWidget {
public:
    GridTable(Grid& grid, QWidget* parent) : QTableWidget(parent), m_grid(grid) {
        setEditTriggers(StartTriggers);
    }

    using QTableWidget::edit;

    // Moves the focus to the window's next (or previous) control. The table
    // takes it first, so that the move starts from the grid itself, and an
    // open editor, losing the focus, stores its edit and closes.
    void leave(bool forwards) {
        setFocus(Qt::OtherFocusReason);
        QWidget::focusNextPrevChild(forwards);
    }

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override {
        const bool startsEdit = index.isValid() && state() != EditingState &&
                                (trigger == AllEditTriggers || (trigger & StartTriggers));
        if (!startsEdit)
            return QTableWidget::edit(index, trigger, event);
        // A button cell is pressed only by its own keys and clicks, never by
        // an edit request such as Qt makes for the cell that Tab out of an
        // editor moves to. The request is done with; a typed key goes on to
        // the table's search.
        if (isButtonCell(index))
            return trigger != AnyKeyPressed;
        return m_grid.m_editable && m_grid.AskBeforeEdit(index.row() + 1, index.column()) &&
               QTableWidget::edit(index, trigger, event);
    }

    // Enter, F2 or Space presses a button cell; on other cells Enter starts
    // an edit like F2. While an editor is open Enter belongs to the editor,
    // which commits with it.
    void keyPressEvent(QKeyEvent* event) override {
        if (const std::optional<bool> forwards = leavingForwards(*event)) {
            leave(*forwards);
            return;
        }
        if (state() != EditingState) {
            if (isButtonCell(currentIndex()) && isPressKey(*event) && press(currentIndex()))
                return;
            const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
            if (enter && edit(currentIndex(), EditKeyPressed, event))
                return;
        }
        QTableWidget::keyPressEvent(event);
    }

    void mousePressEvent(QMouseEvent* event) override {
        const QModelIndex index = indexAt(event->position().toPoint());
        if (!isButtonCell(index)) {
            QTableWidget::mousePressEvent(event);
            return;
        }
        m_pressedButton = event->button() == Qt::LeftButton ? index : QModelIndex();
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (!m_pressedButton.isValid()) {
            QTableWidget::mouseReleaseEvent(event);
            return;
        }
        const QModelIndex index = indexAt(event->position().toPoint());
        const bool clicked = index == m_pressedButton;
        m_pressedButton = QModelIndex();
        if (clicked)
            press(index);
    }

    // The second press of a double click arrives as this event alone; on a
    // button cell the click before it has already pressed the button.
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (!isButtonCell(indexAt(event->position().toPoint())))
            QTableWidget::mouseDoubleClickEvent(event);
    }

private:
    static constexpr EditTriggers StartTriggers = DoubleClicked | EditKeyPressed | AnyKeyPressed;

    bool isButtonCell(const QModelIndex& index) const {
        return index.isValid() && index.column() == m_grid.m_buttonColumn;
    }

    static bool isPressKey(const QKeyEvent& event) {
        if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        const int key = event.key();
        return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2 ||
               key == Qt::Key_Space;
    }

    // A button cell opens no editor: BeforeEdit is its press.
    bool press(const QModelIndex& index) {
        if (!m_grid.m_editable)
            return false;
        m_grid.AskBeforeEdit(index.row() + 1, index.column());
        return true;
    }

    Grid& m_grid;
    QPersistentModelIndex m_pressedButton;
};

// The editors (a line editor, or a drop-down of the option list that
// BeforeEdit set), the storing of an edit, and the look of button cells.
class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(Grid& grid, QObject* parent) : QStyledItemDelegate(parent), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const QString list = m_grid.m_editList;
        m_grid.m_editList.clear();
        return list.isEmpty() ? QStyledItemDelegate::createEditor(parent, option, index)
                              : createDropDown(parent, list);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* dropDown = qobject_cast<QComboBox*>(editor))
            dropDown->setCurrentIndex(dropDown->findText(index.data().toString()));
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        QString text;
        QString code;
        if (auto* dropDown = qobject_cast<QComboBox*>(editor)) {
            if (dropDown->currentIndex() < 0)
                return; // nothing picked: the cell keeps its text
            text = dropDown->currentText();
            code = dropDown->currentData().toString();
        } else if (auto* lineEditor = qobject_cast<QLineEdit*>(editor)) {
            text = lineEditor->text();
        }
        model->setData(index, text);
        m_grid.StoreEdit(index.row() + 1, index.column(), text, code);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int padding = 2 * m_grid.m_cellPadding;
        return QStyledItemDelegate::sizeHint(option, index) + QSize(padding, padding);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QString text = index.data().toString();
        if (index.column() != m_grid.m_buttonColumn || text.isEmpty()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionButton button;
        button.rect = option.rect.adjusted(1, 1, -1, -1);
        button.text = text;
        button.state = QStyle::State_Enabled | QStyle::State_Raised;
        button.palette = option.palette;
        button.fontMetrics = option.fontMetrics;
        const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_PushButton, &button, painter, option.widget);
    }

protected:
    // The keys that leave the grid leave it from an open editor too, instead
    // of moving to the next cell.
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            if (const std::optional<bool> forwards =
                    leavingForwards(*static_cast<QKeyEvent*>(event))) {
                m_grid.m_table->leave(*forwards);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    // The drop-down shows the entries' texts and keeps their codes; a pick
    // ends the edit at once. It opens its list as soon as it is shown.
    QWidget* createDropDown(QWidget* parent, const QString& list) const {
        auto* dropDown = new QComboBox(parent);
        for (const OptionEntry& entry : ParseOptionList(list))
            dropDown->addItem(entry.Text, entry.Code);
        auto* self = const_cast<GridDelegate*>(this);
        connect(dropDown, &QComboBox::activated, self, [self, dropDown] {
            emit self->commitData(dropDown);
            emit self->closeEditor(dropDown);
        });
        QTimer::singleShot(0, dropDown, [dropDown] {
            if (dropDown->isVisible())
                dropDown->showPopup();
        });
        return dropDown;
    }

    Grid& m_grid;
};

Grid::Grid(QWidget* parent)
    : QWidget(parent), m_table(new GridTable(*this, this)),
      m_delegate(new GridDelegate(*this, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);
    m_table->setItemDelegate(m_delegate);
    m_table->verticalHeader()->hide();
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
}

// An editor still open is dropped, not stored: the delegate goes first, so
// that the editor losing its focus as the table goes reaches no handler.
Grid::~Grid() {
    delete m_delegate;
    delete m_table;
}

void Grid::ClearGrid() {
    m_table->clear();
}

void Grid::setColumnCount(int count) {
    m_table->setColumnCount(qMax(0, count));
}

int Grid::ColumnCount() const {
    return m_table->columnCount();
}

void Grid::setRowCount(int count) {
    m_table->setRowCount(qMax(0, count - 1));
}

int Grid::RowCount() const {
    return m_table->rowCount() + 1;
}

void Grid::setHeaderCaptions(const QString& captions) {
    const QStringList parts = captions.split(QLatin1Char('|'));
    for (int column = 0; column < ColumnCount(); ++column)
        setCellText(0, column, column < parts.size() ? parts.at(column) : QString());
}

void Grid::AddRow(const QString& firstColumnText) {
    m_table->insertRow(m_table->rowCount());
    setCellText(RowCount() - 1, 0, firstColumnText);
}

QTableWidgetItem* Grid::existingItem(int row, int column) const {
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return nullptr;
    return row == 0 ? m_table->horizontalHeaderItem(column) : m_table->item(row - 1, column);
}

QTableWidgetItem* Grid::writableItem(int row, int column) {
    if (QTableWidgetItem* item = existingItem(row, column))
        return item;
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return nullptr;
    auto* item = new QTableWidgetItem;
    if (row == 0)
        m_table->setHorizontalHeaderItem(column, item);
    else
        m_table->setItem(row - 1, column, item);
    return item;
}

QString Grid::CellText(int row, int column) const {
    const QTableWidgetItem* item = existingItem(row, column);
    return item ? item->text() : QString();
}

void Grid::setCellText(int row, int column, const QString& text) {
    if (QTableWidgetItem* item = writableItem(row, column))
        item->setText(text);
}

QString Grid::CellData(int row, int column) const {
    const QTableWidgetItem* item = existingItem(row, column);
    return item ? item->data(DataRole).toString() : QString();
}

void Grid::setCellData(int row, int column, const QString& cellData) {
    if (QTableWidgetItem* item = writableItem(row, column))
        item->setData(DataRole, cellData);
}

void Grid::setCellBackColor(int row, int column, quint32 colour) {
    if (QTableWidgetItem* item = writableItem(row, column))
        item->setBackground(colourFromBgr(colour));
}

void Grid::setAutoSizeMode(int mode) {
    m_autoSizeMode = mode;
}

void Grid::AutoSizeColumns(int firstColumn, int lastColumn) {
    if (m_autoSizeMode == 1) {
        m_table->resizeRowsToContents();
        return;
    }
    for (int column = qMax(0, firstColumn); column <= lastColumn && column < ColumnCount();
         ++column)
        m_table->resizeColumnToContents(column);
}

void Grid::SetCurrentCell(int row, int column) {
    if (row >= 1 && row < RowCount())
        m_table->setCurrentCell(row - 1, column);
    else
        m_table->selectionModel()->clear();
}

int Grid::CurrentRow() const {
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

int Grid::CurrentColumn() const {
    const QModelIndex current = m_table->currentIndex();
    return current.isValid() ? current.column() : 0;
}

// Brings the row into view without moving the view sideways.
void Grid::ScrollToRow(int row) {
    if (row < 1 || row >= RowCount()) {
        m_table->scrollToTop();
        return;
    }
    QScrollBar* sideways = m_table->horizontalScrollBar();
    const int offset = sideways->value();
    m_table->scrollTo(m_table->model()->index(row - 1, 0));
    sideways->setValue(offset);
}

void Grid::setEditList(const QString& list) {
    m_editList = list;
}

QString Grid::EditText() const {
    return m_editText;
}

void Grid::setEditText(const QString& text) {
    m_editText = text;
}

QString Grid::PickedCode() const {
    return m_pickedCode;
}

void Grid::setPresentationOption(int id, int value) {
    switch (id) {
    case EditMode:
        m_editable = value != 0;
        break;
    case SelectionMode:
        if (value == 0)
            m_table->setSelectionMode(QAbstractItemView::NoSelection);
        else if (value == 1)
            m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
        else if (value == 2)
            m_table->setSelectionMode(QAbstractItemView::SingleSelection);
        break;
    case CellPadding:
        m_cellPadding = qMax(0, value);
        break;
    case ColumnResizing:
        m_table->horizontalHeader()->setSectionResizeMode(value ? QHeaderView::Interactive
                                                                : QHeaderView::Fixed);
        break;
    case AlternatingRows:
        m_table->setAlternatingRowColors(value != 0);
        break;
    case TextElision:
        if (value >= Qt::ElideLeft && value <= Qt::ElideNone)
            m_table->setTextElideMode(Qt::TextElideMode(value));
        break;
    default:
        break;
    }
}

void Grid::setButtonColumn(int column) {
    m_buttonColumn = column;
}

QTableWidget* Grid::Table() const {
    return m_table;
}

bool Grid::AskBeforeEdit(int row, int column) {
    bool cancel = false;
    emit BeforeEdit(row, column, cancel);
    return !cancel;
}

void Grid::StoreEdit(int row, int column, const QString& text, const QString& code) {
    m_editText = text;
    m_pickedCode = code;
    emit AfterEdit(row, column);
}
