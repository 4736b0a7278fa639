// A frame-rate limit on the event pump, so runs go at disk speed and the window stays live.
#include "window/event_pump.h"

namespace tarnwipe {
namespace {
constexpr double kFrameSeconds = 1.0 / 60.0;
}

bool EventPump::Due() { return m_dblLast < 0 || m_clock.Monotonic() - m_dblLast >= kFrameSeconds; }

void EventPump::Pump() {
  if (Due()) PumpNow();
}

void EventPump::PumpNow() {
  m_view.PumpEvents();
  m_dblLast = m_clock.Monotonic();
}

}  // namespace tarnwipe
