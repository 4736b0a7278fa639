// The file layer in memory, for the logic tests: entries under full paths, what was written,
// flushed and removed recorded, and failures on cue.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "native_path.h"
#include "paths/path_text.h"

namespace tarnwipe::test {

class MemoryFileSystem : public FileSystem {
 public:
  struct Node {
    int32_t lAttributes = kAttrArchive;
    std::string sContent;
    int64_t lLength = -1;   // set for a file too large to keep: only its length is tracked
    bool bRefused = false;  // the layer will not open it: another program holds it
    int iLinks = 1;         // its names
    int64_t lAllocated = 0;  // bytes in blocks of its own; 0 for data kept in its record
    std::vector<ByteRange> owned;  // the ranges it owns, when the layer can list them (bListed)
    bool bListed = false;
    std::vector<std::string> asStreams;  // the content of its named streams
  };
  std::map<std::string, Node> nodes;  // by path without a trailing separator
  std::vector<Node> flushed;          // the open file as it stood at each flush
  std::vector<std::pair<std::string, std::string>> removals;  // a removed file's path and content
  std::map<std::string, FolderAccess> access;                  // folders (ending in the separator) not readable
  std::string sKeepsCopies;                                    // what FileSystemKeepingCopies says
  int64_t lBytesWritten = 0;
  int iWrites = 0, iTruncations = 0, iFailWriteAt = -1, iFailFlushAt = -1;
  int64_t lNoRoomFrom = -1;  // writes reaching past this offset stop there with ENOSPC
  int64_t lBlock = 0;        // the allocation unit the open files report
  int64_t lWriteLimit = 0;   // when set, no single write lands more than this many bytes
  bool bShared = false;      // the open file cannot be held alone: the engine reads it back
  bool bFailWriteBack = false;  // waiting for a range's write-back reports a write error
  bool bNamesStay = false;      // a removed file's or folder's name could not be renamed away first
  bool bFlushesTogether = false;  // one call makes every open file durable (else each flushes alone)
  bool bTogetherFails = false;    // that call reports a write error of some file
  int iTogether = 0;              // how often it was made
  std::function<void(Node&)> onFlush;  // runs at every flush, as another writer would
  DiskSpace space{int64_t{1} << 40, int64_t{1} << 40, "memfs", Native("/")};  // what every folder's disk says of its space
  int64_t lRoom = 0;                 // the bytes fillers may still take
  int iFillers = 0;                  // fillers alive now
  std::vector<std::string> fillerFlushes;  // a filler's content at each flush
  int iShortFlushAt = -1;  // that filler flush could not place the filler's last half: gone, room again
  int64_t lJournalLogged = -1;             // what the journal logged so far; -1: no journal to tell of
  int64_t lLoggedPerRewrite = 0;           // what each rewrite of records adds to it

  // Both make the missing folders above; AddFolder returns the path ending in the separator.
  // Paths handed in by a test may be written the POSIX way (Native).
  Node& AddFile(const std::string& sPath, const std::string& sContent, int32_t lAttributes = kAttrArchive) {
    AddFolder(paths::FolderPart(Native(sPath)));
    Node& node = nodes[Native(sPath)] = Node();
    node.lAttributes = lAttributes;
    node.sContent = sContent;
    return node;
  }
  std::string AddFolder(const std::string& sPath) {
    const std::string sFolder = paths::WithoutSeparator(Native(sPath));
    if (!paths::IsRoot(sFolder)) AddFolder(paths::FolderPart(sFolder));
    nodes[sFolder] = Node();
    nodes[sFolder].lAttributes = kAttrDirectory;
    return paths::WithSeparator(sFolder);
  }
  const Node* Find(const std::string& sPath) const {
    const auto it = nodes.find(paths::WithoutSeparator(Native(sPath)));
    return it == nodes.end() ? nullptr : &it->second;
  }
  // Removes an entry below the held map (or the map itself, when bRootToo), noting a file's content.
  std::error_code Remove(const std::string& sPath, bool bRootToo = false) {
    const std::string sEntry = paths::AsFolder(sPath);
    if (m_sRoot.empty() || !sEntry.starts_with(m_sRoot) || (sEntry == m_sRoot && !bRootToo) || !Find(sPath))
      return Refused();
    if (!Is(sPath, kAttrDirectory)) removals.emplace_back(sPath, Find(sPath)->sContent);
    nodes.erase(paths::WithoutSeparator(sPath));
    return {};
  }

