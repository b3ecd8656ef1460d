#include "ui/main_window.h"

#include <string>

#include "forms/forms.h"
#include "topdown/build_topdown.h"
#include "ui/about_help.h"
#include "ui/gui_front_end.h"
#include "ui/options_window.h"
#include "ui/plain_message_box.h"
#include "ui/program_values.h"
#include "ui/track_file_chooser.h"

namespace skyplate {

HWND MainWindow = nullptr;
HWND PathEdit = nullptr;
HWND BrowseButton = nullptr;
HWND BuildButton = nullptr;
HWND StatusLine = nullptr;
HMENU MainMenu = nullptr;

namespace {

constexpr char kControlFont[] = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
constexpr DWORD kButtonStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY | BS_CENTER | BS_VCENTER;

const ControlTemplate kPathEditTemplate{WS_EX_CLIENTEDGE,
                                        "Edit",
                                        "",
                                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                        20,
                                        12,
                                        632,
                                        28,
                                        kPathEditId};
const ControlTemplate kBrowseTemplate{0,  "Button", ". . .", kButtonStyle,   660,
                                      12, 39,       29,      kBrowseButtonId};
const ControlTemplate kBuildTemplate{0,  "Button", "&Skyplate", kButtonStyle,  264,
                                     52, 192,      29,          kBuildButtonId};
// One pixel wider and two taller than the client area: its sunken edge is
// clipped away on the right and at the bottom.
const ControlTemplate kStatusTemplate{0,
                                      "Static",
                                      "",
                                      WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CLIPSIBLINGS |
                                          WS_CLIPCHILDREN | SS_LEFT | SS_NOTIFY | SS_SUNKEN,
                                      0,
                                      94,
                                      720,
                                      24,
                                      kStatusLineId};

ControlAttachment ColouredAttachment(int background) {
  ControlAttachment attachment;
  attachment.fontSpec = kControlFont;
  attachment.customColors = true;
  attachment.textIsSysColor = true;
  attachment.textColor = COLOR_WINDOWTEXT;
  attachment.backIsSysColor = true;
  attachment.backColor = background;
  attachment.brush = GetSysColorBrush(background);
  return attachment;
}

ControlAttachment ButtonAttachment() {
  ControlAttachment attachment;
  attachment.fontSpec = kControlFont;
  return attachment;
}

void CreateMainControls(HWND form) {
  MainMenu = LoadMenuA(Startup.instance, "FORM1_TOPMENU");
  SetMenu(form, MainMenu);
  DrawMenuBar(form);
  SetClientSize(form, kMainClientWidth, kMainClientHeight);

  PathEdit = CreateFormControl(form, kPathEditTemplate, ColouredAttachment(COLOR_WINDOW));
  SendMessageA(PathEdit, EM_LIMITTEXT, 0, 0);
  SendMessageA(PathEdit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  BrowseButton = CreateFormControl(form, kBrowseTemplate, ButtonAttachment());
  BuildButton = CreateFormControl(form, kBuildTemplate, ButtonAttachment());
  StatusLine = CreateFormControl(form, kStatusTemplate, ColouredAttachment(COLOR_BTNFACE));
  SetFocus(PathEdit);
}

LRESULT PostStartupBuild(HWND form, LPARAM) {
  if (!Startup.argument_text.empty()) PostMessageA(form, kStartupBuildMessage, 0, 0);
  return 0;
}

void Build(const std::string& track_path_text, std::int32_t close_on_error) {
  GuiFrontEnd front_end;
  BuildTopdown(track_path_text, close_on_error, &front_end);
}

void Browse() {
  const std::string chosen = ChooseTrackFile(MainWindow);
  if (chosen.empty()) {
    SetControlText(StatusLine, "Canceled");
  } else {
    SetControlText(PathEdit, chosen.c_str());
  }
}

LRESULT DispatchMenuCommand(HWND form, LPARAM, int, int id) {
  switch (id) {
    case IDM_FILE_OPEN:
      Browse();
      break;
    case IDM_FILE_EXIT:
      CloseForm(form, 0);
      break;
    case IDM_OPTIONS_DEFAULTS:
      ShowOptionsWindow(form);
      break;
    case IDM_HELP_HELP:
      OpenHelpPage(Startup.program_folder);
      break;
    case IDM_HELP_ABOUT:
      ShowAboutBox(kFileVersion.major, kFileVersion.minor);
      break;
  }
  return 0;
}

LRESULT OnBuildClicked(int, HWND, LPARAM, int) {
  const std::string path = GetControlText(PathEdit);
  if (path.empty()) {
    ShowPlainMessage("Please enter a filename.", kProgramName);
  } else {
    Build(path, 0);
  }
  return 0;
}

LRESULT OnBrowseClicked(int, HWND, LPARAM, int) {
  Browse();
  return 0;
}

LRESULT OnMainMessage(HWND form, UINT message, WPARAM, LPARAM) {
  if (message == kStartupBuildMessage) {
    ShowControl(form, SW_SHOWNORMAL);
    Build(Startup.argument_text, 1);
  }
  return 0;
}

void EndProgram(HWND) {
  PostQuitMessage(0);
}

const FormCommand kMainCommands[] = {
    {kBuildButtonId, BN_CLICKED, OnBuildClicked},
    {kBrowseButtonId, BN_CLICKED, OnBrowseClicked},
};

}  // namespace

const FormDescription kMainForm = {
    .programName = kProgramName,
    .formName = "FORM1",
    .caption = kProgramName,
    .style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU,
    .exStyle = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE,
    .width = 725,
    .height = 163,
    .iconName = "IMAGE_TOPDOWN",
    .handle = &MainWindow,
    .createControls = CreateMainControls,
    .onLoad = PostStartupBuild,
    .onCommand = DispatchMenuCommand,
    .commands = kMainCommands,
    .onMessage = OnMainMessage,
    .onDestroy = EndProgram,
};

}  // namespace skyplate
