// The SIG and SIF writers, plain and filtered, and the result-file class.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "export/output_file.hpp"
#include "export/sig_writers.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::loadNetwork;
using testing::sigLine;
using testing::TempDir;

// What a writer puts on a stream, captured in memory.
std::string written(const std::function<void(std::FILE*)>& write) {
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* stream = ::open_memstream(&data, &size);
  write(stream);
  std::fclose(stream);
  std::string text(data, size);
  std::free(data);
  return text;
}

SubnetworkTable tableOf(const Network& network, const std::vector<InteractionId>& ids) {
  SubnetworkTable table(network);
  for (InteractionId id : ids) table.addInteractionToIntHash(id);
  return table;
}

std::string sig(const Network& net, const SubnetworkTable& table) {
  return written([&](std::FILE* s) { intHashToSig(s, net, table); });
}
std::string sif(const Network& net, const SubnetworkTable& table) {
  return written([&](std::FILE* s) { intHashToSif(s, net, table); });
}
std::string sigFiltered(const Network& net, const SubnetworkTable& table, int m, int load) {
  return written([&](std::FILE* s) { intHashToSigFiltered(s, net, table, m, load); });
}
std::string sifFiltered(const Network& net, const SubnetworkTable& table, int m, int load) {
  return written([&](std::FILE* s) { intHashToSifFiltered(s, net, table, m, load); });
}

TEST(SigWriters, EmptyTableWritesNoBytes) {
  const Network net = loadNetwork({sigLine("A", "B", "0", "T", "1")});
  const SubnetworkTable empty(net);
  EXPECT_EQ(sig(net, empty), "");
  EXPECT_EQ(sif(net, empty), "");
  EXPECT_EQ(sigFiltered(net, empty, 0, 5), "");
  EXPECT_EQ(sifFiltered(net, empty, 1, 5), "");
}

TEST(SigWriters, LinePerCitationInReaderColumnsAndReadsBackTheSame) {
  const std::string record = "A a1 a2 a3 a4 B b1 b2 b3 b4 x Binding ";
  const Network net = loadNetwork({record + "30\n" + record + "10\n" + record + "20\n" +
                                   sigLine("A", "C", "0", "Colocalization", "7")});
  const SubnetworkTable table = tableOf(net, {0, 1});
  const std::string expected = record + "10\n" + record + "20\n" + record + "30\n" +
                               "A a1 a2 a3 a4 C NA NA NA NA 0 Colocalization 7\n";
  EXPECT_EQ(sig(net, table), expected);
  EXPECT_EQ(sif(net, table), "A\tBinding\tB\nA\tColocalization\tC\n");

  const Network reread = loadNetwork({expected});
  EXPECT_EQ(sig(reread, tableOf(reread, {0, 1})), expected);
}

TEST(SigWriters, TablesComeOutByBucketOfTheFirstEndThenCreation) {
  // Buckets: "abc" 5963, "A" 7638, "B" 7639, "C" 7640. The first interaction is stored as
  // (A, C) and later turned to (C, A): it then belongs to C's bucket, after B's.
  const Network net =
      loadNetwork({sigLine("A", "C", "0", "T", "1") + sigLine("B", "Z", "x", "T", "2") +
                   sigLine("abc", "Y", "x", "T", "3") + sigLine("C", "A", "x", "T", "4")});
  EXPECT_EQ(sif(net, tableOf(net, {0, 1, 2})), "abc\tT\tY\nB\tT\tZ\nC\tT\tA\n");
}

// Article 100 is cited by six interactions (load 6), article 200 by two (load 2).
Network loadedArticles() {
  std::string text = sigLine("A", "B", "0", "T", "100") + sigLine("A", "B", "0", "T", "200") +
                     sigLine("P", "Q", "0", "T", "200");
  for (const char* other : {"C", "D", "E", "F", "G"}) text += sigLine("X", other, "0", "T", "100");
  return loadNetwork({text});
}

InteractionId interactionBetween(const Network& net, const char* a, const char* b) {
  return net.getInteractionFromInteractors(net.getInteractorFromHash(a),
                                           net.getInteractorFromHash(b));
}

TEST(SigWriters, FilteredKeepCitationsWithinTheLoadLimit) {
  const Network net = loadedArticles();
  const SubnetworkTable table = tableOf(net, {interactionBetween(net, "A", "B")});
  const std::string line200 = "A NA NA NA NA B NA NA NA NA 0 T 200\n";

  EXPECT_EQ(sigFiltered(net, table, 1, 5), line200);
  EXPECT_EQ(sifFiltered(net, table, 1, 5), "A\tT\tB\n");
  // Only one citation lies within the limit.
  EXPECT_EQ(sigFiltered(net, table, 2, 5), "");
  EXPECT_EQ(sifFiltered(net, table, 2, 5), "");
  // A load equal to the limit qualifies.
  EXPECT_EQ(sigFiltered(net, table, 2, 6), "A NA NA NA NA B NA NA NA NA 0 T 100\n" + line200);
  EXPECT_EQ(sifFiltered(net, table, 2, 6), "A\tT\tB\n");
  // No limit: every citation counts.
  EXPECT_EQ(sigFiltered(net, table, 2, 0), sig(net, table));
}

TEST(SigWriters, FilteredWriteNothingWhenNoCitationIsWithinTheLimit) {
  const Network net = loadedArticles();
  const SubnetworkTable table = tableOf(net, {interactionBetween(net, "X", "C")});
  EXPECT_EQ(sigFiltered(net, table, 0, 5), "");
  EXPECT_EQ(sifFiltered(net, table, 0, 5), "");
  EXPECT_EQ(sifFiltered(net, table, 0, 6), "X\tT\tC\n");
}

TEST(OutputFile, WritesAndClosesQuietly) {
  TempDir dir;
  Output out;
  OutputFile file;
  const std::string name = (dir.path() / "net.sif").string();
  ASSERT_TRUE(file.open(name, out));
  std::fputs("A\tT\tB\n", file.stream());
  EXPECT_TRUE(file.close(out));
  EXPECT_FALSE(file.isOpen());
  EXPECT_EQ(dir.read("net.sif"), "A\tT\tB\n");
  EXPECT_EQ(out.captured(), "");
}

TEST(OutputFile, ReportsFilesThatCannotBeOpenedOrWrittenCompletely) {
  Output out;
  OutputFile missingFolder;
  EXPECT_FALSE(missingFolder.open("no-such-folder/net.sig", out));
  EXPECT_EQ(out.takeCaptured(), "Could not open no-such-folder/net.sig for writing.\n");

  OutputFile full;  // every write to /dev/full fails as on a full disk
  ASSERT_TRUE(full.open("/dev/full", out));
  std::fputs("A\tT\tB\n", full.stream());
  EXPECT_FALSE(full.close(out));
  EXPECT_EQ(out.captured(), "Could not write /dev/full completely.\n");
}

TEST(OutputFile, RemovesOnlyAFileItCreated) {
  TempDir dir;
  Output out;
  const std::string fresh = (dir.path() / "fresh.sig").string();
  const std::string old = dir.write("old.sig", "kept\n");
  OutputFile created, replaced;
  ASSERT_TRUE(created.open(fresh, out));
  ASSERT_TRUE(replaced.open(old, out));
  created.removeFile();
  replaced.removeFile();
  EXPECT_FALSE(dir.exists("fresh.sig"));
  EXPECT_TRUE(dir.exists("old.sig"));
  EXPECT_EQ(out.captured(), "");
}

}  // namespace
}  // namespace seedweave
