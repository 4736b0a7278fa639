// What the program was started with.
#include "window/command_line.h"

#include "runs/target.h"
#include "tarnwipe_version.h"

namespace tarnwipe {

CommandLine ParseCommandLine(const std::vector<std::string>& asArgs) {
  CommandLine line;
  for (size_t i = 0; i < asArgs.size(); ++i) {
    const std::string& sArg = asArgs[i];
    if (sArg == "--help" || sArg == "-h") return {CommandLine::Action::kHelp, {}};
    if (sArg == "--version") return {CommandLine::Action::kVersion, {}};
    if (sArg == "--free-space") {
      line.asTargets.push_back(kFreeSpaceItem + (i + 1 < asArgs.size() ? asArgs[++i] : std::string()));
      continue;
    }
    line.asTargets.push_back(sArg == "--trash" ? kTrashItem : sArg);
  }
  return line;
}

void MakeTargetsFull(CommandLine& line, const std::function<std::string(const std::string&)>& fullPath) {
  for (std::string& sTarget : line.asTargets) {
    const std::string sPrefix = sTarget.starts_with(kFreeSpaceItem) ? kFreeSpaceItem : "";
    const std::string sPath = sTarget.substr(sPrefix.size());
    if (sTarget != kTrashItem && !sPath.empty()) sTarget = sPrefix + fullPath(sPath);
  }
}

std::string HelpText() {
  return "Usage: tarnwipe [FILE | MAP]...\n"
         "       tarnwipe --trash\n"
         "       tarnwipe --free-space [FOLDER]\n"
         "Opens the Tarnwipe window, with the FILEs and MAPs (folders) given chosen as its targets,\n"
         "or with the Trash (every item in it, on every disk) or the free space of the disk that\n"
         "holds FOLDER, or hands them to the Tarnwipe window already open. Nothing is erased until\n"
         "you press Erase and confirm.\n"
         "  --trash              choose the Trash (on Windows the Recycle Bin)\n"
         "  --free-space FOLDER  choose the free space of the disk that holds FOLDER (without\n"
         "                       FOLDER, a dialog asks for it)\n"
         "  --help               show this text\n"
         "  --version            show the version\n";
}

std::string VersionText() { return std::string("Tarnwipe ") + kVersion + "\n"; }

}  // namespace tarnwipe
