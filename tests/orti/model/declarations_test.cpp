// Tests of the parse-tree lookups, attribute typing and ENUM element lookup of the object
// model, including a comparison of the indexed lookups against a plain newest-first walk.
#include "orti/model/declarations.h"

#include "orti/model/model_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <memory_resource>
#include <random>

using namespace model_test;
using ::testing::ElementsAre;

namespace {

TEST(FindDefinition, WalksNewestFirstAndStopsAtADuplicate) {
  TreeBuilder b;
  b.define("TASK", "T1", 10, {{"A", "1", 11}});
  b.define("TASK", "T2", 20, {{"A", "1", 21}});
  OrtiLookup lookup(b.tree);
  Capture capture;
  const ObjectDefinition* first = find_definition("TASK", nullptr, lookup, nullptr);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->object_name, "T2");
  const ObjectDefinition* second = find_definition("TASK", nullptr, lookup, first);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->object_name, "T1");
  EXPECT_EQ(find_definition("TASK", nullptr, lookup, second), nullptr);
  EXPECT_EQ(count_definitions("TASK", lookup), 2);
  EXPECT_TRUE(capture.messages().empty());
}

TEST(FindDefinition, DuplicateReportsLaterLineThenFirstLine) {
  TreeBuilder b;
  b.define("TASK", "T1", 10, {{"A", "1", 11}});
  b.define("TASK", "T1", 20, {{"A", "1", 21}});
  OrtiLookup lookup(b.tree);
  Capture capture;
  EXPECT_EQ(find_definition("TASK", nullptr, lookup, nullptr), nullptr);
  EXPECT_THAT(capture.messages(), ElementsAre("E: Duplicate TASK definition found on line 20\n",
                                              "E: TASK first defined on line 10\n"));
  capture.lines.clear();
  // The duplicate ends the count before anything was counted.
  EXPECT_EQ(count_definitions("task", lookup), 0);
  EXPECT_THAT(capture.messages(), ElementsAre("E: Duplicate task definition found on line 20\n",
                                              "E: task first defined on line 10\n"));
}

TEST(FindDefinition, DuplicateBehindOtherObjectsEndsTheCountThere) {
  TreeBuilder b;
  b.define("TASK", "T1", 10, {{"A", "1", 11}});
  b.define("TASK", "T1", 20, {{"A", "1", 21}});
  b.define("TASK", "T2", 30, {{"A", "1", 31}});
  OrtiLookup lookup(b.tree);
  Capture capture;
  EXPECT_EQ(count_definitions("TASK", lookup), 1);
  EXPECT_EQ(capture.messages().size(), 2u);
}

TEST(FindDefinition, TypeNamesIgnoreCaseObjectNamesDoNot) {
  TreeBuilder b;
  b.define("task", "T1", 10, {{"A", "1", 11}});
  b.define("TASK", "t1", 20, {{"A", "1", 21}});
  OrtiLookup lookup(b.tree);
  Capture capture;
  const ObjectDefinition* t1 = find_definition("Task", "T1", lookup, nullptr);
  ASSERT_NE(t1, nullptr);
  EXPECT_EQ(t1->line, 10);
  const ObjectDefinition* lower = find_definition("tAsK", "t1", lookup, nullptr);
  ASSERT_NE(lower, nullptr);
  EXPECT_EQ(lower->line, 20);
  EXPECT_EQ(find_definition("TASK", "T3", lookup, nullptr), nullptr);
  EXPECT_EQ(count_definitions("TASK", lookup), 2);
  EXPECT_TRUE(capture.messages().empty());
}

TEST(FindDefinition, TracesEachCallAtLevel110WithNullForAbsentTexts) {
  TreeBuilder b("f.ort");
  b.define("TASK", "T1", 10, {{"A", "1", 11}});
  OrtiLookup lookup(b.tree);
  Capture capture(200);
  const ObjectDefinition* t1 = find_definition("TASK", nullptr, lookup, nullptr);
  find_definition("TASK", "X", lookup, t1);
  EXPECT_THAT(capture.lines, ElementsAre("T110: find_definition(TASK, (null), f.ort, (null))\n",
                                         "T110: find_definition(TASK, X, f.ort, T1)\n"));
}

TEST(FindDefinition, HookBelowTheLevelReceivesNoTrace) {
  TreeBuilder b;
  b.define("TASK", "T1", 10, {{"A", "1", 11}});
  OrtiLookup lookup(b.tree);
  Capture capture(109);
  count_definitions("TASK", lookup);
  EXPECT_TRUE(capture.lines.empty());
}

