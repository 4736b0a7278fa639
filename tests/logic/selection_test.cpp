// Choosing a target through the dialogs, and the module's error report.
#include "runs/m_erase.h"

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
    return form.Record().sTarget;
  }
  const std::string sPhotos = fs.AddFolder("/home/u/Photos");
  const std::string sCat = (fs.AddFile(sPhotos + "cat.jpg", "c"), sPhotos + "cat.jpg");
};

TEST_F(SelectionTest, ChosenFileOrMapBecomesTheTarget) {
  EXPECT_EQ(Choose(sCat, false), sCat);
  EXPECT_EQ(view.sEraseCaption, "&Erase file cat.jpg");
  view.sText = "read me text";
  EXPECT_EQ(Choose("/home/u/Photos", true), sPhotos);
  EXPECT_TRUE(view.sText.empty() && view.bEraseEnabled && view.focus == Control::kBtnErase);
  EXPECT_EQ(Choose(sCat, true), sPhotos);  // a file chosen in the folder dialog names its folder
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

  PendingError error{5, 0, "Invalid procedure call"};
  std::string sWhere = "GetNameFolder";
  MErase::ReportError(sWhere, error);
  EXPECT_EQ(sWhere, "GetNameFolder\t0\t5\tInvalid procedure call");
}

// A path on the command line or dropped on the window is chosen as its dialog would choose it.
TEST_F(SelectionTest, HandedTargetIsChosenByWhatItIs) {
  fs.AddFile("/home/u/link", "", kAttrArchive | kAttrLink);
  for (const auto& [pPath, pTarget, pCaption] :
       {std::tuple{"/home/u/Photos", "/home/u/Photos/", "&Erase map Photos"},
        {"/home/u/Photos/cat.jpg", "/home/u/Photos/cat.jpg", "&Erase file cat.jpg"},
        {"/home/u/link", "/home/u/link", "&Erase file link"}}) {
    view.sText = "earlier run";
    form.TakeTargets({Native(pPath)});
    EXPECT_EQ(form.Record().sTarget, Native(pTarget));
    EXPECT_EQ(form.Record().bMap, std::string(pCaption).find("map") != std::string::npos);
    EXPECT_EQ(view.sEraseCaption, pCaption);
    EXPECT_TRUE(view.sText.empty() && view.bEraseEnabled && view.focus == Control::kBtnErase) << pPath;
  }
  EXPECT_TRUE(dialogs.boxes.empty() && dialogs.iChoosers == 0);
  // None, several, missing or relative: a notice, and no target.
  for (const auto& [asPaths, pNotice] :
       {std::pair<std::vector<std::string>, const char*>{{}, "Select one file or one map at a time!"},
        {{Native("/home/u/Photos"), sCat}, "Select one file or one map at a time!"},
        {{Native("/home/u/gone.txt")}, "File or map not found!"},
        {{"cat.jpg"}, "File or map not found!"}}) {
    form.TakeTargets(asPaths);
    EXPECT_EQ(LastBox(), pNotice);
  }
  EXPECT_EQ(form.Record().sTarget, Native("/home/u/link"));
  form.Record().bRunning = true;
  form.TakeTargets({sCat});
  EXPECT_EQ(form.Record().sTarget, Native("/home/u/link")) << "nothing is taken during a run";
}

}  // namespace
}  // namespace tarnwipe::test
