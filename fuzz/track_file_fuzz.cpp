// The track file reader, over a file's bytes from memory: byte-order marks,
// UTF-16 in both byte orders, then the lookup.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "topdown/track_file.h"
#include "topdown/track_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text =
      skyplate::DecodeTrackText(std::string(reinterpret_cast<const char*>(data), size));
  for (const char* key : {"MaskMap", "Overlay_Base", "Overlay_R", "Overlay_G", "Overlay_B"}) {
    const std::string value = skyplate::FindIniEntry(text, skyplate::kTerrainSection, key);
    if (value.size() > skyplate::kMaxEntryBytes) std::abort();
  }
  return 0;
}
