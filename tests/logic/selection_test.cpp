// Choosing a target, the window's load, and the module's error report.
#include "runs/m_erase.h"

#include <stdexcept>

#include "form_fixture.h"
#include "memory_file_system.h"

namespace tarnwipe::test {
namespace {

class SelectionTest : public FormFixture<MemoryFileSystem> {
 protected:
  void Choose(const std::string& sChoice, bool bMap) {
    dialogs.choices.push_back(sChoice);
    bMap ? form.btnMap_Click() : form.btnFile_Click();
  }
  const std::string sPhotos = fs.AddFolder("/home/u/Photos");
};

TEST_F(SelectionTest, ChosenFileOrMapIsNamedOnTheButton) {
  fs.AddFile(sPhotos + "cat.jpg", "c");
  Choose(sPhotos + "cat.jpg", false);
  EXPECT_EQ(view.sEraseCaption, "&Erase file cat.jpg");
  EXPECT_EQ(view.focus, Control::kBtnErase);
  view.sText = "read me text";
  Choose("/home/u/Photos", true);
  EXPECT_EQ(form.Record().sTarget, sPhotos);
  EXPECT_EQ(view.sEraseCaption, "&Erase map Photos");
  EXPECT_TRUE(view.sText.empty());
  Choose(sPhotos + "cat.jpg", true);  // a file chosen in the folder dialog names its folder
  EXPECT_EQ(form.Record().sTarget, sPhotos);
  Choose("/", true);
  EXPECT_EQ(view.sEraseCaption, "&Erase map /");
}

TEST_F(SelectionTest, CancelOrABrokenDialogLeavesNoTargetAndTheButtonOff) {
  Choose(sPhotos, true);
  bool bDisabledWhileOpen = false;
  dialogs.onChoose = [&] { bDisabledWhileOpen = !view.bEraseEnabled; };
  form.btnMap_Click();
  EXPECT_TRUE(bDisabledWhileOpen);
  EXPECT_EQ(form.Record().sTarget, "");
  EXPECT_EQ(view.sEraseCaption, "&Erase map ");
  EXPECT_EQ(view.focus, Control::kBtnFile);
  Choose(sPhotos, true);
  dialogs.onChoose = [] { throw std::runtime_error("dialog broke"); };
  form.btnMap_Click();
  EXPECT_EQ(form.Record().sTarget, "");

  PendingError error{5, 0, "Invalid procedure call"};
  std::string sWhere = "GetNameFolder";
  MErase::ReportError(sWhere, error);
  EXPECT_EQ(sWhere, "GetNameFolder\t0\t5\tInvalid procedure call");
}

TEST_F(SelectionTest, LoadClearsTheRunRecordButTheStopFlag) {
  RunRecord& r = form.Record();
  r.bStop = r.bBlocked = true;
  r.sTarget = "/x";
  form.Form_Load();
  EXPECT_TRUE(r.bStop && !r.bBlocked && r.sTarget.empty());
}

}  // namespace
}  // namespace tarnwipe::test
