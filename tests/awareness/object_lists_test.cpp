// Object list walks over plain objects and dynamic lists, reference walks with their cache,
// the walk bound, and the task calls.
#include "awareness_fixture.h"

#include "awareness/object_attributes.h"
#include "awareness/object_lists.h"
#include "awareness/object_types.h"
#include "awareness/tasks.h"

namespace {

const char kFile[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T {
  OS { ENUM [ "NO_TASK" = 0, "Task A" = 1, "TASK_B" = 2, "Task_C" = 3 ] RUNNINGTASK; };
  TASK {
    ENUM [ "SUSPENDED" = 0, "RUNNING" = 1 ] STATE;
    ENUM [ "S1" : S1 = 1, "None" = 0 ] STACK;
    ENUM [ "Self" : Task_C = 1, "None" = 0 ] TASK;
    ENUM [ "Timers" : Timers = 1 ] vs_TIMER;
    CTYPE VALID;
    CTYPE TASK_ID;
  };
  STACK { CTYPE SIZE; CTYPE VALID; };
  vs_TIMER { CTYPE vs_LEFT; };
};
OS Os { RUNNINGTASK = "OsRunning"; };
TASK Task_A { STATE = "St[0]"; STACK = "Stk[0]"; TASK = "0"; vs_TIMER = "1"; VALID = "1";
              TASK_ID = "Tid[0]"; };
TASK TASK_b { STATE = "St[1]"; STACK = "Stk[1]"; TASK = "Peer"; vs_TIMER = "1"; VALID = "V1"; };
TASK Task_C { STATE = "St[2]"; STACK = "0"; TASK = "0"; vs_TIMER = "1"; VALID = "V2"; };
STACK S0 { SIZE = "10"; VALID = "1"; };
STACK S1 { SIZE = "20"; VALID = "1"; };
vs_TIMER * Timers {
  vs_LEFT = "($ITEM)->left";
  _PARENT_NODE = "Head";
  _NEXT_NODE = "($NODE)->next";
  _ITEM = "($NODE)";
  _NODE_VALID = "($NODE) != 0";
  _OWNER = "($ITEM)->owner";
};
)ORTI";

// Node k of the timer list: Head, (Head)->next, ((Head)->next)->next, ...
std::string node(int k) {
  std::string text = "Head";
  for (int i = 0; i < k; ++i) {
    text = "(" + text + ")->next";
  }
  return text;
}

class ObjectListsTest : public AwarenessTest {
protected:
  void SetUp() override {
    AwarenessTest::SetUp();
    load(kFile);
    answer("1", 1);
    answer("V1", 1);
    answer("V2", 1);
  }
  static constexpr int32_t kTimers = kTypeVendorBase;

  // A timer list of n nodes whose owners are the given task ids.
  void timers(const std::vector<int>& owners) {
    for (std::size_t k = 0; k <= owners.size(); ++k) {
      answer("(" + node(static_cast<int>(k)) + ") != 0", k < owners.size() ? 1 : 0);
    }
    for (std::size_t k = 0; k < owners.size(); ++k) {
      answer("((" + node(static_cast<int>(k)) + "))->owner", owners[k]);
    }
  }

