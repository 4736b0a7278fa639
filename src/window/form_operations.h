// Window operations the window and its reporter share: the caption, the erase button and the
// reset after a choice.
#pragma once

#include <string>

#include "window/file_progress.h"
#include "platform/form_view.h"

namespace tarnwipe {

// "Tarnwipe  " + sText, or the idle caption with the owner notice when sText is empty.
std::string TitleText(const std::string& sText);
void SetTitle(FormView& view, const std::string& sText);

// The run's title once Esc has asked it to stop.
inline constexpr char kStopping[] = "Stopping once the files being overwritten are done ...";

// Puts " " + sText into the title for the rest of the run, also after a long file's progress.
void SetRunTitle(FormView& view, FileProgress& progress, const std::string& sText);

// Replaces the erase button's caption, or appends sText to it when bAppend.
void SetEraseCaption(FormView& view, const std::string& sText, bool bAppend);

// Empties the message area (unless bKeepMessages) and enables the erase button exactly when
// sName is not empty, focusing it, or else focusing the file button.
void ResetForTarget(FormView& view, const std::string& sName, bool bKeepMessages = false);

}  // namespace tarnwipe
