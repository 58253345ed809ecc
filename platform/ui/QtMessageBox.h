#pragma once

#include "platform/MessageBox.h"

#include <QPointer>
#include <QWidget>

// The message box on QMessageBox: the text with an OK button, modal to its
// parent window.
class QtMessageBox : public IMessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    void Show(const QString& title, const QString& text) override;

private:
    QPointer<QWidget> m_parent;
};
