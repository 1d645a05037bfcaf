// The command-line parser: which words answer which question, and every usage error.
#include "driver/options.hpp"

#include <gtest/gtest.h>

namespace seedweave {
namespace {

using Action = CommandLine::Action;
using Words = std::vector<std::string>;

// The whole sessions of scripted_run_test cover each option once; these are the finer points.
TEST(Options, AnswersAreTheWordsAUserWouldType) {
  struct Case {
    Words arguments;
    Question question;
    Words words;
  };
  const Case cases[] = {
      {{"-l6", "a.sig"}, Question::kPathLength, {"6"}},
      {{"--max-length", "04", "a.sig"}, Question::kPathLength, {"4"}},
      {{"--max-article-load", "5", "--no-article-load-filter", "a.sig"},
       Question::kArticleLoad,
       {"n"}},
      {{"--min-references", "0", "a.sig"}, Question::kMinReferences, {"y", "0"}},
      {{"--cliques", "--no-cliques", "a.sig"}, Question::kCliques, {"n"}},
      {{"--name=-x", "a.sig"}, Question::kName, {"-x"}},
      {{"a.sig"}, Question::kName, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const CommandLine line = parseCommandLine(c.arguments);
    ASSERT_EQ(line.action, Action::kRun) << line.error;
    EXPECT_EQ(line.answers[c.question], c.words);
    EXPECT_EQ(line.sigFiles, Words{"a.sig"});
  }
}

TEST(Options, SeedsFilesAndTheEndOfOptions) {
  const CommandLine line = parseCommandLine(
      {"--seed", "A.txt", "x.sig", "--seeds", "list", "-q", "--", "-y.sig", "--seed", "-"});
  ASSERT_EQ(line.action, Action::kRun) << line.error;
  EXPECT_TRUE(line.quiet);
  EXPECT_EQ(line.sigFiles, (Words{"x.sig", "-y.sig", "--seed", "-"}));
  ASSERT_TRUE(line.answers.seeds);
  EXPECT_EQ(*line.answers.seeds, (std::vector<SeedEntry>{{false, "A.txt"}, {true, "list"}}));
  EXPECT_FALSE(parseCommandLine({"-", "b.sig"}).answers.seeds);
  EXPECT_EQ(parseCommandLine({"-", "b.sig"}).sigFiles, (Words{"-", "b.sig"}));
}

TEST(Options, HelpAndVersionTakeEffectWhereTheyStand) {
  EXPECT_EQ(parseCommandLine({"-h"}).action, Action::kHelp);
  EXPECT_EQ(parseCommandLine({"a.sig", "--help", "--bogus"}).action, Action::kHelp);
  EXPECT_EQ(parseCommandLine({"--version"}).action, Action::kVersion);
  EXPECT_EQ(parseCommandLine({"--bogus", "--version"}).action, Action::kUsageError);
  EXPECT_EQ(parseCommandLine({"--", "--help"}).action, Action::kRun);
}

TEST(Options, UsageErrors) {
  const auto badName = [](const std::string& option, const std::string& value) {
    return option + " takes a name without blanks, '/' or '\\' for the subnetwork files, not '" +
           value + "'";
  };
  const std::string longName = "a/" + std::string(600, 'n');
  const std::pair<Words, std::string> cases[] = {
      {{"--bogus", "a.sig"}, "unknown option --bogus"},
      {{"-x", "a.sig"}, "unknown option -x"},
      {{"-qh", "a.sig"}, "unknown option -qh"},
      {{"--help=1"}, "option --help takes no value"},
      {{"a.sig", "-l"}, "option -l needs a value"},
      {{"a.sig", "--seeds"}, "option --seeds needs a value"},
      {{"-l", "0", "a.sig"}, "-l takes a path length from 1 to 6, not '0'"},
      {{"-l", "7", "a.sig"}, "-l takes a path length from 1 to 6, not '7'"},
      {{"-l", "3x", "a.sig"}, "-l takes a path length from 1 to 6, not '3x'"},
      {{"--max-length=", "a.sig"}, "--max-length takes a path length from 1 to 6, not ''"},
      {{"--max-article-load", "0", "a.sig"},
       "--max-article-load takes a whole number of at least 1, not '0'"},
      {{"--max-article-load", "99999999999", "a.sig"},
       "--max-article-load takes a whole number of at least 1, not '99999999999'"},
      {{"--min-references", "-1", "a.sig"},
       "--min-references takes a whole number of at least 0, not '-1'"},
      {{"-o", "net/1", "a.sig"}, badName("-o", "net/1")},
      {{"--name", "a\\b", "a.sig"}, badName("--name", "a\\b")},
      {{"--name", "a b", "a.sig"}, badName("--name", "a b")},
      {{"--name", "", "a.sig"}, badName("--name", "")},
      {{"--name", longName, "a.sig"}, badName("--name", longName)},
      {{"-q"}, "no SIG file given"},
      {{"--"}, "no SIG file given"},
  };
  for (const auto& [arguments, error] : cases) {
    const CommandLine line = parseCommandLine(arguments);
    EXPECT_EQ(line.action, Action::kUsageError) << error;
    EXPECT_EQ(line.error, error);
  }
}

}  // namespace
}  // namespace seedweave
