// Opening one file of the held map for exclusive overwriting: the sequence every file layer
// takes, through the steps each platform answers with its own system calls.
#pragma once

#include <memory>
#include <string>
#include <system_error>

#include "platform/file_system.h"

namespace tarnwipe {

// Pins the entry sPath, refuses anything but a plain file with a single name (folders, links,
// devices, pipes, sockets, files with a second hard link), makes it writable, opens it and
// refuses the open unless it reached the very file that was checked, still with one name.
// Whatever is refused keeps its content.
std::error_code OpenExclusively(FileSystem& fs, const std::string& sPath, std::unique_ptr<ExclusiveFile>& pFile);

}  // namespace tarnwipe
