// The window logic with every seam faked but the file layer: in memory for the logic tests, the
// real one for the tests on disk.
#pragma once

#include <gtest/gtest.h>

#include "fake_form_view.h"
#include "fake_seams.h"
#include "window/frm_erase.h"

namespace tarnwipe::test {

template <typename Fs>
class FormFixture : public ::testing::Test {
 protected:
  FormFixture() { form.Form_Load(); }

  // Erases a target set as if it had been chosen; the question is answered Yes.
  void Erase(const std::string& sTarget, bool bMap, const std::string& sPattern = "*.*") {
    view.sSpec = sPattern;
    form.Record().bMap = bMap;
    form.Record().sTarget = sTarget;
    form.btnErase_Click();
  }
  // The text of the last box shown, without its trailing blanks.
  std::string LastBox() const {
    const std::string& sText = dialogs.boxes.empty() ? std::string() : dialogs.boxes.back().sText;
    return sText.substr(0, sText.find_last_not_of(' ') + 1);
  }
  // The summary line's start, as far as the counts go.
  std::string Counts() const {
    const std::string sLine = view.Lines().empty() ? std::string() : view.Lines()[0];
    return sLine.substr(0, sLine.find(';'));
  }

  FakeFormView view;
  FakeClock clock;
  Fs fs;
  ScriptedDialogs dialogs;
  FakeSpecialFolders folders;
  FrmErase form{view, fs, clock, dialogs, folders, Separators()};
};

}  // namespace tarnwipe::test
