// An XML document as the level reader sees it: elements with their attributes, their text and
// their child elements, nothing else. The desktop fills it from pugixml (world/xml_tree_pugi.cpp),
// the web page from the browser's own XML parser (world/xml_tree_browser.cpp), so both read a
// level file through one interpretation of its elements (world/level_tmx_read.cpp).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What a document may hold before it is refused, checked while the tree is built, so a hostile
// file costs no more than these allow. A level written with every layer as XML tile elements
// has about 12,500 elements and nests 4 deep.
constexpr size_t kMaxXmlElements = 100000;
constexpr size_t kMaxXmlDepth = 64;

struct TXmlNode {
  std::string Name;
  std::vector<std::pair<std::string, std::string>> Attributes;  // in the file's order
  // The first run of text or CDATA among the element's children; runs of white space alone
  // are no text.
  std::string Text;
  std::vector<TXmlNode> Children;  // the child elements, in the file's order

  // The attribute's value; null when the element has none of that name.
  const std::string* Attribute(std::string_view name) const;
  // The attribute's value; empty when there is none.
  std::string_view Value(std::string_view name) const;
  // The first child element of that name; null when there is none.
  const TXmlNode* Child(std::string_view name) const;

  bool operator==(const TXmlNode&) const = default;
};

// world/xml_tree_pugi.cpp or world/xml_tree_browser.cpp: the document element of `text` as a
// tree. False with `why` (one line: "it is not XML (...)", or the cap it passed) otherwise.
bool ParseXmlTree(std::string_view text, TXmlNode& root, std::string& why);

// world/xml_tree_tokens.cpp: the form the page hands a parsed document over in. Each element is
// the tokens "E", its name, its attribute count, each attribute's name and value, its text,
// its child count, then its children; every token ends with a NUL byte (XML holds none).
// False with `why` on tokens that are not such a tree or pass the caps above.
bool XmlTreeFromTokens(std::string_view tokens, TXmlNode& root, std::string& why);
// The same tree as tokens (the tests' and the fuzzer's way to make them).
std::string XmlTreeTokens(const TXmlNode& root);
