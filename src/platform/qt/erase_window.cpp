// The main window's widgets. Positions are the design's twips at 15 twips per pixel.
#include "platform/qt/erase_window.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>

#include "window/frm_erase.h"
#include "window/layout.h"
#include "paths/uri_list.h"

namespace tarnwipe {
namespace {

constexpr double kTwipsPerPixel = 15.0;

int Px(int iTwips) { return qRound(iTwips / kTwipsPerPixel); }

QRect TwipRect(const layout::Twips& place) {
  return {Px(place.iLeft), Px(place.iTop), Px(place.iWidth), Px(place.iHeight)};
}

QString ToQt(const std::string& sText) { return QString::fromStdString(sText); }

// The window's icon: a page being cut into strips, drawn at 32 x 32.
QIcon MakeIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::white);
  painter.drawRect(6, 2, 20, 16);
  painter.setPen(QPen(Qt::darkGray, 1));
  for (int y = 6; y < 16; y += 3) painter.drawLine(9, y, 23, y);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::darkRed);
  painter.drawRect(3, 18, 26, 4);
  painter.setPen(QPen(Qt::darkGray, 2));
  for (int x = 8; x <= 24; x += 4) painter.drawLine(x, 23, x, 30);
  return QIcon(pixmap);
}

// The character a key press types, as the logic counts it; 0 when it types none.
int16_t KeyAscii(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Escape:
      return FrmErase::kKeyEscape;
    case Qt::Key_Backspace:
      return FrmErase::kKeyBackspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 0;
    default:
      break;
  }
  const QString sText = event.text();
  if (sText.isEmpty()) return 0;
  const char16_t c = sText.at(0).unicode();
  return static_cast<int16_t>(c < 0x7F ? c : '?');
}

}  // namespace

