// Reading SIG files: token grouping, PubMed ids, skipped records and unreadable files.
#include <gtest/gtest.h>

#include "store/sig_reader.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::sigLine;
using testing::TempDir;

struct Loaded {
  Network net;
  Output out;
};

std::unique_ptr<Loaded> read(const std::string& content, bool keepSelf = false) {
  TempDir dir;
  const std::string path = dir.write("in.sig", content);
  auto loaded = std::make_unique<Loaded>();
  readSigFile(path.c_str(), loaded->net, 0, keepSelf, loaded->out);
  return loaded;
}

TEST(SigReader, TokensGroupInThirteensWhateverTheLineBreaks) {
  const std::string one = "A a1 a2 a4 a3 B b1 b2 b4 b3 x Binding 12\n";
  const std::string twoOnOneLine = "A a1 a2 a4 a3 B b1 b2 b4 b3 x Binding 12 "
                                   "B NA NA NA NA C NA NA NA NA 0 T 13\n";
  const std::string overTwoLines = "A a1 a2 a4 a3 B\r\nb1 b2 b4 b3 x Binding 12\r\n";
  for (const std::string& text : {one, twoOnOneLine, overTwoLines}) {
    auto loaded = read(text);
    ASSERT_GE(loaded->net.interactionCount(), 1u);
    const INTERACTOR& a = loaded->net.node(0);
    EXPECT_EQ(loaded->net.text(a.attr3), "a3");  // column 5 goes to attr3
    EXPECT_EQ(loaded->net.text(a.attr4), "a4");  // column 4 goes to attr4
    EXPECT_EQ(loaded->net.text(loaded->net.node(1).attr4), "b4");
    EXPECT_EQ(loaded->net.text(loaded->net.interaction(0).direction), "x");
  }
  EXPECT_EQ(read(twoOnOneLine)->net.interactionCount(), 2u);
}

TEST(SigReader, EmptyAndIncompleteInput) {
  EXPECT_EQ(read("")->net.interactionCount(), 0u);
  EXPECT_EQ(read(" \n\t\n")->net.nodeCount(), 0u);
  auto loaded = read(sigLine("A", "B", "0", "T", "1") + "C NA NA NA NA D NA NA NA NA 0 T\n");
  EXPECT_EQ(loaded->net.interactionCount(), 1u);
  EXPECT_EQ(loaded->net.nodeCount(), 2u);
  EXPECT_EQ(read(sigLine("A", "B", "0", "T", "1").substr(0, 20))->net.nodeCount(), 0u);
}

TEST(SigReader, PubMedIdsReadLikeAtoiAndMustBePositive) {
  EXPECT_EQ(parsePubMedId("123abc"), 123);
  EXPECT_EQ(parsePubMedId("+7"), 7);
  EXPECT_EQ(parsePubMedId("2147483647"), 2147483647);
  EXPECT_EQ(parsePubMedId("2147483648"), std::nullopt);
  EXPECT_EQ(parsePubMedId("99999999999999999999"), std::nullopt);
  EXPECT_EQ(parsePubMedId("0"), std::nullopt);
  EXPECT_EQ(parsePubMedId("-5"), std::nullopt);
  EXPECT_EQ(parsePubMedId("abc"), std::nullopt);
  auto loaded = read(sigLine("A", "B", "0", "T", "0") + sigLine("C", "D", "0", "T", "-3") +
                     sigLine("E", "F", "0", "T", "x1") + sigLine("G", "H", "0", "T", "9e"));
  EXPECT_EQ(loaded->net.nodeCount(), 2u);  // only G and H: skipped records add no node
  EXPECT_EQ(loaded->net.getInteractorFromHash("A"), none);
  EXPECT_EQ(loaded->net.interaction(0).pmids[0].pmid, 9);
}

TEST(SigReader, SelfInteractionsOnlyWhenKept) {
  const std::string text = sigLine("A", "A", "0", "T", "1");
  EXPECT_EQ(read(text)->net.nodeCount(), 0u);
  auto kept = read(text, true);
  ASSERT_EQ(kept->net.interactionCount(), 1u);
  EXPECT_EQ(kept->net.node(0).interactionCount, 2);
}

TEST(SigReader, OverlongFieldsSkipTheirRecord) {
  const std::string longest(199, 'n');
  const std::string tooLong(200, 'n');
  auto loaded = read(sigLine(longest, "B", "0", "T", "1") + sigLine(tooLong, "C", "0", "T", "2") +
                     sigLine("D", "E", "0", tooLong + tooLong, "3") + sigLine("F", "G", "0", "T", "4"));
  EXPECT_EQ(loaded->net.interactionCount(), 2u);
  EXPECT_NE(loaded->net.getInteractorFromHash(longest), none);
  EXPECT_EQ(loaded->net.getInteractorFromHash("D"), none);
  EXPECT_NE(loaded->out.captured().find("Skipped 2 records of "), std::string::npos);
  EXPECT_NE(loaded->out.captured().find(" with a field longer than 199 characters.\n"),
            std::string::npos);
}

TEST(SigReader, UnreadablePathsAreReported) {
  TempDir dir;
  Network net;
  Output out;
  const std::string missing = (dir.path() / "missing.sig").string();
  readSigFile(missing.c_str(), net, 0, false, out);
  const std::string folder = dir.path().string();
  readSigFile(folder.c_str(), net, 1, false, out);
  EXPECT_EQ(out.captured(), "Could not open " + missing + " for reading.\nCould not open " +
                                folder + " for reading.\n");
}

}  // namespace
}  // namespace seedweave
