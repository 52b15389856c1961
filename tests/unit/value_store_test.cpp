// The parameter and result store of a command: flat, in key order, past its inline entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <oks/platform/command_host.h>

namespace oks::test {
namespace {

using QEM_ProductTypes::Node;

std::vector<std::string> keys(const ValueStore& store) {
  std::vector<std::string> out;
  for (const auto& [key, value] : store.entries()) out.push_back(key);
  return out;
}

TEST(ValueStore, KeepsKeysInOrderAndRecordsInPlaceBeyondItsInlineEntries) {
  ValueStore store;
  std::vector<Node*> records;
  for (const char* key : {"result5", "result0", "Param1", "result9", "Param0", "result2", "result1"}) {
    records.push_back(new Node);
    ASSERT_EQ(store.setRecord(key, records.back()), S_OK) << key;
  }
  EXPECT_EQ(keys(store), (std::vector<std::string>{"Param0", "Param1", "result0", "result1", "result2",
                                                   "result5", "result9"}));
  Node* held = nullptr;
  ASSERT_EQ(store.getPointer("result5", held), S_OK);
  EXPECT_EQ(held, records[0]);
  ASSERT_EQ(store.getPointer("result1", held), S_OK);
  EXPECT_EQ(held, records[6]);

  // One record, one key; replacing a key's record frees the old one.
  EXPECT_EQ(store.setRecord("result7", records[3]), E_INVALIDARG);
  EXPECT_EQ(store.setRecord("result9", records[3]), S_OK);
  EXPECT_EQ(store.setRecord("result9", new Node), S_OK);
  EXPECT_EQ(store.setValue("result0", 4), S_OK);
  int value = 0;
  EXPECT_EQ(store.getValue("result0", value), S_OK);
  EXPECT_EQ(value, 4);
  EXPECT_EQ(store.getPointer("result0", held), E_INVALIDARG);
  EXPECT_EQ(store.entries().size(), 7u);
}

TEST(ValueStore, AFailingKeyHidesItsValueUntilSetAgain) {
  ValueStore store;
  store.setValue("Param0", 1);
  store.setValue("Param1", 2);
  store.failKey("Param0", E_FAIL);
  int value = 0;
  EXPECT_EQ(store.getValue("Param0", value), E_FAIL);
  EXPECT_EQ(keys(store), (std::vector<std::string>{"Param1"}));
  store.setValue("Param0", 3);
  EXPECT_EQ(store.getValue("Param0", value), S_OK);
  EXPECT_EQ(value, 3);
  EXPECT_EQ(store.getValue("Param9", value), E_NOTFOUND);
}

}  // namespace
}  // namespace oks::test
