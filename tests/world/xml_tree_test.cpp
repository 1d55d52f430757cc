// The level reader's tree of elements: the desktop's parser and the page's tokens give the same
// tree, and the same level from it; text is what the reader has always seen of an element; a
// hostile document or hostile tokens are refused within the caps, before they cost memory.
#include <gtest/gtest.h>

#include <string>

#include "shared/units.h"
#include "world/level_file.h"
#include "world/xml_tree.h"

namespace {

TXmlNode Parsed(const std::string& text) {
  TXmlNode root;
  std::string why;
  EXPECT_TRUE(ParseXmlTree(text, root, why)) << why;
  return root;
}

std::string WhyRefused(const std::string& text) {
  TXmlNode root;
  std::string why;
  EXPECT_FALSE(ParseXmlTree(text, root, why));
  return why;
}

std::string WhyTokensRefused(const std::string& tokens) {
  TXmlNode root;
  root.Name = "untouched";
  std::string why;
  EXPECT_FALSE(XmlTreeFromTokens(tokens, root, why));
  EXPECT_EQ(root.Name, "untouched");
  return why;
}

std::string Nested(size_t depth) {
  std::string text;
  for (size_t i = 0; i < depth; ++i)
    text += "<g>";
  for (size_t i = 0; i < depth; ++i)
    text += "</g>";
  return text;
}

// A map as Tiled writes one by hand: comments, white space between elements, a CDATA
// property, entities, a second tileset at another first gid, an object typed by class.
constexpr const char* kHandWritten = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- written by hand -->
<map version="1.10" orientation="orthogonal" renderorder="right-down" width="75" height="54"
     tilewidth="16" tileheight="16" infinite="0">
 <properties>
  <property name="name" value="R&amp;D"/>
  <property name="notes"><![CDATA[two
lines]]></property>
 </properties>
 <tileset firstgid="1" name="tiles" tilewidth="16" tileheight="16" tilecount="768">
  <image source="../AllTiles8.bmp" width="512" height="384"/>
 </tileset>
 <tileset firstgid="900" name="water" tilewidth="16" tileheight="16" tilecount="80">
  <image source="../tall_water.bmp" width="256" height="80"/>
 </tileset>
 <objectgroup name="objects">
  <object id="1" class="player" x="40" y="80"><point/></object>
 </objectgroup>
</map>)";

}  // namespace

TEST(XmlTree, ThePagesTokensCarryEveryLevelTheReaderReads) {
  TLevel sample;
  sample.Name = "Caves & <Cliffs>";
  sample.Music = "theme \"two\"";
  sample.Blocks[75 * 20 + 10] = 23;
  sample.Backgrounds[75 * 4 + 3] = 254;
  sample.Water[75 * 30 + 31] = 16;
  sample.Starts.Badguys = {{40 * PIXEL_UNITS, 60 * PIXEL_UNITS}};
  std::string csv;
  for (size_t i = 0; i < kMapFileBytes; ++i)
    csv += (i ? "," : "") + std::string(i % 7 == 0 ? "905" : "0");
  std::string hand = kHandWritten;
  hand.insert(hand.find(" <objectgroup"),
              " <layer name=\"water\" width=\"75\" height=\"54\"><data encoding=\"csv\">\n" + csv +
                  "\n</data></layer>\n");
  for (const std::string& text : {LevelTmxText(sample), hand}) {
    const TXmlNode tree = Parsed(text);
    TXmlNode carried;
    std::string why;
    ASSERT_TRUE(XmlTreeFromTokens(XmlTreeTokens(tree), carried, why)) << why;
    EXPECT_EQ(carried, tree);
    TLevel direct, through_tokens;
    std::vector<std::string> notes, notes_through_tokens;
    ASSERT_TRUE(ParseLevelTmx(text, ".", direct, why, notes)) << why;
    ASSERT_TRUE(ReadLevelTree(carried, ".", through_tokens, why, notes_through_tokens)) << why;
    EXPECT_EQ(through_tokens, direct);
    EXPECT_EQ(notes_through_tokens, notes);
  }
  TLevel hand_level;
  std::string why;
  std::vector<std::string> notes;
  ASSERT_TRUE(ParseLevelTmx(hand, ".", hand_level, why, notes)) << why;
  EXPECT_EQ(hand_level.Name, "R&D");
  EXPECT_EQ(hand_level.Water[0], 6);  // gid 905 of the water set at 900: its sixth still cell
  EXPECT_EQ(hand_level.Starts.Player.X, 40 * PIXEL_UNITS);
}

