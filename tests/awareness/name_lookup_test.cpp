// Objects and attributes by name: the search order over the kinds, the match limit, the vendor
// index, exact comparison, and which attributes a search by name can find.
#include "awareness_fixture.h"

#include "awareness/name_lookup.h"
#include "awareness/object_types.h"

namespace {

// "Dup" names one object of each of the seven standard kinds and of four vendor kinds: eleven
// objects of one name. vs_K1 holds A0 before its Dup.
const char kFile[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T {
  OS { ENUM [ "NO" = 0 ] RUNNINGTASK; CTYPE _RUNNINGTASK; CTYPE vs_X; };
  TASK { CTYPE PRIORITY; ENUM [ "S" = 0 ] STATE; CTYPE TASK_ID; CTYPE vs_A; CTYPE STATE2; };
  CONTEXT { CTYPE SIZE; CTYPE ADDRESS; CTYPE _CPU_PC; };
  STACK { CTYPE SIZE; };
  ALARM { CTYPE ALARMTIME; };
  RESOURCE { STRING PRIORITY; };
  MESSAGECONTAINER { CTYPE QUEUESIZE; };
  vs_K1 { CTYPE vs_V; }; vs_K2 { CTYPE vs_V; }; vs_K3 { CTYPE vs_V; }; vs_K4 { CTYPE vs_V; };
};
OS Dup { RUNNINGTASK = "R"; _RUNNINGTASK = "RI"; vs_X = "X"; };
TASK T0 { PRIORITY = "P0"; STATE = "S0"; TASK_ID = "0"; };
TASK Dup { PRIORITY = "P1"; STATE = "S1"; TASK_ID = "1"; vs_A = "A1"; STATE2 = "S2"; };
CONTEXT Dup { ADDRESS = "&C"; SIZE = "4"; _CPU_PC = "C.pc"; };
STACK Dup { SIZE = "8"; };
ALARM Dup { ALARMTIME = "T"; };
RESOURCE Dup { PRIORITY = "3"; };
MESSAGECONTAINER Dup { QUEUESIZE = "2"; };
vs_K1 A0 { vs_V = "0"; };
vs_K1 Dup { vs_V = "1"; };
vs_K2 Dup { vs_V = "2"; };
vs_K3 Dup { vs_V = "3"; };
vs_K4 Dup { vs_V = "4"; };
)ORTI";

class NameLookupTest : public AwarenessTest {
protected:
  void SetUp() override {
    AwarenessTest::SetUp();
    load(kFile);
  }
};

TEST_F(NameLookupTest, ElevenNamesakesGiveTheFirstTenInKindOrder) {
  std::vector<ObjectMatch> found;
  ASSERT_TRUE(getobj(state, &ctx, "Dup", &found));
  const std::vector<std::pair<int32_t, int64_t>> expected = {{kTypeOs, 0},
                                                             {kTypeTask, 1},
                                                             {kTypeContext, 0},
                                                             {kTypeStack, 0},
                                                             {kTypeAlarm, 0},
                                                             {kTypeResource, 0},
                                                             {kTypeMessageContainer, 0},
                                                             {100, 1},
                                                             {101, 0},
                                                             {102, 0}};
  ASSERT_EQ(found.size(), expected.size());
  for (std::size_t i = 0; i < found.size(); ++i) {
    EXPECT_EQ(found[i].type, expected[i].first) << i;
    EXPECT_EQ(found[i].index, expected[i].second) << i;
    EXPECT_EQ(found[i].vendor_index, found[i].type >= 100 ? expected[i].second : 0) << i;
  }
}

TEST_F(NameLookupTest, NamesCompareExactlyAndAMissTracesFailure) {
  state.log_level = 50;
  std::vector<ObjectMatch> found;
  EXPECT_TRUE(getobj(state, &ctx, "A0", &found));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].type, 100);
  EXPECT_FALSE(traced("getobj(): Failure\n"));
  for (const char* name : {"dup", "Dup ", "", "T"}) {
    EXPECT_FALSE(getobj(state, &ctx, name, &found)) << name;
    EXPECT_TRUE(found.empty());
  }
  EXPECT_TRUE(traced("getobj(name:dup)\n"));
  EXPECT_TRUE(traced("getobj(): Failure\n"));
}

TEST_F(NameLookupTest, AttributesByNameStandardFirstThenCustom) {
  struct Case {
    int32_t type;
    int64_t index;
    const char* name;
    int32_t id; // 0: not found
  };
  const Case cases[] = {
      {kTypeOs, 0, "RUNNINGTASK", 3},
      {kTypeOs, 0, "_RUNNINGTASK", 0},
      {kTypeOs, 0, "vs_X", 100},
      {kTypeTask, 1, "PRIORITY", 3},
      {kTypeTask, 1, "STATE", 4},
      {kTypeTask, 1, "state", 0},
      {kTypeTask, 1, "TASK_ID", 0},
      {kTypeTask, 1, "STATE2", 101},
      {kTypeTask, 1, "STACK", 0},
      {kTypeTask, 0, "vs_A", 0},
      {kTypeContext, 0, "ADDRESS", 3},
      {kTypeContext, 0, "SIZE", 4},
      {kTypeContext, 0, "_CPU_PC", 100},
      {kTypeResource, 0, "PRIORITY", 5},
      {kTypeStack, 0, "SIZE", 3},
      {100, 1, "vs_V", 100},
      {101, 0, "SIZE", 0},
  };
  for (const Case& c : cases) {
    const OrtiObject* object = object_at(state, c.type, c.index);
    ASSERT_NE(object, nullptr);
    int32_t id = 0;
    AttributeDecl* attr = find_attribute_by_name(*object, c.type, c.name, &id);
    EXPECT_EQ(attr != nullptr ? id : 0, c.id) << c.type << " " << c.name;
    if (attr != nullptr && c.id >= 100) {
      EXPECT_EQ(attr, object->custom_attributes[c.id - 100].attribute.get()) << c.name;
    }
  }
}

} // namespace
