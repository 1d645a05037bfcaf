// Reading SIG files: token grouping, PubMed ids and skipped records; and reading in blocks,
// where records and tokens cut by a boundary must read unchanged. The recorded session
// sig_file_summaries checks what the summary of a file reports.
#include "store/sig_reader.hpp"

#include <gtest/gtest.h>
#include <sched.h>

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

// Everything a read of `content` as the file in.sig leaves: the nodes with their attributes,
// the interactions with their citations, the messages and the summary (readable, records,
// skipped records, mid-line records, the first one's line, trailing fields).
std::string read(const std::string& content, bool keepSelf = false,
                 const ReadPlan& plan = ReadPlan{kSigBlockBytes, false}) {
  TempDir dir;
  const std::string path = dir.write("in.sig", content);
  NetworkBuilder builder;
  Output out;
  const SigFileSummary s = readSigFile(path.c_str(), builder, 0, keepSelf, out, plan);
  const Network net = std::move(builder).build();
  std::ostringstream text;
  for (std::size_t id = 0; id < net.nodeCount(); ++id) {
    const INTERACTOR& n = net.node(static_cast<NodeId>(id));
    for (TextId f : {n.name, n.attr1, n.attr2, n.attr3, n.attr4}) text << net.text(f) << ' ';
    text << '\n';
  }
  for (std::size_t id = 0; id < net.interactionTotal(); ++id) {
    const INTERACTION& i = net.interaction(static_cast<InteractionId>(id));
    text << i.first << ' ' << i.second << ' ' << net.text(i.direction) << ' ' << net.text(i.type);
    for (const PMIDLIST& citation : i.pmids) text << ' ' << citation.pmid;
    text << '\n';
  }
  std::string printed = out.captured();
  for (std::size_t at; (at = printed.find(path)) != std::string::npos;) {
    printed.replace(at, path.size(), "in.sig");
  }
  text << printed << s.readable << ' ' << s.records << ' ' << s.skippedRecords << ' '
       << s.midLineRecords << ' ' << s.firstMidLineRecordLine << ' ' << s.trailingFields;
  return text.str();
}

// Records are 13 tokens whatever the line breaks, and columns 4 and 5 go to attr4 and attr3.
// Records with a self-interaction or a PubMed id that is not positive are left out, and so,
// with a message, are those with an over-long field or a NUL byte. A byte order mark is
// skipped only at the very start. A file that cannot be opened reads as nothing.
TEST(SigReader, WhatIsStoredAndWhatIsSkipped) {
  const std::string nul(1, '\0');
  const std::string line = sigLine("A", "B", "0", "T", "1");
  const std::string ab = "A NA NA NA NA \nB NA NA NA NA \n0 1 0 T 1\n";
  const std::string attributes = "A a1 a2 a3 a4 \nB b1 b2 b3 b4 \n0 1 x Binding 12\n";
  const std::string z199(199, 'z');
  const std::string pq = sigLine("D", "E", "0", z199 + "t", "3") + sigLine("P", "Q", "0", "T", "5");
  const std::string onlyPq = "P NA NA NA NA \nQ NA NA NA NA \n0 1 0 T 5\n";
  const auto skipped = [](int records, const std::string& why) {
    return "Skipped " + std::to_string(records) + " records of in.sig with " + why + ".\n";
  };
  const char *tooLong = "a field longer than 199 characters", *withNul = "a NUL byte in a field";
  // The store, then the messages and the summary.
  for (const auto& [content, stored, printed] : std::vector<std::array<std::string, 3>>{
           {"A a1 a2 a4 a3 B b1 b2 b4 b3 x Binding 12\n", attributes, "1 1 0 0 0 0"},
           {"A a1 a2 a4 a3 B\r\nb1 b2 b4 b3 x Binding 12\r\n", attributes, "1 1 0 0 0 0"},
           // The second record begins mid-line; its 199-byte last field ends the file.
           {"A a1 a2 a4 a3 B b1 b2 b4 b3 x Binding 12 B NA NA NA NA C NA NA NA NA 0 T 13" +
                std::string(197, 'z'),
            "A a1 a2 a3 a4 \nB b1 b2 b3 b4 \nC NA NA NA NA \n0 1 x Binding 12\n1 2 0 T 13\n",
            "1 2 0 1 1 0"},
           {sigLine("A", "A", "0", "T", "1"), "", "1 1 1 0 0 0"},
           {sigLine("A", "B", "0", "T", "0") + sigLine("C", "D", "0", "T", "-3") +
                sigLine("E", "F", "0", "T", "x1") + sigLine("G", "H", "0", "T", "9e"),
            "G NA NA NA NA \nH NA NA NA NA \n0 1 0 T 9\n", "1 4 3 0 0 0"},
           {sigLine(z199, "B", "0", "T", "4") + pq,
            z199 + " NA NA NA NA \nB NA NA NA NA \nP NA NA NA NA \nQ NA NA NA NA \n0 1 0 T 4\n2 3 "
                   "0 T 5\n",
            skipped(1, tooLong) + "1 3 1 0 0 0"},
           {sigLine(z199 + "z", "B", "0", "T", "4") + pq, onlyPq,
            skipped(2, tooLong) + "1 3 2 0 0 0"},
           {sigLine("A" + nul + "x", "C", "0", "T", "2") + line, ab,
            skipped(1, withNul) + "1 2 1 0 0 0"},
           {sigLine("A", "C", "0", "T", "2" + nul) + line, ab, skipped(1, withNul) + "1 2 1 0 0 0"},
           // An over-long field counts only as over-long.
           {sigLine(std::string(200, 'a') + nul, "C", "0", "T", "2") + line, ab,
            skipped(1, tooLong) + "1 2 1 0 0 0"},
           {"\xEF\xBB\xBF" + line, ab, "1 1 0 0 0 0"},
           {"\xEF\xBB\xBF\n" + line, ab, "1 1 0 0 0 0"},
           {" \xEF\xBB\xBF" + line, "\xEF\xBB\xBF" + ab, "1 1 0 0 0 0"}}) {
    EXPECT_EQ(read(content), stored + printed) << content.substr(0, 60);
  }
  EXPECT_EQ(read(sigLine("A", "A", "0", "T", "1"), true), "A NA NA NA NA \n0 0 0 T 1\n1 1 0 0 0 0");
  NetworkBuilder builder;
  Output out;
  const SigFileSummary m = readSigFile("missing.sig", builder, 0, false, out);
  EXPECT_EQ(m.records + m.skippedRecords + m.midLineRecords + m.firstMidLineRecordLine, 0u);
  EXPECT_EQ(m.trailingFields, 0);
}

