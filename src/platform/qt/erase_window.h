// The main window on Qt: real widgets laid out from the design values, forwarding to the logic.
#pragma once

#include <QWidget>

#include "platform/form_view.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tarnwipe {

class FrmErase;

class EraseWindow : public QWidget, public FormView {
 public:
  explicit EraseWindow(QWidget* pParent = nullptr);

  // Connects the controls to the window logic; events reach it from then on.
  void Attach(FrmErase& form);

  // Shows the window centred on its screen.
  void ShowCentred();

  // Shows the window on top of the others, as the desktop allows.
  void BringToFront();

  // The message area's text with CR LF line ends, as the logic wrote it.
  std::string MessageText() const;

  QLineEdit* txtTimes() const { return m_pTimes; }
  QLineEdit* txtSpec() const { return m_pSpec; }
  QPushButton* btnInfo() const { return m_pInfo; }
  QPushButton* btnFile() const { return m_pFile; }
  QPushButton* btnMap() const { return m_pMap; }
  QPushButton* btnDeleted() const { return m_pDeleted; }
  QPushButton* btnErase() const { return m_pErase; }
  QPlainTextEdit* txtMsg() const { return m_pMsg; }
  QLabel* lblProgress() const { return m_pProgress; }

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
  // Linux desktops share no taskbar progress; the title shows it.
  void SetTaskProgress(int) override {}
  void PumpEvents() override;

 protected:
  bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
  void closeEvent(QCloseEvent* pEvent) override;

 private:
  void EraseClicked();

  FrmErase* m_pForm = nullptr;
  bool m_bBusy = false;
  QLabel* m_pLabel1;
  QLineEdit* m_pTimes;
  QLabel* m_pLabel2;
  QLabel* m_pLabel3;
  QLineEdit* m_pSpec;
  QPushButton* m_pInfo;
  QPushButton* m_pFile;
  QPushButton* m_pMap;
  QPushButton* m_pDeleted;
  QPlainTextEdit* m_pMsg;
  QPushButton* m_pErase;
  QLabel* m_pProgress;
};

}  // namespace tarnwipe
