// Loading the library builds every unit's statics in order; unloading destroys them in reverse.
#include <gtest/gtest.h>

#include <algorithm>

#include <oks/api/library.h>
#include <oks/platform/broker.h>
#include <oks/platform/object_model.h>

namespace oks::test {
namespace {

TEST(UnitStatics, AreBuiltInOrderAtLoadAndDestroyedInReverseAtUnload) {
  enableStaticsLog(true);
  auto library = std::make_unique<CommandLibrary>(OKS_LIBRARY_PATH);
  std::vector<std::string> built = takeStaticsLog();
  EXPECT_EQ(registeredClasses().size(), 64u);
  EXPECT_GT(CORBA::typeCode::registered("IDL:QEM_Config/FilterValue:1.0"), 0);
  library.reset();
  std::vector<std::string> destroyed = takeStaticsLog();
  enableStaticsLog(false);

  // Every unit: the stream and broker initialisation objects, its type codes, its trace channel.
  ASSERT_FALSE(built.empty());
  EXPECT_EQ(std::count(built.begin(), built.end(), "+Iostream_init"), 64);
  EXPECT_EQ(std::count(built.begin(), built.end(), "+ZORQemTrace"), 64);
  std::size_t perUnit = built.size() / 64;
  ASSERT_EQ(built.size(), perUnit * 64);
  for (std::size_t unit = 0; unit < 64; ++unit) {
    EXPECT_EQ(built[unit * perUnit], "+Iostream_init");
    EXPECT_EQ(built[unit * perUnit + 1], "+IT_InitOrbix");
    EXPECT_EQ(built[unit * perUnit + 2].rfind("+typeCode IDL:", 0), 0u);
    EXPECT_EQ(built[unit * perUnit + perUnit - 1], "+ZORQemTrace");
  }

  std::vector<std::string> expected;
  for (auto it = built.rbegin(); it != built.rend(); ++it) expected.push_back("-" + it->substr(1));
  EXPECT_EQ(destroyed, expected);

  // Nothing of the unloaded library stays reachable by late type.
  EXPECT_TRUE(registeredClasses().empty());
  EXPECT_EQ(CORBA::typeCode::registered("IDL:QEM_Config/FilterValue:1.0"), 0);
}

}  // namespace
}  // namespace oks::test
