#pragma once

#include <QString>

// "Version 1.0  Build 42": the program's version as the About tab and
// --version show it, from the build's version header.
QString versionCaption();
