// Path text by a platform's rules, passed as a style so that both are tried everywhere: the
// separator, the root, how two paths compare. Nothing here asks the file system.
#pragma once

#include <functional>
#include <string>

namespace tarnwipe::paths {

// Whose rules a path follows: POSIX ("/", names told apart by letter case) or Windows ("\",
// drive roots, names compared without letter case).
enum class Style { kPosix, kWindows };

// The rules of the platform this program is built for.
#ifdef _WIN32
inline constexpr Style kNative = Style::kWindows;
#else
inline constexpr Style kNative = Style::kPosix;
#endif

char Separator(Style style = kNative);

// True for a root folder: a single separator on POSIX, a drive letter, colon and separator on
// Windows ("C:\"). A network path ("\\server\share") has no root here.
bool IsRoot(const std::string& sPath, Style style = kNative);

// True when the path starts at a root.
bool IsAbsolute(const std::string& sPath, Style style = kNative);

// The root the path starts at; empty when it is not absolute.
std::string RootOf(const std::string& sPath, Style style = kNative);

// The path without trailing separators; a root stays a root.
std::string WithoutSeparator(std::string sPath, Style style = kNative);

// The path with one separator appended when it is not empty and does not end in one.
std::string WithSeparator(std::string sPath, Style style = kNative);

// The path written as a folder: ending in exactly one separator.
std::string AsFolder(const std::string& sPath, Style style = kNative);

// The last name of the path, trailing separators ignored. A root names itself: "/" on POSIX,
// the drive ("C:") on Windows.
std::string LastName(const std::string& sPath, Style style = kNative);

// The folder part of the path up to and with its last separator; empty when it has none.
std::string FolderPart(const std::string& sPath, Style style = kNative);

// True when sPath is sFolder (ending in the separator) or lies below it. Names compare exactly
// on POSIX, whose file systems tell names apart by letter case, and without letter case on
// Windows, whose file systems do not.
bool LiesIn(const std::string& sPath, const std::string& sFolder, Style style = kNative);

// sPath as a full path, its bytes kept: a relative path is taken from sCurrentFolder, and "."
// and ".." parts and doubled separators are folded away, as a shell shows the path.
std::string FullPath(const std::string& sPath, const std::string& sCurrentFolder, Style style = kNative);

// The path with its longest leading part that resolve() can resolve replaced by what it gives;
// the rest is kept as written. resolve() gives an empty string for a part it cannot resolve; a
// root it cannot resolve stays as it is. A folder path keeps its trailing separator.
std::string ResolveLeadingPart(const std::string& sPath, const std::function<std::string(const std::string&)>& resolve,
                               Style style = kNative);

// A meaningless name of lChars letters and digits, different on every call, to put in place of a
// removed entry's name. iTry counts the tries at a name the folder does not hold yet: after 200
// the names grow by a character, as every name of one length can be taken.
std::string MeaninglessName(size_t lChars, int iTry = 0);

}  // namespace tarnwipe::paths
