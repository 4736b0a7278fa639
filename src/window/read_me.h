// The built-in read-me, in the seven blocks it is written in.
#pragma once

#include <array>
#include <string>

namespace tarnwipe {

const std::array<std::string, 7>& ReadMeBlocks();

}  // namespace tarnwipe
