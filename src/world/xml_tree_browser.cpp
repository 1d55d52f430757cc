// The web page's XML parser: the browser's own (DOMParser, called by the page's script,
// src/platform/web/page_levels.js), whose document comes back as tokens (world/xml_tree.h),
// read within the same caps as the desktop's tree.
#include <emscripten.h>

#include "world/xml_tree.h"

namespace {

// Parses the text and holds the result: its length in bytes, negative for a reason to refuse.
EM_JS(int, PageParseXml, (const char* text, int length),
      { return RavelonLevels.parseXml(HEAPU8.slice(text, text + length)); });

// The held result copied out, then let go.
EM_JS(void, PageTakeParsed, (char* out), { HEAPU8.set(RavelonLevels.takeParsed(), out); });

}  // namespace

bool ParseXmlTree(std::string_view text, TXmlNode& root, std::string& why) {
  const int length = PageParseXml(text.data(), static_cast<int>(text.size()));
  std::string held(static_cast<size_t>(length < 0 ? -length : length), '\0');
  PageTakeParsed(held.data());
  if (length < 0) {
    why = held;
    return false;
  }
  return XmlTreeFromTokens(held, root, why);
}
