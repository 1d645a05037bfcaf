// The filtered SIG and SIF writers, and the result-file class. The order of the lines and
// the plain writers are checked by the recorded session merge_rules. Replacing a file
// only when it is complete is checked by whole runs in failure_safety_test.
#include <gtest/gtest.h>

#include <filesystem>

#include "export/output_file.hpp"
#include "export/sig_writers.hpp"
#include "report_capture.hpp"
#include "test_support.hpp"

namespace seedweave {
namespace {

using testing::loadNetwork;
using testing::sigLine;

// The filtered SIG or SIF text of the listed interactions, in that order.
std::string written(const Network& net, const std::vector<InteractionId>& ids, bool sif,
                    int minReferences, int maxArticleLoad) {
  SubnetworkTable table(net);
  for (InteractionId id : ids) table.addInteractionToIntHash(id);
  return testing::writtenBy([&](std::FILE* f) {
    (sif ? intHashToSifFiltered : intHashToSigFiltered)(f, net, table, minReferences,
                                                        maxArticleLoad);
  });
}

TEST(SigWriters, FilteredKeepOnlyCitationsWithinTheLoadLimit) {
  // Article 100 is cited by six interactions (load 6), article 200 by two (load 2).
  const std::string ab100 = sigLine("A", "B", "0", "T", "100"),
                    ab200 = sigLine("A", "B", "0", "T", "200");
  std::string text = ab100 + ab200 + sigLine("P", "Q", "0", "T", "200");
  for (const char* other : {"C", "D", "E", "F", "G"}) text += sigLine("X", other, "0", "T", "100");
  const Network net = loadNetwork({text});
  struct Case {
    InteractionId id;  // 0 is A-B, 2 is X-C
    int minReferences, maxArticleLoad;
    std::string sig, sif;
  };
  for (const Case& c : std::vector<Case>{
           {0, 1, 5, ab200, "A\tT\tB\n"},
           {0, 2, 5, "", ""},                      // one citation within the limit
           {0, 2, 6, ab100 + ab200, "A\tT\tB\n"},  // a load equal to the limit qualifies
           {0, 2, 0, ab100 + ab200, "A\tT\tB\n"},  // no limit
           {2, 0, 5, "", ""},                      // nothing within: no line at all
           {2, 0, 6, sigLine("X", "C", "0", "T", "100"), "X\tT\tC\n"}}) {
    SCOPED_TRACE(::testing::Message() << "m=" << c.minReferences << " L=" << c.maxArticleLoad);
    EXPECT_EQ(written(net, {c.id}, false, c.minReferences, c.maxArticleLoad), c.sig);
    EXPECT_EQ(written(net, {c.id}, true, c.minReferences, c.maxArticleLoad), c.sif);
  }
}

// A link's relative target is read from the link's own folder, not from the working one, an
// absolute one as it is, and the file replaced there keeps every permission bit. Defined before the
// refusal test, which records inputs by inode for the whole process: a later file may reuse one.
TEST(OutputFile, LinkWithRelativeTargetInAnotherFolderKeepsTheTargetsMode) {
  testing::TempDir dir;
  std::filesystem::create_directory(dir.path() / "sub");
  std::filesystem::permissions(dir.write("sub/real.sif", "old\n"), std::filesystem::perms(0751));
  std::filesystem::create_symlink("a", dir.path() / "sub" / "link.sif");
  std::filesystem::create_symlink(dir.path() / "sub" / "real.sif", dir.path() / "sub" / "a");
  Output out;
  OutputFile file;
  ASSERT_TRUE(file.open((dir.path() / "sub" / "link.sif").string(), out));
  std::fputs("new\n", file.stream());
  ASSERT_TRUE(file.close(out));
  EXPECT_EQ(dir.read("sub/real.sif"), "new\n");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "sub" / "link.sif"));
  EXPECT_EQ(std::filesystem::status(dir.path() / "sub" / "real.sif").permissions(),
            std::filesystem::perms(0751));
}

// At most 32 files are under way; closing, discarding or creating anew frees a file's place
// once only, and leaves no temporary file behind. A new file gets the mode open() gives it.
TEST(OutputFile, HoldsAtMost32FilesAndFreesEachPlaceOnce) {
  testing::TempDir dir;
  const auto path = [&](std::size_t i) { return (dir.path() / std::to_string(i)).string(); };
  Output out;
  OutputFile first, second;
  {
    std::vector<OutputFile> files(33);
    for (std::size_t i = 0; i < files.size(); ++i) {
      EXPECT_EQ(files[i].create(path(i)) == OutputFile::Opened::yes, i < 32) << i;
    }
    ASSERT_TRUE(files[0].close(out));
    files[1].discard();
    first.create(path(40));
    EXPECT_EQ(second.create(path(99) + "/missing"), OutputFile::Opened::refused);
    ASSERT_EQ(first.create(path(41)), OutputFile::Opened::yes);
    ASSERT_EQ(second.create(path(42)), OutputFile::Opened::yes);
  }
  EXPECT_TRUE(first.close(out) && second.close(out));
  EXPECT_EQ(std::filesystem::status(path(0)).permissions(),
            std::filesystem::status(dir.write("plain", "")).permissions());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 4);
}

// The recorded sessions cover links, loops, folders and over-long names.
TEST(OutputFile, RefusesInputsAndWhatItCannotWrite) {
  testing::TempDir dir;
  protectInputFile(dir.write("input.sig", "data\n").c_str());
  std::filesystem::create_hard_link(dir.path() / "input.sig", dir.path() / "copy.sif");
  for (const auto& [name, expected] : std::vector<std::pair<std::string, OutputFile::Opened>>{
           {"no-such-folder/net.sig", OutputFile::Opened::refused},
           {"input.sig", OutputFile::Opened::input},
           {"copy.sif", OutputFile::Opened::input}}) {
    OutputFile file;
    EXPECT_EQ(file.create((dir.path() / name).string()), expected) << name;
  }
  EXPECT_EQ(dir.read("input.sig"), "data\n");
  if (!testing::kOnLinux) return;  // /dev/full is Linux-only
  Output out;
  OutputFile full;  // every write fails as on a full disk
  ASSERT_TRUE(full.open("/dev/full", out));
  std::fputs("A\tT\tB\n", full.stream());
  EXPECT_FALSE(full.close(out));
  EXPECT_EQ(out.captured(), "Could not write /dev/full completely.\n");
  EXPECT_TRUE(OutputFile::anyFailed());
}

}  // namespace
}  // namespace seedweave
