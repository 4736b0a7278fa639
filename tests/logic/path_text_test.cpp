// Path text by both platforms' rules, tried on every platform.
#include "paths/path_text.h"

#include <gtest/gtest.h>

namespace tarnwipe::paths {
namespace {

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

}  // namespace
}  // namespace tarnwipe::paths
