// Choosing targets: through the dialogs, on the command line, by drops and hand-offs.
#include "runs/m_erase.h"
#include "window/command_line.h"

#include <stdexcept>

#include "form_fixture.h"
#include "memory_file_system.h"

namespace tarnwipe::test {
namespace {

class SelectionTest : public FormFixture<MemoryFileSystem> {
 protected:
  std::string Choose(const std::string& sChoice, bool bMap) {
    dialogs.sChoice = sChoice;
    bMap ? form.btnMap_Click() : form.btnFile_Click();
    return form.Selection().empty() ? "" : form.Selection().front().sPath;
  }
  static Target F(const std::string& sPath) { return {sPath, TargetKind::kFile}; }
  static Target M(const std::string& sPath) { return {sPath, TargetKind::kMap}; }
  const std::string sPhotos = fs.AddFolder("/home/u/Photos");
  const std::string sCat = (fs.AddFile(sPhotos + "cat.jpg", "c"), sPhotos + "cat.jpg");
};

// A target chosen through a dialog ('f', 'm') or handed over on the command line or by a drop
// ('h') becomes the target as its dialog would choose it.
TEST_F(SelectionTest, ChosenOrHandedTargetBecomesTheTarget) {
  fs.AddFile("/home/u/link", "", kAttrArchive | kAttrLink);
  for (const auto& [cHow, pPath, pTarget, pCaption] :
       {std::tuple{'f', "/home/u/Photos/cat.jpg", "/home/u/Photos/cat.jpg", "&Erase file cat.jpg"},
        {'m', "/home/u/Photos", "/home/u/Photos/", "&Erase map Photos"},
        {'m', "/home/u/Photos/cat.jpg", "/home/u/Photos/", "&Erase map Photos"},  // a file names its folder
        {'h', "/home/u/Photos", "/home/u/Photos/", "&Erase map Photos"},
        {'h', "/home/u/Photos/cat.jpg", "/home/u/Photos/cat.jpg", "&Erase file cat.jpg"},
        {'h', "/home/u/link", "/home/u/link", "&Erase file link"}}) {
    view.sText = "earlier run";
    cHow == 'h' ? form.TakeTargets({Native(pPath)}) : void(Choose(pPath, cHow == 'm'));
    const bool bMap = std::string(pCaption).find("map") != std::string::npos;
    EXPECT_EQ(form.Selection(), std::vector<Target>{bMap ? M(Native(pTarget)) : F(Native(pTarget))});
    EXPECT_EQ(view.sEraseCaption, pCaption);
    EXPECT_TRUE(view.sText.empty() && view.bEraseEnabled && view.focus == Control::kBtnErase) << pPath;
  }
  EXPECT_TRUE(dialogs.boxes.empty() && dialogs.iChoosers == 3);
  Choose("/", true);
  EXPECT_EQ(view.sEraseCaption, "&Erase map " + paths::LastName(Native("/")));
}

TEST_F(SelectionTest, CancelOrABrokenDialogLeavesNoTargetAndTheButtonOff) {
  Choose(sPhotos, true);
  bool bDisabledWhileOpen = false;
  dialogs.onChoose = [&] { bDisabledWhileOpen = !view.bEraseEnabled; };
  EXPECT_EQ(Choose("", true), "");
  EXPECT_TRUE(bDisabledWhileOpen && !view.bEraseEnabled && view.focus == Control::kBtnFile);
  dialogs.onChoose = [] { throw std::runtime_error("dialog broke"); };
  EXPECT_EQ(Choose(sPhotos, true), "");
}

// Several handed over make one selection; what is missing is named while the rest is kept.
TEST_F(SelectionTest, SeveralHandedItemsMakeOneSelection) {
  form.TakeTargets({Native("/home/u/gone.txt"), sPhotos, "cat.jpg", sCat, sCat});
  EXPECT_EQ(LastBox(), "File or map not found!\r\n\r\n" + Native("/home/u/gone.txt") + "\r\ncat.jpg");
  EXPECT_EQ(form.Selection(), (std::vector<Target>{M(sPhotos), F(sCat)}));
  EXPECT_EQ(view.sEraseCaption, "&Erase 2 items");
  EXPECT_EQ(view.Lines(), (std::vector<std::string>{"Map: " + sPhotos, "File: " + sCat}));
  form.TakeTargets({Native("/home/u/gone.txt")});
  EXPECT_EQ(form.Selection().size(), 2U) << "a selection of nothing that exists changes nothing";
  dialogs.lAnswer = kAnswerNo;
  dialogs.onQuestion = [&] { form.TakeTargets({sCat}); };
  form.btnErase_Click();
  EXPECT_EQ(form.Selection().size(), 2U) << "nothing is taken during a run";
}

// The Trash is chosen from the menu of what was deleted before, or by --trash on the command
// line or in a hand-off, where it goes alone; an empty Trash gets a notice, not a question. So is
// a disk's free space.
TEST_F(SelectionTest, TheTrashIsChosenFromTheMenuOrTheCommandLineAndGoesAlone) {
  folders.trash.sHomeTrash = Native("/home/u/.local/share/Trash/");
  dialogs.iMenuChoice = -1;
  form.btnDeleted_Click();
  EXPECT_TRUE(form.Selection().empty() && dialogs.menus.back() == (std::vector<std::string>{"&The Trash", "&Free space of a disk ..."}));
  dialogs.iMenuChoice = 0;
  form.btnDeleted_Click();
  EXPECT_TRUE(view.sEraseCaption == "&Erase the Trash" && view.bEraseEnabled);
  form.btnErase_Click();
  EXPECT_EQ(LastBox(), "The Trash is empty.");
  form.TakeTargets({sCat, kTrashItem});
  EXPECT_EQ(form.Selection(), (std::vector<Target>{{kTrashItem, TargetKind::kTrash}}));
  EXPECT_EQ(ParseCommandLine({"--trash", "a", "--free-space"}).asTargets,
            (std::vector<std::string>{kTrashItem, "a", kFreeSpaceItem}));
  // Free space named without a folder asks for one.
  dialogs.sChoice = sPhotos;
  form.TakeTargets({kFreeSpaceItem});
  EXPECT_EQ(form.Selection(), (std::vector<Target>{{sPhotos, TargetKind::kFreeSpace}}));
  folders.trash.bRecycleBin = true;
  form.btnDeleted_Click();
  EXPECT_TRUE(dialogs.menus.back()[0] == "The &Recycle Bin" && view.sEraseCaption == "&Erase the Recycle Bin");
}

// Hand-offs close together join one selection, as one start per selected item arrives; after a
// pause a hand-off is a new selection. The file dialog may hand back several files at once, and
// a name it cannot pass on faithfully is refused with a notice.
TEST_F(SelectionTest, HandOffsInABurstJoinAndTheFileDialogTakesSeveral) {
  const std::string sDog = (fs.AddFile(sPhotos + "dog.jpg", "d"), sPhotos + "dog.jpg");
  clock.dblFrameStep = 0.3;
  for (const std::string& sPath : {sCat, sPhotos, sCat, sDog}) form.HandOff({sPath});
  EXPECT_EQ(form.Selection(), (std::vector<Target>{F(sCat), M(sPhotos), F(sDog)}));
  clock.dblFrameStep = 2;
  form.HandOff({sDog});
  EXPECT_EQ(form.Selection(), std::vector<Target>{F(sDog)});

  dialogs.asFiles = {sCat, sDog};
  form.btnFile_Click();
  EXPECT_EQ(form.Selection(), (std::vector<Target>{F(sCat), F(sDog)}));
  dialogs.asFiles = {Dialogs::Unnamable()};
  form.btnFile_Click();
  EXPECT_TRUE(form.Selection().empty() && !view.bEraseEnabled);
  EXPECT_EQ(LastBox().substr(0, 45), "The dialog cannot name this file faithfully: ");
}

TEST(CommandLine, QuestionsAboutTheProgramWinOverTargets) {
  EXPECT_EQ(ParseCommandLine({"a", "b", "c"}).asTargets.size(), 3U);
  EXPECT_EQ(ParseCommandLine({"a", "--version"}).eAction, CommandLine::Action::kVersion);
}

}  // namespace
}  // namespace tarnwipe::test
