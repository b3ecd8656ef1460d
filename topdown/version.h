// The program's version, as its file version record and `--version` say it.
#pragma once

#include "version_numbers.h"

namespace skyplate {

inline constexpr char kFileVersion[] = SKYPLATE_FILE_VERSION;
inline constexpr char kProductVersion[] = SKYPLATE_PRODUCT_VERSION;

}  // namespace skyplate
