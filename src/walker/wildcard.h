// Name matching by the Windows wildcard rules, and the attribute filter of a listing.
#pragma once

#include <cstdint>
#include <string>

namespace tarnwipe {

// "*" any run of characters, "?" one character, ASCII letter case ignored; an empty pattern
// matches every name, and a pattern ending in ".*" also matches names without a dot ("*.*").
bool MatchesWildcard(const std::string& sName, const std::string& sPattern);

// An entry carrying hidden, system or directory bits is listed only when the mask holds each.
bool PassesListingMask(int32_t lAttributes, int32_t lMask);

}  // namespace tarnwipe
