#include "measure/ValueLabels.h"

#include <QCoreApplication>

QString ValueLabels::labelAt(const QStringList& labels, int number) {
    const QString label = labels.value(number - 1);
    if (!label.isEmpty())
        return label;
    return QCoreApplication::translate("ValueLabels", "Value %1").arg(number);
}