  std::error_code Confine(const std::string& sRoot) override {
    if (!Is(sRoot, kAttrDirectory)) return Refused();
    m_sRoot = paths::AsFolder(sRoot);
    return {};
  }
  void Unconfine() override { m_sRoot.clear(); }
  int HeldDepthIn(const std::string& sFolder) const override {
    if (m_sRoot.empty() || !paths::LiesIn(m_sRoot, Native(sFolder))) return -1;
    return static_cast<int>(std::count(m_sRoot.begin() + static_cast<long>(Native(sFolder).size()), m_sRoot.end(), paths::Separator()));
  }
  int32_t GetAttributes(const std::string& sPath) const override {
    const Node* p = Find(sPath);
    return p == nullptr ? -1 : p->lAttributes | (paths::LastName(sPath)[0] == '.' ? kAttrHidden : 0);
  }
  int64_t FileLength(const std::string& sPath) const override {
    const Node* p = Find(sPath);
    if (p == nullptr || Is(sPath, kAttrLink)) return p == nullptr ? -1 : 0;
    return p->lLength >= 0 ? p->lLength : static_cast<int64_t>(p->sContent.size());
  }
  std::string ReadStart(const std::string& sPath, size_t lMax) const override {
    const Node* p = Find(sPath);
    return p == nullptr ? "" : p->sContent.substr(0, lMax);
  }
  std::error_code PrepareOpen(const std::string& sPath, std::unique_ptr<ExclusiveOpenSteps>& pSteps) override;
  std::error_code RemoveLink(const std::string& sPath) override { return Is(sPath, kAttrLink) ? Remove(sPath) : Refused(); }
  std::error_code HoldFolder(const std::string& sPath, std::unique_ptr<HeldFolder>& pFolder) override;
  bool IsEmpty(const std::string& sFolder) const {
    const auto next = nodes.upper_bound(paths::WithoutSeparator(sFolder));
    return next == nodes.end() || !next->first.starts_with(sFolder);
  }
  std::vector<FolderEntry> ListFolder(const std::string& sFolder) const override {
    std::vector<FolderEntry> entries;
    for (auto it = nodes.upper_bound(sFolder); it != nodes.end() && it->first.starts_with(sFolder); ++it) {
      const std::string sName = it->first.substr(sFolder.size());
      if (sName.find(paths::Separator()) == std::string::npos && ProbeFolder(sFolder) != FolderAccess::kUnreadable)
        entries.push_back({sName, GetAttributes(it->first)});
    }
    return entries;
  }
  FolderAccess ProbeFolder(const std::string& sFolder) const override {
    return access.count(sFolder) != 0 ? access.at(sFolder) : FolderAccess::kReadable;
  }
  std::string FileSystemKeepingCopies(const std::string&) const override { return sKeepsCopies; }
  std::string CanonicalPath(const std::string& sPath) const override { return sPath; }
  std::error_code SpaceOf(const std::string& sFolder, DiskSpace& disk) const override {
    disk = space;
    return Is(sFolder, kAttrDirectory) ? std::error_code() : std::make_error_code(std::errc::no_such_file_or_directory);
  }
  std::error_code MakeWorkFolder(const std::string& sPath) override {
    if (Find(sPath)) return std::make_error_code(std::errc::file_exists);
    AddFolder(sPath);
    return {};
  }
  std::error_code CreateFiller(const std::string& sFolder, const std::string&, std::unique_ptr<Filler>& pFiller) override;
  std::error_code RemoveLeftover(const std::string& sPath) override {
    if (!Find(sPath) || (Is(sPath, kAttrDirectory) && !IsEmpty(paths::AsFolder(sPath)))) return Refused();
    nodes.erase(paths::WithoutSeparator(sPath));
    return {};
  }

