// The words the user reads for what kept a file, chosen once for every platform's errors.
#pragma once

#include <string>
#include <system_error>

namespace tarnwipe {

// The reason for the error that kept a file, as a short phrase ("open in another program");
// the system's own text for an error without words of its own here.
std::string KeptReason(const std::error_code& ec);

}  // namespace tarnwipe
