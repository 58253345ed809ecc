#pragma once

#include <QString>
#include <QWidget>
#include <QtGlobal>

class QTableWidget;
class QTableWidgetItem;
class GridTable;
class GridDelegate;

// The sheet's grid: a table whose row 0 is the header row of captions (shown
// as the table's column header, so it never scrolls away) and whose data
// rows are 1 to RowCount() - 1. Every cell has a shown text and a hidden
// data string.
//
// Users start an edit on a data cell with F2, Enter, typing or a double
// click. Each start raises BeforeEdit first, whose handler may refuse it;
// then a line editor opens, or a drop-down when the handler has set an
// option list with setEditList. Enter or leaving the editor stores the text
// and raises AfterEdit; Escape drops the edit. Cells of a button column look
// like push buttons: a click, F2, Enter or Space raises BeforeEdit, no editor
// opens; moving onto one (Tab, arrows, Tab out of an editor) raises nothing.
// Tab and Shift+Tab move between cells; Ctrl+Tab and Ctrl+Shift+Tab move
// the focus out of the grid, from an open editor too.
class Grid : public QWidget {
    Q_OBJECT
public:
    // Ids for setPresentationOption.
    enum PresentationOption {
        EditMode = 12,        // 0 read-only; 1 users edit with keyboard and mouse
        SelectionMode = 71,   // 0 nothing selectable; 1 ranges of cells; 2 one cell
        CellPadding = 82,     // pixels added on each side of a text when fitting
        ColumnResizing = 41,  // 0 fixed widths; 1 users drag column borders
        AlternatingRows = 25, // non-zero: every other row is shaded
        TextElision = 66,     // Qt::TextElideMode for texts wider than their cell
    };

    explicit Grid(QWidget* parent = nullptr);
    ~Grid() override;

    // Empties every cell, captions included; rows and columns stay.
    void ClearGrid();
    void setColumnCount(int count);
    int ColumnCount() const;
    // Rows including the header row, which always stays: a count below 1
    // leaves the header row alone.
    void setRowCount(int count);
    int RowCount() const;
    // Captions of row 0, separated by "|".
    void setHeaderCaptions(const QString& captions);
    // A new last row whose column 0 shows the text.
    void AddRow(const QString& firstColumnText);

    // Reads outside the grid give ""; writes outside it are ignored.
    QString CellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    QString CellData(int row, int column) const;
    void setCellData(int row, int column, const QString& cellData);
    // Colour as 0x00BBGGRR.
    void setCellBackColor(int row, int column, quint32 colour);

    // 0: AutoSizeColumns fits column widths; 1: it fits row heights.
    void setAutoSizeMode(int mode);
    void AutoSizeColumns(int firstColumn, int lastColumn);

    // Row 0 means no data cell: nothing is current or selected.
    void SetCurrentCell(int row, int column);
    int CurrentRow() const;
    int CurrentColumn() const;
    void ScrollToRow(int row);

    // Option list "|#code;text|#code;text..." for the editor about to open;
    // "" gives a line editor. Used by the next editor only.
    void setEditList(const QString& list);
    // The text of the last edit, as stored in its cell.
    QString EditText() const;
    void setEditText(const QString& text);
    // The code of the entry picked in the last drop-down; "" after a line edit.
    QString PickedCode() const;

    void setPresentationOption(int id, int value);
    // Cells of this column behave as buttons; -1 for none.
    void setButtonColumn(int column);

    // The table inside, for layout and for driving it in tests.
    QTableWidget* Table() const;

signals:
    void BeforeEdit(int row, int column, bool& cancel);
    void AfterEdit(int row, int column);

private:
    friend class GridTable;
    friend class GridDelegate;

    QTableWidgetItem* existingItem(int row, int column) const;
    QTableWidgetItem* writableItem(int row, int column);
    bool AskBeforeEdit(int row, int column);
    void StoreEdit(int row, int column, const QString& text, const QString& code);

    GridTable* m_table;
    GridDelegate* m_delegate;
    bool m_editable = true;
    int m_autoSizeMode = 0;
    int m_buttonColumn = -1;
    int m_cellPadding = 0;
    QString m_editList;
    QString m_editText;
    QString m_pickedCode;
};
