// Lets the window breathe during a run, at most about 60 times a second.
#pragma once

#include "platform/clock.h"
#include "platform/form_view.h"

namespace tarnwipe {

class EventPump {
 public:
  EventPump(FormView& view, Clock& clock) : m_view(view), m_clock(clock) {}

  // True when a frame has passed since the window was last let through.
  bool Due();

  // Lets the window process its pending events when a frame has passed.
  void Pump();

  // Lets the window process its pending events now.
  void PumpNow();

 private:
  FormView& m_view;
  Clock& m_clock;
  double m_dblLast = -1.0;
};

}  // namespace tarnwipe
