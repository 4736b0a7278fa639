// What a run says when the target's file system keeps old copies of overwritten data where
// overwriting cannot reach them (copy-on-write, log-structured, journalled data).
#pragma once

#include <string>

namespace tarnwipe {

// The sentence the confirmation question adds.
std::string OldCopiesNote(const std::string& sFileSystem);

// The line below the closing report, carried once per run; empty when sFileSystem is empty.
std::string OldCopiesWarning(const std::string& sFileSystem);

}  // namespace tarnwipe
