// The window logic with every seam faked but the file layer: in memory for the logic tests, the
// real one for the tests on disk.
#pragma once

#include <gtest/gtest.h>

#include "fakes.h"
#include "native_path.h"
#include "window/frm_erase.h"

namespace tarnwipe::test {

template <typename Fs>
class FormFixture : public ::testing::Test {
 protected:
  FormFixture() { form.Form_Load(); }

  // Erases a target set as if it had been chosen earlier, the message area and the erase button
  // as the test left them; the question is answered Yes.
  void Erase(const std::string& sTarget, bool bMap, const std::string& sPattern = "*.*") {
    view.sSpec = sPattern;
    const std::string sText = view.sText;
    const bool bEnabled = view.bEraseEnabled;
    if (sTarget.empty()) {
      dialogs.sChoice.clear();
      bMap ? form.btnMap_Click() : form.btnFile_Click();
    } else {
      form.Select({{Native(sTarget), bMap ? TargetKind::kMap : TargetKind::kFile}});
    }
    view.sText = sText;
    view.bEraseEnabled = bEnabled;
    form.btnErase_Click();
  }
  // The path of the one target chosen; empty when none is.
  std::string Chosen() const { return form.Selection().empty() ? "" : form.Selection().front().sPath; }
  std::string LastBox() const { return dialogs.boxes.empty() ? "" : dialogs.boxes.back(); }
  // The closing line up to its counts.
  std::string Counts() const { return view.sText.substr(0, view.sText.find(';')); }

  FakeFormView view;
  FakeClock clock;
  Fs fs;
  ScriptedDialogs dialogs;
  FakeSpecialFolders folders;
  FrmErase form{view, fs, clock, dialogs, folders, Separators()};
};

}  // namespace tarnwipe::test
