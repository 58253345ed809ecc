#pragma once

#include <QTableView>

// The transcript list on the HEX tab. A one-column table with fixed row
// heights: unlike a list view, which lays out every row again after each
// append, it adds a row at a cost that does not grow with the transcript,
// so a session of a million answers still appends and scrolls smoothly.
class TranscriptView : public QTableView {
    Q_OBJECT
public:
    explicit TranscriptView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

private:
    bool m_followEnd = true;
    bool m_scrollPending = false;
};
