// The program's message boxes: no owner, no icon, one OK button, kept in
// front of every window of the program until acknowledged.
#pragma once

#include <string>

namespace skyplate {

// The caption of a message that brings none of its own.
inline constexpr char kDefaultMessageCaption[] = "Skyplate";

void ShowPlainMessage(const std::string& text, const std::string& caption);

}  // namespace skyplate