// The plain walk the indexes stand in for: newest first, the candidate's name then wanted.
struct WalkResult {
  const ObjectDefinition* found;
  std::vector<std::string> messages;
};
WalkResult reference_walk(const OrtiParseTree& tree, const char* type, const char* name,
                          const ObjectDefinition* start) {
  std::size_t i = start != nullptr ? start->file_index : tree.definitions.size();
  const ObjectDefinition* candidate = nullptr;
  std::string wanted = name != nullptr ? name : "";
  bool want_name = name != nullptr;
  while (i-- > 0) {
    const ObjectDefinition& d = *tree.definitions[i];
    if (!orti_name_equal(d.type_name.c_str(), type)) {
      continue;
    }
    if (want_name && d.object_name != wanted) {
      continue;
    }
    if (candidate == nullptr) {
      candidate = &d;
      wanted = d.object_name;
      want_name = true;
      continue;
    }
    return {
        nullptr,
        {"E: Duplicate " + std::string(type) + " definition found on line " +
             std::to_string(candidate->line) + "\n",
         "E: " + std::string(type) + " first defined on line " + std::to_string(d.line) + "\n"}};
  }
  return {candidate, {}};
}

TEST(FindDefinition, IndexedLookupMatchesThePlainWalkOnRandomTrees) {
  std::mt19937 rng(12345);
  const char* types[] = {"TASK", "task", "STACK", "vs_X"};
  const char* names[] = {"A", "B", "a", "C"};
  const char* wanted_types[] = {"TASK", "Stack", "VS_x", "ALARM"};
  for (int round = 0; round < 200; ++round) {
    TreeBuilder b;
    const int n = 1 + static_cast<int>(rng() % 12);
    for (int i = 0; i < n; ++i) {
      b.define(types[rng() % 4], names[rng() % 4], 10 * (i + 1), {{"X", "1", 1}});
    }
    OrtiLookup lookup(b.tree);
    for (int q = 0; q < 20; ++q) {
      const char* type = wanted_types[rng() % 4];
      const char* name = (rng() % 2) != 0 ? names[rng() % 4] : nullptr;
      const ObjectDefinition* start =
          (rng() % 3) == 0 ? b.tree.definitions[rng() % b.tree.definitions.size()].get() : nullptr;
      const WalkResult expected = reference_walk(b.tree, type, name, start);
      Capture capture;
      const ObjectDefinition* got = find_definition(type, name, lookup, start);
      ASSERT_EQ(got, expected.found) << "round " << round << " query " << q;
      ASSERT_EQ(capture.messages(), expected.messages) << "round " << round << " query " << q;
    }
  }
}

TEST(FindDeclaration, FindsByTypeIgnoringCaseAndReportsDuplicates) {
  TreeBuilder b;
  b.declare("TASK", 5, {spec(kKindCtype, "PRIORITY", 6)});
  b.declare("vs_A", 9, {spec(kKindCtype, "X", 10)});
  b.declare("VS_a", 15, {spec(kKindCtype, "X", 16)});
  OrtiLookup lookup(b.tree);
  Capture capture;
  const ObjectDeclaration* task = find_declaration("task", lookup);
  ASSERT_NE(task, nullptr);
  EXPECT_EQ(task->line, 5);
  EXPECT_EQ(find_declaration("ALARM", lookup), nullptr);
  EXPECT_TRUE(capture.messages().empty());
  EXPECT_EQ(find_declaration("vs_a", lookup), nullptr);
  EXPECT_THAT(capture.messages(), ElementsAre("E: Duplicate vs_a declaration found on line 15\n",
                                              "E: vs_a first defined on line 9\n"));
}

TEST(FindDefinitionAndDeclaration, WritesOutputsOnlyWhenBothExist) {
  TreeBuilder b;
  b.declare("TASK", 5, {spec(kKindCtype, "PRIORITY", 6)});
  b.define("TASK", "T1", 20, {{"PRIORITY", "1", 21}});
  b.define("ALARM", "A1", 30, {{"X", "1", 31}});
  OrtiLookup lookup(b.tree);
  Capture capture;
  ObjectDefinition* def = nullptr;
  const ObjectDeclaration* decl = nullptr;
  EXPECT_FALSE(find_definition_and_declaration("ALARM", nullptr, lookup, &def, &decl));
  EXPECT_EQ(def, nullptr);
  EXPECT_EQ(decl, nullptr);
  EXPECT_TRUE(find_definition_and_declaration("TASK", "T1", lookup, &def, &decl));
  ASSERT_NE(def, nullptr);
  ASSERT_NE(decl, nullptr);
  EXPECT_EQ(def->line, 20);
  EXPECT_EQ(decl->line, 5);
}

