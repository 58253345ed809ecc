// Files already there when a recording starts come from anywhere. Whatever
// a file holds, the header check seeing only the file's head agrees with
// the file's whole first line, and the line end added after its last byte
// makes the next row a line of its own without adding an empty line.
//
// The input is the file. When its first byte is odd, the header looked for
// is a fixed one; otherwise it is the file's own first line (with or
// without a byte order mark before it), so that matching headers are met.
#include "FuzzSupport.h"

#include "recording/ExistingRecord.h"

namespace {

const QByteArray ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

QByteArray firstLineOf(const QByteArray& file) {
    const qsizetype end = file.indexOf('\n');
    return end < 0 ? file : file.left(end);
}

QByteArray withoutEnd(QByteArray line) {
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray file = fuzzing::Bytes(data, size);
    if (file.isEmpty())
        return 0;
    QByteArray firstLine = firstLineOf(file);
    if (firstLine.startsWith(ByteOrderMark))
        firstLine.remove(0, ByteOrderMark.size());
    const QByteArray header = (file.at(0) & 1)
                                  ? QByteArray("Time,Address,Method,Value 1,Result\r\n")
                                  : withoutEnd(firstLine) + "\r\n";

    const QByteArray head = file.left(ExistingRecord::HeadSize(header));
    FUZZ_REQUIRE(ExistingRecord::SameHeader(head, header) ==
                 (withoutEnd(firstLine) == withoutEnd(header)));

    const QByteArray lineEnd = ExistingRecord::LineEndAfter(file.back());
    const QByteArray completed = file + lineEnd;
    FUZZ_REQUIRE(completed.endsWith('\n'));
    FUZZ_REQUIRE(lineEnd.isEmpty() == file.endsWith('\n'));
    // The end added never starts a second CR after one already there: a CR
    // the file ends in is the first half of the line end, not a byte of its own.
    FUZZ_REQUIRE(!(file.endsWith('\r') && lineEnd.startsWith('\r')));
    FUZZ_REQUIRE(lineEnd.isEmpty() || completed.endsWith("\r\n"));
    const QByteArray row = "2026-01-31T14:05:09Z,0,M,+1,OK\r\n";
    FUZZ_REQUIRE((completed + row).endsWith("\n" + row));
    return 0;
}
