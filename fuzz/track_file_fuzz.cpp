// The track file reader, over text from memory.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "topdown/track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  for (const char* key : {"MaskMap", "Overlay_Base", "Overlay_R", "Overlay_G", "Overlay_B"}) {
    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    const std::string value = skyplate::FindIniEntry(text, skyplate::kTerrainSection, key);
    if (value.size() > skyplate::kMaxEntryBytes) std::abort();
  }
  return 0;
}
