// Writes synthetic genome-scale SIG networks for the benchmarks.
//
//   generate_network dense|sparse OUTDIR
//   generate_network large NODES PAIRS OUTDIR
//   generate_network star LEAVES OUTDIR
//
// The first two write OUTDIR/PROFILE-1.sig to PROFILE-3.sig, one file per source database;
// `large` does the same for a network of the given size, as OUTDIR/large-NODES-PAIRS-1.sig to
// -3.sig; `star` writes OUTDIR/star-LEAVES.sig, one hub joined to LEAVES other genes and
// nothing else. Each prints a one-line summary. The output depends only on the profile: every
// random choice comes from a hand-written generator with a fixed seed and integer arithmetic, so
// the bytes are the same on every platform and standard library.
//
// The networks imitate curated interaction databases: heavy-tailed node degrees (a weight per
// gene falling like 1/sqrt(rank)), heavy-tailed article loads (a few high-throughput articles
// citing tens of thousands of interactions, most citing one to five), pairs reported by
// several files, directed pairs reported in both orientations, mixed interaction types and
// about 30% "NA" attributes.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace {

struct Profile {
  std::string name;
  int genes;
  int pairs;
};

const Profile kDense{"dense", 25000, 700000};
const Profile kSparse{"sparse", 25000, 130000};
constexpr int kFiles = 3;

// splitmix64: small, fast and defined bit for bit, unlike the standard distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  // A value in [0, bound), by the multiply-shift map.
  std::uint64_t below(std::uint64_t bound) {
    return static_cast<std::uint64_t>((static_cast<unsigned __int128>(next()) * bound) >> 64);
  }
  bool perMille(int chance) { return below(1000) < static_cast<std::uint64_t>(chance); }
  // An index into `weights`, chosen with probability proportional to its weight.
  template <std::size_t N>
  std::size_t weighted(const std::array<int, N>& weights) {
    int total = 0;
    for (int w : weights) total += w;
    auto pick = static_cast<int>(below(static_cast<std::uint64_t>(total)));
    for (std::size_t i = 0; i < N; ++i) {
      if (pick < weights[i]) return i;
      pick -= weights[i];
    }
    return N - 1;
  }

 private:
  std::uint64_t state_;
};

// --- Genes -------------------------------------------------------------------------------

constexpr std::array<std::string_view, 8> kGeneClasses{
    "kinase", "phosphatase", "receptor", "ligand", "adaptor", "enzyme", "transporter", "other"};
constexpr std::array<std::string_view, 5> kLocations{"nucleus", "cytoplasm", "membrane",
                                                     "extracellular", "mitochondrion"};

struct Gene {
  std::string name;
  std::string accession;
  std::string_view geneClass;
  std::string_view location;
};

std::vector<Gene> makeGenes(int count, Random& random) {
  std::vector<Gene> genes(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    Gene& gene = genes[static_cast<std::size_t>(i)];
    // Three letters for variety, the index for uniqueness.
    for (int letter = 0; letter < 3; ++letter)
      gene.name += static_cast<char>('A' + random.below(26));
    gene.name += std::to_string(i + 1);
    gene.accession = 'Q';
    gene.accession += std::to_string(100000 + i * 7 + static_cast<int>(random.below(7)));
    gene.geneClass = kGeneClasses[random.below(kGeneClasses.size())];
    gene.location = kLocations[random.below(kLocations.size())];
  }
  return genes;
}

// Cumulative sampling weights: the gene of rank r weighs 1/sqrt(r + 2), ranks shuffled over
// the genes. With ~25,000 genes the top hub gets about 55 times the mean degree.
std::vector<std::uint64_t> degreeWeights(int count, Random& random) {
  std::vector<std::uint64_t> weight(static_cast<std::size_t>(count));
  for (int rank = 0; rank < count; ++rank) {
    weight[static_cast<std::size_t>(rank)] =
        static_cast<std::uint64_t>(1e9 / std::sqrt(static_cast<double>(rank + 2)));
  }
  for (std::size_t i = weight.size() - 1; i > 0; --i)
    std::swap(weight[i], weight[random.below(i + 1)]);
  std::vector<std::uint64_t> cumulative(weight.size());
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < weight.size(); ++i) cumulative[i] = sum += weight[i];
  return cumulative;
}