  std::vector<std::string> walk_names(int32_t type) {
    std::vector<std::string> names;
    int32_t status = object_list_init(state, &ctx, type, nullptr);
    while (status == 0) {
      TypedValue v = typed_value_of(kValueText);
      object_list_attribute(state, &ctx, type, 1, &v);
      names.push_back(v.text);
      status = object_list_next(state, &ctx, type, nullptr);
    }
    names.push_back(status == 2 ? "end" : "failed");
    return names;
  }
};

TEST_F(ObjectListsTest, PlainWalkSkipsInvalidObjectsButNotTheFirst) {
  answer("V1", 0);
  answer("1", 0); // Task_A's VALID: the first object is reported without the test
  EXPECT_EQ(walk_names(kTypeTask), (std::vector<std::string>{"0x1", "0x3", "end"}));
  EXPECT_EQ(walk_names(kTypeStack), (std::vector<std::string>{"0x1", "end"}));
}

TEST_F(ObjectListsTest, DynamicListWalksItsNodes) {
  timers({1, 2, 3});
  EXPECT_EQ(walk_names(kTimers), (std::vector<std::string>{"0x1", "0x2", "0x3", "end"}));
  answer("(" + node(0) + ") != 0", 0);
  invalidate_caches(state);
  EXPECT_EQ(object_list_init(state, &ctx, kTimers, nullptr), 1) << "an empty list";
}

TEST_F(ObjectListsTest, CyclicListStopsAtTheBoundWithAMessage) {
  state.log_level = 0;
  // A _NEXT_NODE without "$NODE" names the same node again and again, and every node exists:
  // to the walk the list never ends.
  state.model->vendor_kinds[0].objects[0].next_node()->formula = "Head";
  debugger->on("OSA_Service_ExpressionEval").result("{\"output\": 1, \"return\": 0}").always();
  int32_t status = object_list_init(state, &ctx, kTimers, nullptr);
  int64_t steps = 0;
  while (status == 0 && steps < 2 * kMaxListElements) {
    status = object_list_next(state, &ctx, kTimers, nullptr);
    ++steps;
  }
  EXPECT_EQ(status, 1);
  EXPECT_EQ(steps, kMaxListElements);
  EXPECT_FALSE(messages(2).empty());
}

TEST_F(ObjectListsTest, BadTypeIdsFailBeforeAnyCursorIsTouched) {
  state.log_level = 0;
  for (const int32_t type : {-1, 7, 99, 101, 1000, INT32_MIN}) {
    EXPECT_EQ(object_list_next(state, &ctx, type, nullptr), 1) << type;
    EXPECT_EQ(object_list_init(state, &ctx, type, nullptr), 1) << type;
    TypedValue v = typed_value_of(kValueText);
    EXPECT_EQ(object_list_attribute(state, &ctx, type, 2, &v), 1) << type;
  }
  EXPECT_TRUE(traced("ObjectListNext(UNKNOWN)\n"));
  EXPECT_TRUE(traced("ObjectListInit(7) Failed\n"));
}

TEST_F(ObjectListsTest, StaticReferenceSelectsTheLinkedObjectAndIsCached) {
  answer("Stk[1]", 1);
  ReferenceParent parent{2, kTypeTask, 5}; // TASK_b's STACK
  EXPECT_EQ(object_list_init(state, &ctx, kTypeStack, &parent), 0);
  EXPECT_EQ(*object_cursor(state, kTypeStack), 1);
  EXPECT_EQ(*object_cursor(state, kTypeTask), 0) << "the parent's cursor is put back";
  EXPECT_EQ(object_list_next(state, &ctx, kTypeStack, &parent), 2);
  const std::size_t before = debugger->requests().size();
  *object_cursor(state, kTypeStack) = 0;
  EXPECT_EQ(object_list_init(state, &ctx, kTypeStack, &parent), 0);
  EXPECT_EQ(debugger->requests().size(), before) << "answered from the cache";
  EXPECT_EQ(*object_cursor(state, kTypeStack), 1) << "the cached walk selects as the first did";
}

TEST_F(ObjectListsTest, ReferenceToTheParentsOwnTypeKeepsTheLinkedObject) {
  answer("Peer", 1);
  ReferenceParent parent{2, kTypeTask, 100}; // TASK_b's TASK -> Task_C
  EXPECT_EQ(object_list_init(state, &ctx, kTypeTask, &parent), 0);
  EXPECT_EQ(*object_cursor(state, kTypeTask), 2);
}

TEST_F(ObjectListsTest, ReferencesWithoutALinkShowNothing) {
  answer("Stk[2]", 0); // Task_C: "None", no link
  answer("0", 0);
  ReferenceParent parent{3, kTypeTask, 5};
  EXPECT_EQ(object_list_init(state, &ctx, kTypeStack, &parent), 2);
  answer("10", 10);
  ReferenceParent not_enum{1, kTypeStack, 3}; // SIZE
  EXPECT_EQ(object_list_init(state, &ctx, kTypeTask, &not_enum), 2);
  state.log_level = 0;
  for (const uint64_t id : {0ull, 4ull, 1ull << 40}) {
    ReferenceParent bad{id, kTypeTask, 5};
    EXPECT_EQ(object_list_init(state, &ctx, kTypeStack, &bad), 1) << id;
  }
  EXPECT_TRUE(traced("init_reference_list(): Bad Id\n"));
}

TEST_F(ObjectListsTest, DynamicReferenceMatchesTheOwnerWithTheTaskId) {
  answer("Tid[0]", 2); // Task_A's TASK_ID
  timers({5, 2, 7});
  ReferenceParent parent{1, kTypeTask, 101}; // Task_A's vs_TIMER
  EXPECT_EQ(object_list_init(state, &ctx, kTimers, &parent), 0);
  EXPECT_EQ(state.list_position, 1);
  refuse("Tid[0]");
  invalidate_caches(state);
  EXPECT_EQ(object_list_init(state, &ctx, kTimers, &parent), 1)
      << "a TASK_ID the debugger could not give matches no owner";
}

TEST_F(ObjectListsTest, TaskNamesStatesAndTheRunningTaskByLabel) {
  TypedValue v = typed_value_of(kValueText);
  EXPECT_EQ(get_task_name(state, &ctx, 2, &v), 0);
  EXPECT_EQ(v.text, "TASK_b");
  answer("St[1]", 1);
  EXPECT_EQ(get_task_status(state, &ctx, 2, &v), 0);
  EXPECT_EQ(v.text, "RUNNING");
  EXPECT_EQ(get_task_name(state, &ctx, 0, &v), 1);
  EXPECT_EQ(get_task_name(state, &ctx, 4, &v), 1);
  struct Case {
    int64_t running;
    uint64_t task;
  };
  // "Task A": blank for underscore; "TASK_B": only when letter case is ignored; "NO_TASK":
  // no task.
  for (const Case c : {Case{1, 1}, Case{2, 2}, Case{3, 3}, Case{0, 0}}) {
    answer("OsRunning", c.running);
    invalidate_caches(state);
    uint64_t task = 99;
    EXPECT_EQ(get_current_task(state, &ctx, kNoCore, &task), 0);
    EXPECT_EQ(task, c.task) << c.running;
  }
  answer("OsRunning", 1);
  invalidate_caches(state);
  uint64_t task = 0;
  get_current_task(state, &ctx, kNoCore, &task);
  get_current_task(state, &ctx, kNoCore, &task);
  EXPECT_EQ(asked("OsRunning"), 5u) << "the second call of a stop is cached";
  refuse("OsRunning");
  invalidate_caches(state);
  EXPECT_EQ(get_current_task(state, &ctx, kNoCore, &task), 1);
}

TEST(LabelMatchesName, BlankInTheLabelStandsForAnUnderscore) {
  EXPECT_TRUE(orti_label_matches_name("Task A", "Task_A", false));
  EXPECT_TRUE(orti_label_matches_name("Task A", "Task A", false));
  EXPECT_FALSE(orti_label_matches_name("Task_A", "Task A", false));
  EXPECT_FALSE(orti_label_matches_name("task_a", "Task_A", false));
  EXPECT_TRUE(orti_label_matches_name("task a", "Task_A", true));
  EXPECT_FALSE(orti_label_matches_name("Task_A", "Task_AB", true));
  EXPECT_TRUE(orti_label_matches_name(nullptr, nullptr, false));
  EXPECT_FALSE(orti_label_matches_name("", nullptr, false));
}

} // namespace
