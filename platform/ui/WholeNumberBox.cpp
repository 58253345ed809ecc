#include "platform/ui/WholeNumberBox.h"

#include "platform/Val.h"

#include <QRegularExpression>

QString WholeNumberBox::numberPart(const QString& text) const {
    QString number = text;
    if (!prefix().isEmpty() && number.startsWith(prefix()))
        number.remove(0, prefix().size());
    if (!suffix().isEmpty() && number.endsWith(suffix()))
        number.chop(suffix().size());
    return number.trimmed();
}

QValidator::State WholeNumberBox::validate(QString& input, int&) const {
    if (!specialValueText().isEmpty() && input == specialValueText())
        return QValidator::Acceptable;
    const QString number = numberPart(input);
    static const QRegularExpression whole(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    static const QRegularExpression begun(QStringLiteral("^[+-]?\\.?$"));
    if (begun.match(number).hasMatch())
        return QValidator::Intermediate;
    if (!whole.match(number).hasMatch())
        return QValidator::Invalid;
    const int value = valueFromText(input);
    return value >= minimum() && value <= maximum() ? QValidator::Acceptable
                                                    : QValidator::Intermediate;
}

int WholeNumberBox::valueFromText(const QString& text) const {
    if (!specialValueText().isEmpty() && text == specialValueText())
        return minimum();
    return Val::RoundToInt32(Val::LeadingNumber(numberPart(text)));
}
