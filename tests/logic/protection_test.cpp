// Protected locations and the special folders.
#include "runs/protection.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "memory_file_system.h"
#include "runs/spec_folders.h"

namespace tarnwipe::test {
namespace {

TEST(Protection, FoldersWhatIsInThemTheRootRelativePathsAndSpecialFolders) {
#ifdef _WIN32
  // Windows names ignore letter case; only the root of the drive that holds Windows is refused.
  const ProtectedFolders kFolders{{"C:\\Windows\\"}, {"C:\\Program Files\\", "C:\\Program Files (x86)\\"}};
  for (const auto& [pTarget, pCanonical, eRefusal] :
       {std::tuple{"c:\\WINDOWS\\system32\\", "c:\\WINDOWS\\system32\\", Refusal::kSystemFolder},
        {"C:\\Program Files (x86)\\App\\a.exe", "C:\\Program Files (x86)\\App\\a.exe", Refusal::kProgramsFolder},
        {"c:\\program files\\", "c:\\program files\\", Refusal::kProgramsFolder},
        {"C:\\Windowsx\\", "C:\\Windowsx\\", Refusal::kNone}, {"c:\\", "c:\\", Refusal::kRoot},
        {"D:\\", "D:\\", Refusal::kNone}, {"\\\\server\\share\\", "\\\\server\\share\\", Refusal::kInvalidPath},
        {"C:notes.txt", "C:notes.txt", Refusal::kInvalidPath},
        {"D:\\junction\\", "C:\\Windows\\", Refusal::kSystemFolder}}) {
    EXPECT_EQ(CheckTarget(pTarget, pCanonical, kFolders), eRefusal) << pTarget;
  }
  EXPECT_EQ(paths::LastName("D:\\"), "D:");
#else
  const ProtectedFolders kFolders{{"/etc/", "/usr/"}, {"/opt/"}};
  for (const auto& [pTarget, pCanonical, eRefusal] :
       {std::tuple{"/etc", "/etc", Refusal::kSystemFolder}, {"/usr/share/doc", "/usr/share/doc", Refusal::kSystemFolder},
        {"/opt/app/tool", "/opt/app/tool", Refusal::kProgramsFolder}, {"/usrx/", "/usrx/", Refusal::kNone},
        {"/USR/bin", "/USR/bin", Refusal::kNone}, {"/", "/", Refusal::kRoot}, {"./", "./", Refusal::kInvalidPath},
        // A link leads nowhere around a rule: the resolved path is checked as well.
        {"/home/u/to-root/", "/", Refusal::kRoot}, {"/home/u/cfg/", "/etc/", Refusal::kSystemFolder}}) {
    EXPECT_EQ(CheckTarget(pTarget, pCanonical, kFolders), eRefusal) << pTarget;
  }
#endif
  // A special folder that cannot be found protects everything.
  const std::string sFile = Native("/home/u/a.txt");
  EXPECT_EQ(CheckTarget(sFile, sFile, {{Native("/usr/"), ""}, {Native("/opt/")}}), Refusal::kSystemFolder);
  EXPECT_EQ(CheckTarget(Native("/"), Native("/"), {{Native("/usr/")}, {""}}), Refusal::kProgramsFolder);
  // The root names itself; a folder that cannot be looked up is empty, and so protects everything.
  FakeSpecialFolders folders;
  folders.sExecutable = "/";
  EXPECT_EQ(GetApplicationFolder(folders), Native("/"));
  EXPECT_EQ(GetSpecFolder(folders, 12345), std::vector<std::string>{""});
}

}  // namespace
}  // namespace tarnwipe::test