  int64_t JournalLogged(const std::string&) const override { return lJournalLogged; }
  std::error_code CreateRewriter(const std::string&, const std::string&, int, std::unique_ptr<RecordRewriter>& pRewriter) override;

  bool Is(const std::string& sPath, int32_t lAttribute) const {
    return GetAttributes(sPath) != -1 && (GetAttributes(sPath) & lAttribute) != 0;
  }

 private:
  static std::error_code Refused() { return std::make_error_code(std::errc::operation_not_permitted); }

  std::string m_sRoot;
};

// An open file of the memory layer: writes land in its node (or in one of its named streams),
// or only lengthen a large one.
class MemoryFile : public ExclusiveFile {
 public:
  MemoryFile(MemoryFileSystem& fs, std::string sPath, int iStream = -1)
      : m_fs(fs), m_sPath(std::move(sPath)), m_iStream(iStream), m_lLength(static_cast<int64_t>(Content().size())) {
    if (iStream < 0) m_lLength = fs.FileLength(m_sPath);
  }
  int64_t Length() const override { return m_lLength; }
  int64_t AllocatedBytes() const override { return m_iStream < 0 ? m_fs.nodes[m_sPath].lAllocated : 0; }
  int64_t BlockSize() const override { return m_fs.lBlock; }
  std::error_code OwnedRanges(std::vector<ByteRange>& ranges) const override {
    const MemoryFileSystem::Node& node = m_fs.nodes[m_sPath];
    ranges = node.owned;
    return node.bListed && m_iStream < 0 ? std::error_code() : std::make_error_code(std::errc::not_supported);
  }
  std::error_code WriteAt(int64_t lOffset, const char* pData, int64_t lSize, int64_t& lWritten) override {
    lWritten = 0;
    if (m_fs.iWrites++ == m_fs.iFailWriteAt) return std::make_error_code(std::errc::io_error);
    if (m_fs.lWriteLimit > 0) lSize = std::min(lSize, m_fs.lWriteLimit);
    lWritten = m_fs.lNoRoomFrom < 0 ? lSize : std::clamp<int64_t>(m_fs.lNoRoomFrom - lOffset, 0, lSize);
    m_fs.lBytesWritten += lWritten;
    MemoryFileSystem::Node& node = m_fs.nodes[m_sPath];
    if (m_iStream < 0 && node.lLength >= 0) {
      node.lLength = std::max(node.lLength, lOffset + lWritten);
    } else if (lWritten > 0) {
      std::string& sContent = Content();
      sContent.resize(std::max(sContent.size(), static_cast<size_t>(lOffset + lWritten)));
      std::copy(pData, pData + lWritten, sContent.begin() + lOffset);
    }
    return lWritten < lSize ? std::make_error_code(std::errc::no_space_on_device) : std::error_code();
  }
  std::error_code ReadAt(int64_t lOffset, char* pData, int64_t lSize, int64_t& lRead) override {
    const std::string& sContent = Content();
    lRead = std::clamp<int64_t>(static_cast<int64_t>(sContent.size()) - lOffset, 0, lSize);
    std::copy_n(sContent.begin() + lOffset, lRead, pData);
    return {};
  }
  int64_t CurrentLength() const override { return static_cast<int64_t>(Content().size()); }
  std::error_code StartWriteBack(int64_t, int64_t) override { return {}; }
  std::error_code WaitWriteBack(int64_t, int64_t) override {
    return m_fs.bFailWriteBack ? std::make_error_code(std::errc::io_error) : std::error_code();
  }
  std::error_code Truncate(int64_t lLength) override {
    ++m_fs.iTruncations;
    MemoryFileSystem::Node& node = m_fs.nodes[m_sPath];
    node.lLength >= 0 ? void(node.lLength = lLength) : Content().resize(static_cast<size_t>(lLength));
    return {};
  }
  std::error_code Flush() override {
    if (m_fs.onFlush) m_fs.onFlush(m_fs.nodes[m_sPath]);
    m_fs.flushed.push_back(m_fs.nodes[m_sPath]);
    return static_cast<int>(m_fs.flushed.size()) - 1 == m_fs.iFailFlushAt ? std::make_error_code(std::errc::io_error)
                                                                          : std::error_code();
  }
  std::error_code FlushFileSystem() override {
    if (!m_fs.bFlushesTogether) return std::make_error_code(std::errc::not_supported);
    ++m_fs.iTogether;
    return m_fs.bTogetherFails ? std::make_error_code(std::errc::io_error) : std::error_code();
  }
  bool HeldAlone() const override { return !m_fs.bShared; }
  std::error_code OpenStreams(std::vector<std::unique_ptr<ExclusiveFile>>& streams) override {
    streams.clear();
    for (size_t i = 0; i < m_fs.nodes[m_sPath].asStreams.size(); ++i)
      streams.push_back(std::make_unique<MemoryFile>(m_fs, m_sPath, static_cast<int>(i)));
    return {};
  }
  std::error_code HoldName(std::unique_ptr<HeldName>& pName) override;
  std::error_code Close() override { return {}; }

