// Erasing on real file-system images. Erased contents must be gone from the raw disk: files of
// unique markers are erased, then the image is scanned byte by byte, with a file deleted without
// erasing as the control, also for sparse, zeroed and preallocated files on ext4 and XFS. A full
// disk still erases, a read-only one keeps what it cannot erase; file systems that keep old
// copies are named.
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>

#include "disk.h"
#include "form_fixture.h"
#include "platform/posix/posix_file_system.h"
#include "engine/renderings.h"
#include "runs/old_copies.h"

namespace tarnwipe::test {
namespace {

class ImageTest : public FormFixture<PosixFileSystem> {
 protected:
  // A sparse file far larger than the disk with little data, a file zeroed in its middle (ext4
  // keeps the old bytes in blocks the file owns unwritten; XFS frees them before any eraser sees
  // the file) and one with blocks preallocated past its end: every block a file owns must be
  // overwritten, and no hole filled, or the disk fills and the file is kept.
  void WriteSparseFiles(const std::string& sFolder, std::vector<std::string>& asMarkers, bool bZeroedCounts) {
    const int64_t lApparent = int64_t{1} << 30;
    for (const off_t lAt : {int64_t{0}, lApparent / 2, lApparent - 300000}) asMarkers.push_back(WriteMarked(sFolder + "vm.img", 300000, lAt));
    ASSERT_EQ(::truncate((sFolder + "vm.img").c_str(), lApparent), 0);
    const std::string sZeroed = WriteMarked(sFolder + "zeroed.bin", 1 << 20);
    if (bZeroedCounts) asMarkers.push_back(sZeroed);
    ASSERT_TRUE(RunQuietly("fallocate --zero-range -o 262144 -l 524288 " + sFolder + "zeroed.bin"));
    asMarkers.push_back(WriteMarked(sFolder + "prealloc.bin", 100000));
    ASSERT_TRUE(RunQuietly("fallocate --keep-size -o 100000 -l 4194304 " + sFolder + "prealloc.bin"));
  }

