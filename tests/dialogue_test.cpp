// Whole runs of the binary with a scripted standard input: the questions and their
// complaints, seed entry, the saved subnetwork, and the ends of a run.
#include <gtest/gtest.h>

#include <filesystem>

#include "driver/word_reader.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::runBinary;
using testing::RunResult;
using testing::sigLine;
using testing::TempDir;

// The texts below are written out in full on purpose: they are what users see.
const std::string kLoaded = "Initializing hashes...\nReading net.sig...\nCalculating tallies...\n";
const std::string kLengthPrompt =
    "\nWhat is the maximum path length (number of intermediates) you would like to use\n"
    "to make connections between your list of genes?\n"
    "A value of 1 will return only interactions between genes in your list.\n";
const std::string kLengthAgain =
    "\nWhat is the maximum path length (number of intermediates) you would like to use \n"
    "to make connections between your list of genes?\n"
    "A value of 1 will return only interactions between genes in your list.\n";
const std::string kLoadPrompt =
    "\nWould you like to filter components by excluding articles that\ncontributed to many "
    "interactions? (y/n)\n";
const std::string kLoadAgain =
    "\nWould you like to filter components by excluding articles that contributed to \nmany "
    "interactions? (y/n)\n";
const std::string kRefsPrompt =
    "\nWould you like to filter by\nincluding only those interactions that have at least a \n"
    "minimum number of articles reporting them? (y/n)\n";
const std::string kRefsRequest =
    "\nPlease give the minimum number of references for any individual interaction.\n"
    "0 or 1 will result in no filtering.\n";
const std::string kCliquesPrompt =
    "\nWould you like to save lists of cliques and first neighbors\n"
    "for each of the nodes in the seed list? (y/n)\n";
const std::string kNotThat = "\nI did not recognize that response.\n\n";
const std::string kSeedPrompt =
    "\nEnter a node name to add to your network seed.\n"
    "Alternately, enter a filename ending with .txt\n"
    "Enter a lone period when you're done adding to the seed.\n";
const std::string kNamePrompt = "\nPlease enter a name for the new subnetwork.\n";
const std::string kReportPrompt =
    "\nWould you like to generate a statistical report of the clustering significance \n"
    "of the genes, and the statistical significance of the intermediates? (y/n)\n";
const std::string kEnd = "Freeing network...\npreparing to loop through hashes...\n";
const std::string kSettingsNoNo = kLengthPrompt + kLoadPrompt + kRefsPrompt + kCliquesPrompt;
const std::string kConstructionL2 =
    "\nSearching for pathways between members of the seed list...\n"
    "\nPathways found. Extracting list of intermediary nodes...\n"
    "\nSearching for pathways between intermediary nodes and original set of nodes...\n"
    "\nSearching for pathways between intermediary nodes and each other...\n";

std::string added(const std::string& name) { return "\nAdding " + name + " to network seed...\n"; }

// A -- B -- C, and D alone with E. A-B is cited by a busy article (load 2 with D-E).
class Session : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.write("net.sig", sigLine("A", "B", "0", "Binding", "11") +
                              sigLine("B", "C", "0", "Binding", "12") +
                              sigLine("D", "E", "0", "Binding", "11"));
  }
  RunResult run(const std::string& input) { return runBinary(dir_.path(), {"net.sig"}, input); }
  TempDir dir_;
};

TEST_F(Session, CompleteRunSavesTheSubnetwork) {
  const RunResult result = run("2 n n n\nA C .\nnet1 n\n");
  EXPECT_EQ(result.output, kLoaded + kSettingsNoNo + kSeedPrompt + added("A") + kSeedPrompt +
                               added("C") + kSeedPrompt + kConstructionL2 + kNamePrompt +
                               "Saving new network as sig and sif files...\n" + kReportPrompt +
                               kEnd);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(dir_.read("net1.sig"),
            "A NA NA NA NA B NA NA NA NA 0 Binding 11\nB NA NA NA NA C NA NA NA NA 0 Binding 12\n");
  EXPECT_EQ(dir_.read("net1.sif"), "A\tBinding\tB\nB\tBinding\tC\n");
  EXPECT_FALSE(dir_.exists("net1_stats.txt"));
}

TEST_F(Session, RefusedAnswersRepeatTheirQuestions) {
  const RunResult result = run("0 -2 abc 7 Y 3abc Yes 5 n YES y abc Y n .\n");
  const std::string notThis = "\nI did not recognize this response.\n\n";
  const std::string tooLong =
      "\nPathways of size greater than six cannot be identified\n"
      "by this particular program. Please enter another value.\n\n";
  EXPECT_EQ(result.output,
            kLoaded + kLengthPrompt + notThis + kLengthAgain + notThis + kLengthAgain + notThis +
                kLengthAgain + tooLong + kLengthAgain + notThis + kLengthAgain +  // Y
                kLoadPrompt + kNotThat + kLoadAgain + kNotThat + kLoadAgain +     // Yes, 5
                kRefsPrompt + kNotThat + kRefsPrompt + kRefsRequest +             // YES, y abc
                kCliquesPrompt + kNotThat +
                "Would you like to save lists of cliques and first neighbors\n"
                "for each of the nodes in the seed list? (y/n)\n" +
                kSeedPrompt +
                "No proteins from the network files were entered. There are no "
                "pathways to find.\n" +
                kEnd);
}