 private:
  std::string& Content() const {
    MemoryFileSystem::Node& node = m_fs.nodes[m_sPath];
    return m_iStream < 0 ? node.sContent : node.asStreams[static_cast<size_t>(m_iStream)];
  }

  MemoryFileSystem& m_fs;
  std::string m_sPath;
  int m_iStream;
  int64_t m_lLength;
};

// An entry of the memory layer, as its opening and its removal see it. It opens with the
// identity its attributes give. Where names stay (bNamesStay), the layer says it keeps removed
// names but renames nothing and takes no filler.
class MemoryEntry : public HeldFolder, public ExclusiveOpenSteps {
 public:
  MemoryEntry(MemoryFileSystem& fs, std::string sPath) : m_fs(fs), m_sPath(std::move(sPath)) {}
  std::error_code Pin(EntryIdentity& id) override {
    id.kind = m_fs.Is(m_sPath, kAttrDirectory)           ? EntryIdentity::Kind::kFolder
              : m_fs.Is(m_sPath, kAttrLink | kAttrSystem) ? EntryIdentity::Kind::kOther
                                                          : EntryIdentity::Kind::kFile;
    id.lLinks = m_fs.Find(m_sPath)->iLinks;
    return {};
  }
  std::error_code MakeWritable() override { return {}; }
  std::error_code OpenForWriting(EntryIdentity& id) override { return Pin(id); }
  std::unique_ptr<ExclusiveFile> Opened() override { return std::make_unique<MemoryFile>(m_fs, m_sPath); }
  bool KeepsFreedEntries() const override { return m_fs.bNamesStay; }
  bool AreaKeepsFreedEntries() const override { return m_fs.bNamesStay; }
  size_t NameLength() const override { return paths::LastName(m_sPath).size(); }
  std::error_code Rename(const std::string&) override { return std::make_error_code(std::errc::operation_not_permitted); }
  std::error_code Delete() override {
    if (!m_fs.Is(m_sPath, kAttrDirectory)) return m_fs.Remove(m_sPath);
    const bool bMount = m_fs.ProbeFolder(paths::AsFolder(m_sPath)) == FolderAccess::kOtherFileSystem;
    return IsEmpty() && !bMount ? m_fs.Remove(m_sPath, true) : std::make_error_code(std::errc::directory_not_empty);
  }
  FolderKey Folder() const override { return {0, std::hash<std::string>()(paths::FolderPart(m_sPath))}; }
  FolderKey Key() const override { return {0, std::hash<std::string>()(paths::AsFolder(m_sPath))}; }
  bool IsEmpty() const override { return m_fs.IsEmpty(paths::AsFolder(m_sPath)); }
  int64_t AreaSize() const override { return 0; }
  std::error_code AddFiller(const std::string& sName) override { return Rename(sName); }
  void RemoveFillers() override {}

