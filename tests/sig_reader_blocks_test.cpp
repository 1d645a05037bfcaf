// Reading SIG files larger than one read block: records and tokens cut by a block boundary
// read exactly as when they lie inside a block, overlong tokens included.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "store/sig_reader.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::TempDir;

constexpr std::size_t kBlock = 1 << 20;  // the reader's block size

// Appends the words, each followed by one separator.
void appendWords(std::string& text, std::initializer_list<std::string_view> words, char separator) {
  for (std::string_view word : words) {
    text += word;
    text += separator;
  }
}

// Records with tokens of many lengths, so that boundaries fall at every kind of place.
std::string manyRecords(std::size_t minimumBytes) {
  std::string text;
  for (int r = 0; text.size() < minimumBytes; ++r) {
    const std::string a = 'N' + std::to_string(r % 5000);
    const std::string b = 'M' + std::to_string(r % 3001);
    const std::string attr(static_cast<std::size_t>(1 + r % 23), static_cast<char>('a' + r % 26));
    appendWords(text, {a, attr, "NA", attr, attr, b, "b1", "b2", "b4", attr}, r % 2 ? ' ' : '\t');
    if (r % 7 == 0) text += "\r\n";
    appendWords(text, {r % 3 == 0 ? "0" : "d", std::to_string(r % 11), std::to_string(1 + r % 977)},
                ' ');
    text += '\n';
  }
  return text;
}

// Everything the store holds, written out for comparison.
std::string describe(const Network& net) {
  std::string text;
  for (std::size_t id = 0; id < net.nodeCount(); ++id) {
    const INTERACTOR& node = net.node(static_cast<NodeId>(id));
    for (TextId field : {node.name, node.attr1, node.attr2, node.attr3, node.attr4}) {
      appendWords(text, {net.text(field)}, ' ');
    }
    text += '\n';
  }
  for (std::size_t id = 0; id < net.interactionCount(); ++id) {
    const INTERACTION& i = net.interaction(static_cast<InteractionId>(id));
    appendWords(text,
                {std::to_string(i.first), std::to_string(i.second), net.text(i.direction),
                 net.text(i.type)},
                ' ');
    for (const PMIDLIST& citation : i.pmids)
      appendWords(text, {std::to_string(citation.pmid)}, ' ');
    text += '\n';
  }
  return text;
}

std::string load(const TempDir& dir, const std::string& content, std::string* printed = nullptr) {
  const std::string path = dir.write("big.sig", content);
  Network net;
  Output out;
  readSigFile(path.c_str(), net, 0, false, out);
  if (printed != nullptr) *printed = out.captured();
  return describe(net);
}

TEST(SigReaderBlocks, BoundaryAnywhereInARecordChangesNothing) {
  TempDir dir;
  // Over two blocks, so that the second read overwrites the whole first block.
  const std::string records = manyRecords(2 * kBlock + kBlock / 2);
  // The same records behind 0 to 40 bytes of leading white space: the block boundary then
  // falls between tokens, inside tokens of every column, and on white space.
  const std::string expected = load(dir, records);
  for (std::size_t shift = 1; shift <= 40; ++shift) {
    // Compared as a whole: a diff of two megabyte texts would take too long to print.
    EXPECT_TRUE(load(dir, std::string(shift, ' ') + records) == expected) << "shift " << shift;
  }
}

TEST(SigReaderBlocks, ExactlySixBytesAreWhiteSpace) {
  TempDir dir;
  for (int value = 0; value < 256; ++value) {
    const char byte = static_cast<char>(value);
    const bool space = std::string_view(" \t\n\r\v\f").find(byte) != std::string_view::npos;
    // Shifted so that the byte takes every place in an eight-byte word and a 64-byte window.
    // Column 13 holds a valid PubMed id whether or not the byte splits the first token.
    std::string content(static_cast<std::size_t>(value % 64), ' ');
    content += 'A';
    content += byte;
    content += "Z a2 a3 a4 a5 B b2 b3 b4 b5 0 7 7\n";
    const std::string path = dir.write("byte.sig", content);
    Network net;
    Output out;
    readSigFile(path.c_str(), net, 0, false, out);
    ASSERT_EQ(net.nodeCount(), 2u) << value;
    const std::string joined{'A', byte, 'Z'};
    EXPECT_EQ(net.text(net.node(0).name), space ? "A" : joined) << value;
  }
}

TEST(SigReaderBlocks, OverlongTokenAcrossTheBoundaryDropsOnlyItsRecord) {
  TempDir dir;
  const std::string fill = manyRecords(kBlock - 400);
  const std::string after = "P NA NA NA NA Q NA NA NA NA 0 T 5\n";
  for (std::size_t length : {199u, 200u, 5000u}) {
    const std::string token(length, 'z');
    // Pad so that the long token starts 100 bytes before the boundary.
    const std::string head = fill + std::string(kBlock - 100 - fill.size() - 2, ' ') + "A ";
    const std::string content = head + token + " NA NA NA B NA NA NA NA 0 T 4\n" + after;
    std::string printed;
    const std::string loaded = load(dir, content, &printed);
    const bool kept = length <= 199;
    EXPECT_EQ(loaded.find("A " + token + " ") != std::string::npos, kept) << length;
    EXPECT_NE(loaded.find("P NA NA NA NA \n"), std::string::npos) << length;
    EXPECT_EQ(printed.empty(), kept) << length;
  }
}

}  // namespace
}  // namespace seedweave
