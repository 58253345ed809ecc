#pragma once

#include "link/WidestLine.h"
#include "link/ui/CharacterAdvances.h"

#include <QPersistentModelIndex>
#include <QTableView>
#include <memory>

class QAction;
class QStyledItemDelegate;

// The transcript list on the HEX tab. A one-column table with fixed row
// heights: unlike a list view, which lays out every row again after each
// append, it adds a row at a cost that does not grow with the transcript,
// so a session of a million answers still appends and scrolls smoothly.
// The column is as wide as the widest line, each line measured once as it
// comes, so the view scrolls sideways to the end of every line. The model
// grows at its end and drops its oldest rows from its start.
//
// Ctrl+C and the context menu's Copy put the selected lines on the
// clipboard as the list shows them; other handlers add their entries to
// the context menu with addAction().
class TranscriptView : public QTableView {
    Q_OBJECT
public:
    explicit TranscriptView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

public slots:
    // The selected lines in list order, one a line, joined with LF.
    void CopySelection();

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    void measureAllRows();
    void measureRows(int first, int last);
    void dropRows(int count);
    void fitColumn();
    bool atEnd() const;

    QStyledItemDelegate* m_lineDelegate;
    QAction* m_copyAction;
    std::unique_ptr<CharacterAdvances> m_advances;
    WidestLine m_widestLine;
    bool m_followEnd = true;
    bool m_scrollPending = false;
    // When old rows are dropped while the operator reads back, the view
    // stays on the row it showed at the top, or on the oldest row left.
    bool m_readingBack = false;
    QPersistentModelIndex m_topBeforeDrop;
};
