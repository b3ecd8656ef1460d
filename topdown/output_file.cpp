#include "topdown/output_file.h"

#include <cstdio>
#include <random>

namespace skyplate {

bool OutputFile::Create(const std::string& path, std::string* error) {
  Discard();
  path_ = path;
  if (!ResolveTarget(error)) return false;
  // A random name beside the output: the final rename then stays within one
  // folder and file system, and two builds never share a temporary file.
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
    temp_path_ = path_ + suffix;
    switch (CreateTemporary(error)) {
      case Creation::kCreated:
        return true;
      case Creation::kNameTaken:
        continue;
      case Creation::kFailed:
        return false;
    }
  }
  *error = "cannot create a temporary file beside it: every name tried is taken";
  return false;
}

}  // namespace skyplate
