// One suite for every file layer: the memory layer of the logic tests and the real POSIX and
// Win32 layers on files in a folder of the test's own. A layer type names its file system (Fs),
// is made over it, and writes, reads and holds files below its folder; the suite writes paths
// the POSIX way.
#pragma once

#include <gtest/gtest.h>

#include "engine/exclusive_open.h"
#include "engine/kept_reason.h"
#include "engine/name_removal.h"
#include "form_fixture.h"
#include "runs/confinement.h"

namespace tarnwipe::test {

template <typename Layer>
class FileLayerTest : public FormFixture<typename Layer::Fs> {
 protected:
  // Why sRelative does not open; empty when it opened.
  std::string Refusal(const std::string& sRelative) {
    const std::error_code ec = OpenExclusively(this->fs, layer.Path(sRelative), pFile);
    return ec ? KeptReason(ec) : "";
  }

  Layer layer{this->fs};
  std::unique_ptr<ExclusiveFile> pFile;
};

TYPED_TEST_SUITE_P(FileLayerTest);

// Only a plain file with one name below the held map opens, and every pass written to it lands
// over its whole length; what is refused is left as it was. A folder is removed only when empty.
TYPED_TEST_P(FileLayerTest, OnlyAPlainFileWithOneNameBelowTheHeldMapOpensAndIsOverwrittenWhole) {
  TypeParam& layer = this->layer;
  for (const auto& [pRelative, pContent] : {std::pair{"map/free", "f"}, {"map/locked", "l"}, {"map/shared", "s"}, {"outside.txt", "theirs"}})
    layer.Write(pRelative, pContent);
  layer.Write("map/free", std::string(5000, 'f'));
  layer.HardLink("map/shared", "second-name");
  layer.MakeFolder("map/dir");
  EXPECT_EQ(this->Refusal("map/free"), "no permission") << "nothing opens before a map is held";
  const auto holder = layer.Hold("map/locked");
  const Confinement held(this->fs, layer.Path("map"));
  for (const auto& [pRelative, pReason] :
       {std::pair{"map/locked", "open in another program"},
        {"map/shared", "it has a second hard link: its contents are reachable under another name"},
        {"map/dir", "not a regular file"}, {"map/gone", "it no longer exists"}, {"outside.txt", "no permission"}}) {
    EXPECT_EQ(this->Refusal(pRelative), pReason) << pRelative;
  }
  EXPECT_NE(this->Refusal("map/dir/../../outside.txt"), "") << "a way out of the map is no way in";
  ASSERT_EQ(this->Refusal("map/free"), "");
  EXPECT_EQ(this->pFile->Length(), 5000);
  const std::string sFill(4096, 'A');
  int64_t lWritten = 0;
  EXPECT_FALSE(this->pFile->WriteAt(0, sFill.data(), 4096, lWritten) || this->pFile->WriteAt(4096, sFill.data(), 904, lWritten));
  EXPECT_FALSE(this->pFile->Flush() || this->pFile->Close());
  this->pFile.reset();
  EXPECT_EQ(layer.Read("map/free"), std::string(5000, 'A'));
  EXPECT_EQ(layer.Read("map/locked") + layer.Read("map/shared") + layer.Read("outside.txt"), "lstheirs");
  bool bNameLeft = false;
  EXPECT_TRUE(NameRemoval().RemoveFolder(this->fs, layer.Path("map/"), bNameLeft));
  EXPECT_FALSE(NameRemoval().RemoveFolder(this->fs, layer.Path("map/dir/"), bNameLeft));
  EXPECT_TRUE(layer.Exists("map/free") && !layer.Exists("map/dir"));
}

// A folder run through the window logic erases what it can, says why it kept the rest, and
// removes every folder it emptied.
TYPED_TEST_P(FileLayerTest, FolderRunErasesTheTreeAndSaysWhatItKept) {
  TypeParam& layer = this->layer;
  for (const char* pRelative : {"map/a.txt", "map/B/b.txt", "map/B/C/c.txt", "map/D/locked.txt"}) layer.Write(pRelative, pRelative);
  const auto holder = layer.Hold("map/D/locked.txt");
  this->Erase(layer.Path("map/"), true);
  EXPECT_EQ(this->Counts(), "Erased 3 file(s) and 2 folder(s)") << this->view.sText;
  EXPECT_EQ(this->view.Lines()[1], "  unable to delete 2 folder(s)");
  EXPECT_EQ(this->view.Lines()[3], "    1 x open in another program");
  EXPECT_TRUE(this->view.Has("Could not erased file locked.txt")) << this->view.sText;
  EXPECT_TRUE(!layer.Exists("map/a.txt") && !layer.Exists("map/B") && layer.Read("map/D/locked.txt") == "map/D/locked.txt");
}

// A free-space run's work folder is its own, its fillers take what is written to them and leave
// nothing behind when they go, and what a stopped run left is removed: a file or an empty folder.
TYPED_TEST_P(FileLayerTest, FillersLeaveNothingWhenTheyGo) {
  TypeParam& layer = this->layer;
  DiskSpace space;
  ASSERT_FALSE(this->fs.SpaceOf(layer.Path(""), space));
  EXPECT_TRUE(space.lFree >= space.lAvailable && !space.sTop.empty()) << space.sTop;
  const std::string sWork = layer.Path("work/");
  ASSERT_FALSE(this->fs.MakeWorkFolder(sWork));
  EXPECT_TRUE(this->fs.MakeWorkFolder(sWork)) << "a work folder is made anew, never taken over";
  std::unique_ptr<Filler> pFiller;
  ASSERT_FALSE(this->fs.CreateFiller(sWork, "filler-0", pFiller));
  const std::string sBlock(4096, 'F');
  int64_t lWritten = 0;
  EXPECT_FALSE(pFiller->WriteAt(0, sBlock.data(), 4096, lWritten) || pFiller->Flush());
  EXPECT_EQ(lWritten, 4096);
  pFiller.reset();
  EXPECT_TRUE(this->fs.ListFolder(sWork).empty());
  layer.Write("work/left-by-a-stopped-run", "x");
  EXPECT_TRUE(this->fs.RemoveLeftover(sWork)) << "not empty";
  EXPECT_FALSE(this->fs.RemoveLeftover(layer.Path("work/left-by-a-stopped-run")) || this->fs.RemoveLeftover(sWork));
  EXPECT_FALSE(layer.Exists("work"));
}

REGISTER_TYPED_TEST_SUITE_P(FileLayerTest, OnlyAPlainFileWithOneNameBelowTheHeldMapOpensAndIsOverwrittenWhole,
                            FolderRunErasesTheTreeAndSaysWhatItKept, FillersLeaveNothingWhenTheyGo);

}  // namespace tarnwipe::test
