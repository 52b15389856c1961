#include <algorithm>
#include <filesystem>

#include <oks/host/cases/case_check.h>
#include <oks/host/cases/matcher.h>

namespace oks::host {

namespace fs = std::filesystem;

namespace {
// How messages name a case: the file, and the case's name when it has one.
std::string whereOf(const std::string& file, const ReadCase& read) {
  return read.name == file ? file : file + " [" + read.name + "]";
}

// Runs a case, its trace lines (when echoed) under a line naming it.
Json runNamed(const std::string& where, const Case& c, const RunOptions& options, FileRun& run) {
  if (options.traceEcho) *options.traceEcho << "== " << where << "\n";
  return run.run(c);
}
}  // namespace

std::vector<std::string> caseFiles(const std::vector<std::string>& paths, std::vector<std::string>& missing) {
  std::vector<std::string> files;
  for (const std::string& path : paths) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
      std::vector<std::string> found;
      for (const auto& entry : fs::recursive_directory_iterator(path, ec))
        if (entry.is_regular_file() && entry.path().extension() == ".json")
          found.push_back(entry.path().string());
      std::sort(found.begin(), found.end());
      files.insert(files.end(), found.begin(), found.end());
    } else if (fs::exists(path, ec)) {
      files.push_back(path);
    } else {
      missing.push_back(path);
    }
  }
  return files;
}

int checkCases(const std::vector<std::string>& paths, const RunOptions& options, std::ostream& out) {
  std::vector<std::string> missing;
  std::vector<std::string> files = caseFiles(paths, missing);
  int passed = 0, failed = 0;
  bool unreadable = false;
  auto error = [&](const std::string& where, const std::string& message) {
    out << "ERROR " << where << ": " << message << "\n";
    ++failed;
    unreadable = true;
  };
  for (const std::string& path : missing) error(path, "no such file or folder");

  for (const std::string& file : files) {
    FileRun run(options);
    for (const ReadCase& read : readCaseFile(file)) {
      std::string where = whereOf(file, read);
      if (!read.spec) {
        error(where, read.error);
        continue;
      }
      if (!read.spec->expect) {
        error(where, "expect: missing (what the case must show)");
        continue;
      }
      Json observed;
      try {
        observed = runNamed(where, *read.spec, options, run);
      } catch (const std::exception& e) {
        error(where, e.what());
        continue;
      }
      auto differences = matchOutcome(*read.spec->expect, observed);
      if (differences.empty()) {
        out << "PASS " << where << "\n";
        ++passed;
      } else {
        out << "FAIL " << where << "\n";
        printDifferences(out, differences);
        ++failed;
      }
    }
    try {
      run.finish();
    } catch (const std::exception& e) {
      error(file, e.what());
    }
  }
  out << passed << " passed, " << failed << " failed\n";
  return unreadable ? exitUnreadable : failed > 0 ? exitFailed : exitPassed;
}

int runCaseFile(const std::string& file, const RunOptions& options, std::ostream& out, std::ostream& err) {
  std::vector<ReadCase> cases = readCaseFile(file);
  bool grouped = std::any_of(cases.begin(), cases.end(), [](const ReadCase& read) { return read.grouped; });
  int status = exitPassed;
  Json outcomes = Json::array();
  FileRun run(options);
  for (const ReadCase& read : cases) {
    if (!read.spec) {
      err << "okshost: " << whereOf(file, read) << ": " << read.error << "\n";
      status = exitUnreadable;
      continue;
    }
    try {
      CompactRecords compact;  // records as they are written in cases
      Json observed = runNamed(whereOf(file, read), *read.spec, options, run);
      Json named = {{"name", read.name}};
      named.update(observed);
      outcomes.push_back(grouped ? named : observed);
    } catch (const std::exception& e) {
      err << "okshost: " << whereOf(file, read) << ": " << e.what() << "\n";
      status = exitUnreadable;
    }
  }
  try {
    run.finish();
  } catch (const std::exception& e) {
    err << "okshost: " << file << ": " << e.what() << "\n";
    status = exitUnreadable;
  }
  if (grouped)
    out << outcomes.dump(2) << "\n";
  else if (!outcomes.empty())
    out << outcomes.front().dump(2) << "\n";
  return status;
}

}  // namespace oks::host
