// Message boxes, error reports, target selection, the read-me and the keyboard rules.
#include "window/m_erase.h"

#include "form_fixture.h"
#include "window/read_me.h"

namespace tarnwipe::test {
namespace {

class SelectionTest : public FormFixture {};

TEST_F(SelectionTest, BoxesCarryTheVersionTitleAndTenTrailingBlanks) {
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
}

TEST_F(SelectionTest, ReportErrorWritesTheFieldsAndClearsTheError) {
  PendingError error{5, 0, "Invalid procedure call"};
  std::string sWhere = "GetNameFolder";
  MErase::ReportError(sWhere, error);
  EXPECT_EQ(sWhere, "GetNameFolder\t0\t5\tInvalid procedure call");
  EXPECT_EQ(error.lNumber, 0);
  EXPECT_TRUE(error.sDescription.empty());
}

TEST_F(SelectionTest, FolderChooserFailureGivesAnEmptyResult) {
  MErase mErase(dialogs, folders, fs);
  dialogs.onChoose = [] { throw std::runtime_error("dialog broke"); };
  std::string sTitle;
  EXPECT_EQ(mErase.GetNameFolder(sTitle, 1), "");
  EXPECT_EQ(sTitle, "Click wanted folder ...");
  std::string sOwnTitle = "Mine";
  dialogs.onChoose = nullptr;
  mErase.GetNameFolder(sOwnTitle, 0x41);
  EXPECT_EQ(sOwnTitle, "Mine");
}

TEST_F(SelectionTest, ChoosingAFile) {
  folders.sDocuments = temp.Path();
  const std::string sFile = temp.Write("Data/report.txt", "r");
  ChooseFile(sFile);
  EXPECT_EQ(dialogs.choosers.back().sTitle, "Tarnwipe: select a file to erase");
  EXPECT_EQ(dialogs.choosers.back().sFilter, "All Files (*.*)");
  EXPECT_EQ(dialogs.choosers.back().sStartFolder, temp.Path());
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
  EXPECT_TRUE(view.bEraseEnabled);
  EXPECT_EQ(view.focus, Control::kBtnErase);
  EXPECT_TRUE(view.MessagesEmpty());

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

  form.btnFile_Click();
  EXPECT_FALSE(form.Record().bMap);
  EXPECT_EQ(view.sEraseCaption, "&Erase file ");
}

TEST_F(SelectionTest, ReadMeReplacesTheAreaEachTime) {
  view.PrependMessage("old line");
  form.btnInfo_Click();
  const std::string sFirst = view.Text();
  form.btnInfo_Click();
  EXPECT_EQ(view.Text(), sFirst);
  std::string sAll;
  for (const std::string& sBlock : ReadMeBlocks()) sAll += sBlock;
  EXPECT_EQ(sFirst, sAll);
  EXPECT_EQ(view.Lines()[0], "This app will erase files, to prevent recovering once deleted.");
  EXPECT_EQ(view.Lines()[1], "");
  EXPECT_EQ(view.Lines()[23], "Tarnwipe can be installed on any PC with Windows XP, Vista and W7.");
  EXPECT_NE(sAll.substr(sAll.size() - 2), "\r\n");
}

TEST_F(SelectionTest, KeyboardRules) {
  int16_t iKey = FrmErase::kKeyEscape;
  form.Form_KeyPress(iKey);
  EXPECT_TRUE(form.Record().bStop);
  EXPECT_EQ(iKey, 27);
  iKey = 'a';
  form.Form_KeyPress(iKey);
  EXPECT_FALSE(form.Record().bStop);

  for (const int16_t iAllowed : {int16_t{'0'}, int16_t{'9'}, FrmErase::kKeyBackspace}) {
    iKey = iAllowed;
    form.txtTimes_KeyPress(iKey);
    EXPECT_EQ(iKey, iAllowed);
  }
  for (const int16_t iRefused : {int16_t{'a'}, int16_t{' '}, int16_t{'-'}, FrmErase::kKeyEscape, int16_t{13}}) {
    iKey = iRefused;
    form.txtTimes_KeyPress(iKey);
    EXPECT_EQ(iKey, 0);
  }
  for (const auto& [sTyped, sAfter] : {std::pair<const char*, const char*>{"30", "25"}, {"25", "25"}, {"26", "25"},
                                       {"99", "25"}, {"0", "0"}, {"", ""}}) {
    view.sTimes = sTyped;
    form.txtTimes_KeyUp();
    EXPECT_EQ(view.sTimes, sAfter);
  }
}

TEST_F(SelectionTest, LoadLeavesTheWindowIdleAndKeepsOnlyTheStopFlag) {
  form.Record().bStop = true;
  form.Record().bBlocked = true;
  form.Record().sTarget = "/x";
  form.Record().lNotRemoved = 4;
  view.PrependMessage("x");
  form.Form_Load();
  EXPECT_TRUE(form.Record().bStop);
  EXPECT_FALSE(form.Record().bBlocked);
  EXPECT_EQ(form.Record().sTarget, "");
  EXPECT_EQ(form.Record().lNotRemoved, 0);
  EXPECT_FALSE(view.bEraseEnabled);
  EXPECT_TRUE(view.MessagesEmpty());
  EXPECT_EQ(view.sCaption, "Tarnwipe - (c) the Tarnwipe team");
}

}  // namespace
}  // namespace tarnwipe::test
