// The page hands a document its browser parsed over as NUL-ended tokens (world/xml_tree.h).
// They come from the page's script, but what they hold comes from a file: every count is
// checked against the tokens left and the caps before anything is made of it.
#include <charconv>

#include "world/xml_tree.h"

namespace {

class TokenReader {
 public:
  explicit TokenReader(std::string_view tokens) : Left(tokens) {}

  bool Element(TXmlNode& node, size_t depth) {
    if (depth > kMaxXmlDepth)
      return Fail("its elements nest more than " + std::to_string(kMaxXmlDepth) + " deep");
    if (++Elements > kMaxXmlElements)
      return Fail("it has more than " + std::to_string(kMaxXmlElements) + " elements");
    std::string_view mark, name, text;
    size_t attributes = 0, children = 0;
    if (!Next(mark) || mark != "E" || !Next(name) || name.empty() || !Count(attributes))
      return Fail("the page handed over a document that is not a tree of elements");
    node.Name = name;
    for (size_t i = 0; i < attributes; ++i) {
      std::string_view key, value;
      if (!Next(key) || !Next(value)) return Fail("the page handed over a cut attribute");
      node.Attributes.emplace_back(key, value);
    }
    if (!Next(text) || !Count(children)) return Fail("the page handed over a cut element");
    node.Text = text;
    for (size_t i = 0; i < children; ++i)
      if (!Element(node.Children.emplace_back(), depth + 1)) return false;
    return true;
  }

  bool AllRead() const { return Left.empty(); }
  const std::string& Why() const { return Reason; }

 private:
  std::string_view Left;
  size_t Elements = 0;
  std::string Reason;

  bool Fail(const std::string& why) {
    if (Reason.empty()) Reason = why;
    return false;
  }

  bool Next(std::string_view& token) {
    const size_t end = Left.find('\0');
    if (end == std::string_view::npos) return false;
    token = Left.substr(0, end);
    Left.remove_prefix(end + 1);
    return true;
  }

  // A count is never more than the tokens left could hold (two bytes a token at the least),
  // so a hostile count reserves nothing.
  bool Count(size_t& count) {
    std::string_view token;
    if (!Next(token) || token.empty()) return false;
    const auto [stop, error] = std::from_chars(token.data(), token.data() + token.size(), count);
    return error == std::errc() && stop == token.data() + token.size() && count <= Left.size() / 2;
  }
};

void AddTokens(const TXmlNode& node, std::string& out) {
  const auto add = [&out](std::string_view token) {
    out += token;
    out += '\0';
  };
  add("E");
  add(node.Name);
  add(std::to_string(node.Attributes.size()));
  for (const auto& [key, value] : node.Attributes) {
    add(key);
    add(value);
  }
  add(node.Text);
  add(std::to_string(node.Children.size()));
  for (const TXmlNode& child : node.Children)
    AddTokens(child, out);
}

}  // namespace

bool XmlTreeFromTokens(std::string_view tokens, TXmlNode& root, std::string& why) {
  TokenReader reader(tokens);
  TXmlNode tree;
  if (!reader.Element(tree, 1)) {
    why = reader.Why();
    return false;
  }
  if (!reader.AllRead()) {
    why = "the page handed over more than one document element";
    return false;
  }
  root = std::move(tree);
  return true;
}

std::string XmlTreeTokens(const TXmlNode& root) {
  std::string out;
  AddTokens(root, out);
  return out;
}
