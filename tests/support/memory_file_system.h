// The file layer in memory, for the logic tests: entries under full paths, what was written,
// flushed and removed recorded, and failures on cue.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/paths.h"

namespace tarnwipe::test {

class MemoryFileSystem : public FileSystem {
 public:
  struct Node {
    int32_t lAttributes = kAttrArchive;
    std::string sContent;
    int64_t lLength = -1;   // set for a file too large to keep: only its length is tracked
    bool bRefused = false;  // the layer will not open it (locked, a second hard link)
  };
  struct Write {
    int64_t lOffset, lSize;
    char cFiller;   // the first byte written
    bool bUniform;  // every byte equal to cFiller
  };

  std::map<std::string, Node> nodes;  // by path without a trailing separator
  std::vector<Write> writes;
  std::vector<int64_t> truncations;
  std::vector<std::pair<std::string, std::string>> removals;  // path and content when removed
  std::set<std::string> unreadable, otherMounts;               // folder paths ending in "/"
  int iFlushes = 0, iFailWriteAt = -1, iFailFlushAt = -1;      // the write or flush that fails
  int64_t lNoRoomFrom = -1;  // writes reaching past this offset stop there with ENOSPC

  // Both make the missing folders above; AddFolder returns the path ending in the separator.
  Node& AddFile(const std::string& sPath, const std::string& sContent, int32_t lAttributes = kAttrArchive) {
    AddFolder(paths::FolderPart(sPath));
    return nodes[sPath] = {lAttributes, sContent};
  }
  std::string AddFolder(const std::string& sPath) {
    const std::string sFolder = paths::WithoutSeparator(sPath);
    if (sFolder.empty()) return sFolder;
    if (!paths::IsRoot(sFolder)) AddFolder(paths::FolderPart(sFolder));
    nodes[sFolder] = {kAttrDirectory, ""};
    return paths::WithSeparator(sFolder);
  }
  bool Exists(const std::string& sPath) const { return nodes.count(paths::WithoutSeparator(sPath)) != 0; }

  std::error_code Confine(const std::string& sRoot) override {
    if (!IsFolder(sRoot)) return std::make_error_code(std::errc::not_a_directory);
    m_sRoot = paths::WithSeparator(paths::WithoutSeparator(sRoot));
    return {};
  }
  void Unconfine() override { m_sRoot.clear(); }
  int32_t GetAttributes(const std::string& sPath) const override {
    const auto it = nodes.find(paths::WithoutSeparator(sPath));
    if (it == nodes.end()) return -1;
    return it->second.lAttributes | (paths::LastName(sPath)[0] == '.' ? kAttrHidden : 0);
  }
  int64_t FileLength(const std::string& sPath) const override {
    const auto it = nodes.find(sPath);
    if (it == nodes.end()) return -1;
    if ((it->second.lAttributes & kAttrLink) != 0) return 0;
    return it->second.lLength >= 0 ? it->second.lLength : static_cast<int64_t>(it->second.sContent.size());
  }
  std::error_code OpenExclusive(const std::string& sPath, std::unique_ptr<ExclusiveFile>& pFile) override;
  std::error_code RemoveLink(const std::string& sPath) override {
    return GetAttributes(sPath) != -1 && (GetAttributes(sPath) & kAttrLink) != 0 ? RemoveFile(sPath) : Refused();
  }
  std::error_code RemoveFolder(const std::string& sPath) override {
    const std::string sFolder = paths::WithSeparator(paths::WithoutSeparator(sPath));
    const auto next = nodes.upper_bound(paths::WithoutSeparator(sFolder));
    const bool bEmpty = next == nodes.end() || next->first.rfind(sFolder, 0) != 0;
    if (!Held(sFolder, true) || otherMounts.count(sFolder) != 0 || !bEmpty || !IsFolder(sFolder)) return Refused();
    nodes.erase(paths::WithoutSeparator(sFolder));
    return {};
  }
  std::vector<FolderEntry> ListFolder(const std::string& sFolder) const override {
    const std::string sPrefix = paths::WithSeparator(paths::WithoutSeparator(sFolder));
    std::vector<FolderEntry> entries;
    for (auto it = nodes.upper_bound(sPrefix); it != nodes.end() && it->first.rfind(sPrefix, 0) == 0; ++it) {
      const std::string sName = it->first.substr(sPrefix.size());
      if (sName.find('/') == std::string::npos && unreadable.count(sPrefix) == 0)
        entries.push_back({sName, GetAttributes(it->first)});
    }
    return entries;
  }
  FolderAccess ProbeFolder(const std::string& sFolder) const override {
    if (otherMounts.count(sFolder) != 0) return FolderAccess::kOtherFileSystem;
    return IsFolder(sFolder) && unreadable.count(sFolder) == 0 ? FolderAccess::kReadable : FolderAccess::kUnreadable;
  }
  std::string CanonicalPath(const std::string& sPath) const override { return sPath; }

