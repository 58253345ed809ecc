#pragma once

#include <QSpinBox>

// A spin box of whole numbers into which a fraction may be typed: "2.5"
// stays as typed while the operator types, and rounds (halves to even) to
// a whole number when the box is left or read. A plain spin box refuses
// the point, so the keys "2", ".", "5" would leave 25.
class WholeNumberBox : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int& position) const override;
    int valueFromText(const QString& text) const override;

private:
    // The typed number without the prefix and the suffix.
    QString numberPart(const QString& text) const;
};
