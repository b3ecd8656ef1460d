#include <signal.h>

#include "cli/interrupt.h"
#include "topdown/live_temporary_files.h"

namespace skyplate {
namespace {

// SIGPIPE too: a reader of the report that went away ends the tool as the
// shell expects, and nothing half-written stays behind.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

extern "C" void OnEndingSignal(int signal_number) {
  RemoveLiveTemporaryFiles();
  // Ended by the signal itself, the process reports it to its parent as the
  // cause, which a shell turns into the status 128 + the signal's number.
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signal_number, &fallback, nullptr);
  raise(signal_number);
}

}  // namespace

void RemoveTemporaryFilesOnInterrupt() {
  struct sigaction handler {};
  handler.sa_handler = OnEndingSignal;
  sigemptyset(&handler.sa_mask);
  for (int signal_number : kEndingSignals) sigaddset(&handler.sa_mask, signal_number);
  for (int signal_number : kEndingSignals) {
    struct sigaction before {};
    sigaction(signal_number, nullptr, &before);
    // A signal ignored from the start stays ignored, as nohup and a shell's
    // background jobs ask.
    if (before.sa_handler == SIG_IGN) continue;
    sigaction(signal_number, &handler, nullptr);
  }
}

}  // namespace skyplate
