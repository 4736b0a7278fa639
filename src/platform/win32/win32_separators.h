// The number separators of the user's locale on Windows.
#pragma once

#include "platform/separators.h"

namespace tarnwipe {

Separators SystemSeparators();

}  // namespace tarnwipe
