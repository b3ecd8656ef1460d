#include "forms/layout.h"

#include <cctype>
#include <cmath>
#include <string>
#include <string_view>

#include "forms/form_data.h"
#include "forms/leading_number.h"

namespace skyplate {
namespace {

constexpr std::size_t kShortestLayoutCode = 7;  // "S,S,S,S"

float ShareOfChange(std::string_view rest) {
  if (rest == "L" || rest == "T") return 0;
  if (rest == "R" || rest == "B") return 100;
  return static_cast<float>(LeadingNumber(rest));
}

float ApplyField(std::string_view field, float edge, float oldExtent, float newExtent) {
  if (field.starts_with('S')) {
    // A parent recorded with no extent gives nothing to scale by: keep the edge.
    return oldExtent == 0 ? edge : newExtent / oldExtent * edge;
  }
  if (field.starts_with('F')) {
    const float share = ShareOfChange(field.substr(1)) / 100;
    return edge - share * oldExtent + share * newExtent;
  }
  return 0;
}

BOOL CALLBACK CaptureLayout(HWND child, LPARAM) {
  FormData* data = GetFormData(child);
  if (data && !data->LayoutCaptured) {
    HWND parent = GetParent(child);
    GetClientRect(parent, &data->ParentClientRect);
    GetWindowRect(child, &data->InitialRect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&data->InitialRect), 2);
    data->LayoutCaptured = 1;
  }
  return TRUE;
}

int Round(float value) {
  return static_cast<int>(std::nearbyint(value));
}

BOOL CALLBACK ApplyLayout(HWND child, LPARAM) {
  const FormData* data = GetFormData(child);
  if (!data || !data->LayoutCaptured) return TRUE;
  if (std::string_view(data->LayoutCode).size() < kShortestLayoutCode) return TRUE;
  RECT client = {};
  GetClientRect(GetParent(child), &client);
  const LayoutRect r =
      ApplyLayoutCode(data->LayoutCode, data->InitialRect, data->ParentClientRect.right,
                      data->ParentClientRect.bottom, client.right, client.bottom);
  SetWindowPos(child, nullptr, Round(r.left), Round(r.top), Round(r.right - r.left),
               Round(r.bottom - r.top), SWP_NOZORDER);
  return TRUE;
}

}  // namespace

LayoutRect ApplyLayoutCode(const char* code, const RECT& initial, int oldWidth, int oldHeight,
                           int newWidth, int newHeight) {
  std::string upper = code ? code : "";
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string_view rest = upper;
  std::string_view fields[4];
  for (std::string_view& field : fields) {
    const std::size_t comma = rest.find(',');
    field = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  const float oldW = static_cast<float>(oldWidth), newW = static_cast<float>(newWidth);
  const float oldH = static_cast<float>(oldHeight), newH = static_cast<float>(newHeight);
  return {ApplyField(fields[0], static_cast<float>(initial.left), oldW, newW),
          ApplyField(fields[1], static_cast<float>(initial.top), oldH, newH),
          ApplyField(fields[2], static_cast<float>(initial.right), oldW, newW),
          ApplyField(fields[3], static_cast<float>(initial.bottom), oldH, newH)};
}

void LayoutFormControls(HWND form, WPARAM sizeType) {
  EnumChildWindows(form, CaptureLayout, 0);
  if (sizeType != SIZE_MINIMIZED) EnumChildWindows(form, ApplyLayout, 0);
}

}  // namespace skyplate
