#include "ui/track_folder_browser.h"

#include <objbase.h>
#include <shlobj.h>

namespace skyplate {
namespace {

constexpr int kOffsetFromOwner = 30;

int CALLBACK TrackFolderBrowserCallback(HWND browser, UINT message, LPARAM lparam, LPARAM owner) {
  switch (message) {
    case BFFM_INITIALIZED: {
      RECT frame{};
      GetWindowRect(reinterpret_cast<HWND>(owner), &frame);
      SetWindowPos(browser, nullptr, frame.left + kOffsetFromOwner, frame.top + kOffsetFromOwner, 0,
                   0, SWP_NOSIZE | SWP_NOZORDER);
      SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>("C:\\"));
      break;
    }
    case BFFM_SELCHANGED: {
      const bool selected = lparam != 0;
      SendMessageA(browser, BFFM_ENABLEOK, 0, selected);
      if (!selected) MessageBeep(0);
      break;
    }
  }
  return 0;
}

}  // namespace

std::string BrowseForTrackFolder(HWND owner) {
  // The new-style browser is built from COM objects and needs the calling
  // thread in a single-threaded apartment.
  const HRESULT com = OleInitialize(nullptr);
  BROWSEINFOA browse{};
  browse.hwndOwner = owner;
  browse.lpszTitle = "Select your Track Folder for working on Dunerally tracks";
  browse.ulFlags = BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
  browse.lpfn = TrackFolderBrowserCallback;
  browse.lParam = reinterpret_cast<LPARAM>(owner);
  std::string folder;
  if (PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&browse)) {
    char path[MAX_PATH] = "";
    if (SHGetPathFromIDListA(item, path)) folder = path;
    CoTaskMemFree(item);
  }
  if (SUCCEEDED(com)) OleUninitialize();
  return folder;
}

}  // namespace skyplate
