#include "WindowHarness.h"

#include "app/TwoPanelStatusBar.h"

QString WindowHarness::Panel(int panel) const {
    return Window->StatusBar->PanelText(panel);
}
