// Opening one entry for exclusive overwriting: the sequence every file layer takes.
#include "engine/exclusive_open.h"

#include "engine/kept_cause.h"

namespace tarnwipe {
namespace {

std::error_code RefusalOf(const EntryIdentity& id) {
  if (id.kind == EntryIdentity::Kind::kFolder) return std::make_error_code(std::errc::is_a_directory);
  if (id.kind != EntryIdentity::Kind::kFile) return std::make_error_code(std::errc::operation_not_supported);
  if (id.lLinks > 1) return std::make_error_code(std::errc::too_many_links);
  return {};
}

}  // namespace

std::error_code OpenExclusively(ExclusiveOpenSteps& steps) {
  EntryIdentity pinned;
  if (std::error_code ec = steps.Pin(pinned)) return ec;
  if (std::error_code ec = RefusalOf(pinned)) return ec;
  if (std::error_code ec = steps.MakeWritable()) return ec;
  EntryIdentity opened;
  if (std::error_code ec = steps.OpenForWriting(opened)) return ec;
  if (opened.lVolume != pinned.lVolume || opened.lId != pinned.lId) return KeptCause::kReplaced;
  return RefusalOf(opened);
}

}  // namespace tarnwipe
