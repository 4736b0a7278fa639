// Times Tarnwipe's erase of one file or one folder tree through the real window (offscreen is fine).
//   erase_bench file PATH [COUNT]   erases PATH
//   erase_bench tree DIR [COUNT]    erases the folder DIR with the pattern *.*
//   erase_bench items DIR [COUNT]   erases every file of DIR as an item of its own
//   erase_bench free DIR [COUNT]    erases the free space of the disk that holds DIR
//   erase_bench trash DIR [COUNT]   erases the Trash (XDG_DATA_HOME tells where the home Trash
//                                   is); of the disks' own Trash folders only those below DIR
// Prints the seconds taken, the seconds the first and the last ten folders took (for trees of
// twenty folders or more, each as large as the others), and the window's closing line.
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_special_folders.h"
#include "platform/qt/erase_window.h"
#include "window/frm_erase.h"

namespace {

using Clock = std::chrono::steady_clock;

// Says Yes to the question; the bench never chooses through a dialog.
class YesDialogs : public tarnwipe::Dialogs {
 public:
  int32_t MessageBox(const std::string& sText, const std::string&, int32_t lStyle) override {
    if ((lStyle & tarnwipe::kStyleYesNo) == 0) std::fprintf(stderr, "notice: %s\n", sText.c_str());
    return tarnwipe::kAnswerYes;
  }
  std::vector<std::string> ChooseFiles(const std::string&, const std::string&, const std::string&) override { return {}; }
  std::string ChooseFolder(const std::string&, const std::string&) override { return {}; }
  int ChooseFromMenu(const std::vector<std::string>&) override { return 0; }
};

// The real window, noting when each folder's line arrives and how long the window itself has
// spent on lines and events by then.
class TimedWindow : public tarnwipe::EraseWindow {
 public:
  std::vector<Clock::time_point> folderStarts;
  std::vector<double> windowSeconds;
  double dblWindow = 0;

  void PrependMessage(const std::string& sMsg) override {
    const auto start = Clock::now();
    if (sMsg.rfind("Erasing files in ", 0) == 0) {
      folderStarts.push_back(start);
      windowSeconds.push_back(dblWindow);
    }
    EraseWindow::PrependMessage(sMsg);
    dblWindow += std::chrono::duration<double>(Clock::now() - start).count();
  }
  void PumpEvents() override {
    const auto start = Clock::now();
    if (bPumped) dblLongestGap = std::max(dblLongestGap, std::chrono::duration<double>(start - lastPump).count());
    EraseWindow::PumpEvents();
    lastPump = Clock::now();
    bPumped = true;
    dblWindow += std::chrono::duration<double>(lastPump - start).count();
  }

  // The longest time the window went without processing its events during the run.
  double dblLongestGap = 0;

 private:
  Clock::time_point lastPump;
  bool bPumped = false;
};

// The machine's special folders, but a bench never reaches the Trash of a disk outside its own.
class BenchFolders : public tarnwipe::PosixSpecialFolders {
 public:
  explicit BenchFolders(std::string sBelow) : m_sBelow(std::move(sBelow)) {}
  tarnwipe::TrashFacts Trash() const override {
    tarnwipe::TrashFacts facts = PosixSpecialFolders::Trash();
    std::erase_if(facts.asTops, [this](const std::string& sTop) { return !sTop.starts_with(m_sBelow); });
    return facts;
  }

 private:
  std::string m_sBelow;
};

double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s file|tree|items|free|trash PATH [COUNT]\n", argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  const std::string sMode = argv[1];
  std::string sPath = argv[2];
  tarnwipe::PosixFileSystem fs;
  tarnwipe::PosixClock clock;
  BenchFolders folders(sPath);
  YesDialogs dialogs;
  TimedWindow window;
  tarnwipe::FrmErase form(window, fs, clock, dialogs, folders, tarnwipe::Separators());
  window.Attach(form);
  form.Form_Load();
  if (argc > 3) window.SetTimesText(argv[3]);

  if (sMode != "file" && sPath.back() != '/') sPath += '/';
  if (sMode == "trash") {
    form.TakeTargets({tarnwipe::kTrashItem});
  } else if (sMode == "free") {
    form.TakeTargets({tarnwipe::kFreeSpaceItem + sPath});
  } else if (sMode == "items") {
    // Every file of the folder as an item of its own, as a file manager hands a selection over.
    std::vector<std::string> asItems;
    for (const auto& entry : std::filesystem::directory_iterator(sPath)) asItems.push_back(entry.path().string());
    form.TakeTargets(asItems);
  } else {
    form.TakeTargets({sPath});
  }
  const auto start = Clock::now();
  form.btnErase_Click();
  const auto end = Clock::now();

  std::printf("seconds %.3f\n", Seconds(start, end));
  std::printf("longest time without events %.0f ms\n", window.dblLongestGap * 1000);
  // The first line is the map's own, which holds no file of its own in such a tree.
  const std::vector<Clock::time_point>& t = window.folderStarts;
  const std::vector<double>& w = window.windowSeconds;
  const size_t kSlice = 10;
  if (t.size() > 2 * kSlice + 1) {
    const size_t n = t.size();
    std::printf("first %zu folders %.3f s (window %.3f s), last %zu folders %.3f s (window %.3f s)\n", kSlice,
                Seconds(t[1], t[kSlice + 1]), w[kSlice + 1] - w[1], kSlice, Seconds(t[n - kSlice], end),
                window.dblWindow - w[n - kSlice]);
  }
  const std::string sText = window.MessageText();
  std::printf("%s\n", sText.substr(0, sText.find("\r\n")).c_str());
  return 0;
}
