// Erasing on a disk whose writes fail: ext4 on a loop device over the test's own FUSE file
// system, which fails writes into chosen byte ranges. A file whose blocks fail in any pass is
// kept, reported as not erased and left out of the counts; in a batch of small files, whose
// passes are made durable together, exactly the failing files are kept; a free-space run over
// failing free space is not said to have erased it.
#include <fcntl.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <sys/ioctl.h>

#include <optional>

#include "disk.h"
#include "form_fixture.h"
#include "platform/posix/posix_file_system.h"
#include "runs/free_space_run.h"

namespace tarnwipe::test {
namespace {

// ext4 on a loop device over failing_disk's "disk", for the life of a test.
class FailingDisk {
 public:
  explicit FailingDisk(const TempFolder& temp) : m_sFuse(temp.MakeFolder("fuse")) {
    const std::string sBacking = temp.Path() + "backing.img";
    if (::geteuid() != 0) {
      m_sWhy = "needs root to mount";
    } else if (!RunQuietly("truncate -s 96M " + sBacking) ||
               !RunQuietly(std::string(FAILING_DISK) + " " + sBacking + " " + m_sFuse)) {
      m_sWhy = "cannot mount a FUSE file system here";
    } else {
      m_image.emplace(temp, "ext4", 96, "", "", m_sFuse + "disk");
      m_sWhy = m_image->Why();
    }
  }
  ~FailingDisk() {
    m_image.reset();
    RunQuietly("umount " + m_sFuse);
  }
  bool Ready() const { return m_image && m_image->Ready(); }
  const std::string& Why() const { return m_sWhy; }
  const std::string& Root() const { return m_image->Root(); }

  // Writes into the disk's blocks that hold lLength bytes of sPath from lLogical on fail, after
  // the first iSkip writes there have landed.
  void Fail(const std::string& sPath, int64_t lLogical, int64_t lLength, int iSkip) const {
    const int fd = ::open(sPath.c_str(), O_RDONLY);
    alignas(fiemap) char request[sizeof(fiemap) + sizeof(fiemap_extent)] = {};
    auto* pMap = reinterpret_cast<fiemap*>(request);
    pMap->fm_start = static_cast<uint64_t>(lLogical);
    pMap->fm_length = static_cast<uint64_t>(lLength);
    pMap->fm_flags = FIEMAP_FLAG_SYNC;
    pMap->fm_extent_count = 1;
    ASSERT_EQ(::ioctl(fd, FS_IOC_FIEMAP, pMap), 0);
    ::close(fd);
    ASSERT_EQ(pMap->fm_mapped_extents, 1U) << sPath;
    const fiemap_extent& extent = pMap->fm_extents[0];
    const uint64_t lPhysical = extent.fe_physical + (static_cast<uint64_t>(lLogical) - extent.fe_logical);
    std::ofstream(m_sFuse + "ctl") << lPhysical << " " << lLength << " " << iSkip << "\n";
  }

 private:
  std::string m_sFuse, m_sWhy;
  std::optional<LoopMount> m_image;
};

class FailingDiskTest : public FormFixture<PosixFileSystem> {
 protected:
  TempFolder temp;
};

TEST_F(FailingDiskTest, FileWhoseBlocksFailInAnyPassIsKeptReportedAndNotCounted) {
  FailingDisk disk(temp);
  if (!disk.Ready()) GTEST_SKIP() << "failing disk skipped: " << disk.Why();
  const std::string sMap = disk.Root() + "map/";
  const std::string sRelative = sMap.substr(temp.Path().size());
  for (const auto& [pName, lSize] : {std::pair<const char*, size_t>{"at-start.bin", 4096}, {"in-middle.bin", 24 << 20},
                                     {"in-last-pass.bin", 4096}, {"sound.bin", 4096}, {"b-sound.bin", 4096}}) {
    temp.Write(sRelative + pName, std::string(lSize, 'd'));
  }
  // A sparse file whose only data block fails: its holes are no way around the failure.
  const int fd = ::open((sMap + "sparse.img").c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_EQ(::pwrite(fd, std::string(4096, 'd').data(), 4096, 64 << 20), 4096);
  ASSERT_EQ(::ftruncate(fd, 512 << 20), 0);
  ::close(fd);
  ::sync();
  disk.Fail(sMap + "sparse.img", 64 << 20, 4096, 0);
  disk.Fail(sMap + "at-start.bin", 0, 4096, 0);
  // Far enough in that the error is reported while waiting for the write-back, not at the flush.
  disk.Fail(sMap + "in-middle.bin", 12 << 20, 4096, 0);
  disk.Fail(sMap + "in-last-pass.bin", 0, 4096, 5);
  Erase(sMap, true);
  EXPECT_EQ(Counts(), "Erased 2 file(s) and 0 folder(s)") << view.sText;
  EXPECT_TRUE(view.Has("\r\n  unable to erase 4 file(s)\r\n    4 x the disk reported a write error")) << view.sText;
  for (const char* pName : {"at-start.bin", "in-middle.bin", "in-last-pass.bin", "sparse.img"}) {
    EXPECT_TRUE(view.Has(std::string("Could not erased file ") + pName)) << pName;
    EXPECT_TRUE(Exists(sMap + pName)) << pName;
  }
  EXPECT_FALSE(Exists(sMap + "sound.bin") || Exists(sMap + "b-sound.bin"));
}

// A stretch of the free space that fails (where a file lay before it was removed) keeps the run
// from saying the free space was erased; the fillers go all the same.
TEST_F(FailingDiskTest, FreeSpaceWhoseWritesFailIsNotSaidToBeErased) {
  FailingDisk disk(temp);
  if (!disk.Ready()) GTEST_SKIP() << "failing disk skipped: " << disk.Why();
  const std::string sStretch = temp.Write(disk.Root().substr(temp.Path().size()) + "stretch.bin", std::string(8 << 20, 's'));
  ::sync();
  disk.Fail(sStretch, 0, 8 << 20, 0);
  ASSERT_EQ(::unlink(sStretch.c_str()), 0);
  ::sync();
  view.sTimes = "0";
  form.TakeTargets({kFreeSpaceItem + disk.Root()});
  form.btnErase_Click();
  EXPECT_TRUE(view.sText.starts_with("Could not erase the free space of " + disk.Root() +
                                     "\r\n  Reason: the disk reported a write error")) << view.sText;
  EXPECT_FALSE(Exists(disk.Root() + FreeSpaceRun::kWorkFolder));
}

}  // namespace
}  // namespace tarnwipe::test
