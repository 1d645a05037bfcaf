// Reading SIG files: token grouping, PubMed ids and skipped records; and reading in blocks,
// where records and tokens cut by a boundary must read unchanged. The recorded session
// sig_file_summaries checks what the summary of a file reports.
#include "store/sig_reader.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <sstream>
#include <utility>

#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::sigLine;
using testing::TempDir;

constexpr std::size_t kBlock = kSigBlockBytes;

// Everything the store holds: nodes with their attributes, then interactions with citations.
std::string describe(const Network& net) {
  std::ostringstream text;
  for (std::size_t id = 0; id < net.nodeCount(); ++id) {
    const INTERACTOR& node = net.node(static_cast<NodeId>(id));
    for (TextId field : {node.name, node.attr1, node.attr2, node.attr3, node.attr4}) {
      text << net.text(field) << ' ';
    }
    text << '\n';
  }
  for (std::size_t id = 0; id < net.interactionTotal(); ++id) {
    const INTERACTION& i = net.interaction(static_cast<InteractionId>(id));
    text << i.first << ' ' << i.second << ' ' << net.text(i.direction) << ' ' << net.text(i.type);
    for (const PMIDLIST& citation : i.pmids) text << ' ' << citation.pmid;
    text << '\n';
  }
  return text.str();
}

// The store after reading `content` as one file, and what the reader printed.
std::string load(const std::string& content, bool keepSelf = false,
                 std::string* printed = nullptr) {
  TempDir dir;
  const std::string path = dir.write("in.sig", content);
  NetworkBuilder builder;
  Output out;
  readSigFile(path.c_str(), builder, 0, keepSelf, out, ReadPlan{kBlock, false});
  if (printed != nullptr) {
    *printed = out.captured();
    for (std::size_t at; (at = printed->find(path)) != std::string::npos;) {
      printed->replace(at, path.size(), "in.sig");
    }
  }
  return describe(std::move(builder).build());
}

// Records are 13 tokens whatever the line breaks, and columns 4 and 5 go to attr4 and attr3.
// Records with a self-interaction or a PubMed id that is not positive are left out, and so,
// with a message, are those with an over-long field or a NUL byte. A byte order mark is
// skipped only at the very start.
TEST(SigReader, WhatIsStoredAndWhatIsSkipped) {
  const std::string nul(1, '\0');
  const std::string line = sigLine("A", "B", "0", "T", "1");
  const std::string ab = "A NA NA NA NA \nB NA NA NA NA \n0 1 0 T 1\n";
  const std::string attributes = "A a1 a2 a3 a4 \nB b1 b2 b3 b4 \n0 1 x Binding 12\n";
  const std::string z199(199, 'z');
  const std::string pq =
      sigLine("D", "E", "0", std::string(400, 't'), "3") + sigLine("P", "Q", "0", "T", "5");
  const std::string onlyPq = "P NA NA NA NA \nQ NA NA NA NA \n0 1 0 T 5\n";
  const auto skipped = [](int records, const std::string& why) {
    return "Skipped " + std::to_string(records) + " records of in.sig with " + why + ".\n";
  };
  const std::string tooLong = "a field longer than 199 characters";
  const std::string withNul = "a NUL byte in a field";
  struct Case {
    std::string content, stored, printed;
  };
  for (const Case& c : std::vector<Case>{
           {"A a1 a2 a4 a3 B b1 b2 b4 b3 x Binding 12\n", attributes, ""},
           {"A a1 a2 a4 a3 B\r\nb1 b2 b4 b3 x Binding 12\r\n", attributes, ""},
           {"A a1 a2 a4 a3 B b1 b2 b4 b3 x Binding 12 B NA NA NA NA C NA NA NA NA 0 T 13",
            "A a1 a2 a3 a4 \nB b1 b2 b3 b4 \nC NA NA NA NA \n0 1 x Binding 12\n1 2 0 T 13\n", ""},
           {sigLine("A", "A", "0", "T", "1"), "", ""},
           {sigLine("A", "B", "0", "T", "0") + sigLine("C", "D", "0", "T", "-3") +
                sigLine("E", "F", "0", "T", "x1") + sigLine("G", "H", "0", "T", "9e"),
            "G NA NA NA NA \nH NA NA NA NA \n0 1 0 T 9\n", ""},
           {sigLine(z199, "B", "0", "T", "4") + pq,
            z199 + " NA NA NA NA \nB NA NA NA NA \nP NA NA NA NA \nQ NA NA NA NA \n0 1 0 T 4\n2 3 "
                   "0 T 5\n",
            skipped(1, tooLong)},
           {sigLine(z199 + "z", "B", "0", "T", "4") + pq, onlyPq, skipped(2, tooLong)},
           {sigLine(std::string(5000, 'z'), "B", "0", "T", "4") + pq, onlyPq, skipped(2, tooLong)},
           {sigLine("A" + nul + "x", "C", "0", "T", "2") + line, ab, skipped(1, withNul)},
           {sigLine("A", "C", "0", "T", "2" + nul) + line, ab, skipped(1, withNul)},
           // An over-long field counts only as over-long.
           {sigLine(std::string(200, 'a') + nul, "C", "0", "T", "2") + line, ab,
            skipped(1, tooLong)},
           {"\xEF\xBB\xBF" + line, ab, ""},
           {"\xEF\xBB\xBF\n" + line, ab, ""},
           {" \xEF\xBB\xBF" + line, "\xEF\xBB\xBF" + ab, ""}}) {
    std::string printed;
    EXPECT_EQ(load(c.content, false, &printed), c.stored) << c.content.substr(0, 60);
    EXPECT_EQ(printed, c.printed);
  }
  EXPECT_EQ(load(sigLine("A", "A", "0", "T", "1"), true), "A NA NA NA NA \n0 0 0 T 1\n");
}

