// The desktop's XML parser: pugixml parses the text, and its elements are copied into the
// reader's tree within the caps of world/xml_tree.h.
#include <pugixml.hpp>

#include "world/xml_tree.h"

namespace {

struct Copier {
  size_t Elements = 0;
  std::string Why;

  bool Copy(const pugi::xml_node& from, TXmlNode& to, size_t depth) {
    if (depth > kMaxXmlDepth) {
      Why = "its elements nest more than " + std::to_string(kMaxXmlDepth) + " deep";
      return false;
    }
    if (++Elements > kMaxXmlElements) {
      Why = "it has more than " + std::to_string(kMaxXmlElements) + " elements";
      return false;
    }
    to.Name = from.name();
    for (const pugi::xml_attribute& attribute : from.attributes())
      to.Attributes.emplace_back(attribute.name(), attribute.value());
    // The first text or CDATA child, as the parser drops runs of white space alone.
    to.Text = from.child_value();
    for (const pugi::xml_node& child : from.children()) {
      if (child.type() != pugi::node_element) continue;
      if (!Copy(child, to.Children.emplace_back(), depth + 1)) return false;
    }
    return true;
  }
};

}  // namespace

bool ParseXmlTree(std::string_view text, TXmlNode& root, std::string& why) {
  pugi::xml_document document;
  const pugi::xml_parse_result result =
      document.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!result) {
    why = std::string("it is not XML (") + result.description() + " at byte " +
          std::to_string(result.offset) + ")";
    return false;
  }
  const pugi::xml_node element = document.document_element();
  if (!element) {
    why = "it is not XML (no document element)";
    return false;
  }
  Copier copier;
  TXmlNode tree;
  if (!copier.Copy(element, tree, 1)) {
    why = copier.Why;
    return false;
  }
  root = std::move(tree);
  return true;
}
