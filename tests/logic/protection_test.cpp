// Protected locations, special folders and the path text operations.
#include "runs/protection.h"

#include <unistd.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "fake_special_folders.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_special_folders.h"
#include "runs/path_text.h"
#include "runs/spec_folders.h"
#include "temp_folder.h"

namespace tarnwipe::test {
namespace {

const ProtectedFolders kLinux{{"/bin/", "/boot/", "/dev/", "/etc/", "/lib/", "/lib32/", "/lib64/", "/libx32/",
                               "/proc/", "/run/", "/sbin/", "/sys/", "/usr/", "/var/"},
                              "/opt/"};

Refusal Check(const std::string& sTarget, const ProtectedFolders& folders = kLinux) {
  return CheckTarget(sTarget, sTarget, folders);
}

TEST(ProtectionRules, SystemAndProgramsFoldersAndWhatIsInThem) {
  for (const std::string& sFolder : kLinux.asSystem) {
    EXPECT_EQ(Check(sFolder), Refusal::kSystemFolder) << sFolder;
    EXPECT_EQ(Check(sFolder + "some/file"), Refusal::kSystemFolder) << sFolder;
    EXPECT_EQ(Check(sFolder.substr(0, sFolder.size() - 1)), Refusal::kSystemFolder) << sFolder;
  }
  EXPECT_EQ(Check("/opt/"), Refusal::kProgramsFolder);
  EXPECT_EQ(Check("/opt/app/bin/tool"), Refusal::kProgramsFolder);
  EXPECT_EQ(Check("/usrx/"), Refusal::kNone);
  EXPECT_EQ(Check("/optional/"), Refusal::kNone);
  EXPECT_EQ(Check("/home/user/usr/"), Refusal::kNone);
}

TEST(ProtectionRules, RootAndRelativePaths) {
  EXPECT_EQ(Check("/"), Refusal::kRoot);
  EXPECT_EQ(Check("notes.txt"), Refusal::kInvalidPath);
  EXPECT_EQ(Check("./"), Refusal::kInvalidPath);
  EXPECT_EQ(CheckTarget("/home/u/to-root/", "/", kLinux), Refusal::kRoot);
  EXPECT_EQ(CheckTarget("/home/u/cfg/", "/etc/", kLinux), Refusal::kSystemFolder);
}

TEST(ProtectionRules, UnknownFoldersRefuseEverythingInRuleOrder) {
  EXPECT_EQ(Check("/home/u/a.txt", {{}, "/opt/"}), Refusal::kSystemFolder);
  EXPECT_EQ(Check("/home/u/a.txt", {{"/usr/", ""}, "/opt/"}), Refusal::kSystemFolder);
  EXPECT_EQ(Check("/", {kLinux.asSystem, ""}), Refusal::kProgramsFolder);
  EXPECT_EQ(Check("x", {kLinux.asSystem, ""}), Refusal::kProgramsFolder);
  EXPECT_EQ(RefusalNotice(Refusal::kSystemFolder), "Erasing files system map is blocked!");
  EXPECT_EQ(RefusalNotice(Refusal::kProgramsFolder), "Erasing files programs map is blocked!");
  EXPECT_EQ(RefusalNotice(Refusal::kRoot), "Erasing files from root system drive is blocked!");
  EXPECT_EQ(RefusalNotice(Refusal::kInvalidPath), "Invalid path!");
}

TEST(ProtectionRules, LinkIntoASystemFolderIsFollowedForTheCheck) {
  TempFolder temp;
  PosixFileSystem fs;
  FakeSpecialFolders folders;
  const Protection protection(fs, folders);
  ASSERT_EQ(::symlink("/etc", (temp.Path() + "etc-link").c_str()), 0);
  ASSERT_EQ(::symlink("/", (temp.Path() + "root-link").c_str()), 0);
  EXPECT_EQ(protection.CheckTarget(temp.Path() + "etc-link/"), Refusal::kSystemFolder);
  EXPECT_EQ(protection.CheckTarget(temp.Path() + "etc-link/passwd"), Refusal::kSystemFolder);
  EXPECT_EQ(protection.CheckTarget(temp.Path() + "root-link/"), Refusal::kRoot);
  EXPECT_EQ(protection.CheckTarget(temp.Path() + "plain.txt"), Refusal::kNone);
}

TEST(ProtectionRules, ApplicationFolderAsWrittenOrResolved) {
  TempFolder temp;
  PosixFileSystem fs;
  FakeSpecialFolders folders;
  const Protection protection(fs, folders);
  folders.sExecutable = temp.MakeFolder("app");
  folders.sExecutable.pop_back();
  ASSERT_EQ(::symlink(folders.sExecutable.c_str(), (temp.Path() + "app-link").c_str()), 0);
  EXPECT_TRUE(protection.IsApplicationFolder(temp.Path() + "app/"));
  EXPECT_TRUE(protection.IsApplicationFolder(temp.Path() + "app-link/"));
  EXPECT_FALSE(protection.IsApplicationFolder(temp.Path()));
  EXPECT_FALSE(protection.IsApplicationFolder(temp.Path() + "application/"));
  folders.sExecutable.clear();
  EXPECT_TRUE(protection.IsApplicationFolder(temp.Path()));
}

TEST(SpecFolders, EachEndsInOneSeparatorOrIsEmpty) {
  std::string sBuffer = "/home/u";
  sBuffer.resize(260, '\0');
  EXPECT_EQ(TrimNull(sBuffer), "/home/u");
  EXPECT_EQ(AddBackslash(sBuffer), "/home/u/");
  EXPECT_EQ(sBuffer, "/home/u/");
  std::string sRoot = "/";
  EXPECT_EQ(AddBackslash(sRoot), "/");

  FakeSpecialFolders folders;
  folders.sDocuments = "/home/u/Documents";
  folders.sExecutable = "/";
  EXPECT_EQ(GetMyDocumentsFolder(folders), "/home/u/Documents/");
  EXPECT_EQ(GetApplicationFolder(folders), "/");
  EXPECT_EQ(GetSpecFolder(folders, 12345), std::vector<std::string>{""});
  folders.sDocuments.clear();
  EXPECT_EQ(GetMyDocumentsFolder(folders), "");
}

TEST(SpecFolders, DocumentsFromTheUserDirsSettingsThenDocumentsThenHome) {
  TempFolder temp;
  const std::string sHome = temp.Path() + "home";
  const char* pOldHome = std::getenv("HOME");
  const std::string sOldHome = pOldHome != nullptr ? pOldHome : "";
  ::setenv("HOME", sHome.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (sHome + "/.config").c_str(), 1);
  const PosixSpecialFolders folders;
  temp.MakeFolder("home");
  EXPECT_EQ(folders.DocumentsFolder(), sHome + "/");
  temp.MakeFolder("home/Documents");
  EXPECT_EQ(folders.DocumentsFolder(), sHome + "/Documents/");
  temp.MakeFolder("home/Papers");
  temp.Write("home/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
  EXPECT_EQ(folders.DocumentsFolder(), sHome + "/Papers/");
  ::setenv("HOME", sOldHome.c_str(), 1);
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_FALSE(folders.ExecutableFolder().empty());
}

}  // namespace
}  // namespace tarnwipe::test
