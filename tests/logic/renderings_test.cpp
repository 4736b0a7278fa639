// Renderings of amounts, durations and speeds at their unit and mask boundaries.
#include "engine/renderings.h"

#include <gtest/gtest.h>

#include "engine/interval.h"

namespace tarnwipe::test {
namespace {

const Separators kEnglish;
const Separators kGerman{".", ","};

TEST(Renderings, MasksGroupRoundHalvesAwayAndFollowTheLocale) {
  EXPECT_EQ(FormatMask(1234567.891, 2, kEnglish), "1,234,567.89");
  EXPECT_EQ(FormatMask(999.995, 2, kEnglish), "1,000.00");
  EXPECT_EQ(FormatMask(2.675, 2, kEnglish), "2.68");
  EXPECT_EQ(FormatMask(123456789012345.0, 0, kEnglish), "123,456,789,012,345");
  EXPECT_EQ(FormatMask(1234567.891, 2, kGerman), "1.234.567,89");
}

TEST(Renderings, UnitsChangeAtTheirBoundaries) {
  for (const auto& [lBytes, pText] : {std::pair<int64_t, const char*>{1024, "1,024.00 bytes"}, {1025, "1.00 kBytes"},
                                      {1048576, "1,024.00 kBytes"}, {1048577, "1.00 MBytes"},
                                      {int64_t{5} << 32, "20,480.00 MBytes"}}) {
    EXPECT_EQ(FileAmount(lBytes, kEnglish).sText, pText) << lBytes;
  }
  EXPECT_EQ(RunDuration(59.96F, kEnglish), "60.0 seconds");
  EXPECT_EQ(RunDuration(60.0F, kEnglish), "1.00 minutes");
  EXPECT_EQ(RunDuration(3600.0F, kEnglish), "1.00 hours");
  EXPECT_FLOAT_EQ(GetInterval(86390.0F, 5.0F), 15.0F);  // across midnight
  EXPECT_FLOAT_EQ(GetInterval(42.0F, 42.0F), 0.1F);
}

TEST(Renderings, ReportsGiveTheSpeedInTheAmountsUnit) {
  EXPECT_EQ(SingleFileReport(2621440, 2621440, 1.2F, kEnglish), "Erased 2.50 MBytes in 1.2 seconds  [2.08 MB / second]");
  EXPECT_EQ(SingleFileReport(800, 800, 0.1F, kEnglish), "Erased 800.00 bytes in 0.1 seconds  [8,000.00 bytes / second]");
  EXPECT_EQ(FolderRunReport(12, 3, 1536, 1536, 4.2F, kEnglish),
            "Erased 12 file(s) and 3 folder(s);  1.50 MBytes in 4.2 seconds [0.36 MB / second]");
  EXPECT_EQ(FolderRunReport(1234, 0, 0.5, 0.5, 0.5F, kGerman),
            "Erased 1.234 file(s) and 0 folder(s);  0,50 kBytes in 0,5 seconds [1,00 kB / second]");
}

}  // namespace
}  // namespace tarnwipe::test
