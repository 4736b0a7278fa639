// Runs over several items: one question, one run and one closing line for files and maps mixed.
#include "runs/several_run.h"

#include "form_fixture.h"
#include "memory_file_system.h"

namespace tarnwipe::test {
namespace {

class SeveralRunTest : public FormFixture<MemoryFileSystem> {
 protected:
  // Chooses the items as the file manager hands them over, then erases them.
  void EraseAll(const std::vector<std::string>& asItems, const std::string& sPattern = "*.*") {
    std::vector<std::string> asPaths;
    for (const std::string& sItem : asItems) asPaths.push_back(Native(sItem.starts_with('/') ? sItem : sHome + sItem));
    form.TakeTargets(asPaths);
    view.sSpec = sPattern;
    form.btnErase_Click();
  }
  bool Left(const std::string& sItem) const { return fs.Find(sHome + sItem) != nullptr; }
  const std::string sHome = fs.AddFolder("/home/u");
  MemoryFileSystem::Node& a = fs.AddFile(sHome + "a.txt", std::string(1024, 'a'));
  MemoryFileSystem::Node& b = fs.AddFile(sHome + "b.bin", std::string(1024, 'b'));
  MemoryFileSystem::Node& inner = fs.AddFile(sHome + "map/inner.bin", std::string(2048, 'i'));
  MemoryFileSystem::Node& deep = fs.AddFile(sHome + "map/sub/deep.txt", std::string(1024, 'd'));
  MemoryFileSystem::Node& other = fs.AddFile(sHome + "other/o.txt", std::string(1024, 'o'));
};

// A file inside a chosen map is erased on its own turn, whatever the pattern list says, and
// counted once; the maps' folders and the files add up in one closing line.
TEST_F(SeveralRunTest, FilesAndMapsAreErasedOnceAndCountedInOneLine) {
  EraseAll({"map", "a.txt", "map/inner.bin", "b.bin", "other", "a.txt"}, "*.txt");
  EXPECT_EQ(LastBox(), "Are You sure You want to erase 5 items?\r\n\r\n" + Native(sHome + "map/inner.bin") + "\r\n" +
                           Native(sHome + "map/") + "\r\n" + Native(sHome + "a.txt") + "\r\n" + Native(sHome + "b.bin") +
                           "\r\n" + Native(sHome + "other/") + "\r\n\r\n(Press <Esc> to stop!)");
  for (const char* pItem : {"a.txt", "b.bin", "map", "other"}) EXPECT_FALSE(Left(pItem)) << pItem;
  EXPECT_EQ(fs.removals.size(), 5U);
  EXPECT_EQ(view.Lines()[0], "Erased 5 file(s) and 3 folder(s);  6.00 kBytes in 0.1 seconds [60.00 kB / second]");
  EXPECT_EQ(view.sEraseCaption, "&Erase ...");
  EXPECT_FALSE(view.bEraseEnabled || view.bBusy);
}

// Every item is checked before the question: one protected item keeps the whole selection.
// An item gone by its turn is said to be so and the run goes on; Esc stops it before the next
// file, whichever item that belongs to.
TEST_F(SeveralRunTest, ProtectedItemKeepsAllAndVanishedOrStoppedItemsAreSaid) {
  fs.AddFile("/etc/passwd", "root");
  EraseAll({"a.txt", "/etc/passwd", "map"});
  EXPECT_EQ(LastBox(), RefusalNotice(Refusal::kSystemFolder) + "\r\n\r\n" + Native("/etc/passwd"));
  EXPECT_TRUE(fs.removals.empty() && Left("a.txt"));

  dialogs.onQuestion = [&] { fs.nodes.erase(Native(sHome + "a.txt")); };
  view.onPump = [&] {
    int16_t iKey = FrmErase::kKeyEscape;
    if (!fs.removals.empty()) form.Form_KeyPress(iKey);
  };
  EraseAll({"a.txt", "b.bin", "map", "other"});
  EXPECT_TRUE(view.Has("File or map not found: " + Native(sHome + "a.txt")));
  EXPECT_FALSE(Left("b.bin"));
  EXPECT_TRUE(Left("map/inner.bin") && Left("map/sub/deep.txt") && Left("other/o.txt"));
  EXPECT_EQ(Counts(), "Erased 1 file(s) and 0 folder(s)");
}

TEST_F(SeveralRunTest, QuestionNamesTenItemsAndCountsTheRest) {
  std::vector<std::string> asItems;
  for (int i = 0; i < 12; ++i) asItems.push_back("f" + std::to_string(i) + (fs.AddFile(sHome + "f" + std::to_string(i), ""), ""));
  dialogs.lAnswer = kAnswerNo;
  EraseAll(asItems);
  EXPECT_EQ(LastBox().substr(LastBox().find(Native(sHome + "f9"))), Native(sHome + "f9") + "\r\nand 2 more\r\n\r\n(Press <Esc> to stop!)");
  EXPECT_EQ(view.sEraseCaption, "&Erase 12 items");
  EXPECT_EQ(fs.removals.size(), 0U);
}

}  // namespace
}  // namespace tarnwipe::test
