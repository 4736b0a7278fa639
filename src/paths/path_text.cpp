// Path text rules of POSIX and Windows.
#include "paths/path_text.h"

#include <algorithm>
#include <cctype>
#include <random>
#include <vector>

namespace tarnwipe::paths {
namespace {

// How many characters of the path its root takes; 0 when it has none.
size_t RootLength(const std::string& sPath, Style style) {
  if (style == Style::kPosix) return !sPath.empty() && sPath[0] == '/' ? 1 : 0;
  const bool bDrive = sPath.size() >= 3 && std::isalpha(static_cast<unsigned char>(sPath[0])) != 0 && sPath[1] == ':' &&
                      sPath[2] == '\\';
  return bDrive ? 3 : 0;
}

}  // namespace

char Separator(Style style) { return style == Style::kPosix ? '/' : '\\'; }

bool IsRoot(const std::string& sPath, Style style) {
  return RootLength(sPath, style) != 0 && sPath.size() == RootLength(sPath, style);
}

bool IsAbsolute(const std::string& sPath, Style style) { return RootLength(sPath, style) != 0; }

std::string RootOf(const std::string& sPath, Style style) { return sPath.substr(0, RootLength(sPath, style)); }

std::string WithoutSeparator(std::string sPath, Style style) {
  const size_t nKeep = std::max<size_t>(RootLength(sPath, style), 1);
  while (sPath.size() > nKeep && sPath.back() == Separator(style)) sPath.pop_back();
  return sPath;
}

std::string WithSeparator(std::string sPath, Style style) {
  if (!sPath.empty() && sPath.back() != Separator(style)) sPath += Separator(style);
  return sPath;
}

std::string AsFolder(const std::string& sPath, Style style) {
  return WithSeparator(WithoutSeparator(sPath, style), style);
}

std::string LastName(const std::string& sPath, Style style) {
  const std::string sTrimmed = WithoutSeparator(sPath, style);
  if (IsRoot(sTrimmed, style)) return style == Style::kPosix ? sTrimmed : sTrimmed.substr(0, 2);
  const auto p = sTrimmed.rfind(Separator(style));
  return p == std::string::npos ? sTrimmed : sTrimmed.substr(p + 1);
}

std::string FolderPart(const std::string& sPath, Style style) {
  const auto p = sPath.rfind(Separator(style));
  return p == std::string::npos ? std::string() : sPath.substr(0, p + 1);
}

bool LiesIn(const std::string& sPath, const std::string& sFolder, Style style) {
  const auto same = [style](char a, char b) {
    if (style == Style::kPosix) return a == b;
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  };
  const std::string sAsFolder = sPath + Separator(style);
  return sAsFolder.size() >= sFolder.size() && std::equal(sFolder.begin(), sFolder.end(), sAsFolder.begin(), same);
}

std::string FullPath(const std::string& sPath, const std::string& sCurrentFolder, Style style) {
  const std::string sWhole = IsAbsolute(sPath, style) ? sPath : WithSeparator(sCurrentFolder, style) + sPath;
  const std::string sRoot = RootOf(sWhole, style);
  std::vector<std::string> asParts;
  for (size_t lStart = sRoot.size(); lStart <= sWhole.size();) {
    const size_t p = std::min(sWhole.find(Separator(style), lStart), sWhole.size());
    const std::string sPart = sWhole.substr(lStart, p - lStart);
    if (sPart == "..") {
      if (!asParts.empty()) asParts.pop_back();
    } else if (!sPart.empty() && sPart != ".") {
      asParts.push_back(sPart);
    }
    lStart = p + 1;
  }
  std::string sFull = sRoot;
  for (const std::string& sPart : asParts) sFull += (sFull == sRoot ? "" : std::string(1, Separator(style))) + sPart;
  return sFull;
}

std::string ResolveLeadingPart(const std::string& sPath, const std::function<std::string(const std::string&)>& resolve,
                               Style style) {
  const bool bFolder = WithSeparator(sPath, style) == sPath;
  std::string sHead = sPath;
  std::string sRest;
  for (;;) {
    std::string sResult = resolve(sHead);
    const std::string sParent = FolderPart(WithoutSeparator(sHead, style), style);
    if (sResult.empty() && (IsRoot(sHead, style) || sParent.empty())) sResult = sHead;
    if (!sResult.empty()) {
      if (!sRest.empty()) sResult = WithSeparator(sResult, style) + sRest;
      return bFolder ? WithSeparator(sResult, style) : sResult;
    }
    const std::string sPart = LastName(sHead, style);
    sRest = sRest.empty() ? sPart : WithSeparator(sPart, style) + sRest;
    sHead = sParent;
  }
}

std::string MeaninglessName(size_t lChars, int iTry) {
  static std::mt19937_64 random{std::random_device{}()};
  std::string sName(lChars + static_cast<size_t>(iTry / 200), '0');
  for (char& c : sName) c = "0123456789abcdefghijklmnopqrstuvwxyz"[random() % 36];
  return sName;
}

}  // namespace tarnwipe::paths
