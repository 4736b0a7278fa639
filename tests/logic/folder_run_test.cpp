// Folder runs over the in-memory file layer, walker included: what is chosen, erased, removed
// and counted.

#include <algorithm>

#include "window/form_operations.h"

#include "form_fixture.h"
#include "memory_file_system.h"

namespace tarnwipe::test {
namespace {

class FolderRunTest : public FormFixture<MemoryFileSystem> {
 protected:
  void Make(const std::vector<std::string>& asFiles) {
    for (const std::string& sFile : asFiles) fs.AddFile(sMap + sFile, std::string(512, 'x'));
  }
  std::vector<std::string> Removed() const {
    std::vector<std::string> asNames;
    for (const auto& [sPath, sContent] : fs.removals) asNames.push_back(Portable(sPath.substr(sMap.size())));
    return asNames;
  }
  const std::string sMap = fs.AddFolder("/home/u/secrets");
};

TEST_F(FolderRunTest, WholeTreeIsOverwrittenRemovedAndCounted) {
  Make({"a.txt", ".hidden", "B/ro.txt", "B/C/c.txt", "D/empty"});
  Erase(sMap, true);
  EXPECT_EQ(LastBox(), "Are You sure You want to erase secrets?\r\n\r\n(Press <Esc> to stop!)");
  EXPECT_EQ(Removed(), (std::vector<std::string>{".hidden", "a.txt", "B/ro.txt", "B/C/c.txt", "D/empty"}));
  for (const auto& [sPath, sContent] : fs.removals) EXPECT_EQ(sContent, std::string(512, '5')) << sPath;
  EXPECT_FALSE(fs.Find(sMap));
  EXPECT_EQ(view.Lines()[0], "Erased 5 file(s) and 4 folder(s);  2.50 kBytes in 0.1 seconds [25.00 kB / second]");
  EXPECT_EQ(view.Lines().back(), "Erasing files in " + sMap);
  fs.bNamesStay = true;  // removed all the same, and said so
  Make({"B/b.txt"});
  Erase(sMap, true);
  EXPECT_EQ(view.Lines()[1], "  names of 2 folder(s) may remain: they could not be renamed before they were removed");
}

// Small files go pass-major: each pass reaches the medium for all of them before the next one
// starts, in one call where the file system has one. Where that call reports an error, or there
// is none, each file is flushed on its own, and only a file whose own flush failed is kept.
TEST_F(FolderRunTest, SmallFilesGetEachPassTogetherAndOnlyAFailingOneIsKept) {
  for (const auto& [bTogether, bFails, iFailFlushAt, lFlushes, iTogether] :
       {std::tuple{false, false, -1, 18U, 0}, {true, false, -1, 0U, 6}, {true, true, -1, 18U, 6}, {true, true, 4, 14U, 6}}) {
    fs.flushed.clear(), fs.removals.clear(), fs.iTogether = 0;
    fs.bFlushesTogether = bTogether, fs.bTogetherFails = bFails, fs.iFailFlushAt = iFailFlushAt;
    Make({"a", "b", "c"});
    Erase(sMap, true);
    EXPECT_EQ(fs.flushed.size(), lFlushes);
    EXPECT_EQ(fs.iTogether, iTogether);
    for (size_t k = 0; k < std::min<size_t>(fs.flushed.size(), 6); ++k) {
      EXPECT_EQ(fs.flushed[k].sContent, std::string(512, static_cast<char>('0' + k / 3))) << k;
    }
    const std::vector<std::string> asErased = iFailFlushAt < 0 ? std::vector<std::string>{"a", "b", "c"} : std::vector<std::string>{"a", "c"};
    EXPECT_EQ(Removed(), asErased);
  }
  EXPECT_TRUE(view.Has("Could not erased file b")) << view.sText;
}

// Pattern elements choose the files one after the other, letter case ignored, a name met twice
// erased and counted once. An empty element of the list is a slip, never "every name"; hidden,
// system and dot folders below the map are entered like any other.
TEST_F(FolderRunTest, PatternElementsChooseTheFilesAndEmptyOnesChooseNothing) {
  const std::vector<std::string> asAll = {"a.txt", "b.LOG", "c1.dat", "noext", ".git/objects/x", ".hidden/y.txt", "sys/z.txt"};
  const std::vector<std::string> asText = {"a.txt", ".hidden/y.txt", "sys/z.txt"};
  for (const auto& [pPattern, asErased] : {std::pair<const char*, std::vector<std::string>>{"*.txt,", asText},
                                           {",*.txt", asText},
                                           {" *.txt ,, ", asText},
                                           {"*.txt, ,*.log", {"a.txt", "b.LOG", ".hidden/y.txt", "sys/z.txt"}},
                                           {"c?.dat, *.TXT", {"c1.dat", "a.txt", ".hidden/y.txt", "sys/z.txt"}},
                                           {"noext.*;n*", {"noext"}},
                                           {" , ;", {}},
                                           {"", {}},
                                           {"*", asAll}}) {
    fs.removals.clear();
    Make(asAll);
    fs.nodes[Native(sMap + "sys")].lAttributes |= kAttrHidden | kAttrSystem;
    Erase(sMap, true, pPattern);
    EXPECT_EQ(Removed(), asErased) << pPattern;
    EXPECT_TRUE(Counts().starts_with("Erased " + std::to_string(asErased.size()) + " file(s)")) << Counts();
  }
  EXPECT_FALSE(fs.Find(sMap)) << "every folder the run emptied is removed";
  Make({"a"});
  fs.AddFile(sMap + "fifo", "", kAttrSystem);
  Erase(sMap, true, "f*");
  EXPECT_TRUE(view.Has("Could not erased file fifo"));
}

// What the limits leave is said for its folder and counted as kept.
// A run lists its first thousand files as they begin, and after them every file it kept.
TEST_F(FolderRunTest, AVisitStopsAfter3001FilesAndARunAfter3001Folders) {
  for (int i = 0; i < 3010; ++i) fs.AddFile(sMap + "f" + std::to_string(i), "");
  for (int i = 0; i < 3001; ++i) fs.AddFolder(sMap + "d" + std::to_string(i));
  fs.nodes[Native(sMap + "f2999")].bRefused = true;
  Erase(sMap, true);
  EXPECT_EQ(Counts(), "Erased 3,000 file(s) and 3,000 folder(s)");
  EXPECT_EQ(view.Lines()[1], "  unable to delete 1 folder(s)");
  EXPECT_EQ(view.Lines()[3], "    9 x left by the listing's limit; erase again to continue");
  const std::vector<std::string> asLines = view.Lines();
  EXPECT_EQ(std::count_if(asLines.begin(), asLines.end(), [](const std::string& s) {
              return s.starts_with("Erasing f") && !s.starts_with("Erasing files in ");
            }),
            1001);
  EXPECT_TRUE(view.Has("  Reason: open in another program\r\nErasing f2999  [0 bytes]") &&
              view.Has("More than 1,000 files: from here on only the files not erased are listed."));
  EXPECT_TRUE(view.Has("Left 9 matching file(s) in " + sMap + ": one visit lists 3001 at most; erase again to continue"));
  EXPECT_TRUE(view.Has("Left 1 folder(s) in " + sMap + " unvisited: one run takes 3000 at most; erase again to continue"));
}

// A file gone between the listing and its turn was never overwritten: it is said and counted.
TEST_F(FolderRunTest, WhatCouldNotBeErasedOrRemovedIsSaidAndNotCounted) {
  Make({"a.txt", "keep.dat", "B/b.txt", "B/C/keep.dat", "shared.txt", "vanished.txt", "closed/in.txt", "mnt/theirs.txt"});
  fs.AddFile(sMap + "big.txt", std::string(2 << 20, 'b'));  // erased alone, after a.txt
  fs.nodes[sMap + "shared.txt"].bRefused = true;
  fs.access = {{Native(sMap + "closed/"), FolderAccess::kUnreadable}, {Native(sMap + "mnt/"), FolderAccess::kOtherFileSystem}};
  view.onPump = [&] {
    if (!fs.removals.empty()) fs.nodes.erase(Native(sMap + "vanished.txt"));
  };
  Erase(sMap, true, "*.txt");
  view.onPump = nullptr;
  EXPECT_TRUE(view.Has("Could not erased file shared.txt") && view.Has("Could not read map " + Native(sMap + "closed/")) &&
              view.Has("Skipped other file system " + Native(sMap + "mnt/")) && view.Has("Could not erased file vanished.txt"));
  EXPECT_EQ(Removed(), (std::vector<std::string>{"a.txt", "big.txt", "B/b.txt"}));
  EXPECT_EQ(Counts(), "Erased 3 file(s) and 0 folder(s)");
  EXPECT_EQ(view.Lines()[1], "  unable to delete 5 folder(s)");
  EXPECT_EQ(view.Lines()[2], "  unable to erase 2 file(s)");
  EXPECT_EQ(view.Lines()[3], "    1 x it no longer exists");
  EXPECT_EQ(view.Lines()[4], "    1 x open in another program");

  Erase(sMap, true, "*.txt");  // a second run finds nothing new and still counts what stays
  EXPECT_EQ(Counts(), "Erased 0 file(s) and 0 folder(s)");
  EXPECT_EQ(view.Lines()[1], "  unable to delete 5 folder(s)");
}

// Esc lets the batch under way finish, so that no file is left half overwritten.
TEST_F(FolderRunTest, EscOrClosingStopsBeforeTheNextBatch) {
  for (const bool bClose : {false, true}) {
    fs.removals.clear();
    view.captions.clear();
    Make({"1.txt", "2.txt", "sub/3.txt"});
    fs.AddFile(sMap + "big.txt", std::string(2 << 20, 'b'));  // erased alone: the batch before it ends there
    view.onPump = [&] {
      // Esc, then Enter: a later key does not take the stop back.
      int16_t aiKeys[] = {FrmErase::kKeyEscape, 13};
      if (!fs.removals.empty()) bClose ? void(form.Form_QueryUnload()) : (form.Form_KeyPress(aiKeys[0]), form.Form_KeyPress(aiKeys[1]));
    };
    Erase(sMap, true);
    view.onPump = nullptr;
    EXPECT_EQ(Removed(), (std::vector<std::string>{"1.txt", "2.txt"}));
    EXPECT_EQ(bClose, view.captions.end() == std::find(view.captions.begin(), view.captions.end(), TitleText(std::string(" ") + kStopping)));
    EXPECT_EQ(Counts(), "Erased 2 file(s) and 0 folder(s)");
    EXPECT_EQ(form.CloseRequested(), bClose);
  }
}

// The program's own folder blocks the run it is met in and, since only the window's load
// clears the flag, every later folder run of the window.
TEST_F(FolderRunTest, ApplicationFolderBlocksThisAndLaterRunsUntilLoad) {
  Make({"a.txt", "app/tarnwipe", "z/z.txt"});
  folders.sExecutable = sMap + "app";
  Erase(sMap, true);
  EXPECT_EQ(LastBox(), "Erasing files is blocked in path app!");
  EXPECT_EQ(Removed(), std::vector<std::string>{"a.txt"});
  Erase(sMap + "z/", true);
  EXPECT_TRUE(fs.Find(sMap + "z/z.txt"));
  form.Form_Load();
  Erase(sMap + "z/", true);
  EXPECT_FALSE(fs.Find(sMap + "z/z.txt"));
}

}  // namespace
}  // namespace tarnwipe::test
