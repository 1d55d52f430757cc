// The page's controls list as the build writes it from the table of commands: every line of
// the help is on the page, grouped the same way, and the rest of the page is left as it was.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "controls_rows.h"
#include "platform/commands.h"
#include "platform/web/web_keys.h"

namespace {

std::string SourcePage() {
  std::ifstream in(std::string(RAVELON_SOURCE_DIR) + "/src/platform/web/index.html");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ControlsPageTest, ThePageListsEveryLineOfTheHelpInItsOrder) {
  const std::string source = SourcePage();
  ASSERT_FALSE(source.empty());
  std::string error;
  const std::string page = PageWithControls(source, error);
  ASSERT_TRUE(error.empty()) << error;
  EXPECT_EQ(page.find("<!-- controls -->"), std::string::npos);
  size_t at = 0;
  for (int index = 0; index < kCommandModeCount; ++index) {
    const auto mode = static_cast<CommandMode>(index);
    at = page.find(std::string("<th colspan=\"2\">") + ModeHeading(mode) + "</th>", at);
    ASSERT_NE(at, std::string::npos) << ModeHeading(mode);
    for (const HelpLine& line : HelpLinesOf(mode)) {
      at = page.find("<tr><th>" + line.Key + "</th><td>" + line.Help + "</td></tr>", at);
      ASSERT_NE(at, std::string::npos) << line.Key;
    }
  }
  // Around the list the page is the source page, line for line.
  const size_t marker = source.find("<!-- controls -->");
  const size_t line_start = source.rfind('\n', marker) + 1;
  EXPECT_EQ(page.substr(0, line_start), source.substr(0, line_start));
  const std::string after = source.substr(source.find('\n', marker) + 1);
  EXPECT_EQ(page.substr(page.size() - after.size()), after);
}

TEST(ControlsPageTest, APageWithoutItsMarkerIsRefused) {
  std::string error;
  EXPECT_EQ(PageWithControls("<html><table></table></html>\n", error), "");
  EXPECT_NE(error.find("<!-- controls -->"), std::string::npos);
}

TEST(ControlsPageTest, ThePageGivesTheGameF1) {
  EXPECT_EQ(WebGameKeyCode("F1", "F1"), CodeOf(Command::kHelp));
}

}  // namespace
