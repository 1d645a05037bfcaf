// Every line the statistics report shows the user or writes into the report, in one place.
#pragma once

namespace seedweave::messages {

inline constexpr char kComputingPathLengths[] =
    "Computing Characteristic Path Length between components...\n";
inline constexpr char kComputingPathLengthsFor[] =
    "Computing Characteristic Path Length for %s...\n";
inline constexpr char kClustering[] = "Performing K-means clustering with K=%d...\n";
inline constexpr char kSignificanceHeading[] =
    "Clustering and significant intermediates analysis:\n";
inline constexpr char kSeedCount[] = "Number of genes from your seed list: %d\n";
inline constexpr char kIntermediateCount[] = "Number of intermediate components: %d\n";
inline constexpr char kSubnetworkSize[] =
    "Number of interactions in subnetwork created from seed list: %d\n";
inline constexpr char kBackgroundNodes[] = "Total components in the background network: %d\n";
inline constexpr char kBackgroundInteractions[] =
    "Total interactions in the background network: %d\n";
inline constexpr char kRankingHeading[] = "\nSignificance of intermediates sorted by z-score:\n";
inline constexpr char kRankingColumns[] =
    "Gene name, links, links in background, links to seed, links in subnetwork, z-score\n";
inline constexpr char kNoIntermediates[] = "No intermediates\n";
inline constexpr char kClusteringHeading[] = "\nK-means clustering analysis\n";
inline constexpr char kPseudoCplNone[] = "K=1 nodes:%d; pseudo CPL:NA\n";
inline constexpr char kPseudoCpl[] = "K=1 nodes:%d; pseudo CPL:%.2f\n";
inline constexpr char kClusteringK[] = "K=%d\n";
inline constexpr char kClusterCpl[] = "cluster %d CPL=%.2f nodes=%d\n";
inline constexpr char kClusterCplNone[] = "cluster %d CPL=NA nodes=%d\n";
inline constexpr char kClusterMember[] = "%s ";
inline constexpr char kLineEnd[] = "\n";
// One ranked intermediate: name, links, links in background, links to seeds, links in the
// subnetwork, then the z-score or NA.
inline constexpr char kRankingRow[] = "%s %d %d %d %d ";
inline constexpr char kZScore[] = "%.5f\n";
inline constexpr char kZScoreNone[] = "NA\n";
// The HTML table of path lengths among the seeds.
inline constexpr char kTableStart[] = "<table><tr>\n";
inline constexpr char kNameCell[] = "<td>%s</td>";
inline constexpr char kRowStart[] = "<tr><td>%s</td>";
inline constexpr char kEmptyCell[] = "<td></td>";
inline constexpr char kLengthCell[] = "<td>%d</td>";
inline constexpr char kRowEnd[] = "</tr>\n";
inline constexpr char kTableEnd[] = "</table>\n";

}  // namespace seedweave::messages