  TempFolder temp;
};

class ForensicTest : public ImageTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ForensicTest, NoMarkerOfAnErasedFileSurvivesOnTheRawImage) {
  const std::string sType = GetParam();
  // exFAT as sticks of 512 MB to 32 GB come formatted, with clusters of 32 KiB.
  LoopMount image(temp, sType, sType == "xfs" ? 320 : sType == "btrfs" ? 128 : 64, "", sType == "exfat" ? "-c 32K" : "");
  if (!image.Ready()) GTEST_SKIP() << "forensic scan on " << GetParam() << " skipped: " << image.Why();
  const std::string sRoot = image.Root();
  std::vector<std::string> asMarkers;
  // Small files live inside their NTFS file record, and on FAT in clusters of 512 bytes.
  const std::vector<size_t> alSizes = {0, 1, 100, 300, 600, 900, 1023, 1024, 4097, size_t{3} << 20};
  for (const size_t lSize : alSizes) asMarkers.push_back(WriteMarked(sRoot + "singleconfession-" + std::to_string(lSize), lSize));
  // Names that tell, inside the map; a recovery tool must find none of them.
  for (const auto& [pName, lSize] :
       {std::pair<const char*, size_t>{"bankstatements/divorcesettlement.txt", 1500}, {"bankstatements/offshorefolder/taxreturns.doc", 70000},
        {"bankstatements/offshorefolder/hiddenaccounts/passwordlist.bin", 8192}, {"bankstatements/medicalrecords/.diagnosis", 4096},
        {"bankstatements/medicalrecords/therapynotes.txt", 300}, {"bankstatements/medicalrecords/loveletterdraft.txt", 700}}) {
    asMarkers.push_back(WriteMarked(sRoot + pName, lSize));
  }
  // Enough names that an NTFS folder keeps them in several index blocks, and every name of one
  // letter, so that no other one is free (not on FAT32, where fusefat takes a third of a second a file).
  const int iMany = sType == "vfat" ? 0 : 136;
  for (int i = 0; i < iMany; ++i) {
    const std::string sName = i < 36 ? std::string{"0123456789abcdefghijklmnopqrstuvwxyz"[i]} : "confidentialmemo" + std::to_string(i);
    std::ofstream(sRoot + "bankstatements/offshorefolder/" + sName);
  }
  const bool bSparse = sType == "ext4" || sType == "xfs";
  if (bSparse) WriteSparseFiles(sRoot + "bankstatements/medicalrecords/", asMarkers, sType == "ext4");
  // The control lies in a folder of its own, which no run fills.
  const std::string sControl = WriteMarked(sRoot + "control/controlremovedbyrm.bin", 700);
  ::sync();
  for (const size_t lSize : alSizes) Erase(sRoot + "singleconfession-" + std::to_string(lSize), false);
  Erase(sRoot + "bankstatements/", true);
  EXPECT_EQ(Counts(), "Erased " + std::to_string(6 + iMany + (bSparse ? 3 : 0)) + " file(s) and 4 folder(s)") << view.sText;
  EXPECT_TRUE(!bSparse || view.Has("Erasing vm.img  [1,073,741,824 bytes, ")) << view.sText;
  EXPECT_FALSE(view.Has("may remain")) << view.sText;
  ASSERT_EQ(::unlink((sRoot + "control/controlremovedbyrm.bin").c_str()), 0);
  for (const auto& entry : std::filesystem::directory_iterator(sRoot)) {
    EXPECT_TRUE(entry.path().filename() == "lost+found" || entry.path().filename() == "control") << "left behind";
  }
  // Where old copies of data are kept, the user was told so, and that is all that can be promised.
  const std::string sKeeper = fs.FileSystemKeepingCopies(sRoot);
  if (!sKeeper.empty() && sKeeper != kNtfsNames) asMarkers.clear();
  EXPECT_TRUE(sKeeper.empty() || view.Has("Warning: " + sKeeper + " keeps old copies")) << view.sText;
  image.ExpectOnlyTheControl(sControl, asMarkers);
  // The names: The Sleuth Kit lists none of them on ext4, NTFS, exFAT or FAT32, and the raw image
  // of the sticks holds none (in UTF-16, a piece of each name that FAT and exFAT keep whole), while
  // the control's name is found.
  const std::string sListed = CommandOutput("fls -r -d " + image.ImagePath());
  if (sType == "xfs" || sType == "btrfs" || !RunQuietly("fls -V")) return;
  const std::string sRaw = image.RawImage();
  for (const char* pName : {"singleconfession", "bankstatements", "confidentialmemo", "divorcesettlement", "offshorefolder", "taxreturns",
                            "hiddenaccounts", "passwordlist", "medicalrecords", "diagnosis", "therapynotes", "loveletterdraft"}) {
    // The disk's top keeps removed names: NTFS in stale bytes of its index, as the run said,
    // exFAT (the map's name) in a single freed entry between others, which no new name of three
    // entries fits.
    const std::string sName = pName;
    if ((sType == "ntfs" && (sName == "singleconfession" || sName == "bankstatements")) || (sType == "exfat" && sName == "bankstatements"))
      continue;
    EXPECT_EQ(sListed.find(pName), std::string::npos) << sType << ": fls lists " << pName;
    EXPECT_TRUE(sType == "ext4" || sRaw.find(WidePiece(pName)) == std::string::npos) << sType << ": " << pName;
  }
  EXPECT_TRUE(sType == "ext4" || sRaw.find(WidePiece("controlremovedbyrm")) != std::string::npos) << "the scan cannot tell";
  const bool bListsRemoved = sType == "ntfs" || sType == "exfat";
  EXPECT_TRUE(!bListsRemoved || sListed.find("controlremovedbyrm") != std::string::npos) << "fls cannot tell";
}

INSTANTIATE_TEST_SUITE_P(FileSystems, ForensicTest, ::testing::Values("ext4", "xfs", "btrfs", "ntfs", "exfat", "vfat"),
                         [](const auto& info) { return std::string(info.param); });

// Many small files in many folders go in batches, each pass made durable for a batch at once:
// none of their contents stays on the disk. They share one marker, so that one scan finds any.
class BatchForensicTest : public ImageTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BatchForensicTest, NoMarkerOfManySmallFilesSurvives) {
  const std::string sType = GetParam();
  LoopMount image(temp, sType, 64);
  if (!image.Ready()) GTEST_SKIP() << "batch scan on " << sType << " skipped: " << image.Why();
  // Small enough to stay inside an NTFS file record, or a cluster or two; fusefat takes a third
  // of a second a file, so FAT32 gets fewer.
  const int iFiles = sType == "vfat" ? 200 : 2000;
  const std::string sMarker = WriteMarked(image.Root() + "many/first", 300);
  for (int i = 1; i < iFiles; ++i) {
    const std::string sPath = image.Root() + "many/d" + std::to_string(i % 20) + "/f" + std::to_string(i);
    std::filesystem::create_directories(std::filesystem::path(sPath).parent_path());
    std::string sContent;
    while (sContent.size() < (i % 2 == 0 ? 300U : 2500U)) sContent += sMarker;
    std::ofstream(sPath, std::ios::binary) << sContent;
  }
  const std::string sControl = WriteMarked(image.Root() + "control.bin", 700);
  ::sync();
  Erase(image.Root() + "many/", true);
  EXPECT_EQ(Counts(), "Erased " + FormatMask(iFiles, 0, Separators()) + " file(s) and 21 folder(s)") << view.sText.substr(0, 300);
  ASSERT_EQ(::unlink((image.Root() + "control.bin").c_str()), 0);
  image.ExpectOnlyTheControl(sControl, {sMarker});
}

