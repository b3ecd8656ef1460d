#include "ui/about_help.h"

#include <shellapi.h>

#include <cstdlib>

namespace skyplate {
namespace {

constexpr UINT kPlainMessageBox = MB_OK | MB_TASKMODAL | MB_SETFOREGROUND;

// Numbers in the About box keep a position for their sign, blank when not
// negative, as the box has always shown them: " 1", "-1".
std::string SignedNumberText(int number) {
  std::string text = number < 0 ? "-" : " ";
  text += std::to_string(std::llabs(number));
  return text;
}

}  // namespace

INT_PTR OpenHelpPage(const std::string& program_folder) {
  const std::string page = program_folder + "Skyplate.html";
  return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "", page.c_str(), "", "", SW_SHOWNORMAL));
}

std::string AboutBoxText(int major_version, int minor_version) {
  return "Skyplate v" + SignedNumberText(major_version) + "." + SignedNumberText(minor_version) +
         " - for Dunerally\n\nTop-down terrain pictures for track makers\n2/25/2011";
}

void ShowAboutBox(int major_version, int minor_version) {
  MessageBoxA(nullptr, AboutBoxText(major_version, minor_version).c_str(), "About - Skyplate",
              kPlainMessageBox);
}

}  // namespace skyplate
