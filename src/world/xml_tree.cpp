// Looking things up in a parsed document's elements.
#include "world/xml_tree.h"

const std::string* TXmlNode::Attribute(std::string_view name) const {
  for (const auto& [key, value] : Attributes)
    if (key == name) return &value;
  return nullptr;
}

std::string_view TXmlNode::Value(std::string_view name) const {
  const std::string* value = Attribute(name);
  return value ? std::string_view(*value) : std::string_view();
}

const TXmlNode* TXmlNode::Child(std::string_view name) const {
  for (const TXmlNode& child : Children)
    if (child.Name == name) return &child;
  return nullptr;
}
