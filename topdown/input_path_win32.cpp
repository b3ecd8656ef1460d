#include "topdown/input_path.h"

namespace skyplate {

// Windows looks names up without regard to case by itself.
std::string NativeSeparators(const std::string& path) {
  return path;
}

std::string ResolveInputPath(const std::string& path) {
  return path;
}

}  // namespace skyplate
