// What Tab offers for the word before the cursor, and how a list of candidates is shown.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "driver/line_editor.hpp"
#include "driver/node_names.hpp"

namespace seedweave {

// The words that can replace `word`, sorted and without repeats. At the seed prompt: node
// names that start with it, and paths; at the name prompt: paths. Paths are offered for a
// word that names a folder before its last `/`, or that starts the name of an entry of the
// current folder; a word starting with `~/` lists the home folder and is offered the
// expanded path. Entries whose names hold white space cannot be answers and are left out.
std::vector<std::string> completionsOf(std::string_view word, AnswerKind kind, NodeNames& names);

// The longest text that every candidate starts with.
std::string commonPrefix(const std::vector<std::string>& candidates);

// The candidates in rows of columns for a screen of `columns` by `rows` characters, taking
// at most `rows - 2` lines so that the list and the line being edited fit on the screen;
// when they do not all fit, the last line says how many were left out. There is at least one
// candidate.
std::string candidateListing(const std::vector<std::string>& candidates, int columns, int rows);

}  // namespace seedweave
