// The program's start-up: gathers the process-wide values, shows the main
// window and runs it until it is gone.
#pragma once

namespace skyplate {

// Returns the process's exit code, 0 whichever way the main window closed.
int RunProgram();

}  // namespace skyplate
