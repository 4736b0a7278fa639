// The erase command: its input checks in their order, and the single-file run from question to rest.
#include "runs/erase_command.h"

#include "form_fixture.h"
#include "memory_file_system.h"

namespace tarnwipe::test {
namespace {

class EraseCommandTest : public FormFixture<MemoryFileSystem> {
 protected:
  const std::string sFile = "/home/u/notes.txt";
  MemoryFileSystem::Node& node = fs.AddFile(sFile, std::string(1025, 'n'));
};

TEST_F(EraseCommandTest, InputChecksRefuseInTheirOrderAndChangeNothing) {
  struct Case {
    std::string sTimes, sTarget;
    bool bMap;
    std::string sNotice;
  };
  for (const Case& c : {Case{"", "", true, "Number of times not set!"}, Case{"5", "", true, "No folder selected!"},
                        Case{"5", "", false, "No file selected!"},
                        Case{"5", "/etc/passwd", false, "Erasing files system map is blocked!"},
                        Case{"5", "/opt/tool/bin", false, "Erasing files programs map is blocked!"},
                        Case{"5", "/", true, "Erasing files from root system drive is blocked!"},
                        Case{"5", "notes.txt", false, "Invalid path!"}, Case{"5", "/home/gone/", true, "Map not found!"}}) {
    view.sTimes = c.sTimes;
    view.sText = "earlier";
    view.bEraseEnabled = true;
    Erase(c.sTarget, c.bMap);
    EXPECT_EQ(LastBox(), c.sNotice);
    EXPECT_TRUE(view.bEraseEnabled && view.sText == "earlier" && form.Record().sTarget == c.sTarget) << c.sNotice;
  }
  EXPECT_EQ(node.sContent, std::string(1025, 'n'));
}

TEST_F(EraseCommandTest, SingleFileRunKeepsTheButtonsOffAndReportsOnTop) {
  int iSeenOn = 0;
  view.onPump = [&] {
    iSeenOn += view.bSelectEnabled || view.bEraseEnabled || !view.bBusy;
    form.btnFile_Click();  // a click that gets through must not change the target
  };
  Erase(sFile, false);
  EXPECT_EQ(LastBox(), "Are You sure You want to erase notes.txt?");
  EXPECT_FALSE(fs.Exists(sFile));
  EXPECT_EQ(view.Lines(), (std::vector<std::string>{"Erased 1.00 kBytes in 0.1 seconds  [10.01 kB / second]", "",
                                                    "Erasing notes.txt  [1,025 bytes]"}));
  EXPECT_EQ(iSeenOn, 0);
  EXPECT_TRUE(dialogs.choosers.empty());
  EXPECT_TRUE(!view.bEraseEnabled && view.bSelectEnabled && !view.bBusy && form.Record().sTarget.empty());
}

TEST_F(EraseCommandTest, DeclinedQuestionOrVanishedFileErasesNothing) {
  dialogs.answers.push_back(kAnswerNo);
  Erase(sFile, false);
  EXPECT_TRUE(fs.Exists(sFile) && view.Lines().empty() && form.Record().sTarget == sFile);
  fs.nodes.erase(sFile);
  Erase(sFile, false);
  EXPECT_EQ(view.Lines(), (std::vector<std::string>{"Could not erased file notes.txt [in 0.1 seconds]",
                                                    "Erasing notes.txt  [0 bytes]"}));
}

}  // namespace
}  // namespace tarnwipe::test
