// Task register access: live and saved registers, the caches, the missing-context messages,
// the register names, and the locations that the user stores.
#include "awareness_fixture.h"

#include "awareness/task_registers.h"

#include <string>
#include <vector>

namespace {

// Task_A's context is linked from its ENUM element; Task_B's label names Ctx_B only when
// letter case is ignored; Task_C has no CONTEXT attribute; Task_D's label names no context.
const char kFile[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION T {
  OS { ENUM [ "NO_TASK" = 0, "Task_A" = 1, "Task_B" = 2, "Task_C" = 3, "Task_D" = 4 ] RUNNINGTASK; };
  TASK {
    ENUM [ "Ctx A" : Ctx_A = 1, "ctx b" = 2, "Ctx C" = 3, "nowhere" = 0 ] CONTEXT;
    CTYPE VALID;
  };
  CONTEXT {
    CTYPE _CPU_SP;
    CTYPE _CPU_r0;
    STRING _CPU_r1;
    CTYPE _cpu_r2;
    CTYPE VALID;
  };
};
OS Os { RUNNINGTASK = "Running"; };
TASK Task_A { CONTEXT = "CtxOf[0]"; VALID = "1"; };
TASK Task_B { CONTEXT = "CtxOf[1]"; VALID = "1"; };
TASK Task_C { VALID = "1"; };
TASK Task_D { CONTEXT = "CtxOf[3]"; VALID = "1"; };
CONTEXT Ctx_A { _CPU_SP = "CtxA.sp"; _CPU_r0 = "CtxA.r0"; _CPU_r1 = "CtxA.r1"; _cpu_r2 = "CtxA.r2";
                VALID = "CtxA.valid"; };
CONTEXT Ctx_B { _CPU_r0 = "CtxB.r0"; VALID = "CtxB.valid"; };
CONTEXT CTX_C { _CPU_r0 = "CtxCupper.r0"; };
CONTEXT Ctx_C { _CPU_r0 = "CtxC.r0"; };
)ORTI";

constexpr int32_t kR0 = 0, kR1 = 1, kR2 = 2, kR3 = 3, kR12 = 12, kSp = 13;

const char kNoContextA[] = "Task 0x3 (Task_C) has no task context information in your ORTI file.\n"
                           "Task aware debugging is not available.\n"
                           "TARNO will not be able to reconstruct this task's registers.\n";

std::string missing_register(const std::string& task, int reg, const std::string& name) {
  return "Task 0x1 (" + task + ") is missing complete context information in your ORTI file.\n" +
         "Register " + std::to_string(reg) + " (" + name + ") was not found\n" +
         "Task aware debugging may not be fully available.\n" +
         "TARNO will not be able to reconstruct all of this task's registers.\n";
}

class TaskRegistersTest : public AwarenessTest {
protected:
  void SetUp() override {
    AwarenessTest::SetUp();
    load(kFile, &kArmRegisterTable);
    answer("Running", 0); // NO_TASK
    answer("1", 1);
    answer("CtxOf[0]", 1);
    answer("CtxOf[1]", 2);
    answer("CtxOf[3]", 0);
    answer("CtxA.valid", 1);
    answer("CtxB.valid", 1);
    answer("CtxA.sp", 0x1000);
    answer("CtxA.r0", 0x10);
    answer("CtxB.r0", 0x20);
  }

