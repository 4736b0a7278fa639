// Start-up: answers --help and --version, or shows the main window, with the file or map named
// on the command line chosen; the program lives in its event loop until it is closed.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_special_folders.h"
#include "platform/qt/erase_window.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_separators.h"
#include "tarnwipe_version.h"
#include "window/command_line.h"
#include "window/frm_erase.h"

namespace {

// The arguments after the program's name; paths are made full paths, their bytes kept.
tarnwipe::CommandLine ParseArguments(int argc, char** argv) {
  std::vector<std::string> asArgs(argv + 1, argv + argc);
  tarnwipe::CommandLine line = tarnwipe::ParseCommandLine(asArgs);
  for (std::string& sTarget : line.asTargets)
    sTarget = QFile::encodeName(QFileInfo(QFile::decodeName(sTarget.c_str())).absoluteFilePath()).toStdString();
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before the toolkit starts, so that they need no display.
  const tarnwipe::CommandLine early = ParseArguments(argc, argv);
  if (early.eAction != tarnwipe::CommandLine::Action::kRun) {
    std::fputs((early.eAction == tarnwipe::CommandLine::Action::kHelp ? tarnwipe::HelpText() : tarnwipe::VersionText()).c_str(), stdout);
    return 0;
  }
  QApplication app(argc, argv);  // takes its own options out of argv
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
  const tarnwipe::CommandLine line = ParseArguments(argc, argv);
  if (argc > 1) QTimer::singleShot(0, &window, [&] { form.TakeTargets(line.asTargets); });
  return QApplication::exec();
}
