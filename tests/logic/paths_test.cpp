// Paths: their text by both platforms' rules, tried on every platform; how they relate to the
// held map; and the names and folders that depend on what a path names on disk.
#include "paths/path_text.h"

#include <gtest/gtest.h>

#include "memory_file_system.h"
#include "paths/disk_paths.h"
#include "paths/held_root.h"

namespace tarnwipe::paths {
namespace {
using test::Native;

constexpr Style P = Style::kPosix, W = Style::kWindows;

TEST(PathText, RootsNamesAndFoldersByEachStyle) {
  for (const auto& [eStyle, pPath, bRoot, pRootOf, pLast, pFolderPart, pAsFolder] :
       {std::tuple{P, "/", true, "/", "/", "/", "/"},
        {P, "/home/u//", false, "/", "u", "/home/u//", "/home/u/"},
        {P, "rel/a", false, "", "a", "rel/", "rel/a/"},
        {P, "C:\\x", false, "", "C:\\x", "", "C:\\x/"},
        {W, "C:\\", true, "C:\\", "C:", "C:\\", "C:\\"},
        {W, "d:\\Data\\\\", false, "d:\\", "Data", "d:\\Data\\\\", "d:\\Data\\"},
        {W, "\\\\server\\share", false, "", "share", "\\\\server\\", "\\\\server\\share\\"},
        {W, "/home/u", false, "", "/home/u", "", "/home/u\\"}}) {
    EXPECT_EQ(IsRoot(pPath, eStyle), bRoot) << pPath;
    EXPECT_EQ(IsAbsolute(pPath, eStyle), *pRootOf != '\0') << pPath;
    EXPECT_EQ(RootOf(pPath, eStyle), pRootOf) << pPath;
    EXPECT_EQ(LastName(pPath, eStyle), pLast) << pPath;
    EXPECT_EQ(FolderPart(pPath, eStyle), pFolderPart) << pPath;
    EXPECT_EQ(AsFolder(pPath, eStyle), pAsFolder) << pPath;
  }
}

// Names compare as each platform's file systems compare them; full paths keep every byte.
TEST(PathText, LiesInAndFullPathByEachStyle) {
  EXPECT_TRUE(LiesIn("/home/u/map", "/home/u/map/", P) && LiesIn("/home/u/map/a", "/home/u/", P));
  EXPECT_FALSE(LiesIn("/home/u/mapx", "/home/u/map/", P) || LiesIn("/HOME/u", "/home/", P));
  EXPECT_TRUE(LiesIn("C:\\Windows\\System32", "c:\\windows\\", W) && !LiesIn("C:\\Windowsx", "C:\\Windows\\", W));
  for (const auto& [eStyle, pPath, pFull] : {std::tuple{P, "a/./b//c", "/home/u/a/b/c"}, {P, "../x\xff", "/home/x\xff"},
                                             {P, "/etc/../tmp/", "/tmp"}, {P, "../../../..", "/"}, {P, "/", "/"},
                                             {W, "a\\..\\..\\b", "C:\\home\\b"}, {W, "D:\\x\\.\\y\\", "D:\\x\\y"}}) {
    EXPECT_EQ(FullPath(pPath, eStyle == P ? "/home/u/" : "C:\\home\\u", eStyle), pFull) << pPath;
  }
}

TEST(Paths, HeldMapAndWhatThePathNamesOnDisk) {
  HeldRoot held;
  std::string sRelative;
  EXPECT_FALSE(held.Names(Native("/home/u/map")) || held.PartBelow(Native("/home/u/map/a"), sRelative));
  held.Set(Native("/home/u/map//"));
  EXPECT_TRUE(held.Names(Native("/home/u/map")) && held.Names(Native("/home/u/map/")) && !held.Names(Native("/home/u/mapx")));
  EXPECT_TRUE(held.PartBelow(Native("/home/u/map/sub/a.txt/"), sRelative) && sRelative == Native("sub/a.txt"));
  for (const char* pOutside : {"/home/u/map", "/home/u/mapx/a", "/home/u/", "relative"}) {
    EXPECT_FALSE(held.PartBelow(Native(pOutside), sRelative)) << pOutside;
  }
  EXPECT_EQ(held.Names(Native("/HOME/U/MAP")), kNative == Style::kWindows) << "Windows names ignore letter case";
  test::MemoryFileSystem fs;
  const std::string sData = fs.AddFolder("/home/Data");
  fs.AddFile("/home/linked", "", kAttrArchive | kAttrLink);
  EXPECT_TRUE(ExtractFolder(fs, Native("/home/Data")) == "Data" && ExtractFolder(fs, Native("/home/linked/")).empty());
  EXPECT_TRUE(ExtractName(fs, Native("/nope/archive.tar.gz")) == "archive.tar.gz" && ExtractName(fs, sData).empty());
  EXPECT_TRUE(ExtractPath(fs, Native("/home/Data")) == sData && ExtractPath(fs, Native("/home/linked")) == Native("/home/"));
}

}  // namespace
}  // namespace tarnwipe::paths
