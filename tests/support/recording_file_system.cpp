// A recorder around each open erase file.
#include "recording_file_system.h"

#include <algorithm>

#include "temp_folder.h"

namespace tarnwipe::test {
namespace {

class RecordingFile : public ExclusiveFile {
 public:
  RecordingFile(RecordingFileSystem& owner, std::string sPath, std::unique_ptr<ExclusiveFile> pInner)
      : m_owner(owner), m_sPath(std::move(sPath)), m_pInner(std::move(pInner)) {}

  int64_t Length() const override { return m_pInner->Length(); }

  std::error_code WriteAt(int64_t lOffset, const char* pData, int64_t lSize, int64_t& lWritten) override {
    const bool bUniform = std::all_of(pData, pData + lSize, [&](char c) { return c == pData[0]; });
    const int iIndex = static_cast<int>(m_owner.writes.size());
    m_owner.writes.push_back({lOffset, lSize, pData[0], bUniform});
    lWritten = 0;
    if (iIndex == m_owner.iFailWriteAt) return std::make_error_code(std::errc::io_error);
    int64_t lAllowed = lSize;
    if (m_owner.lNoRoomFrom >= 0) lAllowed = std::clamp<int64_t>(m_owner.lNoRoomFrom - lOffset, 0, lSize);
    if (m_owner.bSwallowWrites) {
      lWritten = lAllowed;
    } else if (lAllowed > 0) {
      const std::error_code ec = m_pInner->WriteAt(lOffset, pData, lAllowed, lWritten);
      if (ec) return ec;
    }
    return lAllowed < lSize ? std::make_error_code(std::errc::no_space_on_device) : std::error_code();
  }

  void StartWriteBack(int64_t lOffset, int64_t lSize) override { m_pInner->StartWriteBack(lOffset, lSize); }
  void WaitWriteBack(int64_t lOffset, int64_t lSize) override { m_pInner->WaitWriteBack(lOffset, lSize); }
  std::error_code Truncate(int64_t lLength) override {
    m_owner.truncations.push_back(lLength);
    return m_pInner->Truncate(lLength);
  }

  std::error_code Flush() override {
    if (m_owner.iFlushes++ == m_owner.iFailFlushAt) return std::make_error_code(std::errc::io_error);
    return m_pInner->Flush();
  }

  std::error_code Remove() override {
    m_owner.Before("Remove", m_sPath);
    m_owner.RecordRemoval(m_sPath);
    return m_pInner->Remove();
  }

  std::error_code Close() override { return m_pInner->Close(); }

 private:
  RecordingFileSystem& m_owner;
  std::string m_sPath;
  std::unique_ptr<ExclusiveFile> m_pInner;
};

}  // namespace

std::error_code RecordingFileSystem::OpenExclusive(const std::string& sPath, std::unique_ptr<ExclusiveFile>& pFile) {
  Before("OpenExclusive", sPath);
  std::unique_ptr<ExclusiveFile> pInner;
  const std::error_code ec = PosixFileSystem::OpenExclusive(sPath, pInner);
  if (ec) return ec;
  pFile = std::make_unique<RecordingFile>(*this, sPath, std::move(pInner));
  return {};
}

void RecordingFileSystem::RecordRemoval(const std::string& sPath) {
  const int64_t lSize = FileLength(sPath);
  const bool bLink = (GetAttributes(sPath) & kAttrLink) != 0;
  removals.push_back({sPath, lSize, !bLink && lSize >= 0 && lSize <= 65536 ? ReadFile(sPath) : std::string()});
}

std::error_code RecordingFileSystem::RemoveLink(const std::string& sPath) {
  Before("RemoveLink", sPath);
  RecordRemoval(sPath);
  return PosixFileSystem::RemoveLink(sPath);
}

std::error_code RecordingFileSystem::RemoveFolder(const std::string& sPath) {
  Before("RemoveFolder", sPath);
  return PosixFileSystem::RemoveFolder(sPath);
}

std::vector<FolderEntry> RecordingFileSystem::ListFolder(const std::string& sFolder) const {
  Before("ListFolder", sFolder);
  return PosixFileSystem::ListFolder(sFolder);
}

}  // namespace tarnwipe::test
