// The Win32 file layer and special folders on real files in a temporary folder, and a folder run
// through the window logic on top of them.
#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "engine/exclusive_open.h"
#include "engine/kept_reason.h"
#include "engine/name_removal.h"
#include "form_fixture.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_special_folders.h"
#include "runs/confinement.h"

namespace tarnwipe::test {
namespace {

class Win32FileSystemTest : public FormFixture<Win32FileSystem> {
 protected:
  Win32FileSystemTest() {
    wchar_t sTemp[MAX_PATH + 1];
    ::GetTempPathW(MAX_PATH, sTemp);
    sRoot = paths::WithSeparator(win32::Narrow(sTemp)) + "tarnwipe-" + std::to_string(::GetCurrentProcessId()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
    MakeFolder("");
  }
  ~Win32FileSystemTest() override {
    pFile.reset();
    fs.Unconfine();
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Long(""), ec))
      ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(Long(""), ec);
  }
  std::filesystem::path Long(const std::string& sRelative) const { return win32::LongPath(sRoot + sRelative); }
  // Both make the missing folders on the way.
  std::string MakeFolder(const std::string& sRelative) {
    std::filesystem::create_directories(Long(sRelative));
    return paths::AsFolder(sRoot + sRelative);
  }
  std::string Write(const std::string& sRelative, const std::string& sContent) {
    MakeFolder(paths::FolderPart(sRelative));
    std::ofstream(Long(sRelative), std::ios::binary) << sContent;
    return sRoot + sRelative;
  }
  std::string Read(const std::string& sRelative) const {
    std::ifstream in(Long(sRelative), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  bool Exists(const std::string& sRelative) const { return std::filesystem::exists(Long(sRelative)); }
  bool Opens(const std::string& sPath) { return !OpenExclusively(fs, sPath, pFile) && pFile != nullptr; }

  std::string sRoot;
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
  Write("map\\plain.txt", std::string(3000, 'p'));
  Write("map\\read-only.txt", "r");
  Write("map\\no-archive.dat", "a");  // a backup program cleared its archive bit
  Write("map\\Grüße ünïcødé.txt", "u");
  Write("map\\sub\\" + sLong + "\\" + sLong + ".txt", "deep");
  ::SetFileAttributesW(Long("map\\read-only.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW(Long("map\\no-archive.dat").c_str(), FILE_ATTRIBUTE_NORMAL);
  Write("map\\Hidden\\h.txt", "h");
  Write("map\\.cache\\c.txt", "c");
  for (const char c : std::string("0123456789abcdefghijklmnopqrstuvwxyz")) Write("map\\Hidden\\" + std::string{c}, "1");
  ::SetFileAttributesW(Long("map\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  std::set<std::string> asNames{"map"}, asFolders{"map\\"};
  for (const auto& entry : std::filesystem::recursive_directory_iterator(Long("map"))) {
    const std::string sName = win32::Narrow(entry.path().wstring().substr(Long("").wstring().size()));
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
  EXPECT_FALSE(Exists("map"));
  EXPECT_TRUE(Exists(""));
}

TEST_F(Win32FileSystemTest, PassesLandOverTheWholeFileAndNoOneElseCanOpenItMeanwhile) {
  const Confinement held(fs, MakeFolder("map"));
  ASSERT_TRUE(Opens(Write("map\\f.bin", std::string(5000, 'o'))));
  EXPECT_TRUE(pFile->Length() == 5000 && pFile->AllocatedBytes() >= 5000) << pFile->AllocatedBytes();
  EXPECT_TRUE(pFile->BlockSize() > 0 && pFile->BlockSize() % 512 == 0) << pFile->BlockSize();
  std::vector<ByteRange> ranges;
  EXPECT_EQ(pFile->OwnedRanges(ranges), std::errc::not_supported) << "a file that is not sparse owns its whole length";
  const ULONG lShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  const win32::Handle other(
      ::CreateFileW(Long("map\\f.bin").c_str(), GENERIC_READ, lShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(other.IsOpen()) << "share mode 0 keeps every other opener out";
  const std::string sFill(4096, 'A');
  int64_t lWritten = 0;
  EXPECT_FALSE(pFile->WriteAt(0, sFill.data(), 4096, lWritten) || pFile->WriteAt(4096, sFill.data(), 904, lWritten));
  EXPECT_FALSE(pFile->Flush() || pFile->Close());
  EXPECT_EQ(Read("map\\f.bin"), std::string(5000, 'A'));
}

// The held map cannot be moved meanwhile, and is removed only when empty.
TEST_F(Win32FileSystemTest, OnlyAPlainFileWithOneNameBelowTheHeldMapOpens) {
  Write("map\\shared", "s");
  EXPECT_NE(::CreateHardLinkW(Long("map\\second-name").c_str(), Long("map\\shared").c_str(), nullptr), 0);
  Write("outside.txt", "theirs");
  MakeFolder("map\\dir");
  EXPECT_FALSE(Opens(Write("map\\free", "f"))) << "nothing opens before a map is held";
  Write("map\\locked", "l");
  const HANDLE hHolder = ::CreateFileW(Long("map\\locked").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
  const Confinement held(fs, sRoot + "map");
  for (const char* pRelative : {"map\\locked", "map\\shared", "map\\dir", "map\\gone", "outside.txt",
                                "map\\..\\outside.txt", "map\\dir\\..\\..\\outside.txt", "map\\free:stream"}) {
    EXPECT_FALSE(Opens(sRoot + pRelative)) << pRelative;
  }
  EXPECT_EQ(KeptReason(OpenExclusively(fs, sRoot + "map\\locked", pFile)), "open in another program");
  EXPECT_TRUE(Opens(sRoot + "map\\free"));
  ::CloseHandle(hHolder);
  EXPECT_EQ(::MoveFileW(Long("map").c_str(), Long("moved").c_str()), 0) << "held without delete sharing";
  bool bNameLeft = false;
  EXPECT_TRUE(NameRemoval().RemoveFolder(fs, sRoot + "map\\", bNameLeft));
  EXPECT_EQ(Read("map\\locked") + Read("map\\shared") + Read("outside.txt"), "lstheirs");
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
