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
  // blank.
  StartedProgram(const std::string& program_name, const std::string& arguments,
                 DWORD creation_flags = 0) {
    char test_path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, test_path, sizeof test_path);
    const std::string program =
        std::filesystem::path(test_path).replace_filename(program_name).string();
    std::string command_line = "\"" + program + "\"" + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, FALSE,
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

}  // namespace skyplate
