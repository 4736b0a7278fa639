// Path text as this platform writes it: the separator, the root, and how two paths compare.
// Nothing here asks the file system.
#pragma once

#include <string>

namespace tarnwipe::paths {

inline constexpr char kSeparator = '/';

// True for the root folder, written as a single separator.
bool IsRoot(const std::string& sPath);

// True when the path starts at the root.
bool IsAbsolute(const std::string& sPath);

// The path without trailing separators; the root stays the root.
std::string WithoutSeparator(std::string sPath);

// The path with one separator appended when it is not empty and does not end in one.
std::string WithSeparator(std::string sPath);

// The path written as a folder: ending in exactly one separator.
std::string AsFolder(const std::string& sPath);

// The last name of the path, trailing separators ignored; the root names itself.
std::string LastName(const std::string& sPath);

// The folder part of the path up to and with its last separator; empty when it has none.
std::string FolderPart(const std::string& sPath);

// True when sPath is sFolder (ending in the separator) or lies below it. Names compare exactly,
// as this platform's file systems tell names apart by letter case.
bool LiesIn(const std::string& sPath, const std::string& sFolder);

}  // namespace tarnwipe::paths