  int32_t read_register(uint64_t task, int32_t reg, uint64_t* value = nullptr) {
    uint64_t v = 0;
    const int32_t status = readreg(state, &ctx, task, reg, &v);
    if (value != nullptr) {
      *value = v;
    }
    return status;
  }
  void live(int32_t reg, int64_t value) {
    debugger->on("OSA_Service_RegisterRead", "{\"register\": " + std::to_string(reg) + "}")
        .result("{\"value\": " + std::to_string(value) + ", \"return\": 0}")
        .always();
  }
  std::size_t live_reads() const { return debugger->count("OSA_Service_RegisterRead"); }
  std::size_t traced_count(const std::string& text) const {
    std::size_t n = 0;
    for (const std::string& m : messages(4)) {
      n += m == text ? 1 : 0;
    }
    return n;
  }
  const RegisterValueSlot& slot(std::size_t record, int32_t reg) const {
    return state.task_records.at(record).registers.at(static_cast<std::size_t>(reg));
  }
  OrtiObject& context(std::size_t i) { return state.model->contexts.at(i); }
};

TEST_F(TaskRegistersTest, RunningTaskReadsTheLiveRegisterEvenWithALocation) {
  answer("Running", 1);
  live(kSp, 77);
  uint64_t v = 0;
  EXPECT_EQ(read_register(1, kSp, &v), 0);
  EXPECT_EQ(v, 77u);
  EXPECT_EQ(asked("CtxA.sp"), 0u);
  EXPECT_EQ(live_reads(), 1u);
  EXPECT_TRUE(slot(0, kSp).valid);
  EXPECT_EQ(read_register(2, kR0, &v), 0) << "a task that is not running reads its context";
  EXPECT_EQ(v, 0x20u);
  EXPECT_EQ(live_reads(), 1u);
}

TEST_F(TaskRegistersTest, LocationPrefixIsExactAndTheRestIgnoresCase) {
  struct Case {
    const char* name;
    bool found;
  };
  // r13 on ARM is also "sp".
  for (const Case c : {Case{"_CPU_SP", true}, Case{"_CPU_sp", true}, Case{"_CPU_R13", true},
                       Case{"_CPU_r13", true}, Case{"_cpu_SP", false}, Case{"_Cpu_SP", false},
                       Case{"_CPU_SPX", false}, Case{"CPU_SP", false}, Case{"_CPU_S", false}}) {
    context(0).custom_attributes[0].attribute->name = c.name;
    invalidate_caches(state);
    uint64_t v = 0;
    EXPECT_EQ(read_register(1, kSp, &v), c.found ? 0 : 2) << c.name;
    EXPECT_EQ(v, c.found ? 0x1000u : 0u) << c.name;
  }
}

TEST_F(TaskRegistersTest, SecondReadOfTheSameRegisterSendsNothingUntilTheNextStop) {
  uint64_t v = 0;
  EXPECT_EQ(read_register(1, kSp, &v), 0);
  const std::size_t before = debugger->requests().size();
  answer("CtxA.sp", 0x2000);
  EXPECT_EQ(read_register(1, kSp, &v), 0);
  EXPECT_EQ(v, 0x1000u);
  EXPECT_EQ(debugger->requests().size(), before);
  invalidate_caches(state);
  EXPECT_EQ(read_register(1, kSp, &v), 0);
  EXPECT_EQ(v, 0x2000u);
  EXPECT_EQ(asked("CtxA.sp"), 2u);
}

TEST_F(TaskRegistersTest, TaskWithoutContextWarnsOncePerStopAndAnswers2) {
  for (const int32_t reg : {kR0, kSp, kR3}) {
    EXPECT_EQ(read_register(3, reg), 2) << reg;
  }
  EXPECT_EQ(messages(0), std::vector<std::string>{kNoContextA});
  EXPECT_EQ(live_reads(), 0u);
  invalidate_caches(state);
  EXPECT_EQ(read_register(3, kR0), 2);
  EXPECT_EQ(messages(0).size(), 2u) << "a new stop warns again";

  state.model->tasks[2].name = nullptr;
  invalidate_caches(state);
  EXPECT_EQ(read_register(3, kR0), 2);
  EXPECT_EQ(messages(0).back(), "Task 0x3 has no task context information in your ORTI file.\n"
                                "Task aware debugging is not available.\n"
                                "TARNO will not be able to reconstruct this task's registers.\n");
}

TEST_F(TaskRegistersTest, AWarningTheDebuggerRefusedIsShownAgain) {
  debugger->on("OSA_Service_MessageDisplay", R"({"messageType": 0})")
      .result(R"({"return": 1})")
      .times(1);
  EXPECT_EQ(read_register(3, kR0), 2);
  EXPECT_FALSE(state.task_records[2].warned);
  EXPECT_EQ(read_register(3, kR0), 2);
  EXPECT_TRUE(state.task_records[2].warned);
  EXPECT_EQ(messages(0).size(), 2u);
}

TEST_F(TaskRegistersTest, LabelThatNamesNoContextIsNoContext) {
  state.log_level = 10;
  EXPECT_EQ(read_register(4, kR0), 2);
  EXPECT_TRUE(traced("Could not find task context for task 4\n"));
  ASSERT_EQ(messages(0).size(), 1u);
  EXPECT_EQ(messages(0)[0].rfind("Task 0x4 (Task_D) has no task context", 0), 0u);
}

TEST_F(TaskRegistersTest, SuppressedContextErrorsReadTheLiveRegister) {
  state.suppress_context_errors = true;
  live(kSp, 0x44);
  uint64_t v = 0;
  EXPECT_EQ(read_register(3, kSp, &v), 0);
  EXPECT_EQ(v, 0x44u);
  EXPECT_TRUE(messages(0).empty());
  // A context without the register answers with the value the caller passed in.
  uint64_t passed = 0x99;
  EXPECT_EQ(readreg(state, &ctx, 1, kR3, &passed), 0);
  EXPECT_EQ(passed, 0x99u);
  EXPECT_TRUE(slot(0, kR3).valid);
  EXPECT_TRUE(messages(0).empty());
}

TEST_F(TaskRegistersTest, ContextThatIsNotValid) {
  struct Case {
    bool check;
    bool suppress;
    int32_t status;
    bool live_read;
    bool not_accessible_trace;
  };
  // With the checks on the answer is 2. With them off a context that is not accessible counts
  // as no context without the message: 2, or the live register when errors are suppressed.
  for (const Case c : {Case{true, false, 2, false, false}, Case{true, true, 2, false, false},
                       Case{false, false, 2, false, true}, Case{false, true, 0, true, true}}) {
    debugger->clear_record();
    state.check_context_validity = c.check;
    state.suppress_context_errors = c.suppress;
    answer("CtxA.valid", 0);
    live(kSp, 5);
    invalidate_caches(state);
    uint64_t v = 0;
    EXPECT_EQ(read_register(1, kSp, &v), c.status) << c.check << c.suppress;
    EXPECT_EQ(live_reads(), c.live_read ? 1u : 0u) << c.check << c.suppress;
    EXPECT_EQ(v, c.live_read ? 5u : 0u);
    EXPECT_EQ(traced("Task 1 context is not accessible.\n"), c.not_accessible_trace);
    EXPECT_EQ(asked("CtxA.sp"), 0u);
    EXPECT_TRUE(messages(0).empty()) << "the missing-context message is not for this case";
    EXPECT_EQ(state.task_records[0].context, nullptr);
  }
}

TEST_F(TaskRegistersTest, RememberedContextIsCheckedAgainOnlyWhenChecksAreOn) {
  state.log_level = 50;
  const std::string check = "is_object_valid(CONTEXT:Ctx_A)\n";
  EXPECT_EQ(read_register(1, kSp), 0);
  EXPECT_EQ(read_register(1, kR0), 0);
  EXPECT_EQ(traced_count(check), 1u) << "the remembered context is not checked again";
  state.check_context_validity = true;
  EXPECT_EQ(read_register(1, kR12), 2);
  EXPECT_EQ(traced_count(check), 2u);
}

TEST_F(TaskRegistersTest, ValuesAbove32BitsSurviveTheCache) {
  answer("CtxA.sp", 0x123456789LL);
  uint64_t v = 0;
  EXPECT_EQ(read_register(1, kSp, &v), 0);
  EXPECT_EQ(v, 0x123456789u);
  EXPECT_EQ(read_register(1, kSp, &v), 0);
  EXPECT_EQ(v, 0x123456789u) << "answered from the cache";
  EXPECT_EQ(asked("CtxA.sp"), 1u);

  answer("Running", 1);
  live(kR0, 0x100000005LL);
  invalidate_caches(state);
  EXPECT_EQ(read_register(1, kR0, &v), 0);
  EXPECT_EQ(read_register(1, kR0, &v), 0);
  EXPECT_EQ(v, 0x100000005u);
  EXPECT_EQ(live_reads(), 1u);
}

TEST_F(TaskRegistersTest, ValueTheDebuggerCouldNotGiveIsNoValue) {
  refuse("CtxA.sp");
  uint64_t v = 7;
  EXPECT_EQ(read_register(1, kSp, &v), 1);
  EXPECT_FALSE(slot(0, kSp).valid);
  answer("CtxA.sp", 0x3000);
  invalidate_caches(state);
  EXPECT_EQ(read_register(1, kSp, &v), 0);
  EXPECT_EQ(v, 0x3000u);

  // A location that is a STRING gives no number.
  EXPECT_EQ(read_register(1, kR1), 1);
  EXPECT_FALSE(slot(0, kR1).valid);

  refuse("Running");
  refuse("CtxOf[0]");
  state.log_level = 50;
  invalidate_caches(state);
  EXPECT_EQ(read_register(1, kR0), 1) << "a context label the debugger could not give";
  EXPECT_TRUE(traced("findtaskcontext() : Failure (bad context value or could not get context)\n"));
  EXPECT_EQ(live_reads(), 0u) << "a running task that cannot be told is not the running task";
}

TEST_F(TaskRegistersTest, ShowingFormulasDoesNotChangeWhatIsRead) {
  state.show_symbols = true;
  uint64_t v = 0;
  EXPECT_EQ(read_register(1, kSp, &v), 0);
  EXPECT_EQ(v, 0x1000u);
  OrtiObject* found = nullptr;
  EXPECT_EQ(findtaskcontext(state, &ctx, 2, &found), 0);
  EXPECT_EQ(found, &context(1));
}

TEST_F(TaskRegistersTest, FindTaskContextByLinkThenByNameExactThenIgnoringCase) {
  struct Case {
    int64_t label_value;
    int context; // -1: none
  };
  // 1 "Ctx A": the element's link. 2 "ctx b": Ctx_B only ignoring case. 3 "Ctx C": Ctx_C
  // exactly, although CTX_C comes first and matches ignoring case. 0 "nowhere": none.
  for (const Case c : {Case{1, 0}, Case{2, 1}, Case{3, 3}, Case{0, -1}}) {
    answer("CtxOf[1]", c.label_value);
    invalidate_caches(state);
    OrtiObject* found = &context(2);
    EXPECT_EQ(findtaskcontext(state, &ctx, 2, &found), 0) << c.label_value;
    EXPECT_EQ(found, c.context < 0 ? nullptr : &context(static_cast<std::size_t>(c.context)))
        << c.label_value;
  }
  const AttributeDecl* attr = state.model->tasks[1].standard[kTaskContext].get();
  EXPECT_EQ((*attr->elements)[1].linked_object, &context(1)) << "a name match sets the link";
  EXPECT_EQ((*attr->elements)[2].linked_object, &context(3));
  EXPECT_EQ((*attr->elements)[3].linked_object, nullptr);

  OrtiObject* found = nullptr;
  EXPECT_EQ(findtaskcontext(state, &ctx, 3, &found), 0);
  EXPECT_EQ(found, nullptr) << "no CONTEXT attribute";
  EXPECT_EQ(findtaskcontext(state, &ctx, 9, &found), 1);
}

TEST_F(TaskRegistersTest, MissingRegisterWarnsOnceAndAnswers2) {
  EXPECT_EQ(read_register(1, kR2), 2) << "_cpu_r2 is no location: the prefix is exact";
  EXPECT_EQ(read_register(1, kR12), 2);
  EXPECT_EQ(messages(0), std::vector<std::string>{missing_register("Task_A", kR2, "r2")});
  state.model->tasks[0].name = nullptr;
  invalidate_caches(state);
  EXPECT_EQ(read_register(1, kR12), 2);
  EXPECT_EQ(messages(0).back(),
            "Task 0x1 has is missing complete context information in your ORTI file.\n"
            "Register 12 (r12) was not found\n"
            "Task aware debugging may not be fully available.\n"
            "TARNO will not be able to reconstruct all of this task's registers.\n");
}

TEST_F(TaskRegistersTest, BadRegisterAndTaskIds) {
  state.log_level = 50;
  struct Case {
    uint64_t task;
    int32_t reg;
    const char* trace;
  };
  for (const Case c : {Case{1, -1, "readreg() : Failure (bad regid)\n"},
                       Case{1, kArmRegisterTable.count, "readreg() : Failure (bad regid)\n"},
                       Case{0, kSp, "readreg() : Failure (bad taskId)\n"},
                       Case{5, kSp, "readreg() : Failure (bad taskId)\n"},
                       Case{1ull << 40, kSp, "readreg() : Failure (bad taskId)\n"}}) {
    debugger->clear_record();
    EXPECT_EQ(read_register(c.task, c.reg), 1) << c.task << " " << c.reg;
    EXPECT_TRUE(traced(c.trace)) << c.task << " " << c.reg;
    const std::string write_trace = std::string("write") + (c.trace + 4);
    EXPECT_EQ(writereg(state, &ctx, c.task, c.reg, 1), 1);
    EXPECT_TRUE(traced(write_trace)) << write_trace;
  }
  state.register_table = nullptr;
  EXPECT_EQ(read_register(1, kSp), 1) << "no table, no register ids";
}

// Ids 1 to 3 are broken in three ways; id 4 is past the end.
const char* const kNamesR0[] = {"r0", nullptr};
const char* const kNoNames[] = {nullptr};
const char* const kNamesX[] = {"x", nullptr};
const RegisterIdEntry kOddEntries[] = {
    {0, kNamesR0}, {kUnmappedRegisterId, nullptr}, {2, kNoNames}, {7, kNamesX}};
const RegisterIdTable kOddTable{"odd", kOddEntries, 4};

TEST_F(TaskRegistersTest, RegisterMapFailuresAndUserNames) {
  state.register_table = &kOddTable;
  state.log_level = 100;
  struct Case {
    int32_t reg;
    const char* trace;
  };
  for (const Case c : {Case{1, "no regmap\n"}, Case{2, "no register mapping for this register\n"},
                       Case{3, "map[reg].regid != reg\n"}}) {
    debugger->clear_record();
    EXPECT_EQ(read_register(1, c.reg), 1) << c.reg;
    EXPECT_TRUE(traced(c.trace)) << c.reg;
    EXPECT_TRUE(traced("readreg(): Failure\n")) << c.reg;
  }
  std::vector<std::string> names;
  EXPECT_FALSE(register_names(state, 1, false, &names));
  EXPECT_FALSE(register_names(state, 2, false, &names));
  EXPECT_TRUE(register_names(state, 0, false, &names));
  EXPECT_EQ(names, std::vector<std::string>{"r0"});
  EXPECT_FALSE(register_names(state, 0, true, &names)) << "no user names for id 0";

  // A user name makes the unmapped id readable, through the user's names only.
  add_register_name(state, 1, "nothing");
  add_register_name(state, 1, "R0");
  EXPECT_TRUE(register_names(state, 1, true, &names));
  EXPECT_EQ(names, (std::vector<std::string>{"R0", "nothing"}));
  uint64_t v = 0;
  EXPECT_EQ(read_register(1, 1, &v), 0);
  EXPECT_EQ(v, 0x10u);
  add_register_name(state, 0, "sp");
  EXPECT_EQ(read_register(1, 0, &v), 0) << "the new name drops the cache";
  EXPECT_EQ(v, 0x1000u);
  ASSERT_EQ(state.register_names.size(), 2u);
  EXPECT_EQ(state.register_names[0].id, 1);
  EXPECT_EQ(state.register_names[1].id, 0);
}

TEST_F(TaskRegistersTest, WriteToTheLiveRegisterAndToTheContext) {
  answer("Running", 1);
  debugger->on("OSA_Service_RegisterWrite").always();
  EXPECT_EQ(writereg(state, &ctx, 1, kSp, 0x123456789ull), 0);
  ASSERT_EQ(debugger->count("OSA_Service_RegisterWrite"), 1u);
  int64_t sent = 0;
  EXPECT_TRUE(json_object_get_integer(
      debugger->requests_of("OSA_Service_RegisterWrite")[0]->params.get(), "value", &sent));
  EXPECT_EQ(sent, 0x123456789LL);
  uint64_t v = 0;
  EXPECT_EQ(read_register(1, kSp, &v), 0);
  EXPECT_EQ(v, 0x123456789u);
  EXPECT_EQ(live_reads(), 0u) << "the written value is cached";

  answer("Running", 2);
  invalidate_caches(state);
  struct Case {
    uint64_t value;
    const char* assignment;
  };
  // Values of 32 bits are written as signed decimals, wider ones whole.
  for (const Case c : {Case{85, "(CtxA.sp)=85"}, Case{0xFFFFFFFFull, "(CtxA.sp)=-1"},
                       Case{0x123456789ull, "(CtxA.sp)=0x123456789"}}) {
    answer(c.assignment, 0);
    EXPECT_EQ(writereg(state, &ctx, 1, kSp, c.value), 0) << c.assignment;
    EXPECT_EQ(asked(c.assignment), 1u);
    EXPECT_TRUE(slot(0, kSp).valid);
    EXPECT_EQ(slot(0, kSp).value, c.value);
  }
  refuse("(CtxA.sp)=86");
  EXPECT_EQ(writereg(state, &ctx, 1, kSp, 86), 1);
}

TEST_F(TaskRegistersTest, WritesThatFindNoPlace) {
  state.log_level = 50;
  EXPECT_EQ(writereg(state, &ctx, 3, kSp, 1), 2) << "no context";
  EXPECT_EQ(messages(0), std::vector<std::string>{kNoContextA});
  EXPECT_EQ(writereg(state, &ctx, 1, kR12, 1), 2) << "no location";
  EXPECT_EQ(messages(0).size(), 2u);

  state.suppress_context_errors = true;
  EXPECT_EQ(writereg(state, &ctx, 3, kSp, 1), 1);
  EXPECT_TRUE(traced("writereg(): Could not find a register to write for register 13\n"));
  EXPECT_EQ(writereg(state, &ctx, 1, kR12, 1), 1);
  EXPECT_TRUE(traced("writereg(): Could not find a register to write for register 12\n"));
  EXPECT_EQ(debugger->count("OSA_Service_RegisterWrite"), 0u);

  // Not valid: 2 whatever the check setting says.
  answer("CtxA.valid", 0);
  invalidate_caches(state);
  EXPECT_EQ(writereg(state, &ctx, 1, kSp, 1), 2);
  EXPECT_TRUE(traced("writereg() : Failure (Task context not VALID)\n"));
  EXPECT_EQ(asked("(CtxA.sp)=1"), 0u);
}

TEST_F(TaskRegistersTest, MapreglocStoresAQuotedNameWithoutQuotesAndTheNextReadUsesIt) {
  EXPECT_EQ(read_register(1, kR12), 2);
  answer("CtxA.r12", 0x12);
  EXPECT_TRUE(mapregloc(state, &ctx, 1, "\"R12\"", "CtxA.r12"));
  const CustomAttribute& added = context(0).custom_attributes.back();
  EXPECT_STREQ(added.attribute->name, "_CPU_R12");
  EXPECT_STREQ(added.attribute->description, "R12");
  EXPECT_STREQ(added.attribute->c_type, "unsigned long");
  EXPECT_TRUE(added.flag);
  EXPECT_FALSE(state.task_records[0].warned) << "the task may warn again";
  uint64_t v = 0;
  EXPECT_EQ(read_register(1, kR12, &v), 0);
  EXPECT_EQ(v, 0x12u);

  // An existing location gets the new formula; the file's own text stays as it was.
  EXPECT_EQ(read_register(1, kSp, &v), 0);
  AttributeDecl* sp = context(0).custom_attributes[0].attribute.get();
  const char* original = sp->formula;
  answer("CtxA.sp2", 0x2222);
  EXPECT_TRUE(mapregloc(state, &ctx, 1, "sp", "\"CtxA.sp2\""));
  EXPECT_STREQ(original, "CtxA.sp");
  EXPECT_STREQ(sp->formula, "CtxA.sp2");
  EXPECT_TRUE(context(0).custom_attributes[0].flag);
  EXPECT_EQ(read_register(1, kSp, &v), 0);
  EXPECT_EQ(v, 0x2222u) << "the cached value of the old location is gone";

  EXPECT_TRUE(mapregloc_by_context(state, &ctx, 1, "r3", "CtxB.r3"));
  const std::vector<UserRegisterLocation> saved = user_register_locations(state);
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_EQ(saved[0].context_index, 0);
  EXPECT_EQ(saved[0].name, "SP") << "the name as the file spelt it";
  EXPECT_EQ(saved[0].formula, "CtxA.sp2");
  EXPECT_EQ(saved[1].name, "R12");
  EXPECT_EQ(saved[2].context_index, 1);
  EXPECT_EQ(saved[2].name, "r3");
  EXPECT_EQ(saved[2].formula, "CtxB.r3");
}

TEST_F(TaskRegistersTest, MapreglocRefusals) {
  state.log_level = 50;
  const std::string bad_task = "Bad task ID\nUsage: mapregloc TASKID NAME TARNO_EXPR\n";
  const std::string bad_context = "Bad context ID\nUsage: mapregloc CONTEXTID NAME TARNO_EXPR\n";
  for (const int64_t t : {0LL, -1LL, 5LL}) {
    EXPECT_FALSE(mapregloc(state, &ctx, t, "r3", "x")) << t;
  }
  for (const int64_t i : {-1LL, 4LL}) {
    EXPECT_FALSE(mapregloc_by_context(state, &ctx, i, "r3", "x")) << i;
  }
  EXPECT_EQ(messages(2),
            (std::vector<std::string>{bad_task, bad_task, bad_task, bad_context, bad_context}));
  EXPECT_FALSE(mapregloc(state, &ctx, 3, "r3", "x")) << "Task_C has no context";
  EXPECT_TRUE(traced("mapregloc_context(): Failure\n"));
  EXPECT_TRUE(traced("mapregloc(): Memory Failure\n"));
  EXPECT_FALSE(mapregloc_by_context(state, &ctx, 0, std::string(2048, 'r'), "x"));
  EXPECT_FALSE(mapregloc_by_context(state, &ctx, 0, "r3", std::string(2048, 'x')));
  EXPECT_TRUE(traced("mapregloc(): Failure: string length\n"));
  EXPECT_TRUE(mapregloc_by_context(state, &ctx, 0, "r3", std::string(2047, 'x')));
  EXPECT_FALSE(mapregloc_by_context(state, &ctx, 0, "\"\"", "x"));
  EXPECT_EQ(user_register_locations(state).size(), 1u);
}

// A TASK list whose elements have their contexts in a CONTEXT list, element for element.
const char kListFile[] = R"ORTI(
VERSION { KOIL = "2.2"; OSSEMANTICS = "ORTI", "2.2"; };
IMPLEMENTATION L {
  OS { CTYPE _RUNNINGTASK; };
  TASK { CTYPE TASK_ID; CTYPE VALID; };
  CONTEXT { CTYPE _CPU_SP; };
};
OS Os { _RUNNINGTASK = "RunId"; };
TASK * Tasks { TASK_ID = "($ITEM)->id"; VALID = "1"; _PARENT_NODE = "TaskHead";
               _NEXT_NODE = "($NODE)->next"; _ITEM = "($NODE)"; _NODE_VALID = "($NODE) != 0"; };
CONTEXT * Ctxs { _CPU_SP = "($ITEM)->sp"; _PARENT_NODE = "CtxHead"; _NEXT_NODE = "($NODE)->next";
                 _ITEM = "($NODE)"; _NODE_VALID = "($NODE) != 0"; };
)ORTI";

