// Folder runs on real trees: what is erased, what is removed, and what the summary says.
#include "runs/folder_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "form_fixture.h"
#include "runs/confinement.h"

namespace tarnwipe::test {
namespace {

class FolderRunTest : public FormFixture {
 protected:
  void EraseMap(const std::string& sFolder, const std::string& sPattern = "*.*") {
    view.sSpec = sPattern;
    ChooseMap(sFolder);
    form.btnErase_Click();
  }
  std::vector<std::string> RemovedNames() const {
    std::vector<std::string> asNames;
    for (const auto& removal : fs.removals) asNames.push_back(removal.sPath.substr(removal.sPath.rfind('/') + 1));
    return asNames;
  }
};

TEST_F(FolderRunTest, WholeTreeIsErasedAndRemoved) {
  const std::string sRoot = temp.MakeFolder("secrets");
  temp.Write("secrets/a.txt", std::string(1024, 'a'));
  temp.Write("secrets/.hidden", std::string(2048, 'h'));
  const std::string sReadOnly = temp.Write("secrets/B/ro.txt", std::string(512, 'r'));
  ::chmod(sReadOnly.c_str(), 0444);
  temp.Write("secrets/B/C/c.txt", std::string(512, 'c'));
  temp.Write("secrets/D/empty", "");

  EraseMap(sRoot);

  EXPECT_EQ(dialogs.boxes.back().sText,
            "Are You sure You want to erase secrets?\r\n\r\n(Press <Esc> to stop!)          ");
  EXPECT_FALSE(Exists(sRoot));
  EXPECT_EQ(RemovedNames(), (std::vector<std::string>{".hidden", "a.txt", "ro.txt", "c.txt", "empty"}));
  for (const auto& removal : fs.removals) {
    EXPECT_EQ(removal.sContent, std::string(static_cast<size_t>(removal.lSizeBefore), '5')) << removal.sPath;
  }
  EXPECT_EQ(view.Lines()[0], "Erased 5 file(s) and 4 folder(s);  4.00 kBytes in 0.1 seconds [40.00 kB / second]");
  EXPECT_EQ(view.Lines()[1], "");
  EXPECT_EQ(view.Lines()[2], "Erasing empty  [0 bytes]");
  EXPECT_EQ(view.Lines()[3], "Erasing files in " + sRoot + "D/");
  EXPECT_EQ(view.Lines().back(), "Erasing files in " + sRoot);
  EXPECT_EQ(view.sEraseCaption, "&Erase ...");
  EXPECT_EQ(view.sCaption, "Tarnwipe - (c) the Tarnwipe team");
  EXPECT_FALSE(view.bEraseEnabled);
  EXPECT_FALSE(view.bBusy);
}

TEST_F(FolderRunTest, FoldersStillHoldingFilesStayAndAreCounted) {
  const std::string sRoot = temp.MakeFolder("mixed");
  temp.Write("mixed/a.txt", "a");
  temp.Write("mixed/keep.dat", "k");
  temp.Write("mixed/B/b.txt", "b");
  temp.Write("mixed/B/C/keep.dat", "k");
  temp.Write("mixed/D/d.txt", "d");

  EraseMap(sRoot, "*.txt");

  EXPECT_EQ(view.Lines()[0], "Erased 3 file(s) and 1 folder(s);  0.00 kBytes in 0.1 seconds [0.03 kB / second]");
  EXPECT_EQ(view.Lines()[1], "  unable to delete 3 folder(s)");
  EXPECT_EQ(ReadFile(sRoot + "keep.dat"), "k");
  EXPECT_EQ(ReadFile(sRoot + "B/C/keep.dat"), "k");
  EXPECT_FALSE(Exists(sRoot + "B/b.txt"));
  EXPECT_FALSE(Exists(sRoot + "D"));

  // A second run finds nothing new to erase and still reports the surviving folders.
  EraseMap(sRoot, "*.txt");
  EXPECT_EQ(view.Lines()[0], "Erased 0 file(s) and 0 folder(s);  0.00 kBytes in 0.1 seconds [0.00 kB / second]");
  EXPECT_EQ(view.Lines()[1], "  unable to delete 3 folder(s)");
  EXPECT_EQ(view.Lines()[3], "Erasing files in " + sRoot + "B/C/");
  EXPECT_EQ(view.Lines().back(), "Erasing files in " + sRoot);
}

TEST_F(FolderRunTest, SurvivingFolderIsNotAnnouncedTwiceInARow) {
  const std::string sRoot = temp.MakeFolder("flat");
  temp.Write("flat/x.txt", "x");
  temp.Write("flat/keep.dat", "k");
  EraseMap(sRoot, "*.txt");
  EXPECT_EQ(view.Lines().back(), "Erasing files in " + sRoot);
  EraseMap(sRoot, "*.txt");
  EXPECT_EQ(view.Lines().size(), 3U);
  EXPECT_EQ(view.Lines()[1], "  unable to delete 1 folder(s)");
}

TEST_F(FolderRunTest, EscOrClosingStopsBeforeTheNextFile) {
  for (const bool bClose : {false, true}) {
    const std::string sRoot = temp.MakeFolder("stop");
    for (const char* pName : {"1.txt", "2.txt", "3.txt", "sub/4.txt"}) temp.Write(std::string("stop/") + pName, "data");
    view.onPump = [&] {
      if (fs.removals.empty()) return;
      if (bClose) {
        EXPECT_FALSE(form.Form_QueryUnload());
      } else {
        int16_t iKey = FrmErase::kKeyEscape;
        form.Form_KeyPress(iKey);
      }
    };
    fs.removals.clear();

    EraseMap(sRoot);

    view.onPump = nullptr;
    EXPECT_EQ(RemovedNames(), std::vector<std::string>{"1.txt"});
    EXPECT_EQ(ReadFile(sRoot + "2.txt"), "data");
    EXPECT_EQ(ReadFile(sRoot + "sub/4.txt"), "data");
    EXPECT_EQ(view.Lines()[0], "Erased 1 file(s) and 0 folder(s);  0.00 kBytes in 0.1 seconds [0.04 kB / second]");
    EXPECT_EQ(view.Lines()[1], "  unable to delete 2 folder(s)");
    EXPECT_EQ(form.Record().bCloseRequested, bClose);
    std::filesystem::remove_all(sRoot);
  }
}

TEST_F(FolderRunTest, ApplicationFolderBlocksThisAndLaterRuns) {
  const std::string sRoot = temp.MakeFolder("tree");
  temp.Write("tree/a.txt", "a");
  temp.Write("tree/app/tarnwipe", "program");
  temp.Write("tree/z/z.txt", "z");
  folders.sExecutable = sRoot + "app";

  EraseMap(sRoot);

  EXPECT_EQ(LastBox(), "Erasing files is blocked in path app!");
  EXPECT_EQ(RemovedNames(), std::vector<std::string>{"a.txt"});
  EXPECT_EQ(ReadFile(sRoot + "app/tarnwipe"), "program");
  EXPECT_EQ(ReadFile(sRoot + "z/z.txt"), "z");
  EXPECT_EQ(view.Lines()[0], "Erasing files in " + sRoot + "z/");
  EXPECT_EQ(view.sEraseCaption, "&Erasing map tree");

  const std::string sOther = temp.MakeFolder("other");
  temp.Write("other/o.txt", "o");
  EraseMap(sOther);
  EXPECT_EQ(ReadFile(sOther + "o.txt"), "o");
  EXPECT_EQ(view.Lines()[0], "Erasing files in " + sOther);
  EXPECT_FALSE(view.bBusy);
}

TEST_F(FolderRunTest, LinkToAFolderOutsideIsRemovedAsALink) {
  const std::string sOutside = temp.Write("outside/precious.txt", "precious");
  const std::string sRoot = temp.MakeFolder("with-link");
  ASSERT_EQ(::symlink((temp.Path() + "outside").c_str(), (sRoot + "to-outside").c_str()), 0);

  EraseMap(sRoot);

  EXPECT_EQ(ReadFile(sOutside), "precious");
  EXPECT_FALSE(Exists(sRoot));
  EXPECT_EQ(view.Lines()[0], "Erased 1 file(s) and 1 folder(s);  0.00 kBytes in 0.1 seconds [0.00 kB / second]");
}

TEST_F(FolderRunTest, FilesThatCouldNotBeErasedAreNotCounted) {
  const std::string sRoot = temp.MakeFolder("shared");
  const std::string sShared = temp.Write("shared/hardlinked.txt", "shared content");
  ASSERT_EQ(::link(sShared.c_str(), (temp.Path() + "elsewhere.txt").c_str()), 0);
  temp.Write("shared/plain.txt", std::string(1024, 'p'));

  EraseMap(sRoot);

  EXPECT_EQ(ReadFile(temp.Path() + "elsewhere.txt"), "shared content");
  EXPECT_EQ(view.Lines()[0], "Erased 1 file(s) and 0 folder(s);  1.00 kBytes in 0.1 seconds [10.00 kB / second]");
  EXPECT_EQ(view.Lines()[1], "  unable to delete 1 folder(s)");
  EXPECT_EQ(view.Lines()[4].rfind("Could not erased file hardlinked.txt", 0), 0U);
}

TEST_F(FolderRunTest, RootIsNeverRemovedAndZeroClocksWriteNothing) {
  form.Record().sRootFolder = "/";
  form.Record().sngStart = 100.0F;
  form.Run().dd_Done(0, 1, 0.0);
  EXPECT_EQ(view.Lines()[0], "Erased 0 file(s) and 0 folder(s);  0.00 kBytes in 0.1 seconds [0.00 kB / second]");

  const std::string sRoot = temp.MakeFolder("quiet");
  view.ClearMessages();
  form.Record().sRootFolder = sRoot;
  form.Record().sngStart = 0.0F;
  clock.sngNow = 0.0F;
  const Confinement held(fs, sRoot);
  form.Run().dd_Done(0, 1, 0.0);
  EXPECT_TRUE(view.Lines().empty());
  EXPECT_FALSE(Exists(sRoot));
}

}  // namespace
}  // namespace tarnwipe::test
