#include "driver/options.hpp"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string_view>

#include "driver/messages.hpp"
#include "store/output.hpp"

namespace seedweave {

namespace {

namespace msg = messages;

struct UsageError {
  std::string message;
};

// `format` has up to two %s, for the option and its value.
[[noreturn]] void refuse(const char* format, const std::string& option = {},
                         const std::string& value = {}) {
  throw UsageError{formatText(format, option.c_str(), value.c_str())};
}

// A whole decimal number from `least` to `most`, the whole value and nothing else.
int wholeNumber(const std::string& option, const std::string& value, int least, int most,
                const char* complaint) {
  int number{};
  const char* end = value.data() + value.size();
  const auto [stop, error] = std::from_chars(value.data(), end, number);
  if (value.empty() || error != std::errc() || stop != end || number < least || number > most) {
    refuse(complaint, option, value);
  }
  return number;
}

std::vector<SeedEntry>& seedEntries(CommandLine& line) {
  if (!line.answers.seeds) line.answers.seeds.emplace();
  return *line.answers.seeds;
}

using Apply = void (*)(CommandLine& line, const std::string& option, const std::string& value);

struct OptionRule {
  char shortName;  // '\0' when the option has only a long name
  std::string_view longName;
  bool takesValue;
  Apply apply;
};

constexpr int kMaxInt = 0x7fffffff;

// The yes or no answer of a question.
template <Question question, char answer>
void answerWith(CommandLine& line, const std::string&, const std::string&) {
  line.answers[question] = {std::string(1, answer)};
}

template <CommandLine::Action action>
void endWith(CommandLine& line, const std::string&, const std::string&) {
  line.action = action;
}

void setPathLength(CommandLine& line, const std::string& option, const std::string& value) {
  const int length = wholeNumber(option, value, 1, 6, msg::kBadPathLength);
  line.answers[Question::kPathLength] = {std::to_string(length)};
}

void setArticleLoad(CommandLine& line, const std::string& option, const std::string& value) {
  const int limit = wholeNumber(option, value, 1, kMaxInt, msg::kBadArticleLoad);
  line.answers[Question::kArticleLoad] = {"y", std::to_string(limit)};
}

void setMinReferences(CommandLine& line, const std::string& option, const std::string& value) {
  const int count = wholeNumber(option, value, 0, kMaxInt, msg::kBadMinReferences);
  line.answers[Question::kMinReferences] = {"y", std::to_string(count)};
}

void addSeedFile(CommandLine& line, const std::string&, const std::string& value) {
  seedEntries(line).push_back({true, value});
}

void addSeedName(CommandLine& line, const std::string&, const std::string& value) {
  seedEntries(line).push_back({false, value});
}

void setName(CommandLine& line, const std::string& option, const std::string& value) {
  // The names the dialogue refuses, and those that no typed word can be.
  if (value.empty() || value.find_first_of(" \t\n\r\v\f/\\") != std::string::npos) {
    refuse(msg::kBadName, option, value);
  }
  line.answers[Question::kName] = {value};
}

void setQuiet(CommandLine& line, const std::string&, const std::string&) { line.quiet = true; }

const OptionRule kOptions[] = {
    {'h', "help", false, endWith<CommandLine::Action::kHelp>},
    {'\0', "version", false, endWith<CommandLine::Action::kVersion>},
    {'l', "max-length", true, setPathLength},
    {'\0', "max-article-load", true, setArticleLoad},
    {'\0', "no-article-load-filter", false, answerWith<Question::kArticleLoad, 'n'>},
    {'\0', "min-references", true, setMinReferences},
    {'\0', "no-min-references", false, answerWith<Question::kMinReferences, 'n'>},
    {'\0', "cliques", false, answerWith<Question::kCliques, 'y'>},
    {'\0', "no-cliques", false, answerWith<Question::kCliques, 'n'>},
    {'\0', "seeds", true, addSeedFile},
    {'\0', "seed", true, addSeedName},
    {'o', "name", true, setName},
    {'\0', "report", false, answerWith<Question::kReport, 'y'>},
    {'\0', "no-report", false, answerWith<Question::kReport, 'n'>},
    {'q', "quiet", false, setQuiet},
};

struct FoundOption {
  const OptionRule* rule;
  std::string name;                     // as the user wrote it, without a value
  std::optional<std::string> attached;  // a value in the same argument: --name=VALUE, -lVALUE
};

FoundOption findOption(const std::string& argument) {
  const bool isLong = argument.starts_with("--");
  const std::size_t nameEnd = isLong ? std::min(argument.find('='), argument.size()) : 2;
  FoundOption found{nullptr, argument.substr(0, nameEnd), std::nullopt};
  if (nameEnd < argument.size()) found.attached = argument.substr(nameEnd + (isLong ? 1 : 0));
  const auto matches = [&](const OptionRule& rule) {
    return isLong ? found.name.substr(2) == rule.longName : found.name[1] == rule.shortName;
  };
  const auto rule = std::find_if(std::begin(kOptions), std::end(kOptions), matches);
  // A short option without a value takes nothing after its letter: -qh is not two options.
  if (rule == std::end(kOptions) || (!isLong && found.attached && !rule->takesValue)) {
    refuse(msg::kUnknownOption, argument);
  }
  found.rule = rule;
  return found;
}

// Applies the option that starts at arguments[index]; returns the index of its last argument.
std::size_t applyOption(CommandLine& line, const std::vector<std::string>& arguments,
                        std::size_t index) {
  const FoundOption found = findOption(arguments[index]);
  std::string value;
  if (found.rule->takesValue) {
    if (found.attached) {
      value = *found.attached;
    } else if (index + 1 < arguments.size()) {
      value = arguments[++index];
    } else {
      refuse(msg::kMissingValue, found.name);
    }
  } else if (found.attached) {
    refuse(msg::kUnexpectedValue, found.name);
  }
  found.rule->apply(line, found.name, value);
  return index;
}

bool isOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  try {
    for (std::size_t index = 0; index < arguments.size(); ++index) {
      const std::string& argument = arguments[index];
      if (argument == "--") {
        line.sigFiles.insert(line.sigFiles.end(), arguments.begin() + index + 1, arguments.end());
        break;
      }
      if (!isOption(argument)) {
        line.sigFiles.push_back(argument);
        continue;
      }
      index = applyOption(line, arguments, index);
      if (line.action != CommandLine::Action::kRun) return line;
    }
    if (line.sigFiles.empty()) refuse(msg::kNoSigFile);
  } catch (const UsageError& usage) {
    line.action = CommandLine::Action::kUsageError;
    line.error = usage.message;
  }
  return line;
}

}  // namespace seedweave
