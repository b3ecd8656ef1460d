// Drives the real Windows programs, as a user starts them, and times them
// from outside; run under Wine by bench/gui_run.sh.
//   gui-driver build RUNS PROGRAM TRACK [PROGRAM TRACK]...
//     Builds each track with its program RUNS times, the pairs taken in turn
//     so that all see the same machine. Skyplate.exe counts until its status
//     line says "All Done", any other program until it ends. One line a pair:
//     the median seconds, the largest peak pagefile and working set in MiB,
//     and "built" or the text of the message box the GUI showed.
//   gui-driver startup RUNS PROGRAM
//     Starts the program without arguments RUNS times: the median seconds
//     until WaitForInputIdle returns and until its main window is visible.
#include <windows.h>
// GetProcessMemoryInfo needs windows.h first.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr char kMainClass[] = "FORM_SKYPLATE_FORM1_CLASS";
constexpr int kStatusLineId = 1003;
constexpr int kFileExitId = 6003;
constexpr char kAllDone[] = "All Done";
constexpr DWORD kLongestBuildMs = 600000;

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / frequency;
}

std::string WindowText(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

struct WindowQuery {
  DWORD process_id;
  const char* class_name;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  auto& query = *reinterpret_cast<WindowQuery*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (owner != query.process_id || std::string(name) != query.class_name) return TRUE;
  query.found = window;
  return FALSE;
}

HWND FindProcessWindow(DWORD process_id, const char* class_name) {
  WindowQuery query{process_id, class_name};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

bool IsGui(const std::string& program) {
  const std::size_t slash = program.find_last_of("\\/");
  const std::string name = program.substr(slash == std::string::npos ? 0 : slash + 1);
  return _stricmp(name.c_str(), "Skyplate.exe") == 0;
}

class Started {
 public:
  Started(const std::string& program, const std::string& arguments) {
    std::string command_line = "\"" + program + "\"" + arguments;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    null_ =
        CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = null_;
    startup.hStdError = null_;
    started_ = CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0,
                              nullptr, nullptr, &startup, &process_) != FALSE;
  }
  ~Started() {
    if (started_) {
      if (WaitForSingleObject(process_.hProcess, 20000) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 99);
      }
      CloseHandle(process_.hThread);
      CloseHandle(process_.hProcess);
    }
    CloseHandle(null_);
  }
  bool started() const { return started_; }
  DWORD id() const { return process_.dwProcessId; }
  HANDLE process() const { return process_.hProcess; }

 private:
  HANDLE null_ = INVALID_HANDLE_VALUE;
  bool started_ = false;
  PROCESS_INFORMATION process_{};
};

struct Measured {
  double seconds = 0;
  double peak_pagefile_mib = 0;
  double peak_working_set_mib = 0;
  std::string outcome = "built";
};

void ReadMemory(HANDLE process, Measured* measured) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return;
  measured->peak_pagefile_mib = counters.PeakPagefileUsage / 1048576.0;
  measured->peak_working_set_mib = counters.PeakWorkingSetSize / 1048576.0;
}

// The GUI's message box, answered; its text is the outcome.
bool AnswerMessageBox(DWORD process_id, Measured* measured) {
  HWND box = FindProcessWindow(process_id, "#32770");
  if (box == nullptr) return false;
  HWND text = nullptr;
  for (int i = 0;
       i < 2000 && ((text = GetDlgItem(box, 0xFFFF)) == nullptr || WindowText(text).empty()); ++i) {
    Sleep(1);
  }
  measured->outcome = text != nullptr ? WindowText(text) : "a message box";
  std::replace(measured->outcome.begin(), measured->outcome.end(), '\n', ' ');
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  return true;
}

Measured BuildWithGui(const std::string& program, const std::string& track) {
  Measured measured;
  const double start = Now();
  Started run(program, " \"" + track + "\"");
  if (!run.started()) return {0, 0, 0, "not started"};
  HWND window = nullptr;
  bool answered = false;
  for (;;) {
    if (window == nullptr) window = FindProcessWindow(run.id(), kMainClass);
    if (window != nullptr && WindowText(GetDlgItem(window, kStatusLineId)) == kAllDone) break;
    if (!answered) answered = AnswerMessageBox(run.id(), &measured);
    if (WaitForSingleObject(run.process(), 0) != WAIT_TIMEOUT) return {0, 0, 0, "ended early"};
    if (Now() - start > kLongestBuildMs / 1000.0) return {0, 0, 0, "timed out"};
    Sleep(1);
  }
  measured.seconds = Now() - start;
  ReadMemory(run.process(), &measured);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(kFileExitId, 0), 0);
  return measured;
}

Measured BuildWithCli(const std::string& program, const std::string& track) {
  Measured measured;
  const double start = Now();
  Started run(program, " \"" + track + "\"");
  if (!run.started()) return {0, 0, 0, "not started"};
  WaitForSingleObject(run.process(), kLongestBuildMs);
  measured.seconds = Now() - start;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(run.process(), &code);
  if (code != 0) measured.outcome = "exit status " + std::to_string(code);
  ReadMemory(run.process(), &measured);
  return measured;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

int Build(int runs, const std::vector<std::string>& pairs) {
  const std::size_t count = pairs.size() / 2;
  std::vector<std::vector<Measured>> results(count);
  for (int r = 0; r < runs; ++r) {
    for (std::size_t i = 0; i < count; ++i) {
      const std::string& program = pairs[2 * i];
      const std::string& track = pairs[2 * i + 1];
      results[i].push_back(IsGui(program) ? BuildWithGui(program, track)
                                          : BuildWithCli(program, track));
    }
  }
  for (const auto& runs_of_one : results) {
    std::vector<double> seconds;
    double pagefile = 0, working_set = 0;
    std::string outcome = "built";
    for (const Measured& m : runs_of_one) {
      seconds.push_back(m.seconds);
      pagefile = std::max(pagefile, m.peak_pagefile_mib);
      working_set = std::max(working_set, m.peak_working_set_mib);
      if (m.outcome != "built") outcome = m.outcome;
    }
    std::printf("%.3f %.1f %.1f %s\n", Median(seconds), pagefile, working_set, outcome.c_str());
  }
  return 0;
}

int Startup(int runs, const std::string& program) {
  std::vector<double> idle, shown;
  for (int r = 0; r < runs; ++r) {
    const double start = Now();
    Started run(program, "");
    if (!run.started()) return 1;
    WaitForInputIdle(run.process(), 20000);
    idle.push_back(Now() - start);
    HWND window = nullptr;
    while ((window = FindProcessWindow(run.id(), kMainClass)) == nullptr ||
           !IsWindowVisible(window)) {
      if (Now() - start > 20) return 1;
      Sleep(1);
    }
    shown.push_back(Now() - start);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(kFileExitId, 0), 0);
  }
  std::printf("%.3f %.3f\n", Median(idle), Median(shown));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const int runs = argc > 2 ? std::atoi(argv[2]) : 0;
  if (mode == "build" && runs > 0 && argc >= 5 && (argc - 3) % 2 == 0) {
    return Build(runs, std::vector<std::string>(argv + 3, argv + argc));
  }
  if (mode == "startup" && runs > 0 && argc == 4) return Startup(runs, argv[3]);
  std::fprintf(stderr,
               "usage: gui-driver build RUNS PROGRAM TRACK [PROGRAM TRACK]...\n"
               "       gui-driver startup RUNS PROGRAM\n");
  return 2;
}
