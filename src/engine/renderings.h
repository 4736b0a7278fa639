// How amounts, durations and speeds read in the message area.
#pragma once

#include <cstdint>
#include <string>

#include "platform/separators.h"

namespace tarnwipe {

// The unit an amount was shown in; its speed is shown in the same unit.
enum class AmountUnit { kBytes, kKiloBytes, kMegaBytes };

struct Amount {
  std::string sText;
  AmountUnit eUnit;
};

// A number by the masks "###,###,###,##0" with iDecimals decimals, halves away from zero.
std::string FormatMask(double dblValue, int iDecimals, const Separators& seps);

// "Erasing " + name + "  [" + size + " bytes]"; "  [" + size + " bytes, " + in use + " in use]"
// for a file whose blocks hold less than its length (a sparse file).
std::string ErasingLine(const std::string& sName, int64_t lBytes, int64_t lInUse, const Separators& seps);

// " [in " + seconds with one decimal + " seconds]".
std::string TimedSuffix(float sngSeconds, const Separators& seps);

Amount FileAmount(int64_t lBytes, const Separators& seps);
Amount RunAmount(double dblKBytes, const Separators& seps);
std::string RunDuration(float sngSeconds, const Separators& seps);
std::string FileSpeed(int64_t lBytes, float sngSeconds, AmountUnit eUnit, const Separators& seps);
std::string RunSpeed(double dblKBytes, float sngSeconds, AmountUnit eUnit, const Separators& seps);

// "Erased 2.50 MBytes in 1.2 seconds  [2.08 MB / second]". The amount is the file's length; the
// speed is told from the bytes written (lWritten), which for a sparse file are fewer.
std::string SingleFileReport(int64_t lBytes, int64_t lWritten, float sngSeconds, const Separators& seps);

// "Erased 12 file(s) and 3 folder(s);  1.50 MBytes in 4.2 seconds [0.36 MB / second]". The
// amount is what was chosen; the speed is told from the kilobytes written.
std::string FolderRunReport(int32_t lFiles, int32_t lFolders, double dblKBytes, double dblWrittenKBytes,
                            float sngSeconds, const Separators& seps);

}  // namespace tarnwipe
