// Path text rules of POSIX and Windows; the platform is the one this is built for.
#include "platform/paths.h"

#include <algorithm>
#include <cctype>
#include <random>

namespace tarnwipe::paths {
namespace {

// How many characters of the path its root takes; 0 when it has none.
size_t RootLength(const std::string& sPath) {
#ifdef _WIN32
  const bool bDrive = sPath.size() >= 3 && std::isalpha(static_cast<unsigned char>(sPath[0])) != 0 &&
                      sPath[1] == ':' && sPath[2] == kSeparator;
  return bDrive ? 3 : 0;
#else
  return !sPath.empty() && sPath[0] == kSeparator ? 1 : 0;
#endif
}

bool SameLetter(char a, char b) {
#ifdef _WIN32
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
#else
  return a == b;
#endif
}

}  // namespace

bool IsRoot(const std::string& sPath) { return RootLength(sPath) != 0 && sPath.size() == RootLength(sPath); }

bool IsAbsolute(const std::string& sPath) { return RootLength(sPath) != 0; }

std::string RootOf(const std::string& sPath) { return sPath.substr(0, RootLength(sPath)); }

std::string WithoutSeparator(std::string sPath) {
  const size_t nKeep = std::max<size_t>(RootLength(sPath), 1);
  while (sPath.size() > nKeep && sPath.back() == kSeparator) sPath.pop_back();
  return sPath;
}

std::string WithSeparator(std::string sPath) {
  if (!sPath.empty() && sPath.back() != kSeparator) sPath += kSeparator;
  return sPath;
}

std::string AsFolder(const std::string& sPath) { return WithSeparator(WithoutSeparator(sPath)); }

std::string LastName(const std::string& sPath) {
  const std::string sTrimmed = WithoutSeparator(sPath);
  if (IsRoot(sTrimmed)) return kSeparator == '/' ? sTrimmed : sTrimmed.substr(0, 2);
  const auto p = sTrimmed.rfind(kSeparator);
  return p == std::string::npos ? sTrimmed : sTrimmed.substr(p + 1);
}

std::string FolderPart(const std::string& sPath) {
  const auto p = sPath.rfind(kSeparator);
  return p == std::string::npos ? std::string() : sPath.substr(0, p + 1);
}

std::string ResolveLeadingPart(const std::string& sPath, const std::function<std::string(const std::string&)>& resolve) {
  const bool bFolder = WithSeparator(sPath) == sPath;
  std::string sHead = sPath;
  std::string sRest;
  for (;;) {
    std::string sResult = resolve(sHead);
    const std::string sParent = FolderPart(WithoutSeparator(sHead));
    if (sResult.empty() && (IsRoot(sHead) || sParent.empty())) sResult = sHead;
    if (!sResult.empty()) {
      if (!sRest.empty()) sResult = WithSeparator(sResult) + sRest;
      return bFolder ? WithSeparator(sResult) : sResult;
    }
    const std::string sPart = LastName(sHead);
    sRest = sRest.empty() ? sPart : WithSeparator(sPart) + sRest;
    sHead = sParent;
  }
}

std::string MeaninglessName(size_t lChars, int iTry) {
  static std::mt19937_64 random{std::random_device{}()};
  std::string sName(lChars + static_cast<size_t>(iTry / 200), '0');
  for (char& c : sName) c = "0123456789abcdefghijklmnopqrstuvwxyz"[random() % 36];
  return sName;
}

bool LiesIn(const std::string& sPath, const std::string& sFolder) {
  const std::string sAsFolder = sPath + kSeparator;
  return sAsFolder.size() >= sFolder.size() &&
         std::equal(sFolder.begin(), sFolder.end(), sAsFolder.begin(), SameLetter);
}

}  // namespace tarnwipe::paths
