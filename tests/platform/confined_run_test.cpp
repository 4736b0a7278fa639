// Folder runs on disk over hostile trees: a folder swapped for a link to an outside folder at
// each moment of a run, mounts inside a map, a tree deeper than a path can name (erased whole).
// Nothing outside the map may change.
#include <sys/mount.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "disk.h"
#include "form_fixture.h"
#include "platform/posix/posix_file_system.h"
#include "runs/protection.h"

namespace tarnwipe::test {
namespace {

// The real file layer, calling a hook with the call's name and path just before each open,
// listing and folder removal, so that a test can change the tree at that very moment.
class HookedFileSystem : public PosixFileSystem {
 public:
  std::function<void(const std::string& sCall, const std::string& sPath)> before = [](auto&, auto&) {};

  std::error_code PrepareOpen(const std::string& sPath, std::unique_ptr<ExclusiveOpenSteps>& pSteps) override {
    before("OpenExclusive", sPath);
    return PosixFileSystem::PrepareOpen(sPath, pSteps);
  }
  std::error_code HoldFolder(const std::string& sPath, std::unique_ptr<HeldFolder>& pFolder) override {
    before("RemoveFolder", sPath);
    return PosixFileSystem::HoldFolder(sPath, pFolder);
  }
  std::vector<FolderEntry> ListFolder(const std::string& sFolder) const override {
    before("ListFolder", sFolder);
    return PosixFileSystem::ListFolder(sFolder);
  }
};

class ConfinedRunTest : public FormFixture<HookedFileSystem> {
 protected:
  ConfinedRunTest() {
    for (const char* pName : {"top.txt", "sub/s1", "sub/s2", "sub/s3", "sub/deeper/d1"}) temp.Write(sMap + pName, "mine");
    for (int i = 0; i < 20; ++i) temp.Write("outside/deeper/o" + std::to_string(i), "theirs");
    for (const char* pName : {"s1", "s2", "s3"}) temp.Write(std::string("outside/") + pName, "theirs");
  }

  // Another user moves sub/ away and puts a link to the outside folder in its place, once, just
  // before the call sCall on a path ending in sPathEnd; "Overwrite" swaps while sub's files are open
  // and their passes under way.
  // "Question" swaps while the question is open.
  void SwapBefore(const std::string& sCall, const std::string& sPathEnd) {
    view.onPump = [=, this] {
      if (sCall == "Overwrite" && !bSwapped && view.Lines()[0] == "Erasing d1  [4 bytes]") Swap();
    };
    fs.before = [=, this](const std::string& sThisCall, const std::string& sPath) {
      if (!bSwapped && sThisCall == sCall && sPath.ends_with(sPathEnd)) Swap();
    };
    if (sCall == "Question") dialogs.onQuestion = [this] { Swap(); };
  }
  void Swap() {
    bSwapped = std::rename((temp.Path() + sMap + "sub").c_str(), (temp.Path() + "away").c_str()) == 0 &&
               ::symlink((temp.Path() + "outside").c_str(), (temp.Path() + sMap + "sub").c_str()) == 0;
  }
  // The outside files still holding their own content, and the map's files still found anywhere.
  std::pair<int, int> Files() const {
    std::pair<int, int> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(temp.Path())) {
      if (!entry.is_regular_file()) continue;
      const bool bOutside = entry.path().string().starts_with(temp.Path() + "outside/");
      bOutside ? files.first += ReadFile(entry.path()) == "theirs" : ++files.second;
    }
    return files;
  }
  void ExpectOutsideIntact() const { EXPECT_EQ(Files().first, 23) << view.sText; }

