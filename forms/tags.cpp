#include "forms/tags.h"

#include <cstring>
#include <initializer_list>

namespace skyplate {
namespace {

void FreeTagProperty(HWND window, const char* property) {
  if (void* block = GetPropA(window, property)) HeapFree(GetProcessHeap(), 0, block);
}

void ReplaceTag(HWND window, const char* property, const char* text) {
  if (!IsWindow(window)) return;
  FreeTagProperty(window, property);
  if (!text) text = "";
  const std::size_t length = std::strlen(text);
  void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, length + 1);
  if (block) std::memcpy(block, text, length);
  // Also when the allocation failed: the property must not keep the freed block.
  SetPropA(window, property, block);
}

}  // namespace

void SetTag(HWND window, const char* text) {
  ReplaceTag(window, kTagProperty, text);
}
void SetTag2(HWND window, const char* text) {
  ReplaceTag(window, kTag2Property, text);
}

void ReleaseTags(HWND window) {
  for (const char* property : {kTagProperty, kTag2Property}) {
    FreeTagProperty(window, property);
    RemovePropA(window, property);
  }
}

}  // namespace skyplate
