// A program beside the test executable, started as a user starts it, and
// ended when the test is done with it.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace skyplate {

class StartedProgram {
 public:
  // `arguments` follow the quoted program path directly: start them with a
  // blank. With `output`, an inheritable handle, stdout and stderr go there.
  StartedProgram(const std::string& program_name, const std::string& arguments,
                 DWORD creation_flags = 0, HANDLE output = nullptr) {
    char test_path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, test_path, sizeof test_path);
    const std::string program =
        std::filesystem::path(test_path).replace_filename(program_name).string();
    std::string command_line = "\"" + program + "\"" + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (output != nullptr) {
      startup.dwFlags = STARTF_USESTDHANDLES;
      startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
      startup.hStdOutput = output;
      startup.hStdError = output;
    }
    started_ =
        CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, output != nullptr,
                       creation_flags, nullptr, nullptr, &startup, &process_) != FALSE;
  }
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;
  ~StartedProgram() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 99);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }

  bool started() const { return started_; }
  DWORD id() const { return process_.dwProcessId; }
  HANDLE process() const { return process_.hProcess; }
  // The exit code, or STILL_ACTIVE when the program did not end in time.
  DWORD ExitCode(DWORD milliseconds = 20000) const {
    WaitForSingleObject(process_.hProcess, milliseconds);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }

 private:
  bool started_ = false;
  PROCESS_INFORMATION process_{};
};

// Console events go to the processes of one console. A console of the test's
// own, shared with the programs it starts: a test runner's may hold other
// tests too, and one that Wine gives a process without a terminal takes no
// events. False when none could be had.
inline bool OwnConsole() {
  static const bool owned = (FreeConsole(), AllocConsole() != FALSE);
  return owned;
}

// A console handler for the test itself: Ctrl-C goes to every process of the
// console, the test included.
inline BOOL WINAPI IgnoreCtrlC(DWORD event) {
  return event == CTRL_C_EVENT ? TRUE : FALSE;
}

}  // namespace skyplate
