// Dialogs answered from a script, recording what was shown.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace tarnwipe::test {

class ScriptedDialogs : public Dialogs {
 public:
  struct Box {
    std::string sText;
    std::string sTitle;
    int32_t lStyle;
  };
  struct Chooser {
    std::string sTitle;
    std::string sStartFolder;
    std::string sFilter;
  };

  std::vector<Box> boxes;
  std::vector<Chooser> choosers;
  std::deque<int32_t> answers;        // for Yes/No boxes; Yes when the script runs dry
  std::deque<std::string> choices;    // for the choosers; cancel when the script runs dry
  std::function<void()> onChoose;     // runs inside a chooser, as a real modal loop would

  int32_t MessageBox(const std::string& sText, const std::string& sTitle, int32_t lStyle) override {
    boxes.push_back({sText, sTitle, lStyle});
    if ((lStyle & kStyleYesNo) == 0) return kAnswerOk;
    if (answers.empty()) return kAnswerYes;
    const int32_t lAnswer = answers.front();
    answers.pop_front();
    return lAnswer;
  }
  std::string ChooseFile(const std::string& sTitle, const std::string& sStart, const std::string& sFilter) override {
    choosers.push_back({sTitle, sStart, sFilter});
    return Next();
  }
  std::string ChooseFolder(const std::string& sTitle, const std::string& sStart) override {
    choosers.push_back({sTitle, sStart, ""});
    return Next();
  }

 private:
  std::string Next() {
    if (onChoose) onChoose();
    if (choices.empty()) return {};
    std::string sChoice = choices.front();
    choices.pop_front();
    return sChoice;
  }
};

}  // namespace tarnwipe::test
