// Line editing on libedit's own interface.
#include <histedit.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "driver/completion.hpp"
#include "driver/line_editor.hpp"
#include "driver/word_reader.hpp"

namespace seedweave {

namespace {

// The keys bound beyond libedit's emacs defaults, so that they act as in other terminal
// programs: Home and End as sent by common terminals, Ctrl-W deletes the word before the
// cursor, Ctrl-R searches the history, Ctrl-Left and Ctrl-Right move by words.
constexpr const char* kBindings[][2] = {
    {"\\e[H", "ed-move-to-beg"},   {"\\e[F", "ed-move-to-end"},  {"\\eOH", "ed-move-to-beg"},
    {"\\eOF", "ed-move-to-end"},   {"\\e[1~", "ed-move-to-beg"}, {"\\e[4~", "ed-move-to-end"},
    {"\\e[7~", "ed-move-to-beg"},  {"\\e[8~", "ed-move-to-end"}, {"\\e[3~", "ed-delete-next-char"},
    {"^W", "ed-delete-prev-word"}, {"^R", "em-inc-search-prev"}, {"\\e[1;5D", "ed-prev-word"},
    {"\\e[1;5C", "em-next-word"},
};

constexpr int kHistorySize = 1000;

// libedit drops every byte that the character set of the locale cannot decode, which in the
// plain C locale is every byte above 127. Answers are therefore decoded in the user's
// character set, or in UTF-8 when none is set, so that names and paths beyond ASCII stay as
// typed. Only the character type changes: numbers are still printed the same way.
void useTerminalCharacterSet() {
  const char* chosen = std::setlocale(LC_CTYPE, "");
  if (chosen == nullptr || std::strcmp(chosen, "C") == 0 || std::strcmp(chosen, "POSIX") == 0) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
  }
}

// How many characters libedit holds for `text`: it deletes by characters, not bytes.
// The text comes from libedit's own line, so every character decodes; without a destination
// the length argument is unused.
int characterCount(const std::string& text) {
  return static_cast<int>(std::mbstowcs(nullptr, text.c_str(), text.size()));
}

class EditingReader final : public LineEditor {
 public:
  EditingReader(std::FILE* input, std::FILE* screen, bool ownsScreen, NodeNames& names)
      : screen_(screen),
        ownedScreen_(ownsScreen ? screen : nullptr, &std::fclose),
        names_(names),
        history_(history_init(), &history_end),
        editor_(el_init("seedweave", input, screen, stderr), &el_end) {
    HistEvent event;
    history(history_.get(), &event, H_SETSIZE, kHistorySize);
    history(history_.get(), &event, H_SETUNIQUE, true);
    EditLine* editor = editor_.get();
    el_set(editor, EL_EDITOR, "emacs");
    el_set(editor, EL_SIGNAL, true);
    el_set(editor, EL_PROMPT, &EditingReader::noPrompt);
    el_set(editor, EL_HIST, history, history_.get());
    el_set(editor, EL_CLIENTDATA, this);
    // The wide form keeps the names as given; the narrow one copies them and never frees
    // the copies.
    el_wset(editor, EL_ADDFN, L"seedweave-complete", L"Complete a node or file name",
            &EditingReader::onTab);
    for (const auto& [keys, function] : kBindings) el_set(editor, EL_BIND, keys, function, nullptr);
    el_set(editor, EL_BIND, "^I", "seedweave-complete", nullptr);
    el_source(editor, nullptr);  // the user's own ~/.editrc
  }

  std::optional<std::string> readLine(AnswerKind kind) override {
    kind_ = kind;
    lastTab_.reset();
    int count{};
    const char* line = el_gets(editor_.get(), &count);  // null exactly when count <= 0
    if (line == nullptr) return std::nullopt;
    std::string text(line, static_cast<std::size_t>(count));
    if (text.ends_with('\n')) text.pop_back();
    HistEvent event;
    if (text.find_first_not_of(" \t\r\v\f") != std::string::npos) {
      history(history_.get(), &event, H_ENTER, text.c_str());
    }
    return text;
  }

 private:
  static char* noPrompt(EditLine*) {
    static char empty[] = "";
    return empty;
  }

  static unsigned char onTab(EditLine* editor, int) {
    void* self = nullptr;
    el_get(editor, EL_CLIENTDATA, &self);
    return static_cast<EditingReader*>(self)->complete();
  }

  // One Tab: a unique candidate replaces the word, several extend it to their common
  // start; a Tab that cannot extend lists them when it follows a Tab that left the line
  // as it is, and rings the bell otherwise.
  unsigned char complete() {
    const LineInfo* line = el_line(editor_.get());
    const std::string before(line->buffer, line->cursor);
    const std::size_t lastBlank = before.find_last_of(kBlanks);
    const std::size_t start = lastBlank == std::string::npos ? 0 : lastBlank + 1;
    const std::string word = before.substr(start);
    const std::vector<std::string> candidates = completionsOf(word, kind_, names_);
    std::string replacement = commonPrefix(candidates);
    if (candidates.size() == 1 && !replacement.ends_with('/')) replacement += ' ';
    const bool repeated = lastTab_ == before;
    if (candidates.empty() || (replacement == word && !repeated)) {
      lastTab_ = before;
      return CC_ERROR;
    }
    if (replacement != word) {
      el_deletestr(editor_.get(), characterCount(word));
      el_insertstr(editor_.get(), replacement.c_str());
      lastTab_ = before.substr(0, start) + replacement;
      return CC_REFRESH;
    }
    list(candidates);
    return CC_REDISPLAY;
  }

  void list(const std::vector<std::string>& candidates) {
    int columns{};
    int rows{};
    el_get(editor_.get(), EL_GETTC, "co", &columns, nullptr);
    el_get(editor_.get(), EL_GETTC, "li", &rows, nullptr);
    std::fputs("\n", screen_);
    std::fputs(candidateListing(candidates, columns, rows).c_str(), screen_);
    std::fflush(screen_);
  }

  // The editor goes first, then its history, then the screen it was drawing on.
  std::FILE* screen_;
  std::unique_ptr<std::FILE, decltype(&std::fclose)> ownedScreen_;
  NodeNames& names_;
  std::unique_ptr<History, decltype(&history_end)> history_;
  std::unique_ptr<EditLine, decltype(&el_end)> editor_;
  AnswerKind kind_ = AnswerKind::kPlain;
  // The text before the cursor as the last Tab left it.
  std::optional<std::string> lastTab_;
};

}  // namespace

bool lineEditingBuiltIn() { return true; }

std::unique_ptr<LineEditor> openLineEditor(std::FILE* input, NodeNames& names) {
  if (!::isatty(::fileno(input))) return nullptr;
  useTerminalCharacterSet();
  // Editing shows the line on the terminal; when standard output goes elsewhere, it must
  // not receive that display, so the terminal is opened for it.
  if (::isatty(::fileno(stdout)))
    return std::make_unique<EditingReader>(input, stdout, false, names);
  std::FILE* terminal = std::fopen("/dev/tty", "w");
  if (terminal == nullptr) return nullptr;
  return std::make_unique<EditingReader>(input, terminal, true, names);
}

}  // namespace seedweave
