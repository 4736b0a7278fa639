// The words the user reads for what kept a file, chosen once for every platform's errors.
#pragma once

#include <string>
#include <system_error>

#include "engine/file_outcome.h"

namespace tarnwipe {

// The reason for the error that kept a file, as a short phrase ("open in another program");
// the system's own text for an error without words of its own here.
std::string KeptReason(const std::error_code& ec);

// Why a kept file was kept, as its failure line and the run's count of reasons say it.
std::string KeptReason(const FileOutcome& outcome);

}  // namespace tarnwipe
