// Every line the dialogue and the driver show the user, in one place.
#pragma once

namespace seedweave::messages {

inline constexpr const char* kInitializing = "Initializing hashes...\n";
inline constexpr const char* kReading = "Reading %s...\n";
inline constexpr const char* kTallying = "Calculating tallies...\n";
inline constexpr const char* kFreeing = "Freeing network...\n";
inline constexpr const char* kStdoutFailed = "seedweave: could not write to standard output: %s\n";
inline constexpr const char* kInternalError = "seedweave: internal error: %s\n";
inline constexpr const char* kOutOfMemory = "Out of memory.\n";
inline constexpr const char* kEndOfInput =
    "\nEnd of input reached before the dialogue was complete.\n";
inline constexpr const char* kNotRecognizedThat = "\nI did not recognize that response.\n\n";

// The repeated question has a blank before its first line break, the first one has none.
inline constexpr const char* kPathLengthPrompt =
    "\nWhat is the maximum path length (number of intermediates) you would like to use\n";
inline constexpr const char* kPathLengthRepeated =
    "\nWhat is the maximum path length (number of intermediates) you would like to use \n";
inline constexpr const char* kPathLengthExplained =
    "to make connections between your list of genes?\n"
    "A value of 1 will return only interactions between genes in your list.\n";
inline constexpr const char* kPathLengthTooLong =
    "\nPathways of size greater than six cannot be identified\n"
    "by this particular program. Please enter another value.\n\n";
inline constexpr const char* kNotRecognizedThis = "\nI did not recognize this response.\n\n";

inline constexpr const char* kLoadPrompt =
    "\nWould you like to filter components by "
    "excluding articles that\ncontributed to "
    "many interactions? (y/n)\n";
inline constexpr const char* kLoadRepeated =
    "\nWould you like to filter components by "
    "excluding articles that contributed to \n"
    "many interactions? (y/n)\n";
inline constexpr const char* kLoadRequest =
    "\nPlease give the maximum number of interactions to\n"
    "allow from any particular article. (For example enter 5)\n";
inline constexpr const char* kLoadRequestRepeated =
    "\nI did not recognize that response.\n\n"
    "Please give the maximum number of interactions to\n"
    "allow for any individual article.\n";

inline constexpr const char* kReferencesPrompt =
    "\nWould you like to filter by\n"
    "including only those interactions that have at least a \n"
    "minimum number of articles reporting them? (y/n)\n";
inline constexpr const char* kReferencesRequest =
    "\nPlease give the minimum number of references "
    "for any individual interaction.\n"
    "0 or 1 will result in no filtering.\n";

// Asked after a line break; after a refused answer, right after the complaint.
inline constexpr const char* kCliquesQuestion =
    "Would you like to save lists of cliques and first neighbors\n"
    "for each of the nodes in the seed list? (y/n)\n";

inline constexpr const char* kSeedPrompt =
    "\nEnter a node name to add to your network seed.\n"
    "Alternately, enter a filename ending with .txt\n"
    "Enter a lone period when you're done adding to the seed.\n";
inline constexpr const char* kSeedFileNotFound = "File not found!\n";
inline constexpr const char* kSeedAdded = "\nAdding %s to network seed...\n";
inline constexpr const char* kSeedUnknown = "\nThere was no node named %s found in the network.\n";

inline constexpr const char* kNoSeeds =
    "No proteins from the network files were entered. There are no pathways to find.\n";
inline constexpr const char* kOneSeed =
    "Only one protein from the network files was entered. There are no pathways to find.\n";
inline constexpr const char* kOneSeedCliquesSaved =
    "Cliques and neighbors for that protein have been saved.\n";

inline constexpr const char* kNamePrompt = "\nPlease enter a name for the new subnetwork.\n";
inline constexpr const char* kNameIllegal =
    "\nPlease give a name for the subnetwork that does not\n"
    "contain illegal characters for a file name.\n";
inline constexpr const char* kNameIsInput = "%s is one of the input files; choose another name.\n";
inline constexpr const char* kSavingFiltered = "Saving filtered network as sig and sif files...\n";
inline constexpr const char* kSavingPlain = "Saving new network as sig and sif files...\n";

inline constexpr const char* kReportQuestion =
    "Would you like to generate a statistical report of the clustering significance \n"
    "of the genes, and the statistical significance of the intermediates? (y/n)\n";

// At a terminal only: the suggestion on standard error, and the end of a long Tab listing.
inline constexpr const char* kDidYouMean = "seedweave: did you mean ";
inline constexpr const char* kMoreCandidates = "... %zu more, %zu in all\n";

}  // namespace seedweave::messages

