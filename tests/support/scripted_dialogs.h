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
  struct Shown {
    std::string sText;  // the box's text, or the chooser's start folder
    std::string sTitle;
    int32_t lStyle;     // the box's style; -1 for a chooser
    std::string sFilter;
  };

  std::vector<Shown> boxes, choosers;
  std::deque<int32_t> answers;      // for Yes/No boxes; Yes when the script runs dry
  std::deque<std::string> choices;  // for the choosers; cancel when the script runs dry
  std::function<void()> onChoose;   // runs inside a chooser, as a real modal loop would

  int32_t MessageBox(const std::string& sText, const std::string& sTitle, int32_t lStyle) override {
    boxes.push_back({sText, sTitle, lStyle, ""});
    if ((lStyle & kStyleYesNo) == 0) return kAnswerOk;
    const int32_t lAnswer = answers.empty() ? kAnswerYes : answers.front();
    if (!answers.empty()) answers.pop_front();
    return lAnswer;
  }
  std::string ChooseFile(const std::string& sTitle, const std::string& sStart, const std::string& sFilter) override {
    return Choose({sStart, sTitle, -1, sFilter});
  }
  std::string ChooseFolder(const std::string& sTitle, const std::string& sStart) override {
    return Choose({sStart, sTitle, -1, ""});
  }

 private:
  std::string Choose(Shown shown) {
    choosers.push_back(std::move(shown));
    if (onChoose) onChoose();
    if (choices.empty()) return {};
    std::string sChoice = choices.front();
    choices.pop_front();
    return sChoice;
  }
};

}  // namespace tarnwipe::test
