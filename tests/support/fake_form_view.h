// The window's controls as plain fields, for driving the logic without a toolkit.
#pragma once

#include <deque>
#include <functional>
#include <string>

#include "window/form_view.h"

namespace tarnwipe::test {

class FakeFormView : public FormView {
 public:
  std::string sCaption;
  std::string sTimes = "5";
  std::string sSpec = "*.*";
  std::string sEraseCaption = "&Erase ...";
  bool bEraseEnabled = true;
  bool bSelectEnabled = true;
  Control focus = Control::kBtnFile;
  std::string sProgress;
  int iProgressTop = 0;
  bool bBusy = false;
  int iPumps = 0;
  // Runs at every pump, as the window's input would.
  std::function<void()> onPump;

  // The message area's text, lines joined by CR LF, newest on top.
  std::string Text() const;
  const std::deque<std::string>& Lines() const { return m_lines; }

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
  bool MessagesEmpty() const override { return m_lines.empty(); }
  void ClearMessages() override { m_lines.clear(); }
  void PrependMessage(const std::string& sMsg) override;
  void AppendMessageText(const std::string& sText) override;
  void SetProgressCaption(const std::string& s) override { sProgress = s; }
  void SetProgressTop(int iTwips) override { iProgressTop = iTwips; }
  void SetBusyPointer(bool b) override { bBusy = b; }
  void PumpEvents() override;

 private:
  std::deque<std::string> m_lines;
};

}  // namespace tarnwipe::test
