// Runs whose tree is changed under them: a folder swapped for a link to an outside folder at
// each moment of a run, and mounts inside a map. Nothing outside the map may change.
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "form_fixture.h"

namespace tarnwipe::test {
namespace {

struct SwapCase {
  const char* pMoment;
  const char* pCall;     // the file-layer call just before which sub/ is swapped
  const char* pPathEnd;  // ... for the path ending so
};

class ConfinedRunTest : public FormFixture {
 protected:
  ConfinedRunTest() {
    sMap = temp.MakeFolder("map");
    temp.Write("map/top.txt", "top");
    for (const char* pName : {"s1", "s2", "s3", "s4"}) temp.Write(std::string("map/sub/") + pName, "mine");
    for (const char* pName : {"d1", "d2"}) temp.Write(std::string("map/sub/deeper/") + pName, "mine");
    sOutside = temp.MakeFolder("outside");
    for (const char* pName : {"s1", "s2", "s3", "s4"}) temp.Write(std::string("outside/") + pName, "theirs");
    for (int i = 0; i < 20; ++i) temp.Write("outside/deeper/o" + std::to_string(i), "theirs " + std::to_string(i));
  }

  // What another user does: moves sub/ away and puts a link to the outside folder in its place.
  void SwapSub() {
    ASSERT_EQ(std::rename((sMap + "sub").c_str(), (temp.Path() + "away").c_str()), 0);
    ASSERT_EQ(::symlink(sOutside.c_str(), (sMap + "sub").c_str()), 0);
  }

  void SwapBefore(const std::string& sCall, const std::string& sPathEnd) {
    fs.beforeCall = [this, sCall, sPathEnd](const std::string& sThisCall, const std::string& sPath) {
      if (bSwapped || sThisCall != sCall || !sPath.ends_with(sPathEnd)) return;
      bSwapped = true;
      SwapSub();
    };
  }

  void ExpectOutsideIntact() const {
    for (const char* pName : {"s1", "s2", "s3", "s4"}) EXPECT_EQ(ReadFile(sOutside + pName), "theirs") << pName;
    for (int i = 0; i < 20; ++i) {
      EXPECT_EQ(ReadFile(sOutside + "deeper/o" + std::to_string(i)), "theirs " + std::to_string(i)) << i;
    }
  }

  // Files of the map still found anywhere, moved away or not (links are not followed).
  int FilesLeft() const {
    int iLeft = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(temp.Path())) {
      if (entry.is_regular_file() && !entry.is_symlink() && !entry.path().string().starts_with(sOutside)) ++iLeft;
    }
    return iLeft;
  }

  bool HasLine(const std::string& sLine) const {
    const auto lines = view.Lines();
    return std::find(lines.begin(), lines.end(), sLine) != lines.end();
  }

  std::string sMap, sOutside;
  bool bSwapped = false;
};

class SwapTest : public ConfinedRunTest, public ::testing::WithParamInterface<SwapCase> {};

TEST_P(SwapTest, OutsideStaysIntactAndOnlyWhatWasErasedIsCounted) {
  SwapBefore(GetParam().pCall, GetParam().pPathEnd);
  Erase(sMap, true);

  ASSERT_TRUE(bSwapped) << view.sText;
  ExpectOutsideIntact();
  EXPECT_TRUE(Exists(sMap + "sub")) << "the link put in sub's place";
  // Of the seven files of the map, only those no longer found anywhere were erased.
  const int iErased = 7 - FilesLeft();
  const std::string sSummary = view.Lines()[0];
  EXPECT_EQ(sSummary.rfind("Erased " + std::to_string(iErased) + " file(s)", 0), 0U) << view.sText;
  EXPECT_NE(view.sText.find("  unable to delete "), std::string::npos) << view.sText;
}

INSTANTIATE_TEST_SUITE_P(
    Moments, SwapTest,
    ::testing::Values(SwapCase{"BeforeSubIsListed", "ListFolder", "/sub/"},
                      SwapCase{"BetweenItsFiles", "OpenExclusive", "/sub/s3"},
                      SwapCase{"BetweenOverwriteAndUnlink", "Remove", "/sub/s2"},
                      SwapCase{"BeforeDescending", "ListFolder", "/sub/deeper/"},
                      SwapCase{"BeforeFoldersAreRemoved", "RemoveFolder", "deeper"}),
    [](const auto& info) { return std::string(info.param.pMoment); });

// The folder held is the chosen file's own, wherever it is moved: the file erased is the one
// chosen, never the outside file that its path now names.
TEST_F(ConfinedRunTest, SingleFileIsReachedOnlyThroughItsOwnFolder) {
  SwapBefore("OpenExclusive", "/sub/s1");
  Erase(sMap + "sub/s1", false);

  ASSERT_TRUE(bSwapped);
  ExpectOutsideIntact();
  EXPECT_FALSE(Exists(temp.Path() + "away/s1"));
  EXPECT_EQ(view.Lines()[0].rfind("Erased 4.00 bytes in ", 0), 0U) << view.sText;
}

// A bind mount for the life of a test; the test is skipped where mounting is not allowed.
class BindMount {
 public:
  BindMount(const std::string& sSource, const std::string& sTarget) : m_sTarget(sTarget) {
    m_bMounted = ::mount(sSource.c_str(), sTarget.c_str(), nullptr, MS_BIND, nullptr) == 0;
  }
  ~BindMount() {
    if (m_bMounted) ::umount2(m_sTarget.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return m_bMounted; }

 private:
  std::string m_sTarget;
  bool m_bMounted;
};

TEST_F(ConfinedRunTest, MountsInsideTheMapAreNeitherEnteredNorErased) {
  const std::string sMountPoint = temp.MakeFolder("map/mnt");
  temp.Write("map/bound.txt", "mine");
  const BindMount folder(sOutside, sMountPoint);
  const BindMount file(sOutside + "s1", sMap + "bound.txt");
  if (!folder.Mounted() || !file.Mounted()) GTEST_SKIP() << "bind mounts skipped: needs root to mount";

  Erase(sMap, true);

  ExpectOutsideIntact();
  EXPECT_TRUE(HasLine("Skipped other file system " + sMountPoint)) << view.sText;
  EXPECT_TRUE(HasLine("Could not erased file bound.txt [in 0.1 seconds]")) << view.sText;
  EXPECT_EQ(view.Lines()[0].rfind("Erased 7 file(s) and 2 folder(s);", 0), 0U) << view.sText;
  EXPECT_EQ(view.Lines()[1], "  unable to delete 2 folder(s)");
}

}  // namespace
}  // namespace tarnwipe::test
