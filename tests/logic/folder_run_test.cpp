// Folder runs over the in-memory file layer: what is erased, what is removed, and what the
// closing line counts.
#include "runs/folder_run.h"

#include "form_fixture.h"
#include "memory_file_system.h"
#include "runs/confinement.h"

namespace tarnwipe::test {
namespace {

class FolderRunTest : public FormFixture<MemoryFileSystem> {
 protected:
  std::string Map(const std::vector<std::string>& asFiles) {
    for (const std::string& sFile : asFiles) fs.AddFile(sMap + sFile, std::string(512, 'x'));
    return sMap;
  }
  std::vector<std::string> Removed() const {
    std::vector<std::string> asNames;
    for (const auto& removal : fs.removals) asNames.push_back(removal.sPath.substr(sMap.size()));
    return asNames;
  }
  const std::string sMap = fs.AddFolder("/home/u/secrets");
};

TEST_F(FolderRunTest, WholeTreeIsOverwrittenRemovedAndCounted) {
  Erase(Map({"a.txt", ".hidden", "B/ro.txt", "B/C/c.txt", "D/empty"}), true);
  EXPECT_EQ(LastBox(), "Are You sure You want to erase secrets?\r\n\r\n(Press <Esc> to stop!)");
  EXPECT_EQ(Removed(), (std::vector<std::string>{".hidden", "a.txt", "B/ro.txt", "B/C/c.txt", "D/empty"}));
  for (const auto& removal : fs.removals) EXPECT_EQ(removal.sContent, std::string(1024, '5')) << removal.sPath;
  EXPECT_FALSE(fs.Exists(sMap));
  EXPECT_EQ(view.Lines()[0], "Erased 5 file(s) and 4 folder(s);  2.50 kBytes in 0.1 seconds [25.00 kB / second]");
  EXPECT_EQ(view.Lines().back(), "Erasing files in " + sMap);
  EXPECT_EQ(view.sEraseCaption, "&Erase ...");
  EXPECT_FALSE(view.bBusy);
}

TEST_F(FolderRunTest, FoldersStillHoldingFilesStayAndAreCountedAgainNextRun) {
  Map({"a.txt", "keep.dat", "B/b.txt", "B/C/keep.dat", "D/d.txt"});
  Erase(sMap, true, "*.txt");
  EXPECT_EQ(Counts(), "Erased 3 file(s) and 1 folder(s)");
  EXPECT_EQ(view.Lines()[1], "  unable to delete 3 folder(s)");
  EXPECT_TRUE(fs.Exists(sMap + "B/C/keep.dat"));

  Erase(sMap, true, "*.txt");
  EXPECT_EQ(Counts(), "Erased 0 file(s) and 0 folder(s)");
  EXPECT_EQ(view.Lines()[1], "  unable to delete 3 folder(s)");
}

TEST_F(FolderRunTest, FilesThatCouldNotBeErasedAreNotCounted) {
  Map({"plain.txt", "shared.txt"});
  fs.nodes[sMap + "shared.txt"].bRefused = true;
  Erase(sMap, true);
  EXPECT_EQ(Counts(), "Erased 1 file(s) and 0 folder(s)");
  EXPECT_TRUE(view.Has("Could not erased file shared.txt"));
  EXPECT_EQ(view.Lines()[1], "  unable to delete 1 folder(s)");
}

TEST_F(FolderRunTest, UnreadableFolderAndOtherMountAreSaidAndKept) {
  Map({"a.txt", "closed/inside.txt", "mnt/theirs.txt"});
  fs.unreadable.insert(sMap + "closed/");
  fs.otherMounts.insert(sMap + "mnt/");
  Erase(sMap, true);
  EXPECT_TRUE(view.Has("Could not read map " + sMap + "closed/"));
  EXPECT_TRUE(view.Has("Skipped other file system " + sMap + "mnt/"));
  EXPECT_TRUE(fs.Exists(sMap + "mnt/theirs.txt"));
  EXPECT_EQ(Removed(), std::vector<std::string>{"a.txt"});
  EXPECT_EQ(view.Lines()[1], "  unable to delete 3 folder(s)");
}

TEST_F(FolderRunTest, EscOrClosingStopsBeforeTheNextFile) {
  for (const bool bClose : {false, true}) {
    fs.removals.clear();
    Map({"1.txt", "2.txt", "3.txt", "sub/4.txt"});
    view.onPump = [&] {
      if (fs.removals.empty()) return;
      int16_t iKey = FrmErase::kKeyEscape;
      bClose ? void(form.Form_QueryUnload()) : form.Form_KeyPress(iKey);
    };
    Erase(sMap, true);
    view.onPump = nullptr;
    EXPECT_EQ(Removed(), std::vector<std::string>{"1.txt"});
    EXPECT_EQ(Counts(), "Erased 1 file(s) and 0 folder(s)");
    EXPECT_EQ(form.Record().bCloseRequested, bClose);
  }
}

// The program's own folder blocks the run it is met in and, as the record keeps the flag until
// the window loads again, every later folder run of the window.
TEST_F(FolderRunTest, ApplicationFolderBlocksThisAndLaterRunsUntilLoad) {
  Map({"a.txt", "app/tarnwipe", "z/z.txt"});
  folders.sExecutable = sMap + "app";
  Erase(sMap, true);
  EXPECT_EQ(LastBox(), "Erasing files is blocked in path app!");
  EXPECT_EQ(Removed(), std::vector<std::string>{"a.txt"});
  EXPECT_TRUE(fs.Exists(sMap + "z/z.txt"));
  EXPECT_EQ(view.Lines()[0], "Erasing files in " + sMap + "z/");

  Erase(sMap + "z/", true);
  EXPECT_TRUE(fs.Exists(sMap + "z/z.txt"));
  form.Form_Load();
  Erase(sMap + "z/", true);
  EXPECT_FALSE(fs.Exists(sMap + "z/z.txt"));
}

TEST_F(FolderRunTest, RootIsNeverRemovedAndZeroClocksWriteNothing) {
  form.Record().sRootFolder = "/";
  form.Run().dd_Done(0, 1, 0.0);
  EXPECT_EQ(Counts(), "Erased 0 file(s) and 0 folder(s)");
  EXPECT_TRUE(fs.Exists("/"));

  view.ClearMessages();
  form.Record().sRootFolder = sMap;
  clock.sngNow = 0.0F;
  const Confinement held(fs, sMap);
  form.Run().dd_Done(0, 1, 0.0);
  EXPECT_TRUE(view.Lines().empty());
  EXPECT_FALSE(fs.Exists(sMap));
}

}  // namespace
}  // namespace tarnwipe::test
