// Wildcard matching with backtracking over the last "*", linear for the patterns people type.
#include "walker/wildcard.h"

#include "platform/file_system.h"

namespace tarnwipe {
namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool MatchPlain(const std::string& sName, const std::string& sPattern) {
  size_t n = 0;
  size_t p = 0;
  size_t starP = std::string::npos;
  size_t starN = 0;
  while (n < sName.size()) {
    if (p < sPattern.size() && (sPattern[p] == '?' || Fold(sPattern[p]) == Fold(sName[n]))) {
      ++n;
      ++p;
    } else if (p < sPattern.size() && sPattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < sPattern.size() && sPattern[p] == '*') ++p;
  return p == sPattern.size();
}

}  // namespace

bool MatchesWildcard(const std::string& sName, const std::string& sPattern) {
  if (sPattern.empty()) return true;
  if (MatchPlain(sName, sPattern)) return true;
  const bool bDotStar = sPattern.size() >= 2 && sPattern.compare(sPattern.size() - 2, 2, ".*") == 0;
  return bDotStar && sName.find('.') == std::string::npos && MatchPlain(sName, sPattern.substr(0, sPattern.size() - 2));
}

bool PassesListingMask(int32_t lAttributes, int32_t lMask) {
  const int32_t lGuarded = kAttrHidden | kAttrSystem | kAttrDirectory;
  const int32_t lCarried = lAttributes & lGuarded;
  return (lCarried & lMask) == lCarried;
}

}  // namespace tarnwipe