TEST(FindAttribute, MatchesIgnoringCaseAndReportsASecondDeclaration) {
  TreeBuilder b;
  ObjectDeclaration& decl = b.declare(
      "TASK", 5,
      {spec(kKindCtype, "PRIORITY", 6), spec(kKindCtype, "vs_X", 7), spec(kKindEnum, "VS_x", 8)});
  OrtiLookup lookup(b.tree);
  Capture capture;
  const AttributeSpec* priority = find_attribute(lookup, &decl, "priority");
  ASSERT_NE(priority, nullptr);
  EXPECT_EQ(priority->line, 6);
  EXPECT_EQ(find_attribute(lookup, &decl, "STATE"), nullptr);
  EXPECT_TRUE(capture.messages().empty());
  EXPECT_EQ(find_attribute(lookup, &decl, "vs_x"), nullptr);
  EXPECT_THAT(capture.messages(), ElementsAre("E: Duplicate vs_x attribute found on line 8\n",
                                              "E: vs_x first defined on line 7\n"));
}

struct MakeTypeFixture : ::testing::Test {
  TreeBuilder b{"m.ort"};
  ObjectDeclaration* decl = nullptr;
  OrtiObject owner;
  std::deque<AttributeDef> defs; // records point into them

  void SetUp() override {
    decl = &b.declare(
        "TASK", 5,
        {spec(kKindCtype, "PRIORITY", 6, "unsigned char", {}, true, "Prio"),
         spec(kKindEnum, "STATE", 7, "int", {element("READY", 1, 7), element("RUNNING", 2, 7)}),
         spec(kKindString, "vs_NAME", 8), spec(8, "WEIRD", 9)});
    owner.name = "T1";
  }
  std::unique_ptr<AttributeDecl> make(OrtiLookup& lookup, const char* name, const char* formula,
                                      int32_t mask) {
    defs.push_back(AttributeDef{name, formula, 50});
    return make_type(lookup, decl, &defs.back(), mask, &owner, "m.ort", error_message);
  }
};

TEST_F(MakeTypeFixture, BuildsRecordsByTheDeclaredKind) {
  OrtiLookup lookup(b.tree);
  Capture capture;
  auto ctype = make(lookup, "priority", "prio[0]", kKindAny);
  ASSERT_TRUE(ctype);
  EXPECT_EQ(ctype->kind(), kKindCtype);
  EXPECT_STREQ(ctype->name(), "PRIORITY"); // as declared, not as written
  EXPECT_STREQ(ctype->formula, "prio[0]");
  EXPECT_STREQ(ctype->description(), "Prio");
  EXPECT_STREQ(ctype->c_type(), "unsigned char");
  EXPECT_TRUE(ctype->to_trace());
  EXPECT_EQ(ctype->elements(), nullptr);
  EXPECT_TRUE(ctype->value_cache.empty());

  auto enumerated = make(lookup, "STATE", "st", kKindEnum);
  ASSERT_TRUE(enumerated);
  EXPECT_EQ(enumerated->kind(), kKindEnum);
  EXPECT_STREQ(enumerated->c_type(), "int");
  ASSERT_NE(enumerated->elements(), nullptr);
  EXPECT_EQ(enumerated->elements()->size(), 2u);
  EXPECT_EQ(enumerated->description(), nullptr);
  EXPECT_FALSE(enumerated->to_trace());

  auto text = make(lookup, "vs_NAME", "n", kKindString);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->kind(), kKindString);
  EXPECT_EQ(text->c_type(), nullptr);
  EXPECT_FALSE(text->is_name_attribute());
  EXPECT_TRUE(capture.messages().empty());
}

TEST_F(MakeTypeFixture, ListAttributesNeedNoDeclarationAndIgnoreTheMask) {
  OrtiLookup lookup(b.tree);
  Capture capture;
  struct Case {
    const char* name;
    int32_t kind;
    bool is_name;
  };
  for (const Case& c :
       {Case{"_PARENT_NODE", kKindString, false}, Case{"_item", kKindString, false},
        Case{"_next_node", kKindString, false}, Case{"_Name", kKindString, true},
        Case{"_NODE_VALID", kKindCtype, false}, Case{"_owner", kKindCtype, false}}) {
    auto record = make(lookup, c.name, "f", 0);
    ASSERT_TRUE(record) << c.name;
    EXPECT_EQ(record->kind(), c.kind) << c.name;
    EXPECT_EQ(record->is_name_attribute(), c.is_name) << c.name;
    EXPECT_STREQ(record->name(), c.name);
    EXPECT_STREQ(record->description(), c.name);
    EXPECT_STREQ(record->formula, "f");
    EXPECT_EQ(record->c_type(), nullptr);
    EXPECT_FALSE(record->to_trace());
  }
  EXPECT_TRUE(capture.messages().empty());
}

