// The reference store at scale: generates stores of product lines (a root class with product
// types, views, specifications with effectivities, handlers with versions, a change object with
// modifications: 100 objects a line), imports each into a database as `okshost store init --from`
// does, and times single operations on one object, and tree operations on one line, at each size.
//
//   oks_store_bench [OBJECTS...]     (default: 10000 100000 1000000)
//
// Prints one table row per size: milliseconds; the import in seconds on the clock and of processor
// time, and the process's peak memory once it is done (the peak of every size so far, so run one
// size per process to see that size's). Not run by the tests.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <oks/host/codec.h>
#include <oks/host/reference/database.h>
#include <oks/host/reference/store_file.h>
#include <oks/reference/reference_server.h>

namespace {

using oks::host::Database;
using oks::host::Json;
using Clock = std::chrono::steady_clock;

std::string uuid(int kind, long n) {
  char text[33];
  std::snprintf(text, sizeof text, "%02x%030lx", kind, n);
  return text;
}

Json dateValue(int from, int to) {
  return {{"optionalDate",
           {{{"fromDate", {{"year", from}, {"month", 1}, {"day", 1}}},
             {"toDate", {{"year", to}, {"month", 12}, {"day", 31}}}}}}};
}

// Writes a store file of lines × 100 objects, streaming: a million objects need no big JSON tree.
void generate(long lines, const std::string& file) {
  std::ofstream out(file);
  out << "{\"dataDomain\": \"-\", \"objects\": [\n";
  bool first = true;
  auto put = [&](const Json& o) {
    out << (first ? "" : ",\n") << o.dump();
    first = false;
  };
  long ps = 0, ch = 0;
  for (long line = 0; line < lines; ++line) {
    std::string prc = uuid(0x10, line);
    put({{"UUID", prc},
         {"Type", "PRC"},
         {"Name", "Line " + std::to_string(line)},
         {"milestones",
          {{{"Name", "MY2026"}, {"type", 0}, {"optionalDate", dateValue(2026, 2026)["optionalDate"][0]}}}}});
    std::vector<std::string> views;
    for (int v = 0; v < 2; ++v) {
      views.push_back(uuid(0x30, line * 2 + v));
      put({{"UUID", views.back()}, {"Type", "CV"}, {"Name", "View " + std::to_string(v)}, {"owner", prc}});
    }
    for (int t = 0; t < 4; ++t) {
      std::string pt = uuid(0x20, line * 4 + t);
      put({{"UUID", pt},
           {"Type", "PT"},
           {"Name", "Type " + std::to_string(line) + "-" + std::to_string(t)},
           {"owner", prc}});
      for (int s = 0; s < 20; ++s, ++ps)
        put({{"UUID", uuid(0x40, ps)},
             {"Type", "PS"},
             {"Name", "Spec " + std::to_string(ps)},
             {"owner", pt},
             {"version", "A"},
             {"domain", s % 2 ? "EU" : "US"},
             {"values", {dateValue(2024 + s % 5, 2025 + s % 5)}}});
    }
    for (int h = 0; h < 2; ++h)
      for (int version = 1; version <= 3; ++version, ++ch)
        put({{"UUID", uuid(0x70, ch)},
             {"Type", "CH"},
             {"id", "Handler " + std::to_string(h)},
             {"version", version},
             {"first", prc},
             {"second", views[static_cast<std::size_t>(h)]},
             {"filter", {{{"COName", "CO"}, {"domain", "EU"}}}}});
    std::string co = uuid(0x50, line);
    put({{"UUID", co}, {"Type", "CO"}, {"Name", "CO"}, {"owner", prc}});
    for (int m = 0; m < 5; ++m)
      put({{"UUID", uuid(0x60, line * 5 + m)},
           {"Type", "MOD"},
           {"Name", "MOD " + std::to_string(m)},
           {"owner", co},
           {"eco", m % 2 == 0},
           {"action", "open"}});
  }
  out << "\n]}\n";
}

double millis(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The median of repeated runs, in milliseconds.
double median(int runs, const std::function<void()>& run) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    auto start = Clock::now();
    run();
    times.push_back(millis(Clock::now() - start));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

QEM_ProductTypes::Node nodeOf(const std::string& hex) {
  QEM_ProductTypes::Node n;
  oks::reference::fromHex(hex, n.UUID);
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<long> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::stol(argv[i]));
  if (sizes.empty()) sizes = {10000, 100000, 1000000};
  std::string dir = std::filesystem::temp_directory_path() / "oks_store_bench";
  std::filesystem::create_directories(dir);

  std::printf("%9s %9s %9s %9s %12s %10s %10s %10s %12s %12s %12s\n", "objects", "import s", "cpu s",
              "peak MB", "open+cmd ms", "getCHList", "byName", "getProdSpec", "configTree", "filterSpecs",
              "PCSpecTree2");
  for (long size : sizes) {
    long lines = std::max(1L, size / 100);
    std::string file = dir + "/store-" + std::to_string(size) + ".json";
    std::string db = dir + "/store-" + std::to_string(size) + ".db";
    generate(lines, file);

    auto start = Clock::now();
    std::clock_t processorStart = std::clock();
    oks::host::importStoreFile(file, *Database::open(db, Database::Mode::Replace));
    double import = millis(Clock::now() - start) / 1000;
    double importProcessor = static_cast<double>(std::clock() - processorStart) / CLOCKS_PER_SEC;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    double peakMb = static_cast<double>(usage.ru_maxrss) / 1024;

    long line = lines / 2;
    std::string prc = uuid(0x10, line), pt = uuid(0x20, line * 4), ps = uuid(0x40, line * 80 + 7);
    auto inTransaction = [&db](const std::function<void(oks::reference::ReferenceServer&)>& work) {
      auto database = Database::open(db, Database::Mode::Open);
      oks::reference::ReferenceServer server(*database);
      server.store().begin();
      work(server);
      server.store().commit();
    };
    auto getProdSpec = [&](oks::reference::ReferenceServer& server) {
      QEM_ProductTypes::XNode x;
      x.Nodes.append(nodeOf(ps));
      QEM_ProductTypes::NodeSeq* specs = nullptr;
      QEMConfig::NormalValueSeq* values = nullptr;
      QEMConfig::MultiCOFilter* filter = nullptr;
      oks::AttributeFilters* criteria = nullptr;
      ZORUnicodeString first, second;
      unsigned char hide = 0, caseSensitive = 0;
      server.getProdSpec(x, specs, values, first, {}, "EU", hide, filter, criteria, second, caseSensitive);
      delete specs;
      delete values;
      delete filter;
      delete criteria;
    };
    double openAndCommand = median(21, [&] { inTransaction(getProdSpec); });

    auto database = Database::open(db, Database::Mode::Open);
    oks::reference::ReferenceServer server(*database);
    auto timed = [&](const std::function<void()>& op) {
      return median(21, [&] {
        server.store().begin();
        op();
        server.store().commit();
      });
    };
    double chList = timed([&] {
      QEM_ProductTypes::XNode x;
      x.Nodes.append(nodeOf(prc));
      QEM_ProductTypes::XNodeSeq in;
      in.append(x);
      QEM_ProductTypes::XNodeSeq* out = nullptr;
      server.getCHList(in, out);
      delete out;
    });
    double byName = timed([&] {
      QEM_ProductTypes::Node n;
      n.Name = "Spec " + std::to_string(line * 80 + 7);
      n.Type = "PS";
      server.store().find(n);
    });
    double prodSpec = timed([&] { getProdSpec(server); });
    double configTree = timed([&] {
      QEM_ProductTypes::NodeSeq* out = nullptr;
      server.getConfigTree(nodeOf(prc), out);
      delete out;
    });
    QEM_ProductTypes::NodeSeq tree;
    server.store().begin();
    {
      QEM_ProductTypes::NodeSeq* out = nullptr;
      server.getConfigTree(nodeOf(prc), out);
      tree = *out;
      delete out;
    }
    server.store().commit();
    double filter = timed([&] {
      QEM_ProductTypes::NodeSeq* out = nullptr;
      QEMConfig::NormalValueSeq values;
      server.filterSpecs(nodeOf(prc), values, "EU", 1, tree, out);
      delete out;
    });
    double specTree2 = timed([&] {
      QEM_ProductTypes::NodeSeq in;
      in.append(nodeOf(pt));
      QEM_ProductTypes::NodeSeq* out = nullptr;
      server.getPCSpecTree2(in, out);
      delete out;
    });
    std::printf("%9ld %9.1f %9.1f %9.0f %12.2f %10.2f %10.2f %10.2f %12.2f %12.2f %12.2f\n", lines * 100,
                import, importProcessor, peakMb, openAndCommand, chList, byName, prodSpec, configTree, filter,
                specTree2);
    std::fflush(stdout);
    std::filesystem::remove(file);
  }
  std::printf(
      "configTree, filterSpecs: one line of 100 objects; PCSpecTree2: one product type of 20 "
      "specifications\n");
  return 0;
}
