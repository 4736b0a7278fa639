// What the program was started with: nothing, a target, or a question about itself.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tarnwipe {

struct CommandLine {
  enum class Action { kRun, kHelp, kVersion };
  Action eAction = Action::kRun;
  std::vector<std::string> asTargets;  // the paths handed to the window, as full paths
};

// The arguments after the program's name, as given; the platform then makes the targets full
// paths. "--trash" and "--free-space [FOLDER]" become kTrashItem and kFreeSpaceItem targets.
// "--help" or "--version" anywhere answers that question and nothing else.
CommandLine ParseCommandLine(const std::vector<std::string>& asArgs);

// Makes the targets full paths with fullPath: of a disk's free space the folder named after
// kFreeSpaceItem, where one is; the Trash stays as it is.
void MakeTargetsFull(CommandLine& line, const std::function<std::string(const std::string&)>& fullPath);

// The texts the program prints for --help and --version.
std::string HelpText();
std::string VersionText();

}  // namespace tarnwipe
