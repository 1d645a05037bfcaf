// Line editing on libedit's own interface.
#include <histedit.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "driver/completion.hpp"
#include "driver/line_editor.hpp"

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
int characterCount(const std::string& text) {
  const std::size_t count = std::mbstowcs(nullptr, text.c_str(), 0);
  return static_cast<int>(count == static_cast<std::size_t>(-1) ? text.size() : count);
}

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

class EditingReader final : public LineEditor {
 public:
  EditingReader(std::FILE* input, std::FILE* screen, bool ownsScreen, NodeNames& names)
      : screen_(screen),
        ownsScreen_(ownsScreen),
        names_(names),
        editor_(el_init("seedweave", input, screen, stderr)),
        history_(history_init()) {
    HistEvent event;
    history(history_, &event, H_SETSIZE, kHistorySize);
    history(history_, &event, H_SETUNIQUE, 1);
    el_set(editor_, EL_EDITOR, "emacs");
    el_set(editor_, EL_SIGNAL, 1);
    el_set(editor_, EL_PROMPT, &EditingReader::noPrompt);
    el_set(editor_, EL_HIST, history, history_);
    el_set(editor_, EL_CLIENTDATA, this);
    // The wide form keeps the names as given; the narrow one copies them and never frees
    // the copies.
    el_wset(editor_, EL_ADDFN, L"seedweave-complete", L"Complete a node or file name",
            &EditingReader::onTab);
    for (const auto& [keys, function] : kBindings)
      el_set(editor_, EL_BIND, keys, function, nullptr);
    el_set(editor_, EL_BIND, "^I", "seedweave-complete", nullptr);
    el_source(editor_, nullptr);  // the user's own ~/.editrc
  }

  ~EditingReader() override {
    el_end(editor_);
    history_end(history_);
    if (ownsScreen_) std::fclose(screen_);
  }

  EditingReader(const EditingReader&) = delete;
  EditingReader& operator=(const EditingReader&) = delete;

  std::optional<std::string> readLine(AnswerKind kind) override {
    kind_ = kind;
    lastTab_.reset();
    int count = 0;
    const char* line = el_gets(editor_, &count);
    if (line == nullptr || count <= 0) return std::nullopt;
    std::string text(line, static_cast<std::size_t>(count));
    if (text.ends_with('\n')) text.pop_back();
    HistEvent event;
    if (text.find_first_not_of(" \t\r\v\f") != std::string::npos) {
      history(history_, &event, H_ENTER, text.c_str());
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
    const LineInfo* line = el_line(editor_);
    const std::string before(line->buffer, line->cursor);
    std::size_t start = before.size();
    while (start > 0 && !isSpace(before[start - 1])) --start;
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
      el_deletestr(editor_, characterCount(word));
      el_insertstr(editor_, replacement.c_str());
      lastTab_ = before.substr(0, start) + replacement;
      return CC_REFRESH;
    }
    list(candidates);
    return CC_REDISPLAY;
  }

  void list(const std::vector<std::string>& candidates) {
    int columns = 80;
    int rows = 24;
    el_get(editor_, EL_GETTC, "co", &columns, nullptr);
    el_get(editor_, EL_GETTC, "li", &rows, nullptr);
    std::fputs("\n", screen_);
    std::fputs(candidateListing(candidates, columns, rows).c_str(), screen_);
    std::fflush(screen_);
  }

  std::FILE* screen_;
  bool ownsScreen_;
  NodeNames& names_;
  EditLine* editor_;
  History* history_;
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
