// The window's controls as plain fields, for driving the logic without a toolkit.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/form_view.h"

namespace tarnwipe::test {

class FakeFormView : public FormView {
 public:
  std::string sCaption, sTimes = "5", sSpec = "*.*", sEraseCaption, sProgress, sText;
  bool bEraseEnabled = true, bSelectEnabled = true, bBusy = false;
  Control focus = Control::kBtnFile;
  int iPumps = 0;
  std::function<void()> onPump;  // runs at every pump, as the window's input would

  // The message area's lines, newest first.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (size_t lStart = 0, p = 0; p != std::string::npos && !sText.empty(); lStart = p + 2) {
      p = sText.find("\r\n", lStart);
      lines.push_back(sText.substr(lStart, p == std::string::npos ? p : p - lStart));
    }
    return lines;
  }
  bool Has(const std::string& sLine) const { return sText.find(sLine) != std::string::npos; }

  void SetCaption(const std::string& s) override { sCaption = s; }
  std::string TimesText() const override { return sTimes; }
  void SetTimesText(const std::string& s) override { sTimes = s; }
  std::string SpecText() const override { return sSpec; }
  std::string EraseCaption() const override { return sEraseCaption; }
  void SetEraseButtonCaption(const std::string& s) override { sEraseCaption = s; }
  bool EraseEnabled() const override { return bEraseEnabled; }
  void SetEraseEnabled(bool b) override { bEraseEnabled = b; }
  void SetSelectEnabled(bool b) override { bSelectEnabled = b; }
  void SetFocus(Control c) override { focus = c; }
  void ClearMessages() override { sText.clear(); }
  void PrependMessage(const std::string& s) override { sText = sText.empty() ? s : s + "\r\n" + sText; }
  void AppendMessageText(const std::string& s) override { sText += s; }
  void SetProgressCaption(const std::string& s) override { sProgress = s; }
  void SetProgressTop(int) override {}
  void SetBusyPointer(bool b) override { bBusy = b; }
  void PumpEvents() override {
    ++iPumps;
    if (onPump) onPump();
  }
};

}  // namespace tarnwipe::test
