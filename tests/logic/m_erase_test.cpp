// Message boxes, error reports, target selection, the read-me and the window's load.
#include "window/m_erase.h"

#include "form_fixture.h"
#include "window/read_me.h"

namespace tarnwipe::test {
namespace {

class SelectionTest : public FormFixture {};

TEST_F(SelectionTest, BoxesAndErrorReports) {
  MErase mErase(dialogs, folders, fs);
  dialogs.answers = {kAnswerYes, kAnswerNo};
  EXPECT_EQ(mErase.AskConfirm(""), 6);
  EXPECT_EQ(mErase.AskConfirm("Sure?"), 7);
  mErase.ShowNotice("Stop!");
  ASSERT_EQ(dialogs.boxes.size(), 3U);
  EXPECT_EQ(dialogs.boxes[0].sText, std::string(10, ' '));
  EXPECT_EQ(dialogs.boxes[0].sTitle, "Tarnwipe version2");
  EXPECT_EQ(dialogs.boxes[0].lStyle, 36);
  EXPECT_EQ(dialogs.boxes[1].sText, "Sure?          ");
  EXPECT_EQ(dialogs.boxes[2].sText, "Stop!          ");
  EXPECT_EQ(dialogs.boxes[2].lStyle, 16);

  PendingError error{5, 0, "Invalid procedure call"};
  std::string sWhere = "GetNameFolder";
  MErase::ReportError(sWhere, error);
  EXPECT_EQ(sWhere, "GetNameFolder\t0\t5\tInvalid procedure call");
  EXPECT_EQ(error.lNumber, 0);

  dialogs.onChoose = [] { throw std::runtime_error("dialog broke"); };
  std::string sTitle;
  EXPECT_EQ(mErase.GetNameFolder(sTitle, 1), "");
  EXPECT_EQ(sTitle, "Click wanted folder ...");
}

TEST_F(SelectionTest, ChoosingAFile) {
  folders.sDocuments = temp.Path();
  const std::string sFile = temp.Write("Data/report.txt", "r");
  ChooseFile(sFile);
  EXPECT_EQ(dialogs.choosers.back().sTitle, "Tarnwipe: select a file to erase");
  EXPECT_EQ(dialogs.choosers.back().sFilter, "All Files (*.*)");
  EXPECT_EQ(dialogs.choosers.back().sText, temp.Path());
  EXPECT_EQ(form.Record().sTarget, sFile);
  EXPECT_FALSE(form.Record().bMap);
  EXPECT_EQ(view.sEraseCaption, "&Erase file report.txt");
  EXPECT_TRUE(view.bEraseEnabled);
  EXPECT_EQ(view.focus, Control::kBtnErase);
}

TEST_F(SelectionTest, ChoosingAMapAFileInTheMapDialogOrTheRoot) {
  const std::string sPhotos = temp.MakeFolder("Data/Photos");
  const std::string sFile = temp.Write("Data/Photos/cat.jpg", "c");
  view.PrependMessage("read me text");
  ChooseMap(sPhotos.substr(0, sPhotos.size() - 1));
  EXPECT_EQ(dialogs.choosers.back().sTitle, "Select a map to erase");
  EXPECT_EQ(form.Record().sTarget, sPhotos);
  EXPECT_TRUE(form.Record().bMap);
  EXPECT_EQ(view.sEraseCaption, "&Erase map Photos");
  EXPECT_EQ(view.focus, Control::kBtnErase);
  EXPECT_TRUE(view.sText.empty());

  ChooseMap(sFile);
  EXPECT_EQ(form.Record().sTarget, sPhotos);
  ChooseMap("/");
  EXPECT_EQ(form.Record().sTarget, "/");
  EXPECT_EQ(view.sEraseCaption, "&Erase map /");
}

TEST_F(SelectionTest, CancelAfterAnEarlierChoice) {
  ChooseFile(temp.Write("a.txt", "a"));
  bool bDisabledWhileOpen = false;
  dialogs.onChoose = [&] { bDisabledWhileOpen = !view.bEraseEnabled; };
  form.btnMap_Click();
  EXPECT_TRUE(bDisabledWhileOpen);
  EXPECT_TRUE(form.Record().bMap);
  EXPECT_EQ(form.Record().sTarget, "");
  EXPECT_EQ(view.sEraseCaption, "&Erase map ");
  EXPECT_FALSE(view.bEraseEnabled);
  EXPECT_EQ(view.focus, Control::kBtnFile);
}

TEST_F(SelectionTest, ReadMeReplacesTheAreaEachTime) {
  view.PrependMessage("old line");
  form.btnInfo_Click();
  form.btnInfo_Click();
  std::string sAll;
  for (const std::string& sBlock : ReadMeBlocks()) sAll += sBlock;
  EXPECT_EQ(view.sText, sAll);
  EXPECT_EQ(view.Lines()[0], "This app will erase files, to prevent recovering once deleted.");
  EXPECT_EQ(view.Lines()[1], "");
  EXPECT_EQ(view.Lines()[23], "Tarnwipe can be installed on any PC with Windows XP, Vista and W7.");
  EXPECT_NE(sAll.substr(sAll.size() - 2), "\r\n");
}

TEST_F(SelectionTest, LoadClearsTheRunRecordButTheStopFlag) {
  RunRecord& r = form.Record();
  r.bStop = r.bBlocked = true;
  r.sTarget = "/x";
  r.lNotRemoved = 4;
  form.Form_Load();
  EXPECT_TRUE(r.bStop);
  EXPECT_FALSE(r.bBlocked);
  EXPECT_EQ(r.sTarget, "");
  EXPECT_EQ(r.lNotRemoved, 0);
}

}  // namespace
}  // namespace tarnwipe::test