int sampleGene(const std::vector<std::uint64_t>& cumulative, Random& random) {
  const std::uint64_t target = random.below(cumulative.back());
  return static_cast<int>(std::upper_bound(cumulative.begin(), cumulative.end(), target) -
                          cumulative.begin());
}

// --- Pairs -------------------------------------------------------------------------------

struct Pair {
  int a;
  int b;
};

// Distinct unordered pairs, ends drawn by degree weight, in the order they were drawn.
std::vector<Pair> makePairs(const Profile& profile, Random& random) {
  const std::vector<std::uint64_t> cumulative = degreeWeights(profile.genes, random);
  std::vector<Pair> pairs;
  pairs.reserve(static_cast<std::size_t>(profile.pairs));
  std::unordered_set<std::uint64_t> seen;
  seen.reserve(static_cast<std::size_t>(profile.pairs) * 2);
  while (pairs.size() < static_cast<std::size_t>(profile.pairs)) {
    const int a = sampleGene(cumulative, random);
    const int b = sampleGene(cumulative, random);
    if (a == b) continue;
    const auto key = (static_cast<std::uint64_t>(std::min(a, b)) << 32) |
                     static_cast<std::uint64_t>(std::max(a, b));
    if (seen.insert(key).second) pairs.push_back({a, b});
  }
  return pairs;
}

// --- Articles ----------------------------------------------------------------------------

// Hands out the articles cited by interactions: about 11% of citations go to six
// high-throughput articles, 11% to a pool of mid-sized articles (about 150 citations each),
// the rest to small articles citing one to five interactions each.
class Articles {
 public:
  Articles(std::size_t expectedCitations, Random& random)
      : random_(random),
        mediumCount_(std::max<std::uint64_t>(1, expectedCitations * 11 / 100 / 150)),
        nextSmall_(kLargeWeights.size() + mediumCount_) {}

  std::int32_t draw() {
    const std::uint64_t roll = random_.below(1000);
    if (roll < 110) return pubMedId(random_.weighted(kLargeWeights));
    if (roll < 220) return pubMedId(kLargeWeights.size() + random_.below(mediumCount_));
    if (smallLeft_ == 0) {
      smallCurrent_ = nextSmall_++;
      smallLeft_ = static_cast<int>(random_.weighted(kSmallSizes)) + 1;
    }
    --smallLeft_;
    return pubMedId(smallCurrent_);
  }

 private:
  static constexpr std::array<int, 6> kLargeWeights{40, 25, 15, 10, 6, 4};
  // Weights of small articles citing 1, 2, 3, 4 and 5 interactions.
  static constexpr std::array<int, 5> kSmallSizes{50, 20, 15, 10, 5};

  // Scatters article indices over 8-digit ids; odd multiplication is a bijection mod 2^25.
  static std::int32_t pubMedId(std::uint64_t article) {
    return static_cast<std::int32_t>(1000000 + ((article * 2654435761ULL) & ((1u << 25) - 1)));
  }

  Random& random_;
  const std::uint64_t mediumCount_;
  std::uint64_t nextSmall_;
  std::uint64_t smallCurrent_ = 0;
  int smallLeft_ = 0;
};

// --- Records -----------------------------------------------------------------------------

constexpr std::array<std::string_view, 11> kTypes{
    "Binding",     "Colocalization", "Phosphorylation",   "Activation",
    "Inhibition",  "Ubiquitination", "Dephosphorylation", "Acetylation",
    "Methylation", "Cleavage",       "Expression"};
constexpr std::array<int, 11> kTypeWeights{45, 10, 12, 8, 6, 4, 3, 3, 2, 2, 5};
constexpr std::array<std::string_view, 3> kDirections{"1", "activates", "inhibits"};

struct Record {
  int first;
  int second;
  std::uint8_t direction;  // 0 = "0", otherwise 1 + index into kDirections
  std::uint8_t type;
  std::int32_t pmid;
};

struct PairPlan {
  int citationCount;
  std::array<int, kFiles> files;
  int fileCount;
};

