// The in-memory file layer and its open erase file.
#include "memory_file_system.h"

#include <algorithm>

#include "platform/paths.h"

namespace tarnwipe::test {
namespace {

std::error_code Error(std::errc e) { return std::make_error_code(e); }

class MemoryFile : public ExclusiveFile {
 public:
  MemoryFile(MemoryFileSystem& fs, std::string sPath)
      : m_fs(fs), m_sPath(std::move(sPath)), m_lLength(Node().lLength >= 0 ? Node().lLength : Size()) {}

  int64_t Length() const override { return m_lLength; }
  std::error_code WriteAt(int64_t lOffset, const char* pData, int64_t lSize, int64_t& lWritten) override {
    const bool bUniform = std::all_of(pData, pData + lSize, [&](char c) { return c == pData[0]; });
    m_fs.writes.push_back({lOffset, lSize, pData[0], bUniform});
    lWritten = 0;
    if (static_cast<int>(m_fs.writes.size()) - 1 == m_fs.iFailWriteAt) return Error(std::errc::io_error);
    lWritten = m_fs.lNoRoomFrom < 0 ? lSize : std::clamp<int64_t>(m_fs.lNoRoomFrom - lOffset, 0, lSize);
    MemoryFileSystem::Node& node = Node();
    if (node.lLength >= 0) {
      node.lLength = std::max(node.lLength, lOffset + lWritten);
    } else if (lWritten > 0) {
      if (Size() < lOffset + lWritten) node.sContent.resize(static_cast<size_t>(lOffset + lWritten));
      node.sContent.replace(static_cast<size_t>(lOffset), static_cast<size_t>(lWritten), pData,
                            static_cast<size_t>(lWritten));
    }
    return lWritten < lSize ? Error(std::errc::no_space_on_device) : std::error_code();
  }
  void StartWriteBack(int64_t, int64_t) override {}
  void WaitWriteBack(int64_t, int64_t) override {}
  std::error_code Truncate(int64_t lLength) override {
    m_fs.truncations.push_back(lLength);
    return {};
  }
  std::error_code Flush() override {
    return m_fs.iFlushes++ == m_fs.iFailFlushAt ? Error(std::errc::io_error) : std::error_code();
  }
  std::error_code Remove() override { return m_fs.RemoveFile(m_sPath); }
  std::error_code Close() override { return {}; }

 private:
  MemoryFileSystem::Node& Node() { return m_fs.nodes[m_sPath]; }
  int64_t Size() { return static_cast<int64_t>(Node().sContent.size()); }

  MemoryFileSystem& m_fs;
  std::string m_sPath;
  int64_t m_lLength;
};

}  // namespace

std::string MemoryFileSystem::AddFile(const std::string& sPath, const std::string& sContent, int32_t lAttributes) {
  AddFolder(paths::FolderPart(sPath));
  nodes[sPath] = {lAttributes, sContent};
  return sPath;
}

std::string MemoryFileSystem::AddFolder(const std::string& sPath) {
  const std::string sFolder = paths::WithoutSeparator(sPath);
  if (sFolder.empty()) return sFolder;
  if (!paths::IsRoot(sFolder)) AddFolder(paths::FolderPart(sFolder));
  nodes[sFolder] = {kAttrDirectory, ""};
  return paths::WithSeparator(sFolder);
}

const MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& sPath) const {
  const auto it = nodes.find(paths::WithoutSeparator(sPath));
  return it == nodes.end() ? nullptr : &it->second;
}

bool MemoryFileSystem::Exists(const std::string& sPath) const { return Find(sPath) != nullptr; }

std::string MemoryFileSystem::Content(const std::string& sPath) const {
  const Node* pNode = Find(sPath);
  return pNode != nullptr ? pNode->sContent : "(gone)";
}

bool MemoryFileSystem::Held(const std::string& sPath, bool bRootToo) const {
  const std::string sEntry = paths::WithSeparator(paths::WithoutSeparator(sPath));
  return !m_sRoot.empty() && sEntry.rfind(m_sRoot, 0) == 0 && (bRootToo || sEntry != m_sRoot);
}

