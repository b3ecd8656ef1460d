#include <windows.h>

#include "cli/interrupt.h"

namespace skyplate {
namespace {

// What the system's own handler ends a process with on Ctrl-C; Ctrl-Break and
// a closed console end it with the same, so scripts see one code.
constexpr UINT kInterruptedExit = 0xC000013A;

BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      // Every temporary file is marked for deletion when its handle closes,
      // and ending the process closes them all. Ended outright, with no exit
      // handlers: the build's threads may be holding any lock at this moment.
      TerminateProcess(GetCurrentProcess(), kInterruptedExit);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void RemoveTemporaryFilesOnInterrupt() {
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

}  // namespace skyplate
