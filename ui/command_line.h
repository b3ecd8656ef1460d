// Reading the program's start-up information.
#pragma once

#include <string>
#include <string_view>

namespace skyplate {

// The text after the program's own name on a command line, and after the
// blanks that follow the name: quotes, inner and trailing blanks stay. An
// opening quote that is never closed leaves nothing.
std::string ArgumentTextFrom(std::string_view command_line);

// The folder of a program file: the path up to and including its last ':',
// '/' or '\'; empty when it has none.
std::string ProgramFolderOf(std::string_view program_path);

}  // namespace skyplate
