// The program's version, as its file version record and `--version` say it.
#pragma once

namespace skyplate {

inline constexpr char kFileVersion[] = "1.0.2.109";
inline constexpr char kProductVersion[] = "1.0.2.0";

}  // namespace skyplate
