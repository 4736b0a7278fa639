// What kept a file, in words that tell the user what to do about it.
#include "engine/kept_reason.h"

#include "engine/kept_cause.h"

namespace tarnwipe {

std::string KeptReason(const std::error_code& ec) {
  if (ec.category() == KeptCategory()) return ec.message();
  const std::error_condition cause = ec.default_error_condition();
  // A running program's own file is open in it too (ETXTBSY).
  if (cause == std::errc::device_or_resource_busy || cause == std::errc::resource_unavailable_try_again ||
      cause == std::errc::text_file_busy)
    return "open in another program";
  if (cause == std::errc::read_only_file_system) return "the disk is read-only";
  if (cause == std::errc::permission_denied || cause == std::errc::operation_not_permitted) return "no permission";
  if (cause == std::errc::too_many_links) return "it has a second hard link: its contents are reachable under another name";
  if (cause == std::errc::operation_not_supported || cause == std::errc::is_a_directory) return "not a regular file";
  if (cause == std::errc::io_error) return "the disk reported a write error";
  if (cause == std::errc::no_space_on_device || cause == std::errc::file_too_large) return "the disk is full";
  if (cause == std::errc::no_such_file_or_directory) return "it no longer exists";
  // A stick pulled out under a FUSE driver (ntfs-3g, exfat-fuse) leaves its mount unconnected.
  if (cause == std::errc::not_connected) return "the disk is gone: it was removed or unmounted";
  // The file is reached through its map's own folders only: a link or a mount met on the way
  // (put there meanwhile, or another disk bound over the file) ends the way.
  if (cause == std::errc::too_many_symbolic_link_levels) return "it, or a folder on its way, was replaced by a link";
  if (cause == std::errc::cross_device_link) return "it, or a folder on its way, is another disk mounted there";
  return ec.message();
}

std::string KeptReason(const FileOutcome& outcome) {
  const std::string sReason = KeptReason(outcome.ec);
  return outcome.bOverwritten ? "its contents were overwritten, but its name could not be removed: " + sReason : sReason;
}

}  // namespace tarnwipe
