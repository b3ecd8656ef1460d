// The system's own words for the calling thread's last error.
#pragma once

#include <string>

namespace skyplate {

// FormatMessage's text for GetLastError(), without its closing full stop
// and line break.
std::string LastErrorText();

}  // namespace skyplate
