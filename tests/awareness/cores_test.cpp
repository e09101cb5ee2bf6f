// Per-core values: the element and the OS object that serve a core, their caches, the running
// task of each core, and the live registers of a task that runs on another core.
#include "awareness_fixture.h"

#include "awareness/cores.h"
#include "awareness/object_attributes.h"
#include "awareness/task_registers.h"
#include "awareness/tasks.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Two cores: RUNNINGTASK has an element each, RUNNINGTASKPRIORITY one element for both, vs_TICKS
// leaves core 1 out, CURRENTAPPMODE is plain. T1 and T3 have saved contexts.
const char kArrays[] = R"ORTI(
VERSION { KOIL = "2.3"; OSSEMANTICS = "ORTI", "2.3"; };
IMPLEMENTATION Smp {
  OS { ENUM [ "NO_TASK" = 0, "T1" = 1, "T2" = 2, "T3" = 3 ] RUNNINGTASK[];
       CTYPE RUNNINGTASKPRIORITY[]; ENUM [ "OSDEFAULTAPPMODE" = 0 ] CURRENTAPPMODE;
       CTYPE vs_TICKS[]; };
  TASK { ENUM [ "NO_CONTEXT" = 0, "C1" : C1 = 1, "C3" : C3 = 3 ] CONTEXT; };
  CONTEXT { CTYPE _CPU_SP; };
};
OS Os { RUNNINGTASK[0] = "Run[0]"; RUNNINGTASK[1] = "Run[1]"; RUNNINGTASKPRIORITY[0] = "Prio";
        CURRENTAPPMODE = "Mode"; vs_TICKS[0] = "Ticks[0]"; vs_TICKS[2] = "Ticks[2]"; };
TASK T1 { CONTEXT = "Ctx[0]"; };
TASK T2 { CONTEXT = "Ctx[1]"; };
TASK T3 { CONTEXT = "Ctx[2]"; };
CONTEXT C1 { _CPU_SP = "Sp[0]"; };
CONTEXT C3 { _CPU_SP = "Sp[2]"; };
)ORTI";

// One OS object per core (extended syntax), each with its own formula.
const char kOsPerCore[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION PerCore {
  OS { ENUM [ "NO_TASK" = 0, "T1" = 1, "T2" = 2 ] RUNNINGTASK; };
  TASK { CTYPE PRIORITY; };
};
OS Core0_app { RUNNINGTASK = "Core0.running"; };
TASK T1 { PRIORITY = "1"; };
OS Core1_app { RUNNINGTASK = "Core1.running"; };
TASK T2 { PRIORITY = "2"; };
)ORTI";

constexpr int32_t kRunningTask = 3, kRunningTaskPriority = 4, kCurrentAppMode = 8;
constexpr int32_t kTicks = 100;
constexpr int32_t kSp = 13;

class CoresTest : public AwarenessTest {
protected:
  // The OS attribute as text, read for the call's core (hostCoreId core + 1, or none).
  TypedValue os_attribute(int32_t attr_id, uint64_t core, int32_t* status) {
    ctx.hostCoreId = core;
    TypedValue v = typed_value_of(kValueText);
    *status = get_os_attribute(state, &ctx, attr_id, &v, nullptr);
    return v;
  }
  std::size_t failures_shown() const { return messages(2).size(); }
  // Register accesses that named the core (1-based, as on the wire), or none (0).
  std::vector<int64_t> cores_asked(const std::string& method) const {
    std::vector<int64_t> cores;
    for (const ReceivedRequest* r : debugger->requests_of(method)) {
      int64_t core = 0;
      json_object_get_integer(r->params.get(), "coreId", &core);
      cores.push_back(core);
    }
    return cores;
  }
};

