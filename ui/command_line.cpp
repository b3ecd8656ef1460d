#include "ui/command_line.h"

namespace skyplate {
namespace {

constexpr char kBlank = ' ';
constexpr char kQuote = '"';

std::string_view SkipBlanks(std::string_view text) {
  const std::size_t start = text.find_first_not_of(kBlank);
  return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

}  // namespace

std::string ArgumentTextFrom(std::string_view command_line) {
  std::string_view rest = SkipBlanks(command_line);
  if (!rest.empty() && rest.front() == kQuote) {
    const std::size_t closing = rest.find(kQuote, 1);
    if (closing == std::string_view::npos) return {};
    rest.remove_prefix(closing + 1);
  } else {
    // The name ends at the first blank or control character.
    std::size_t end = 0;
    while (end < rest.size() && static_cast<unsigned char>(rest[end]) > 32) ++end;
    rest.remove_prefix(end);
  }
  return std::string(SkipBlanks(rest));
}

std::string ProgramFolderOf(std::string_view program_path) {
  const std::size_t last = program_path.find_last_of(":/\\");
  return last == std::string_view::npos ? std::string()
                                        : std::string(program_path.substr(0, last + 1));
}

}  // namespace skyplate
