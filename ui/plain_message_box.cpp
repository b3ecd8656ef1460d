#include "ui/plain_message_box.h"

#include <windows.h>

namespace skyplate {

void ShowPlainMessage(const std::string& text, const std::string& caption) {
  MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace skyplate
