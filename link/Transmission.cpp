#include "link/Transmission.h"

#include "platform/Val.h"

Transmission::WakeUp Transmission::WakeUpFor(double requested) {
    WakeUp wakeUp;
    if (requested > 0) {
        wakeUp.UseBreak = false;
        wakeUp.Count = Val::RoundToInt32(requested);
    }
    return wakeUp;
}
