// The erase command: input checks in their order, the single-file run and its ending.
#include "runs/erase_command.h"

#include <algorithm>

#include "form_fixture.h"

namespace tarnwipe::test {
namespace {

class EraseCommandTest : public FormFixture {};

TEST_F(EraseCommandTest, InputChecksRefuseInTheirOrderAndChangeNothing) {
  const std::string sFile = temp.Write("f.txt", "x");
  struct Case {
    std::string sTimes;
    bool bMap;
    std::string sTarget;
    std::string sNotice;
  };
  const std::vector<Case> cases = {
      {"", true, "", "Number of times not set!"},
      {"5", true, "", "No folder selected!"},
      {"5", false, "", "No file selected!"},
      {"5", false, "/etc/passwd", "Erasing files system map is blocked!"},
      {"5", true, "/usr/", "Erasing files system map is blocked!"},
      {"5", false, "/opt/tool/bin", "Erasing files programs map is blocked!"},
      {"5", true, "/", "Erasing files from root system drive is blocked!"},
      {"5", false, "f.txt", "Invalid path!"},
      {"5", true, temp.Path() + "gone/", "Map not found!"},
  };
  for (const Case& c : cases) {
    view.sTimes = c.sTimes;
    form.Record().bMap = c.bMap;
    form.Record().sTarget = c.sTarget;
    view.bEraseEnabled = true;
    view.sEraseCaption = "&Erase file f.txt";
    view.PrependMessage("earlier");
    const size_t lLines = view.Lines().size();

    form.btnErase_Click();

    EXPECT_EQ(LastBox(), c.sNotice);
    EXPECT_EQ(dialogs.boxes.back().lStyle, kStyleCritical);
    EXPECT_TRUE(view.bEraseEnabled) << c.sNotice;
    EXPECT_FALSE(view.bBusy);
    EXPECT_EQ(view.sEraseCaption, "&Erase file f.txt");
    EXPECT_EQ(view.Lines().size(), lLines);
    EXPECT_EQ(form.Record().sTarget, c.sTarget);
  }
  EXPECT_EQ(ReadFile(sFile), "x");
}

TEST_F(EraseCommandTest, SingleFileRunReportsAmountTimeAndSpeedOnTop) {
  const std::string sFile = temp.Write("notes.txt", std::string(1025, 'n'));
  ChooseFile(sFile);
  EXPECT_EQ(view.sEraseCaption, "&Erase file notes.txt");
  bool bBusyWhileAsked = false;
  view.onPump = [&] { bBusyWhileAsked = bBusyWhileAsked || view.bBusy; };

  form.btnErase_Click();

  EXPECT_EQ(dialogs.boxes.back().sText, "Are You sure You want to erase notes.txt?          ");
  EXPECT_EQ(dialogs.boxes.back().lStyle, kStyleYesNo | kStyleQuestion);
  EXPECT_FALSE(Exists(sFile));
  ASSERT_EQ(view.Lines().size(), 3U);
  EXPECT_EQ(view.Lines()[0], "Erased 1.00 kBytes in 0.1 seconds  [10.01 kB / second]");
  EXPECT_EQ(view.Lines()[1], "");
  EXPECT_EQ(view.Lines()[2], "Erasing notes.txt  [1,025 bytes]");
  EXPECT_TRUE(bBusyWhileAsked);
  EXPECT_EQ(view.sEraseCaption, "&Erase ...");
  EXPECT_FALSE(view.bEraseEnabled);
  EXPECT_TRUE(view.bSelectEnabled);
  EXPECT_FALSE(view.bBusy);
  EXPECT_EQ(view.sCaption, "Tarnwipe - (c) the Tarnwipe team");
  EXPECT_EQ(view.sProgress, "");
  EXPECT_TRUE(form.Record().sTarget.empty());
}

TEST_F(EraseCommandTest, ButtonsAreOffWhileTheFileIsOverwritten) {
  const std::string sFile = temp.Write("busy.bin", std::string(4096, 'b'));
  ChooseFile(sFile);
  std::vector<bool> seen;
  view.onPump = [&] {
    seen.push_back(view.bSelectEnabled || view.bEraseEnabled);
    form.btnFile_Click();  // a click that gets through must not change the target
  };
  form.btnErase_Click();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 0);
  EXPECT_EQ(dialogs.choosers.size(), 1U);
  EXPECT_FALSE(Exists(sFile));
}

TEST_F(EraseCommandTest, DeclinedQuestionOnlyDisablesTheButton) {
  const std::string sFile = temp.Write("keep.txt", "keep");
  ChooseFile(sFile);
  view.PrependMessage("earlier");
  dialogs.answers.push_back(kAnswerNo);

  form.btnErase_Click();

  EXPECT_EQ(ReadFile(sFile), "keep");
  EXPECT_EQ(view.sText, "earlier");
  EXPECT_EQ(view.sEraseCaption, "&Erase file keep.txt");
  EXPECT_FALSE(view.bEraseEnabled);
  EXPECT_FALSE(view.bBusy);
  EXPECT_EQ(form.Record().sTarget, sFile);
}

TEST_F(EraseCommandTest, FileThatVanishedGetsTheFailureLineAndNoReport) {
  const std::string sFile = temp.Write("brief.txt", "brief");
  ChooseFile(sFile);
  std::remove(sFile.c_str());

  form.btnErase_Click();

  ASSERT_EQ(view.Lines().size(), 2U);
  EXPECT_EQ(view.Lines()[0], "Could not erased file brief.txt [in 0.1 seconds]");
  EXPECT_EQ(view.Lines()[1], "Erasing brief.txt  [0 bytes]");
  EXPECT_EQ(view.sEraseCaption, "&Erase ...");
  EXPECT_FALSE(view.bEraseEnabled);
}

}  // namespace
}  // namespace tarnwipe::test
