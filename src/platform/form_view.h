// The controls of the main window, as the logic reads and sets them.
#pragma once

#include <string>

namespace tarnwipe {

enum class Control { kBtnFile, kBtnErase };

class FormView {
 public:
  virtual ~FormView() = default;

  virtual void SetCaption(const std::string& sCaption) = 0;

  virtual std::string TimesText() const = 0;
  virtual void SetTimesText(const std::string& sText) = 0;
  virtual std::string SpecText() const = 0;

  virtual std::string EraseCaption() const = 0;
  virtual void SetEraseButtonCaption(const std::string& sCaption) = 0;
  virtual bool EraseEnabled() const = 0;
  virtual void SetEraseEnabled(bool bEnabled) = 0;
  // The two selection buttons and the read-me button together: off during a run.
  virtual void SetSelectEnabled(bool bEnabled) = 0;
  virtual void SetFocus(Control control) = 0;

  // Message area, lines separated by CR LF, newest on top.
  virtual void ClearMessages() = 0;
  // Puts sMsg above the present text, separated from it by CR LF.
  virtual void PrependMessage(const std::string& sMsg) = 0;
  // Adds text at the end, as it stands (the read-me builds its text so).
  virtual void AppendMessageText(const std::string& sText) = 0;

  virtual void SetProgressCaption(const std::string& sCaption) = 0;
  virtual void SetProgressTop(int iTwips) = 0;

  virtual void SetBusyPointer(bool bBusy) = 0;
  // How far the current file is on the taskbar, 0 to 100; -1 shows nothing. Where the desktop
  // has no such place the call does nothing.
  virtual void SetTaskProgress(int iPercent) = 0;

  // Lets the window process pending input and painting, then returns.
  virtual void PumpEvents() = 0;
};

}  // namespace tarnwipe
