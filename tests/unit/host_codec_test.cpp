// The JSON codecs: every kind reads back as what was written, and malformed input is reported
// with the member path.
#include <gtest/gtest.h>

#include <tuple>

#include <oks/host/codec.h>
#include <oks/service/server.h>

namespace oks::host {
namespace {

using QEM_ProductTypes::Node;
using QEM_ProductTypes::XNode;

template <class T>
void expectRoundTrip(const T& value) {
  Json j = toJson(value);
  T back = decodeAs<T>(Json::parse(j.dump()), "v");
  EXPECT_TRUE(back == value) << j.dump();
  CompactRecords compact;
  T fromCompact = decodeAs<T>(toJson(value), "v");
  EXPECT_TRUE(fromCompact == value) << toJson(value).dump();
}

// The error of decoding the JSON text as a T at the path.
template <class T>
std::string errorOf(const char* text, const std::string& path) {
  try {
    decodeAs<T>(Json::parse(text), path);
  } catch (const CaseError& e) {
    return e.what();
  }
  return "no error";
}

Node sampleNode() {
  Node n;
  n.UUID = {0x0a, 0xff, 0x00};
  n.Ref = {0x01};
  n.Name = "wheel";
  n.AttributeList.append({"weight", CORBA::Any(std::int64_t{-3})});
  n.AttributeList.append({"nested", CORBA::Any(CORBA::Any::Members{
                                        {"b", CORBA::Any(true)},
                                        {"a", CORBA::Any(CORBA::Any::List{CORBA::Any(), CORBA::Any(1.5),
                                                                          CORBA::Any(std::string("x"))})}})});
  n.ContextPropertiesList.append({"ctx", CORBA::Any(std::string("v"))});
  n.Type = "PRC";
  n.DerivedType = "Part";
  n.Level = -2;
  n.ChildrenCount = 70000;
  n.ExpandedStatus = QEM_NlsProductTypes::MODIFIED;
  return n;
}

QEMConfig::NormalValue sampleValue() {
  QEMConfig::NormalValue v;
  v.optionalDate.append({{2024, 1, 2, 3, 4, 5}, {2025, 12, 31, 23, 59, 59}});
  v.optionalRange.append({10, 20});
  v.optionalSpec = {"S1", "S2"};
  v.StartMileStoneName = "M1";
  v.EndMileStoneName = "M2";
  v.Sign = "-";
  return v;
}

TEST(HostCodec, EveryRecordKindRoundTrips) {
  expectRoundTrip(sampleNode());
  XNode x{"P1", "PRC", "CONFIG", {sampleNode(), Node{}}};
  expectRoundTrip(x);
  expectRoundTrip(QEM_ProductTypes::XNodeSeq{x, XNode{}});
  expectRoundTrip(QEM_ProductTypes::NodeSeq{sampleNode()});
  expectRoundTrip(QEM_ProductTypes::BObjectKey{"Part", {0xde, 0xad}});
  expectRoundTrip(QEM_ProductTypes::BObjectKeySeq{{"Part", {0x01}}, {"Doc", {}}});
  expectRoundTrip(QEM_ProductTypes::ProductAttributeSeq{{"n", CORBA::Any(std::string("t"))}});
  expectRoundTrip(QEMConfig::NormalValueSeq{sampleValue(), QEMConfig::NormalValue{}});
  QEMConfig::FilterValue f{"CO1", {"M1", "M2"}, {sampleValue()}, "D", "mode", "ECO", "hide"};
  expectRoundTrip(QEMConfig::MultiCOFilter{f, QEMConfig::FilterValue{}});
  QEMConfig::MileStoneValue m{"MS", "rep", {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}}, {3, 4}, -1};
  expectRoundTrip(QEMConfig::MileStoneValueSeq{m});
  QEMConfig::XEffectivityValues d{"Dom", "desc", {{sampleValue(), sampleValue()}, {}}};
  expectRoundTrip(QEMConfig::DomainEffectivitySeq{d});