// Invariant: a read for core k evaluates the formula of the element that serves k and nothing
// else; when no element serves k the read fails with one message naming the attribute and the
// core, and the debugger is asked nothing.
TEST_F(CoresTest, EachCoreReadsTheElementThatServesIt) {
  load(kArrays);
  for (const auto& [expression, number] :
       std::vector<std::pair<const char*, int64_t>>{{"Run[0]", 1},
                                                    {"Run[1]", 2},
                                                    {"Prio", 7},
                                                    {"Mode", 0},
                                                    {"Ticks[0]", 10},
                                                    {"Ticks[2]", 12}}) {
    answer(expression, number);
  }
  struct Case {
    int32_t attr;
    uint64_t core;     // kNoCore: the call names none
    const char* asked; // null: the read fails
    const char* value;
  };
  const Case cases[] = {
      {kRunningTask, kNoCore, "Run[0]", "T1"},
      {kRunningTask, 0, "Run[0]", "T1"},
      {kRunningTask, 1, "Run[1]", "T2"},
      {kRunningTask, 2, nullptr, "Attribute RUNNINGTASK has no element for core 2 (it has 2)\n"},
      {kRunningTaskPriority, 1, "Prio", "0x7"},
      {kRunningTaskPriority, 40, "Prio", "0x7"},
      {kCurrentAppMode, 5, "Mode", "OSDEFAULTAPPMODE"},
      {kTicks, 2, "Ticks[2]", "0xc"},
      {kTicks, 1, nullptr, "Attribute vs_TICKS has no element for core 1 (it has 3)\n"},
  };
  for (const Case& c : cases) {
    invalidate_caches(state);
    debugger->clear_record();
    int32_t status = -1;
    const TypedValue v = os_attribute(c.attr, c.core, &status);
    const std::string what = std::to_string(c.attr) + " for core " + std::to_string(c.core);
    if (c.asked == nullptr) {
      EXPECT_EQ(status, 1) << what;
      EXPECT_EQ(evaluations(), 0u) << what;
      ASSERT_FALSE(messages(2).empty()) << what;
      EXPECT_EQ(messages(2).front(), c.value) << what;
      continue;
    }
    EXPECT_EQ(status, 0) << what;
    EXPECT_EQ(v.text, c.value) << what;
    EXPECT_EQ(evaluations(), 1u) << what;
    EXPECT_EQ(asked(c.asked), 1u) << what;
    EXPECT_EQ(failures_shown(), 0u) << what;
  }
}

TEST_F(CoresTest, TheCacheKeepsOneSlotPerElementUntilTheNextStop) {
  load(kArrays);
  answer("Run[0]", 1);
  answer("Run[1]", 2);
  // The list position a walk left must not matter for an OS object.
  for (const int64_t position : {0, 3, 0}) {
    state.list_position = position;
    for (const auto& [core, label] : {std::pair{0ull, "T1"}, std::pair{1ull, "T2"}}) {
      int32_t status = -1;
      EXPECT_EQ(os_attribute(kRunningTask, core, &status).text, label) << core;
      EXPECT_EQ(status, 0);
    }
  }
  EXPECT_EQ(asked("Run[0]"), 1u);
  EXPECT_EQ(asked("Run[1]"), 1u);
  // A value read for one core never answers the other, also not the other way round.
  answer("Run[1]", 3);
  invalidate_caches(state);
  int32_t status = -1;
  EXPECT_EQ(os_attribute(kRunningTask, 1, &status).text, "T3");
  EXPECT_EQ(os_attribute(kRunningTask, 0, &status).text, "T1");
  EXPECT_EQ(asked("Run[0]"), 2u);
  EXPECT_EQ(asked("Run[1]"), 2u);
}

TEST_F(CoresTest, CurrentTaskGetAnswersEachCoresRunningTask) {
  load(kArrays);
  answer("Run[0]", 1);
  answer("Run[1]", 2);
  uint64_t task = 0;
  EXPECT_EQ(get_current_task(state, &ctx, 0, &task), 0);
  EXPECT_EQ(task, 1u);
  EXPECT_EQ(get_current_task(state, &ctx, 1, &task), 0);
  EXPECT_EQ(task, 2u);
  // Without a core of its own the call's core decides; both are answered from the cache.
  ctx.hostCoreId = 1;
  EXPECT_EQ(get_current_task(state, &ctx, kNoCore, &task), 0);
  EXPECT_EQ(task, 2u);
  ctx.hostCoreId = kNoCore;
  EXPECT_EQ(get_current_task(state, &ctx, kNoCore, &task), 0);
  EXPECT_EQ(task, 1u);
  EXPECT_EQ(evaluations(), 2u);
  EXPECT_EQ(get_current_task(state, &ctx, 2, &task), 1) << "a core beyond the array";
  EXPECT_EQ(failures_shown(), 1u);
  // After a stop each core is asked again.
  answer("Run[0]", 3);
  invalidate_caches(state);
  EXPECT_EQ(get_current_task(state, &ctx, 1, &task), 0);
  EXPECT_EQ(task, 2u);
  EXPECT_EQ(get_current_task(state, &ctx, 0, &task), 0);
  EXPECT_EQ(task, 3u);
}

