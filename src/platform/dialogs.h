// The modal dialogs: message boxes and the file and folder choosers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwipe {

enum MessageBoxStyle : int32_t {
  kStyleOkOnly = 0,
  kStyleYesNo = 4,
  kStyleCritical = 16,
  kStyleQuestion = 32,
};

enum MessageBoxAnswer : int32_t {
  kAnswerOk = 1,
  kAnswerYes = 6,
  kAnswerNo = 7,
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // Shows a modal box in the given style and returns the button pressed.
  virtual int32_t MessageBox(const std::string& sText, const std::string& sTitle, int32_t lStyle) = 0;

  // Lets the user choose one file or several, starting in sStartFolder; none on cancel.
  virtual std::vector<std::string> ChooseFiles(const std::string& sTitle, const std::string& sStartFolder,
                                               const std::string& sFilter) = 0;

  // Lets the user choose a folder from a view that shows files too; a chosen file is returned
  // as it is (the caller takes its folder). Empty on cancel.
  virtual std::string ChooseFolder(const std::string& sTitle, const std::string& sStartFolder) = 0;

  // Lets the user pick one of asItems from a menu at the pointer; -1 when none is picked.
  virtual int ChooseFromMenu(const std::vector<std::string>& asItems) = 0;

  // What a chooser hands back for an item whose name it cannot pass on byte for byte (a name
  // that is not valid in the toolkit's text): no path holds a NUL, so it names no file.
  static std::string Unnamable() { return std::string(1, '\0'); }
};

}  // namespace tarnwipe
