#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>

// Reading numbers out of texts the way the operator's boxes and the sheet's
// cells are read.
namespace Val {

// The number at the start of a text: blanks, tabs and line feeds are skipped
// wherever they stand; an optional sign, digits with "." as the only decimal
// point whatever the locale, an optional exponent after E or D; &H and &O
// introduce hexadecimal and octal whole numbers. Reading stops at the first
// character that cannot continue the number; no number, and a number too
// large for a double, read as 0.
double LeadingNumber(const QString& text);

// Nearest whole number, halves to the even neighbour, saturated to 32 bits.
qint32 RoundToInt32(double value);

// Whole number toward minus infinity; *inRange is false (and 0 returned)
// when the result lies outside the 32-bit signed range.
qint32 FloorToInt32(double value, bool* inRange);

// True when the text converts to a floating-point number under the locale's
// conventions (sign, digits, decimal and grouping separators, exponent,
// blanks around it). An empty text is not a number, and neither are "nan",
// "inf" and numbers too large for a double.
bool IsNumeric(const QString& text, const QLocale& locale = QLocale());

// The shortest decimal text of a number: 7, 2.5, -0.5.
QString NumberText(double value);

} // namespace Val
