#include "export/sig_writers.hpp"

#include <string>

#include "export/text_stream.hpp"
#include "search/filter.hpp"

namespace seedweave {

namespace {

// Columns 1 to 12 and the blank before the PubMed id. Each attribute goes back to the
// column the reader takes it from: attr4 before attr3.
void setSigPrefix(std::string& line, const Network& network, const INTERACTION& interaction) {
  line.clear();
  for (const NodeId end : {interaction.first, interaction.second}) {
    const INTERACTOR& node = network.node(end);
    for (const TextId field : {node.name, node.attr1, node.attr2, node.attr4, node.attr3}) {
      line.append(network.text(field));
      line.push_back(' ');
    }
  }
  line.append(network.text(interaction.direction));
  line.push_back(' ');
  line.append(network.text(interaction.type));
  line.push_back(' ');
}

bool withinLoadLimit(const Network& network, const PMIDLIST& citation, int maxArticleLoad) {
  return maxArticleLoad == 0 || network.articleLoad(citation) <= maxArticleLoad;
}

// The SIG lines of the citations within the load limit; `line` is scratch space reused
// across interactions so that writing a table allocates nothing per line.
void writeSigLinesWithin(std::FILE* stream, const Network& network, const INTERACTION& interaction,
                         int maxArticleLoad, std::string& line) {
  setSigPrefix(line, network, interaction);
  const std::size_t prefixLength = line.size();
  for (const PMIDLIST& citation : interaction.pmids) {
    if (!withinLoadLimit(network, citation, maxArticleLoad)) continue;
    line.resize(prefixLength);
    appendInt(line, citation.pmid);
    line.push_back('\n');
    putLine(stream, line);
  }
}

void writeSifLineTo(std::FILE* stream, const Network& network, const INTERACTION& interaction,
                    std::string& line) {
  line.assign(network.text(network.node(interaction.first).name));
  line.push_back('\t');
  line.append(network.text(interaction.type));
  line.push_back('\t');
  line.append(network.text(network.node(interaction.second).name));
  line.push_back('\n');
  putLine(stream, line);
}

// The writers' own test: enough citations within the limit. With minReferences 0 an
// interaction without any such citation still passes; it then simply has no line to write.
bool hasEnoughCitations(const Network& network, const INTERACTION& interaction, int minReferences,
                        int maxArticleLoad) {
  return countPMIDsFiltered(network, interaction, maxArticleLoad) >= minReferences;
}

void writeSigFilteredTo(std::FILE* stream, const Network& network, const INTERACTION& interaction,
                        int minReferences, int maxArticleLoad, std::string& line) {
  if (!hasEnoughCitations(network, interaction, minReferences, maxArticleLoad)) return;
  writeSigLinesWithin(stream, network, interaction, maxArticleLoad, line);
}

void writeSifFilteredTo(std::FILE* stream, const Network& network, const INTERACTION& interaction,
                        int minReferences, int maxArticleLoad, std::string& line) {
  if (!hasEnoughCitations(network, interaction, minReferences, maxArticleLoad)) return;
  for (const PMIDLIST& citation : interaction.pmids) {
    if (withinLoadLimit(network, citation, maxArticleLoad)) {
      writeSifLineTo(stream, network, interaction, line);
      return;
    }
  }
}

template <typename WriteOne>
void writeTable(const Network& network, const SubnetworkTable& table, WriteOne writeOne) {
  std::string line;
  for (const InteractionId id : table.inBucketOrder()) writeOne(network.interaction(id), line);
}

}  // namespace

void intHashToSig(std::FILE* stream, const Network& network, const SubnetworkTable& table) {
  writeTable(network, table, [&](const INTERACTION& interaction, std::string& line) {
    writeSigLinesWithin(stream, network, interaction, 0, line);
  });
}

void intHashToSif(std::FILE* stream, const Network& network, const SubnetworkTable& table) {
  writeTable(network, table, [&](const INTERACTION& interaction, std::string& line) {
    writeSifLineTo(stream, network, interaction, line);
  });
}

void intHashToSigFiltered(std::FILE* stream, const Network& network, const SubnetworkTable& table,
                          int minReferences, int maxArticleLoad) {
  writeTable(network, table, [&](const INTERACTION& interaction, std::string& line) {
    writeSigFilteredTo(stream, network, interaction, minReferences, maxArticleLoad, line);
  });
}

void intHashToSifFiltered(std::FILE* stream, const Network& network, const SubnetworkTable& table,
                          int minReferences, int maxArticleLoad) {
  writeTable(network, table, [&](const INTERACTION& interaction, std::string& line) {
    writeSifFilteredTo(stream, network, interaction, minReferences, maxArticleLoad, line);
  });
}

}  // namespace seedweave
