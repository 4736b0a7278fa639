// The erase engine. A file is deleted only after every pass has reached the medium; anything
// less keeps the file and reports it as not erased.
#include "engine/eraser.h"

#include <algorithm>
#include <deque>

#include "engine/exclusive_open.h"
#include "engine/pass_coverage.h"
#include "engine/kept_cause.h"
#include "paths/path_text.h"

namespace tarnwipe {
namespace {

// A write past the original end that the medium has no room for: the growth is lost, the
// file's own bytes are not.
bool IsNoRoom(const std::error_code& ec) {
  return ec == std::errc::no_space_on_device || ec == std::errc::file_too_large;
}

// The most data a file's own record holds (NTFS resident data, ext4 inline data); it is written
// in place, whatever blocks the file has.
constexpr int64_t kResidentBytes = 4096;

}  // namespace

FileOutcome Eraser::EraseFile(const std::string& sTarget, int32_t lPasses, int64_t lBytes, bool bLinkOnly) {
  FileOutcome outcome{paths::LastName(sTarget), lBytes, lBytes};
  const int32_t lAttributes = m_fs.GetAttributes(sTarget);
  outcome.bLink = bLinkOnly || (lAttributes != -1 && (lAttributes & kAttrLink) != 0);
  if (outcome.bLink) {
    // A link holds no data of its own: it is removed, and what it points to is left alone.
    m_reporter.FileStarted(outcome.sName, lBytes, lBytes, lPasses);
    outcome.ec = m_fs.RemoveLink(sTarget);
  } else {
    std::unique_ptr<ExclusiveFile> pFile;
    outcome.ec = lPasses < 0 ? make_error_code(KeptCause::kNoPassCount) : OpenExclusively(m_fs, sTarget, pFile);
    Plan plan;
    if (!outcome.ec) plan = PlanErase(sTarget, *pFile, outcome);
    m_reporter.FileStarted(outcome.sName, lBytes, outcome.lInUse, lPasses);
    if (!outcome.ec) EraseOpened(*pFile, lPasses, plan, outcome);
  }
  m_reporter.FileEnded(outcome);
  return outcome;
}

void Eraser::EraseOpened(ExclusiveFile& file, int32_t lPasses, const Plan& plan, FileOutcome& outcome) {
  outcome.ec = OverwriteEraseFile(file, lPasses, plan);
  Conclude(file, outcome);
}

void Eraser::Conclude(ExclusiveFile& file, FileOutcome& outcome) {
  std::error_code& ec = outcome.ec;
  // A file kept after one of its own passes failed keeps its length: the slack written past its
  // end goes. What another program wrote meanwhile is not this program's to cut.
  if (ec && ec != KeptCause::kChangedMeanwhile && file.CurrentLength() > file.Length()) file.Truncate(file.Length());
  // The name is removed only while it still leads to the file just overwritten.
  if (!ec) {
    std::unique_ptr<HeldName> pName;
    if (!(ec = file.HoldName(pName))) ec = m_removal.RemoveName(*pName, outcome.bNameLeft);
    outcome.bOverwritten = static_cast<bool>(ec);
    outcome.bNameLeft = !ec && outcome.bNameLeft;
  }
  const std::error_code ecClosed = file.Close();
  if (!ec) ec = ecClosed;
}

std::optional<FileOutcome> Eraser::Enlist(const std::string& sPath, int64_t lBytes, int32_t lPasses) {
  const int32_t lAttributes = m_fs.GetAttributes(sPath);
  if (lPasses < 0 || (lAttributes != -1 && (lAttributes & kAttrLink) != 0)) return EraseFile(sPath, lPasses, lBytes);
  Member member{{paths::LastName(sPath), lBytes, lBytes}};
  FileOutcome& outcome = member.outcome;
  std::vector<std::unique_ptr<ExclusiveFile>> streams;
  outcome.ec = OpenExclusively(m_fs, sPath, member.pFile);
  if (!outcome.ec) outcome.ec = member.pFile->OpenStreams(streams);
  if (!outcome.ec) member.plan = PlanErase(sPath, *member.pFile, outcome);
  m_reporter.FileStarted(outcome.sName, lBytes, outcome.lInUse, lPasses);
  if (outcome.ec || !streams.empty()) {
    streams.clear();
    if (!outcome.ec) EraseOpened(*member.pFile, lPasses, member.plan, outcome);
    m_reporter.FileEnded(outcome);
    return outcome;
  }
  m_lBatchBytes += BytesIn(member.plan.ranges);
  m_batch.push_back(std::move(member));
  return std::nullopt;
}

std::vector<FileOutcome> Eraser::RunBatch(int32_t lPasses) {
  int64_t lLargest = 0;
  for (const Member& member : m_batch) lLargest = std::max(lLargest, BytesIn(member.plan.ranges));
  std::vector<char> buffer(static_cast<size_t>(std::clamp<int64_t>(lLargest, kBlock, kChunk)));
  for (int32_t i = 0; i <= lPasses && !m_batch.empty(); ++i) {
    std::fill(buffer.begin(), buffer.end(), static_cast<char>(48 + i));
    int64_t lDone = 0;
    for (Member& member : m_batch) {
      if (!member.outcome.ec) member.outcome.ec = WritePass(*member.pFile, member.plan, buffer, i, lDone, m_lBatchBytes, false);
    }
    FlushTogether();
  }
  std::vector<FileOutcome> outcomes;
  for (Member& member : m_batch) {
    std::fill(buffer.begin(), buffer.end(), static_cast<char>(48 + lPasses));
    if (!member.outcome.ec) member.outcome.ec = CheckLastPass(*member.pFile, member.plan, buffer);
    Conclude(*member.pFile, member.outcome);
    m_reporter.FileEnded(member.outcome);
    outcomes.push_back(member.outcome);
  }
  m_batch.clear();
  m_lBatchBytes = 0;
  return outcomes;
}

void Eraser::FlushTogether() {
  // A file with nothing to write has nothing to flush.
  std::vector<Member*> going;
  for (Member& member : m_batch) {
    if (!member.outcome.ec && !member.plan.ranges.empty()) going.push_back(&member);
  }
  if (going.empty()) return;
  // One call makes the whole file system durable where it reaches the medium. An error it
  // reports may be any file's, so then, as where no such call reaches the medium, each file is
  // flushed on its own, and tells its own.
  if (!going.front()->pFile->FlushFileSystem()) return;
  for (Member* pMember : going) pMember->outcome.ec = pMember->pFile->Flush();
}

Eraser::Plan Eraser::PlanFor(const ExclusiveFile& file) {
  Plan plan;
  std::vector<ByteRange> owned;
  plan.bListed = !file.OwnedRanges(owned);
  plan.ranges = PassRanges(file.Length(), file.AllocatedBytes(), file.BlockSize(), plan.bListed ? &owned : nullptr);
  return plan;
}

Eraser::Plan Eraser::PlanErase(const std::string& sPath, const ExclusiveFile& file, FileOutcome& outcome) const {
  Plan plan = PlanFor(file);
  if (plan.bListed) outcome.lInUse = std::min(outcome.lBytes, BytesIn(plan.ranges, file.Length()));
  outcome.ec = RoomFor(sPath, file, plan);
  return plan;
}

std::error_code Eraser::RoomFor(const std::string& sPath, const ExclusiveFile& file, const Plan& plan) const {
  const int64_t lGrowth = BytesIn(plan.ranges) - file.AllocatedBytes();
  DiskSpace space;
  if (plan.bListed || lGrowth <= std::max(file.BlockSize(), kResidentBytes) || m_fs.SpaceOf(paths::FolderPart(sPath), space))
    return {};
  return lGrowth > space.lAvailable ? make_error_code(KeptCause::kNoRoomForHoles) : std::error_code();
}

std::error_code Eraser::OverwriteEraseFile(ExclusiveFile& file, int32_t lPasses, const Plan& plan) {
  // Named streams are erased first, each with the same passes: deleting the file would free
  // them with their content.
  std::vector<std::unique_ptr<ExclusiveFile>> streams;
  if (std::error_code ec = file.OpenStreams(streams)) return ec;
  for (const std::unique_ptr<ExclusiveFile>& pStream : streams) {
    if (std::error_code ec = OverwritePart(*pStream, lPasses, PlanFor(*pStream)); ec || (ec = pStream->Close())) return ec;
  }
  if (std::error_code ec = OverwritePart(file, lPasses, plan)) return ec;
  // Giving back the blocks of a large file takes the file system a while; in steps, the window
  // stays responsive. Every byte is overwritten and on the medium by now.
  for (int64_t lKeep = file.Length() - kReleaseStep; lKeep > 0; lKeep -= kReleaseStep) {
    file.Truncate(lKeep);
    m_reporter.Breathe();
  }
  return {};
}

std::error_code Eraser::OverwritePart(ExclusiveFile& file, int32_t lPasses, const Plan& plan) {
  const int64_t lPassBytes = BytesIn(plan.ranges);
  std::vector<char> buffer(static_cast<size_t>(std::clamp<int64_t>(lPassBytes, kBlock, kChunk)));
  for (int32_t i = 0; i <= lPasses; ++i) {
    std::fill(buffer.begin(), buffer.end(), static_cast<char>(48 + i));
    int64_t lDone = 0;
    if (std::error_code ec = WritePass(file, plan, buffer, i, lDone, lPassBytes, true)) return ec;
    if (std::error_code ecFlush = file.Flush()) return ecFlush;
  }
  return CheckLastPass(file, plan, buffer);
}

std::error_code Eraser::WritePass(ExclusiveFile& file, const Plan& plan, const std::vector<char>& buffer, int32_t iPass,
                                  int64_t& lDone, int64_t lPassBytes, bool bWriteBack) {
  const int64_t lChunk = static_cast<int64_t>(buffer.size());
  // Chunks written but not yet waited for, oldest first, and the bytes they hold.
  std::deque<ByteRange> unwaited;
  int64_t lUnwaited = 0;
  for (const ByteRange& range : plan.ranges) {
    int64_t lCovered = range.End();
    for (int64_t lOffset = range.lOffset; lOffset < range.End(); lOffset += lChunk) {
      const int64_t lSize = std::min(lChunk, range.End() - lOffset);
      if (lOffset < lCovered) {
        int64_t lWritten = 0;
        const std::error_code ec = WriteWhole(file, lOffset, buffer.data(), lSize, lWritten);
        // Only the slack past the file's end may stay unwritten, and only for want of room.
        if (ec && (lOffset + lWritten < file.Length() || !IsNoRoom(ec))) return ec;
        if (ec) lCovered = lOffset + lWritten;
        if (bWriteBack && lWritten > 0) {
          if (std::error_code ecBack = file.StartWriteBack(lOffset, lWritten)) return ecBack;
          unwaited.push_back({lOffset, lWritten});
          lUnwaited += lWritten;
        }
        if (lUnwaited > kBacklog) {
          if (std::error_code ecWait = file.WaitWriteBack(unwaited.front().lOffset, unwaited.front().lLength)) return ecWait;
          lUnwaited -= unwaited.front().lLength;
          unwaited.pop_front();
        }
      }
      lDone += lSize;
      m_reporter.Written(lSize, iPass, static_cast<double>(lDone) / static_cast<double>(lPassBytes));
    }
  }
  return {};
}

std::error_code Eraser::CheckLastPass(ExclusiveFile& file, const Plan& plan, std::vector<char>& buffer) {
  // Where the system could not keep others away, what the file holds now must be the last
  // pass, every byte of it: another writer may have grown or rewritten it meanwhile. Nor may
  // another writer have given it blocks where it had holes.
  const bool bSame = (file.HeldAlone() || ReadsBackAs(file, file.Length(), plan.ranges, buffer)) &&
                     (!plan.bListed || PlanFor(file).ranges == plan.ranges);
  return bSame ? std::error_code() : KeptCause::kChangedMeanwhile;
}

std::error_code Eraser::WriteWhole(ExclusiveFile& file, int64_t lOffset, const char* pData, int64_t lSize,
                                   int64_t& lWritten) {
  lWritten = 0;
  while (lWritten < lSize) {
    int64_t lPart = 0;
    const std::error_code ec = file.WriteAt(lOffset + lWritten, pData + lWritten, lSize - lWritten, lPart);
    lWritten += std::max<int64_t>(lPart, 0);
    if (ec == std::errc::interrupted) continue;
    if (ec) return ec;
    if (lPart <= 0) return std::make_error_code(std::errc::no_space_on_device);
  }
  return {};
}

bool Eraser::ReadsBackAs(ExclusiveFile& file, int64_t lLength, const std::vector<ByteRange>& ranges,
                         std::vector<char>& filler) {
  const int64_t lNow = file.CurrentLength();
  if (lNow < lLength || lNow > std::max(lLength, ranges.empty() ? 0 : ranges.back().End())) return false;
  const char cFiller = filler.front();
  for (const ByteRange& range : ranges) {
    for (int64_t lOffset = range.lOffset; lOffset < std::min(range.End(), lNow);) {
      int64_t lRead = 0;
      const int64_t lWant = std::min<int64_t>(static_cast<int64_t>(filler.size()), std::min(range.End(), lNow) - lOffset);
      const std::error_code ec = file.ReadAt(lOffset, filler.data(), lWant, lRead);
      if (ec == std::errc::interrupted) continue;
      if (ec || lRead <= 0) return false;
      if (std::any_of(filler.begin(), filler.begin() + lRead, [&](char c) { return c != cFiller; })) return false;
      lOffset += lRead;
      m_reporter.Breathe();
    }
  }
  return true;
}

}  // namespace tarnwipe
