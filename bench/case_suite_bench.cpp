// The case suite run both ways in one run: with one load of the command library per case file
// (as `okshost case` runs it) and with one load per case. The two ways alternate, so that both
// see the same machine; each line gives each way's median wall time over the rounds and the
// ratio. The output of the cases themselves is dropped; a round that does not pass is reported.
//
//   build/bin/oks_case_bench [ROUNDS] [PATH...]   (default: 5 rounds of tests/cases)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <oks/host/cases/case_check.h>

namespace {

// One run of every case; its wall time in seconds, or a negative time when a case failed.
double timedRun(const std::vector<std::string>& paths, bool loadPerCase) {
  oks::host::RunOptions options{OKS_LIBRARY_PATH};
  options.loadPerCase = loadPerCase;
  std::ostringstream out;
  auto start = std::chrono::steady_clock::now();
  int status = oks::host::checkCases(paths, options, out);
  std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  if (status != oks::host::exitPassed) {
    std::fputs(out.str().c_str(), stderr);
    return -1;
  }
  return elapsed.count();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
  std::vector<std::string> paths(argv + std::min(argc, 2), argv + argc);
  if (paths.empty()) paths.push_back(OKS_SOURCE_DIR "/tests/cases");
  std::vector<double> perFile, perCase;
  for (int i = 0; i < rounds; ++i) {
    perFile.push_back(timedRun(paths, false));
    perCase.push_back(timedRun(paths, true));
    if (perFile.back() < 0 || perCase.back() < 0) return 1;
  }
  double file = median(perFile), each = median(perCase);
  std::printf("%-24s %10s\n", "way", "median s");
  std::printf("%-24s %10.3f\n", "one load per case", each);
  std::printf("%-24s %10.3f\n", "one load per case file", file);
  std::printf("speed-up: %.1fx over %d rounds\n", each / file, rounds);
  return 0;
}
