// Runs over several items: one question, one run and one closing line for files and maps mixed.
#include "form_fixture.h"
#include "memory_file_system.h"

namespace tarnwipe::test {
namespace {

class SeveralRunTest : public FormFixture<MemoryFileSystem> {
 protected:
  SeveralRunTest() {
    for (const char* pName : {"a.txt", "b.bin", "map/inner.bin", "map/sub/deep.txt", "other/o.txt"}) fs.AddFile(sHome + pName, "1234");
  }
  // Chooses the items (below /home/u/ unless full paths) as a file manager hands them over, and erases them.
  void EraseAll(const std::vector<std::string>& asItems, const std::string& sPattern = "*.*") {
    std::vector<std::string> asPaths;
    for (const std::string& sItem : asItems) asPaths.push_back(Native(sItem.starts_with('/') ? sItem : sHome + sItem));
    form.TakeTargets(asPaths);
    view.sSpec = sPattern;
    form.btnErase_Click();
  }
  bool Left(const std::string& sItem) const { return fs.Find(sHome + sItem) != nullptr; }
  const std::string sHome = Native("/home/u/");
};

// A file inside a chosen map is erased on its own turn, whatever the pattern list says, and
// counted once; the maps' folders and the files add up in one closing line.
TEST_F(SeveralRunTest, FilesAndMapsAreErasedOnceAndCountedInOneLine) {
  EraseAll({"map", "a.txt", "map/inner.bin", "b.bin", "other", "a.txt"}, "*.txt");
  std::string sNamed;
  for (const char* pItem : {"map/inner.bin", "map/", "a.txt", "b.bin", "other/"}) sNamed += Native(sHome + pItem) + "\r\n";
  EXPECT_EQ(LastBox(), "Are You sure You want to erase 5 items?\r\n\r\n" + sNamed + "\r\n(Press <Esc> to stop!)");
  for (const char* pItem : {"a.txt", "b.bin", "map", "other"}) EXPECT_FALSE(Left(pItem)) << pItem;
  EXPECT_EQ(fs.removals.size(), 5U);
  EXPECT_EQ(view.Lines()[0], "Erased 5 file(s) and 3 folder(s);  0.02 kBytes in 0.1 seconds [0.20 kB / second]");
  EXPECT_FALSE(view.sEraseCaption != "&Erase ..." || view.bEraseEnabled || view.bBusy);
}

// Every item is checked before the question: one protected item keeps the whole selection. An
// item gone by its turn is said to be so and the run goes on; Esc stops it before the next file,
// whichever item that belongs to. A question names ten items and counts the rest.
TEST_F(SeveralRunTest, ProtectedItemKeepsAllAndVanishedOrStoppedItemsAreSaid) {
  fs.AddFile("/etc/passwd", "root");
  EraseAll({"a.txt", "/etc/passwd", "map"});
  EXPECT_EQ(LastBox(), RefusalNotice(Refusal::kSystemFolder) + "\r\n\r\n" + Native("/etc/passwd"));
  EXPECT_TRUE(fs.removals.empty() && Left("a.txt"));

  dialogs.onQuestion = [&] { fs.nodes.erase(sHome + "a.txt"); };
  view.onPump = [&] {
    int16_t iKey = FrmErase::kKeyEscape;
    if (!fs.removals.empty()) form.Form_KeyPress(iKey);
  };
  EraseAll({"a.txt", "b.bin", "map", "other"});
  EXPECT_TRUE(view.Has("File or map not found: " + sHome + "a.txt"));
  EXPECT_TRUE(!Left("b.bin") && Left("map/inner.bin") && Left("map/sub/deep.txt") && Left("other/o.txt"));
  EXPECT_EQ(Counts(), "Erased 1 file(s) and 0 folder(s)");

  std::vector<std::string> asItems;
  for (int i = 0; i < 12; ++i) asItems.push_back((fs.AddFile(sHome + "f" + std::to_string(i), ""), "f" + std::to_string(i)));
  dialogs.lAnswer = kAnswerNo;
  EraseAll(asItems);
  EXPECT_TRUE(LastBox().ends_with(sHome + "f9\r\nand 2 more\r\n\r\n(Press <Esc> to stop!)")) << LastBox();
  EXPECT_TRUE(view.sEraseCaption == "&Erase 12 items" && Left("f0"));
}

}  // namespace
}  // namespace tarnwipe::test
