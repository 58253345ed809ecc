#include "sensors/IdentifyCommands.h"

#include "measure/MeasurementMethod.h"

QString IdentifyCommands::promise(QChar address, const MeasurementMethod& method) {
    if (method.AnswersWithValues())
        return QString();
    return address + QStringLiteral("I") + method.Name() + QLatin1Char('!');
}

QString IdentifyCommands::parameter(QChar address, const MeasurementMethod& method, int number) {
    return address +
           QStringLiteral("I%1_%2!").arg(method.Name()).arg(number, 3, 10, QLatin1Char('0'));
}