 private:
  MemoryFileSystem& m_fs;
  std::string m_sPath;
};

// A filler of the memory layer: it takes room while it lives.
class MemoryFiller : public Filler {
 public:
  explicit MemoryFiller(MemoryFileSystem& fs) : m_fs(fs) { ++fs.iFillers; }
  ~MemoryFiller() override {
    m_fs.lRoom += static_cast<int64_t>(m_sContent.size());
    --m_fs.iFillers;
  }
  std::error_code WriteAt(int64_t lOffset, const char* pData, int64_t lSize, int64_t& lWritten) override {
    const int64_t lGrowth = std::max<int64_t>(0, lOffset + lSize - static_cast<int64_t>(m_sContent.size()));
    lWritten = lSize - std::max<int64_t>(0, lGrowth - m_fs.lRoom);
    if (m_fs.iWrites++ == m_fs.iFailWriteAt) return lWritten = 0, std::make_error_code(std::errc::io_error);
    m_fs.lRoom -= std::min(lGrowth, m_fs.lRoom);
    m_sContent.resize(std::max(m_sContent.size(), static_cast<size_t>(lOffset + lWritten)));
    std::copy(pData, pData + lWritten, m_sContent.begin() + lOffset);
    return lWritten < lSize ? std::make_error_code(std::errc::no_space_on_device) : std::error_code();
  }
  std::error_code StartWriteBack(int64_t, int64_t) override { return {}; }
  std::error_code WaitWriteBack(int64_t, int64_t) override { return {}; }
  std::error_code Flush() override {
    m_fs.fillerFlushes.push_back(m_sContent);
    if (static_cast<int>(m_fs.fillerFlushes.size()) - 1 != m_fs.iShortFlushAt) return {};
    m_fs.lRoom += static_cast<int64_t>(m_sContent.size() / 2);
    m_sContent.resize(m_sContent.size() - m_sContent.size() / 2);
    return std::make_error_code(std::errc::no_space_on_device);
  }
  std::error_code CommitFileSystem() override { return {}; }

 private:
  MemoryFileSystem& m_fs;
  std::string m_sContent;
};

// Records of the memory layer: each rewrite is logged.
class MemoryRewriter : public RecordRewriter {
 public:
  explicit MemoryRewriter(MemoryFileSystem& fs) : m_fs(fs) {}
  std::error_code Rewrite() override {
    m_fs.lJournalLogged += m_fs.lLoggedPerRewrite;
    return {};
  }

 private:
  MemoryFileSystem& m_fs;
};

inline std::error_code MemoryFileSystem::CreateRewriter(const std::string&, const std::string&, int,
                                                        std::unique_ptr<RecordRewriter>& pRewriter) {
  pRewriter = std::make_unique<MemoryRewriter>(*this);
  return {};
}

inline std::error_code MemoryFileSystem::CreateFiller(const std::string& sFolder, const std::string&, std::unique_ptr<Filler>& pFiller) {
  if (!Is(sFolder, kAttrDirectory)) return std::make_error_code(std::errc::no_such_file_or_directory);
  pFiller = std::make_unique<MemoryFiller>(*this);
  return {};
}

inline std::error_code MemoryFileSystem::PrepareOpen(const std::string& sPath, std::unique_ptr<ExclusiveOpenSteps>& pSteps) {
  const Node* p = Find(sPath);
  if (p == nullptr) return std::make_error_code(std::errc::no_such_file_or_directory);
  if (p->bRefused) return std::make_error_code(std::errc::device_or_resource_busy);
  if (m_sRoot.empty() || !sPath.starts_with(m_sRoot)) return Refused();
  pSteps = std::make_unique<MemoryEntry>(*this, sPath);
  return {};
}

inline std::error_code MemoryFileSystem::HoldFolder(const std::string& sPath, std::unique_ptr<HeldFolder>& pFolder) {
  if (!Is(sPath, kAttrDirectory) || m_sRoot.empty() || !paths::AsFolder(sPath).starts_with(m_sRoot)) return Refused();
  pFolder = std::make_unique<MemoryEntry>(*this, paths::WithoutSeparator(sPath));
  return {};
}

inline std::error_code MemoryFile::HoldName(std::unique_ptr<HeldName>& pName) {
  pName = std::make_unique<MemoryEntry>(m_fs, m_sPath);
  return {};
}

}  // namespace tarnwipe::test
