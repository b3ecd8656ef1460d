#include <cerrno>
#include <cstring>

#include "topdown/system_error.h"

namespace skyplate {

std::string LastSystemError() {
  return std::strerror(errno);
}

}  // namespace skyplate
