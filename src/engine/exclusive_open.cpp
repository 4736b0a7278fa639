// Opening one file for exclusive overwriting: the sequence every file layer takes.
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

std::error_code OpenExclusively(FileSystem& fs, const std::string& sPath, std::unique_ptr<ExclusiveFile>& pFile) {
  pFile.reset();
  std::unique_ptr<ExclusiveOpenSteps> pSteps;
  if (std::error_code ec = fs.PrepareOpen(sPath, pSteps)) return ec;
  EntryIdentity pinned;
  if (std::error_code ec = pSteps->Pin(pinned)) return ec;
  if (std::error_code ec = RefusalOf(pinned)) return ec;
  if (std::error_code ec = pSteps->MakeWritable()) return ec;
  EntryIdentity opened;
  if (std::error_code ec = pSteps->OpenForWriting(opened)) return ec;
  if (opened.lVolume != pinned.lVolume || opened.lId != pinned.lId) return KeptCause::kReplaced;
  if (std::error_code ec = RefusalOf(opened)) return ec;
  pFile = pSteps->Opened();
  return {};
}

}  // namespace tarnwipe