TEST_F(Session, NumberRequestsOfTheFilters) {
  const RunResult result = run("1 y 0 -4 5 y -1 2 n A .");
  const std::string loadRequest =
      "\nPlease give the maximum number of interactions to\n"
      "allow from any particular article. (For example enter 5)\n";
  const std::string loadAgain = kNotThat +
                                "Please give the maximum number of interactions to\n"
                                "allow for any individual article.\n";
  EXPECT_EQ(result.output, kLoaded + kLengthPrompt + kLoadPrompt + loadRequest + loadAgain +
                               loadAgain + kRefsPrompt + kRefsRequest + kRefsRequest + kNotThat +
                               kCliquesPrompt + kSeedPrompt + added("A") + kSeedPrompt +
                               "Only one protein from the network files was entered. There are "
                               "no pathways to find.\n" +
                               kEnd);
}

TEST_F(Session, EndOfInputEndsTheRunCleanly) {
  const std::string ended = "\nEnd of input reached before the dialogue was complete.\n" + kEnd;
  EXPECT_EQ(run("").output, kLoaded + kLengthPrompt + ended);
  EXPECT_EQ(run("2 y").output, kLoaded + kLengthPrompt + kLoadPrompt +
                                   "\nPlease give the maximum number of interactions to\n"
                                   "allow from any particular article. (For example enter 5)\n" +
                                   ended);
  EXPECT_EQ(run("2 n n n A").output,
            kLoaded + kSettingsNoNo + kSeedPrompt + added("A") + kSeedPrompt + ended);
  const RunResult atName = run("2 n n n A C .");
  EXPECT_EQ(atName.output, kLoaded + kSettingsNoNo + kSeedPrompt + added("A") + kSeedPrompt +
                               added("C") + kSeedPrompt + kConstructionL2 + kNamePrompt + ended);
  EXPECT_EQ(atName.status, 1);
  const RunResult atReport = run("2 n n n A C . net2");
  EXPECT_TRUE(atReport.output.ends_with(kReportPrompt + ended));
  EXPECT_TRUE(dir_.exists("net2.sig"));
  EXPECT_FALSE(dir_.exists("net2_stats.txt"));
}

TEST_F(Session, SeedFiles) {
  dir_.write("genes.txt.old", "A\nX .\n");
  dir_.write(".txt", "C");
  dir_.write("empty.txt", "");
  const RunResult result = run("2 n n n genes.txt.old empty.txt missing.txt .txt .\nsub n\n");
  EXPECT_EQ(result.output, kLoaded + kSettingsNoNo + kSeedPrompt + added("A") +
                               "\nThere was no node named X found in the network.\n"
                               "\nThere was no node named . found in the network.\n" +
                               kSeedPrompt + kSeedPrompt + "File not found!\n" + kSeedPrompt +
                               added("C") + kSeedPrompt + kConstructionL2 + kNamePrompt +
                               "Saving new network as sig and sif files...\n" + kReportPrompt +
                               kEnd);
}

TEST_F(Session, SameSeedTwiceSearchesWithOneNode) {
  const RunResult result = run("2 n n n A A . solo n");
  EXPECT_EQ(result.output, kLoaded + kSettingsNoNo + kSeedPrompt + added("A") + kSeedPrompt +
                               added("A") + kSeedPrompt + kConstructionL2 + kNamePrompt +
                               "Saving new network as sig and sif files...\n" + kReportPrompt +
                               kEnd);
  EXPECT_EQ(dir_.read("solo.sig"), "");
  EXPECT_EQ(dir_.read("solo.sif"), "");
}

TEST_F(Session, NamesWithSlashesAreRefusedAndUnwritableNamesAskAgain) {
  std::filesystem::create_directory(dir_.path() / "taken.sif");
  std::filesystem::create_directory(dir_.path() / "kept.sif");
  dir_.write("kept.sig", "earlier\n");
  const RunResult result = run("1 n n n A B . net/1 net\\1 taken kept net1 n");
  const std::string illegal =
      "\nPlease give a name for the subnetwork that does not\n"
      "contain illegal characters for a file name.\n";
  EXPECT_EQ(result.output,
            kLoaded + kLengthPrompt + kLoadPrompt + kRefsPrompt + kCliquesPrompt + kSeedPrompt +
                added("A") + kSeedPrompt + added("B") + kSeedPrompt +
                "\nSearching for pathways between members of the seed list...\n"
                "Done searching for pathways...\n" +
                kNamePrompt + illegal + illegal + "Could not open taken.sif for writing.\n" +
                kNamePrompt + "Could not open kept.sif for writing.\n" + kNamePrompt +
                "Saving new network as sig and sif files...\n" + kReportPrompt + kEnd);
  EXPECT_FALSE(dir_.exists("taken.sig"));         // no trace of the refused name
  EXPECT_EQ(dir_.read("kept.sig"), "earlier\n");  // an existing file is not emptied
  EXPECT_EQ(dir_.read("net1.sif"), "A\tBinding\tB\n");
}

