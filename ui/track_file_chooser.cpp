#include "ui/track_file_chooser.h"

#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "settings/registry_store_win32.h"
#include "settings/track_folder.h"

namespace skyplate {
namespace {

constexpr char kTrackFileFilter[] = "Track Files (*.track)|*.track|All Files (*.*)|*.*";
// The dialog adds a dot and this to a name typed without an extension; a
// pattern such as "*.track" here would be added as it stands.
constexpr char kTrackDefaultExtension[] = "track";

// Room for a long path, or for many names should the dialog ever allow a
// multiple selection.
constexpr std::size_t kFileNameBufferSize = 16383;
constexpr std::size_t kFolderAndTitleBufferSize = MAX_PATH;
constexpr std::size_t kDefaultExtensionBufferSize = 10;

// The structure must match what the platform's comdlg32 knows: systems before
// Windows 2000 reject the form with the three trailing fields.
static_assert(sizeof(void*) != 4 ||
              (sizeof(OPENFILENAMEA) == 88 && offsetof(OPENFILENAMEA, pvReserved) == 76));

// The dialog takes description/pattern pairs as zero-separated strings ending
// in an empty one; c_str() supplies the final zero byte.
std::string FilterList(const std::string& filter) {
  std::string list = filter;
  std::replace(list.begin(), list.end(), '|', '\0');
  list.push_back('\0');
  return list;
}

// A zero-filled buffer of `size` bytes starting with `text` cut to fit.
std::vector<char> BufferHolding(const std::string& text, std::size_t size) {
  std::vector<char> buffer(size, '\0');
  std::copy_n(text.begin(), std::min(text.size(), size - 1), buffer.begin());
  return buffer;
}

std::string CurrentDirectory() {
  std::vector<char> buffer(kFolderAndTitleBufferSize, '\0');
  const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  return length < buffer.size() ? std::string(buffer.data(), length) : std::string();
}

// 0 when the version cannot be read; the dialog then refuses to open and the
// caller sees a cancel.
DWORD OpenFileNameSize() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return 0;
  const bool windows_2000_or_later =
      version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion > 4;
  return windows_2000_or_later ? sizeof(OPENFILENAMEA) : OPENFILENAME_SIZE_VERSION_400A;
}

// n / 2 to the nearest integer, a half going to the even neighbour.
int HalfRoundedToEven(LONG n) {
  return static_cast<int>(std::nearbyint(n / 2.0));
}

}  // namespace

std::string ChooseTrackFile(HWND owner) {
  std::string file_name;
  ShowOpenFileDialog(owner, "Select Track File", &file_name,
                     TrackFolderForChooser(UserSettingStore()), kTrackFileFilter,
                     kTrackDefaultExtension, 0, true);
  return file_name;
}

BOOL ShowOpenFileDialog(HWND owner, const std::string& title, std::string* file_name,
                        const std::string& initial_folder, const std::string& filter,
                        const std::string& default_extension, DWORD flags, bool hook) {
  const std::string filter_list = FilterList(filter);
  std::vector<char> file = BufferHolding(*file_name, kFileNameBufferSize);
  std::vector<char> file_title(kFolderAndTitleBufferSize, '\0');
  std::vector<char> folder = BufferHolding(
      initial_folder.empty() ? CurrentDirectory() : initial_folder, kFolderAndTitleBufferSize);
  std::vector<char> title_text = BufferHolding(title, kFolderAndTitleBufferSize);
  std::vector<char> extension = BufferHolding(default_extension, kDefaultExtensionBufferSize);

  OPENFILENAMEA dialog{};
  dialog.lStructSize = OpenFileNameSize();
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter_list.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrFileTitle = file_title.data();
  dialog.nMaxFileTitle = static_cast<DWORD>(file_title.size());
  dialog.lpstrInitialDir = folder.data();
  dialog.lpstrTitle = title.empty() ? nullptr : title_text.data();
  dialog.lpstrDefExt = extension.data();
  if (hook) {
    dialog.Flags = (flags == 0 ? OFN_EXPLORER | OFN_ENABLESIZING : flags) | OFN_ENABLEHOOK;
    dialog.lpfnHook = CenterOnDesktopHook;
  } else {
    dialog.Flags = flags;
  }

  const BOOL chosen = GetOpenFileNameA(&dialog);
  const auto last = std::find_if(file.rbegin(), file.rend(), [](char c) { return c != '\0'; });
  file_name->assign(file.begin(), last.base());
  return chosen;
}

UINT_PTR CALLBACK CenterOnDesktopHook(HWND child, UINT message, WPARAM, LPARAM lparam) {
  if (message != WM_NOTIFY || reinterpret_cast<const NMHDR*>(lparam)->code != CDN_INITDONE) {
    return 0;
  }
  // The hook belongs to a child of the explorer-style dialog; the frame is
  // its parent.
  HWND frame = GetParent(child);
  RECT desktop{};
  RECT dialog{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetWindowRect(frame, &dialog);
  const int x = HalfRoundedToEven(desktop.left + desktop.right - dialog.right + dialog.left);
  const int y = HalfRoundedToEven(desktop.top + desktop.bottom - dialog.bottom + dialog.top);
  SetWindowPos(frame, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  return 1;
}

}  // namespace skyplate
