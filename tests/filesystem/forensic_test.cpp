// Erased contents must be gone from the raw disk: files with unique markers are erased on real
// ext4 and XFS images, which are then scanned byte by byte. A file deleted without erasing is
// the control: its marker must still be found, or the scan proves nothing.
#include <unistd.h>

#include <random>

#include "form_fixture.h"
#include "loop_mount.h"
#include "platform/posix/posix_file_system.h"
#include "temp_folder.h"

namespace tarnwipe::test {
namespace {

class ForensicTest : public FormFixture<PosixFileSystem>, public ::testing::WithParamInterface<const char*> {
 protected:
  TempFolder temp;
  // A file of lSize bytes made of its own marker, repeated; returns the marker.
  std::string WriteMarked(const std::string& sPath, size_t lSize) {
    std::string sMarker = "TARNWIPE-MARKER:" + std::string(GetParam()) + ":" + std::to_string(m_random()) + ":" +
                          sPath.substr(sPath.rfind('/') + 1) + "|";
    std::string sContent;
    while (sContent.size() < lSize) sContent += sMarker;
    sContent.resize(lSize);
    temp.Write(sPath.substr(temp.Path().size()), sContent);
    return lSize >= sMarker.size() ? sMarker : std::string();
  }

  std::mt19937_64 m_random{std::random_device{}()};
};

TEST_P(ForensicTest, NoMarkerOfAnErasedFileSurvivesOnTheRawImage) {
  const std::string sType = GetParam();
  LoopMount image(temp.Path(), sType, sType == "xfs" ? 320 : 64);
  if (!image.Ready()) GTEST_SKIP() << "forensic scan on " << sType << " skipped: " << image.Why();
  const std::string sRoot = image.Root();

  std::vector<std::string> asMarkers;
  std::vector<std::string> asSingles;
  for (const size_t lSize : {size_t{0}, size_t{1}, size_t{1023}, size_t{1024}, size_t{4097}, size_t{3} << 20}) {
    asSingles.push_back(sRoot + "single-" + std::to_string(lSize) + ".bin");
    asMarkers.push_back(WriteMarked(asSingles.back(), lSize));
  }
  for (const auto& [sName, lSize] : {std::pair<const char*, size_t>{"tree/top.txt", 1500}, {"tree/a/mid.doc", 70000},
                                     {"tree/a/b/deep.bin", 8192}, {"tree/c/.hidden", 4096}}) {
    asMarkers.push_back(WriteMarked(sRoot + sName, lSize));
  }
  const std::string sControl = WriteMarked(sRoot + "control.bin", 8192);
  ::sync();

  for (const std::string& sSingle : asSingles) {
    Erase(sSingle, false);
    EXPECT_FALSE(Exists(sSingle)) << sSingle;
  }
  Erase(sRoot + "tree/", true);
  EXPECT_FALSE(Exists(sRoot + "tree")) << view.sText;
  ASSERT_EQ(std::remove((sRoot + "control.bin").c_str()), 0);
  image.Unmount();

  const std::string sRaw = image.RawImage();
  for (const std::string& sMarker : asMarkers) {
    if (!sMarker.empty()) {
      EXPECT_EQ(sRaw.find(sMarker), std::string::npos) << sType << ": found " << sMarker;
    }
  }
  EXPECT_NE(sRaw.find(sControl), std::string::npos) << sType << ": the control's marker is gone; the scan cannot tell";
}

INSTANTIATE_TEST_SUITE_P(FileSystems, ForensicTest, ::testing::Values("ext4", "xfs"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace tarnwipe::test
