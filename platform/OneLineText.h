#pragma once

#include <QString>

// Received text as one readable line: CR is left out, each LF shows as a
// return mark (U+21B5) and any other control character as a middle dot, so
// a status panel or a list item keeps to one line and hides nothing.
QString OneLineText(const QString& text);
