#include "commands/BoxValidation.h"

#include "platform/Val.h"

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
