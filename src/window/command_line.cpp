// What the program was started with.
#include "window/command_line.h"

#include "runs/target.h"
#include "tarnwipe_version.h"

namespace tarnwipe {

CommandLine ParseCommandLine(const std::vector<std::string>& asArgs) {
  CommandLine line;
  for (const std::string& sArg : asArgs) {
    if (sArg == "--help" || sArg == "-h") return {CommandLine::Action::kHelp, {}};
    if (sArg == "--version") return {CommandLine::Action::kVersion, {}};
    line.asTargets.push_back(sArg == "--trash" ? kTrashItem : sArg);
  }
  return line;
}

std::string HelpText() {
  return "Usage: tarnwipe [FILE | MAP]...\n"
         "       tarnwipe --trash\n"
         "Opens the Tarnwipe window, with the FILEs and MAPs (folders) given chosen as its targets,\n"
         "or with the Trash (every item in it, on every disk), or hands them to the Tarnwipe window\n"
         "already open. Nothing is erased until you press Erase and confirm.\n"
         "  --trash    choose the Trash (on Windows the Recycle Bin)\n"
         "  --help     show this text\n"
         "  --version  show the version\n";
}

std::string VersionText() { return std::string("Tarnwipe ") + kVersion + "\n"; }

}  // namespace tarnwipe
