// Special folders a test sets as it needs.
#pragma once

#include <string>
#include <vector>

#include "platform/special_folders.h"

namespace tarnwipe::test {

class FakeSpecialFolders : public SpecialFolders {
 public:
  std::vector<std::string> asSystem{"/bin/", "/etc/", "/usr/", "/var/"};
  std::string sPrograms = "/opt/";
  std::string sDocuments = "/tmp/";
  std::string sExecutable = "/nonexistent/tarnwipe/bin";

  std::vector<std::string> SystemFolders() const override { return asSystem; }
  std::string ProgramsFolder() const override { return sPrograms; }
  std::string DocumentsFolder() const override { return sDocuments; }
  std::string ExecutableFolder() const override { return sExecutable; }
};

}  // namespace tarnwipe::test