  // Lists of pointers and of values, indexed from 1.
  AttributeFilters filters;
  filters.Append(new QEMIQAttributeFilterObject{"Name", "=", "A*"});
  filters.Append(new QEMIQAttributeFilterObject{"Rev", "<", "C"});
  expectRoundTrip(filters);
  EXPECT_EQ(toJson(filters)[0]["Attribute"], "Name");
  ObjectQueries queries;
  queries.Append(new QEMIQObjectQuery{"q1"});
  expectRoundTrip(queries);

  ZORListValZORUnicodeString names;
  names.Append("a");
  names.Append("b");
  expectRoundTrip(names);
  EXPECT_EQ(toJson(names), Json::parse(R"(["a", "b"])"));
  ZORRawCollint ints;
  ints.Append(-1);
  expectRoundTrip(ints);
}

TEST(HostCodec, ValuesAreWrittenAsTheCasesWriteThem) {
  EXPECT_EQ(toJson(_SEQUENCE_octet{0x0a, 0xbc, 0x00}), "0abc00");
  EXPECT_EQ(decodeAs<_SEQUENCE_octet>("0ABC", "v"), (_SEQUENCE_octet{0x0a, 0xbc}));
  EXPECT_EQ(toJson(static_cast<unsigned char>(200)), 200);
  EXPECT_EQ(toJson(ZORUnicodeString("t")), "t");
  EXPECT_EQ(toJson(QEM_NlsProductTypes::NOTEXPANDED), "NOTEXPANDED");
  EXPECT_EQ(decodeAs<HRESULT>(-2147467259, "v"), E_FAIL);
  expectRoundTrip(CORBA::Any());
}

// Full records list every member; compact ones, as the cases write them, only what is set.
TEST(HostCodec, MembersLeftOutTakeTheirEmptyValue) {
  Node n = decodeAs<Node>(Json::parse(R"({"UUID": "01"})"), "v");
  EXPECT_EQ(n.UUID, _SEQUENCE_octet{0x01});
  EXPECT_TRUE(n.Name.empty());
  EXPECT_EQ(n.ExpandedStatus, QEM_NlsProductTypes::EXPANDED);
  Json full = toJson(n);
  EXPECT_EQ(std::tuple(full.size(), full["Level"], full["Name"]), std::tuple(10u, 0, ""));
  CompactRecords compact;
  EXPECT_EQ(toJson(n), Json::parse(R"({"UUID": "01"})"));
  EXPECT_EQ(toJson(XNode{}), Json::object());
}

TEST(HostCodec, MalformedInputNamesTheMemberPath) {
  const std::pair<std::string, const char*> table[] = {
      {errorOf<XNode>(R"({"Name": "P1", "Nodes": [{"UUID": "01"}, {"UUID": "xyz1"}]})", "p.XNode"),
       "p.XNode.Nodes[1].UUID: expected a hex string"},
      {errorOf<_SEQUENCE_octet>(R"("abc")", "u"), "u: expected a hex string (an even number of digits)"},
      {errorOf<Node>(R"({"UUId": "01"})", "n").substr(0, 24), "n.UUId: unknown member ("},
      {errorOf<Node>(R"({"Level": 40000})", "n"), "n.Level: expected an integer from -32768 to 32767"},
      {errorOf<unsigned char>("-1", "f"), "f: expected an integer from 0 to 255"},
      {errorOf<int>("1.5", "i"), "i: expected an integer from -2147483648 to 2147483647"},
      {errorOf<Node>(R"({"ExpandedStatus": "OPEN"})", "n"),
       "n.ExpandedStatus: expected one of EXPANDED, NOTEXPANDED, MODIFIED"},
      {errorOf<QEMConfig::NormalValueSeq>("{}", "s"), "s: expected an array"},
      {errorOf<QEMConfig::DomainEffectivitySeq>(R"([{"Effectivity": [[{"Sign": 1}]]}])", "d"),
       "d[0].Effectivity[0][0].Sign: expected a string"},
      {errorOf<XNode>("[]", "x"), "x: expected an object"},
  };
  for (const auto& [got, expected] : table) EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace oks::host
