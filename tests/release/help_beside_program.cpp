// Starts Skyplate.exe from an unpacked release folder, chooses Help, Help and
// checks that the shell was asked to open the help page beside the program.
// The test makes itself the handler of .html pages meanwhile, so it sees the
// page the shell opens without any viewer. Wine keeps the file classes under
// HKEY_CLASSES_ROOT alone: it does not look at the current user's.
//   help_beside_program FOLDER                 exit 0 when FOLDER\Skyplate.html opened
//   help_beside_program --record MARKER PAGE   the handler: writes PAGE into MARKER
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "resources/resource.h"
#include "tests/ui/ui_test_support.h"

namespace {

constexpr char kPageClass[] = "SkyplateReleaseTest.Page";
constexpr char kHtmlExtension[] = ".html";

bool SetDefaultValue(const std::string& key, const std::string& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &handle, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG result =
      RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
  return result == ERROR_SUCCESS;
}

// The default value of a key of HKEY_CLASSES_ROOT, if it has one.
bool ReadDefaultValue(const char* key, std::string* value) {
  char text[256] = "";
  DWORD size = sizeof text;
  if (RegGetValueA(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  *value = text;
  return true;
}

// Takes over .html while it lives, then gives it back to whatever had it.
class PageHandler {
 public:
  PageHandler(const std::string& self, const std::string& marker) {
    had_handler_ = ReadDefaultValue(kHtmlExtension, &old_handler_);
    registered_ = SetDefaultValue(kHtmlExtension, "SkyplateReleaseTest.Page") &&
                  SetDefaultValue(std::string(kPageClass) + "\\shell\\open\\command",
                                  "\"" + self + "\" --record \"" + marker + "\" \"%1\"");
  }
  ~PageHandler() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kPageClass);
    if (had_handler_) {
      SetDefaultValue(kHtmlExtension, old_handler_);
    } else {
      RegDeleteTreeA(HKEY_CLASSES_ROOT, kHtmlExtension);
    }
  }
  bool registered() const { return registered_; }

 private:
  bool had_handler_ = false;
  std::string old_handler_;
  bool registered_ = false;
};

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Lower(std::string text) {
  CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

int Fail(const std::string& why) {
  std::fprintf(stderr, "help_beside_program: %s\n", why.c_str());
  return 1;
}

int CheckHelpBeside(const std::string& folder) {
  char self[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, self, sizeof self);
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  char marker[MAX_PATH] = "";
  if (GetTempFileNameA(temp, "hlp", 0, marker) == 0) return Fail("no temporary file");
  DeleteFileA(marker);

  PageHandler handler(self, marker);
  if (!handler.registered()) return Fail("cannot register the .html handler");

  const std::string program = folder + "\\Skyplate.exe";
  std::string command_line = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // Started from the temporary folder, so that only the program's own folder
  // can hold the page it finds.
  if (!CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      temp, &startup, &process)) {
    return Fail("cannot start " + program);
  }
  HWND window = nullptr;
  const bool shown = skyplate::WaitUntil([&] {
    return (window = skyplate::FindTopLevelWindow(process.dwProcessId,
                                                  "FORM_SKYPLATE_FORM1_CLASS")) != nullptr;
  });
  std::string opened;
  if (shown) {
    PostMessageA(window, WM_COMMAND, IDM_HELP_HELP, 0);
    skyplate::WaitUntil([&] { return !(opened = FileText(marker)).empty(); }, 20000);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  DWORD exit_code = STILL_ACTIVE;
  if (WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &exit_code);
  } else {
    TerminateProcess(process.hProcess, 99);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  DeleteFileA(marker);

  if (!shown) return Fail("no main window");
  char expected[MAX_PATH] = "";
  GetFullPathNameA((folder + "\\Skyplate.html").c_str(), sizeof expected, expected, nullptr);
  std::printf("opened: %s\n", opened.c_str());
  if (Lower(opened) != Lower(expected)) return Fail(std::string("wanted ") + expected);
  if (exit_code != 0) return Fail("exit code " + std::to_string(exit_code));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--record") {
    std::ofstream(argv[2], std::ios::binary) << argv[3];
    return 0;
  }
  if (argc != 2) return Fail("usage: help_beside_program FOLDER");
  return CheckHelpBeside(argv[1]);
}
