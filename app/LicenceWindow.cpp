#include "app/LicenceWindow.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

LicenceWindow::LicenceWindow(const QString& title, const QString& text, QWidget* parent)
    : QDialog(parent), m_text(new QPlainTextEdit(text, this)) {
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    resize(560, 480);
}

QString LicenceWindow::Text() const {
    return m_text->toPlainText();
}
