// Task register access: live and saved registers, the caches, the missing-context messages,
// the register names, and the locations that the user stores.
#include "awareness_fixture.h"

#include "awareness/task_registers.h"

#include <algorithm>

namespace {

// Task_A's context is linked from its ENUM element; Task_B's label names Ctx_B only when
// letter case is ignored; Task_C has no CONTEXT attribute; Task_D's label names no context.
const char kFile[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T {
  OS { ENUM [ "NO_TASK" = 0, "Task_A" = 1, "Task_B" = 2 ] RUNNINGTASK; };
  TASK { ENUM [ "Ctx A" : Ctx_A = 1, "ctx b" = 2, "Ctx C" = 3, "nowhere" = 0 ] CONTEXT;
         CTYPE VALID; };
  CONTEXT { CTYPE _CPU_SP; CTYPE _CPU_r0; STRING _CPU_r1; CTYPE _cpu_r2; CTYPE VALID; };
};
OS Os { RUNNINGTASK = "Running"; };
TASK Task_A { CONTEXT = "CtxOf[0]"; VALID = "1"; };
TASK Task_B { CONTEXT = "CtxOf[1]"; VALID = "1"; };
TASK Task_C { VALID = "1"; };
TASK Task_D { CONTEXT = "CtxOf[3]"; VALID = "1"; };
CONTEXT Ctx_A { _CPU_SP = "CtxA.sp"; _CPU_r0 = "CtxA.r0"; _CPU_r1 = "CtxA.r1"; _cpu_r2 = "CtxA.r2";
                VALID = "CtxA.valid"; };
CONTEXT Ctx_B { _CPU_r0 = "CtxB.r0"; VALID = "1"; };
CONTEXT CTX_C { _CPU_r0 = "CtxCupper.r0"; };
CONTEXT Ctx_C { _CPU_r0 = "CtxC.r0"; };
)ORTI";

// A TASK list whose elements have their contexts in a CONTEXT list, element for element.
const char kListFile[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION L { OS { CTYPE _RUNNINGTASK; }; TASK { CTYPE TASK_ID; CTYPE VALID; };
                   CONTEXT { CTYPE _CPU_SP; }; };
OS Os { _RUNNINGTASK = "RunId"; };
TASK * Tasks { TASK_ID = "I"; VALID = "1"; _PARENT_NODE = "T"; _NEXT_NODE = "($NODE)->next";
               _ITEM = "($NODE)"; _NODE_VALID = "($NODE) != 0"; };
CONTEXT * Ctxs { _CPU_SP = "($ITEM)->sp"; _PARENT_NODE = "C"; _NEXT_NODE = "($NODE)->next";
                 _ITEM = "($NODE)"; _NODE_VALID = "($NODE) != 0"; };
)ORTI";

constexpr int32_t kR0 = 0, kR1 = 1, kR2 = 2, kR12 = 12, kSp = 13;
const std::string kNoContextText = " has no task context information in your ORTI file.\n"
                                   "Task aware debugging is not available.\n"
                                   "TARNO will not be able to reconstruct this task's registers.\n";

class TaskRegistersTest : public AwarenessTest {
protected:
  void SetUp() override {
    AwarenessTest::SetUp();
    load(file(), &kArmRegisterTable);
    const std::pair<const char*, int64_t> image[] = {
        {"Running", 0},           {"1", 1},          {"CtxOf[0]", 1},
        {"CtxOf[1]", 2},          {"CtxOf[3]", 0},   {"CtxA.valid", 1},
        {"CtxA.sp", 0x123456789}, {"CtxA.r0", 0x10}, {"CtxB.r0", 0x20}};
    for (const auto& [expression, number] : image) {
      answer(expression, number);
    }
    debugger->on("OSA_Service_RegisterRead").result(R"({"value": 77, "return": 0})").always();
    debugger->on("OSA_Service_RegisterWrite").always();
  }
  virtual const char* file() const { return kFile; }
  int32_t read_register(uint64_t task, int32_t reg, uint64_t* value = nullptr) {
    uint64_t v = 0x99; // what the debugger passes in
    const int32_t status = readreg(state, &ctx, task, reg, &v);
    if (value != nullptr) {
      *value = v;
    }
    return status;
  }
  bool cached(std::size_t record, int32_t reg) const {
    return state.task_records.at(record).registers.find(static_cast<std::size_t>(reg)) != nullptr;
  }
};

TEST_F(TaskRegistersTest, ReadsByTaskAndSetting) {
  struct Case {
    const char* name;
    uint64_t task;
    int32_t reg;
    int64_t running, context_valid;
    bool suppress, check, refuse;
    int32_t status;
    uint64_t value;
    std::size_t live_reads;
  };
  // A context that is not accessible while checks are off counts as no context without the
  // message: 2, or the live register when context errors are suppressed.
  for (const Case c : {
           Case{"running task, location ignored", 1, kSp, 1, 1, false, false, false, 0, 77, 1},
           Case{"r13 found as _CPU_SP", 1, kSp, 0, 1, false, false, false, 0, 0x123456789, 0},
           Case{"context found ignoring case", 2, kR0, 0, 1, false, false, false, 0, 0x20, 0},
           Case{"no context", 3, kSp, 0, 1, false, false, false, 2, 0x99, 0},
           Case{"no context, suppressed", 3, kSp, 0, 1, true, false, false, 0, 77, 1},
           Case{"label names no context", 4, kSp, 0, 1, false, false, false, 2, 0x99, 0},
           Case{"no location", 1, kR12, 0, 1, false, false, false, 2, 0x99, 0},
           Case{"no location, suppressed", 1, kR12, 0, 1, true, false, false, 0, 0x99, 0},
           Case{"prefix _cpu_ is no location", 1, kR2, 0, 1, false, false, false, 2, 0x99, 0},
           Case{"STRING location gives no number", 1, kR1, 0, 1, false, false, false, 1, 0x99, 0},
           Case{"refused location", 1, kSp, 0, 1, false, false, true, 1, 0x99, 0},
           Case{"not valid, checks on", 1, kSp, 0, 0, true, true, false, 2, 0x99, 0},
           Case{"not valid, checks off", 1, kSp, 0, 0, false, false, false, 2, 0x99, 0},
           Case{"not valid, checks off, suppressed", 1, kSp, 0, 0, true, false, false, 0, 77, 1},
       }) {
    answer("Running", c.running);
    answer("CtxA.valid", c.context_valid);
    c.refuse ? refuse("CtxA.sp") : answer("CtxA.sp", 0x123456789);
    state.suppress_context_errors = c.suppress;
    state.check_context_validity = c.check;
    invalidate_caches(state);
    debugger->clear_record();
    uint64_t v = 0;
    EXPECT_EQ(read_register(c.task, c.reg, &v), c.status) << c.name;
    EXPECT_EQ(v, c.value) << c.name;
    EXPECT_EQ(debugger->count("OSA_Service_RegisterRead"), c.live_reads) << c.name;
    EXPECT_EQ(cached(c.task - 1, c.reg), c.status == 0) << c.name << ": cached only when read";
    const bool warns = c.status == 2 && c.context_valid == 1;
    EXPECT_EQ(messages(0).size(), warns ? 1u : 0u) << c.name;
    EXPECT_EQ(traced("Task 1 context is not accessible.\n"), c.context_valid == 0 && !c.check)
        << c.name;
  }
}

TEST_F(TaskRegistersTest, RememberedContextIsCheckedAgainOnlyWithChecksOn) {
  state.log_level = 50;
  for (const bool check : {false, true}) {
    state.check_context_validity = check;
    invalidate_caches(state);
    debugger->clear_record();
    EXPECT_EQ(read_register(1, kSp), 0);
    EXPECT_EQ(read_register(1, kR0), 0);
    const std::vector<std::string> log = messages(4);
    EXPECT_EQ(std::count(log.begin(), log.end(), "is_object_valid(CONTEXT:Ctx_A)\n"),
              check ? 2 : 1);
  }
}

TEST_F(TaskRegistersTest, LocationPrefixIsExactAndTheRestIgnoresCase) {
  for (const auto& [name, found] : std::vector<std::pair<const char*, bool>>{{"_CPU_SP", true},
                                                                             {"_CPU_sp", true},
                                                                             {"_CPU_R13", true},
                                                                             {"_cpu_SP", false},
                                                                             {"_Cpu_SP", false},
                                                                             {"_CPU_SPX", false},
                                                                             {"CPU_SP", false}}) {
    state.model->contexts[0].custom_attributes[0].attribute->own_facts().name = name;
    invalidate_caches(state);
    EXPECT_EQ(read_register(1, kSp), found ? 0 : 2) << name;
  }
}

TEST_F(TaskRegistersTest, CachesAndMessagesLastUntilTheNextStop) {
  uint64_t v = 0;
  EXPECT_EQ(read_register(1, kSp, &v), 0);
  const std::size_t before = debugger->requests().size();
  EXPECT_EQ(read_register(1, kSp, &v), 0);
  EXPECT_EQ(v, 0x123456789u) << "all 64 bits come back from the cache";
  EXPECT_EQ(debugger->requests().size(), before);
  for (const int32_t reg : {kR0, kSp, kR12}) {
    EXPECT_EQ(read_register(3, reg), 2);
  }
  EXPECT_EQ(messages(0), std::vector<std::string>{"Task 0x3 (Task_C)" + kNoContextText});
  state.model->tasks[0].name = state.model->tasks[2].name = nullptr;
  invalidate_caches(state);
  EXPECT_EQ(read_register(3, kR0), 2);
  EXPECT_EQ(read_register(1, kR12), 2);
  EXPECT_EQ(read_register(1, kSp), 0);
  EXPECT_EQ(asked("CtxA.sp"), 2u);
  ASSERT_EQ(messages(0).size(), 3u);
  EXPECT_EQ(messages(0)[1], "Task 0x3" + kNoContextText);
  EXPECT_EQ(messages(0)[2],
            "Task 0x1 has is missing complete context information in your ORTI file.\n"
            "Register 12 (r12) was not found\nTask aware debugging may not be fully available.\n"
            "TARNO will not be able to reconstruct all of this task's registers.\n");
}

TEST_F(TaskRegistersTest, ContextsByLinkThenByNameExactThenIgnoringCase) {
  // "Ctx A": the link. "ctx b": Ctx_B ignoring case. "Ctx C": Ctx_C exactly, although CTX_C
  // comes first. "nowhere": none. A label the debugger could not give fails.
  for (const auto& [label, index] :
       std::vector<std::pair<int64_t, int>>{{1, 0}, {2, 1}, {3, 3}, {0, -1}, {-1, -2}}) {
    label < 0 ? refuse("CtxOf[1]") : answer("CtxOf[1]", label);
    invalidate_caches(state);
    OrtiObject* found = nullptr;
    EXPECT_EQ(findtaskcontext(state, &ctx, 2, &found), index == -2 ? 1 : 0) << label;
    EXPECT_EQ(found, index < 0 ? nullptr : &state.model->contexts[static_cast<std::size_t>(index)]);
  }
  const AttributeDecl* attr = state.model->tasks[1].standard[kTaskContext].get();
  EXPECT_EQ((*attr->elements())[1].linked_object, &state.model->contexts[1]) << "link is set";
  state.show_symbols = true; // the label is read as a value all the same
  answer("CtxOf[1]", 2);
  invalidate_caches(state);
  EXPECT_EQ(read_register(2, kR0), 0);
}

TEST_F(TaskRegistersTest, BadIdsAndRegisterMapFailures) {
  state.log_level = 100;
  for (const auto& [task, reg] : std::vector<std::pair<uint64_t, int32_t>>{
           {1, -1}, {1, kArmRegisterTable.count}, {0, kSp}, {5, kSp}, {1ull << 40, kSp}}) {
    EXPECT_EQ(read_register(task, reg), 1);
    EXPECT_EQ(writereg(state, &ctx, task, reg, 1), 1);
  }
  EXPECT_TRUE(traced("readreg() : Failure (bad regid)\n"));
  EXPECT_TRUE(traced("writereg() : Failure (bad taskId)\n"));
  static const char* const r0[] = {"r0", nullptr};
  static const char* const none[] = {nullptr};
  static const RegisterIdEntry entries[] = {
      {0, r0}, {kUnmappedRegisterId, nullptr}, {2, none}, {7, r0}};
  static const RegisterIdTable odd{"odd", entries, 4};
  state.register_table = &odd;
  for (const auto& [reg, trace] :
       std::vector<std::pair<int32_t, std::string>>{{1, "no regmap\n"},
                                                    {2, "no register mapping for this register\n"},
                                                    {3, "map[reg].regid != reg\n"}}) {
    EXPECT_EQ(read_register(1, reg), 1) << trace;
    EXPECT_TRUE(traced(trace));
  }
  add_register_name(state, 1, "nothing");
  add_register_name(state, 1, "R0");
  std::vector<std::string> names;
  EXPECT_TRUE(register_names(state, 1, true, &names));
  EXPECT_EQ(names, (std::vector<std::string>{"R0", "nothing"}));
  EXPECT_FALSE(register_names(state, 0, true, &names));
  uint64_t v = 0;
  EXPECT_EQ(read_register(1, 1, &v), 0) << "a user name maps an unmapped id";
  EXPECT_EQ(v, 0x10u);
}

TEST_F(TaskRegistersTest, Writes) {
  struct Case {
    uint64_t task;
    int32_t reg;
    int64_t running, context_valid;
    bool suppress;
    uint64_t value;
    const char* assignment; // null: none expected
    int32_t status;
  };
  for (const Case c :
       {Case{1, kSp, 1, 1, false, 0x123456789, nullptr, 0},
        Case{1, kSp, 0, 1, false, 85, "(CtxA.sp)=85", 0},
        Case{1, kSp, 0, 1, false, 0xFFFFFFFF, "(CtxA.sp)=-1", 0},
        Case{1, kSp, 0, 1, false, 0x123456789, "(CtxA.sp)=0x123456789", 0},
        Case{1, kSp, 0, 0, true, 85, nullptr, 2}, Case{3, kSp, 0, 1, false, 85, nullptr, 2},
        Case{3, kSp, 0, 1, true, 85, nullptr, 1}, Case{1, kR12, 0, 1, true, 85, nullptr, 1}}) {
    answer("Running", c.running);
    answer("CtxA.valid", c.context_valid);
    state.suppress_context_errors = c.suppress;
    if (c.assignment != nullptr) {
      answer(c.assignment, 0);
    }
    invalidate_caches(state);
    debugger->clear_record();
    EXPECT_EQ(writereg(state, &ctx, c.task, c.reg, c.value), c.status) << c.value;
    if (c.assignment != nullptr) {
      EXPECT_EQ(asked(c.assignment), 1u) << c.assignment;
    }
    EXPECT_EQ(debugger->count("OSA_Service_RegisterWrite"), c.running == 1 ? 1u : 0u);
    uint64_t v = 0;
    if (c.status == 0) {
      EXPECT_EQ(read_register(c.task, c.reg, &v), 0);
      EXPECT_EQ(v, c.value) << "the written value is cached whole";
      EXPECT_EQ(debugger->count("OSA_Service_RegisterRead"), 0u);
    }
  }
}

TEST_F(TaskRegistersTest, MapreglocStoresWithoutQuotesAndTheNextReadUsesIt) {
  EXPECT_EQ(read_register(1, kSp), 0);
  const char* file_text = state.model->contexts[0].custom_attributes[0].attribute->formula;
  answer("CtxA.sp2", 0x22);
  answer("CtxA.r12", 0x12);
  EXPECT_TRUE(mapregloc(state, &ctx, 1, "sp", "\"CtxA.sp2\""));
  EXPECT_TRUE(mapregloc(state, &ctx, 1, "\"R12\"", "CtxA.r12"));
  EXPECT_TRUE(mapregloc_by_context(state, &ctx, 1, "r3", "CtxB.r3"));
  EXPECT_STREQ(file_text, "CtxA.sp") << "the file's text is not written over";
  uint64_t v = 0;
  EXPECT_EQ(read_register(1, kSp, &v), 0);
  EXPECT_EQ(v, 0x22u) << "the value of the old location is gone";
  EXPECT_EQ(read_register(1, kR12, &v), 0);
  EXPECT_EQ(v, 0x12u);
  const std::vector<UserRegisterLocation> saved = user_register_locations(state);
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_EQ(saved[0].name + "=" + saved[0].formula, "SP=CtxA.sp2");
  EXPECT_EQ(saved[1].name + "=" + saved[1].formula, "R12=CtxA.r12");
  EXPECT_EQ(saved[2].context_index, 1);

  EXPECT_FALSE(mapregloc(state, &ctx, 5, "r3", "x"));
  EXPECT_FALSE(mapregloc_by_context(state, &ctx, 4, "r3", "x"));
  EXPECT_EQ(messages(2),
            (std::vector<std::string>{"Bad task ID\nUsage: mapregloc TASKID NAME TARNO_EXPR\n",
                                      "Bad context ID\nUsage: mapregloc CONTEXTID NAME "
                                      "TARNO_EXPR\n"}));
  EXPECT_FALSE(mapregloc(state, &ctx, 3, "r3", "x")) << "Task_C has no context";
  EXPECT_FALSE(mapregloc_by_context(state, &ctx, 0, "r3", std::string(2048, 'x')));
  EXPECT_EQ(user_register_locations(state).size(), 3u);
}

class ListTaskRegistersTest : public TaskRegistersTest {
  const char* file() const override { return kListFile; }
};

TEST_F(ListTaskRegistersTest, ShareOneRecordAndReadTheirElement) {
  refuse("RunId");
  answer("((C))->sp", 0x100);
  answer("((((C)->next)->next))->sp", 0x102);
  ASSERT_EQ(state.task_records.size(), 1u);
  for (const auto& [task, status, value] : std::vector<std::tuple<uint64_t, int32_t, uint64_t>>{
           {1, 0, 0x100}, {3, 0, 0x102}, {kMaxListElements + 1, 1, 0x99}, {1ull << 40, 1, 0x99}}) {
    uint64_t v = 0;
    EXPECT_EQ(read_register(task, kSp, &v), status) << task;
    EXPECT_EQ(v, value) << task;
    EXPECT_FALSE(cached(0, kSp)) << "saved registers of list tasks are not cached";
  }
  state.current_tasks = {3};
  EXPECT_EQ(read_register(3, kSp), 0);
  EXPECT_EQ(read_register(3, kSp), 0);
  EXPECT_EQ(debugger->count("OSA_Service_RegisterRead"), 2u) << "never from the cache";
  answer("((((C)->next))->sp)=9", 0);
  EXPECT_EQ(writereg(state, &ctx, 2, kSp, 9), 0);
  EXPECT_EQ(asked("((((C)->next))->sp)=9"), 1u);
  EXPECT_EQ(read_register(2, kR0), 1) << "no location";
}

} // namespace
