#pragma once

#include <QString>

// The shell's open action: hands a document path or a web address to the
// user's default program without waiting for it.
class IShell {
public:
    virtual ~IShell() = default;
    // False when no program of this desktop takes the target, so that the
    // caller can offer another way.
    virtual bool Open(const QString& target) = 0;
};
