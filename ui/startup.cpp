#include "ui/startup.h"

#include <windows.h>
// The common controls header needs windows.h first.
#include <commctrl.h>

#include <string>

#include "forms/form_state.h"
#include "forms/show_form.h"
#include "ui/command_line.h"
#include "ui/main_window.h"
#include "ui/multi_line_edit_keys.h"
#include "ui/program_values.h"

namespace skyplate {
namespace {

// Every class the common controls library offers.
constexpr DWORD kAllCommonControlClasses = 0x7FFF;

std::string LoadRichEditLibrary() {
  if (LoadLibraryA("RICHED20.Dll") != nullptr) return "RICHEDIT20A";
  if (LoadLibraryA("RICHED32.Dll") != nullptr) return "RICHEDIT";
  return "";
}

std::string RunningProgramPath() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(Startup.instance, path, sizeof(path));
  return path;
}

void FilterModalMessage(MSG* message) {
  RewriteMultiLineEditKeys(message, Startup.rich_edit_class);
}

}  // namespace

int RunProgram() {
  Startup.argument_text = ArgumentTextFrom(GetCommandLineA());
  Startup.instance = GetModuleHandleA(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof(controls), kAllCommonControlClasses};
  InitCommonControlsEx(&controls);
  Startup.rich_edit_class = LoadRichEditLibrary();
  Startup.program_folder = ProgramFolderOf(RunningProgramPath());
  ModalMessageFilter = FilterModalMessage;
  // Whatever show state the starting program asked for, the main window
  // opens normally.
  ShowForm(kMainForm, nullptr, 1, 0);
  return 0;
}

}  // namespace skyplate
