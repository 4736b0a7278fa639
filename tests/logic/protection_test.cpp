// Protected locations, the special folders and the text rules of paths.
#include "runs/protection.h"

#include <gtest/gtest.h>

#include "fake_seams.h"
#include "memory_file_system.h"
#include "runs/path_text.h"
#include "runs/spec_folders.h"
#include "walker/path_helpers.h"

namespace tarnwipe::test {
namespace {

const ProtectedFolders kLinux{{"/bin/", "/etc/", "/usr/"}, "/opt/"};

Refusal Check(const std::string& sTarget, const ProtectedFolders& folders = kLinux) {
  return CheckTarget(sTarget, sTarget, folders);
}

TEST(ProtectionRules, FoldersWhatIsInThemTheRootAndRelativePaths) {
  EXPECT_EQ(Check("/etc"), Refusal::kSystemFolder);
  EXPECT_EQ(Check("/usr/share/doc"), Refusal::kSystemFolder);
  EXPECT_EQ(Check("/opt/app/bin/tool"), Refusal::kProgramsFolder);
  EXPECT_EQ(Check("/usrx/"), Refusal::kNone);
  EXPECT_EQ(Check("/home/user/usr/"), Refusal::kNone);
  EXPECT_EQ(Check("/"), Refusal::kRoot);
  EXPECT_EQ(Check("./"), Refusal::kInvalidPath);
  // A link leads nowhere around a rule: the resolved path is checked as well.
  EXPECT_EQ(CheckTarget("/home/u/to-root/", "/", kLinux), Refusal::kRoot);
  EXPECT_EQ(CheckTarget("/home/u/cfg/", "/etc/", kLinux), Refusal::kSystemFolder);
  // A special folder that cannot be found protects everything.
  EXPECT_EQ(Check("/home/u/a.txt", {{"/usr/", ""}, "/opt/"}), Refusal::kSystemFolder);
  EXPECT_EQ(Check("/", {kLinux.asSystem, ""}), Refusal::kProgramsFolder);
}

TEST(SpecFolders, EachEndsInOneSeparatorOrIsEmpty) {
  std::string sBuffer = "/home/u";
  sBuffer.resize(260, '\0');
  TrimNull(sBuffer);
  EXPECT_EQ(AddBackslash(sBuffer), "/home/u/");
  EXPECT_EQ(sBuffer, "/home/u/");
  FakeSpecialFolders folders;
  folders.sExecutable = "/";
  EXPECT_EQ(GetApplicationFolder(folders), "/");
  EXPECT_EQ(GetSpecFolder(folders, 12345), std::vector<std::string>{""});
}

TEST(Paths, TextAndWhatThePathNames) {
  EXPECT_EQ(paths::WithoutSeparator("/a/b//"), "/a/b");
  EXPECT_EQ(paths::LastName("/"), "/");
  EXPECT_FALSE(paths::LiesIn("/USR/bin", "/usr/"));
  MemoryFileSystem fs;
  const std::string sData = fs.AddFolder("/home/Data");
  fs.AddFile("/home/linked", "", kAttrArchive | kAttrLink);
  EXPECT_EQ(paths::ExtractFolder(fs, "/home/Data"), "Data");
  EXPECT_EQ(paths::ExtractFolder(fs, "/home/linked/"), "");
  EXPECT_EQ(paths::ExtractName(fs, "/nope/archive.tar.gz"), "archive.tar.gz");
  EXPECT_EQ(paths::ExtractName(fs, sData), "");
  EXPECT_EQ(paths::ExtractPath(fs, "/home/Data"), sData);
  EXPECT_EQ(paths::ExtractPath(fs, "/home/linked"), "/home/");
}

}  // namespace
}  // namespace tarnwipe::test