TEST_F(Session, LoadLimitChoosesTheFilteredWriters) {
  // Article 11 cites two interactions; under a load limit of 1 the search walks neither.
  const RunResult result = run("1 y 1 n n A B D E . filtered n");
  EXPECT_NE(result.output.find("Saving filtered network as sig and sif files...\n"),
            std::string::npos);
  EXPECT_EQ(dir_.read("filtered.sig"), "");
}

// A triangle A-B-U reported by two files; seeds A and B with cliques and the report on.
TEST(CliquesAndReport, TriangleSession) {
  TempDir dir;
  dir.write("a.sig", sigLine("A", "B", "0", "Binding", "1") +
                         sigLine("B", "U", "0", "Binding", "2") +
                         sigLine("U", "A", "0", "Binding", "3"));
  dir.write("b.sig", sigLine("A", "B", "0", "Binding", "1"));
  const RunResult result = runBinary(dir.path(), {"a.sig", "b.sig"}, "2 n n y A B . tri y");
  const std::string cliques =
      "Preparing to find cycles of up to size 3 originating from A.\n"
      "Saving cliques originating with A to file A-cliques.txt\n"
      "Saving neighbors of A to file A-neighbors.txt\n";
  EXPECT_NE(result.output.find(added("A") + cliques + kSeedPrompt), std::string::npos);
  EXPECT_EQ(dir.read("A-cliques.txt"),
            "A B 0 1 a.sig\nA B 0 1 b.sig\nB U 0 2 a.sig\nU A 0 3 a.sig\n\n"
            "U A 0 3 a.sig\nB U 0 2 a.sig\nA B 0 1 a.sig\nA B 0 1 b.sig\n\n");
  EXPECT_EQ(dir.read("A-neighbors.txt"), "A B 0 1 a.sig\nA B 0 1 b.sig\nU A 0 3 a.sig\n");
  EXPECT_EQ(dir.read("tri.sif"), "A\tBinding\tB\nB\tBinding\tU\nU\tBinding\tA\n");
  EXPECT_TRUE(result.output.ends_with(
      kReportPrompt +
      "Computing Characteristic Path Length between components...\n"
      "Computing Characteristic Path Length for A...\n"
      "Computing Characteristic Path Length for B...\n"
      "Performing K-means clustering with K=2...\nPerforming K-means clustering with K=3...\n"
      "Performing K-means clustering with K=4...\nPerforming K-means clustering with K=5...\n"
      "Performing K-means clustering with K=6...\n" +
      kEnd));
  std::string expected =
      "Clustering and significant intermediates analysis:\n"
      "Number of genes from your seed list: 2\n"
      "Number of intermediate components: 1\n"
      "Number of interactions in subnetwork created from seed list: 3\n"
      "Total components in the background network: 3\n"
      "Total interactions in the background network: 3\n"
      "\nSignificance of intermediates sorted by z-score:\n"
      "Gene name, links, links in background, links to seed, links in subnetwork, z-score\n"
      "U 2 3 2 3 NA\n"
      "<table><tr>\n<td>A</td><td>B</td></tr>\n"
      "<tr><td>A</td><td>1</td></tr>\n<tr><td>B</td><td></td></tr>\n</table>\n"
      "\nK-means clustering analysis\nK=1 nodes:2; pseudo CPL:1.00\n"
      "K=2\ncluster 1 CPL=NA nodes=1\nA \ncluster 2 CPL=NA nodes=1\nB \n\n";
  for (int k = 3; k <= 6; ++k) {
    expected += "K=" + std::to_string(k) + "\n";
    for (int c = 1; c < k; ++c) expected += "cluster " + std::to_string(c) + " CPL=NA nodes=0\n\n";
    expected += "cluster " + std::to_string(k) + " CPL=1.00 nodes=2\nA B \n\n";
  }
  EXPECT_EQ(dir.read("tri_stats.txt"), expected);
}

TEST(WordReader, WordsNumbersAndAnswers) {
  EXPECT_EQ(leadingNumber("3abc"), 3);
  EXPECT_EQ(leadingNumber("abc"), 0);
  EXPECT_EQ(leadingNumber("-2"), -2);
  EXPECT_EQ(leadingNumber("99999999999"), 2147483647);
  EXPECT_EQ(leadingNumber("-99999999999"), -2147483647 - 1);
  EXPECT_TRUE(isYes("yes"));
  EXPECT_FALSE(isYes("Y"));
  EXPECT_TRUE(isNo("n"));
  EXPECT_FALSE(isNo("No"));
  TempDir dir;
  const std::string longWord(5000, 'w');
  const std::string path = dir.write("words", "  one\ttwo\r\n" + longWord);
  std::FILE* file = std::fopen(path.c_str(), "r");
  WordReader reader(file);
  EXPECT_EQ(reader.next(), "one");
  EXPECT_EQ(reader.next(), "two");
  EXPECT_EQ(reader.next(), longWord);
  EXPECT_EQ(reader.next(), std::nullopt);
  std::fclose(file);
}

}  // namespace
}  // namespace seedweave
