// Reading a uri-list.
#include "paths/uri_list.h"

#include <algorithm>
#include <cctype>

namespace tarnwipe {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const char cLower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return cLower >= 'a' && cLower <= 'f' ? cLower - 'a' + 10 : -1;
}

// The path of a file URI on this machine: "file:///p", "file://localhost/p" or "file:/p";
// empty for anything else.
std::string LocalPart(const std::string& sUri) {
  std::string sScheme = sUri.substr(0, 5);
  std::transform(sScheme.begin(), sScheme.end(), sScheme.begin(), [](unsigned char c) { return std::tolower(c); });
  if (sScheme != "file:") return {};
  std::string sRest = sUri.substr(5);
  if (sRest.starts_with("//")) {
    const size_t lPathStart = sRest.find('/', 2);
    const std::string sHost = sRest.substr(2, lPathStart == std::string::npos ? std::string::npos : lPathStart - 2);
    if (lPathStart == std::string::npos || !(sHost.empty() || sHost == "localhost")) return {};
    sRest = sRest.substr(lPathStart);
  }
  return sRest.starts_with('/') ? sRest : std::string();
}

}  // namespace

std::string PercentDecoded(const std::string& sText) {
  std::string sBytes;
  for (size_t i = 0; i < sText.size(); ++i) {
    const int iHigh = sText[i] == '%' && i + 2 < sText.size() ? HexValue(sText[i + 1]) : -1;
    const int iLow = iHigh >= 0 ? HexValue(sText[i + 2]) : -1;
    if (iLow < 0) {
      sBytes += sText[i];
      continue;
    }
    sBytes += static_cast<char>(iHigh * 16 + iLow);
    i += 2;
  }
  return sBytes;
}

std::vector<std::string> PathsOfUriList(const std::string& sUriList) {
  std::vector<std::string> asPaths;
  size_t lStart = 0;
  while (lStart < sUriList.size()) {
    size_t lEnd = sUriList.find('\n', lStart);
    if (lEnd == std::string::npos) lEnd = sUriList.size();
    std::string sLine = sUriList.substr(lStart, lEnd - lStart);
    lStart = lEnd + 1;
    if (!sLine.empty() && sLine.back() == '\r') sLine.pop_back();
    if (sLine.empty() || sLine.front() == '#') continue;
    const std::string sLocal = LocalPart(sLine);
    asPaths.push_back(sLocal.empty() ? sLine : PercentDecoded(sLocal));
  }
  return asPaths;
}

}  // namespace tarnwipe
