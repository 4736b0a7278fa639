// Protected locations, the special folders and the rules of path text.
#include "runs/protection.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "memory_file_system.h"
#include "runs/path_text.h"
#include "runs/spec_folders.h"
#include "walker/path_helpers.h"

namespace tarnwipe::test {
namespace {

TEST(Protection, FoldersWhatIsInThemTheRootAndRelativePaths) {
  const ProtectedFolders kLinux{{"/etc/", "/usr/"}, {"/opt/"}};
  for (const auto& [pTarget, pCanonical, eRefusal] :
       {std::tuple{"/etc", "/etc", Refusal::kSystemFolder}, {"/usr/share/doc", "/usr/share/doc", Refusal::kSystemFolder},
        {"/opt/app/tool", "/opt/app/tool", Refusal::kProgramsFolder}, {"/usrx/", "/usrx/", Refusal::kNone},
        {"/USR/bin", "/USR/bin", Refusal::kNone}, {"/", "/", Refusal::kRoot}, {"./", "./", Refusal::kInvalidPath},
        // A link leads nowhere around a rule: the resolved path is checked as well.
        {"/home/u/to-root/", "/", Refusal::kRoot}, {"/home/u/cfg/", "/etc/", Refusal::kSystemFolder}}) {
    EXPECT_EQ(CheckTarget(pTarget, pCanonical, kLinux), eRefusal) << pTarget;
  }
  // A special folder that cannot be found protects everything.
  EXPECT_EQ(CheckTarget("/home/u/a.txt", "/home/u/a.txt", {{"/usr/", ""}, {"/opt/"}}), Refusal::kSystemFolder);
  EXPECT_EQ(CheckTarget("/", "/", {{"/usr/"}, {""}}), Refusal::kProgramsFolder);
}

TEST(Protection, SpecialFoldersEndInOneSeparatorOrAreEmpty) {
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

TEST(PathHelpers, NamesAndFoldersDependOnWhatThePathNames) {
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
