// Folder runs over the in-memory file layer, walker included, watched through what they report:
// what is chosen, erased, removed, kept and counted. The window's part of a folder run last.

#include <algorithm>

#include "form_fixture.h"
#include "run_fixture.h"
#include "window/form_operations.h"

namespace tarnwipe::test {
namespace {

class FolderRunTest : public RunFixture {
 protected:
  void Make(const std::vector<std::string>& asFiles) {
    for (const std::string& sFile : asFiles) fs.AddFile(sMap + sFile, std::string(512, 'x'));
  }
  const std::string sMap = fs.AddFolder("/home/u/secrets");
};

TEST_F(FolderRunTest, WholeTreeIsOverwrittenRemovedAndCounted) {
  Make({"a.txt", ".hidden", "B/ro.txt", "B/C/c.txt", "D/empty"});
  ASSERT_EQ(EraseMap(sMap), "");
  EXPECT_EQ(pRun->Question(), "Are You sure You want to erase secrets?\r\n\r\n(Press <Esc> to stop!)");
  EXPECT_EQ(reporter.asErased, (std::vector<std::string>{".hidden", "a.txt", "ro.txt", "c.txt", "empty"}));
  EXPECT_EQ(fs.removals.size(), 5U);
  for (const auto& [sPath, sContent] : fs.removals) EXPECT_EQ(sContent, std::string(512, '5')) << sPath;
  EXPECT_FALSE(fs.Find(sMap));
  EXPECT_TRUE(reporter.totals.lFiles == 5 && reporter.totals.lFolders == 4 && reporter.totals.dblKBytes == 2.5);
  EXPECT_EQ(reporter.asEvents.front(), "entered " + sMap);
  fs.bNamesStay = true;  // removed all the same, and said so
  Make({"B/b.txt"});
  EraseMap(sMap);
  EXPECT_TRUE(reporter.totals.lNamesLeft == 2 && reporter.totals.lFolders == 2);
}

// Small files go pass-major: each pass reaches the medium for all of them before the next one
// starts, in one call where the file system has one. Where that call reports an error, or there
// is none, each file is flushed on its own, and only a file whose own flush failed is kept.
TEST_F(FolderRunTest, SmallFilesGetEachPassTogetherAndOnlyAFailingOneIsKept) {
  for (const auto& [bTogether, bFails, iFailFlushAt, lFlushes, iTogether] :
       {std::tuple{false, false, -1, 18U, 0}, {true, false, -1, 0U, 6}, {true, true, -1, 18U, 6}, {true, true, 4, 14U, 6}}) {
    fs.flushed.clear(), fs.iTogether = 0;
    fs.bFlushesTogether = bTogether, fs.bTogetherFails = bFails, fs.iFailFlushAt = iFailFlushAt;
    Make({"a", "b", "c"});
    EraseMap(sMap);
    EXPECT_EQ(fs.flushed.size(), lFlushes);
    EXPECT_EQ(fs.iTogether, iTogether);
    for (size_t k = 0; k < std::min<size_t>(fs.flushed.size(), 6); ++k) {
      EXPECT_EQ(fs.flushed[k].sContent, std::string(512, static_cast<char>('0' + k / 3))) << k;
    }
    const std::vector<std::string> asErased = iFailFlushAt < 0 ? std::vector<std::string>{"a", "b", "c"} : std::vector<std::string>{"a", "c"};
    EXPECT_EQ(reporter.asErased, asErased);
  }
  EXPECT_EQ(reporter.asKept, std::vector<std::string>{"b: the disk reported a write error"});
}

// Pattern elements choose the files one after the other, letter case ignored, a name met twice
// erased and counted once. An empty element of the list is a slip, never "every name"; hidden,
// system and dot folders below the map are entered like any other.
TEST_F(FolderRunTest, PatternElementsChooseTheFilesAndEmptyOnesChooseNothing) {
  const std::vector<std::string> asText = {"a.txt", "y.txt", "z.txt"};
  for (const auto& [pPattern, asErased] : {std::pair<const char*, std::vector<std::string>>{"*.txt,", asText},
                                           {",*.txt", asText},
                                           {" *.txt ,, ", asText},
                                           {"*.txt, ,*.log", {"a.txt", "b.LOG", "y.txt", "z.txt"}},
                                           {"c?.dat, *.TXT", {"c1.dat", "a.txt", "y.txt", "z.txt"}},
                                           {"noext.*;n*", {"noext"}},
                                           {" , ;", {}},
                                           {"", {}},
                                           {"*", {"a.txt", "b.LOG", "c1.dat", "noext", "x", "y.txt", "z.txt"}}}) {
    Make({"a.txt", "b.LOG", "c1.dat", "noext", ".git/objects/x", ".hidden/y.txt", "sys/z.txt"});
    fs.nodes[Native(sMap + "sys")].lAttributes |= kAttrHidden | kAttrSystem;
    EraseMap(sMap, pPattern);
    EXPECT_EQ(reporter.asErased, asErased) << pPattern;
    EXPECT_EQ(reporter.totals.lFiles, static_cast<int32_t>(asErased.size())) << pPattern;
  }
  EXPECT_FALSE(fs.Find(sMap)) << "every folder the run emptied is removed";
  Make({"a"});
  fs.AddFile(sMap + "fifo", "", kAttrSystem);
  EraseMap(sMap, "f*");
  EXPECT_EQ(reporter.asKept, std::vector<std::string>{"fifo: not a regular file"});
}

// What the limits leave is said for its folder and counted as kept.
TEST_F(FolderRunTest, AVisitStopsAfter3001FilesAndARunAfter3001Folders) {
  for (int i = 0; i < 3010; ++i) fs.AddFile(sMap + "f" + std::to_string(i), "");
  for (int i = 0; i < 3001; ++i) fs.AddFolder(sMap + "d" + std::to_string(i));
  EraseMap(sMap);
  EXPECT_TRUE(reporter.totals.lFiles == 3001 && reporter.totals.lFolders == 3000 && reporter.totals.lNotRemoved == 1);
  EXPECT_EQ(reporter.totals.keptReasons, (std::map<std::string, int32_t>{{"left by the listing's limit; erase again to continue", 9}}));
  EXPECT_EQ(std::count(reporter.asEvents.begin(), reporter.asEvents.end(), "left 9 files 1 folders in " + sMap), 1);
}

// A file gone between the listing and its turn was never overwritten: it is said and counted.
TEST_F(FolderRunTest, WhatCouldNotBeErasedOrRemovedIsSaidAndNotCounted) {
  Make({"a.txt", "keep.dat", "B/b.txt", "B/C/keep.dat", "shared.txt", "vanished.txt", "closed/in.txt", "mnt/theirs.txt"});
  fs.AddFile(sMap + "big.txt", std::string(2 << 20, 'b'));  // erased alone, after a.txt
  fs.nodes[sMap + "shared.txt"].bRefused = true;
  fs.access = {{Native(sMap + "closed/"), FolderAccess::kUnreadable}, {Native(sMap + "mnt/"), FolderAccess::kOtherFileSystem}};
  reporter.onBreathe = [&] {
    if (!fs.removals.empty()) fs.nodes.erase(Native(sMap + "vanished.txt"));
  };
  EraseMap(sMap, "*.txt");
  EXPECT_EQ(reporter.asErased, (std::vector<std::string>{"a.txt", "big.txt", "b.txt"}));
  EXPECT_EQ(reporter.asKept, (std::vector<std::string>{"shared.txt: open in another program", "vanished.txt: it no longer exists"}));
  for (const std::string& sEvent : {"unreadable " + Native(sMap + "closed/"), "skipped " + Native(sMap + "mnt/")})
    EXPECT_NE(std::find(reporter.asEvents.begin(), reporter.asEvents.end(), sEvent), reporter.asEvents.end()) << sEvent;
  EXPECT_TRUE(reporter.totals.lFiles == 3 && reporter.totals.lFolders == 0 && reporter.totals.lNotRemoved == 5 && reporter.totals.lUnread == 1);
  EraseMap(sMap, "*.txt");  // a second run finds nothing new and still counts what stays
  EXPECT_TRUE(reporter.totals.lFiles == 0 && reporter.totals.lNotRemoved == 5);
}

class FolderWindowTest : public FormFixture<MemoryFileSystem> {
 protected:
  const std::string sMap = fs.AddFolder("/home/u/secrets");
};

// Esc lets the batch under way finish, so that no file is left half overwritten.
TEST_F(FolderWindowTest, EscOrClosingStopsBeforeTheNextBatch) {
  for (const bool bClose : {false, true}) {
    fs.removals.clear();
    view.captions.clear();
    for (const char* pName : {"1.txt", "2.txt", "sub/3.txt"}) fs.AddFile(sMap + pName, "x");
    fs.AddFile(sMap + "big.txt", std::string(2 << 20, 'b'));  // erased alone: the batch before it ends there
    view.onPump = [&] {
      // Esc, then Enter: a later key does not take the stop back.
      int16_t aiKeys[] = {FrmErase::kKeyEscape, 13};
      if (!fs.removals.empty()) bClose ? void(form.Form_QueryUnload()) : (form.Form_KeyPress(aiKeys[0]), form.Form_KeyPress(aiKeys[1]));
    };
    Erase(sMap, true);
    view.onPump = nullptr;
    EXPECT_EQ(fs.removals.size(), 2U);
    EXPECT_EQ(bClose, view.captions.end() == std::find(view.captions.begin(), view.captions.end(), TitleText(std::string(" ") + kStopping)));
    EXPECT_EQ(Counts(), "Erased 2 file(s) and 0 folder(s)");
    EXPECT_EQ(form.CloseRequested(), bClose);
  }
}

// The program's own folder blocks the run it is met in and, since only the window's load
// clears the flag, every later folder run of the window.
TEST_F(FolderWindowTest, ApplicationFolderBlocksThisAndLaterRunsUntilLoad) {
  for (const char* pName : {"a.txt", "app/tarnwipe", "z/z.txt"}) fs.AddFile(sMap + pName, "x");
  folders.sExecutable = sMap + "app";
  Erase(sMap, true);
  EXPECT_EQ(LastBox(), "Erasing files is blocked in path app!");
  EXPECT_EQ(fs.removals.size(), 1U);
  Erase(sMap + "z/", true);
  EXPECT_TRUE(fs.Find(sMap + "z/z.txt"));
  form.Form_Load();
  Erase(sMap + "z/", true);
  EXPECT_FALSE(fs.Find(sMap + "z/z.txt"));
}

}  // namespace
}  // namespace tarnwipe::test
