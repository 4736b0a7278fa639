// Where the running system keeps what must never be erased, and where the user's things are.
#pragma once

#include <string>
#include <vector>

namespace tarnwipe {

class SpecialFolders {
 public:
  virtual ~SpecialFolders() = default;

  // The operating system's own folders, each ending in the separator.
  virtual std::vector<std::string> SystemFolders() const = 0;

  // The folders installed programs live in, each ending in the separator; an empty entry when
  // one is unknown. Windows has two, for 64-bit and for 32-bit programs.
  virtual std::vector<std::string> ProgramsFolders() const = 0;

  // The user's documents folder, ending in the separator; empty when unknown.
  virtual std::string DocumentsFolder() const = 0;

  // The folder of the running executable, without a trailing separator; empty when unknown.
  virtual std::string ExecutableFolder() const = 0;
};

}  // namespace tarnwipe