TEST(SigReader, PubMedIdsReadLikeAtoiAndMustBePositive) {
  EXPECT_EQ(parsePubMedId("123abc"), 123);
  EXPECT_EQ(parsePubMedId("+7"), 7);
  EXPECT_EQ(parsePubMedId("2147483647"), 2147483647);
  for (const char* bad : {"2147483648", "99999999999999999999", "0", "-5", "abc"})
    EXPECT_EQ(parsePubMedId(bad), std::nullopt) << bad;
}

TEST(SigReaderBlocks, ExactlySixBytesAreWhiteSpace) {
  for (int value = 0; value < 256; ++value) {
    const char byte = static_cast<char>(value);
    const bool space = std::string_view(" \t\n\r\v\f").find(byte) != std::string_view::npos;
    // Shifted so that the byte takes every place in an eight-byte word and a 64-byte window.
    // Column 13 holds a valid PubMed id whether or not the byte splits the first token.
    const std::string content = std::string(static_cast<std::size_t>(value % 64), ' ') + 'A' +
                                byte + "Z a2 a3 a4 a5 B b2 b3 b4 b5 0 7 7\n";
    const std::string loaded = load(content);
    if (value == 0) {  // a NUL byte in a field drops the record
      EXPECT_EQ(loaded, "");
      continue;
    }
    const std::string first = space ? "A" : std::string{'A', byte, 'Z'};
    EXPECT_EQ(loaded.substr(0, first.size() + 1), first + ' ') << value;
    EXPECT_EQ(std::count(loaded.begin(), loaded.end(), '\n'), 3) << value;
  }
}

// Everything a read leaves: the store, the messages and the summary.
std::string readWith(const std::string& path, bool keepSelf, const ReadPlan& plan) {
  NetworkBuilder builder;
  Output out;
  const SigFileSummary s = readSigFile(path.c_str(), builder, 0, keepSelf, out, plan);
  std::ostringstream text;
  text << describe(std::move(builder).build()) << out.captured() << s.readable << ' ' << s.records
       << ' ' << s.skippedRecords << ' ' << s.midLineRecords << ' ' << s.firstMidLineRecordLine
       << ' ' << s.trailingFields;
  return text.str();
}

// Random records (names from a small pool so that records merge; a few fields overlong, with
// a NUL byte or an invalid PubMed id; sometimes a byte order mark) under random white space,
// read in random blocks so that boundaries fall everywhere: with one thread or two, every
// record reaches the store in the same order, with the same messages and summary, as when the
// whole file is one block.
TEST(SigReaderBlocks, TwoThreadsLoadWhatOneLoads) {
  std::mt19937 random(20261208);
  const auto pick = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const std::array<std::string, 6> spaces{" ", "\t", "\n", "\r\n", "  \v", "\f "};
  for (int round = 0; round < 80; ++round) {
    std::string content = pick(0, 3) == 0 ? std::string(kByteOrderMark) : "";
    for (int token = pick(0, 13 * 150 + 12); token > 0; --token) {
      const int column = token % kSigColumns;
      if (column == 0 || column == 5) {
        content += 'N' + std::to_string(pick(0, 30));
      } else if (column == 12) {
        content += std::to_string(pick(-2, 60));
      } else {
        const int odd = pick(1, 150);
        content += odd == 1   ? std::string(230, 'x')
                   : odd == 2 ? std::string("a\0b", 3)
                              : std::string(static_cast<std::size_t>(pick(1, 12)),
                                            static_cast<char>('a' + column));
      }
      content += spaces[static_cast<std::size_t>(pick(0, 5))];
    }
    TempDir dir;
    const std::string path = dir.write("in.sig", content);
    const bool keepSelf = round % 2 == 0;
    // Blocks of a few bytes in a quarter of the rounds: some hold only white space.
    const auto block = static_cast<std::size_t>(round % 4 == 0 ? pick(1, 8) : pick(9, 700));
    const std::string expected = readWith(path, keepSelf, ReadPlan{kBlock, false});
    for (const ReadPlan plan :
         {ReadPlan{block, false}, ReadPlan{block, true}, ReadPlan{kBlock, true}}) {
      EXPECT_TRUE(readWith(path, keepSelf, plan) == expected)
          << "round " << round << ", block " << plan.blockBytes << ", two threads "
          << plan.twoThreads;
    }
  }
}

}  // namespace
}  // namespace seedweave
