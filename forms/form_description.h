// A form described as data: everything the runtime needs to register, create,
// show and run one window of the program. A form is a static constant of this
// type plus its handlers; ShowForm does the rest.
//
//   const FormCommand kOptionsCommands[] = {{1004, BN_CLICKED, OnOk}, ...};
//   const FormDescription kOptionsForm = {
//       .programName = "Skyplate", .formName = "FORM2",
//       .caption = "Options - Defaults", .style = 0x96CF0000, .exStyle = 0x10100,
//       .width = 567, .height = 187, .handle = &g_optionsWindow,
//       .createControls = CreateOptionsControls, .onLoad = LoadTrackFolder,
//       .commands = kOptionsCommands};
//   ShowForm(kOptionsForm, mainWindow, 1, 0);
#pragma once

#include <windows.h>

#include <span>

namespace skyplate {

// Handlers return 0 to let a message go on through the generic form window
// procedure, and anything else to end it with that result.
using FormCreateControlsFn = void (*)(HWND form);
using FormOnLoadFn = LRESULT (*)(HWND form, LPARAM creationParameter);
using FormGeneralCommandFn = LRESULT (*)(HWND form, LPARAM lParam, int notificationCode, int id);
using FormCommandFn = LRESULT (*)(int index, HWND form, LPARAM lParam, int id);
using FormMessageFn = LRESULT (*)(HWND form, UINT message, WPARAM wParam, LPARAM lParam);
using FormDestroyFn = void (*)(HWND form);

// One command handler: called for WM_COMMAND with this control id and
// notification code. index is the sending control's Index, or -1.
struct FormCommand {
  int id;
  int notificationCode;
  FormCommandFn handler;
};

struct FormDescription {
  // The window class is "FORM_" + upper-cased programName + "_" + formName +
  // "_CLASS"; the "FORM_" prefix is how FindFormWindow recognises forms.
  const char* programName = nullptr;
  const char* formName = nullptr;
  const char* caption = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  int width = 0;  // outer size; the form is centred on the screen
  int height = 0;
  // Icon resource of the program, loaded shared at 32 and 16 pixels for the
  // class; nullptr (or a resource the program lacks) gives no icon.
  const char* iconName = nullptr;
  // The program's variable for this form's window: set in WM_CREATE before
  // the controls exist, reset to 0 in WM_DESTROY. May be nullptr.
  HWND* handle = nullptr;
  // Creates and attaches the controls, in WM_CREATE (may be nullptr).
  FormCreateControlsFn createControls = nullptr;
  // Last step of WM_CREATE, given the creation parameter of ShowForm (may be
  // nullptr); a non-zero result ends WM_CREATE, -1 refuses the window.
  FormOnLoadFn onLoad = nullptr;
  // Offered every WM_COMMAND before `commands` (optional).
  FormGeneralCommandFn onCommand = nullptr;
  // Tried in order for WM_COMMAND; the first matching pair is called.
  std::span<const FormCommand> commands = {};
  // Offered every message once the command step is past (optional).
  FormMessageFn onMessage = nullptr;
  // The form's own addition to WM_DESTROY, after the runtime has freed the
  // form's data (optional; the main window ends the message loop here).
  FormDestroyFn onDestroy = nullptr;
};

}  // namespace skyplate