std::error_code MemoryFileSystem::Confine(const std::string& sRoot) {
  if ((GetAttributes(sRoot) & kAttrDirectory) == 0) return Error(std::errc::not_a_directory);
  m_sRoot = paths::WithSeparator(paths::WithoutSeparator(sRoot));
  return {};
}

int32_t MemoryFileSystem::GetAttributes(const std::string& sPath) const {
  const Node* pNode = Find(sPath);
  if (pNode == nullptr) return -1;
  return pNode->lAttributes | (paths::LastName(sPath)[0] == '.' ? kAttrHidden : 0);
}

int64_t MemoryFileSystem::FileLength(const std::string& sPath) const {
  const Node* pNode = Find(sPath);
  if (pNode == nullptr) return -1;
  if ((pNode->lAttributes & kAttrLink) != 0) return 0;
  return pNode->lLength >= 0 ? pNode->lLength : static_cast<int64_t>(pNode->sContent.size());
}

std::error_code MemoryFileSystem::OpenExclusive(const std::string& sPath, std::unique_ptr<ExclusiveFile>& pFile) {
  pFile.reset();
  const Node* pNode = Find(sPath);
  if (!Held(sPath) || pNode == nullptr) return Error(std::errc::no_such_file_or_directory);
  if (pNode->bRefused || (pNode->lAttributes & (kAttrDirectory | kAttrLink | kAttrSystem)) != 0)
    return Error(std::errc::operation_not_permitted);
  pFile = std::make_unique<MemoryFile>(*this, sPath);
  return {};
}

std::error_code MemoryFileSystem::RemoveFile(const std::string& sPath) {
  const Node* pNode = Find(sPath);
  if (!Held(sPath) || pNode == nullptr) return Error(std::errc::no_such_file_or_directory);
  removals.push_back({sPath, pNode->sContent});
  nodes.erase(sPath);
  return {};
}

std::error_code MemoryFileSystem::RemoveLink(const std::string& sPath) {
  if ((GetAttributes(sPath) & kAttrLink) == 0 || GetAttributes(sPath) == -1) return Error(std::errc::invalid_argument);
  return RemoveFile(sPath);
}

std::error_code MemoryFileSystem::RemoveFolder(const std::string& sPath) {
  const std::string sFolder = paths::WithSeparator(paths::WithoutSeparator(sPath));
  if (!Held(sFolder, true) || otherMounts.count(sFolder) != 0) return Error(std::errc::permission_denied);
  const auto next = nodes.upper_bound(paths::WithoutSeparator(sFolder));
  if (next != nodes.end() && next->first.rfind(sFolder, 0) == 0) return Error(std::errc::directory_not_empty);
  return nodes.erase(paths::WithoutSeparator(sFolder)) == 1 ? std::error_code() : Error(std::errc::not_a_directory);
}

std::vector<FolderEntry> MemoryFileSystem::ListFolder(const std::string& sFolder) const {
  const std::string sPrefix = paths::WithSeparator(paths::WithoutSeparator(sFolder));
  std::vector<FolderEntry> entries;
  if (unreadable.count(sPrefix) != 0) return entries;
  for (auto it = nodes.lower_bound(sPrefix); it != nodes.end() && it->first.rfind(sPrefix, 0) == 0; ++it) {
    const std::string sName = it->first.substr(sPrefix.size());
    if (sName.find(paths::kSeparator) == std::string::npos) entries.push_back({sName, GetAttributes(it->first)});
  }
  return entries;
}

FolderAccess MemoryFileSystem::ProbeFolder(const std::string& sFolder) const {
  if (otherMounts.count(sFolder) != 0) return FolderAccess::kOtherFileSystem;
  const bool bFolder = (GetAttributes(sFolder) & kAttrDirectory) != 0 && GetAttributes(sFolder) != -1;
  return bFolder && unreadable.count(sFolder) == 0 ? FolderAccess::kReadable : FolderAccess::kUnreadable;
}

}  // namespace tarnwipe::test
