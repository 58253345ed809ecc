#include "sensors/ParameterAnswer.h"

#include "measure/Crc16.h"

#include <QCoreApplication>

namespace {

const QByteArray LineEnd = QByteArrayLiteral("\r\n");

QString tr(const char* text) {
    return QCoreApplication::translate("ParameterAnswer", text);
}

bool isPrintable(const QByteArray& text) {
    for (const char character : text) {
        if (uchar(character) < 0x20 || uchar(character) >= 0x7F)
            return false;
    }
    return true;
}

} // namespace

QString ParameterInfo::label() const {
    if (Unit.isEmpty())
        return Name;
    return QStringLiteral("%1 (%2)").arg(Name, Unit);
}

AnswerReading<std::optional<ParameterInfo>> ParameterAnswer::read(const QByteArray& answer,
                                                                  QChar address, bool withCrc) {
    AnswerReading<std::optional<ParameterInfo>> reading;
    const QString shown = MeasurementAnswers::Printable(answer);
    const auto fault = [&reading](const QString& why) {
        reading.Fault = why;
        return reading;
    };
    const QString notOfForm = (withCrc ? tr("the answer %1 is not of the form a,name,unit;crc")
                                       : tr("the answer %1 is not of the form a,name,unit;"))
                                  .arg(shown);
    if (!answer.endsWith(LineEnd))
        return fault(notOfForm);
    QByteArray line = answer.chopped(LineEnd.size());
    if (line.isEmpty() || !isPrintable(line))
        return fault(notOfForm);
    if (withCrc) {
        const std::optional<quint16> sent = Sdi12Crc::Decode(line.right(Sdi12Crc::EncodedLength));
        line.chop(Sdi12Crc::EncodedLength);
        if (!sent || line.isEmpty())
            return fault(notOfForm);
        if (*sent != Sdi12Crc::Compute(line)) {
            reading.CrcMismatch = true;
            return fault(tr("CRC mismatch in the answer %1").arg(shown));
        }
    }
    if (line.at(0) != address.toLatin1())
        return fault(tr("the answer %1 comes from address %2, not %3")
                         .arg(shown, QChar::fromLatin1(line.at(0)), address));
    if (line.size() == 1)
        return reading; // past the last value
    if (line.at(1) != ',' || !line.endsWith(';') || line.count(';') != 1)
        return fault(notOfForm);
    if (line.size() > MaxLength)
        return fault(tr("the answer %1 is longer than %2 characters up to its \";\"")
                         .arg(shown, QString::number(MaxLength)));
    const QList<QByteArray> fields = line.mid(2, line.size() - 3).split(',');
    if (fields.size() < 2)
        return fault(notOfForm);
    ParameterInfo parameter;
    parameter.Name = QString::fromLatin1(fields.at(0)).trimmed();
    if (parameter.Name.isEmpty())
        return fault(tr("the answer %1 names no parameter").arg(shown));
    // A single blank stands for a value without a unit.
    parameter.Unit = QString::fromLatin1(fields.at(1)).trimmed();
    for (qsizetype field = 2; field < fields.size(); ++field)
        parameter.More << QString::fromLatin1(fields.at(field)).trimmed();
    reading.Content = parameter;
    return reading;
}