TEST(SigReader, PubMedIdsReadLikeAtoiAndMustBePositive) {
  EXPECT_EQ(parsePubMedId("123abc"), 123);
  EXPECT_EQ(parsePubMedId("+7"), 7);
  EXPECT_EQ(parsePubMedId("2147483647"), 2147483647);
  for (const char* bad : {"2147483648", "99999999999999999999", "0", "-5", "abc", ""})
    EXPECT_EQ(parsePubMedId(bad), std::nullopt) << bad;
}

// A run confined to one core reads on one thread, on two cores on two threads.
TEST(SigReader, ThreadsFollowTheUsableCores) {
  cpu_set_t allowed, chosen;
  ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
  CPU_ZERO(&chosen);
  for (int core = 0; core < CPU_SETSIZE && CPU_COUNT(&chosen) < 2; ++core) {
    if (!CPU_ISSET(core, &allowed)) continue;
    CPU_SET(core, &chosen);
    ASSERT_EQ(sched_setaffinity(0, sizeof chosen, &chosen), 0);
    EXPECT_EQ(ReadPlan{}.twoThreads, CPU_COUNT(&chosen) == 2);
  }
  sched_setaffinity(0, sizeof allowed, &allowed);
}

TEST(SigReaderBlocks, ExactlySixBytesAreWhiteSpace) {
  for (int value = 0; value < 256; ++value) {
    const char byte = static_cast<char>(value);
    const bool space = std::string_view(" \t\n\r\v\f").find(byte) != std::string_view::npos;
    // Shifted so that the byte takes every place in an eight-byte word and a 64-byte window.
    // Column 13 holds a valid PubMed id whether or not the byte splits the first token.
    const std::string loaded = read(std::string(static_cast<std::size_t>(value % 64), ' ') + 'A' +
                                    byte + "Z a2 a3 a4 a5 B b2 b3 b4 b5 0 7 7\n");
    // A NUL byte in a field drops the record, with a message.
    const std::string first = value == 0 ? "Skipped" : space ? "A" : std::string{'A', byte, 'Z'};
    EXPECT_EQ(loaded.substr(0, first.size() + 1), first + ' ') << value;
    EXPECT_EQ(std::count(loaded.begin(), loaded.end(), '\n'), value == 0 ? 1 : 3) << value;
  }
}

// Random records (names from a small pool so that records merge; a few fields overlong, with
// a NUL byte, a byte order mark or an invalid PubMed id; sometimes a byte order mark first)
// under random white space, in a third of the rounds none after the last record, read in
// random blocks so that boundaries fall everywhere: with one thread or two, every
// record reaches the store in the same order, with the same messages and summary, as when the
// whole file is one block.
TEST(SigReaderBlocks, TwoThreadsLoadWhatOneLoads) {
  testing::RandomNetworks random(20261208);
  const std::array<std::string, 6> spaces{" ", "\t", "\n", "\r\n", "  \v", "\f "};
  for (int round = 0; round < 80; ++round) {
    std::string content = random.pick(0, 3) == 0 ? std::string(kByteOrderMark) : "";
    const int tokens = 13 * random.pick(0, 150) + (round % 3 == 0 ? 0 : random.pick(0, 12));
    for (int token = 0; token < tokens; ++token) {
      const int column = token % kSigColumns;
      const int odd = random.pick(1, 150);
      content += column == 0 || column == 5 ? 'N' + std::to_string(random.pick(0, 30))
                 : column == 12             ? std::to_string(random.pick(-2, 60))
                 : odd == 1                 ? std::string(230, 'x')
                 : odd == 2                 ? std::string("a\0b", 3)
                 : odd == 3                 ? std::string(kByteOrderMark) + "c"
                            : std::string(std::size_t(random.pick(1, 12)), char('a' + column));
      if (token + 1 < tokens || round % 3 != 0) content += spaces[std::size_t(random.pick(0, 5))];
    }
    const bool keepSelf = round % 2 == 0;
    // Blocks of a few bytes in a quarter of the rounds: some hold only white space.
    const auto block =
        static_cast<std::size_t>(round % 4 == 0 ? random.pick(1, 8) : random.pick(9, 700));
    const std::string expected = read(content, keepSelf);
    for (const ReadPlan plan :
         {ReadPlan{block, false}, ReadPlan{block, true}, ReadPlan{kSigBlockBytes, true}}) {
      EXPECT_TRUE(read(content, keepSelf, plan) == expected)
          << "round " << round << ", block " << plan.blockBytes << ", threads " << plan.twoThreads;
    }
  }
}

}  // namespace
}  // namespace seedweave
