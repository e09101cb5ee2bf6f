// Attribute evaluation: CTYPE, ENUM and STRING reads, list substitution, the value cache and
// its generations, show-formulas mode, writes, and the expression length limit.
#include "awareness_fixture.h"

#include "awareness/object_attributes.h"
#include "awareness/object_types.h"

namespace {

const char kFile[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T {
  OS { ENUM [ "NO_TASK" = 0, "T1" : T1 = 1 ] RUNNINGTASK; CTYPE vs_TICKS; };
  TASK {
    CTYPE PRIORITY;
    ENUM [ "SUSPENDED" = 0, "RUNNING" = 3, "0x10" = 4, "12" = 5, "2.5" = 6,
           "MATCHED" = "OsMatch" ] STATE;
    STRING vs_NOTE;
  };
  vs_NODE { CTYPE vs_VALUE; };
};
OS Os { RUNNINGTASK = "OsRunning"; vs_TICKS = "OsTicks"; };
TASK T1 { PRIORITY = "OsPrio[0]"; STATE = "OsState[0]"; vs_NOTE = "a note"; };
vs_NODE * Nodes {
  vs_VALUE = "($ITEM)->value";
  _PARENT_NODE = "OsHead";
  _NEXT_NODE = "($NODE)->next";
  _ITEM = "(struct node *)($NODE)";
  _NODE_VALID = "($NODE) != 0";
  _NAME = "($ITEM)->name";
};
)ORTI";

class AttributeEvalTest : public AwarenessTest {
protected:
  void SetUp() override {
    AwarenessTest::SetUp();
    load(kFile);
  }
  OrtiObject& task() { return state.model->tasks[0]; }
  OrtiObject& nodes() { return state.model->vendor_kinds[0].objects[0]; }
  AttributeDecl* priority() { return task().standard[kTaskPriority].get(); }
  AttributeDecl* task_state() { return task().standard[kTaskState].get(); }
};

TEST_F(AttributeEvalTest, CtypeAsTextIsHexOfTheLow32Bits) {
  answer("OsPrio[0]", 0x1F);
  EXPECT_EQ(read(priority(), kValueText).text, "0x1f");
  // Asked as text, the debugger is asked for a 32-bit number; the answer keeps 32 bits.
  answer("OsTicks", 0x123456789);
  EXPECT_EQ(read(state.model->os.custom_attributes[0].attribute.get(), kValueText).text,
            "0x23456789");
}

TEST_F(AttributeEvalTest, EnumLabelsAndTheNumbersWrittenInThem) {
  struct Case {
    int64_t v;
    uint32_t code;
    std::string text;
    uint64_t number;
  };
  const Case cases[] = {
      {3, kValueText, "RUNNING", 0}, {3, kValueUInt32, "", 0},  {4, kValueText, "0x10", 0},
      {4, kValueUInt32, "", 16},     {5, kValueUInt32, "", 12}, {7, kValueText, "<UNKNOWN 7>", 0},
      {7, kValueUInt32, "", 7},
  };
  for (const Case& c : cases) {
    debugger->clear_script();
    debugger->on("OSA_Service_MessageDisplay").always();
    answer("OsState[0]", c.v);
    refuse("OsMatch");
    invalidate_caches(state);
    const TypedValue v = read(task_state(), c.code);
    if (c.code == kValueText) {
      EXPECT_EQ(v.text, c.text) << c.v;
    } else {
      EXPECT_EQ(v.payload, c.number) << c.v;
    }
  }
  answer("OsState[0]", 6);
  invalidate_caches(state);
  EXPECT_FLOAT_EQ(typed_value_as_float(read(task_state(), kValueFloat)), 2.5f);
}

TEST_F(AttributeEvalTest, EnumWithATypeItCannotGiveFailsWithoutCaching) {
  state.log_level = 0;
  answer("OsState[0]", 7);
  refuse("OsMatch");
  int32_t status = 0;
  read(task_state(), kValueUInt64, nullptr, &status);
  EXPECT_EQ(status, 1);
  EXPECT_TRUE(traced("Unexpected return type: 11\n"));
  read(task_state(), kValueUInt64, nullptr, &status);
  EXPECT_EQ(asked("OsState[0]"), 2u) << "a failed read is not cached";
}

TEST_F(AttributeEvalTest, MatchFormulaDecidesItsElementAndItsFailureSkipsIt) {
  answer("OsState[0]", 9);
  answer("OsMatch", 9);
  EXPECT_EQ(read(task_state(), kValueText).text, "MATCHED");
  debugger->clear_script();
  debugger->on("OSA_Service_MessageDisplay").always();
  answer("OsState[0]", 9);
  refuse("OsMatch");
  invalidate_caches(state);
  EXPECT_EQ(read(task_state(), kValueText).text, "<UNKNOWN 9>");
  EXPECT_TRUE(traced("Could not evaluate ENUM match formula: OsMatch\n"));
}

TEST_F(AttributeEvalTest, FailedEvaluationGivesAnErrorTextThatIsCachedButKnownAsFailed) {
  refuse("OsPrio[0]");
  bool evaluated = true;
  TypedValue v = typed_value_of(kValueText);
  EXPECT_EQ(get_attribute_value(state, &ctx, priority(), &v, nullptr, {false, &evaluated}), 0);
  EXPECT_EQ(v.text, "Error evaluating: OsPrio[0]");
  EXPECT_FALSE(evaluated);
  evaluated = true;
  EXPECT_EQ(get_attribute_value(state, &ctx, priority(), &v, nullptr, {false, &evaluated}), 0);
  EXPECT_FALSE(evaluated) << "the cached stand-in is still a failure";
  EXPECT_EQ(asked("OsPrio[0]"), 1u);
  TypedValue n = typed_value_of(kValueUInt32);
  n.payload = 0xABCD0000FFFFull;
  EXPECT_EQ(get_attribute_value(state, &ctx, priority(), &n, nullptr), 0);
  EXPECT_EQ(n.payload, 0xABCD00000000ull) << "only the low 32 bits become 0";
}

TEST_F(AttributeEvalTest, CacheHitsOnlyTheSameTypeInTheSameGeneration) {
  answer("OsPrio[0]", 5);
  read(priority(), kValueUInt32);
  read(priority(), kValueUInt32);
  EXPECT_EQ(asked("OsPrio[0]"), 1u);
  read(priority(), kValueText); // another type replaces the entry
  read(priority(), kValueUInt32);
  EXPECT_EQ(asked("OsPrio[0]"), 3u);
  invalidate_caches(state);
  read(priority(), kValueUInt32);
  EXPECT_EQ(asked("OsPrio[0]"), 4u);
}

TEST_F(AttributeEvalTest, ListElementExpressionFollowsTheNodesAndLeavesTheFormula) {
  state.list_position = 2;
  const char* before = nodes().custom_attributes[0].attribute->formula;
  const std::string element = "((struct node *)(((OsHead)->next)->next))->value";
  answer(element, 42);
  EXPECT_EQ(read(nodes().custom_attributes[0].attribute.get(), kValueUInt32, &nodes()).payload,
            42u);
  EXPECT_EQ(nodes().custom_attributes[0].attribute->formula, before);
  EXPECT_STREQ(before, "($ITEM)->value");
}

TEST_F(AttributeEvalTest, ShowFormulasAnswersTextRequestsWithoutTheDebugger) {
  state.show_symbols = true;
  state.list_position = 1;
  EXPECT_EQ(read(nodes().custom_attributes[0].attribute.get(), kValueText, &nodes()).text,
            "((struct node *)((OsHead)->next))->value");
  EXPECT_EQ(evaluations(), 0u);
  answer("OsPrio[0]", 8);
  EXPECT_EQ(read(priority(), kValueUInt32).payload, 8u) << "numbers are still evaluated";
  TypedValue v = typed_value_of(kValueText);
  get_attribute_value(state, &ctx, priority(), &v, nullptr, {true, nullptr});
  EXPECT_EQ(v.text, "0x8") << "the plug-in's own reads want values";
}

TEST_F(AttributeEvalTest, StringsAreTextsAndNameFormulasArePrinted) {
  EXPECT_EQ(read(task().custom_attributes[0].attribute.get(), kValueText).text, "a note");
  int32_t status = 0;
  read(task().custom_attributes[0].attribute.get(), kValueUInt32, nullptr, &status);
  EXPECT_EQ(status, 1);
  answer_text("print /n ((struct node *)(OsHead))->name", "first");
  EXPECT_EQ(read(nodes().name_attribute(), kValueText, &nodes()).text, "first");
  read(nodes().name_attribute(), kValueText, &nodes());
  EXPECT_EQ(asked("print /n ((struct node *)(OsHead))->name", "OSA_Service_StringEval"), 2u)
      << "names are never cached";
  state.list_position = 1;
  EXPECT_EQ(read(nodes().name_attribute(), kValueText, &nodes()).text,
            "Error evaluating: ((struct node *)((OsHead)->next))->name");
}

TEST_F(AttributeEvalTest, TooLongExpressionIsNeverSentAndFailsLikeARefusal) {
  // "$NODE" twice doubles the text per node: the substitution stops at the limit.
  OrtiObject& list = nodes();
  const std::string doubling = "f($NODE, $NODE)";
  list.next_node()->formula = doubling.c_str();
  state.list_position = 12;
  const TypedValue v = read(list.custom_attributes[0].attribute.get(), kValueText, &list);
  EXPECT_EQ(v.text.rfind("Error evaluating: ", 0), 0u);
  EXPECT_LE(v.text.size(), kTextLimit);
  EXPECT_EQ(evaluations(), 0u);
  const std::string long_formula(3000, 'x');
  priority()->formula = long_formula.c_str();
  EXPECT_EQ(read(priority(), kValueUInt32).payload, 0u);
  TypedValue w = typed_value_of(kValueUInt32);
  EXPECT_EQ(set_attribute_value(state, &ctx, priority(), &w, nullptr), 1);
  EXPECT_EQ(evaluations(), 0u);
}

TEST_F(AttributeEvalTest, WritesBuildAnAssignmentAndDropTheCaches) {
  answer("OsPrio[0]", 1);
  read(priority(), kValueUInt32);
  struct Case {
    uint32_t code;
    uint64_t payload;
    std::string text;
    std::string sent;
  };
  const Case cases[] = {
      {kValueUInt32, 7, "", "(OsPrio[0])=7"},
      {kValueUInt64, 0xFFFFFFFFull, "", "(OsPrio[0])=-1"},
      {kValueUInt64, 0x100000002ull, "", "(OsPrio[0])=0x100000002"},
      {kValueText, 0, "3+4", "(OsPrio[0])=3+4"},
  };
  for (const Case& c : cases) {
    answer(c.sent, 0);
    TypedValue v = typed_value_of(c.code);
    v.payload = c.payload;
    v.text = c.text;
    EXPECT_EQ(set_attribute_value(state, &ctx, priority(), &v, nullptr), 0) << c.sent;
    EXPECT_EQ(asked(c.sent), 1u);
  }
  read(priority(), kValueUInt32);
  EXPECT_EQ(asked("OsPrio[0]"), 2u) << "a write drops every cached value";
  refuse("(OsPrio[0])=9");
  const uint64_t generation = state.generation;
  TypedValue v = typed_value_of(kValueUInt32);
  v.payload = 9;
  EXPECT_EQ(set_attribute_value(state, &ctx, priority(), &v, nullptr), 1);
  EXPECT_EQ(state.generation, generation) << "a failed write keeps the caches";
  EXPECT_EQ(set_attribute_value(state, &ctx, task_state(), &v, nullptr), 1) << "ENUM";
}

TEST_F(AttributeEvalTest, AccessorsMapIdsToAttributesNamesAndNumbers) {
  answer("OsPrio[0]", 2);
  TypedValue v = typed_value_of(kValueText);
  EXPECT_EQ(get_task_attribute(state, &ctx, 1, &v, nullptr), 0);
  EXPECT_EQ(v.text, "0x1");
  EXPECT_EQ(get_task_attribute(state, &ctx, 2, &v, nullptr), 0);
  EXPECT_EQ(v.text, "T1");
  AttributeDecl* attr = nullptr;
  EXPECT_EQ(get_task_attribute(state, &ctx, 3, &v, &attr), 0);
  EXPECT_EQ(attr, priority());
  EXPECT_EQ(get_task_attribute(state, &ctx, 100, &v, &attr), 0);
  EXPECT_EQ(v.text, "a note");
  for (const int32_t bad : {0, 10, 99, 101, -5}) {
    EXPECT_EQ(get_task_attribute(state, &ctx, bad, &v, &attr), 1) << bad;
  }
  EXPECT_EQ(get_task_attribute(state, &ctx, 5, &v, &attr), 1) << "STACK was not defined";
  TypedValue f = typed_value_of(kValueFloat);
  EXPECT_EQ(get_task_attribute(state, &ctx, 1, &f, nullptr), 1);
  EXPECT_EQ(get_os_attribute(state, &ctx, 2, &v, nullptr), 0);
  EXPECT_EQ(v.text, "Os");
  // A list element without _NAME is named by its list position, not its object index.
  nodes().list_slot(kListName).reset();
  state.list_position = 3;
  EXPECT_EQ(get_custom_attribute(state, &ctx, 0, 2, &v, nullptr), 0);
  EXPECT_EQ(v.text, "Resource3") << "a vendor kind without a description";
  EXPECT_EQ(get_custom_attribute(state, &ctx, 0, 1, &v, nullptr), 0);
  EXPECT_EQ(v.text, "0x4");
  EXPECT_EQ(get_custom_attribute(state, &ctx, 1, 1, &v, nullptr), 1) << "no second vendor kind";
  *object_cursor(state, kTypeTask) = 5;
  EXPECT_EQ(get_task_attribute(state, &ctx, 2, &v, nullptr), 1) << "cursor past the tasks";
}

} // namespace