// The saved SP of list element k.
std::string list_sp(int k) {
  std::string node = "CtxHead";
  for (int i = 0; i < k; ++i) {
    node = "(" + node + ")->next";
  }
  return "((" + node + "))->sp";
}

class ListTaskRegistersTest : public TaskRegistersTest {
protected:
  void SetUp() override {
    AwarenessTest::SetUp();
    load(kListFile, &kArmRegisterTable);
    answer("1", 1);
    refuse("RunId");
    for (int k = 0; k < 3; ++k) {
      answer(list_sp(k), 0x100 + k);
    }
  }
};

TEST_F(ListTaskRegistersTest, EveryTaskIdUsesTheListsOneRecord) {
  ASSERT_EQ(state.task_records.size(), 1u);
  struct Case {
    uint64_t task;
    int32_t status;
    uint64_t value;
  };
  for (const Case c :
       {Case{1, 0, 0x100}, Case{3, 0, 0x102},
        Case{static_cast<uint64_t>(kMaxListElements) + 1, 1, 0}, Case{1ull << 40, 1, 0}}) {
    uint64_t v = 0;
    EXPECT_EQ(read_register(c.task, kSp, &v), c.status) << c.task;
    EXPECT_EQ(v, c.value) << c.task;
  }
  EXPECT_FALSE(slot(0, kSp).valid) << "a saved register of a list task is not cached";
  state.log_level = 50;
  EXPECT_EQ(read_register(2, kR0), 1) << "no location for r0";
  EXPECT_TRUE(traced("readreg(): Failure\n"));
}