TEST_F(MakeTypeFixture, UndeclaredAttributeIsReportedAndGivesNone) {
  OrtiLookup lookup(b.tree);
  Capture capture;
  EXPECT_FALSE(make(lookup, "vs_MISSING", "f", kKindAny));
  EXPECT_THAT(capture.messages(), ElementsAre("E: vs_MISSING not declared in object T1 in m.ort\n",
                                              "E: (T1 declared at line 5)\n"));
  capture.lines.clear();
  AttributeDef def{"X", "f", 3};
  EXPECT_FALSE(make_type(lookup, nullptr, &def, kKindAny, nullptr, nullptr, error_message));
  EXPECT_THAT(capture.messages(), ElementsAre("E: X not declared in object (null) in (null)\n",
                                              "E: ((null) declared at line -1)\n"));
  capture.lines.clear();
  EXPECT_FALSE(make_type(lookup, decl, nullptr, kKindAny, &owner, "m.ort", error_message));
  EXPECT_THAT(capture.messages(), ElementsAre("E: make_type(): def is NULL!\n"));
}

TEST_F(MakeTypeFixture, KindOutsideTheMaskGoesThroughTheReportFunction) {
  OrtiLookup lookup(b.tree);
  Capture capture;
  AttributeDef def{"STATE", "f", 3};
  EXPECT_FALSE(make_type(lookup, decl, &def, kKindString, &owner, "m.ort", warning_message));
  EXPECT_THAT(capture.messages(), ElementsAre("W: STATE (declared at line 7) has type ENUM\n",
                                              "W: Allowed types are STRING\n"));
  capture.lines.clear();
  AttributeDef prio{"PRIORITY", "f", 3};
  EXPECT_FALSE(
      make_type(lookup, decl, &prio, kKindEnum | kKindString, &owner, "m.ort", error_message));
  EXPECT_THAT(capture.messages(), ElementsAre("E: PRIORITY (declared at line 6) has type CTYPE\n",
                                              "E: Allowed types are ENUM STRING\n"));
  capture.lines.clear();
  EXPECT_FALSE(make(lookup, "WEIRD", "f", kKindAny));
  EXPECT_THAT(capture.messages(),
              ElementsAre("E: WEIRD (declared at line 9) has type _UNRECOGNIZED_TYPE_\n",
                          "E: Allowed types are CTYPE ENUM STRING\n"));
  capture.lines.clear();
  EXPECT_FALSE(make(lookup, "WEIRD", "f", 8 | kKindAny));
  EXPECT_THAT(capture.messages(), ElementsAre("E: Unrecognized type 8\n"));
}

TEST_F(MakeTypeFixture, MakeTypeTracesItsCall) {
  OrtiLookup lookup(b.tree);
  Capture capture(110);
  make(lookup, "_ITEM", "f", 6);
  EXPECT_THAT(capture.lines, ElementsAre("T110: make_type(TASK, _ITEM, 00000006, T1, m.ort)\n"));
}

TEST(StandardAttributeMatch, WrongTypeIsAnErrorOrAWarningByTheSyntaxMode) {
  for (int extended : {0, 1}) {
    TreeBuilder b;
    ObjectDeclaration& decl = b.declare("TASK", 5, {spec(kKindCtype, "STATE", 6, "int")});
    OrtiLookup lookup(b.tree, extended);
    OrtiObject owner;
    owner.name = "T1";
    std::unique_ptr<AttributeDecl> slot;
    Capture capture;
    AttributeDef def{"state", "f", 30};
    EXPECT_FALSE(match_standard_attribute(lookup, "STATE", &decl, def, kKindEnum, &owner, slot));
    EXPECT_FALSE(slot);
    if (extended == 0) {
      EXPECT_THAT(capture.messages(), ElementsAre("E: state (declared at line 6) has type CTYPE\n",
                                                  "E: Allowed types are ENUM\n"));
    } else {
      EXPECT_THAT(capture.messages(),
                  ElementsAre("W: state (declared at line 6) has type CTYPE\n",
                              "W: Allowed types are ENUM\n",
                              "W: Attribute STATE of TASK does not adhere to the ORTI standard.  "
                              "Processing as a custom attribute.\n"));
    }
    capture.lines.clear();
    EXPECT_FALSE(match_standard_attribute(lookup, "PRIORITY", &decl, def, kKindAny, &owner, slot));
    EXPECT_TRUE(capture.lines.empty()); // another name: not even a lookup
  }
}

