#pragma once

#include <QString>

// Cuts of text that never leave half of a surrogate pair behind: a character
// beyond U+FFFF, written as two UTF-16 units, is kept whole or left out whole.
namespace TextCuts {

// True when position (0 to the text's size) lies between two characters
// rather than inside a surrogate pair.
bool IsCharacterBoundary(const QString& text, qsizetype position);

// The first count characters, a surrogate pair counting as one character.
QString FirstCharacters(const QString& text, qsizetype count);

// At most length UTF-16 units from position, narrowed at either end so that
// no surrogate pair is cut; "" when nothing whole remains.
QString WholeCharactersIn(const QString& text, qsizetype position, qsizetype length);

} // namespace TextCuts
