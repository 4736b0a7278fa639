// What the erase command and the folder run work with: the window's record, view and helpers.
#pragma once

#include "engine/eraser.h"
#include "engine/event_pump.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/form_view.h"
#include "platform/separators.h"
#include "runs/m_erase.h"
#include "runs/protection.h"
#include "runs/run_record.h"
#include "walker/c_dir_drill.h"

namespace tarnwipe {

struct RunServices {
  RunRecord& record;
  FormView& view;
  FileSystem& fs;
  Clock& clock;
  EventPump& pump;
  const Separators& seps;
  Eraser& eraser;
  CDirDrill& dd;
  MErase& mErase;
  const Protection& protection;
};

}  // namespace tarnwipe
