// Hostile input to every reader of the host: case files, store files, scripts and --param
// values. Each is refused with one message naming its source and place, and nothing crashes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <oks/host/cases/case_file.h>
#include <oks/host/command_line.h>
#include <oks/host/reference/database.h>
#include <oks/host/reference/exec.h>
#include <oks/host/reference/script.h>
#include <oks/host/reference/store_file.h>
#include <oks/reference/reference_server.h>

namespace oks::host {
namespace {

std::string writeFile(const std::string& name, const std::string& text) {
  std::string path = testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

// Each reader: the message it gives for a file (or a --param value) holding the text.
struct Reader {
  const char* name;
  std::function<std::string(const std::string& file)> readFile;
};

std::string caseError(const std::string& file) {
  auto cases = readCaseFile(file);
  return cases.size() == 1 && !cases[0].spec ? file + ": " + cases[0].error : "read";
}

std::string storeError(const std::string& file) {
  auto database = Database::open("", Database::Mode::Temporary);
  reference::Store store(*database);
  try {
    loadStoreFile(file, store);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "read";
}

std::string scriptError(const std::string& file) {
  std::ostringstream out, err;
  int exit = runScript({OKS_LIBRARY_PATH, "", nullptr, std::nullopt}, file, false, out, err);
  return exit == exitUnreadable ? err.str() : "ran";
}

std::string paramError(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ostringstream out, err;
  int exit = execCommand({OKS_LIBRARY_PATH, "", nullptr, std::nullopt}, "OKS_getCHList", {"Param0=" + text},
                         false, out, err);
  return exit == exitUnreadable ? err.str() : "ran";
}

const Reader readers[] = {
    {"case", caseError}, {"store", storeError}, {"script", scriptError}, {"param", paramError}};

TEST(HostInput, EveryReaderRefusesHostileJsonNamingThePlace) {
  struct Hostile {
    std::string text;
    std::string fragment;  // the message names the source and then this
  };
  const Hostile hostile[] = {
      {std::string(100000, '['), "line 1, column 257: nested deeper than 256 levels"},
      {"{\"a\": [\n" + std::string(300, '['), "line 2, column 255: nested deeper than 256 levels"},
      {"{\"double\":\n  1e999}", "line 2, column 3: the number 1e999 is out of the range of a double"},
      {"[-1e400]", "line 1, column 2: the number -1e400 is out of the range of a double"},
      {std::string("{}\0{\"more\": 1}", 14), "line 1, column 3: a NUL byte"},
      {"{} []", "not JSON: parse error at line 1, column 4: syntax error"},
      {"", "not JSON: parse error at line 1, column 1: syntax error"},
      {R"({"objects": [], "x": {"a": 1, "a": 2}})", "x.a: a member given twice"},
      {R"([0, {"b": [{}, {"c": 1, "c": 1}]}])", "[1].b[1].c: a member given twice"},
  };
  for (const Reader& reader : readers)
    for (const Hostile& h : hostile) {
      std::string file = writeFile(std::string("hostile-") + reader.name + ".json", h.text);
      std::string message = reader.readFile(file);
      std::string source = reader.name == std::string("param") ? "--param Param0: " : file + ": ";
      EXPECT_NE(message.find(source + h.fragment), std::string::npos)
          << reader.name << " given " << h.text.substr(0, 40) << "\n  said: " << message;
    }
}

TEST(HostInput, FilesThatAreFoldersOrMissingAreNamed) {
  std::string folder = testing::TempDir() + "a-folder.json";
  std::filesystem::create_directories(folder);
  for (const Reader& reader : readers) {
    if (reader.name == std::string("param")) continue;
    EXPECT_NE(reader.readFile(folder).find(folder + ": a folder, not a file"), std::string::npos)
        << reader.name;
    EXPECT_NE(reader.readFile(folder + "/none").find("none: cannot be opened"), std::string::npos)
        << reader.name;
  }
}

TEST(HostInput, AnEmptyScriptIsRefused) {
  std::string script = writeFile("empty-script.json", R"({"steps": []})");
  EXPECT_NE(scriptError(script).find(script + ": steps: empty (a script runs at least one step)"),
            std::string::npos);
}

TEST(HostInput, ParsingIsLinearAndKeepsMemberOrder) {
  std::string text = "{";
  for (int i = 39999; i >= 0; --i)
    text += "\"m" + std::to_string(i) + "\": " + std::to_string(i) + (i ? "," : "}");
  auto start = std::chrono::steady_clock::now();
  Json j = parseJsonText(text);
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(j.size(), 40000u);
  EXPECT_EQ(j.begin().key(), "m39999");
  EXPECT_EQ(j["m0"], 0);
  EXPECT_LT(seconds, 2.0) << "40,000 members took " << seconds << " s";
}

}  // namespace
}  // namespace oks::host