  TempFolder temp;
  const std::string sMap = "map/";
  bool bSwapped = false;
};

class SwapTest : public ConfinedRunTest, public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(SwapTest, OutsideStaysIntactAndOnlyWhatWasErasedIsCounted) {
  SwapBefore(GetParam().first, GetParam().second);
  Erase(temp.Path() + sMap, true);
  ASSERT_TRUE(bSwapped) << view.sText;
  ExpectOutsideIntact();
  EXPECT_EQ(Counts(), "Erased " + std::to_string(5 - Files().second) + " file(s) and 0 folder(s)") << view.sText;
  EXPECT_TRUE(view.Has("  unable to delete ")) << view.sText;
  for (const std::string& sLine : view.Lines()) {
    EXPECT_TRUE(!sLine.starts_with("  Reason: ") || sLine.ends_with("it, or a folder on its way, was replaced by a link")) << sLine;
  }
}

INSTANTIATE_TEST_SUITE_P(Moments, SwapTest,
                         ::testing::Values(std::pair{"ListFolder", "/sub/"}, std::pair{"OpenExclusive", "/sub/s2"},
                                           std::pair{"Overwrite", ""}, std::pair{"ListFolder", "/sub/deeper/"},
                                           std::pair{"RemoveFolder", "deeper"}),
                         [](const auto& info) { return std::string(info.param.first) + std::to_string(info.index); });

// A single file is reached only through its own folder, held from before the question: the file
// the question named is the one erased, or none.
TEST_F(ConfinedRunTest, SingleFileIsReachedOnlyThroughItsOwnFolder) {
  for (const char* pMoment : {"OpenExclusive", "Question"}) {
    SwapBefore(pMoment, "/sub/s1");
    Erase(temp.Path() + sMap + "sub/s1", false);
    ASSERT_TRUE(bSwapped) << pMoment;
    ExpectOutsideIntact();
    EXPECT_FALSE(Exists(temp.Path() + "away/s1")) << pMoment;
    std::filesystem::remove(temp.Path() + sMap + "sub");
    std::filesystem::rename(temp.Path() + "away", temp.Path() + sMap + "sub");
    temp.Write(sMap + "sub/s1", "mine");
    bSwapped = false;
  }
}

TEST_F(ConfinedRunTest, MountsInsideTheMapAreNeitherEnteredNorErased) {
  const std::string sMountPoint = temp.MakeFolder(sMap + "mnt");
  const std::string sBound = temp.Write(sMap + "bound.txt", "mine");
  const bool bFolder = ::mount((temp.Path() + "outside").c_str(), sMountPoint.c_str(), nullptr, MS_BIND, nullptr) == 0;
  const bool bFile = ::mount((temp.Path() + "outside/s1").c_str(), sBound.c_str(), nullptr, MS_BIND, nullptr) == 0;
  if (bFolder && bFile) Erase(temp.Path() + sMap, true);
  ::umount2(sMountPoint.c_str(), MNT_DETACH);
  ::umount2(sBound.c_str(), MNT_DETACH);
  if (!bFolder || !bFile) GTEST_SKIP() << "bind mounts skipped: needs root to mount";
  ExpectOutsideIntact();
  EXPECT_TRUE(view.Has("Skipped other file system " + sMountPoint)) << view.sText;
  EXPECT_TRUE(view.Has("Could not erased file bound.txt [in 0.1 seconds]\r\n  Reason: it, or a folder on its way, is another disk mounted there")) << view.sText;
  EXPECT_EQ(Counts(), "Erased 5 file(s) and 2 folder(s)") << view.sText;
  EXPECT_EQ(view.Lines()[1], "  unable to delete 2 folder(s)");
}

// A protected folder, or a folder inside one, bound elsewhere is refused by what it is, for a
// map and for a single file, with no question asked.
TEST_F(ConfinedRunTest, ProtectedFolderBoundElsewhereIsRefusedByWhatItIs) {
  folders.asSystem = {temp.Path() + "outside/"};
  for (const char* pBound : {"outside", "outside/deeper"}) {
    const std::string sAlias = temp.MakeFolder("alias");
    if (::mount((temp.Path() + pBound).c_str(), sAlias.c_str(), nullptr, MS_BIND, nullptr) != 0)
      GTEST_SKIP() << "bind mount skipped: needs root to mount";
    dialogs.boxes.clear();
    Erase(sAlias, true);
    Erase(sAlias + (std::string(pBound) == "outside" ? "s1" : "o1"), false);
    ::umount2(sAlias.c_str(), MNT_DETACH);
    EXPECT_EQ(dialogs.boxes, std::vector<std::string>(2, RefusalNotice(Refusal::kSystemFolder))) << pBound;
  }
  ExpectOutsideIntact();
}

// A tree deeper than a path can name is walked, erased and removed level by level, as rm does.
TEST_F(ConfinedRunTest, TreeDeeperThanAPathCanNameIsErasedWhole) {
  const std::string sLevel(200, 'd'), sDeep = temp.MakeFolder("deep");
  ASSERT_TRUE(RunQuietly("bash -c 'cd " + sDeep + " && for i in {1..30}; do mkdir " + sLevel + " && cd " + sLevel +
                         " || exit 1; done && printf secret > deep.txt'"));
  Erase(sDeep, true);
  EXPECT_EQ(Counts(), "Erased 1 file(s) and 31 folder(s)") << view.sText.substr(0, 300);
  EXPECT_FALSE(Exists(sDeep));
  // Whatever a failure left, rm removes level by level.
  std::system(("rm -rf " + sDeep).c_str());
}

}  // namespace
}  // namespace tarnwipe::test
