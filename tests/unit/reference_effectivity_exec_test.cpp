// okshost exec against a store that holds the effectivity rules' hard cases: a milestone span
// beside dates, a day beside its complement, two complements that cover every instant, a
// milestone of another root class, and values of one domain asked under another.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char* const kStore = R"({"objects": [
 {"UUID": "01", "Type": "PRC", "Name": "R", "milestones": [
   {"Name": "JUNE", "nlsRep": "June 2026", "type": 0,
    "optionalDate": {"fromDate": {"year": 2026, "month": 6, "day": 1}, "toDate": {"year": 2026, "month": 6, "day": 30}}}]},
 {"UUID": "02", "Type": "PS", "Name": "Jan and June", "owner": "01", "version": "A",
  "values": [{"optionalDate": [{"fromDate": {"year": 2026, "month": 1, "day": 1}, "toDate": {"year": 2026, "month": 1, "day": 31}}],
              "StartMileStoneName": "JUNE", "EndMileStoneName": "JUNE"}]},
 {"UUID": "03", "Type": "PS", "Name": "Until 2026", "owner": "01", "version": "A",
  "values": [{"optionalDate": [{"fromDate": {"year": 2027, "month": 1, "day": 1}}], "Sign": "-"}]},
 {"UUID": "04", "Type": "PS", "Name": "Gap", "owner": "01", "version": "A",
  "values": [{"optionalDate": [{"toDate": {"year": 2026, "month": 3, "day": 1}}], "Sign": "-"},
             {"optionalDate": [{"fromDate": {"year": 2026, "month": 3, "day": 2}}], "Sign": "-"}]},
 {"UUID": "05", "Type": "PRC", "Name": "S", "milestones": [
   {"Name": "LAUNCH", "nlsRep": "Launch", "type": 0,
    "optionalDate": {"fromDate": {"year": 2026, "month": 4, "day": 1}, "toDate": {"year": 2026, "month": 6, "day": 30}}}]},
 {"UUID": "06", "Type": "CV", "Name": "S view", "owner": "05"},
 {"UUID": "07", "Type": "PS", "Name": "From launch", "owner": "01", "version": "A",
  "values": [{"StartMileStoneName": "LAUNCH"}]},
 {"UUID": "08", "Type": "PS", "Name": "US only", "owner": "01", "version": "A", "domain": "US",
  "values": [{"optionalSpec": ["US"]}]}
]})";

std::string storeFile() {
  static const std::string path = [] {
    // One file per process: tests run side by side, and one must not read another's half-written file.
    std::string p = testing::TempDir() + "effectivity-store-" + std::to_string(::getpid()) + ".json";
    std::ofstream(p) << kStore;
    return p;
  }();
  return path;
}

std::string shellQuoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// What okshost exec prints for filterSpecs on the context object, the specifications given,
// the filter values (a JSON array) and the domain.
std::string filterSpecs(const std::string& context, const std::vector<std::string>& specs,
                        const std::string& filter, const std::string& domain = "") {
  std::string tree;
  for (const auto& s : specs) tree += (tree.empty() ? "" : ",") + std::string(R"({"UUID":")") + s + "\"}";
  std::vector<std::string> params = {R"(Param0={"Node":{"UUID":")" + context + "\"}}",
                                     R"(Param1={"NodeSeq":[)" + tree + "]}",
                                     R"(Param2={"streamable":{"NormalValueSeq":)" + filter + "}}",
                                     domain.empty() ? R"(Param3={"streamable":null})"
                                                    : R"(Param3={"streamable":{"string":")" + domain + "\"}}",
                                     R"(Param4={"streamable":{"string":"TRUE"}})"};
  std::string command =
      std::string(OKS_HOST_PATH) + " exec OKS_filterSpecs --store " + shellQuoted(storeFile());
  for (const auto& p : params) command += " --param " + shellQuoted(p);
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return "cannot run okshost";
  std::string out;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
  pclose(pipe);
  return out;
}

std::string kept(const std::string& nodes) {
  return "status 0 (0x00000000, S_OK)\nresult0 (NodeSeq): " + nodes + "\n";
}

const std::string kNoValues = "[]";
const std::string k15June =
    R"([{"optionalDate":[{"fromDate":{"year":2026,"month":6,"day":15},"toDate":{"year":2026,"month":6,"day":15}}]}])";

TEST(ReferenceEffectivityExec, AMilestoneSpanRestrictsTheValuesDates) {
  EXPECT_EQ(filterSpecs("01", {"02", "03"}, k15June), kept(R"([{"UUID":"03"}])"));
}

TEST(ReferenceEffectivityExec, NoInstantLiesBetweenTwoDays) {
  // "Until 2026" against everything from 1 January 2027: nothing in common.
  const std::string from2027 =
      R"([{"optionalDate":[{"toDate":{"year":2026,"month":12,"day":31}}],"Sign":"-"}])";
  EXPECT_EQ(filterSpecs("01", {"03"}, from2027), kept("[]"));
  // Not until 1 March and not from 2 March leave nothing; "Until 2026" is something.
  EXPECT_EQ(filterSpecs("01", {"03", "04"}, kNoValues), kept(R"([{"UUID":"03"}])"));
}

TEST(ReferenceEffectivityExec, MilestoneNamesResolveThroughTheOperationsObjectNotItsOwners) {
  // LAUNCH sits on root class S: found when the operation works on S, not on a view under it.
  EXPECT_EQ(filterSpecs("05", {"07"}, kNoValues), kept(R"([{"UUID":"07"}])"));
  EXPECT_EQ(filterSpecs("06", {"07"}, kNoValues), kept("[]"));
  EXPECT_EQ(filterSpecs("01", {"07"}, kNoValues), kept("[]"));
  // A filter's names resolve through the operation's object and its owners.
  const std::string inLaunch = R"([{"StartMileStoneName":"LAUNCH","EndMileStoneName":"LAUNCH"}])";
  EXPECT_EQ(filterSpecs("06", {"03", "02"}, inLaunch), kept(R"([{"UUID":"03"}])"));
  EXPECT_EQ(filterSpecs("01", {"03"}, inLaunch), kept("[]"));
}

TEST(ReferenceEffectivityExec, ValuesOfOneDomainPassNoFilterUnderAnother) {
  EXPECT_EQ(filterSpecs("01", {"08", "03"}, kNoValues, "US"), kept(R"([{"UUID":"08"},{"UUID":"03"}])"));
  EXPECT_EQ(filterSpecs("01", {"08", "03"}, kNoValues, "EU"), kept(R"([{"UUID":"03"}])"));
  EXPECT_EQ(filterSpecs("01", {"08"}, kNoValues), kept(R"([{"UUID":"08"}])"));
}

}  // namespace