  std::error_code RemoveFile(const std::string& sPath) {
    if (!Held(sPath) || !Exists(sPath)) return Refused();
    removals.emplace_back(sPath, nodes[sPath].sContent);
    nodes.erase(sPath);
    return {};
  }

 private:
  static std::error_code Refused() { return std::make_error_code(std::errc::operation_not_permitted); }
  bool IsFolder(const std::string& sPath) const {
    return GetAttributes(sPath) != -1 && (GetAttributes(sPath) & kAttrDirectory) != 0;
  }
  // True when a map is held and sPath lies below it (or is it, when bRootToo).
  bool Held(const std::string& sPath, bool bRootToo = false) const {
    const std::string sEntry = paths::WithSeparator(paths::WithoutSeparator(sPath));
    return !m_sRoot.empty() && sEntry.rfind(m_sRoot, 0) == 0 && (bRootToo || sEntry != m_sRoot);
  }

  std::string m_sRoot;
};

// An open file of the memory layer: writes land in the node, or only lengthen a large one.
class MemoryFile : public ExclusiveFile {
 public:
  MemoryFile(MemoryFileSystem& fs, std::string sPath)
      : m_fs(fs), m_sPath(std::move(sPath)), m_lLength(fs.FileLength(m_sPath)) {}
  int64_t Length() const override { return m_lLength; }
  std::error_code WriteAt(int64_t lOffset, const char* pData, int64_t lSize, int64_t& lWritten) override {
    m_fs.writes.push_back({lOffset, lSize, pData[0], std::all_of(pData, pData + lSize, [&](char c) { return c == *pData; })});
    lWritten = 0;
    if (static_cast<int>(m_fs.writes.size()) - 1 == m_fs.iFailWriteAt) return std::make_error_code(std::errc::io_error);
    lWritten = m_fs.lNoRoomFrom < 0 ? lSize : std::clamp<int64_t>(m_fs.lNoRoomFrom - lOffset, 0, lSize);
    MemoryFileSystem::Node& node = m_fs.nodes[m_sPath];
    if (node.lLength >= 0) {
      node.lLength = std::max(node.lLength, lOffset + lWritten);
    } else if (lWritten > 0) {
      node.sContent.resize(std::max(node.sContent.size(), static_cast<size_t>(lOffset + lWritten)));
      node.sContent.replace(static_cast<size_t>(lOffset), static_cast<size_t>(lWritten), pData, static_cast<size_t>(lWritten));
    }
    return lWritten < lSize ? std::make_error_code(std::errc::no_space_on_device) : std::error_code();
  }
  void StartWriteBack(int64_t, int64_t) override {}
  void WaitWriteBack(int64_t, int64_t) override {}
  std::error_code Truncate(int64_t lLength) override {
    m_fs.truncations.push_back(lLength);
    return {};
  }
  std::error_code Flush() override {
    return m_fs.iFlushes++ == m_fs.iFailFlushAt ? std::make_error_code(std::errc::io_error) : std::error_code();
  }
  std::error_code Remove() override { return m_fs.RemoveFile(m_sPath); }
  std::error_code Close() override { return {}; }

 private:
  MemoryFileSystem& m_fs;
  std::string m_sPath;
  int64_t m_lLength;
};

inline std::error_code MemoryFileSystem::OpenExclusive(const std::string& sPath, std::unique_ptr<ExclusiveFile>& pFile) {
  pFile.reset();
  const auto it = nodes.find(sPath);
  if (!Held(sPath) || it == nodes.end() || it->second.bRefused ||
      (it->second.lAttributes & (kAttrDirectory | kAttrLink | kAttrSystem)) != 0)
    return Refused();
  pFile = std::make_unique<MemoryFile>(*this, sPath);
  return {};
}

}  // namespace tarnwipe::test
