#include "topdown/track_text.h"

namespace skyplate {

// File names on POSIX systems are bytes, by convention UTF-8.
std::string NarrowFromUtf8(const std::string& text) {
  return text;
}

}  // namespace skyplate
