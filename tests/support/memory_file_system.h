// The file layer in memory, for the logic tests: files, folders, links and other entries under
// full paths, with what was written, flushed and removed recorded, and failures on cue.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/file_system.h"

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
  struct Removal {
    std::string sPath, sContent;  // the file's content when it was removed
  };

  std::map<std::string, Node> nodes;  // by path without a trailing separator
  std::vector<Write> writes;
  std::vector<int64_t> truncations;
  std::vector<Removal> removals;
  std::set<std::string> unreadable, otherMounts;  // folder paths ending in the separator
  int iFlushes = 0;
  int iFailWriteAt = -1;     // index of the write that fails with EIO
  int iFailFlushAt = -1;     // index of the flush that fails with EIO
  int64_t lNoRoomFrom = -1;  // writes reaching past this offset stop there with ENOSPC

  // Each makes the missing folders above the path; AddFolder returns the path ending in "/".
  std::string AddFile(const std::string& sPath, const std::string& sContent, int32_t lAttributes = kAttrArchive);
  std::string AddFolder(const std::string& sPath);
  bool Exists(const std::string& sPath) const;
  std::string Content(const std::string& sPath) const;

  std::error_code Confine(const std::string& sRoot) override;
  void Unconfine() override { m_sRoot.clear(); }
  int32_t GetAttributes(const std::string& sPath) const override;
  int64_t FileLength(const std::string& sPath) const override;
  std::error_code OpenExclusive(const std::string& sPath, std::unique_ptr<ExclusiveFile>& pFile) override;
  std::error_code RemoveLink(const std::string& sPath) override;
  std::error_code RemoveFolder(const std::string& sPath) override;
  std::vector<FolderEntry> ListFolder(const std::string& sFolder) const override;
  FolderAccess ProbeFolder(const std::string& sFolder) const override;
  std::string CanonicalPath(const std::string& sPath) const override { return sPath; }

  // Removes a file, recording its content; as a file's Remove does.
  std::error_code RemoveFile(const std::string& sPath);

 private:
  const Node* Find(const std::string& sPath) const;
  // True when a map is held and sPath lies below it (or is it, when bRootToo).
  bool Held(const std::string& sPath, bool bRootToo = false) const;

  std::string m_sRoot;
};

}  // namespace tarnwipe::test
