// Message boxes, error reports and the file and folder choosers.
#include "runs/m_erase.h"

#include <exception>

#include "runs/spec_folders.h"
#include "tarnwipe_version.h"
#include "paths/disk_paths.h"

namespace tarnwipe {
namespace {

const std::string kTrailingBlanks(10, ' ');

}  // namespace

std::string MErase::BoxTitle() { return "Tarnwipe version" + std::to_string(kVersionMajor); }

int32_t MErase::AskConfirm(const std::string& sQuestion) {
  return m_dialogs.MessageBox(sQuestion + kTrailingBlanks, BoxTitle(), kStyleYesNo | kStyleQuestion);
}

void MErase::ShowNotice(const std::string& sText) {
  m_dialogs.MessageBox(sText + kTrailingBlanks, BoxTitle(), kStyleOkOnly | kStyleCritical);
}

void MErase::ReportError(std::string& sWhere, PendingError& error) {
  sWhere += "\t" + std::to_string(error.lLine) + "\t" + std::to_string(error.lNumber) + "\t" + error.sDescription;
  error = PendingError();
}

std::vector<std::string> MErase::GetNameFile() {
  return m_dialogs.ChooseFiles("Tarnwipe: select a file to erase", GetMyDocumentsFolder(m_folders),
                              "All Files (*.*)");
}

std::string MErase::GetNameFolder(std::string& sTitle, int32_t lFlags) {
  if (lFlags == 1 && sTitle.empty()) sTitle = "Click wanted folder ...";
  try {
    const std::string sChosen = m_dialogs.ChooseFolder(sTitle, GetMyDocumentsFolder(m_folders));
    if (sChosen.empty() || sChosen == Dialogs::Unnamable()) return sChosen;
    return paths::ExtractPath(m_fs, sChosen);
  } catch (const std::exception& e) {
    PendingError error{1, 0, e.what()};
    std::string sWhere = "GetNameFolder";
    ReportError(sWhere, error);
  }
  return {};
}

}  // namespace tarnwipe
