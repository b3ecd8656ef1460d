// The temporary files being written at this moment, so that a process ended
// by a signal can remove them on its way out. POSIX only: on Windows the
// system deletes an uncommitted temporary file itself when its handle closes.
#pragma once

namespace skyplate {

// Temporary files that can be in the making at once and still be removed on
// an interrupt: two per build and a few builds at a time is the most the
// program needs. A file beyond them is written all the same, unprotected.
constexpr int kLiveTemporarySlots = 64;

// Enters the file `path`, which must stay valid and unchanged until it is
// left. Returns the slot to leave, or -1 when every slot is taken.
int EnterTemporaryFile(const char* path);
// Called once the file is renamed into place or removed, before `path` is
// freed. A slot of -1 is ignored.
void LeaveTemporaryFile(int slot);
// Removes every entered file with unlink() alone, so a signal handler may call
// it. From then on LeaveTemporaryFile waits for the process to end instead of
// returning: no path may be freed while the handler reads it.
void RemoveLiveTemporaryFiles();

}  // namespace skyplate
