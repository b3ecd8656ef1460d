// What ends the command-line tool early from outside (Ctrl-C, a terminal
// hanging up, a request to stop) ends it without leaving a temporary file.
#pragma once

namespace skyplate {

// Installed once at start, before the first build.
void RemoveTemporaryFilesOnInterrupt();

}  // namespace skyplate
