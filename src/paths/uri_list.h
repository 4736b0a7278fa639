// The paths a "text/uri-list" names, as a drop from a file manager carries them.
#pragma once

#include <string>
#include <vector>

namespace tarnwipe {

// The text with its percent-escapes ("%2F") decoded to the bytes they stand for.
std::string PercentDecoded(const std::string& sText);

// The local paths of a uri-list, one per line (comments and empty lines skipped), with their
// percent-escapes decoded to the bytes they stand for, so that a name that is not valid text
// reaches the file layer byte for byte. A URI that names no local file is handed on as it is: it
// is no full path, so it is refused as not found.
std::vector<std::string> PathsOfUriList(const std::string& sUriList);

}  // namespace tarnwipe