INSTANTIATE_TEST_SUITE_P(FileSystems, BatchForensicTest, ::testing::Values("ext4", "ntfs", "vfat"),
                         [](const auto& info) { return std::string(info.param); });

struct CopiesCase {
  const char *pType, *pOptions, *pMakeOptions, *pKeeper;
  friend void PrintTo(const CopiesCase& c, std::ostream* pOut) { *pOut << c.pType << c.pOptions; }
};
class OldCopiesTest : public ImageTest, public ::testing::WithParamInterface<CopiesCase> {};

TEST_P(OldCopiesTest, FileSystemThatKeepsOldCopiesIsNamedInTheQuestionAndOnceBelowTheClosingLine) {
  LoopMount image(temp, GetParam().pType, 320, GetParam().pOptions, GetParam().pMakeOptions);
  if (!image.Ready()) GTEST_SKIP() << GetParam().pType << " image skipped: " << image.Why();
  EXPECT_EQ(fs.FileSystemKeepingCopies(image.Root()), GetParam().pKeeper);
  for (const char* pName : {"map/a.txt", "map/b.txt"}) temp.Write(image.Root().substr(temp.Path().size()) + pName, "a");
  Erase(image.Root() + "map/", true);
  const std::string sKeeper = GetParam().pKeeper;
  EXPECT_EQ(LastBox().find(" keeps old copies ") != std::string::npos, !sKeeper.empty()) << LastBox();
  EXPECT_EQ(view.Lines()[1], sKeeper.empty() ? "" : OldCopiesWarning(sKeeper).substr(2));
  EXPECT_EQ(view.sText.find("Warning", view.sText.find("Warning") + 1), std::string::npos) << "once, not once a file";
}

INSTANTIATE_TEST_SUITE_P(FileSystems, OldCopiesTest,
                         ::testing::Values(CopiesCase{"btrfs", "", "", "btrfs"}, CopiesCase{"ext4", "", "", ""},
                                           CopiesCase{"ext4", ",data=journal", "", "ext4 (data=journal)"},
                                           CopiesCase{"ext4", "", "-O inline_data", "ext4 (inline_data)"},
                                           CopiesCase{"xfs", "", "", ""}, CopiesCase{"ntfs", "", "", kNtfsNames},
                                           CopiesCase{"vfat", "", "", ""}),
                         [](const auto& info) { return std::string(info.param.pType) + std::to_string(info.index); });

// An overlay's lower layer keeps its files whole whatever is written over them: it is named.
TEST_F(ImageTest, OverlayIsNamedForTheFilesItsLowerLayerKeeps) {
  temp.Write("lower/map/a.txt", "lower");
  const std::string sMerged = temp.MakeFolder("merged"), sOptions = "lowerdir=" + temp.Path() + "lower,upperdir=" +
                                                                     temp.MakeFolder("upper") + ",workdir=" + temp.MakeFolder("work");
  if (::mount("overlay", sMerged.c_str(), "overlay", 0, sOptions.c_str()) != 0) GTEST_SKIP() << "overlay skipped: needs root to mount";
  Erase(sMerged + "map/", true);
  ::umount2(sMerged.c_str(), MNT_DETACH);
  EXPECT_EQ(view.Lines()[1], OldCopiesWarning("overlayfs (lower layers keep the original files)").substr(2)) << view.sText;
  EXPECT_EQ(ReadFile(temp.Path() + "lower/map/a.txt"), "lower");
}

