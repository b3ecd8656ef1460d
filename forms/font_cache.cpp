#include "forms/font_cache.h"

#include <string>
#include <string_view>
#include <vector>

#include "forms/leading_number.h"

namespace skyplate {
namespace {

struct CachedFont {
  std::string font_spec;
  HFONT font;
};

std::vector<CachedFont>& FontCache() {
  static std::vector<CachedFont> cache;
  return cache;
}

// Field n (from 1) of a comma-separated font spec; empty when missing.
std::string_view SpecField(std::string_view font_spec, int n) {
  for (int i = 1; i < n; ++i) {
    const std::size_t comma = font_spec.find(',');
    if (comma == std::string_view::npos) return {};
    font_spec.remove_prefix(comma + 1);
  }
  return font_spec.substr(0, font_spec.find(','));
}

int IntegerField(std::string_view font_spec, int n) {
  return static_cast<int>(LeadingNumber(SpecField(font_spec, n)));
}

int CALLBACK RememberCharSet(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM charSet) {
  *reinterpret_cast<BYTE*>(charSet) = font->lfCharSet;
  return 1;
}

}  // namespace

HFONT CreateFontFromFields(const char* face, int size, int weight, int italic, int underline,
                           int strikeOut) {
  if (!face || !*face) return nullptr;
  HDC screen = GetDC(nullptr);
  const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
  // The last font of the family enumerated decides; ANSI when the face is
  // not installed.
  BYTE charSet = ANSI_CHARSET;
  EnumFontFamiliesA(screen, face, RememberCharSet, reinterpret_cast<LPARAM>(&charSet));
  ReleaseDC(nullptr, screen);
  // Points to pixels truncates (8 pt at 96 dpi is 10 px, not 11).
  const int height = size > 0 ? -(size * dotsPerInch / 72) : size;
  return CreateFontA(height, 0, 0, 0, weight, italic, underline, strikeOut, charSet, OUT_TT_PRECIS,
                     0, 0, 0, face);
}

HFONT FontFromSpec(const char* font_spec) {
  const std::string_view text = font_spec ? font_spec : "";
  CachedFont* cached = nullptr;
  for (CachedFont& entry : FontCache()) {
    if (entry.font_spec == text) {
      if (entry.font) return entry.font;
      cached = &entry;
      break;
    }
  }
  const std::string face(SpecField(text, 1));
  HFONT font =
      CreateFontFromFields(face.c_str(), IntegerField(text, 2), IntegerField(text, 6),
                           IntegerField(text, 7), IntegerField(text, 8), IntegerField(text, 9));
  // A font spec that failed before gets its retry stored in its own entry, so that
  // repeated failures do not grow the cache.
  if (cached) {
    cached->font = font;
  } else {
    FontCache().push_back({std::string(text), font});
  }
  return font;
}

}  // namespace skyplate
