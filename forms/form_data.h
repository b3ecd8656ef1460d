// The per-window data block of the form runtime, one per form and per attached
// control, hung on the window as the property "FLY_PTR".
#pragma once

#include <windows.h>

namespace skyplate {

inline constexpr char kFormDataProperty[] = "FLY_PTR";
inline constexpr int kLayoutCodeSize = 30;  // 29 characters and the zero byte

struct FormData {
  WNDPROC PrevWndProc;  // control: the procedure the subclass procedure replaced
  HWND Hwnd;            // control: the control itself
  HWND ModalOwner;      // form: the window disabled while the form is modal
  int IsForm;
  int IsModal;
  HFONT Font;  // shared through the font cache, never deleted here
  HACCEL AccelTable;
  UINT_PTR TimerId;
  int Index;       // control: handed to the form's command handlers
  HWND LastFocus;  // form: the control that last received the focus
  int SelectOnFocus;
  int CustomColors;
  int TextIsSysColor;
  int BackIsSysColor;
  HBRUSH BackBrush;
  COLORREF TextColor;  // RGB, or a system colour index when TextIsSysColor
  COLORREF BackColor;  // RGB, or a system colour index when BackIsSysColor
  int LayoutCaptured;
  RECT ParentClientRect;
  RECT InitialRect;
  char LayoutCode[kLayoutCodeSize];
  // Only brushes the runtime made itself are deleted: a brush handed in by
  // the caller may be shared with other windows, and system brushes are not
  // ours at all.
  int OwnsBackBrush;
};

// A zero-filled block from the process heap, or nullptr.
FormData* AllocateFormData();
void FreeFormData(FormData* data);

// The window's block, or nullptr when the runtime has not attached one.
FormData* GetFormData(HWND window);

// Replaces BackBrush, deleting the previous one when the runtime made it.
void ReplaceBackBrush(FormData& data, HBRUSH brush, bool owned);

// Frees everything the block owns, the block itself, and removes the
// "FLY_PTR" property.
void ReleaseFormData(HWND window, FormData* data);

}  // namespace skyplate
