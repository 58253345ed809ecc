#pragma once

#include "platform/Shell.h"

#include <QUrl>

// The shell's open action on the desktop: a document opens in the user's
// program for its type, an address in the default browser. The viewer is
// launched and left to run on its own; the call returns at once.
class DesktopShell : public IShell {
public:
    bool Open(const QString& target) override;

    // An absolute path names a local file (blanks and all); anything else is
    // taken as a web address (one without a scheme is taken as http).
    static QUrl TargetUrl(const QString& target);
};