TEST_F(CoresTest, ATaskRunningOnCore2ReadsAndWritesCore2sLiveRegisters) {
  load(kArrays, &kArmRegisterTable);
  answer("Run[0]", 1);
  answer("Run[1]", 2);
  answer("Ctx[0]", 1);
  answer("Ctx[1]", 0);
  answer("Ctx[2]", 3);
  answer("Sp[2]", 0x300);
  debugger->on("OSA_Service_RegisterRead").result(R"({"value": 100, "return": 0})").always();
  debugger->on("OSA_Service_RegisterRead", R"({"coreId": 2})")
      .result(R"({"value": 200, "return": 0})")
      .always();
  debugger->on("OSA_Service_RegisterWrite").always();
  // The call is for core 1 (wire core 1): the task's own core decides, not the call's.
  ctx.hostCoreId = 0;
  uint64_t v = 0;
  EXPECT_EQ(readreg(state, &ctx, 2, kSp, &v), 0);
  EXPECT_EQ(v, 200u) << "T2 runs on core 2";
  EXPECT_EQ(readreg(state, &ctx, 1, kSp, &v), 0);
  EXPECT_EQ(v, 100u) << "T1 runs on core 1";
  EXPECT_EQ(readreg(state, &ctx, 3, kSp, &v), 0);
  EXPECT_EQ(v, 0x300u) << "T3 runs nowhere: its saved context";
  EXPECT_EQ(cores_asked("OSA_Service_RegisterRead"), (std::vector<int64_t>{2, 1}));
  EXPECT_EQ(writereg(state, &ctx, 2, kSp, 0x42), 0);
  EXPECT_EQ(cores_asked("OSA_Service_RegisterWrite"), (std::vector<int64_t>{2}));
}

TEST_F(CoresTest, OneOsObjectPerCoreAnswersForItsCore) {
  load(kOsPerCore, nullptr, 1);
  answer("Core0.running", 1);
  answer("Core1.running", 2);
  EXPECT_EQ(running_task_core_count(*state.model), 2u);
  for (const auto& [core, label] : {std::pair{0ull, "T1"}, std::pair{1ull, "T2"}}) {
    int32_t status = -1;
    EXPECT_EQ(os_attribute(kRunningTask, core, &status).text, label);
    EXPECT_EQ(os_attribute(kAttributeName, core, &status).text,
              core == 0 ? "Core0_app" : "Core1_app");
    uint64_t task = 0;
    EXPECT_EQ(get_current_task(state, &ctx, core, &task), 0);
    EXPECT_EQ(task, core + 1);
  }
  EXPECT_EQ(failures_shown(), 0u);
  int32_t status = -1;
  os_attribute(kRunningTask, 2, &status);
  EXPECT_EQ(status, 1);
  uint64_t task = 0;
  EXPECT_EQ(get_current_task(state, &ctx, 2, &task), 1);
  const std::string no_os = "No OS object of the ORTI file serves core 2 (it has 2)\n";
  const std::vector<std::string> shown = messages(2);
  EXPECT_EQ(std::count(shown.begin(), shown.end(), no_os), 2);

  // A target with fewer cores than OS objects is told so; the load stands.
  debugger->clear_record();
  for (const uint64_t target_cores : {0ull, 2ull, 3ull, ~0ull}) {
    report_cores_of_target(state, &ctx, target_cores);
  }
  EXPECT_TRUE(messages(2).empty());
  report_cores_of_target(state, &ctx, 1);
  EXPECT_EQ(messages(2), (std::vector<std::string>{
                             "The ORTI file has 2 OS objects, one per core, but the target has 1 "
                             "core; the OS objects after the first 1 serve no core of the "
                             "target\n"}));
}

} // namespace
