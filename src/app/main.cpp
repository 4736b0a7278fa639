// Start-up: answers --help and --version, hands the files and maps named on the command line to
// the window already open in this session, or shows the main window with them chosen; the
// program lives in its event loop until it is closed.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <string>

#include "paths/path_text.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_special_folders.h"
#include "platform/qt/erase_window.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_separators.h"
#include "platform/single_window.h"
#include "tarnwipe_version.h"
#include "window/command_line.h"
#include "window/frm_erase.h"

namespace {

// The arguments after the program's name; paths are made full paths, their bytes kept: a name
// that is not valid text must not become the name of another file.
tarnwipe::CommandLine ParseArguments(int argc, char** argv) {
  std::vector<std::string> asArgs(argv + 1, argv + argc);
  tarnwipe::CommandLine line = tarnwipe::ParseCommandLine(asArgs);
  std::string sCurrent(4096, '\0');
  while (::getcwd(sCurrent.data(), sCurrent.size()) == nullptr && errno == ERANGE) sCurrent.resize(sCurrent.size() * 2);
  sCurrent.resize(sCurrent.find('\0'));
  tarnwipe::MakeTargetsFull(line, [&](const std::string& sPath) { return tarnwipe::paths::FullPath(sPath, sCurrent); });
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before the toolkit starts, so that they need no display.
  const tarnwipe::CommandLine line = ParseArguments(argc, argv);
  if (line.eAction != tarnwipe::CommandLine::Action::kRun) {
    std::fputs((line.eAction == tarnwipe::CommandLine::Action::kHelp ? tarnwipe::HelpText() : tarnwipe::VersionText()).c_str(), stdout);
    return 0;
  }
  tarnwipe::SingleWindow single;
  if (single.HandToOpenWindow(line.asTargets)) return 0;
  // A batch of small files holds hundreds of them open at once.
  if (rlimit limit{}; ::getrlimit(RLIMIT_NOFILE, &limit) == 0) {
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
  }
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
  // This start's own targets come first, so that the starts of the same selection join them.
  if (!line.asTargets.empty()) QTimer::singleShot(0, &window, [&] { form.HandOff(line.asTargets); });
  single.Receive([&](const std::vector<std::string>& asTargets) {
    if (!asTargets.empty()) form.HandOff(asTargets);
    window.BringToFront();
  });
  return QApplication::exec();
}
