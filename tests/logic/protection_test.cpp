// Protected locations, the special folders and the path text operations.
#include "runs/protection.h"

#include <gtest/gtest.h>

#include "fake_seams.h"
#include "platform/paths.h"
#include "runs/path_text.h"
#include "runs/spec_folders.h"

namespace tarnwipe::test {
namespace {

const ProtectedFolders kLinux{{"/bin/", "/etc/", "/proc/", "/usr/", "/var/"}, "/opt/"};

Refusal Check(const std::string& sTarget, const ProtectedFolders& folders = kLinux) {
  return CheckTarget(sTarget, sTarget, folders);
}

TEST(ProtectionRules, FoldersWhatIsInThemTheRootAndRelativePaths) {
  for (const std::string& sFolder : kLinux.asSystem) {
    EXPECT_EQ(Check(sFolder + "some/file"), Refusal::kSystemFolder) << sFolder;
    EXPECT_EQ(Check(paths::WithoutSeparator(sFolder)), Refusal::kSystemFolder) << sFolder;
  }
  EXPECT_EQ(Check("/opt/app/bin/tool"), Refusal::kProgramsFolder);
  EXPECT_EQ(Check("/usrx/"), Refusal::kNone);
  EXPECT_EQ(Check("/home/user/usr/"), Refusal::kNone);
  EXPECT_EQ(Check("/"), Refusal::kRoot);
  EXPECT_EQ(Check("./"), Refusal::kInvalidPath);
  // A link leads nowhere around a rule: the resolved path is checked as well.
  EXPECT_EQ(CheckTarget("/home/u/to-root/", "/", kLinux), Refusal::kRoot);
  EXPECT_EQ(CheckTarget("/home/u/cfg/", "/etc/", kLinux), Refusal::kSystemFolder);
}

TEST(ProtectionRules, UnknownFoldersRefuseEverythingInRuleOrder) {
  EXPECT_EQ(Check("/home/u/a.txt", {{}, "/opt/"}), Refusal::kSystemFolder);
  EXPECT_EQ(Check("/home/u/a.txt", {{"/usr/", ""}, "/opt/"}), Refusal::kSystemFolder);
  EXPECT_EQ(Check("/", {kLinux.asSystem, ""}), Refusal::kProgramsFolder);
}

TEST(SpecFolders, EachEndsInOneSeparatorOrIsEmpty) {
  std::string sBuffer = "/home/u";
  sBuffer.resize(260, '\0');
  EXPECT_EQ(TrimNull(sBuffer), "/home/u");
  EXPECT_EQ(AddBackslash(sBuffer), "/home/u/");
  EXPECT_EQ(sBuffer, "/home/u/");
  std::string sEmpty;
  EXPECT_EQ(AddBackslash(sEmpty), "");

  FakeSpecialFolders folders;
  folders.sExecutable = "/";
  EXPECT_EQ(GetApplicationFolder(folders), "/");
  EXPECT_EQ(GetSpecFolder(folders, 12345), std::vector<std::string>{""});
  folders.sDocuments.clear();
  EXPECT_EQ(GetMyDocumentsFolder(folders), "");
}

TEST(Paths, TextRules) {
  EXPECT_EQ(paths::WithoutSeparator("/a/b//"), "/a/b");
  EXPECT_EQ(paths::WithoutSeparator("/"), "/");
  EXPECT_EQ(paths::LastName("/a/b/"), "b");
  EXPECT_EQ(paths::LastName("/"), "/");
  EXPECT_EQ(paths::FolderPart("/a/b.txt"), "/a/");
  EXPECT_EQ(paths::FolderPart("b.txt"), "");
  EXPECT_TRUE(paths::LiesIn("/usr", "/usr/"));
  EXPECT_FALSE(paths::LiesIn("/usrx", "/usr/"));
  EXPECT_FALSE(paths::LiesIn("/USR/bin", "/usr/"));
}

}  // namespace
}  // namespace tarnwipe::test
