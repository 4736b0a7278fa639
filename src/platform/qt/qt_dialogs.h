// Message boxes and choosers on Qt.
#pragma once

#include "platform/dialogs.h"

class QWidget;

namespace tarnwipe {

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* pOwner) : m_pOwner(pOwner) {}

  int32_t MessageBox(const std::string& sText, const std::string& sTitle, int32_t lStyle) override;
  std::vector<std::string> ChooseFiles(const std::string& sTitle, const std::string& sStartFolder,
                                       const std::string& sFilter) override;
  std::string ChooseFolder(const std::string& sTitle, const std::string& sStartFolder) override;
  int ChooseFromMenu(const std::vector<std::string>& asItems) override;

 private:
  QWidget* m_pOwner;
};

}  // namespace tarnwipe
