// Path text as this platform writes it: the separator, the root, and how two paths compare.
// Nothing here asks the file system.
#pragma once

#include <functional>
#include <string>

namespace tarnwipe::paths {

#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

// True for a root folder: a single separator on POSIX, a drive letter, colon and separator on
// Windows ("C:\"). A network path ("\\server\share") has no root here.
bool IsRoot(const std::string& sPath);

// True when the path starts at a root.
bool IsAbsolute(const std::string& sPath);

// The root the path starts at; empty when it is not absolute.
std::string RootOf(const std::string& sPath);

// The path without trailing separators; a root stays a root.
std::string WithoutSeparator(std::string sPath);

// The path with one separator appended when it is not empty and does not end in one.
std::string WithSeparator(std::string sPath);

// The path written as a folder: ending in exactly one separator.
std::string AsFolder(const std::string& sPath);

// The last name of the path, trailing separators ignored. A root names itself: "/" on POSIX,
// the drive ("C:") on Windows.
std::string LastName(const std::string& sPath);

// The folder part of the path up to and with its last separator; empty when it has none.
std::string FolderPart(const std::string& sPath);

// The path with its longest leading part that resolve() can resolve replaced by what it gives;
// the rest is kept as written. resolve() gives an empty string for a part it cannot resolve; a
// root it cannot resolve stays as it is. A folder path keeps its trailing separator.
std::string ResolveLeadingPart(const std::string& sPath, const std::function<std::string(const std::string&)>& resolve);

// A meaningless name of lChars letters and digits, different on every call, to put in place of a
// removed entry's name. iTry counts the tries at a name the folder does not hold yet: after 200
// the names grow by a character, as every name of one length can be taken.
std::string MeaninglessName(size_t lChars, int iTry = 0);

// True when sPath is sFolder (ending in the separator) or lies below it. Names compare exactly
// on POSIX, whose file systems tell names apart by letter case, and without letter case on
// Windows, whose file systems do not.
bool LiesIn(const std::string& sPath, const std::string& sFolder);

}  // namespace tarnwipe::paths
