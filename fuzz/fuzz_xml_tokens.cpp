// libFuzzer target: the tokens the web page hands a parsed document over in, from arbitrary
// bytes. Whatever is accepted stays within the caps and reads back the same from the game's
// own writing of it; whatever is refused says why.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "world/xml_tree.h"

namespace {

size_t Depth(const TXmlNode& node) {
  size_t deepest = 0;
  for (const TXmlNode& child : node.Children)
    deepest = std::max(deepest, Depth(child));
  return deepest + 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TXmlNode root;
  std::string why;
  if (!XmlTreeFromTokens({reinterpret_cast<const char*>(data), size}, root, why)) {
    fuzz::Check(!why.empty(), "a refusal says why");
    return 0;
  }
  fuzz::Check(!root.Name.empty(), "every element has a name");
  fuzz::Check(Depth(root) <= kMaxXmlDepth, "within the depth cap");
  TXmlNode again;
  fuzz::Check(XmlTreeFromTokens(XmlTreeTokens(root), again, why), "the tokens' writing reads back");
  fuzz::Check(again == root, "the tokens' writing reads back as the same tree");
  return 0;
}
