// The system's own words for why the last file call failed.
#pragma once

#include <string>

namespace skyplate {

// strerror(errno) on POSIX, FormatMessage(GetLastError()) on Windows, without
// a trailing full stop or line break, so that it ends a message of ours.
std::string LastSystemError();

}  // namespace skyplate
