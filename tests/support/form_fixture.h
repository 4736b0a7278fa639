// The window logic with every seam faked except the file layer, which is real (and recorded).
#pragma once

#include <gtest/gtest.h>

#include "fake_clock.h"
#include "fake_form_view.h"
#include "fake_special_folders.h"
#include "recording_file_system.h"
#include "scripted_dialogs.h"
#include "temp_folder.h"
#include "window/frm_erase.h"

namespace tarnwipe::test {

class FormFixture : public ::testing::Test {
 protected:
  FormFixture() { form.Form_Load(); }

  // Chooses a map or a file through the scripted dialogs, as the user would.
  void ChooseMap(const std::string& sFolder) {
    dialogs.choices.push_back(sFolder);
    form.btnMap_Click();
  }
  void ChooseFile(const std::string& sFile) {
    dialogs.choices.push_back(sFile);
    form.btnFile_Click();
  }
  // Erases a target set directly, as if it had been chosen, and answers Yes.
  void Erase(const std::string& sTarget, bool bMap) {
    form.Record().bMap = bMap;
    form.Record().sTarget = sTarget;
    form.btnErase_Click();
  }
  // The text of the last box shown, without its trailing blanks.
  std::string LastBox() const {
    if (dialogs.boxes.empty()) return {};
    const std::string& sText = dialogs.boxes.back().sText;
    return sText.substr(0, sText.find_last_not_of(' ') + 1);
  }

  TempFolder temp;
  FakeFormView view;
  FakeClock clock;
  RecordingFileSystem fs;
  ScriptedDialogs dialogs;
  FakeSpecialFolders folders;
  FrmErase form{view, fs, clock, dialogs, folders, Separators()};
};

}  // namespace tarnwipe::test
