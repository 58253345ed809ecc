#include "platform/ui/QtMessageBox.h"

#include <QMessageBox>

void QtMessageBox::Show(const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, m_parent);
    box.setTextFormat(Qt::PlainText); // failure texts hold file names, never markup
    box.exec();
}
