#include "platform/ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

double Twips::LogicalDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

int Twips::ToPixels(double twips) {
    return int(std::lround(twips * LogicalDpi() / 1440.0));
}

double Twips::FromPixels(int pixels) {
    return pixels * 1440.0 / LogicalDpi();
}

QRect Twips::ToPixels(double left, double top, double width, double height) {
    return QRect(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}