TEST(XmlTree, AnElementsTextIsItsFirstRunOfTextOrCdata) {
  const TXmlNode root = Parsed(
      "<r><blank>\n   <x/>\n</blank><two>one<x/>two</two><cdata><![CDATA[ ]]></cdata>"
      "<spaced>  a b  </spaced><entity>&lt;&#65;&gt;</entity></r>");
  ASSERT_EQ(root.Children.size(), 5u);
  EXPECT_EQ(root.Children[0].Text, "");
  EXPECT_EQ(root.Children[0].Children.size(), 1u);
  EXPECT_EQ(root.Children[1].Text, "one");
  EXPECT_EQ(root.Children[2].Text, " ");
  EXPECT_EQ(root.Children[3].Text, "  a b  ");
  EXPECT_EQ(root.Children[4].Text, "<A>");
  EXPECT_EQ(root.Child("two"), &root.Children[1]);
  EXPECT_EQ(root.Child("none"), nullptr);
}

TEST(XmlTree, HostileDocumentsAndTokensAreRefusedWithinTheCaps) {
  EXPECT_NE(WhyRefused("not xml").find("it is not XML"), std::string::npos);
  EXPECT_NE(WhyRefused("").find("it is not XML"), std::string::npos);
  EXPECT_EQ(Parsed(Nested(kMaxXmlDepth)).Name, "g");
  EXPECT_NE(WhyRefused(Nested(kMaxXmlDepth + 1)).find("nest more than 64"), std::string::npos);
  EXPECT_NE(WhyRefused(Nested(200000)).find("nest more than 64"), std::string::npos);
  std::string flat = "<r>";
  for (size_t i = 0; i < kMaxXmlElements; ++i)
    flat += "<a/>";
  EXPECT_NE(WhyRefused(flat + "</r>").find("more than 100000 elements"), std::string::npos);

  // Groups nested past what the reader opens still get the reader's own reason.
  std::string groups =
      "<map orientation=\"orthogonal\" width=\"75\" height=\"54\" "
      "tilewidth=\"16\" tileheight=\"16\">" +
      Nested(20) + "</map>";
  for (size_t at = 0; (at = groups.find("<g>", at)) != std::string::npos;)
    groups.replace(at, 3, "<group>");
  for (size_t at = 0; (at = groups.find("</g>", at)) != std::string::npos;)
    groups.replace(at, 4, "</group>");
  TLevel level;
  std::string why;
  std::vector<std::string> notes;
  EXPECT_FALSE(ParseLevelTmx(groups, ".", level, why, notes));
  EXPECT_EQ(why, "its layer groups nest too deep");

  using namespace std::string_literals;
  const std::string leaf =
      "E\0a\0"s
      "0\0\0"s
      "0\0"s;
  TXmlNode root;
  ASSERT_TRUE(XmlTreeFromTokens(leaf, root, why)) << why;
  EXPECT_EQ(root.Name, "a");
  // A count far past what the tokens hold is refused before anything is made of it.
  EXPECT_NE(WhyTokensRefused("E\0a\0"s
                             "0\0\0"s
                             "99999999999999\0"s +
                             leaf)
                .find("cut"),
            std::string::npos);
  EXPECT_NE(WhyTokensRefused("E\0a\0"s
                             "18446744073709551617\0"s)
                .find("not a tree"),
            std::string::npos);
  EXPECT_FALSE(WhyTokensRefused(leaf.substr(0, leaf.size() - 1)).empty());
  EXPECT_FALSE(WhyTokensRefused("E\0\0"s
                                "0\0\0"s
                                "0\0"s)
                   .empty());  // an element without a name
  EXPECT_FALSE(WhyTokensRefused("X\0a\0"s
                                "0\0\0"s
                                "0\0"s)
                   .empty());
  EXPECT_FALSE(WhyTokensRefused("E\0a\0"s
                                "1\0k\0"s)
                   .empty());  // an attribute without a value
  EXPECT_NE(WhyTokensRefused(leaf + leaf).find("more than one"), std::string::npos);
  EXPECT_FALSE(WhyTokensRefused("").empty());
  // Depth and element caps hold for tokens as for the desktop's parser.
  std::string deep;
  for (size_t i = 0; i <= kMaxXmlDepth; ++i)
    deep +=
        "E\0g\0"s
        "0\0\0"s
        "1\0"s;
  EXPECT_NE(WhyTokensRefused(deep + leaf).find("nest more than 64"), std::string::npos);
  std::string wide =
      "E\0r\0"s
      "0\0\0"s +
      std::to_string(kMaxXmlElements) + '\0';
  for (size_t i = 0; i < kMaxXmlElements; ++i)
    wide += leaf;
  EXPECT_NE(WhyTokensRefused(wide).find("more than 100000 elements"), std::string::npos);
}
