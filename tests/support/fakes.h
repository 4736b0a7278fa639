// The window's controls, the clock, the special folders and the dialogs, as a test sets and
// answers them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "native_path.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/form_view.h"
#include "platform/special_folders.h"

namespace tarnwipe::test {

class FakeFormView : public FormView {
 public:
  std::string sTimes = "5", sSpec = "*.*", sEraseCaption, sText;
  bool bEraseEnabled = true, bSelectEnabled = true, bBusy = false;
  Control focus = Control::kBtnFile;
  int iPumps = 0, iTaskPercent = -1;
  std::vector<std::string> captions;  // every caption the window was given, in order
  std::function<void()> onPump;  // runs at every pump, as the window's input would

  // The message area's lines, newest first.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (size_t lStart = 0, p = 0; p != std::string::npos && !sText.empty(); lStart = p + 2) {
      p = sText.find("\r\n", lStart);
      lines.push_back(sText.substr(lStart, p == std::string::npos ? p : p - lStart));
    }
    return lines;
  }
  bool Has(const std::string& sPart) const { return sText.find(sPart) != std::string::npos; }

  void SetCaption(const std::string& s) override { captions.push_back(s); }
  std::string TimesText() const override { return sTimes; }
  void SetTimesText(const std::string& s) override { sTimes = s; }
  std::string SpecText() const override { return sSpec; }
  std::string EraseCaption() const override { return sEraseCaption; }
  void SetEraseButtonCaption(const std::string& s) override { sEraseCaption = s; }
  bool EraseEnabled() const override { return bEraseEnabled; }
  void SetEraseEnabled(bool b) override { bEraseEnabled = b; }
  void SetSelectEnabled(bool b) override { bSelectEnabled = b; }
  void SetFocus(Control c) override { focus = c; }
  void ClearMessages() override { sText.clear(); }
  void PrependMessage(const std::string& s) override { sText = sText.empty() ? s : s + "\r\n" + sText; }
  void AppendMessageText(const std::string& s) override { sText += s; }
  void SetProgressCaption(const std::string&) override {}
  void SetProgressTop(int) override {}
  void SetBusyPointer(bool b) override { bBusy = b; }
  void SetTaskProgress(int iPercent) override { iTaskPercent = iPercent; }
  void PumpEvents() override {
    ++iPumps;
    if (onPump) onPump();
  }
};

// Stands still unless told; every pump request is due unless dblFrameStep says otherwise.
class FakeClock : public Clock {
 public:
  float sngNow = 100.0F;
  double dblMonotonic = 0.0, dblFrameStep = 1.0;
  float TimeOfDay() override { return sngNow; }
  double Monotonic() override { return dblMonotonic += dblFrameStep; }
};

class FakeSpecialFolders : public SpecialFolders {
 public:
  std::string sExecutable = "/nonexistent/tarnwipe/bin";
  std::vector<std::string> asSystem = {Native("/bin/"), Native("/etc/"), Native("/usr/"), Native("/var/")};
  std::vector<std::string> SystemFolders() const override { return asSystem; }
  std::vector<std::string> ProgramsFolders() const override { return {Native("/opt/")}; }
  std::string DocumentsFolder() const override { return Native("/tmp/"); }
  std::string ExecutableFolder() const override { return Native(sExecutable); }
  TrashFacts trash;
  std::function<bool(const std::string&, bool)> isTrashFolder = [](const std::string&, bool) { return true; };
  mutable std::vector<std::string> asTrashChanged;  // the Trash folders the desktop was told of
  TrashFacts Trash() const override { return trash; }
  bool IsTrashFolder(const std::string& sFolder, bool bOwn) const override { return isTrashFolder(sFolder, bOwn); }
  void TrashChanged(const std::string& sFolder) const override { asTrashChanged.push_back(sFolder); }
};

// Answers every Yes/No box with lAnswer and every chooser with sChoice (empty: cancel), the file
// chooser with asFiles as well; onChoose and onQuestion run inside a chooser and a question, as a
// modal loop would.
class ScriptedDialogs : public Dialogs {
 public:
  std::vector<std::string> boxes;  // each box's text, trailing blanks cut
  int32_t lAnswer = kAnswerYes;
  std::string sChoice;
  std::vector<std::string> asFiles;
  int iChoosers = 0;
  std::function<void()> onChoose;
  std::function<void()> onQuestion;  // runs while a Yes/No box is open
  std::vector<std::vector<std::string>> menus;  // each menu's items
  int iMenuChoice = 0;                          // what every menu answers

  int32_t MessageBox(const std::string& sText, const std::string&, int32_t lStyle) override {
    boxes.push_back(sText.substr(0, sText.find_last_not_of(' ') + 1));
    if (onQuestion && (lStyle & kStyleYesNo) != 0) onQuestion();
    return (lStyle & kStyleYesNo) != 0 ? lAnswer : kAnswerOk;
  }
  std::vector<std::string> ChooseFiles(const std::string&, const std::string&, const std::string&) override {
    std::vector<std::string> asChosen{Choose()};
    for (const std::string& sFile : asFiles) asChosen.push_back(Native(sFile));
    std::erase(asChosen, std::string());
    return asChosen;
  }
  std::string ChooseFolder(const std::string&, const std::string&) override { return Choose(); }
  int ChooseFromMenu(const std::vector<std::string>& asItems) override {
    menus.push_back(asItems);
    return iMenuChoice;
  }

 private:
  std::string Choose() {
    ++iChoosers;
    if (onChoose) onChoose();
    return Native(sChoice);
  }
};

}  // namespace tarnwipe::test
