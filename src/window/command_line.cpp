// What the program was started with.
#include "window/command_line.h"

#include "tarnwipe_version.h"

namespace tarnwipe {

CommandLine ParseCommandLine(const std::vector<std::string>& asArgs) {
  CommandLine line;
  for (const std::string& sArg : asArgs) {
    if (sArg == "--help" || sArg == "-h") return {CommandLine::Action::kHelp, {}};
    if (sArg == "--version") return {CommandLine::Action::kVersion, {}};
    line.asTargets.push_back(sArg);
  }
  return line;
}

std::string HelpText() {
  return "Usage: tarnwipe [FILE | MAP]\n"
         "Opens the Tarnwipe window, with FILE or MAP (a folder) chosen as the target when one is\n"
         "given. Nothing is erased until you press Erase and confirm.\n"
         "  --help     show this text\n"
         "  --version  show the version\n";
}

std::string VersionText() { return std::string("Tarnwipe ") + kVersion + "\n"; }

}  // namespace tarnwipe
