// The module's dialog voice: questions, notices, error reports and the two choosers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/special_folders.h"

namespace tarnwipe {

// An error caught on its way out of a routine, waiting to be reported.
struct PendingError {
  int32_t lNumber = 0;
  int32_t lLine = 0;
  std::string sDescription;
};

class MErase {
 public:
  MErase(Dialogs& dialogs, const SpecialFolders& folders, const FileSystem& fs)
      : m_dialogs(dialogs), m_folders(folders), m_fs(fs) {}

  // "Tarnwipe version" followed directly by the major version.
  static std::string BoxTitle();

  // Asks a Yes/No question, Yes the default; returns 6 for Yes, 7 for No.
  int32_t AskConfirm(const std::string& sQuestion);

  // Shows a notice the user can only acknowledge.
  void ShowNotice(const std::string& sText);

  // Replaces sWhere by the report line "where TAB line TAB number TAB description" and clears
  // the pending error.
  static void ReportError(std::string& sWhere, PendingError& error);

  // The files the user chose, as full paths; none on cancel. A name the dialog could not pass on
  // faithfully comes as Dialogs::Unnamable().
  std::vector<std::string> GetNameFile();

  // The folder the user chose, ending in the separator (a chosen file names its folder); empty
  // on cancel or error, Dialogs::Unnamable() for one the dialog could not name faithfully. With
  // lFlags 1 an empty title becomes "Click wanted folder ...".
  std::string GetNameFolder(std::string& sTitle, int32_t lFlags);

  // The item the user picked from a menu of asItems; -1 when none.
  int ChooseFromMenu(const std::vector<std::string>& asItems) { return m_dialogs.ChooseFromMenu(asItems); }

 private:
  Dialogs& m_dialogs;
  const SpecialFolders& m_folders;
  const FileSystem& m_fs;
};

}  // namespace tarnwipe
