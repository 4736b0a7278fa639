// Start-up: shows the main window; the program lives in its event loop until it is closed.
#include <QApplication>

#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_special_folders.h"
#include "platform/qt/erase_window.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_separators.h"
#include "tarnwipe_version.h"
#include "window/frm_erase.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarnwipe"));
  QApplication::setApplicationVersion(QString::fromLatin1(tarnwipe::kVersion));
  tarnwipe::PosixFileSystem fs;
  tarnwipe::PosixClock clock;
  tarnwipe::PosixSpecialFolders folders;
  tarnwipe::EraseWindow window;
  tarnwipe::QtDialogs dialogs(&window);
  tarnwipe::FrmErase form(window, fs, clock, dialogs, folders, tarnwipe::SystemSeparators());
  window.Attach(form);
  form.Form_Load();
  window.ShowCentred();
  return QApplication::exec();
}
