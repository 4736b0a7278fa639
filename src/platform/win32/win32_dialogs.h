// The modal dialogs on Windows: MessageBoxW, the shell's folder browser and the open-file dialog.
#pragma once

#include <windows.h>

#include "platform/dialogs.h"

namespace tarnwipe {

class Win32Dialogs : public Dialogs {
 public:
  // The dialogs are modal to hOwner once it is set.
  void SetOwner(HWND hOwner) { m_hOwner = hOwner; }

  int32_t MessageBox(const std::string& sText, const std::string& sTitle, int32_t lStyle) override;
  std::vector<std::string> ChooseFiles(const std::string& sTitle, const std::string& sStartFolder,
                                       const std::string& sFilter) override;
  std::string ChooseFolder(const std::string& sTitle, const std::string& sStartFolder) override;
  int ChooseFromMenu(const std::vector<std::string>& asItems) override;

 private:
  HWND m_hOwner = nullptr;
};

}  // namespace tarnwipe
