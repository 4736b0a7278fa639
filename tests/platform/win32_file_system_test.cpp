// The Win32 file layer and special folders on real files in a temporary folder, and a folder run
// through the window logic on top of them.
#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "form_fixture.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_special_folders.h"
#include "runs/confinement.h"

namespace tarnwipe::test {
namespace {

// Wine shows a Linux symbolic link as a plain file and cannot make reparse points.
bool UnderWine() {
  const HMODULE hNtdll = ::GetModuleHandleW(L"ntdll.dll");
  return hNtdll != nullptr && ::GetProcAddress(hNtdll, "wine_get_version") != nullptr;
}

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
    fs.Unconfine();
    Clear(sRoot);
  }
  // Both make the missing folders on the way.
  std::string MakeFolder(const std::string& sRelative) {
    const std::string sParent = paths::FolderPart(paths::WithoutSeparator(sRelative));
    if (!sParent.empty()) MakeFolder(sParent);
    ::CreateDirectoryW(win32::LongPath(sRoot + sRelative).c_str(), nullptr);
    return paths::AsFolder(sRoot + sRelative);
  }
  std::string Write(const std::string& sRelative, const std::string& sContent) {
    MakeFolder(paths::FolderPart(sRelative));
    std::ofstream(std::filesystem::path(win32::LongPath(sRoot + sRelative)), std::ios::binary) << sContent;
    return sRoot + sRelative;
  }
  std::string Read(const std::string& sRelative) const {
    std::ifstream in(std::filesystem::path(win32::LongPath(sRoot + sRelative)), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  bool Exists(const std::string& sRelative) const {
    return ::GetFileAttributesW(win32::LongPath(sRoot + sRelative).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  void SetAttributes(const std::string& sRelative, DWORD lAttributes) {
    ::SetFileAttributesW(win32::LongPath(sRoot + sRelative).c_str(), lAttributes);
  }
  static void Clear(const std::string& sFolder) {
    WIN32_FIND_DATAW found{};
    const HANDLE hFind = ::FindFirstFileW(win32::LongPath(sFolder + "*").c_str(), &found);
    while (hFind != INVALID_HANDLE_VALUE) {
      const std::string sName = win32::Narrow(found.cFileName);
      const std::string sPath = sFolder + sName;
      ::SetFileAttributesW(win32::LongPath(sPath).c_str(), FILE_ATTRIBUTE_NORMAL);
      if (sName != "." && sName != "..") {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) Clear(sPath + "\\");
        else ::DeleteFileW(win32::LongPath(sPath).c_str());
      }
      if (::FindNextFileW(hFind, &found) == 0) break;
    }
    ::FindClose(hFind);
    ::RemoveDirectoryW(win32::LongPath(sFolder).c_str());
  }
  bool Opens(const std::string& sPath) { return !fs.OpenExclusive(sPath, pFile) && pFile != nullptr; }

  std::string sRoot;
  std::unique_ptr<ExclusiveFile> pFile;
};

TEST_F(Win32FileSystemTest, FolderRunErasesEveryKindOfFileAndRemovesTheTree) {
  const std::string sLong(120, 'n');  // the deepest file lies beyond 260 characters
  Write("map\\plain.txt", std::string(3000, 'p'));
  Write("map\\read-only.txt", "r");
  Write("map\\no-archive.dat", "a");  // a backup program cleared its archive bit
  Write("map\\Grüße ünïcødé.txt", "u");
  Write("map\\sub\\" + sLong + "\\" + sLong + ".txt", "deep");
  SetAttributes("map\\read-only.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  SetAttributes("map\\no-archive.dat", FILE_ATTRIBUTE_NORMAL);
  Erase(sRoot + "map\\", true);
  EXPECT_EQ(Counts(), "Erased 5 file(s) and 3 folder(s)") << view.sText;
  EXPECT_FALSE(Exists("map"));
  EXPECT_TRUE(Exists(""));
}

TEST_F(Win32FileSystemTest, PassesLandOverTheWholeFileAndNoOneElseCanOpenItMeanwhile) {
  const std::string sPath = Write("map\\f.bin", std::string(5000, 'o'));
  const Confinement held(fs, sRoot + "map");
  ASSERT_TRUE(Opens(sPath));
  EXPECT_EQ(pFile->Length(), 5000);
  const HANDLE hOther =
      ::CreateFileW(win32::LongPath(sPath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(hOther, INVALID_HANDLE_VALUE) << "share mode 0 keeps every other opener out";
  int64_t lWritten = 0;
  const std::string sFill(4096, 'A');
  EXPECT_FALSE(pFile->WriteAt(0, sFill.data(), 4096, lWritten));
  EXPECT_FALSE(pFile->WriteAt(4096, sFill.data(), 904, lWritten));
  EXPECT_FALSE(pFile->Flush());
  EXPECT_FALSE(pFile->Close());
  EXPECT_EQ(Read("map\\f.bin"), std::string(5000, 'A'));
}

TEST_F(Win32FileSystemTest, OnlyAPlainFileWithOneNameBelowTheHeldMapOpens) {
  const std::string sLocked = Write("map\\locked", "l");
  const std::string sShared = Write("map\\shared", "s");
  const bool bHardLink = ::CreateHardLinkW(win32::LongPath(sRoot + "map\\second-name").c_str(),
                                           win32::LongPath(sShared).c_str(), nullptr) != 0;
  Write("outside.txt", "theirs");
  MakeFolder("map\\dir");
  EXPECT_FALSE(Opens(Write("map\\free", "f"))) << "nothing opens before a map is held";
  const HANDLE hHolder = ::CreateFileW(win32::LongPath(sLocked).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(hHolder, INVALID_HANDLE_VALUE);
  const Confinement held(fs, sRoot + "map");
  for (const char* pRelative : {"map\\locked", "map\\dir", "map\\gone", "outside.txt", "map\\..\\outside.txt",
                                       "map\\dir\\..\\..\\outside.txt", "map\\free:stream"}) {
    EXPECT_FALSE(Opens(sRoot + pRelative)) << pRelative;
  }
  EXPECT_TRUE(bHardLink) << "no second name could be made";
  EXPECT_FALSE(Opens(sShared)) << "a file with a second name is never overwritten";
  EXPECT_TRUE(Opens(sRoot + "map\\free"));
  ::CloseHandle(hHolder);
  EXPECT_EQ(Read("map\\locked") + Read("map\\shared") + Read("outside.txt"), "lstheirs");
}

TEST_F(Win32FileSystemTest, TheHeldMapCannotBeMovedAndIsRemovedOnlyWhenEmpty) {
  Write("map\\sub\\keep.txt", "k");
  {
    const Confinement held(fs, sRoot + "map");
    EXPECT_EQ(::MoveFileW(win32::LongPath(sRoot + "map").c_str(), win32::LongPath(sRoot + "moved").c_str()), 0)
        << "the map is held without delete sharing";
    EXPECT_TRUE(fs.RemoveFolder(sRoot + "map\\sub\\"));
    EXPECT_TRUE(fs.RemoveLink(sRoot + "map\\sub\\keep.txt")) << "a plain file is no link";
    EXPECT_EQ(fs.ListFolder(sRoot + "map\\").size(), 1U);
    EXPECT_EQ(fs.ProbeFolder(sRoot + "map\\sub\\"), FolderAccess::kReadable);
  }
  EXPECT_TRUE(Exists("map\\sub\\keep.txt"));
  EXPECT_TRUE(fs.RemoveFolder(sRoot + "map\\")) << "removing needs a held map";
}

TEST_F(Win32FileSystemTest, LinksAreRemovedAsLinksAndNeverFollowed) {
  if (UnderWine()) GTEST_SKIP() << "Wine makes no reparse points";
  Write("outside\\theirs.txt", "theirs");
  MakeFolder("map");
  const DWORD lFlags = SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
  if (::CreateSymbolicLinkW(win32::LongPath(sRoot + "map\\file-link").c_str(),
                            win32::LongPath(sRoot + "outside\\theirs.txt").c_str(), lFlags) == 0 ||
      ::CreateSymbolicLinkW(win32::LongPath(sRoot + "map\\folder-link").c_str(),
                            win32::LongPath(sRoot + "outside").c_str(), lFlags | SYMBOLIC_LINK_FLAG_DIRECTORY) == 0)
    GTEST_SKIP() << "this account may not make symbolic links";
  Erase(sRoot + "map\\", true);
  EXPECT_EQ(Counts(), "Erased 2 file(s) and 1 folder(s)") << view.sText;
  EXPECT_EQ(Read("outside\\theirs.txt"), "theirs");
}

TEST(Win32SpecialFolders, FoldersAreFullPathsEndingInTheSeparator) {
  const Win32SpecialFolders folders;
  for (const std::string& sFolder : {folders.SystemFolders().front(), folders.ProgramsFolders().front(),
                                     folders.DocumentsFolder()}) {
    EXPECT_TRUE(paths::IsAbsolute(sFolder) && sFolder.back() == '\\') << sFolder;
  }
  EXPECT_TRUE(paths::LiesIn(folders.SystemFolders().front(), "c:\\windows\\"));
  const std::string sExe = folders.ExecutableFolder();
  EXPECT_TRUE(paths::IsAbsolute(sExe) && sExe.back() != '\\') << sExe;
}

}  // namespace
}  // namespace tarnwipe::test
