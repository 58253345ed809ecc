#pragma once

class CTimer;

// Owns the system timers of every CTimer on the user-interface thread and
// routes each expiry to the object that started it. A cancelled or destroyed
// object receives no further expiry.
namespace MSharedTimer {

// Starts a system timer for the object; returns its identifier (0 on failure).
int StartTimer(CTimer* timer, int intervalMs);
// Cancels a system timer started by StartTimer; 0 is ignored.
void KillTimer(int timerId);

} // namespace MSharedTimer
