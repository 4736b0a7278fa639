// The number separators of the user's locale.
#pragma once

#include "platform/separators.h"

namespace tarnwipe {

Separators SystemSeparators();

}  // namespace tarnwipe
