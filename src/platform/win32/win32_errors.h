// Windows errors as the logic reads them.
#pragma once

#include <windows.h>

#include <system_error>

namespace tarnwipe {

// The ones the logic has words for as their portable conditions, the others as they are.
std::error_code FromWin32(DWORD lError);

// The calling thread's last error, read so.
std::error_code LastWin32Error();

}  // namespace tarnwipe
