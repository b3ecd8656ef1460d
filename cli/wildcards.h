// Wildcards as a Unix shell expands them, for Windows, whose shells hand
// patterns to the program unexpanded. Names match and sort without regard to
// ASCII letter case, as Windows looks names up.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace skyplate {

// True when `text` holds '*' or '?', which no Windows file name can.
bool HasWildcards(std::string_view text);

// Whether `name` matches `pattern`: '*' stands for any run of characters,
// '?' for one.
bool MatchesPattern(std::string_view pattern, std::string_view name);

// The order of names in a listing: ASCII letters compared as capitals, as
// Windows does, then byte by byte.
bool ComesBefore(std::string_view a, std::string_view b);

// The existing paths `pattern` matches, in order; wildcards may stand in any
// folder of the path. As in a shell, a name starting with '.' matches only a
// pattern that starts with '.'.
std::vector<std::string> ExpandPattern(const std::string& pattern);

}  // namespace skyplate
