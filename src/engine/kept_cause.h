// Why a file is kept where the cause is this program's own finding, not a system error: an error
// code of its own category, handed up beside the system's.
#pragma once

#include <system_error>

namespace tarnwipe {

enum class KeptCause {
  kReplaced = 1,      // the name no longer leads to the file that was checked and overwritten
  kChangedMeanwhile,  // another program wrote to the file, or gave it blocks, during the erase
  kNoPassCount,       // the pass count is no number, so nothing was overwritten
  kNameFixed,         // the name cannot be removed from its folder, so nothing was overwritten
  kNoRoomForHoles,    // the passes must write over holes, and the disk has no room for them
};

const std::error_category& KeptCategory();

inline std::error_code make_error_code(KeptCause eCause) { return {static_cast<int>(eCause), KeptCategory()}; }

}  // namespace tarnwipe

template <>
struct std::is_error_code_enum<tarnwipe::KeptCause> : std::true_type {};
