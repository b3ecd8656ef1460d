#include "ui/options_window.h"

#include <string>

#include "forms/forms.h"
#include "settings/registry_store_win32.h"
#include "settings/track_folder.h"
#include "ui/track_folder_browser.h"

namespace skyplate {
namespace {

enum OptionsControlId {
  kBrowseId = 1000,
  kFolderEditId = 1001,
  kApplyId = 1002,
  kCancelId = 1003,
  kOkId = 1004,
  kLabelId = 1005,
};

constexpr char kControlFont[] = "MS Sans Serif,-11,0,0,0,400,0,0,0,0,1,2,1,34";
constexpr DWORD kButtonStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_CENTER | BS_VCENTER;
constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SS_NOTIFY;

// Creation order is the tab order; the bottom row reads Ok, Apply, Cancel
// from left to right all the same.
constexpr ControlTemplate kBrowseButton{0,  "Button", ". . .", kButtonStyle, 504,
                                        44, 41,       25,      kBrowseId};
constexpr ControlTemplate kFolderEdit{WS_EX_CLIENTEDGE, "Edit", "", kEditStyle, 12, 44, 478, 25,
                                      kFolderEditId};
constexpr ControlTemplate kApplyButton{0,  "Button", "&Apply", kButtonStyle, 380,
                                       96, 70,       31,       kApplyId};
constexpr ControlTemplate kCancelButton{0,  "Button", "&Cancel", kButtonStyle, 476,
                                        96, 70,       31,        kCancelId};
constexpr ControlTemplate kOkButton{0, "Button", "&Ok", kButtonStyle, 292, 96, 70, 31, kOkId};
constexpr ControlTemplate kLabel{0,
                                 "Static",
                                 "Tracks Folder (Place where you put all your track "
                                 "files/folders):",
                                 kLabelStyle,
                                 16,
                                 16,
                                 354,
                                 17,
                                 kLabelId};

// Window text on a background of the given system colour, both following
// the user's colour scheme.
ControlAttachment SystemColoursOn(int background) {
  return {.fontSpec = kControlFont,
          .customColors = true,
          .textIsSysColor = true,
          .backIsSysColor = true,
          .textColor = COLOR_WINDOWTEXT,
          .backColor = static_cast<COLORREF>(background)};
}

const ControlAttachment kButtonLook{.fontSpec = kControlFont};
const ControlAttachment kEditLook = SystemColoursOn(COLOR_WINDOW);
const ControlAttachment kLabelLook = SystemColoursOn(COLOR_BTNFACE);

HWND g_optionsWindow = nullptr;
HWND g_folderEdit = nullptr;

void CreateOptionsControls(HWND form) {
  HWND browse_button = CreateFormControl(form, kBrowseButton, kButtonLook);
  g_folderEdit = CreateFormControl(form, kFolderEdit, kEditLook);
  CreateFormControl(form, kApplyButton, kButtonLook);
  CreateFormControl(form, kCancelButton, kButtonLook);
  CreateFormControl(form, kOkButton, kButtonLook);
  CreateFormControl(form, kLabel, kLabelLook);
  // A folder path has no useful length limit, and the text sits flush with
  // the box's edges.
  SendMessageA(g_folderEdit, EM_LIMITTEXT, 0, 0);
  SendMessageA(g_folderEdit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
  SetFocus(browse_button);
}

LRESULT LoadTrackFolder(HWND, LPARAM) {
  SetControlText(g_folderEdit, TrackFolderForOptions(UserSettingStore()).c_str());
  return 0;
}

// False after telling the user that the folder could not be saved.
bool SaveFolderFromEditBox() {
  if (SaveTrackFolder(UserSettingStore(), GetControlText(g_folderEdit))) return true;
  MessageBoxA(nullptr, "Error saving default Track Folder", "Save Default Track Folder",
              MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
  return false;
}

LRESULT OnOk(int, HWND form, LPARAM, int) {
  if (SaveFolderFromEditBox()) CloseForm(form, 0);
  return 0;
}

LRESULT OnApply(int, HWND, LPARAM, int) {
  SaveFolderFromEditBox();
  return 0;
}

LRESULT OnCancel(int, HWND form, LPARAM, int) {
  CloseForm(form, 0);
  return 0;
}

LRESULT OnBrowse(int, HWND form, LPARAM, int) {
  SetControlText(g_folderEdit, BrowseForTrackFolder(form).c_str());
  return 0;
}

constexpr FormCommand kOptionsCommands[] = {
    {kOkId, BN_CLICKED, OnOk},
    {kApplyId, BN_CLICKED, OnApply},
    {kCancelId, BN_CLICKED, OnCancel},
    {kBrowseId, BN_CLICKED, OnBrowse},
};

const FormDescription kOptionsForm{
    .programName = "Skyplate",
    .formName = "FORM2",
    .caption = "Options - Defaults",
    .style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU |
             WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
    .exStyle = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE,
    .width = 567,
    .height = 187,
    .iconName = nullptr,
    .handle = &g_optionsWindow,
    .createControls = CreateOptionsControls,
    .onLoad = LoadTrackFolder,
    .commands = kOptionsCommands,
};

}  // namespace

void ShowOptionsWindow(HWND owner) {
  ShowForm(kOptionsForm, owner, 1, 0);
}

}  // namespace skyplate
