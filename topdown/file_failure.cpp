#include "topdown/file_failure.h"

namespace skyplate {

std::string FileFailureText(const std::string& path, const std::string& reason) {
  const bool says_what_it_is = reason.rfind("is ", 0) == 0;
  return path + (says_what_it_is ? " " : ": ") + reason;
}

}  // namespace skyplate
