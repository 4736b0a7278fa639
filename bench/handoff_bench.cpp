// Times hand-offs: this program is the open window, and starts the real program once per file,
// as fast as it can, as a file manager does for a selection; it prints the seconds until the
// window lists every file.
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_special_folders.h"
#include "platform/qt/erase_window.h"
#include "platform/single_window.h"
#include "window/frm_erase.h"

namespace {

// Answers every box with No: nothing is erased here.
class NoDialogs : public tarnwipe::Dialogs {
 public:
  int32_t MessageBox(const std::string&, const std::string&, int32_t) override { return tarnwipe::kAnswerNo; }
  std::vector<std::string> ChooseFiles(const std::string&, const std::string&, const std::string&) override { return {}; }
  std::string ChooseFolder(const std::string&, const std::string&) override { return {}; }
  int ChooseFromMenu(const std::vector<std::string>&) override { return -1; }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FOLDER COUNT\n", argv[0]);
    return 2;
  }
  const std::string sFolder = argv[1];
  const int iCount = std::stoi(argv[2]);
  std::vector<std::string> asFiles;
  for (int i = 0; i < iCount; ++i) {
    asFiles.push_back(sFolder + "/item" + std::to_string(i));
    std::ofstream(asFiles.back()) << i;
  }
  // A session of its own, so that no other window takes the hand-offs.
  setenv("DISPLAY", (":tarnwipe-bench-" + std::to_string(::getpid())).c_str(), 1);
  tarnwipe::SingleWindow single;
  single.HandToOpenWindow({});
  QApplication app(argc, argv);
  tarnwipe::PosixFileSystem fs;
  tarnwipe::PosixClock clock;
  tarnwipe::PosixSpecialFolders folders;
  NoDialogs dialogs;
  tarnwipe::EraseWindow window;
  tarnwipe::FrmErase form(window, fs, clock, dialogs, folders, tarnwipe::Separators());
  window.Attach(form);
  form.Form_Load();
  single.Receive([&](const std::vector<std::string>& asTargets) { form.HandOff(asTargets); });

  QElapsedTimer timer;
  timer.start();
  std::vector<pid_t> starts;
  for (const std::string& sFile : asFiles) {
    char* argvChild[] = {const_cast<char*>(TARNWIPE_PROGRAM), const_cast<char*>(sFile.c_str()), nullptr};
    pid_t pid = 0;
    if (::posix_spawn(&pid, TARNWIPE_PROGRAM, nullptr, nullptr, argvChild, environ) == 0) starts.push_back(pid);
    QApplication::processEvents();
  }
  while (form.Selection().size() < asFiles.size() && timer.elapsed() < 60000) QApplication::processEvents();
  std::printf("seconds %.3f\n", static_cast<double>(timer.elapsed()) / 1000.0);
  std::printf("listed %zu of %zu\n", form.Selection().size(), asFiles.size());
  for (const pid_t pid : starts) ::waitpid(pid, nullptr, 0);
  for (const std::string& sFile : asFiles) std::filesystem::remove(sFile);
  return 0;
}
