// The clock, the special folders and the dialogs, as a test sets and answers them.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/special_folders.h"

namespace tarnwipe::test {

// Moves only when told; every pump request is due unless dblFrameStep says otherwise.
class FakeClock : public Clock {
 public:
  float sngNow = 100.0F;
  double dblMonotonic = 0.0, dblFrameStep = 1.0;
  float TimeOfDay() override { return sngNow; }
  double Monotonic() override { return dblMonotonic += dblFrameStep; }
};

class FakeSpecialFolders : public SpecialFolders {
 public:
  std::vector<std::string> asSystem{"/bin/", "/etc/", "/usr/", "/var/"};
  std::string sPrograms = "/opt/", sDocuments = "/tmp/", sExecutable = "/nonexistent/tarnwipe/bin";
  std::vector<std::string> SystemFolders() const override { return asSystem; }
  std::string ProgramsFolder() const override { return sPrograms; }
  std::string DocumentsFolder() const override { return sDocuments; }
  std::string ExecutableFolder() const override { return sExecutable; }
};

// Answers Yes/No boxes from answers (Yes when it runs dry) and choosers from choices (cancel).
class ScriptedDialogs : public Dialogs {
 public:
  struct Shown {
    std::string sText, sTitle;  // a chooser's text is its start folder
    int32_t lStyle;             // -1 for a chooser
  };
  std::vector<Shown> boxes, choosers;
  std::deque<int32_t> answers;
  std::deque<std::string> choices;
  std::function<void()> onChoose;  // runs inside a chooser, as a modal loop would

  int32_t MessageBox(const std::string& sText, const std::string& sTitle, int32_t lStyle) override {
    boxes.push_back({sText, sTitle, lStyle});
    if ((lStyle & kStyleYesNo) == 0) return kAnswerOk;
    return Next<int32_t>(answers, kAnswerYes);
  }
  std::string ChooseFile(const std::string& sTitle, const std::string& sStart, const std::string&) override {
    return Choose({sStart, sTitle, -1});
  }
  std::string ChooseFolder(const std::string& sTitle, const std::string& sStart) override {
    return Choose({sStart, sTitle, -1});
  }

 private:
  template <typename T>
  static T Next(std::deque<T>& script, T fallback) {
    if (script.empty()) return fallback;
    T next = script.front();
    script.pop_front();
    return next;
  }
  std::string Choose(Shown shown) {
    choosers.push_back(std::move(shown));
    if (onChoose) onChoose();
    return Next(choices, std::string());
  }
};

}  // namespace tarnwipe::test