EraseWindow::EraseWindow(QWidget* pParent)
    : QWidget(pParent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      m_pLabel1(new QLabel(QString::fromUtf8(layout::kLabels[0].pText), this)),
      m_pTimes(new QLineEdit(QStringLiteral("5"), this)),
      m_pLabel2(new QLabel(QString::fromUtf8(layout::kLabels[1].pText), this)),
      m_pLabel3(new QLabel(QString::fromUtf8(layout::kLabels[2].pText), this)),
      m_pSpec(new QLineEdit(QStringLiteral("*.*"), this)),
      m_pInfo(new QPushButton(QStringLiteral("&Read me ..."), this)),
      m_pFile(new QPushButton(QStringLiteral("Select &file ..."), this)),
      m_pMap(new QPushButton(QStringLiteral("Select &map ..."), this)),
      m_pDeleted(new QPushButton(QStringLiteral("Select &deleted ..."), this)),
      m_pMsg(new QPlainTextEdit(this)),
      m_pErase(new QPushButton(QStringLiteral("&Erase ..."), this)),
      m_pProgress(new QLabel(this)) {
  setFixedSize(Px(layout::kClient.iWidth), Px(layout::kClient.iHeight));
  setWindowIcon(MakeIcon());
  QFont windowFont(QStringLiteral("MS Sans Serif"));
  windowFont.setPointSize(8);
  setFont(windowFont);

  m_pLabel1->setGeometry(TwipRect(layout::kLabels[0].place));
  m_pTimes->setGeometry(TwipRect(layout::kTimes));
  m_pLabel2->setGeometry(TwipRect(layout::kLabels[1].place));
  m_pLabel3->setGeometry(TwipRect(layout::kLabels[2].place));
  m_pSpec->setGeometry(TwipRect(layout::kSpec));
  m_pInfo->setGeometry(TwipRect(layout::kInfo));
  m_pFile->setGeometry(TwipRect(layout::kFile));
  m_pMap->setGeometry(TwipRect(layout::kMap));
  m_pDeleted->setGeometry(TwipRect(layout::kDeleted));
  m_pMsg->setGeometry(TwipRect(layout::kMsg));
  m_pErase->setGeometry(TwipRect(layout::kErase));
  m_pProgress->setGeometry(TwipRect(layout::kProgress));

  // The toolkit's fonts run wider than the design's; a label may grow, never clip its text.
  for (QLabel* pLabel : {m_pLabel1, m_pLabel2, m_pLabel3}) {
    pLabel->resize(std::max(pLabel->width(), pLabel->sizeHint().width()), pLabel->height());
  }
  m_pLabel1->setBuddy(m_pTimes);
  m_pLabel1->lower();  // the label's design width runs under the pass-count box
  m_pTimes->setMaxLength(2);
  m_pTimes->setContextMenuPolicy(Qt::NoContextMenu);
  m_pSpec->setMaxLength(25);
  m_pMsg->setReadOnly(true);
  m_pMsg->setUndoRedoEnabled(false);
  m_pMsg->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_pMsg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_pMsg->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  m_pMsg->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

  QFont progressFont(QStringLiteral("MS Sans Serif"));
  progressFont.setPointSizeF(13.5);
  progressFont.setBold(true);
  m_pProgress->setFont(progressFont);
  m_pProgress->setAttribute(Qt::WA_TransparentForMouseEvents);
  m_pProgress->setFocusPolicy(Qt::NoFocus);

  setTabOrder(m_pTimes, m_pSpec);
  setTabOrder(m_pSpec, m_pInfo);
  setTabOrder(m_pInfo, m_pFile);
  setTabOrder(m_pFile, m_pMap);
  setTabOrder(m_pMap, m_pDeleted);
  setTabOrder(m_pDeleted, m_pMsg);
  setTabOrder(m_pMsg, m_pErase);

  for (QWidget* pChild : findChildren<QWidget*>()) pChild->installEventFilter(this);
  installEventFilter(this);
  setAcceptDrops(true);
}

void EraseWindow::Attach(FrmErase& form) {
  m_pForm = &form;
  connect(m_pInfo, &QPushButton::clicked, this, [this] { m_pForm->btnInfo_Click(); });
  connect(m_pFile, &QPushButton::clicked, this, [this] { m_pForm->btnFile_Click(); });
  connect(m_pMap, &QPushButton::clicked, this, [this] { m_pForm->btnMap_Click(); });
  connect(m_pDeleted, &QPushButton::clicked, this, [this] { m_pForm->btnDeleted_Click(); });
  connect(m_pErase, &QPushButton::clicked, this, [this] { EraseClicked(); });
}

void EraseWindow::ShowCentred() {
  const QRect screenArea = screen()->availableGeometry();
  move(screenArea.center() - rect().center());
  show();
}

void EraseWindow::BringToFront() {
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  raise();
  activateWindow();
}

void EraseWindow::EraseClicked() {
  m_pForm->btnErase_Click();
  if (m_pForm->CloseRequested()) close();
}

bool EraseWindow::eventFilter(QObject* pWatched, QEvent* pEvent) {
  if (m_pForm == nullptr) return false;
  // Files and folders dropped anywhere on the window; during a run nothing is taken.
  if (pEvent->type() == QEvent::DragEnter || pEvent->type() == QEvent::DragMove || pEvent->type() == QEvent::Drop) {
    auto& drop = static_cast<QDropEvent&>(*pEvent);
    if (!drop.mimeData()->hasUrls()) return false;
    if (m_pForm->Running()) {
      drop.ignore();
      return true;
    }
    drop.acceptProposedAction();
    if (pEvent->type() != QEvent::Drop) return true;
    // The list's own bytes: a name that is not valid text does not survive the toolkit's URLs.
    m_pForm->TakeTargets(PathsOfUriList(drop.mimeData()->data(QStringLiteral("text/uri-list")).toStdString()));
    return true;
  }
  if (pEvent->type() == QEvent::KeyPress) {
    int16_t iKeyAscii = KeyAscii(static_cast<QKeyEvent&>(*pEvent));
    if (iKeyAscii == 0) return false;
    m_pForm->Form_KeyPress(iKeyAscii);
    if (pWatched == m_pTimes) m_pForm->txtTimes_KeyPress(iKeyAscii);
    return iKeyAscii == 0;
  }
  if (pEvent->type() == QEvent::KeyRelease && pWatched == m_pTimes) m_pForm->txtTimes_KeyUp();
  return false;
}

void EraseWindow::closeEvent(QCloseEvent* pEvent) {
  if (m_pForm != nullptr && !m_pForm->Form_QueryUnload()) {
    pEvent->ignore();
    return;
  }
  pEvent->accept();
}

std::string EraseWindow::MessageText() const {
  return m_pMsg->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString();
}

void EraseWindow::SetCaption(const std::string& sCaption) { setWindowTitle(ToQt(sCaption)); }

std::string EraseWindow::TimesText() const { return m_pTimes->text().toStdString(); }

void EraseWindow::SetTimesText(const std::string& sText) { m_pTimes->setText(ToQt(sText)); }

std::string EraseWindow::SpecText() const { return m_pSpec->text().toStdString(); }

std::string EraseWindow::EraseCaption() const { return m_pErase->text().toStdString(); }

void EraseWindow::SetEraseButtonCaption(const std::string& sCaption) { m_pErase->setText(ToQt(sCaption)); }

bool EraseWindow::EraseEnabled() const { return m_pErase->isEnabled(); }

void EraseWindow::SetEraseEnabled(bool bEnabled) { m_pErase->setEnabled(bEnabled); }

void EraseWindow::SetSelectEnabled(bool bEnabled) {
  m_pInfo->setEnabled(bEnabled);
  m_pFile->setEnabled(bEnabled);
  m_pMap->setEnabled(bEnabled);
  m_pDeleted->setEnabled(bEnabled);
}

void EraseWindow::SetFocus(Control control) {
  (control == Control::kBtnErase ? m_pErase : m_pFile)->setFocus();
}

void EraseWindow::ClearMessages() { m_pMsg->clear(); }

void EraseWindow::PrependMessage(const std::string& sMsg) {
  QString sLine = ToQt(sMsg).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (!m_pMsg->document()->isEmpty()) sLine += QLatin1Char('\n');
  QTextCursor cursor(m_pMsg->document());
  cursor.movePosition(QTextCursor::Start);
  cursor.insertText(sLine);
}

void EraseWindow::AppendMessageText(const std::string& sText) {
  QTextCursor cursor(m_pMsg->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(ToQt(sText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void EraseWindow::SetProgressCaption(const std::string& sCaption) { m_pProgress->setText(ToQt(sCaption)); }

void EraseWindow::SetProgressTop(int iTwips) { m_pProgress->move(m_pProgress->x(), Px(iTwips)); }

void EraseWindow::SetBusyPointer(bool bBusy) {
  if (bBusy == m_bBusy) return;
  m_bBusy = bBusy;
  if (bBusy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void EraseWindow::PumpEvents() { QApplication::processEvents(); }

}  // namespace tarnwipe
