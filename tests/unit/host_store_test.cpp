// The command host's store of named parameters and results: kinds, statuses and ownership.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include <oks/platform/command_host.h>
#include <oks/platform/faults.h>

namespace oks::test {
namespace {

class StoreCommand : public MIROAppBaseCommand {
 public:
  HRESULT AppExecute() override { return 7; }
};

using QEM_ProductTypes::Node;
using QEM_ProductTypes::XNode;
using QEM_ProductTypes::XNodeSeq;

std::vector<std::string> keys(const ValueStore& store) {
  std::vector<std::string> out;
  for (const auto& [key, value] : store.entries()) out.push_back(key);
  return out;
}

// The store is flat, in key order, past its inline entries; one record has one key.
TEST(HostStore, KeepsKeysInOrderAndRecordsInPlaceBeyondItsInlineEntries) {
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

  // One record, one key; the same record again is harmless; replacing a key's record frees the old one.
  EXPECT_EQ(store.setRecord("result7", records[3]), E_INVALIDARG);
  EXPECT_EQ(store.setRecord("result9", records[3]), S_OK);
  EXPECT_EQ(store.setRecord("result9", new Node), S_OK);
  EXPECT_EQ(store.setRecord("result9", static_cast<Node*>(nullptr)), E_POINTER);
  EXPECT_EQ(store.setValue("result0", 4), S_OK);
  int value = 0;
  EXPECT_EQ(store.getValue("result0", value), S_OK);
  EXPECT_EQ(value, 4);
  // A key of another kind, or none: the pointer stays null.
  EXPECT_EQ(store.getPointer("result0", held), E_INVALIDARG);
  EXPECT_EQ(held, nullptr);
  EXPECT_EQ(store.getValue("result5", value), E_INVALIDARG);
  EXPECT_EQ(store.getValue("Param9", value), E_NOTFOUND);
  EXPECT_EQ(store.entries().size(), 7u);
}

// Sets a parameter and reads it back, as a value or (for lists) as a pointer to the stored copy.
template <class T>
void expectReadBack(StoreCommand& c, const char* key, const T& value) {
  ASSERT_EQ(c.SetParameter(key, value), S_OK);
  if constexpr (std::is_arithmetic_v<T> || std::is_same_v<T, ZORUnicodeString>) {
    T back{};
    EXPECT_EQ(c.GetParameter(key, back), S_OK);
    EXPECT_EQ(back, value) << key;
  } else {
    T* back = nullptr;
    ASSERT_EQ(c.GetParameter(key, back), S_OK);
    EXPECT_EQ(*back, value) << key;
  }
}

TEST(HostStore, EveryValueAndRecordKindRoundTrips) {
  StoreCommand c;
  ZORListValZORUnicodeString names;
  names.Append("a");
  names.Append("b");
  ZORRawCollint ints;
  ints.Append(4);
  expectReadBack(c, "s", ZORUnicodeString("text"));
  expectReadBack(c, "i", 42);
  expectReadBack(c, "d", 2.5);
  expectReadBack(c, "u", static_cast<unsigned char>(1));
  expectReadBack(c, "l", names);
  expectReadBack(c, "o", _SEQUENCE_octet{0x0a, 0x0b});
  expectReadBack(c, "c", ints);
  EXPECT_EQ(names[1], "a");  // lists are indexed from 1

  int i = 0;
  ASSERT_EQ(c.SetResult("r", 5), S_OK);
  EXPECT_EQ(c.GetResult("r", i), S_OK);
  EXPECT_EQ(i, 5);
  EXPECT_EQ(c.Execute(), 7);

  // Records: the store keeps the pointer it was given and owns it.
  auto* node = new XNode{"CH1", "CH", "CONFIG", {}};
  ASSERT_EQ(c.SetXNodeParameter("Param0", node), S_OK);
  XNode* read = nullptr;
  ASSERT_EQ(c.GetXNodeParameter("Param0", read), S_OK);
  EXPECT_EQ(read, node);
  auto* seq = new XNodeSeq(2);
  ASSERT_EQ(c.SetXNodeSeqResult("result0", seq), S_OK);
  EXPECT_EQ(c.SetXNodeSeqResult("result1", seq), E_INVALIDARG);
  XNodeSeq* back = nullptr;
  ASSERT_EQ(c.GetXNodeSeqResult("result0", back), S_OK);
  EXPECT_EQ(back, seq);
  EXPECT_EQ(c.SetNodeResult("result2", nullptr), E_POINTER);
  Node* none = nullptr;
  EXPECT_EQ(c.GetNodeResult("result2", none), E_NOTFOUND);
}

// A host-side getter fault hides the key, for every kind, until the key is set again.
TEST(HostStore, HostSideGetterFailuresLastUntilTheKeyIsSet) {
  StoreCommand c;
  c.SetParameter("Param0", 1);
  c.SetParameter("Param1", 2);
  c.FailParameter("Param0", E_FAIL);
  int i = 0;
  Node* node = nullptr;
  EXPECT_EQ(c.GetParameter("Param0", i), E_FAIL);
  EXPECT_EQ(c.GetNodeParameter("Param0", node), E_FAIL);
  EXPECT_EQ(keys(c.Parameters()), (std::vector<std::string>{"Param1"}));
  c.SetParameter("Param0", 3);
  EXPECT_EQ(c.GetParameter("Param0", i), S_OK);
  EXPECT_EQ(i, 3);
}

TEST(HostStore, AFailingResultSetterStoresNothingAndLeaksNothing) {
  FaultPlan plan;
  plan.setResult["result0"] = E_FAIL;
  setFaults(plan);
  StoreCommand c;
  EXPECT_EQ(c.SetResult("result0", 1), E_FAIL);
  EXPECT_EQ(c.SetXNodeResult("result0", new XNode{}), E_FAIL);
  EXPECT_EQ(c.SetResult("result1", 1), S_OK);
  clearFaults();
  EXPECT_EQ(c.Results().entries().size(), 1u);
}

}  // namespace
}  // namespace oks::test
