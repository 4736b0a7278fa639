// Erasing on a read-only mount and on a full disk, on real ext4 images.
#include <fcntl.h>
#include <unistd.h>

#include "form_fixture.h"
#include "loop_mount.h"
#include "platform/posix/posix_file_system.h"
#include "temp_folder.h"

namespace tarnwipe::test {
namespace {

class ImageTest : public FormFixture<PosixFileSystem> {
 protected:
  TempFolder temp;
};

TEST_F(ImageTest, ReadOnlyMountKeepsEverythingAndSaysSo) {
  LoopMount image(temp.Path(), "ext4", 16);
  if (!image.Ready()) GTEST_SKIP() << "read-only mount skipped: " << image.Why();
  const std::string sRoot = image.Root();
  temp.Write(sRoot.substr(temp.Path().size()) + "folder/a.txt", "a");
  temp.Write(sRoot.substr(temp.Path().size()) + "single.txt", "single");
  ASSERT_TRUE(image.Remount(true));

  Erase(sRoot + "single.txt", false);
  EXPECT_EQ(ReadFile(sRoot + "single.txt"), "single");
  EXPECT_EQ(view.Lines()[0], "Could not erased file single.txt [in 0.1 seconds]");

  Erase(sRoot + "folder/", true);
  EXPECT_EQ(ReadFile(sRoot + "folder/a.txt"), "a");
  EXPECT_EQ(view.Lines()[0], "Erased 0 file(s) and 0 folder(s);  0.00 kBytes in 0.1 seconds [0.00 kB / second]");
  EXPECT_EQ(view.Lines()[1], "  unable to delete 1 folder(s)");
  EXPECT_EQ(view.Lines()[3], "Could not erased file a.txt [in 0.1 seconds]");
}

TEST_F(ImageTest, FullDiskErasesWhatItCanAndKeepsWhatItCannot) {
  LoopMount image(temp.Path(), "ext4", 16);
  if (!image.Ready()) GTEST_SKIP() << "full-disk test skipped: " << image.Why();
  const std::string sRoot = image.Root();
  const std::string sMarker = "FULL-DISK-MARKER-0123456789|";
  std::string sContent;
  while (sContent.size() < 4096) sContent += sMarker;
  sContent.resize(4096);
  const std::string sWhole = sRoot + "whole.bin";
  temp.Write(sWhole.substr(temp.Path().size()), sContent);
  // A file with a hole: overwriting it needs blocks the full disk no longer has.
  const std::string sHoled = sRoot + "holed.bin";
  const int fd = ::open(sHoled.c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_EQ(::pwrite(fd, "start", 5, 0), 5);
  ASSERT_EQ(::ftruncate(fd, 1 << 20), 0);
  ::close(fd);
  for (const char* pBlock : {"64k", "1k", "512"}) {
    std::system(("dd if=/dev/zero of='" + sRoot + "filler-" + pBlock + "' bs=" + pBlock + " status=none 2>/dev/null")
                    .c_str());
  }
  ::sync();
  const int probe = ::open((sRoot + "probe").c_str(), O_CREAT | O_WRONLY, 0600);
  ASSERT_EQ(::pwrite(probe, sContent.data(), 4096, 0), -1) << "the image could not be filled";
  ::close(probe);
  ::unlink((sRoot + "probe").c_str());

  Erase(sWhole, false);
  EXPECT_FALSE(Exists(sWhole));
  EXPECT_EQ(view.Lines()[0].rfind("Erased 4.00 kBytes in ", 0), 0U) << view.Lines()[0];

  Erase(sHoled, false);
  EXPECT_TRUE(Exists(sHoled));
  EXPECT_EQ(view.Lines()[0], "Could not erased file holed.bin [in 0.1 seconds]");

  image.Unmount();
  EXPECT_EQ(image.RawImage().find(sMarker), std::string::npos);
}

}  // namespace
}  // namespace tarnwipe::test