PairPlan planPair(Random& random) {
  PairPlan plan{};
  // 1.3 citations per pair on average.
  plan.citationCount = static_cast<int>(random.weighted(std::array<int, 4>{78, 16, 4, 2})) + 1;
  // About 20% of pairs come from two or three files; single reports favour the first file.
  plan.fileCount = static_cast<int>(random.weighted(std::array<int, 3>{80, 15, 5})) + 1;
  if (plan.fileCount == kFiles) {
    plan.files = {0, 1, 2};
  } else if (plan.fileCount == 1) {
    plan.files[0] = static_cast<int>(random.weighted(std::array<int, 3>{50, 30, 20}));
  } else {
    const int left_out = static_cast<int>(random.below(kFiles));
    for (int file = 0, slot = 0; file < kFiles; ++file) {
      if (file != left_out) plan.files[static_cast<std::size_t>(slot++)] = file;
    }
  }
  return plan;
}

// The distinct articles of one pair.
std::vector<std::int32_t> drawCitations(int count, Articles& articles) {
  std::vector<std::int32_t> pmids;
  while (static_cast<int>(pmids.size()) < count) {
    const std::int32_t pmid = articles.draw();
    if (std::find(pmids.begin(), pmids.end(), pmid) == pmids.end()) pmids.push_back(pmid);
  }
  return pmids;
}

// Every record of one pair, appended to its file's list. Each citation is reported by one of
// the pair's files; files beyond the citations repeat the first ones. About 20% of pairs are
// directed; their reports sometimes lack a direction ("0", either orientation), and 15% of
// them are also reported the other way round, half of those with another direction text so
// that both orientations are stored.
void addPairRecords(const Pair& pair, Articles& articles, Random& random,
                    std::array<std::vector<Record>, kFiles>& files) {
  const PairPlan plan = planPair(random);
  const std::vector<std::int32_t> pmids = drawCitations(plan.citationCount, articles);
  const bool directed = random.perMille(200);
  const auto direction = static_cast<std::uint8_t>(1 + random.below(kDirections.size()));
  const auto type = static_cast<std::uint8_t>(random.weighted(kTypeWeights));
  const int reports = std::max(plan.citationCount, plan.fileCount);
  for (int i = 0; i < reports; ++i) {
    Record record{pair.a, pair.b, 0, type, pmids[static_cast<std::size_t>(i % plan.citationCount)]};
    if (directed && random.perMille(750)) {
      record.direction = direction;
    } else if (random.perMille(500)) {
      std::swap(record.first, record.second);
    }
    // Some databases report only the generic "Binding".
    if (random.perMille(300)) record.type = 0;
    files[static_cast<std::size_t>(plan.files[static_cast<std::size_t>(i % plan.fileCount)])]
        .push_back(record);
  }
  if (directed && random.perMille(150)) {
    Record reverse{pair.b, pair.a, direction, type, pmids.back()};
    if (random.perMille(500)) {
      reverse.direction = static_cast<std::uint8_t>(1 + direction % kDirections.size());
    }
    files[static_cast<std::size_t>(plan.files[0])].push_back(reverse);
  }
}

// --- Writing -----------------------------------------------------------------------------

void appendAttribute(std::string& line, std::string_view value, Random& random) {
  line += random.perMille(300) ? std::string_view("NA") : value;
  line += '\t';
}

void appendNode(std::string& line, const Gene& gene, Random& random) {
  line += gene.name;
  line += '\t';
  appendAttribute(line, gene.accession, random);
  appendAttribute(line, "9606", random);
  appendAttribute(line, gene.geneClass, random);
  appendAttribute(line, gene.location, random);
}

void appendRecord(std::string& text, const Record& record, const std::vector<Gene>& genes,
                  Random& random) {
  appendNode(text, genes[static_cast<std::size_t>(record.first)], random);
  appendNode(text, genes[static_cast<std::size_t>(record.second)], random);
  text += record.direction == 0 ? std::string_view("0") : kDirections[record.direction - 1u];
  text += '\t';
  text += kTypes[record.type];
  text += '\t';
  text += std::to_string(record.pmid);
  text += '\n';
}

// Shuffles the file's records, so that reports of one pair do not sit side by side, and
// writes them. Returns false when the file cannot be written.
bool writeFile(const std::filesystem::path& path, std::vector<Record>& records,
               const std::vector<Gene>& genes, Random& random) {
  for (std::size_t i = records.size(); i > 1; --i)
    std::swap(records[i - 1], records[random.below(i)]);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::string text;
  bool ok = true;
  for (const Record& record : records) {
    appendRecord(text, record, genes, random);
    if (text.size() >= (1u << 20)) {
      ok = ok && std::fwrite(text.data(), 1, text.size(), file) == text.size();
      text.clear();
    }
  }
  ok = ok && std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && ok;
}

