// The SIG and SIF writers, plain and filtered, and the result-file class.
#include <gtest/gtest.h>

#include <functional>

#include "export/output_file.hpp"
#include "export/sig_writers.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::loadNetwork;
using testing::sigLine;
using testing::TempDir;
using TableWriter = std::function<void(std::FILE*, const Network&, const SubnetworkTable&)>;

// What a table writer puts on a stream, for the interactions listed in that order.
std::string written(const TableWriter& writer, const Network& net,
                    const std::vector<InteractionId>& ids) {
  SubnetworkTable table(net);
  for (InteractionId id : ids) table.addInteractionToIntHash(id);
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* stream = ::open_memstream(&data, &size);
  writer(stream, net, table);
  std::fclose(stream);
  std::string text(data, size);
  std::free(data);
  return text;
}

TableWriter filteredSig(int minReferences, int maxArticleLoad) {
  return [=](std::FILE* s, const Network& n, const SubnetworkTable& t) {
    intHashToSigFiltered(s, n, t, minReferences, maxArticleLoad);
  };
}
TableWriter filteredSif(int minReferences, int maxArticleLoad) {
  return [=](std::FILE* s, const Network& n, const SubnetworkTable& t) {
    intHashToSifFiltered(s, n, t, minReferences, maxArticleLoad);
  };
}

TEST(SigWriters, LinePerCitationInReaderColumnsAndReadsBackTheSame) {
  const std::string record = "A a1 a2 a3 a4 B b1 b2 b3 b4 x Binding ";
  const Network net = loadNetwork({record + "30\n" + record + "10\n" + record + "20\n" +
                                   sigLine("A", "C", "0", "Colocalization", "7")});
  const std::string expected = record + "10\n" + record + "20\n" + record + "30\n" +
                               "A a1 a2 a3 a4 C NA NA NA NA 0 Colocalization 7\n";
  EXPECT_EQ(written(intHashToSig, net, {0, 1}), expected);
  EXPECT_EQ(written(intHashToSif, net, {0, 1}), "A\tBinding\tB\nA\tColocalization\tC\n");
  EXPECT_EQ(written(intHashToSig, loadNetwork({expected}), {0, 1}), expected);
  for (const TableWriter& writer : {TableWriter(intHashToSig), TableWriter(intHashToSif),
                                    filteredSig(0, 5), filteredSif(0, 5)}) {
    EXPECT_EQ(written(writer, net, {}), "");
  }
}

TEST(SigWriters, TablesComeOutByBucketOfTheFirstEndThenCreation) {
  // Buckets: "abc" 5963, "A" 7638, "B" 7639, "C" 7640. The first interaction is stored as
  // (A, C) and later turned to (C, A): it then belongs to C's bucket, after B's.
  const Network net =
      loadNetwork({sigLine("A", "C", "0", "T", "1") + sigLine("B", "Z", "x", "T", "2") +
                   sigLine("abc", "Y", "x", "T", "3") + sigLine("C", "A", "x", "T", "4")});
  EXPECT_EQ(written(intHashToSif, net, {0, 1, 2}), "abc\tT\tY\nB\tT\tZ\nC\tT\tA\n");
}

TEST(SigWriters, FilteredKeepOnlyCitationsWithinTheLoadLimit) {
  // Article 100 is cited by six interactions (load 6), article 200 by two (load 2).
  std::string text = sigLine("A", "B", "0", "T", "100") + sigLine("A", "B", "0", "T", "200") +
                     sigLine("P", "Q", "0", "T", "200");
  for (const char* other : {"C", "D", "E", "F", "G"}) text += sigLine("X", other, "0", "T", "100");
  const Network net = loadNetwork({text});
  const std::string line100 = "A NA NA NA NA B NA NA NA NA 0 T 100\n";
  const std::string line200 = "A NA NA NA NA B NA NA NA NA 0 T 200\n";
  const InteractionId ab = 0, xc = 2;

  EXPECT_EQ(written(filteredSig(1, 5), net, {ab}), line200);
  EXPECT_EQ(written(filteredSif(1, 5), net, {ab}), "A\tT\tB\n");
  EXPECT_EQ(written(filteredSig(2, 5), net, {ab}), "");  // one citation within the limit
  EXPECT_EQ(written(filteredSif(2, 5), net, {ab}), "");
  EXPECT_EQ(written(filteredSig(2, 6), net, {ab}), line100 + line200);  // equal qualifies
  EXPECT_EQ(written(filteredSig(2, 0), net, {ab}), line100 + line200);  // no limit
  EXPECT_EQ(written(filteredSig(0, 5), net, {xc}), "");  // nothing within: no line at all
  EXPECT_EQ(written(filteredSif(0, 5), net, {xc}), "");
  EXPECT_EQ(written(filteredSif(0, 6), net, {xc}), "X\tT\tC\n");
}

TEST(OutputFile, ReportsFilesThatCannotBeOpenedOrWrittenCompletely) {
  TempDir dir;
  Output out;
  OutputFile good;
  ASSERT_TRUE(good.open((dir.path() / "net.sif").string(), out));
  std::fputs("A\tT\tB\n", good.stream());
  EXPECT_TRUE(good.close(out));
  EXPECT_EQ(dir.read("net.sif"), "A\tT\tB\n");

  OutputFile missingFolder;
  EXPECT_FALSE(missingFolder.open("no-such-folder/net.sig", out));
  OutputFile full;  // every write to /dev/full fails as on a full disk
  ASSERT_TRUE(full.open("/dev/full", out));
  std::fputs("A\tT\tB\n", full.stream());
  EXPECT_FALSE(full.close(out));
  EXPECT_EQ(out.captured(),
            "Could not open no-such-folder/net.sig for writing.\n"
            "Could not write /dev/full completely.\n");
}

TEST(OutputFile, RemovesOnlyAFileItCreated) {
  TempDir dir;
  Output out;
  OutputFile created, replaced;
  ASSERT_TRUE(created.open((dir.path() / "fresh.sig").string(), out));
  ASSERT_TRUE(replaced.open(dir.write("old.sig", "kept\n"), out));
  created.removeFile();
  replaced.removeFile();
  EXPECT_FALSE(dir.exists("fresh.sig"));
  EXPECT_TRUE(dir.exists("old.sig"));
}

}  // namespace
}  // namespace seedweave
