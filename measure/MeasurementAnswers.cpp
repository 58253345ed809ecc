#include "measure/MeasurementAnswers.h"

#include "measure/Crc16.h"

#include <QCoreApplication>

namespace {

const QByteArray LineEnd = QByteArrayLiteral("\r\n");
constexpr int SecondsDigits = 3;

QString tr(const char* text) {
    return QCoreApplication::translate("MeasurementAnswers", text);
}

bool allDigits(const QByteArray& text) {
    for (const char character : text) {
        if (character < '0' || character > '9')
            return false;
    }
    return !text.isEmpty();
}

// The answer without its CR LF; nothing when it has none.
std::optional<QByteArray> lineOf(const QByteArray& answer) {
    if (!answer.endsWith(LineEnd))
        return std::nullopt;
    return answer.chopped(LineEnd.size());
}

QString wrongAddress(char found, QChar expected) {
    return tr("the answer comes from address %1, not %2")
        .arg(QChar::fromLatin1(found))
        .arg(expected);
}

// The value starting at text[start] (its sign), and where the next begins.
std::optional<MeasuredValue> valueAt(const QByteArray& text, int start, int& next) {
    int end = start + 1;
    int digits = 0;
    bool point = false;
    for (; end < text.size() && text[end] != '+' && text[end] != '-'; ++end) {
        const char character = text[end];
        if (character == '.' && !point)
            point = true;
        else if (character >= '0' && character <= '9')
            ++digits;
        else
            return std::nullopt;
    }
    if (digits == 0 || digits > MeasurementAnswers::MaxValueDigits)
        return std::nullopt;
    next = end;
    const QByteArray valueText = text.mid(start, end - start);
    // The C locale's reader: "." is the decimal point whatever the user's locale.
    bool parsed = false;
    const double number = valueText.toDouble(&parsed);
    if (!parsed)
        return std::nullopt;
    return MeasuredValue{QString::fromLatin1(valueText), number};
}

} // namespace

std::optional<QList<MeasuredValue>> MeasurementAnswers::SplitValues(const QByteArray& text) {
    QList<MeasuredValue> values;
    int position = 0;
    while (position < text.size()) {
        if (text[position] != '+' && text[position] != '-')
            return std::nullopt;
        std::optional<MeasuredValue> value = valueAt(text, position, position);
        if (!value)
            return std::nullopt;
        values.append(*value);
    }
    return values;
}

AnswerReading<MeasurementPromise> MeasurementAnswers::ReadPromise(const QByteArray& answer,
                                                                  QChar address, int countDigits) {
    AnswerReading<MeasurementPromise> reading;
    // A sensor with its data ready at once may follow with its service
    // request so soon that both lines complete together.
    QByteArray line = answer;
    const int firstEnd = answer.indexOf(LineEnd);
    if (firstEnd >= 0 && IsServiceRequest(answer.mid(firstEnd + LineEnd.size()), address))
        line = answer.left(firstEnd + LineEnd.size());

    const std::optional<QByteArray> text = lineOf(line);
    const int length = 1 + SecondsDigits + countDigits;
    if (!text || text->size() != length || !allDigits(text->mid(1))) {
        reading.Fault = tr("the answer %1 is not of the form %2")
                            .arg(Printable(answer), countDigits == 1 ? QStringLiteral("atttn")
                                                                     : QStringLiteral("atttnn"));
        return reading;
    }
    if (text->at(0) != address.toLatin1()) {
        reading.Fault = wrongAddress(text->at(0), address);
        return reading;
    }
    reading.Content.Seconds = text->mid(1, SecondsDigits).toInt();
    reading.Content.Count = text->mid(1 + SecondsDigits).toInt();
    return reading;
}

AnswerReading<QList<MeasuredValue>> MeasurementAnswers::ReadValues(const QByteArray& answer,
                                                                   QChar address, bool withCrc) {
    AnswerReading<QList<MeasuredValue>> reading;
    const QString notValues = tr("the answer %1 is not an address followed by values%2")
                                  .arg(Printable(answer), withCrc ? tr(" and a CRC") : QString());
    std::optional<QByteArray> text = lineOf(answer);
    const int minimum = 1 + (withCrc ? Sdi12Crc::EncodedLength : 0);
    if (!text || text->size() < minimum) {
        reading.Fault = notValues;
        return reading;
    }
    if (withCrc) {
        const std::optional<quint16> sent = Sdi12Crc::Decode(text->right(Sdi12Crc::EncodedLength));
        text->chop(Sdi12Crc::EncodedLength);
        if (!sent) {
            reading.Fault = notValues;
            return reading;
        }
        if (*sent != Sdi12Crc::Compute(*text)) {
            reading.Fault = tr("CRC mismatch in the answer %1").arg(Printable(answer));
            reading.CrcMismatch = true;
            return reading;
        }
    }
    std::optional<QList<MeasuredValue>> values = SplitValues(text->mid(1));
    if (!values) {
        reading.Fault = notValues;
        return reading;
    }
    if (text->at(0) != address.toLatin1()) {
        reading.Fault = wrongAddress(text->at(0), address);
        return reading;
    }
    reading.Content = *values;
    return reading;
}

bool MeasurementAnswers::IsServiceRequest(const QByteArray& answer, QChar address) {
    return answer == address.toLatin1() + LineEnd;
}

QString MeasurementAnswers::Printable(const QByteArray& text) {
    QString shown;
    for (const char character : text) {
        const uchar byte = uchar(character);
        if (byte >= 0x20 && byte < 0x7F)
            shown += QChar::fromLatin1(character);
        else if (character == '\r')
            shown += QStringLiteral("<CR>");
        else if (character == '\n')
            shown += QStringLiteral("<LF>");
        else
            shown += QStringLiteral("<%1>").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return shown;
}
