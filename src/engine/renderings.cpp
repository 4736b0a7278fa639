// Renderings of sizes, durations and speeds. Units follow the amount, not the speed's size.
#include "engine/renderings.h"

#include <charconv>
#include <cmath>

namespace tarnwipe {
namespace {

constexpr double kKilo = 1024.0;
constexpr double kMega = 1048576.0;

// Adds one to a string of decimal digits, growing it by a digit when it overflows.
void IncrementDigits(std::string& sDigits) {
  for (auto it = sDigits.rbegin(); it != sDigits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  sDigits.insert(sDigits.begin(), '1');
}

}  // namespace

std::string FormatMask(double dblValue, int iDecimals, const Separators& seps) {
  // The shortest decimal form of the value decides halves, so 2.675 rounds to 2.68.
  char buffer[512];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(dblValue), std::chars_format::fixed);
  const std::string sFixed(buffer, result.ptr);
  const auto dot = sFixed.find('.');
  std::string sWhole = sFixed.substr(0, dot);
  std::string sFraction = dot == std::string::npos ? std::string() : sFixed.substr(dot + 1);
  sFraction.resize(static_cast<size_t>(iDecimals) + 1, '0');
  const bool bRoundUp = sFraction.back() >= '5';
  sFraction.pop_back();
  if (bRoundUp) {
    std::string sAll = sWhole + sFraction;
    IncrementDigits(sAll);
    sWhole = sAll.substr(0, sAll.size() - sFraction.size());
    sFraction = sAll.substr(sAll.size() - sFraction.size());
  }

  std::string sGrouped;
  for (size_t i = 0; i < sWhole.size(); ++i) {
    if (i > 0 && (sWhole.size() - i) % 3 == 0) sGrouped += seps.sGroup;
    sGrouped += sWhole[i];
  }
  const bool bZero = sWhole.find_first_not_of('0') == std::string::npos &&
                     sFraction.find_first_not_of('0') == std::string::npos;
  std::string sText = (dblValue < 0 && !bZero) ? "-" + sGrouped : sGrouped;
  if (iDecimals > 0) sText += seps.sDecimal + sFraction;
  return sText;
}

std::string ErasingLine(const std::string& sName, int64_t lBytes, int64_t lInUse, const Separators& seps) {
  const std::string sInUse = lInUse < lBytes ? ", " + FormatMask(static_cast<double>(lInUse), 0, seps) + " in use" : "";
  return "Erasing " + sName + "  [" + FormatMask(static_cast<double>(lBytes), 0, seps) + " bytes" + sInUse + "]";
}

std::string TimedSuffix(float sngSeconds, const Separators& seps) {
  return " [in " + FormatMask(sngSeconds, 1, seps) + " seconds]";
}

Amount FileAmount(int64_t lBytes, const Separators& seps) {
  const auto dblBytes = static_cast<double>(lBytes);
  if (dblBytes > kMega) return {FormatMask(dblBytes / kMega, 2, seps) + " MBytes", AmountUnit::kMegaBytes};
  if (dblBytes > kKilo) return {FormatMask(dblBytes / kKilo, 2, seps) + " kBytes", AmountUnit::kKiloBytes};
  return {FormatMask(dblBytes, 2, seps) + " bytes", AmountUnit::kBytes};
}

Amount RunAmount(double dblKBytes, const Separators& seps) {
  if (dblKBytes > kKilo) return {FormatMask(dblKBytes / kKilo, 2, seps) + " MBytes", AmountUnit::kMegaBytes};
  return {FormatMask(dblKBytes, 2, seps) + " kBytes", AmountUnit::kKiloBytes};
}

std::string RunDuration(float sngSeconds, const Separators& seps) {
  if (sngSeconds < 60.0F) return FormatMask(sngSeconds, 1, seps) + " seconds";
  if (sngSeconds < 3600.0F) return FormatMask(sngSeconds / 60.0F, 2, seps) + " minutes";
  return FormatMask(sngSeconds / 3600.0F, 2, seps) + " hours";
}

std::string FileSpeed(int64_t lBytes, float sngSeconds, AmountUnit eUnit, const Separators& seps) {
  const auto dblBytes = static_cast<double>(lBytes);
  switch (eUnit) {
    case AmountUnit::kMegaBytes:
      return FormatMask(dblBytes / kMega / sngSeconds, 2, seps) + " MB / second]";
    case AmountUnit::kKiloBytes:
      return FormatMask(dblBytes / kKilo / sngSeconds, 2, seps) + " kB / second]";
    case AmountUnit::kBytes:
      break;
  }
  return FormatMask(dblBytes / sngSeconds, 2, seps) + " bytes / second]";
}

std::string RunSpeed(double dblKBytes, float sngSeconds, AmountUnit eUnit, const Separators& seps) {
  if (eUnit == AmountUnit::kMegaBytes) return FormatMask(dblKBytes / kKilo / sngSeconds, 2, seps) + " MB / second]";
  return FormatMask(dblKBytes / sngSeconds, 2, seps) + " kB / second]";
}

std::string SingleFileReport(int64_t lBytes, int64_t lWritten, float sngSeconds, const Separators& seps) {
  const Amount amount = FileAmount(lBytes, seps);
  return "Erased " + amount.sText + " in " + RunDuration(sngSeconds, seps) + "  [" +
         FileSpeed(lWritten, sngSeconds, amount.eUnit, seps);
}

std::string FolderRunReport(int32_t lFiles, int32_t lFolders, double dblKBytes, double dblWrittenKBytes,
                            float sngSeconds, const Separators& seps) {
  const Amount amount = RunAmount(dblKBytes, seps);
  return "Erased " + FormatMask(lFiles, 0, seps) + " file(s) and " + FormatMask(lFolders, 0, seps) + " folder(s);  " +
         amount.sText + " in " + RunDuration(sngSeconds, seps) + " [" +
         RunSpeed(dblWrittenKBytes, sngSeconds, amount.eUnit, seps);
}

}  // namespace tarnwipe
