#include "forms/attach_control.h"

#include <cstring>

#include "forms/font_cache.h"
#include "forms/tags.h"

namespace skyplate {
namespace {

void SetColours(FormData& data, const ControlAttachment& attachment) {
  data.CustomColors = 1;
  data.TextIsSysColor = attachment.textIsSysColor;
  data.BackIsSysColor = attachment.backIsSysColor;
  data.TextColor = attachment.textColor;
  data.BackColor = attachment.backColor;
  if (attachment.brush != kRuntimeBrush) {
    ReplaceBackBrush(data, attachment.brush, false);
  } else if (attachment.backIsSysColor) {
    ReplaceBackBrush(data, GetSysColorBrush(static_cast<int>(attachment.backColor)), false);
  } else {
    ReplaceBackBrush(data, CreateSolidBrush(attachment.backColor), true);
  }
}

}  // namespace

FormData* AttachControl(HWND control, const ControlAttachment& attachment) {
  FormData* data = AllocateFormData();
  if (!data) return nullptr;
  SetPropA(control, kFormDataProperty, data);
  if (attachment.subclass && attachment.subclassProc) {
    data->PrevWndProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(attachment.subclassProc)));
  }
  if (attachment.fontSpec) {
    data->Font = FontFromSpec(attachment.fontSpec);
    if (data->Font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(data->Font), TRUE);
  }
  data->Index = attachment.index;
  data->IsForm = 0;
  data->Hwnd = control;
  data->SelectOnFocus = attachment.selectOnFocus;
  if (attachment.layoutCode) {
    std::strncpy(data->LayoutCode, attachment.layoutCode, kLayoutCodeSize - 1);
  }
  if (attachment.customColors) SetColours(*data, attachment);
  return data;
}

HWND CreateFormControl(HWND form, const ControlTemplate& control,
                       const ControlAttachment& attachment) {
  HWND window = CreateWindowExA(control.exStyle, control.className, control.text, control.style,
                                control.x, control.y, control.width, control.height, form,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                GetModuleHandleA(nullptr), nullptr);
  if (!window) return nullptr;
  AttachControl(window, attachment);
  SetTag(window, "");
  SetTag2(window, "");
  return window;
}

}  // namespace skyplate
