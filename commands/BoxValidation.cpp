#include "commands/BoxValidation.h"

#include "platform/Val.h"

#include <QRegularExpression>

QString BoxValidation::Normalize(const QString& text, std::optional<double> upperLimit) {
    if (text.isEmpty())
        return text;
    const double value = Val::LeadingNumber(text);
    if (value < 0)
        return QStringLiteral("0");
    if (upperLimit && value > *upperLimit)
        return Val::NumberText(*upperLimit);
    return Val::NumberText(value);
}

bool BoxValidation::IsUnfinishedNumber(const QString& text) {
    static const QRegularExpression unfinished(
        QStringLiteral("^[+-]?(\\d*\\.|\\d+(\\.\\d*)?[EeDd][+-]?)?$"));
    return !text.isEmpty() && unfinished.match(text).hasMatch();
}

QString BoxValidation::NormalizeWhileTyping(const QString& text, std::optional<double> upperLimit) {
    return IsUnfinishedNumber(text) ? text : Normalize(text, upperLimit);
}
