// The Win32 file layer and special folders on real files in a temporary folder, and a folder run
// through the window logic on top of them.
#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "file_layer_suite.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_special_folders.h"
#include "runs/confinement.h"

namespace tarnwipe::test {
namespace {

// The Win32 layer on a folder of the test's own below the temporary folder.
class Win32Layer {
 public:
  using Fs = Win32FileSystem;
  explicit Win32Layer(Win32FileSystem& fs) : m_fs(fs) {
    wchar_t sTemp[MAX_PATH + 1];
    ::GetTempPathW(MAX_PATH, sTemp);
    sRoot = paths::WithSeparator(win32::Narrow(sTemp)) + "tarnwipe-" + std::to_string(::GetCurrentProcessId()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
    MakeFolder("");
  }
  ~Win32Layer() {
    m_fs.Unconfine();
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Long(""), ec))
      ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(Long(""), ec);
  }
  std::string Path(const std::string& sRelative) const { return sRoot + Native(sRelative); }
  std::filesystem::path Long(const std::string& sRelative) const { return win32::LongPath(Path(sRelative)); }
  // Both make the missing folders on the way.
  std::string MakeFolder(const std::string& sRelative) {
    std::filesystem::create_directories(Long(sRelative));
    return paths::AsFolder(Path(sRelative));
  }
  std::string Write(const std::string& sRelative, const std::string& sContent) {
    MakeFolder(paths::FolderPart(Native(sRelative)));
    std::ofstream(Long(sRelative), std::ios::binary) << sContent;
    return Path(sRelative);
  }
  std::string Read(const std::string& sRelative) const {
    std::ifstream in(Long(sRelative), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  bool Exists(const std::string& sRelative) const { return std::filesystem::exists(Long(sRelative)); }
  void HardLink(const std::string& sFile, const std::string& sName) {
    EXPECT_NE(::CreateHardLinkW(Long(sName).c_str(), Long(sFile).c_str(), nullptr), 0);
  }
  // Another program has the file open, sharing reading only, while the result lives.
  std::shared_ptr<void> Hold(const std::string& sRelative) {
    const HANDLE h = ::CreateFileW(Long(sRelative).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    return {nullptr, [h](void*) { ::CloseHandle(h); }};
  }

  std::string sRoot;

 private:
  Win32FileSystem& m_fs;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FileLayerTest, Win32Layer);

class Win32FileSystemTest : public FormFixture<Win32FileSystem> {
 protected:
  ~Win32FileSystemTest() override { pFile.reset(); }
  bool Opens(const std::string& sPath) { return !OpenExclusively(fs, sPath, pFile) && pFile != nullptr; }

  Win32Layer layer{fs};
  const std::string& sRoot = layer.sRoot;
  std::unique_ptr<ExclusiveFile> pFile;
};

// Watches the names below sFolder from its making on; Changes() gives them as (action, name).
struct ChangeWatch {
  explicit ChangeWatch(const std::string& sFolder)
      : h(::CreateFileW(win32::LongPath(sFolder).c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)) {
    Ask();
  }
  void Ask() {
    ::ReadDirectoryChangesW(h.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), TRUE,
                            FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME, nullptr, &at, nullptr);
  }
  std::multimap<DWORD, std::string> Changes() {
    std::multimap<DWORD, std::string> changes;
    for (DWORD lBytes = 0; ::GetOverlappedResultEx(h.Get(), &at, &lBytes, 500, FALSE) && lBytes > 0; Ask()) {
      for (const BYTE* p = buffer.data();; p += reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(p)->NextEntryOffset) {
        const auto* pInfo = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(p);
        changes.emplace(pInfo->Action, win32::Narrow(std::wstring(pInfo->FileName, pInfo->FileNameLength / 2)));
        if (pInfo->NextEntryOffset == 0) break;
      }
    }
    return changes;
  }
  std::vector<BYTE> buffer = std::vector<BYTE>(1 << 20);  // outlives the handle, which cancels the last ask
  OVERLAPPED at{};
  win32::Handle h;
};

TEST_F(Win32FileSystemTest, FolderRunErasesEveryKindOfFileAndRemovesTheTree) {
  const std::string sLong(120, 'n');  // the deepest file lies beyond 260 characters
  layer.Write("map\\plain.txt", std::string(3000, 'p'));
  layer.Write("map\\read-only.txt", "r");
  layer.Write("map\\no-archive.dat", "a");  // a backup program cleared its archive bit
  layer.Write("map\\Grüße ünïcødé.txt", "u");
  layer.Write("map\\sub\\" + sLong + "\\" + sLong + ".txt", "deep");
  ::SetFileAttributesW(layer.Long("map\\read-only.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW(layer.Long("map\\no-archive.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
  layer.Write("map\\Hidden\\h.txt", "h");
  layer.Write("map\\.cache\\c.txt", "c");
  for (const char c : std::string("0123456789abcdefghijklmnopqrstuvwxyz")) layer.Write("map\\Hidden\\" + std::string{c}, "1");
  ::SetFileAttributesW(layer.Long("map\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  std::set<std::string> asNames{"map"}, asFolders{"map\\"};
  for (const auto& entry : std::filesystem::recursive_directory_iterator(layer.Long("map"))) {
    const std::string sName = win32::Narrow(entry.path().wstring().substr(layer.Long("").wstring().size()));
    asNames.insert(sName);
    if (entry.is_directory()) asFolders.insert(sName + "\\");
  }
  ChangeWatch watch(sRoot);
  Erase(sRoot + "map\\", true);
  EXPECT_EQ(Counts(), "Erased 43 file(s) and 5 folder(s)") << view.sText;
  EXPECT_FALSE(view.Has("may remain")) << view.sText;
  std::set<std::string> asRenamed;
  std::map<std::string, int> fillers;
  for (const auto& [lAction, sName] : watch.Changes()) {
    if (lAction == FILE_ACTION_RENAMED_OLD_NAME) asRenamed.insert(sName);
    if (lAction == FILE_ACTION_ADDED) ++fillers[paths::FolderPart(sName)];
  }
  EXPECT_EQ(asRenamed, asNames) << "every name is renamed away through its handle, the map's own included";
  for (const std::string& sFolder : asFolders) EXPECT_GE(fillers[sFolder], 64) << sFolder << " is filled over";
  EXPECT_FALSE(layer.Exists("map"));
  EXPECT_TRUE(layer.Exists(""));
}

// Fillers of a folder's entries go again, and the folder keeps the time it was last changed.
TEST_F(Win32FileSystemTest, FillersLeaveTheFolderAsItWas) {
  const std::string sMap = layer.MakeFolder("map");
  const auto lastWrite = [&](const FILETIME* pSet) {
    const win32::Handle h(::CreateFileW(layer.Long("map").c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FILETIME time{};
    if (pSet != nullptr) ::SetFileTime(h.Get(), nullptr, nullptr, pSet);
    ::GetFileTime(h.Get(), nullptr, nullptr, &time);
    return uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime;
  };
  const FILETIME aged{0, 30000000};  // in 1601
  const uint64_t lAged = lastWrite(&aged);
  const Confinement held(fs, sMap);
  std::unique_ptr<HeldFolder> pFolder;
  ASSERT_FALSE(fs.HoldFolder(sMap, pFolder));
  EXPECT_FALSE(pFolder->AddFiller("f1") || pFolder->AddFiller("f2"));
  EXPECT_EQ(pFolder->AddFiller("f1"), std::errc::file_exists);
  pFolder->RemoveFillers();
  EXPECT_TRUE(fs.ListFolder(sMap).empty());
  EXPECT_EQ(lastWrite(nullptr), lAged);
}

// What only Win32 has: an open file shares nothing, streams and ".." lead nowhere, and the held
// map cannot be moved meanwhile.
TEST_F(Win32FileSystemTest, OpenFileSharesNothingAndTheHeldMapCannotMove) {
  layer.Write("outside.txt", "theirs");
  const Confinement held(fs, layer.MakeFolder("map"));
  for (const char* pRelative : {"map\\..\\outside.txt", "map\\f.bin:stream"}) EXPECT_FALSE(Opens(layer.Path(pRelative))) << pRelative;
  ASSERT_TRUE(Opens(layer.Write("map\\f.bin", std::string(5000, 'o'))));
  EXPECT_TRUE(pFile->AllocatedBytes() >= 5000 && pFile->BlockSize() > 0 && pFile->BlockSize() % 512 == 0) << pFile->BlockSize();
  std::vector<ByteRange> ranges;
  EXPECT_EQ(pFile->OwnedRanges(ranges), std::errc::not_supported) << "a file that is not sparse owns its whole length";
  const ULONG lShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const win32::Handle other(
      ::CreateFileW(layer.Long("map\\f.bin").c_str(), GENERIC_READ, lShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(other.IsOpen()) << "share mode 0 keeps every other opener out";
  EXPECT_EQ(::MoveFileW(layer.Long("map").c_str(), layer.Long("moved").c_str()), 0) << "held without delete sharing";
}

TEST(Win32SpecialFolders, FoldersAreFullPathsEndingInTheSeparator) {
  const Win32SpecialFolders folders;
  for (const std::string& sFolder : {folders.SystemFolders().front(), folders.ProgramsFolders().front(),
                                     folders.DocumentsFolder()}) {
    EXPECT_TRUE(paths::IsAbsolute(sFolder) && sFolder.back() == '\\') << sFolder;
  }
  const std::string sExe = folders.ExecutableFolder();
  EXPECT_TRUE(paths::IsAbsolute(sExe) && sExe.back() != '\\') << sExe;
}

}  // namespace
}  // namespace tarnwipe::test
