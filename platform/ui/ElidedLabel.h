#pragma once

#include <QLabel>

// A one-line label whose text, where it is wider than the label, is shown
// cut with "…" at one end, and whole on hover. It asks a layout for little
// width, so it gives way to its neighbours instead of pushing them aside.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(Qt::TextElideMode mode, QWidget* parent = nullptr);

    // The text as drawn at the label's current width.
    QString ShownText() const;
    // What hovering shows: the label's own tooltip, else the whole text
    // when it is cut, else nothing.
    QString HoverText() const;

    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::TextElideMode m_mode;
};
