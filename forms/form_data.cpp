#include "forms/form_data.h"

#include <new>

namespace skyplate {

FormData* AllocateFormData() {
  void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(FormData));
  return block ? new (block) FormData{} : nullptr;
}

void FreeFormData(FormData* data) {
  if (data) HeapFree(GetProcessHeap(), 0, data);
}

FormData* GetFormData(HWND window) {
  return static_cast<FormData*>(GetPropA(window, kFormDataProperty));
}

void ReplaceBackBrush(FormData& data, HBRUSH brush, bool owned) {
  if (data.BackBrush && data.OwnsBackBrush) DeleteObject(data.BackBrush);
  data.BackBrush = brush;
  data.OwnsBackBrush = owned ? 1 : 0;
}

void ReleaseFormData(HWND window, FormData* data) {
  if (!data) return;
  ReplaceBackBrush(*data, nullptr, false);
  if (data->AccelTable) DestroyAcceleratorTable(data->AccelTable);
  if (data->TimerId) KillTimer(window, data->TimerId);
  FreeFormData(data);
  RemovePropA(window, kFormDataProperty);
}

}  // namespace skyplate
