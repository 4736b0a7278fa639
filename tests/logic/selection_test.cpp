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

}  // namespace
}  // namespace tarnwipe::test