// The command line. Usage errors go to standard error, each after "seedweave: ".
namespace seedweave::messages {

inline constexpr const char* kVersion = "seedweave %s\n";
inline constexpr const char* kUnknownOption = "unknown option %s";
inline constexpr const char* kMissingValue = "option %s needs a value";
inline constexpr const char* kUnexpectedValue = "option %s takes no value";
inline constexpr const char* kBadPathLength = "%s takes a path length from 1 to 6, not '%s'";
inline constexpr const char* kBadArticleLoad = "%s takes a whole number of at least 1, not '%s'";
inline constexpr const char* kBadMinReferences = "%s takes a whole number of at least 0, not '%s'";
inline constexpr const char* kBadName =
    "%s takes a name without blanks, '/' or '\\' for the subnetwork files, not '%s'";
inline constexpr const char* kNoSigFile = "no SIG file given";
inline constexpr const char* kUsageError =
    "seedweave: %s\nseedweave: usage: seedweave [OPTIONS] FILE.sig... (see seedweave --help)\n";

inline constexpr const char* kHelp =
    "Usage: seedweave [OPTIONS] FILE.sig...\n"
    "\n"
    "Loads the SIG files, one per source database, merges them, and asks on standard input\n"
    "for the settings and the seed genes; then writes the subnetwork of the short paths\n"
    "between the seeds. Options answer questions ahead; a question that no option answers\n"
    "is asked as usual.\n"
    "\n"
    "Options (the number is that of the question answered):\n"
    "  -h, --help                  show this text and exit\n"
    "      --version               show the version and exit\n"
    "  -l, --max-length N          1. maximum path length, 1 to 6\n"
    "      --max-article-load N    2. leave out articles cited by more than N interactions\n"
    "      --no-article-load-filter\n"
    "                              2. keep every article\n"
    "      --min-references N      3. walk only interactions with at least N articles\n"
    "      --no-min-references     3. no minimum number of articles\n"
    "      --cliques, --no-cliques 4. save each seed's cliques and neighbours, or not\n"
    "      --seeds FILE            5. read seed names from FILE, of any name (repeatable)\n"
    "      --seed NAME             5. add the seed NAME (repeatable); with --seeds, the\n"
    "                                 whole seed list, in the order given\n"
    "  -o, --name NAME             6. name of the subnetwork\n"
    "      --report, --no-report   7. write the statistics report, or not\n"
    "  -q, --quiet                 leave out the line for every searched pair of seeds\n"
    "  --                          end of the options; FILE.sig may then begin with -\n"
    "\n"
    "The dialogue asks: 1. the maximum path length; 2. whether to leave out articles that\n"
    "contributed to many interactions, and the limit; 3. whether to require a minimum\n"
    "number of articles per interaction, and the number; 4. whether to save cliques and\n"
    "neighbours; 5. the seeds: node names, or a word containing .txt for a seed file, and a\n"
    "lone . to end the list. With two seeds or more: 6. the subnetwork's name; 7. whether\n"
    "to write the statistics report. Yes is y or yes, no is n or no.\n"
    "\n"
    "Result files, in the current folder:\n"
    "  NAME.sig, NAME.sif                      the subnetwork\n"
    "  SEED-cliques.txt, SEED-neighbors.txt    for each seed, when cliques are saved\n"
    "  NAME_stats.txt                          the statistics report\n"
    "\n"
    "Exit status: 0 when the run completed, 1 when it failed, 2 for a usage error.\n";

}  // namespace seedweave::messages

// Warnings and summaries on standard error, each printed after "seedweave: ".
namespace seedweave::messages {

inline constexpr const char* kMidLineRecords =
    "%s, line %zu: a record begins in the middle of the line (%zu such records); a field may "
    "be missing or extra\n";
inline constexpr const char* kIncompleteRecord =
    "%s ends in an incomplete record (%d of 13 fields), which was left out\n";
inline constexpr const char* kNoRecords = "%s holds no records\n";
inline constexpr const char* kLoadedNetwork =
    "%zu nodes, %zu interactions; %zu records read, %zu skipped\n";
inline constexpr const char* kEmptySubnetwork = "the subnetwork is empty; try %s\n";
inline constexpr const char* kEmptyAtLongest =
    "the subnetwork is empty: no two seeds are joined by a path of at most 6 interactions\n";
inline constexpr const char* kRelaxLength = "a maximum path length above %d";
inline constexpr const char* kRelaxLoad = "an article load limit above %d";
inline constexpr const char* kRelaxReferences = "a minimum of references below %d";
inline constexpr const char* kRelaxJoin = ", or ";
inline constexpr const char* kFilesWritten = "wrote %s in %s\n";

}  // namespace seedweave::messages
