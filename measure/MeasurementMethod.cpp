#include "measure/MeasurementMethod.h"

namespace {

QChar letterOf(MeasurementMethod::Kind kind) {
    switch (kind) {
    case MeasurementMethod::Kind::Measure:
        return QLatin1Char('M');
    case MeasurementMethod::Kind::Concurrent:
        return QLatin1Char('C');
    case MeasurementMethod::Kind::Continuous:
        return QLatin1Char('R');
    case MeasurementMethod::Kind::Verify:
        return QLatin1Char('V');
    }
    return QLatin1Char('M');
}

void appendFamily(QStringList& names, MeasurementMethod::Kind kind, bool withCrc) {
    MeasurementMethod method{kind, withCrc, 0};
    const int first = kind == MeasurementMethod::Kind::Continuous ? 0 : 1;
    if (kind != MeasurementMethod::Kind::Continuous)
        names << method.Name();
    for (int index = first; index <= 9; ++index) {
        method.Index = index;
        names << method.Name();
    }
}

} // namespace

QString MeasurementMethod::Name() const {
    QString name(letterOf(What));
    if (WithCrc)
        name += QLatin1Char('C');
    if (Index > 0 || What == Kind::Continuous)
        name += QString::number(Index);
    return name;
}

QString MeasurementMethod::StartCommand(QChar address) const {
    return address + Name() + QLatin1Char('!');
}

QStringList MeasurementMethod::AllNames() {
    QStringList names;
    for (const bool withCrc : {false, true})
        appendFamily(names, Kind::Measure, withCrc);
    for (const bool withCrc : {false, true})
        appendFamily(names, Kind::Concurrent, withCrc);
    for (const bool withCrc : {false, true})
        appendFamily(names, Kind::Continuous, withCrc);
    names << MeasurementMethod{Kind::Verify, false, 0}.Name();
    return names;
}

std::optional<MeasurementMethod> MeasurementMethod::FromName(const QString& name) {
    if (!AllNames().contains(name))
        return std::nullopt;
    MeasurementMethod method;
    const QChar letter = name.at(0);
    method.What = letter == QLatin1Char('C')   ? Kind::Concurrent
                  : letter == QLatin1Char('R') ? Kind::Continuous
                  : letter == QLatin1Char('V') ? Kind::Verify
                                               : Kind::Measure;
    method.WithCrc = name.size() > 1 && name.at(1) == QLatin1Char('C');
    const QChar last = name.back();
    method.Index = last.isDigit() ? last.digitValue() : 0;
    return method;
}
