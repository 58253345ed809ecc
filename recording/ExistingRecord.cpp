#include "recording/ExistingRecord.h"

namespace {

const QByteArray ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

QByteArray withoutLineEnd(QByteArray line) {
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

} // namespace

qsizetype ExistingRecord::HeadSize(const QByteArray& headerLine) {
    // Room for the mark, the header and a CR LF, and one byte more: a first
    // line that goes on past the header is seen to be longer.
    return ByteOrderMark.size() + withoutLineEnd(headerLine).size() + 3;
}

bool ExistingRecord::SameHeader(const QByteArray& head, const QByteArray& headerLine) {
    QByteArray firstLine = head.left(head.indexOf('\n') + 1);
    if (firstLine.isEmpty()) // no line end in sight: the whole file, or a longer line
        firstLine = head;
    if (firstLine.startsWith(ByteOrderMark))
        firstLine.remove(0, ByteOrderMark.size());
    return withoutLineEnd(firstLine) == withoutLineEnd(headerLine);
}

QByteArray ExistingRecord::LineEndAfter(char lastByte) {
    if (lastByte == '\n')
        return {};
    // A CR alone is the first half of the line end.
    return lastByte == '\r' ? QByteArrayLiteral("\n") : QByteArrayLiteral("\r\n");
}
