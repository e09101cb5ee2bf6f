// The client method table: rows and ids, parameter reading, default outputs of empty slots,
// outputs on failure, the per-call refresh, the commands list and the built-in methods.
#include "osa_test_util.h"

#include "host_link/process_flags.h"

#include <filesystem>
#include <set>
#include <utility>

namespace {

int g_calls = 0;
int32_t g_status = 0;

template <uint32_t Id> void install_counter() {
  client_handlers().set<Id>([](auto...) -> int32_t {
    ++g_calls;
    return g_status;
  });
}
template <std::size_t... I> void install_counters(std::index_sequence<I...>) {
  (install_counter<static_cast<uint32_t>(I)>(), ...);
}
void install_all_counters() {
  install_counters(std::make_index_sequence<kHistoryLogDump>());
}

// params with "context": 7 first, then the members of rest.
std::string with_context(const std::string& rest) {
  if (rest == "{}") {
    return R"({"context": 7})";
  }
  return R"({"context": 7, )" + rest.substr(1);
}

// params without key, or with key's value replaced by one of the wrong kind (a number for a
// text, a text for anything else).
std::string edit_params(const std::string& params, const std::string& key, bool wrong_kind) {
  std::string error;
  JsonPtr tree = json_parse(params.c_str(), error);
  if (wrong_kind) {
    const JsonValue* old = nullptr;
    json_object_get(tree.get(), key.c_str(), &old);
    json_object_set(tree.get(), key.c_str(),
                    old != nullptr && old->kind == JsonKind::String ? json_new_integer(5)
                                                                    : json_new_string("x"));
  } else {
    json_object_take(tree.get(), key.c_str(), nullptr);
  }
  return json_to_text(*tree);
}

class ClientMethodsTest : public OsaLayerTest {
protected:
  void SetUp() override {
    OsaLayerTest::SetUp();
    g_calls = 0;
    g_status = 0;
  }
};

TEST_F(ClientMethodsTest, RowsNamesAndIds) {
  const auto& table = client_method_table();
  std::set<uint32_t> ids;
  for (const auto& row : table) {
    ids.insert(row.id);
    EXPECT_EQ(std::string(row.name).rfind("OSA_Client_", 0), 0u);
  }
  EXPECT_EQ(ids.size(), 38u);
  const struct {
    std::size_t row;
    const char* name;
    uint32_t id;
  } expected[] = {{0, "OSA_Client_OsaInit", 0},
                  {17, "OSA_Client_TaskAddressSpaceGet", 17},
                  {18, "OSA_Client_TaskSymTabGet", 19},
                  {19, "OSA_Client_TaskRelocatableGet", 18},
                  {20, "OSA_Client_CurrentTaskGet", 20},
                  {22, "OSA_Client_TaskInCurrentAddressSpaceCheck", 22},
                  {23, "OSA_Client_AddressSpaceNameGet", 26},
                  {24, "OSA_Client_TaskIsHiddenCheck", 23},
                  {25, "OSA_Client_TaskLsoGet", 24},
                  {26, "OSA_Client_TaskTksaGet", 25},
                  {27, "OSA_Client_Poll", 27},
                  {29, "OSA_Client_OsaCmd_Execute", 29},
                  {36, "OSA_Client_HistoryLogDump", 36},
                  {37, "OSA_Client_Exit", 37}};
  for (const auto& e : expected) {
    EXPECT_STREQ(table[e.row].name, e.name);
    EXPECT_EQ(table[e.row].id, e.id) << e.name;
  }
  for (std::size_t row = 0; row < table.size(); ++row) {
    if (row != 18 && row != 19 && (row < 23 || row > 26)) {
      EXPECT_EQ(table[row].id, row) << table[row].name;
    }
  }
}

TEST_F(ClientMethodsTest, RegistrationLeavesEverySlotEmpty) {
  for (uint32_t id = 0; id < kClientMethodCount; ++id) {
    EXPECT_FALSE(client_handlers().filled(id)) << id;
  }
}

// Each method with its required parameters and what an empty slot answers.
struct MethodCase {
  const char* method;
  const char* params; // without "context"
  std::vector<const char*> required;
  const char* empty_slot_result;
  bool outputs_on_failure; // outputs written whatever the status
};

const std::vector<MethodCase>& method_cases() {
  static const std::vector<MethodCase> cases = {
      {"OSA_Client_TargetInit",
       R"({"majorCpuType": 1, "minorCpuType": 2, "bigEndianTarget": 0, "bigEndianHost": 0})",
       {"majorCpuType", "minorCpuType", "bigEndianTarget", "bigEndianHost"},
       R"({ "osaKernelMajorVersion" : 0, "osaKernelMinorVersion" : 0, "pageSize" : 0, )"
       R"("kernelInPhysicalAddress" : 0, "distinguishCpuModes" : 1, "fixOsaMemSpc" : 0, )"
       R"("noiceMask" : 0, "return" : 0 })",
       true},
      {"OSA_Client_TargetCleanup", "{}", {}, R"({ "return" : 0 })", false},
      {"OSA_Client_ObjectListInit",
       R"({"objTypeId": 1})",
       {"objTypeId"},
       R"({ "showObjectNumber" : 1, "return" : 0 })",
       true},
      {"OSA_Client_ObjectListCleanup",
       R"({"objTypeId": 1})",
       {"objTypeId"},
       R"({ "return" : 0 })",
       false},
      {"OSA_Client_ObjectListNext",
       R"({"objTypeId": 1})",
       {"objTypeId"},
       R"({ "return" : 0 })",
       false},
      {"OSA_Client_ObjectListAttribute",
       R"({"objTypeId": 1, "objAtrId": 2, "valueType": 0})",
       {"objTypeId", "objAtrId", "valueType"},
       R"({ "objAtrValue" : "", "return" : 0 })",
       false},
      {"OSA_Client_TaskMemoryAccessSetup",
       R"({"taskId": 1, "memorySpace": 0, "address": 16, "count": 1, "size": 4, "read": 1})",
       {"taskId", "memorySpace", "address", "count", "size", "read"},
       R"({ "return" : 0 })",
       false},
      {"OSA_Client_TaskMemoryAccessRestore",
       R"({"taskId": 1, "memorySpace": 0, "address": 16, "count": 1, "size": 4, "read": 1})",
       {"taskId", "memorySpace", "address", "count", "size", "read"},
       R"({ "return" : 0 })",
       false},
      {"OSA_Client_TaskRegisterRead",
       R"({"taskId": 1, "register": 3})",
       {"taskId", "register"},
       R"({ "value" : 0, "return" : 0 })",
       false},
      {"OSA_Client_TaskRegisterWrite",
       R"({"taskId": 1, "register": 3, "value": 9})",
       {"taskId", "register", "value"},
       R"({ "return" : 0 })",
       false},
      {"OSA_Client_TaskAddressTranslate",
       R"({"taskId": 1, "memorySpace": 4, "address": 16})",
       {"taskId", "memorySpace", "address"},
       R"({ "memorySpace" : 4, "address" : 0, "return" : 0 })",
       false},
      {"OSA_Client_TaskNameGet",
       R"({"taskId": 1})",
       {"taskId"},
       R"({ "name" : "", "return" : 0 })",
       false},
      {"OSA_Client_TaskStatusGet",
       R"({"taskId": 1})",
       {"taskId"},
       R"({ "status" : "", "return" : 0 })",
       false},
      {"OSA_Client_TaskExecGet",
       R"({"taskId": 1})",
       {"taskId"},
       R"({ "executable" : "", "return" : 0 })",
       false},
      {"OSA_Client_TaskCpuGet",
       R"({"taskId": 1})",
       {"taskId"},
       R"({ "cpu" : "", "return" : 0 })",
       false},
      {"OSA_Client_TaskAddressSpaceGet",
       R"({"taskId": 1, "wantName": 1})",
       {"taskId", "wantName"},
       R"({ "addressSpace" : "", "return" : 0 })",
       false},
      {"OSA_Client_TaskSymTabGet",
       R"({"taskId": 1})",
       {"taskId"},
       R"({ "count" : 0, "fileName" : [  ], "mask" : [  ], "text" : [  ], "rodata" : [  ], )"
       R"("data" : [  ], "bss" : [  ], "extra" : [  ], "return" : 0 })",
       false},
      {"OSA_Client_TaskRelocatableGet",
       R"({"taskId": 1})",
       {"taskId"},
       R"({ "text" : 0, "rodata" : 0, "data" : 0, "bss" : 0, "extra" : 0, "return" : 0 })",
       false},
      {"OSA_Client_CurrentTaskGet",
       R"({"checkInKernel": 1})",
       {"checkInKernel"},
       R"({ "taskId" : 0, "return" : 0 })",
       false},
      {"OSA_Client_TaskInKernelCheck",
       R"({"taskId": 1})",
       {"taskId"},
       R"({ "result" : 0, "return" : 0 })",
       false},
      {"OSA_Client_TaskInCurrentAddressSpaceCheck",
       R"({"taskId": 1})",
       {"taskId"},
       R"({ "result" : 0, "return" : 0 })",
       false},
      {"OSA_Client_AddressSpaceNameGet",
       R"({"addressSpaceId": 1})",
       {"addressSpaceId"},
       R"({ "name" : "", "return" : 0 })",
       false},
      {"OSA_Client_TaskIsHiddenCheck",
       R"({"taskId": 1})",
       {"taskId"},
       R"({ "result" : 0, "return" : 0 })",
       false},
      {"OSA_Client_TaskLsoGet",
       R"({"taskId": 1})",
       {"taskId"},
       R"({ "offset" : 0, "return" : 0 })",
       false},
      {"OSA_Client_TaskTksaGet",
       R"({"taskId": 1})",
       {"taskId"},
       R"({ "value" : 0, "return" : 0 })",
       false},
      {"OSA_Client_Poll", "{}", {}, R"({ "return" : 0 })", false},
      {"OSA_Client_TargetNotify", R"({"notice": 1})", {"notice"}, R"({ "return" : 0 })", false},
      {"OSA_Client_OsaCmd_Execute",
       R"({"command": "help"})",
       {"command"},
       R"({ "return" : 0 })",
       false},
      {"OSA_Client_GuiObjectCheck",
       R"({"objTypeName": "TASK", "objTypeId": 1, "visible": 1})",
       {"objTypeName", "objTypeId", "visible"},
       R"({ "objTypeName" : "TASK", "visible" : 1, "return" : 0 })",
       false},
      {"OSA_Client_ObjectChangedCheck", "{}", {}, R"({ "changeMask" : 0, "return" : 0 })", false},
      {"OSA_Client_LifeCycleCountsGet",
       "{}",
       {},
       R"({ "count" : 0, "lifeCycle" : [  ], "return" : 0 })",
       false},
      {"OSA_Client_PageTableGet",
       "{}",
       {},
       R"({ "count" : 0, "physLowArray" : [  ], "virtLowArray" : [  ], "regionSize" : [  ], )"
       R"("aidArray" : [  ], "return" : 0 })",
       false},
      {"OSA_Client_MessageInject",
       R"({"objTypeId": 1, "objId": 2, "message": "m"})",
       {"objTypeId", "objId", "message"},
       R"({ "return" : 0 })",
       false},
      {"OSA_Client_KernelMemoryRegionsGet",
       "{}",
       {},
       R"({ "numRegions" : 0, "return" : 0 })",
       false},
  };
  return cases;
}

TEST_F(ClientMethodsTest, EmptySlotsAnswerTheirDefaultOutputs) {
  init_context();
  for (const MethodCase& c : method_cases()) {
    EXPECT_EQ(call(c.method, with_context(c.params)), c.empty_slot_result) << c.method;
  }
}

TEST_F(ClientMethodsTest, FilledSlotsAreCalledOnceWithTheSameDefaults) {
  init_context();
  install_all_counters();
  for (const MethodCase& c : method_cases()) {
    g_calls = 0;
    EXPECT_EQ(call(c.method, with_context(c.params)), c.empty_slot_result) << c.method;
    EXPECT_EQ(g_calls, 1) << c.method;
  }
}

TEST_F(ClientMethodsTest, MissingOrWrongKindRequiredParametersSkipTheHandler) {
  init_context();
  install_all_counters();
  for (const MethodCase& c : method_cases()) {
    const std::string full = with_context(c.params);
    std::vector<std::string> keys(c.required.begin(), c.required.end());
    keys.push_back("context");
    for (const std::string& key : keys) {
      for (bool wrong_kind : {false, true}) {
        g_calls = 0;
        EXPECT_EQ(call(c.method, edit_params(full, key, wrong_kind)), R"({ "return" : 1 })")
            << c.method << " " << key << (wrong_kind ? " (wrong kind)" : " (missing)");
        EXPECT_EQ(g_calls, 0) << c.method << " " << key;
      }
    }
  }
}

TEST_F(ClientMethodsTest, UnknownContextOrNonObjectParamsAnswerOne) {
  init_context();
  install_all_counters();
  for (const MethodCase& c : method_cases()) {
    const std::string other = "{\"context\": 8, " + std::string(c.params).substr(1);
    EXPECT_EQ(call(c.method, std::string(c.params) == "{}" ? R"({"context": 8})" : other),
              R"({ "return" : 1 })")
        << c.method;
    EXPECT_EQ(call(c.method, "[7]"), R"({ "return" : 1 })") << c.method;
    EXPECT_EQ(call(c.method, "null"), R"({ "return" : 1 })") << c.method;
  }
  EXPECT_EQ(g_calls, 0);
}

TEST_F(ClientMethodsTest, HandlerFailureDropsOutputsExceptWhereTheyAreAlwaysWritten) {
  init_context();
  install_all_counters();
  g_status = 5;
  for (const MethodCase& c : method_cases()) {
    const std::string got = call(c.method, with_context(c.params));
    if (c.outputs_on_failure) {
      std::string expected = c.empty_slot_result;
      expected.replace(expected.find("\"return\" : 0"), 12, "\"return\" : 5");
      EXPECT_EQ(got, expected) << c.method;
    } else {
      EXPECT_EQ(got, R"({ "return" : 5 })") << c.method;
    }
  }
}

TEST_F(ClientMethodsTest, OsaInitWithoutContextCreatesContextZeroAndListsBuiltIns) {
  EXPECT_EQ(call("OSA_Client_OsaInit", "{}"),
            R"({ "versionAcknowledge" : 2, "translateAddressOnMasterProcess" : 0, )"
            R"("treatMasterProcessAsKernel" : 1, "fixOsaMemSpc" : 0, )"
            R"("fakeTidForMasterProcess" : 0, "commandCount" : 3, "commands" : [ )"
            R"("OSA_Client_OsaCleanup", "OSA_Client_HistoryLogDump", "OSA_Client_Exit" ], )"
            R"("return" : 0 })");
  OSA_ServiceCntx* ctx = context_find(osa_layer_state().contexts, 0);
  ASSERT_NE(ctx, nullptr);
  EXPECT_EQ(ctx->hostCoreId, kNoCore);
  EXPECT_EQ(ctx->debugMode, -1);
  EXPECT_EQ(ctx->showAllObjects, 1);
  EXPECT_EQ(ctx->coreCount, 0u);
  EXPECT_TRUE(ctx->minorCpuTypes.empty());
}

TEST_F(ClientMethodsTest, OsaInitReadsItsParametersIntoTheRecord) {
  const std::string result = call(
      "OSA_Client_OsaInit",
      R"({"context": 3, "versionRequired": 4, "treatMasterProcessAsKernel": 0, )"
      R"("sharedLibPath": "/a", "realSharedLibPath": "/b", "tarnoDir": "/c", "fixOsaMemSpc": 9, )"
      R"("showHiddenTasks": 1})");
  EXPECT_NE(result.find(R"("treatMasterProcessAsKernel" : 0, "fixOsaMemSpc" : 1)"),
            std::string::npos)
      << result;
  OSA_ServiceCntx* ctx = context_find(osa_layer_state().contexts, 3);
  ASSERT_NE(ctx, nullptr);
  EXPECT_EQ(ctx->area.versionRequired, 4);
  EXPECT_EQ(ctx->sharedLibPath, "/a");
  EXPECT_EQ(ctx->realSharedLibPath, "/b");
  EXPECT_EQ(ctx->tarnoDir, "/c");
  EXPECT_EQ(ctx->showHiddenTasks, 1);
  // A second OsaInit of the same context appends another record; lookups find the first.
  call("OSA_Client_OsaInit", R"({"context": 3})");
  EXPECT_EQ(osa_layer_state().contexts.records.size(), 2u);
  EXPECT_EQ(context_find(osa_layer_state().contexts, 3), ctx);
}

int32_t acknowledge_three(OsaCntx*, ClientArea* area) {
  area->versionAcknowledge = 3;
  area->fakeTidForMasterProcess = 0x1234;
  return 0;
}

TEST_F(ClientMethodsTest, OsaInitCommandsListFollowsTheFilledSlotsInRowOrder) {
  client_handlers().set<kOsaInit>(acknowledge_three);
  install_counter<kTaskTksaGet>();
  install_counter<kAddressSpaceNameGet>();
  install_counter<kTaskIsHiddenCheck>();
  install_counter<kTaskSymTabGet>();
  install_counter<kTaskRelocatableGet>();
  install_counter<kTargetInit>();
  EXPECT_EQ(call("OSA_Client_OsaInit", "{}"),
            R"({ "versionAcknowledge" : 3, "translateAddressOnMasterProcess" : 0, )"
            R"("treatMasterProcessAsKernel" : 1, "fixOsaMemSpc" : 0, )"
            R"("fakeTidForMasterProcess" : 4660, "commandCount" : 10, "commands" : [ )"
            R"("OSA_Client_OsaInit", "OSA_Client_OsaCleanup", "OSA_Client_TargetInit", )"
            R"("OSA_Client_TaskSymTabGet", "OSA_Client_TaskRelocatableGet", )"
            R"("OSA_Client_AddressSpaceNameGet", "OSA_Client_TaskIsHiddenCheck", )"
            R"("OSA_Client_TaskTksaGet", "OSA_Client_HistoryLogDump", "OSA_Client_Exit" ], )"
            R"("return" : 0 })");
}

int32_t fail_init(OsaCntx*, ClientArea*) {
  return 7;
}

TEST_F(ClientMethodsTest, FailedOsaInitAnswersOnlyItsStatus) {
  client_handlers().set<kOsaInit>(fail_init);
  EXPECT_EQ(call("OSA_Client_OsaInit", "{}"), R"({ "return" : 7 })");
}

TEST_F(ClientMethodsTest, OsaCleanupDestroysTheRecord) {
  init_context();
  EXPECT_EQ(call("OSA_Client_OsaCleanup", R"({"context": 7})"), R"({ "return" : 0 })");
  EXPECT_EQ(context_find(osa_layer_state().contexts, 7), nullptr);
  EXPECT_EQ(call("OSA_Client_TaskNameGet", R"({"context": 7, "taskId": 1})"),
            R"({ "return" : 1 })");
  EXPECT_EQ(call("OSA_Client_OsaCleanup", R"({"context": 7})"), R"({ "return" : 1 })");
}

int g_released = 0;
void count_release(void*) {
  ++g_released;
}
int g_target_object = 0;

int32_t set_owned_target(OsaCntx*, ClientArea*, TargetDataLink* link) {
  link->object = &g_target_object;
  link->release = count_release;
  return 0;
}

TEST_F(ClientMethodsTest, OwnedTargetDataIsFreedByTargetCleanupAndByOsaCleanup) {
  const std::string init =
      R"({"context": 7, "majorCpuType": 1, "minorCpuType": 2, "bigEndianTarget": 0, "bigEndianHost": 0})";
  OSA_ServiceCntx* ctx = init_context();
  client_handlers().set<kTargetInit>(set_owned_target);
  g_released = 0;
  call("OSA_Client_TargetInit", init);
  EXPECT_EQ(ctx->target_data.object, &g_target_object);
  call("OSA_Client_TargetCleanup", R"({"context": 7})");
  EXPECT_EQ(g_released, 1);
  EXPECT_EQ(ctx->target_data.object, nullptr);
  call("OSA_Client_TargetInit", init);
  call("OSA_Client_OsaCleanup", R"({"context": 7})");
  EXPECT_EQ(g_released, 2);
}

TEST_F(ClientMethodsTest, TargetInitReadsTheTargetDescription) {
  OSA_ServiceCntx* ctx = init_context();
  EXPECT_EQ(call("OSA_Client_TargetInit",
                 R"({"context": 7, "majorCpuType": 70000, "minorCpuTypeArray": )"
                 R"([1,2,3,4,5,6,7,8,9,10,11], "minorCpuType": 99, "bigEndianTarget": 1, )"
                 R"("bigEndianHost": 0, "logCommunication": 1, "explorerIsActive": 1, )"
                 R"("suppressErrMsg": 1, "cpuAddressSize": 4, "isSimulator": 1, "coreCount": 2, )"
                 R"("coreIdList": [5, 6], "signExtendAddressFrom4BytesTo8Bytes": 1, )"
                 R"("kernelInPhysicalAddress": 1, "distinguishCpuModes": 0, "fixOsaMemSpc": 1, )"
                 R"("tarnoMajor": 8, "tarnoMinor": 1, "tarnoMicro": 2, "debugMode": 0, )"
                 R"("firstCoreIdOffset": 3})"),
            R"({ "osaKernelMajorVersion" : 0, "osaKernelMinorVersion" : 0, "pageSize" : 0, )"
            R"("kernelInPhysicalAddress" : 1, "distinguishCpuModes" : 0, "fixOsaMemSpc" : 1, )"
            R"("noiceMask" : 0, "return" : 0 })");
  EXPECT_EQ(ctx->majorCpuType, static_cast<uint16_t>(70000));
  EXPECT_EQ(ctx->majorCpuTypeCopy, 70000u);
  EXPECT_EQ(ctx->minorCpuType, 1);
  EXPECT_EQ(ctx->minorCpuTypes, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_TRUE(target_flag(*ctx, kTargetBigEndianTarget));
  EXPECT_FALSE(target_flag(*ctx, kTargetBigEndianHost));
  EXPECT_TRUE(target_flag(*ctx, kTargetLogCommunication));
  EXPECT_TRUE(target_flag(*ctx, kTargetExplorerIsActive));
  EXPECT_TRUE(target_flag(*ctx, kTargetIsSimulator));
  EXPECT_TRUE(call_flag(*ctx, kCallSuppressErrMsg));
  EXPECT_EQ(ctx->cpuAddressSize, 4u);
  EXPECT_EQ(ctx->coreIdList, (std::vector<uint64_t>{5, 6}));
  EXPECT_EQ(ctx->signExtendAddressFrom4BytesTo8Bytes, 1u);
  EXPECT_EQ(ctx->tarnoMajor, 8);
  EXPECT_EQ(ctx->tarnoMicro, 2);
  EXPECT_EQ(ctx->debugMode, 0);
  EXPECT_EQ(ctx->firstCoreIdOffset, 3u);

  // Absent: logCommunication and fixOsaMemSpc unchanged, the others back to their defaults.
  call("OSA_Client_TargetInit",
       R"({"context": 7, "majorCpuType": 1, "minorCpuTypeArray": null, "minorCpuType": 9, )"
       R"("bigEndianTarget": 0, "bigEndianHost": 0})");
  EXPECT_EQ(ctx->minorCpuTypes, (std::vector<uint32_t>{9, 0xFFFFFFFFu}));
  EXPECT_EQ(ctx->minorCpuType, 9);
  EXPECT_TRUE(target_flag(*ctx, kTargetLogCommunication));
  EXPECT_TRUE(option_flag(ctx->area, kOptionFixOsaMemSpc));
  EXPECT_FALSE(target_flag(*ctx, kTargetExplorerIsActive));
  EXPECT_FALSE(option_flag(ctx->area, kOptionKernelInPhysicalAddress));
  EXPECT_TRUE(option_flag(ctx->area, kOptionDistinguishCpuModes));
  EXPECT_EQ(ctx->coreCount, 1u);
  EXPECT_EQ(ctx->coreIdList, (std::vector<uint64_t>{5, 6})) << "coreCount 1 keeps the list";
  EXPECT_EQ(ctx->firstCoreIdOffset, 0u);
}

TEST_F(ClientMethodsTest, TargetInitEdgeCases) {
  OSA_ServiceCntx* ctx = init_context();
  const std::string base = R"({"context": 7, "majorCpuType": 1, "bigEndianTarget": 0, )";
  // Fewer than 10 integers, or a non-integer among the 10.
  EXPECT_EQ(call("OSA_Client_TargetInit",
                 base + R"("bigEndianHost": 0, "minorCpuTypeArray": [1,2,3], "minorCpuType": 1})"),
            R"({ "return" : 1 })");
  EXPECT_EQ(call("OSA_Client_TargetInit",
                 base + R"("bigEndianHost": 0, "minorCpuTypeArray": [1,2,3,4,5,6,7,8,9,"x"]})"),
            R"({ "return" : 1 })");
  // Without bigEndianHost, even with everything else.
  EXPECT_EQ(call("OSA_Client_TargetInit",
                 base + R"("minorCpuTypeArray": [1,2,3,4,5,6,7,8,9,10], "minorCpuType": 1})"),
            R"({ "return" : 1 })");
  EXPECT_TRUE(ctx->minorCpuTypes.empty()) << "a rejected call changes nothing";
  // A list, then coreCount 3 with an unreadable list drops it; an absurd count too.
  call("OSA_Client_TargetInit",
       base + R"("bigEndianHost": 0, "minorCpuType": 1, "coreCount": 2, "coreIdList": [1, 2]})");
  EXPECT_EQ(ctx->coreIdList.size(), 2u);
  call("OSA_Client_TargetInit",
       base + R"("bigEndianHost": 0, "minorCpuType": 1, "coreCount": 3, "coreIdList": [1, 2]})");
  EXPECT_TRUE(ctx->coreIdList.empty());
  EXPECT_EQ(ctx->coreCount, 3u);
  call("OSA_Client_TargetInit",
       base + R"("bigEndianHost": 0, "minorCpuType": 1, "coreCount": 2, "coreIdList": [1, 2]})");
  call("OSA_Client_TargetInit", base + R"("bigEndianHost": 0, "minorCpuType": 1, )"
                                       R"("coreCount": 1000000000000, "coreIdList": [1, 2]})");
  EXPECT_TRUE(ctx->coreIdList.empty());
  // The count is signed on the wire: a negative one is not above 1 and keeps the list.
  call("OSA_Client_TargetInit",
       base + R"("bigEndianHost": 0, "minorCpuType": 1, "coreCount": 2, "coreIdList": [1, 2]})");
  call("OSA_Client_TargetInit",
       base + R"("bigEndianHost": 0, "minorCpuType": 1, "coreCount": -1, "coreIdList": [3]})");
  EXPECT_EQ(ctx->coreIdList, (std::vector<uint64_t>{1, 2}));
}

const ParentRecord* g_parent = nullptr;
ParentRecord g_parent_copy;
bool g_parent_seen = false;
int32_t g_type_seen = 0;

int32_t record_parent(OsaCntx*, ClientArea* area, void*, int32_t type, const ParentRecord* parent) {
  g_parent = parent;
  g_parent_seen = parent != nullptr;
  if (parent != nullptr) {
    g_parent_copy = *parent;
  }
  g_type_seen = type;
  set_option_flag(*area, kOptionShowObjectNumber, false);
  return 2;
}

TEST_F(ClientMethodsTest, ObjectListParentAndShowObjectNumber) {
  OSA_ServiceCntx* ctx = init_context();
  client_handlers().set<kObjectListInit>(record_parent);
  EXPECT_EQ(
      call("OSA_Client_ObjectListInit", R"({"context": 7, "objTypeId": 4, "showAllObjects": 1})"),
      R"({ "showObjectNumber" : 0, "return" : 2 })");
  EXPECT_FALSE(g_parent_seen);
  EXPECT_EQ(g_type_seen, 4);
  EXPECT_EQ(ctx->showAllObjects, 1);
  EXPECT_EQ(call("OSA_Client_ObjectListInit",
                 R"({"context": 7, "objTypeId": 1, "parentObjTypeId": 0, "parentObjId": 12})"),
            R"({ "showObjectNumber" : 0, "return" : 2 })");
  ASSERT_TRUE(g_parent_seen);
  EXPECT_EQ(g_parent_copy.parentObjTypeId, 0u);
  EXPECT_EQ(g_parent_copy.parentObjId, 12u);
  EXPECT_EQ(g_parent_copy.parentObjListId, 0xFFFFFFFFu);
  EXPECT_EQ(ctx->showAllObjects, 0) << "absent showAllObjects clears it";
  g_parent_seen = false;
  EXPECT_EQ(
      call("OSA_Client_ObjectListInit", R"({"context": 7, "objTypeId": 1, "parentObjTypeId": 0})"),
      R"({ "return" : 1 })");
  EXPECT_FALSE(g_parent_seen);
  EXPECT_EQ(
      call("OSA_Client_ObjectListNext", R"({"context": 7, "objTypeId": 1, "parentObjTypeId": 2})"),
      R"({ "return" : 1 })");
}

uint32_t g_code_seen = 0;
int32_t attribute_value(OsaCntx*, ClientArea*, void*, int32_t, const ParentRecord*, int32_t atr,
                        TypedValue* value) {
  g_code_seen = value->code;
  if (value->code == kValueText) {
    value->text = "RUNNING";
  } else {
    typed_value_store_u64(*value, static_cast<uint64_t>(atr) * 100);
  }
  return 0;
}

TEST_F(ClientMethodsTest, ObjectListAttributePresetsTheValueCode) {
  init_context();
  client_handlers().set<kObjectListAttribute>(attribute_value);
  for (int type = -1; type <= 13; ++type) {
    const bool integer = (type >= 1 && type <= 7) || type == 10 || type == 11;
    const std::string got = call("OSA_Client_ObjectListAttribute",
                                 R"({"context": 7, "objTypeId": 1, "objAtrId": 3, "valueType": )" +
                                     std::to_string(type) + "}");
    EXPECT_EQ(g_code_seen, integer ? kValueUInt64 : kValueText) << type;
    EXPECT_EQ(got, integer ? R"({ "objAtrValue" : 300, "return" : 0 })"
                           : R"({ "objAtrValue" : "RUNNING", "return" : 0 })")
        << type;
  }
}

struct CallFlagsSeen {
  bool in_user_mode, abort_action, in_validation, traec;
  uint64_t host_core;
  uint8_t unified, frozen;
};
CallFlagsSeen g_seen;

int32_t see_flags(OsaCntx* ctx, ClientArea*, void*, uint64_t, TypedValue*) {
  g_seen = {target_flag(*ctx, kTargetInUserMode),
            target_flag(*ctx, kTargetAbortAction),
            call_flag(*ctx, kCallTarnoInValidation),
            call_flag(*ctx, kCallTraecIsActive),
            ctx->hostCoreId,
            ctx->unifiedMcOsa,
            ctx->mcIsFrozen};
  return 0;
}

TEST_F(ClientMethodsTest, EveryCallRefreshesThePerCallFields) {
  init_context();
  client_handlers().set<kTaskNameGet>(see_flags);
  call("OSA_Client_TaskNameGet",
       R"({"context": 7, "taskId": 1, "inUserMode": 1, "abortAction": 2, )"
       R"("tarnoInValidation": 1, "hostCoreId": 3, "unifiedMcOsa": 1, "mcIsFrozen": 1, )"
       R"("traecIsActive": 1})");
  EXPECT_TRUE(g_seen.in_user_mode && g_seen.abort_action && g_seen.in_validation && g_seen.traec);
  EXPECT_EQ(g_seen.host_core, 2u);
  EXPECT_EQ(g_seen.unified, 1);
  EXPECT_EQ(g_seen.frozen, 1);
  call("OSA_Client_TaskNameGet", R"({"context": 7, "taskId": 1, "inUserMode": true})");
  EXPECT_FALSE(g_seen.in_user_mode) << "a Boolean is not an integer flag";
  EXPECT_FALSE(g_seen.abort_action || g_seen.in_validation);
  EXPECT_TRUE(g_seen.traec) << "traecIsActive changes only when given";
  EXPECT_EQ(g_seen.host_core, kNoCore);
  EXPECT_EQ(g_seen.unified, 0);
  EXPECT_EQ(g_seen.frozen, 0);
}

uint64_t g_core_seen = 0;
int32_t current_task(OsaCntx*, ClientArea*, void*, uint64_t core, uint64_t* task) {
  g_core_seen = core;
  *task = 0x8000000000000001ull;
  return 0;
}

TEST_F(ClientMethodsTest, CurrentTaskGetCoreAndCpuModeCache) {
  OSA_ServiceCntx* ctx = init_context();
  client_handlers().set<kCurrentTaskGet>(current_task);
  EXPECT_EQ(call("OSA_Client_CurrentTaskGet",
                 R"({"context": 7, "checkInKernel": 0, "coreId": 2, "coreInUserMode": 1})"),
            R"({ "taskId" : -9223372036854775807, "return" : 0 })");
  EXPECT_EQ(g_core_seen, 1u);
  EXPECT_TRUE(target_flag(*ctx, kTargetDoNotCheckInKernel));
  ASSERT_NE(cpu_mode_cache_find(ctx->cpu_modes, 1), nullptr);
  EXPECT_EQ(cpu_mode_cache_find(ctx->cpu_modes, 1)->inUserMode, 1u);
  call("OSA_Client_CurrentTaskGet", R"({"context": 7, "checkInKernel": 1, "hostCoreId": 4})");
  EXPECT_EQ(g_core_seen, 3u) << "falls back to hostCoreId";
  EXPECT_FALSE(target_flag(*ctx, kTargetDoNotCheckInKernel));
  EXPECT_EQ(cpu_mode_cache_find(ctx->cpu_modes, 3)->inUserMode, 0u);
  call("OSA_Client_CurrentTaskGet",
       R"({"context": 7, "checkInKernel": 1, "coreId": 2, "coreInUserMode": 0})");
  EXPECT_EQ(cpu_mode_cache_find(ctx->cpu_modes, 1)->inUserMode, 0u) << "entry updated";
  EXPECT_EQ(ctx->cpu_modes.size(), 2u);
  call("OSA_Client_CurrentTaskGet", R"({"context": 7, "checkInKernel": 1})");
  EXPECT_EQ(g_core_seen, kNoCore);
}

int32_t g_to_task = -1;
int32_t translate(OsaCntx*, ClientArea*, void*, uint64_t, int32_t* space, uint64_t address,
                  int32_t to_task, TypedValue* out) {
  g_to_task = to_task;
  *space = 9;
  typed_value_store_u64(*out, address + 1);
  return 0;
}

TEST_F(ClientMethodsTest, TaskAddressTranslateNegatesFromTask) {
  OSA_ServiceCntx* ctx = init_context();
  client_handlers().set<kTaskAddressTranslate>(translate);
  EXPECT_EQ(call("OSA_Client_TaskAddressTranslate",
                 R"({"context": 7, "taskId": 1, "memorySpace": 2, "address": 10, )"
                 R"("wantPhysicalAddress": 1})"),
            R"({ "memorySpace" : 9, "address" : 11, "return" : 0 })");
  EXPECT_EQ(g_to_task, 0);
  EXPECT_EQ(ctx->wantPhysicalAddress, 1);
  call("OSA_Client_TaskAddressTranslate",
       R"({"context": 7, "taskId": 1, "memorySpace": 2, "address": 10, "fromTask": 0})");
  EXPECT_EQ(g_to_task, 1);
  EXPECT_EQ(ctx->wantPhysicalAddress, 0);
}

int32_t cpu_value(OsaCntx*, ClientArea*, void*, uint64_t, TypedValue* value) {
  if (value->code == kValueText) {
    value->text = "core1";
  } else {
    typed_value_store_u64(*value, 1);
  }
  return 0;
}

// Gives the other kind of value than the one asked for.
int32_t flipped_value(OsaCntx*, ClientArea*, void*, uint64_t, TypedValue* value) {
  if (value->code == kValueText) {
    *value = typed_value_of(kValueUInt64);
    typed_value_store_u64(*value, 5);
  } else {
    *value = typed_value_of(kValueText);
    value->text = "core1";
  }
  return 0;
}

TEST_F(ClientMethodsTest, ValueTypeChoosesTextOrNumber) {
  init_context();
  // The request, not the value the handler leaves, decides the output's JSON kind.
  for (auto handler : {cpu_value, flipped_value}) {
    const bool flipped = handler == flipped_value;
    client_handlers().set<kTaskCpuGet>(handler);
    client_handlers().set<kTaskAddressSpaceGet>(handler);
    EXPECT_EQ(call("OSA_Client_TaskCpuGet", R"({"context": 7, "taskId": 1})"),
              flipped ? R"({ "cpu" : "", "return" : 0 })" : R"({ "cpu" : "core1", "return" : 0 })");
    EXPECT_EQ(call("OSA_Client_TaskCpuGet", R"({"context": 7, "taskId": 1, "valueType": 11})"),
              flipped ? R"({ "cpu" : 0, "return" : 0 })" : R"({ "cpu" : 1, "return" : 0 })");
    EXPECT_EQ(
        call("OSA_Client_TaskAddressSpaceGet", R"({"context": 7, "taskId": 1, "wantName": 0})"),
        flipped ? R"({ "addressSpace" : 0, "return" : 0 })"
                : R"({ "addressSpace" : 1, "return" : 0 })");
    EXPECT_EQ(
        call("OSA_Client_TaskAddressSpaceGet", R"({"context": 7, "taskId": 1, "wantName": 2})"),
        flipped ? R"({ "addressSpace" : "", "return" : 0 })"
                : R"({ "addressSpace" : "core1", "return" : 0 })");
  }
}

int32_t g_notice = 0;
bool g_notify_flags[3];
int32_t notify(OsaCntx* ctx, ClientArea*, void*, int32_t notice) {
  g_notice = notice;
  g_notify_flags[0] = target_flag(*ctx, kTargetExplorerIsActive);
  g_notify_flags[1] = call_flag(*ctx, kCallTraecIsActive);
  g_notify_flags[2] = call_flag(*ctx, kCallWholeTargetHalted);
  return 0;
}

TEST_F(ClientMethodsTest, TargetNotifyClearsItsFlagsBeforeReading) {
  init_context();
  client_handlers().set<kTargetNotify>(notify);
  call("OSA_Client_TargetNotify", R"({"context": 7, "notice": 3, "explorerIsActive": 1, )"
                                  R"("traecIsActive": 1, "wholeTargetHalted": 1})");
  EXPECT_EQ(g_notice, 3);
  EXPECT_TRUE(g_notify_flags[0] && g_notify_flags[1] && g_notify_flags[2]);
  call("OSA_Client_TargetNotify", R"({"context": 7, "notice": 4})");
  EXPECT_FALSE(g_notify_flags[0] || g_notify_flags[1] || g_notify_flags[2]);
}

int32_t rename_object(OsaCntx*, ClientArea*, void*, const GuiObjectRecord* in,
                      GuiObjectRecord* out) {
  EXPECT_FALSE(out->has_name);
  EXPECT_EQ(out->objTypeId, in->objTypeId);
  EXPECT_EQ(out->visible, in->visible);
  if (in->objTypeId == 1) {
    out->has_name = true;
    out->objTypeName = "Threads";
  }
  out->visible = 0;
  return 0;
}

TEST_F(ClientMethodsTest, GuiObjectCheckKeepsTheGivenNameUnlessReplaced) {
  init_context();
  client_handlers().set<kGuiObjectCheck>(rename_object);
  EXPECT_EQ(call("OSA_Client_GuiObjectCheck",
                 R"({"context": 7, "objTypeName": "TASK", "objTypeId": 1, "visible": 1})"),
            R"({ "objTypeName" : "Threads", "visible" : 0, "return" : 0 })");
  EXPECT_EQ(call("OSA_Client_GuiObjectCheck",
                 R"({"context": 7, "objTypeName": "ALARM", "objTypeId": 4, "visible": 1})"),
            R"({ "objTypeName" : "ALARM", "visible" : 0, "return" : 0 })");
}

int32_t change_inputs[3];
int32_t changed(OsaCntx*, ClientArea*, void*, int32_t type, uint64_t id, int32_t sub,
                TypedValue* mask) {
  change_inputs[0] = type;
  change_inputs[1] = static_cast<int32_t>(id);
  change_inputs[2] = sub;
  typed_value_store_u64(*mask, 6);
  return 0;
}

TEST_F(ClientMethodsTest, ObjectChangedCheckDefaults) {
  init_context();
  client_handlers().set<kObjectChangedCheck>(changed);
  EXPECT_EQ(call("OSA_Client_ObjectChangedCheck", R"({"context": 7})"),
            R"({ "changeMask" : 6, "return" : 0 })");
  EXPECT_EQ(change_inputs[0], -1);
  EXPECT_EQ(change_inputs[1], 0);
  EXPECT_EQ(change_inputs[2], -1);
  call("OSA_Client_ObjectChangedCheck",
       R"({"context": 7, "objTypeId": 1, "objId": 5, "subObjTypeId": 2})");
  EXPECT_EQ(change_inputs[0], 1);
  EXPECT_EQ(change_inputs[1], 5);
  EXPECT_EQ(change_inputs[2], 2);
}

int32_t g_symtab_mode = 0;
int32_t symtab(OsaCntx*, ClientArea*, void*, uint64_t, const char* kernel, SymTabRecord* s) {
  EXPECT_STREQ(kernel, "vmlinux");
  s->count = 2;
  s->fileName = {"a", "b"};
  s->mask = s->text = s->rodata = s->data = s->bss = s->extra = {1, 2};
  if (g_symtab_mode == 1) {
    s->bss = {1}; // too short
  }
  if (g_symtab_mode >= 2) {
    s->has_named_sections = true;
    s->namedSectionCounts = {1, 0};
    s->namedSectionNames = {{".init"}, {}};
    s->namedSectionOffsets = {{64}, {}};
    if (g_symtab_mode == 3) {
      s->namedSectionOffsets = {{}, {}};
    }
  }
  return 0;
}

TEST_F(ClientMethodsTest, TaskSymTabGetArrays) {
  init_context();
  client_handlers().set<kTaskSymTabGet>(symtab);
  const std::string params = R"({"context": 7, "taskId": 1, "kernelExecName": "vmlinux"})";
  const std::string arrays = R"({ "count" : 2, "fileName" : [ "a", "b" ], "mask" : [ 1, 2 ], )"
                             R"("text" : [ 1, 2 ], "rodata" : [ 1, 2 ], "data" : [ 1, 2 ], )";
  g_symtab_mode = 0;
  EXPECT_EQ(call("OSA_Client_TaskSymTabGet", params),
            arrays + R"("bss" : [ 1, 2 ], "extra" : [ 1, 2 ], "return" : 0 })");
  g_symtab_mode = 1;
  EXPECT_EQ(call("OSA_Client_TaskSymTabGet", params),
            arrays + R"("extra" : [ 1, 2 ], "return" : 1 })");
  g_symtab_mode = 2;
  EXPECT_EQ(call("OSA_Client_TaskSymTabGet", params),
            arrays + R"("bss" : [ 1, 2 ], "extra" : [ 1, 2 ], "namedSectionCounts" : [ 1, 0 ], )"
                     R"("namedSectionNames" : [ [ ".init" ], [  ] ], )"
                     R"("namedSectionOffsets" : [ [ 64 ], [  ] ], "return" : 0 })");
  g_symtab_mode = 3;
  EXPECT_EQ(call("OSA_Client_TaskSymTabGet", params),
            arrays + R"("bss" : [ 1, 2 ], "extra" : [ 1, 2 ], "namedSectionCounts" : [ 1, 0 ], )"
                     R"("return" : 1 })");
}

int32_t g_regions = 0;
int32_t regions(OsaCntx*, ClientArea*, void*, std::vector<KernelMemoryRegion>* out, int32_t* n) {
  out->push_back({1, 2, 3, 4, 5});
  *n = g_regions;
  return 0;
}

TEST_F(ClientMethodsTest, KernelMemoryRegionsGetArrays) {
  init_context();
  client_handlers().set<kKernelMemoryRegionsGet>(regions);
  g_regions = 1;
  EXPECT_EQ(call("OSA_Client_KernelMemoryRegionsGet", R"({"context": 7})"),
            R"({ "numRegions" : 1, "beginArray" : [ 1 ], "physicalBeginArray" : [ 4 ], )"
            R"("endArray" : [ 2 ], "physicalEndArray" : [ 5 ], "attributesArray" : [ 3 ], )"
            R"("return" : 0 })");
  g_regions = 2; // more regions claimed than supplied
  EXPECT_EQ(call("OSA_Client_KernelMemoryRegionsGet", R"({"context": 7})"),
            R"({ "numRegions" : 2, "return" : 1 })");
  g_regions = -1;
  EXPECT_EQ(call("OSA_Client_KernelMemoryRegionsGet", R"({"context": 7})"),
            R"({ "numRegions" : -1, "return" : 0 })");
}

int32_t life_cycle(OsaCntx*, ClientArea*, void*, int32_t, uint64_t, int32_t, uint64_t* count,
                   std::vector<uint64_t>* list) {
  *count = 3;
  *list = {7, 8};
  return 0;
}

TEST_F(ClientMethodsTest, LifeCycleCountShorterThanClaimedFails) {
  init_context();
  client_handlers().set<kLifeCycleCountsGet>(life_cycle);
  EXPECT_EQ(call("OSA_Client_LifeCycleCountsGet", R"({"context": 7})"),
            R"({ "count" : 3, "return" : 1 })");
}

TEST_F(ClientMethodsTest, ExitReportsTheExitCodeAndSetsTheStopFlag) {
  EXPECT_FALSE(process_flags().exit_requested);
  EXPECT_EQ(call("OSA_Client_Exit", R"({"whatever": 1})"), R"({ "exitCode" : 0, "return" : 0 })");
  EXPECT_TRUE(process_flags().exit_requested);
  EXPECT_EQ(call("OSA_Client_Exit", "null"), R"({ "exitCode" : 0, "return" : 0 })");
}

TEST_F(ClientMethodsTest, HistoryLogDumpDumpsAndResizes) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("osa_dump_test_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
  std::filesystem::remove_all(dir);
  log_text(kLogInfo, "marker-event");
  // The path as a JSON string: a Windows path's backslashes must be escaped in it.
  const std::string params = R"({"dirPath": )" +
                             json_to_text(*json_new_string(dir.string().c_str())) +
                             R"(, "bufferSize": 0})";
  EXPECT_EQ(call("OSA_Client_HistoryLogDump", params), R"({ "return" : 0 })");
  EXPECT_TRUE(std::filesystem::exists(dir / "osa_plugin_history_1.log"));
  EXPECT_EQ(log_history_text(), "") << "size 0 keeps nothing";
  EXPECT_EQ(call("OSA_Client_HistoryLogDump", R"({"bufferSize": 1000000})"), R"({ "return" : 0 })");
  EXPECT_EQ(call("OSA_Client_HistoryLogDump", R"({"bufferSize": -5})"), R"({ "return" : 0 })");
  log_text(kLogInfo, "kept");
  EXPECT_NE(log_history_text().find("kept"), std::string::npos) << "a negative size is ignored";
  EXPECT_EQ(call("OSA_Client_HistoryLogDump", "{}"), R"({ "return" : 0 })");
  std::filesystem::remove_all(dir);
}

TEST_F(ClientMethodsTest, CmdInitRunsOnce) {
  install_counter<kPoll>();
  OSA_Client_CmdInit(0, nullptr, nullptr); // must neither re-register nor empty the slots
  EXPECT_TRUE(client_handlers().filled(kPoll));
  EXPECT_NE(jr_service(), nullptr);
  EXPECT_EQ(jr_service()->transport, &ScriptedDebugger::transport);
}

} // namespace
