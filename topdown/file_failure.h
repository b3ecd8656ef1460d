// The one way a file named by a track is said to have failed, so that the
// terminal, the message boxes and the tests all read the same sentence.
#pragma once

#include <string>

namespace skyplate {

// "<path> <reason>" when the reason says what the file is ("is empty",
// "is a PNG file, not a BMP: ..."), "<path>: <reason>" for any other reason
// ("cannot open the file: Permission denied").
std::string FileFailureText(const std::string& path, const std::string& reason);

}  // namespace skyplate
