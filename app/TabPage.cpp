#include "app/TabPage.h"

#include "platform/ui/Twips.h"

QRect TabPage::ToPixels(double left, double top, double width, double height) {
    return Twips::ToPixels(left, top - StripTwips, width, height);
}