// An NTFS stick through FUSE, which cannot list a file's blocks: a sparse file larger than the
// room left is kept before its first write, the stick not filled. Pulled out during a run, what
// was not yet erased (here the whole batch of small files) is kept, and each says why.
TEST_F(ImageTest, FuseStickKeepsASparseFileItHasNoRoomForAndWhatWasLeftWhenPulledOut) {
  LoopMount image(temp, "ntfs", 16);
  if (!image.Ready()) GTEST_SKIP() << "NTFS stick skipped: " << image.Why();
  const std::string sMarker = WriteMarked(image.Root() + "vm.img", 4096);
  ASSERT_EQ(::truncate((image.Root() + "vm.img").c_str(), 64 << 20), 0);
  struct statvfs before {}, after {};
  ::statvfs(image.Root().c_str(), &before);
  Erase(image.Root() + "vm.img", false);
  ::statvfs(image.Root().c_str(), &after);
  EXPECT_EQ(view.Lines()[1], "  Reason: writing over its holes needs more room than the disk has; nothing was overwritten");
  EXPECT_EQ(ReadFile(image.Root() + "vm.img").substr(0, sMarker.size()), sMarker);
  EXPECT_EQ(after.f_bavail, before.f_bavail);
  for (const char* pName : {"f0", "f1", "f2"}) temp.Write(image.Root().substr(temp.Path().size()) + "map/" + pName, "f");
  view.onPump = [&] {
    if (view.Has("Erasing f1")) RunQuietly("pkill -9 -f '^ntfs-3g .*" + temp.Path() + "'");
  };
  Erase(image.Root() + "map/", true);
  RunQuietly("umount -l " + image.Root());
  EXPECT_TRUE(view.Has("  unable to erase 3 file(s)\r\n    3 x the disk is gone: it was removed or unmounted")) << view.sText;
}

// A full disk still erases whole and sparse files; a read-only one keeps everything and says so.
TEST_F(ImageTest, FullDiskStillErasesAndReadOnlyDiskKeepsEverything) {
  LoopMount image(temp, "ext4", 16);
  if (!image.Ready()) GTEST_SKIP() << "full and read-only disks skipped: " << image.Why();
  const std::string sRoot = image.Root();
  const std::string sKept = temp.Write(sRoot.substr(temp.Path().size()) + "folder/a.txt", "a");
  const std::string sMarker = WriteMarked(sRoot + "whole.bin", 4096);
  // A file with a hole: overwriting it must not need blocks the full disk no longer has.
  const std::string sHoled = WriteMarked(sRoot + "holed.bin", 4096);
  ASSERT_EQ(::truncate((sRoot + "holed.bin").c_str(), 1 << 20), 0);
  for (const char* pBlock : {"64k", "1k", "512"}) RunQuietly("dd if=/dev/zero of=" + sRoot + "filler-" + pBlock + " bs=" + pBlock);
  ::sync();
  const int probe = ::open((sRoot + "probe").c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_EQ(::pwrite(probe, std::string(4096, 'p').data(), 4096, 0), -1) << "the image could not be filled";
  ::close(probe);
  for (const char* pName : {"whole.bin", "holed.bin"}) Erase(sRoot + pName, false);
  EXPECT_FALSE(Exists(sRoot + "whole.bin") || Exists(sRoot + "holed.bin")) << view.sText;
  ASSERT_TRUE(image.Remount(true));
  Erase(sKept, false);
  EXPECT_EQ(view.Lines()[0], "Could not erased file a.txt [in 0.1 seconds]");
  EXPECT_EQ(view.Lines()[1], "  Reason: the disk is read-only");
  Erase(sRoot + "folder/", true);
  EXPECT_EQ(ReadFile(sKept), "a");
  EXPECT_EQ(Counts(), "Erased 0 file(s) and 0 folder(s)");
  EXPECT_EQ(view.Lines()[1], "  unable to delete 1 folder(s)");
  image.Unmount();
  for (const std::string& s : {sMarker, sHoled}) EXPECT_EQ(image.RawImage().find(s), std::string::npos);
}

}  // namespace
}  // namespace tarnwipe::test