TEST(StandardAttributeMatch, ASecondMatchReplacesTheSlot) {
  TreeBuilder b;
  ObjectDeclaration& decl = b.declare("TASK", 5, {spec(kKindCtype, "PRIORITY", 6, "int")});
  OrtiLookup lookup(b.tree);
  OrtiObject owner;
  std::unique_ptr<AttributeDecl> slot;
  Capture capture;
  AttributeDef first{"PRIORITY", "one", 30};
  AttributeDef second{"Priority", "two", 31};
  EXPECT_TRUE(match_standard_attribute(lookup, "PRIORITY", &decl, first, kKindCtype, &owner, slot));
  EXPECT_TRUE(
      match_standard_attribute(lookup, "PRIORITY", &decl, second, kKindCtype, &owner, slot));
  ASSERT_TRUE(slot);
  EXPECT_STREQ(slot->formula, "two");
}

TEST(FindEnumElement, ComparesLabelsExactly) {
  std::vector<EnumElement> elements = {element("NO_ISR", 0, 1), element("no_isr", 1, 2),
                                       element("NO_ISR", 2, 3)};
  AttributeDecl attr;
  attr.own_facts().kind = kKindEnum;
  attr.own_facts().elements = &elements;
  const EnumElement* found = find_enum_element(attr, "NO_ISR");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->value, 0);
  EXPECT_EQ(find_enum_element(attr, "No_Isr"), nullptr);
  AttributeDecl no_elements;
  EXPECT_EQ(find_enum_element(no_elements, "NO_ISR"), nullptr);
}

TEST(MakeCpuAttribute, OwnsItsNameAndDescription) {
  std::string reg = "R13";
  auto attr = make_cpu_attribute(reg.c_str(), "ctx->sp");
  reg = "changed";
  EXPECT_EQ(attr->kind(), kKindCtype);
  EXPECT_STREQ(attr->name(), "_CPU_R13");
  EXPECT_STREQ(attr->description(), "R13");
  EXPECT_STREQ(attr->c_type(), "unsigned long");
  EXPECT_STREQ(attr->formula, "ctx->sp");
  EXPECT_FALSE(attr->to_trace());
}

TEST(NameEqual, ComparesAsciiLettersWithoutCaseAndAbsentOnlyWithAbsent) {
  EXPECT_TRUE(orti_name_equal("_next_node", "_NEXT_NODE"));
  EXPECT_FALSE(orti_name_equal("TASK", "TASKS"));
  EXPECT_FALSE(orti_name_equal("\xC4", "\xE4")); // not ASCII letters
  EXPECT_FALSE(orti_name_equal(nullptr, ""));
  EXPECT_TRUE(orti_name_equal(nullptr, nullptr));
  EXPECT_STREQ(attribute_kind_name(4), "STRING");
  EXPECT_STREQ(attribute_kind_name(3), "_UNRECOGNIZED_TYPE_");
}

} // namespace

namespace {

// Where a record lives is marked beside its facts' address, so that changing the facts must
// keep the mark: a record of a model's memory freed on the heap, or a heap record never freed,
// fails the run (and the address-checked one in particular).
TEST(AttributeDeclMemory, ChangingFactsKeepsWhereTheRecordLives) {
  AttributeFacts shared;
  shared.name = "SHARED";
  shared.kind = kKindString;
  std::pmr::monotonic_buffer_resource memory;
  for (std::pmr::memory_resource* place :
       std::initializer_list<std::pmr::memory_resource*>{&memory, nullptr}) {
    auto record = AttributeDecl::make(place);
    EXPECT_EQ(record->name(), nullptr);
    record->own_facts().name = "OWN";
    EXPECT_STREQ(record->name(), "OWN");
    record->share_facts(shared);
    EXPECT_FALSE(record->owns_facts());
    EXPECT_STREQ(record->name(), "SHARED");
    EXPECT_EQ(record->kind(), kKindString);
    record->own_facts().kind = kKindCtype;
    EXPECT_STREQ(record->name(), "SHARED");
    EXPECT_EQ(record->kind(), kKindCtype);
    EXPECT_EQ(shared.kind, kKindString);
  }
}

} // namespace
