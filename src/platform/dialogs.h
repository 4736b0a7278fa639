// The modal dialogs: message boxes and the file and folder choosers.
#pragma once

#include <cstdint>
#include <string>

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

  // Lets the user choose one file, starting in sStartFolder; empty on cancel.
  virtual std::string ChooseFile(const std::string& sTitle, const std::string& sStartFolder,
                                 const std::string& sFilter) = 0;

  // Lets the user choose a folder from a view that shows files too; a chosen file is returned
  // as it is (the caller takes its folder). Empty on cancel.
  virtual std::string ChooseFolder(const std::string& sTitle, const std::string& sStartFolder) = 0;
};

}  // namespace tarnwipe
