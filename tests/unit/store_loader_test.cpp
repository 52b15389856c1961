// The store-file loader reads a file one object at a time and checks what refers to what once
// every object is in: an object may name one that comes after it, and the fault reported is the
// first in the order of the file, whichever object showed it first. Each fault names the object
// and the member; what would make a walk over the store go round, or a version count past the
// largest int, is refused.
#include <gtest/gtest.h>

#include <fstream>

#include <oks/host/reference/database.h>
#include <oks/host/reference/store_file.h>

namespace {

using oks::host::Database;

struct Loaded {
  std::string error;
  oks::reference::StoreSettings settings;
};

Loaded load(const std::string& text) {
  std::string file = testing::TempDir() + "store-loader.json";
  std::ofstream(file) << text;
  auto database = Database::open("", Database::Mode::Temporary);
  oks::reference::Store store(*database);
  Loaded loaded;
  try {
    oks::host::loadStoreFile(file, store);
  } catch (const std::exception& e) {
    loaded.error = std::string(e.what()).substr(file.size() + 2);
  }
  loaded.settings = store.settings;
  return loaded;
}

TEST(StoreLoader, ObjectsMayNameLaterOnesAndTheFirstFaultInTheFileIsReported) {
  const std::string prc = R"({"UUID": "01", "Type": "PRC"}, )";
  const std::string ch = prc + R"({"UUID": "04", "Type": "CH", "id": "X", "first": "01", )";
  const std::pair<std::string, std::string> table[] = {
      {R"({"UUID": "02", "Type": "CV", "owner": "01", "productType": "03"}, {"UUID": "01", "Type": "PRC"},
          {"UUID": "03", "Type": "PT", "owner": "01"}, {"UUID": "05", "Type": "MOD", "parent": "06"},
          {"UUID": "06", "Type": "MOD"}, {"UUID": "04", "Type": "CH", "id": "X", "first": "01", "second": "02"})",
       ""},
      // A reference resolved only at the end comes before a later object's fault found at once...
      {prc + R"({"UUID": "02", "Type": "CV", "owner": "01", "productType": "09"},
          {"UUID": "03", "Type": "CV", "owner": "01", "productType": "01"})",
       "objects[1].productType: no object 09"},
      // ... and, within one object, before a later member's.
      {prc + R"({"UUID": "02", "Type": "CV", "owner": "09", "productType": "01"})",
       "objects[1].owner: no object 09"},
      {R"({"UUID": "02", "Type": "CV", "productType": "01"}, {"UUID": "01", "Type": "PRC"})",
       "objects[0].productType: 01 is a PRC, not a PT"},
      {R"({"UUID": "03", "Type": "PRC", "owner": "02"}, {"UUID": "01", "Type": "PRC", "owner": "03"},
          {"UUID": "02", "Type": "PRC", "owner": "01"})",
       "objects[0].owner: ownership cycle 03 -> 02 -> 01 -> 03"},
      {prc + R"({"UUID": "02", "Type": "CV", "owner": "03"}, {"UUID": "03", "Type": "CV", "owner": "02"})",
       "objects[1].owner: ownership cycle 02 -> 03 -> 02"},
      // Objects read earlier are no longer held, yet a fault inside a later one names its index.
      {prc + R"({"UUID": "02", "Type": "PRC", "Name": "a", "Name": "b"})",
       "objects[1].Name: a member given twice"},
      {R"({"UUID": "01", "Type": "XX"})",
       R"(objects[0].Type: expected PRC, CV, PT, PS, CH, CO or MOD, not "XX")"},
      {R"({"UUID": "01", "Type": "PRC", "version": "A"})",
       "objects[0].version: unknown member (expected one of UUID, Type, Name, Environment, owner, "
       "attributes, milestones, currentFilter)"},
      {R"({"UUID": "03", "Type": "MOD", "action": "maybe"})",
       R"(objects[0].action: expected "none", "open" or "closed")"},
      {R"({"UUID": "01", "Type": "PRC", "owner": "01"})", "objects[0].owner: the object owns itself"},
      {ch + R"("second": "04"})", "objects[1].second: a handler cannot be its own context node"},
      {prc + R"({"UUID": "04", "Type": "CH", "id": "X", "first": "04", "second": "01"})",
       "objects[1].first: a handler cannot be its own context node"},
      {ch + R"("version": 1})", "objects[1].second: a handler needs its two context nodes"},
      {prc + R"({"UUID": "05", "Type": "PS", "owner": "01", "members": ["05"]})",
       "objects[1].members: a specification cannot be its own member"},
      {prc + R"({"UUID": "05", "Type": "PS", "owner": "01", "source": "05"})",
       "objects[1].source: a specification cannot be its own source"},
      {R"({"UUID": "06", "Type": "MOD", "parent": "06"})",
       "objects[0].parent: the modification is its own parent"},
      {R"({"UUID": "06", "Type": "MOD", "parent": "07"}, {"UUID": "07", "Type": "MOD", "parent": "06"})",
       "objects[0].parent: cycle of parent modifications 06 -> 07 -> 06"},
      {ch + R"("second": "01", "version": 0})",
       "objects[1].version: expected a version from 1 to 2147483647"},
      {ch + R"("second": "01", "version": -3})",
       "objects[1].version: expected a version from 1 to 2147483647"},
      {ch + R"("second": "01", "version": 2147483648})",
       "objects[1].version: expected an integer from -2147483648 to 2147483647"},
  };
  for (const auto& [objects, message] : table)
    EXPECT_EQ(load(R"({"objects": [)" + objects + "]}").error, message) << objects;

  // The settings may follow the objects.
  Loaded after =
      load(R"({"objects": [{"UUID": "01", "Type": "PRC"}], "dataDomain": "EU", "filter150": true})");
  EXPECT_EQ(after.error, "");
  EXPECT_EQ(after.settings.dataDomain, "EU");
  EXPECT_TRUE(after.settings.filter150);
}

}  // namespace