TEST_F(ListTaskRegistersTest, RunningListTaskReadsLiveAndWritesGoToTheElement) {
  state.current_task = 3; // the running task as the last stop found it
  live(kSp, 0x333);
  uint64_t v = 0;
  EXPECT_EQ(read_register(3, kSp, &v), 0);
  EXPECT_EQ(v, 0x333u);
  EXPECT_EQ(read_register(3, kSp, &v), 0);
  EXPECT_EQ(live_reads(), 2u);
  EXPECT_EQ(read_register(2, kSp, &v), 0);
  EXPECT_EQ(v, 0x101u);

  const std::string assignment = "(" + list_sp(1) + ")=9";
  answer(assignment, 9);
  EXPECT_EQ(writereg(state, &ctx, 2, kSp, 9), 0);
  EXPECT_EQ(asked(assignment), 1u);
  EXPECT_FALSE(slot(0, kSp).valid) << "nothing is cached for list tasks";
  state.log_level = 50;
  EXPECT_EQ(writereg(state, &ctx, 2, kR0, 9), 1);
  EXPECT_TRUE(traced("writereg(): Failure\n"));
  EXPECT_EQ(writereg(state, &ctx, static_cast<uint64_t>(kMaxListElements) + 1, kSp, 9), 1);
}

} // namespace
