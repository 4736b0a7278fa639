// The Trash run over the memory layer: every item and record of every Trash erased, what an
// emptying left in expunged/ too, and the Trash folders kept, a shared Trash without the sticky
// bit passed by, the Recycle Bin's layout; and the records read for where the items came from.
#include <algorithm>

#include "run_fixture.h"
#include "runs/trash_record.h"

namespace tarnwipe::test {
namespace {

class TrashRunTest : public RunFixture {
 protected:
  std::string EraseTrash() { return Erase({{kTrashItem, TargetKind::kTrash}}); }
  std::vector<std::string> Erased() {
    std::vector<std::string> asErased = reporter.asErased;
    std::sort(asErased.begin(), asErased.end());
    return asErased;
  }
};

// A Recycle Bin record of version 2: its header, then the length and the UTF-16 units of the path.
std::string RecordOf(const std::u16string& sPath) {
  std::string sRecord{2, 0, 0, 0, 0, 0, 0, 0};
  sRecord += std::string(16, '\0') + static_cast<char>(sPath.size() + 1) + std::string(3, '\0');
  for (const char16_t c : sPath + u'\0') sRecord += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return sRecord;
}

TEST_F(TrashRunTest, EveryItemAndRecordOfEveryTrashIsErasedAndTheTrashFoldersStay) {
  folders.trash = {false, "1000", Native("/home/u/.local/share/Trash/"), {Native("/"), Native("/media/u/stick/")}};
  EXPECT_EQ(EraseTrash(), "The Trash is empty.");
  const std::string sHome = "/home/u/.local/share/Trash/", sStick = "/media/u/stick/.Trash-1000/";
  for (const auto& [sPath, pContent] : {std::pair{sHome + "files/a.txt", "aaaa"}, {sHome + "info/a.txt.trashinfo", "Path=/home/u/a.txt"},
                                        {sHome + "files/dir/sub/.b", "bb"}, {sHome + "info/dir.trashinfo", "Path=/home/u/dir"},
                                        {sHome + "directorysizes", "2 1 dir"}, {sHome + "expunged/3XK9/left", "ee"}, {sStick + "files/c", "c"},
                                        {sStick + "info/c.trashinfo", "Path=c"}, {std::string("/.Trash/1000/files/unsafe"), "u"}}) {
    fs.AddFile(sPath, pContent);
  }
  // The shared Trash of the root disk has no sticky bit.
  folders.isTrashFolder = [](const std::string&, bool bOwn) { return bOwn; };
  ASSERT_EQ(EraseTrash(), "");
  EXPECT_EQ(pRun->Question(), "Erase the 4 items in the Trash (9.00 bytes on 2 disks)? They cannot be brought back.\r\n\r\n"
                              "(Press <Esc> to stop!)");
  EXPECT_EQ(Erased(), (std::vector<std::string>{".b", "a.txt", "a.txt.trashinfo", "c", "c.trashinfo", "dir.trashinfo", "directorysizes", "left"}));
  EXPECT_EQ(reporter.asEvents.back(), "trash skipped (it is no folder with the sticky bit) " + Native("/.Trash/"));
  for (const std::string& sFolder : {sHome + "files", sHome + "info", sHome + "expunged", sStick + "files", sStick + "info", std::string("/.Trash/1000/files/unsafe")})
    EXPECT_TRUE(fs.Find(sFolder)) << sFolder;
  EXPECT_EQ(folders.asTrashChanged.size(), 5U);
}

TEST_F(TrashRunTest, RecycleBinItemsAndTheirRecordsGoAndTheShellIsTold) {
  folders.trash = {true, "S-1-5-21-7", "", {Native("/d/")}};
  const std::string sBin = "/d/$Recycle.Bin/S-1-5-21-7/";
  fs.AddFile(sBin + "desktop.ini", "[.ShellClassInfo]");
  fs.AddFile("/d/$Recycle.Bin/S-1-5-21-8/$RXY.txt", "theirs");
  EXPECT_EQ(EraseTrash(), "The Recycle Bin is empty.");
  fs.AddFile(sBin + "$RAB12.txt", "secret");
  fs.AddFile(sBin + "$IAB12.txt", RecordOf(u"D:\\Gr\u00fc\u00dfe\\a.txt"));
  fs.AddFile(sBin + "$RCD34/inner.doc", "inner");
  ASSERT_EQ(EraseTrash(), "");
  EXPECT_TRUE(pRun->Question().starts_with("Erase the 2 items in the Recycle Bin (11.00 bytes on 1 disk)?")) << pRun->Question();
  EXPECT_EQ(Erased(), (std::vector<std::string>{"$IAB12.txt", "$RAB12.txt", "inner.doc"}));
  EXPECT_EQ(std::vector<std::string>(reporter.asEvents.begin(), reporter.asEvents.begin() + 2),
            (std::vector<std::string>{"shown as D:\\Gr\u00fc\u00dfe\\a.txt: " + Native(sBin + "$RAB12.txt"),
                                      "shown as the record of D:\\Gr\u00fc\u00dfe\\a.txt: " + Native(sBin + "$IAB12.txt")}));
  EXPECT_TRUE(fs.Find(sBin + "desktop.ini") && !fs.Find(sBin + "$RCD34") && fs.Find("/d/$Recycle.Bin/S-1-5-21-8/$RXY.txt"));
  EXPECT_EQ(reporter.asEvents.back(), "trash skipped (it is another user's) " + Native("/d/$Recycle.Bin/S-1-5-21-8/"));
  EXPECT_EQ(folders.asTrashChanged, std::vector<std::string>{Native(sBin)});
}

TEST(TrashRecords, BothKindsOfRecordSayWhereTheirItemCameFrom) {
  EXPECT_EQ(TrashInfoPath("[Trash Info]\r\nPath=/home/u/a%20b%C3%BC.txt\r\nDeletionDate=2026-01-01T00:00:00\r\n", ""), "/home/u/a b\u00fc.txt");
  EXPECT_EQ(TrashInfoPath("[Trash Info]\nPath=sub/x\n", "/media/s/"), "/media/s/sub/x");
  EXPECT_EQ(TrashInfoPath("[Trash Info]\nDeletionDate=2026\n", "/media/s/"), "");
  EXPECT_EQ(RecycleRecordPath(RecordOf(u"C:\\\u00e9t\u00e9\\\U0001F600.txt")), "C:\\\u00e9t\u00e9\\\U0001F600.txt");
  std::string sVersion1 = RecordOf(u"");
  sVersion1 = std::string{1} + sVersion1.substr(1, 23);
  for (const char c : std::string("C:\\old.txt")) sVersion1 += {c, '\0'};
  EXPECT_EQ(RecycleRecordPath(sVersion1 + std::string(500, '\0')), "C:\\old.txt");
  EXPECT_EQ(RecycleRecordPath("short"), "");
}

}  // namespace
}  // namespace tarnwipe::test
