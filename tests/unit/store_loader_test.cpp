// The store-file loader reads a file one object at a time and checks what refers to what once
// every object is in: an object may name one that comes after it, and the fault reported is the
// first in the order of the file, whichever object showed it first.
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
  const std::pair<std::string, std::string> table[] = {
      {R"({"UUID": "02", "Type": "CV", "owner": "01", "productType": "03"}, {"UUID": "01", "Type": "PRC"},
          {"UUID": "03", "Type": "PT", "owner": "01"}, {"UUID": "05", "Type": "MOD", "parent": "06"},
          {"UUID": "06", "Type": "MOD"})",
       ""},
      // A reference resolved only at the end comes before a later object's fault found at once...
      {R"({"UUID": "01", "Type": "PRC"}, {"UUID": "02", "Type": "CV", "owner": "01", "productType": "09"},
          {"UUID": "03", "Type": "CV", "owner": "01", "productType": "01"})",
       "objects[1].productType: no object 09"},
      // ... and, within one object, before a later member's.
      {R"({"UUID": "01", "Type": "PRC"}, {"UUID": "02", "Type": "CV", "owner": "09", "productType": "01"})",
       "objects[1].owner: no object 09"},
      {R"({"UUID": "02", "Type": "CV", "productType": "01"}, {"UUID": "01", "Type": "PRC"})",
       "objects[0].productType: 01 is a PRC, not a PT"},
      {R"({"UUID": "03", "Type": "PRC", "owner": "02"}, {"UUID": "01", "Type": "PRC", "owner": "03"},
          {"UUID": "02", "Type": "PRC", "owner": "01"})",
       "objects[0].owner: ownership cycle 03 -> 02 -> 01 -> 03"},
      // Objects read earlier are no longer held, yet a fault inside a later one names its index.
      {R"({"UUID": "01", "Type": "PRC"}, {"UUID": "02", "Type": "PRC", "Name": "a", "Name": "b"})",
       "objects[1].Name: a member given twice"},
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
