// The main window on Win32: plain controls laid out from the design values, forwarding to the
// logic. Tab and the access keys go through IsDialogMessageW; every typed character reaches
// the window logic first (key preview).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/form_view.h"
#include "window/layout.h"

struct ITaskbarList3;

namespace tarnwipe {

class FrmErase;

class EraseWindow : public FormView {
 public:
  // The controls' ids, by which another program can read them too (the window tests do).
  enum ControlId : int { kIdTimes = 101, kIdSpec, kIdInfo, kIdFile, kIdMap, kIdDeleted, kIdMsg, kIdErase, kIdProgress };
  static constexpr wchar_t kClassName[] = L"TarnwipeFrmErase";

  EraseWindow();
  EraseWindow(const EraseWindow&) = delete;
  EraseWindow& operator=(const EraseWindow&) = delete;
  ~EraseWindow() override;

  // Connects the window logic; events reach it from then on.
  void Attach(FrmErase& form) { m_pForm = &form; }

  // Shows the window centred on the work area.
  void ShowCentred();

  // Shows the window on top of the others, restored when it was minimised.
  void BringToFront();

  // Runs the message loop until the window is closed; returns the exit code.
  int Run();

  HWND Hwnd() const { return m_hWnd; }

  // The design's place of the control with that id, in twips; of the client area for any other.
  static layout::Twips Design(int iId);

  void SetCaption(const std::string& sCaption) override;
  std::string TimesText() const override;
  void SetTimesText(const std::string& sText) override;
  std::string SpecText() const override;
  std::string EraseCaption() const override;
  void SetEraseButtonCaption(const std::string& sCaption) override;
  bool EraseEnabled() const override;
  void SetEraseEnabled(bool bEnabled) override;
  void SetSelectEnabled(bool bEnabled) override;
  void SetFocus(Control control) override;
  void ClearMessages() override;
  void PrependMessage(const std::string& sMsg) override;
  void AppendMessageText(const std::string& sText) override;
  void SetProgressCaption(const std::string& sCaption) override;
  void SetProgressTop(int iTwips) override;
  void SetBusyPointer(bool bBusy) override;
  void SetTaskProgress(int iPercent) override;
  void PumpEvents() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hWnd, UINT lMessage, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT lMessage, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  // Fonts and places at the window's DPI, the frame sized to hold the client area.
  void Layout();
  void MakeFonts();
  // Twips as pixels at the window's DPI.
  int Px(int iTwips) const;
  // Key preview, Tab and access keys, then the usual translation and dispatch.
  void Dispatch(MSG& msg);
  void Command(int iId);

  FrmErase* m_pForm = nullptr;
  HWND m_hWnd = nullptr;
  HFONT m_hFont = nullptr;
  HFONT m_hProgressFont = nullptr;
  UINT m_iDpi = 96;
  int m_iProgressTop = layout::kProgress.iTop;
  std::vector<HWND> m_labels;  // the labels, in the order of the layout's table
  // Puts the lines written since the window last breathed on top of the message area, in one
  // edit: each edit moves the whole text, so one per frame keeps a long run from slowing down.
  void ShowPendingLines();

  bool m_bBusy = false;
  std::wstring m_sPendingLines;  // newest first, joined by CR LF
  ITaskbarList3* m_pTaskbar = nullptr;  // made when a file first shows its progress
  bool m_bComStarted = false;
  HWND m_hTimes = nullptr;
  HWND m_hSpec = nullptr;
  HWND m_hInfo = nullptr;
  HWND m_hFile = nullptr;
  HWND m_hMap = nullptr;
  HWND m_hDeleted = nullptr;
  HWND m_hMsg = nullptr;
  HWND m_hErase = nullptr;
  HWND m_hProgress = nullptr;
};

}  // namespace tarnwipe