struct Summary {
  std::size_t records = 0;
  int maxDegree = 0;
};

Summary summarise(const std::vector<Pair>& pairs, int genes,
                  const std::array<std::vector<Record>, kFiles>& files) {
  Summary summary;
  std::vector<int> degree(static_cast<std::size_t>(genes), 0);
  for (const Pair& pair : pairs) {
    summary.maxDegree = std::max(summary.maxDegree, ++degree[static_cast<std::size_t>(pair.a)]);
    summary.maxDegree = std::max(summary.maxDegree, ++degree[static_cast<std::size_t>(pair.b)]);
  }
  for (const auto& records : files) summary.records += records.size();
  return summary;
}

int generate(const Profile& profile, const std::filesystem::path& folder) {
  Random random(0x5eedc0ffee000000ULL ^ static_cast<std::uint64_t>(profile.pairs));
  const std::vector<Gene> genes = makeGenes(profile.genes, random);
  const std::vector<Pair> pairs = makePairs(profile, random);
  Articles articles(pairs.size() * 13 / 10, random);
  std::array<std::vector<Record>, kFiles> files;
  for (const Pair& pair : pairs) addPairRecords(pair, articles, random, files);
  const Summary summary = summarise(pairs, profile.genes, files);

  std::error_code error;
  std::filesystem::create_directories(folder, error);
  for (int file = 0; file < kFiles; ++file) {
    const auto path = folder / (profile.name + "-" + std::to_string(file + 1) + ".sig");
    if (!writeFile(path, files[static_cast<std::size_t>(file)], genes, random)) {
      std::fprintf(stderr, "generate_network: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  std::printf("%s: %d genes, %zu pairs, %zu records in %d files, mean degree %.1f, max degree %d\n",
              profile.name.c_str(), profile.genes, pairs.size(), summary.records, kFiles,
              2.0 * static_cast<double>(pairs.size()) / profile.genes, summary.maxDegree);
  return 0;
}

// The hub is the first gene; every leaf reports one interaction with it.
int generateStar(int leaves, const std::filesystem::path& folder) {
  Random random(0x57a2000000000000ULL ^ static_cast<std::uint64_t>(leaves));
  const std::vector<Gene> genes = makeGenes(leaves + 1, random);
  Articles articles(static_cast<std::size_t>(leaves), random);
  std::vector<Record> records;
  records.reserve(static_cast<std::size_t>(leaves));
  for (int leaf = 1; leaf <= leaves; ++leaf) {
    const auto type = static_cast<std::uint8_t>(random.weighted(kTypeWeights));
    records.push_back(Record{0, leaf, 0, type, articles.draw()});
  }
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const auto path = folder / ("star-" + std::to_string(leaves) + ".sig");
  if (!writeFile(path, records, genes, random)) {
    std::fprintf(stderr, "generate_network: cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("star-%d: hub %s with %d leaves, %d records in 1 file\n", leaves,
              genes[0].name.c_str(), leaves, leaves);
  return 0;
}

// A positive count, or 0 when the text is not one.
int count(const char* text) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return *end == '\0' && value > 0 && value <= 1'000'000'000 ? static_cast<int>(value) : 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view profile = argc > 1 ? argv[1] : "";
  if (argc == 3 && profile == kDense.name) return generate(kDense, argv[2]);
  if (argc == 3 && profile == kSparse.name) return generate(kSparse, argv[2]);
  if (argc == 4 && profile == "star" && count(argv[2]) > 0) {
    return generateStar(count(argv[2]), argv[3]);
  }
  if (argc == 5 && profile == "large" && count(argv[2]) > 1 && count(argv[3]) > 0) {
    const int genes = count(argv[2]);
    const int pairs = count(argv[3]);
    if (static_cast<long long>(pairs) * 4 <= static_cast<long long>(genes) * (genes - 1)) {
      return generate(
          Profile{"large-" + std::to_string(genes) + "-" + std::to_string(pairs), genes, pairs},
          argv[4]);
    }
  }
  std::fprintf(stderr,
               "usage: generate_network dense|sparse OUTDIR\n"
               "       generate_network large NODES PAIRS OUTDIR   (PAIRS at most a quarter of "
               "all node pairs)\n"
               "       generate_network star LEAVES OUTDIR\n");
  return 2;
}
