#pragma once

#include <QString>

// Received text as one readable line: CR is left out, each LF shows as a
// return mark (U+21B5), and every other character that breaks a line or
// shows nothing of itself (control characters, line and paragraph
// separators, invisible format characters such as direction overrides)
// as a middle dot, so a status panel or a list item keeps to one line,
// hides nothing and cannot show characters out of their order.
QString OneLineText(const QString& text);
