// The command host's store of named parameters and results: kinds, statuses and ownership.
#include <gtest/gtest.h>

#include <type_traits>

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

TEST(HostStore, EveryValueKindRoundTrips) {
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
}

TEST(HostStore, RecordKindsRoundTripAndTheStoreOwnsThem) {
  StoreCommand c;
  auto* node = new XNode{"CH1", "CH", "CONFIG", {}};
  ASSERT_EQ(c.SetXNodeParameter("Param0", node), S_OK);
  XNode* read = nullptr;
  ASSERT_EQ(c.GetXNodeParameter("Param0", read), S_OK);
  EXPECT_EQ(read, node);
  EXPECT_EQ(c.SetXNodeParameter("Param0", node), S_OK);         // the same record again is harmless
  EXPECT_EQ(c.SetXNodeParameter("Param0", new XNode{}), S_OK);  // replacing frees the old one
  EXPECT_EQ(c.SetXNodeParameter("Param9", read = nullptr), E_POINTER);

  auto* seq = new XNodeSeq(2);
  ASSERT_EQ(c.SetXNodeSeqResult("result0", seq), S_OK);
  EXPECT_EQ(c.SetXNodeSeqResult("result0", seq), S_OK);
  EXPECT_EQ(c.SetXNodeSeqResult("result1", seq), E_INVALIDARG);  // one record is never owned twice
  XNodeSeq* back = nullptr;
  ASSERT_EQ(c.GetXNodeSeqResult("result0", back), S_OK);
  EXPECT_EQ(back->length(), 2u);
  EXPECT_EQ(c.SetNodeResult("result2", nullptr), E_POINTER);
  Node* none = nullptr;
  EXPECT_EQ(c.GetNodeResult("result2", none), E_NOTFOUND);
}

TEST(HostStore, GettersTellAMissingKeyFromAnotherKind) {
  StoreCommand c;
  c.SetParameter("Param0", 1);
  ZORUnicodeString s;
  Node* node = nullptr;
  EXPECT_EQ(c.GetParameter("Param1", s), E_NOTFOUND);
  EXPECT_EQ(c.GetParameter("Param0", s), E_INVALIDARG);
  EXPECT_EQ(c.GetNodeParameter("Param0", node), E_INVALIDARG);
  EXPECT_EQ(node, nullptr);
}

TEST(HostStore, HostSideGetterFailuresLastUntilTheKeyIsSet) {
  StoreCommand c;
  c.FailParameter("Param0", E_FAIL);
  int i = 0;
  Node* node = nullptr;
  EXPECT_EQ(c.GetParameter("Param0", i), E_FAIL);
  EXPECT_EQ(c.GetNodeParameter("Param0", node), E_FAIL);
  c.SetParameter("Param0", 3);
  EXPECT_EQ(c.GetParameter("Param0", i), S_OK);
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
