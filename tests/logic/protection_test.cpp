// Protected locations, the special folders and the rules of path text.
#include "runs/protection.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "memory_file_system.h"
#include "paths/held_root.h"
#include "runs/spec_folders.h"
#include "paths/disk_paths.h"

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

TEST(PathHelpers, NamesAndFoldersDependOnWhatThePathNames) {
  MemoryFileSystem fs;
  const std::string sData = fs.AddFolder("/home/Data");
  fs.AddFile("/home/linked", "", kAttrArchive | kAttrLink);
  EXPECT_EQ(paths::ExtractFolder(fs, Native("/home/Data")), "Data");
  EXPECT_EQ(paths::ExtractFolder(fs, Native("/home/linked/")), "");
  EXPECT_EQ(paths::ExtractName(fs, Native("/nope/archive.tar.gz")), "archive.tar.gz");
  EXPECT_EQ(paths::ExtractName(fs, sData), "");
  EXPECT_EQ(paths::ExtractPath(fs, Native("/home/Data")), sData);
  EXPECT_EQ(paths::ExtractPath(fs, Native("/home/linked")), Native("/home/"));
}

TEST(HeldRoot, PathsRelateToTheHeldMapByThePlatformsNameRule) {
  HeldRoot held;
  std::string sRelative;
  EXPECT_FALSE(held.Names(Native("/home/u/map")) || held.PartBelow(Native("/home/u/map/a"), sRelative));
  held.Set(Native("/home/u/map//"));
  EXPECT_TRUE(held.Names(Native("/home/u/map")) && held.Names(Native("/home/u/map/")));
  EXPECT_FALSE(held.Names(Native("/home/u/map/a")) || held.Names(Native("/home/u/mapx")));
  EXPECT_TRUE(held.PartBelow(Native("/home/u/map/sub/a.txt/"), sRelative));
  EXPECT_EQ(Portable(sRelative), "sub/a.txt");
  for (const char* pOutside : {"/home/u/map", "/home/u/mapx/a", "/home/u/", "/home/u/other/a", "relative"}) {
    EXPECT_FALSE(held.PartBelow(Native(pOutside), sRelative)) << pOutside;
  }
  // Windows names ignore letter case: a path written in other letters still lies in the map.
  const bool bIgnoresCase = paths::Separator() == '\\';
  EXPECT_EQ(held.Names(Native("/HOME/U/MAP")), bIgnoresCase);
  EXPECT_EQ(held.PartBelow(Native("/Home/U/Map/a"), sRelative), bIgnoresCase);
  held.Set(Native("/"));
  EXPECT_TRUE(held.Names(Native("/")) && held.PartBelow(Native("/a"), sRelative) && sRelative == "a");
}

}  // namespace
}  // namespace tarnwipe::test
