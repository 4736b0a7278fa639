// Choosing a target, the read-me, the window's load, and the module's boxes and error reports.
#include "runs/m_erase.h"

#include <stdexcept>

#include "form_fixture.h"
#include "memory_file_system.h"
#include "window/read_me.h"

namespace tarnwipe::test {
namespace {

class SelectionTest : public FormFixture<MemoryFileSystem> {
 protected:
  void ChooseMap(const std::string& sChoice) {
    dialogs.choices.push_back(sChoice);
    form.btnMap_Click();
  }
  const std::string sPhotos = fs.AddFolder("/home/u/Photos");
  const std::string sCat = fs.AddFile(sPhotos + "cat.jpg", "c");
};

TEST_F(SelectionTest, ChoosingAFileOrAMapNamesItOnTheButton) {
  folders.sDocuments = "/home/u";
  dialogs.choices.push_back(sCat);
  form.btnFile_Click();
  EXPECT_EQ(dialogs.choosers.back().sText, "/home/u/");
  EXPECT_EQ(form.Record().sTarget, sCat);
  EXPECT_EQ(view.sEraseCaption, "&Erase file cat.jpg");
  EXPECT_EQ(view.focus, Control::kBtnErase);

  view.sText = "read me text";
  ChooseMap("/home/u/Photos");
  EXPECT_EQ(form.Record().sTarget, sPhotos);
  EXPECT_TRUE(form.Record().bMap);
  EXPECT_EQ(view.sEraseCaption, "&Erase map Photos");
  EXPECT_TRUE(view.sText.empty());
  ChooseMap(sCat);  // a file chosen in the folder dialog names its folder
  EXPECT_EQ(form.Record().sTarget, sPhotos);
  ChooseMap("/");
  EXPECT_EQ(view.sEraseCaption, "&Erase map /");
}

TEST_F(SelectionTest, CancelLeavesNoTargetAndTheButtonOff) {
  ChooseMap(sPhotos);
  bool bDisabledWhileOpen = false;
  dialogs.onChoose = [&] { bDisabledWhileOpen = !view.bEraseEnabled; };
  form.btnMap_Click();
  EXPECT_TRUE(bDisabledWhileOpen);
  EXPECT_EQ(form.Record().sTarget, "");
  EXPECT_EQ(view.sEraseCaption, "&Erase map ");
  EXPECT_FALSE(view.bEraseEnabled);
  EXPECT_EQ(view.focus, Control::kBtnFile);

  dialogs.onChoose = [] { throw std::runtime_error("dialog broke"); };
  form.btnMap_Click();
  EXPECT_EQ(form.Record().sTarget, "");
  EXPECT_EQ(dialogs.choosers.back().sTitle, "Select a map to erase");
}

TEST_F(SelectionTest, ReadMeReplacesTheAreaEachTime) {
  view.sText = "old line";
  form.btnInfo_Click();
  form.btnInfo_Click();
  std::string sAll;
  for (const std::string& sBlock : ReadMeBlocks()) sAll += sBlock;
  EXPECT_EQ(view.sText, sAll);
}

TEST_F(SelectionTest, LoadClearsTheRunRecordButTheStopFlag) {
  RunRecord& r = form.Record();
  r.bStop = r.bBlocked = true;
  r.sTarget = "/x";
  form.Form_Load();
  EXPECT_TRUE(r.bStop);
  EXPECT_FALSE(r.bBlocked);
  EXPECT_EQ(r.sTarget, "");
}

TEST(MErase, ErrorReportAndTheEmptyTitle) {
  PendingError error{5, 0, "Invalid procedure call"};
  std::string sWhere = "GetNameFolder";
  MErase::ReportError(sWhere, error);
  EXPECT_EQ(sWhere, "GetNameFolder\t0\t5\tInvalid procedure call");
  EXPECT_EQ(error.lNumber, 0);

  ScriptedDialogs dialogs;
  FakeSpecialFolders folders;
  MemoryFileSystem fs;
  MErase mErase(dialogs, folders, fs);
  std::string sTitle;
  mErase.GetNameFolder(sTitle, 1);
  EXPECT_EQ(sTitle, "Click wanted folder ...");
}

}  // namespace
}  // namespace tarnwipe::test
