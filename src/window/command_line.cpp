// What the program was started with.
#include "window/command_line.h"

#include <algorithm>

#include "platform/paths.h"
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

std::string FullPath(const std::string& sPath, const std::string& sCurrentFolder) {
  const std::string sWhole = paths::IsAbsolute(sPath) ? sPath : paths::WithSeparator(sCurrentFolder) + sPath;
  const std::string sRoot = paths::RootOf(sWhole);
  std::vector<std::string> asParts;
  for (size_t lStart = sRoot.size(); lStart <= sWhole.size();) {
    const size_t p = std::min(sWhole.find(paths::kSeparator, lStart), sWhole.size());
    const std::string sPart = sWhole.substr(lStart, p - lStart);
    if (sPart == "..") {
      if (!asParts.empty()) asParts.pop_back();
    } else if (!sPart.empty() && sPart != ".") {
      asParts.push_back(sPart);
    }
    lStart = p + 1;
  }
  std::string sFull = sRoot;
  for (const std::string& sPart : asParts) sFull += (sFull == sRoot ? "" : std::string(1, paths::kSeparator)) + sPart;
  return sFull;
}

std::string HelpText() {
  return "Usage: tarnwipe [FILE | MAP]...\n"
         "Opens the Tarnwipe window, with the FILEs and MAPs (folders) given chosen as its targets,\n"
         "or hands them to the Tarnwipe window already open. Nothing is erased until you press\n"
         "Erase and confirm.\n"
         "  --help     show this text\n"
         "  --version  show the version\n";
}

std::string VersionText() { return std::string("Tarnwipe ") + kVersion + "\n"; }

}  // namespace tarnwipe
