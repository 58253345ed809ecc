#pragma once

#include <QDialog>

// The licence agreement as plain text in a simple read-only window, for a
// desktop on which no program opens the formatted document.
class LicenceWindow : public QDialog {
    Q_OBJECT
public:
    LicenceWindow(const QString& title, const QString& text, QWidget* parent);
    QString Text() const;

private:
    class QPlainTextEdit* m_text;
};
