// Cutting paths into folder, folder name and file name where that depends on what the path
// names on disk.
#pragma once

#include <cstdint>
#include <string>

#include "platform/file_system.h"
#include "paths/path_text.h"

namespace tarnwipe::paths {

// True when the path names an existing folder (a link to a folder is not one).
bool IsFolder(const FileSystem& fs, const std::string& sPath);

// The path with a separator appended when it names an existing folder without one.
std::string QualifyFolder(const FileSystem& fs, const std::string& sPath);

// The last folder name of a folder path; "/" for the root; empty when the path is no folder.
std::string ExtractFolder(const FileSystem& fs, const std::string& sSpecIn);

// The file name of a path with its extension; the whole path when nothing follows its last
// separator; empty for a folder.
std::string ExtractName(const FileSystem& fs, const std::string& sSpecIn);

// The folder part of a path, ending in the separator; empty when the path holds no separator.
std::string ExtractPath(const FileSystem& fs, const std::string& sSpecIn);

}  // namespace tarnwipe::paths
