// The help: its pages, topics and links, and the Help menu.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "fakes/main_window_harness.h"
#include "help/help_menu.h"
#include "help/help_pages.h"
#include "help/help_topics.h"
#include "settings/settings_dialog.h"

namespace tabrel {
namespace {

std::vector<std::string> Matches(std::string_view html, const std::regex& pattern) {
  std::vector<std::string> found;
  const std::string text(html);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
       it != std::sregex_iterator(); ++it) {
    found.push_back((*it)[1]);
  }
  return found;
}

std::vector<std::string> Links(std::string_view html) {
  static const std::regex kHref(R"re(href="([^"]*)")re");
  return Matches(html, kHref);
}

std::set<std::string> Anchors(std::string_view html) {
  static const std::regex kName(R"re(<a name="([^"]*)")re");
  const std::vector<std::string> names = Matches(html, kName);
  return {names.begin(), names.end()};
}

// "page.html#anchor" -> {page, anchor}; a bare "#anchor" stays on `page`.
std::pair<std::string, std::string> Target(const std::string& page, const std::string& link) {
  const std::size_t hash = link.find('#');
  if (hash == std::string::npos) return {link, ""};
  return {hash == 0 ? page : link.substr(0, hash), link.substr(hash + 1)};
}

bool Exists(const std::string& page, const std::string& anchor) {
  const auto html = HelpPage(page);
  return html && (anchor.empty() || Anchors(*html).contains(anchor));
}

TEST(HelpPagesTest, EveryTopicIdIsUniqueAndResolvesToAPageAndAnchor) {
  std::set<std::string_view> ids;
  for (const HelpTopic& topic : HelpTopics()) {
    SCOPED_TRACE(std::string(topic.id));
    EXPECT_TRUE(ids.insert(topic.id).second) << "twice";
    EXPECT_TRUE(Exists(std::string(topic.page), std::string(topic.anchor))) << HelpTopicUrl(topic);
    EXPECT_FALSE(topic.title.empty());
  }
  EXPECT_EQ(HelpTopics().front().id, kHelpContentsId);
  EXPECT_EQ(HelpTopicUrl(*FindHelpTopic("settings.print-lines")), "settings.html#print-lines");
  EXPECT_EQ(FindHelpTopic("no-such-topic"), nullptr);
}

TEST(HelpPagesTest, EveryLinkOfEveryPageLeadsToAPageAndAnchorThatExist) {
  ASSERT_GE(HelpPageFiles().size(), 13u);
  for (const HelpPageFile& page : HelpPageFiles()) {
    for (const std::string& link : Links(page.html)) {
      SCOPED_TRACE(std::string(page.name) + " -> " + link);
      // Nothing in the help leaves the program.
      EXPECT_EQ(link.find(':'), std::string::npos);
      const auto [target, anchor] = Target(std::string(page.name), link);
      EXPECT_TRUE(Exists(target, anchor));
    }
  }
}

TEST(HelpPagesTest, EveryPageIsReachableFromTheContentsAndListedInTheContentsTree) {
  std::set<std::string> reached{"index.html"};
  std::vector<std::string> queue{"index.html"};
  while (!queue.empty()) {
    const std::string page = queue.back();
    queue.pop_back();
    for (const std::string& link : Links(*HelpPage(page))) {
      const std::string target = Target(page, link).first;
      if (HelpPage(target) && reached.insert(target).second) queue.push_back(target);
    }
  }
  std::set<std::string_view> listed;
  for (const HelpTopic& topic : HelpTopics()) {
    if (topic.anchor.empty()) listed.insert(topic.page);
  }
  for (const HelpPageFile& page : HelpPageFiles()) {
    SCOPED_TRACE(std::string(page.name));
    EXPECT_TRUE(reached.contains(std::string(page.name)));
    EXPECT_TRUE(listed.contains(page.name));
  }
}

class HelpMenuTest : public ::testing::Test, public testing::MainWindowHarness {};

TEST_F(HelpMenuTest, AboutShowsTheVersion) {
  window.MenuClicked(MenuId::mu_HelpAbout);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  const Message& about = dialogs.messages[0];
  EXPECT_TRUE(about.text.starts_with("Tabrel 3.0 (release #1)\r\n")) << about.text;
  EXPECT_EQ(about.text.find("\r\n", 25), std::string::npos);  // two lines
  EXPECT_EQ(about.title, "Tabrel");
  EXPECT_EQ(about.icon, MessageIcon::kInformation);
  EXPECT_EQ(about.buttons, MessageButtons::kOk);
}

TEST_F(HelpMenuTest, TheMakersSiteGoesTheWayOfVisitWebsite) {
  window.MenuClicked(MenuId::mu_DunWeb);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Go to the Tabrel home page, https://tabrel.example.org/ ?");
  EXPECT_EQ(dialogs.messages[0].title, "Visit Website!");
  EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::kQuestion);
  EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::kYesNo);
  EXPECT_EQ(shell.urls, std::vector<std::string>{"https://tabrel.example.org/"});

  state.settings.Browser = "firefox";
  window.MenuClicked(MenuId::mu_DunWeb);
  EXPECT_EQ(shell.started,
            (std::vector<std::vector<std::string>>{{"firefox", "https://tabrel.example.org/"}}));

  dialogs.answers = {MessageAnswer::kNo};
  window.MenuClicked(MenuId::mu_DunWeb);
  EXPECT_EQ(shell.started.size(), 1u);
  EXPECT_EQ(shell.urls.size(), 1u);
}

}  // namespace
}  // namespace tabrel
