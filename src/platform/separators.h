// The user's regional number separators.
#pragma once

#include <string>

namespace tarnwipe {

struct Separators {
  std::string sGroup = ",";
  std::string sDecimal = ".";
};

}  // namespace tarnwipe
