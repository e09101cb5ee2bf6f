// Client calls nested inside a service request: the guard gives the interrupted call its flags
// and links back, and a nested cleanup of the busy record does not pull it away.
#include "osa_test_util.h"

#include "osa/service_requests.h"

namespace {

struct Observed {
  bool user_before = false, user_after = false;
  uint64_t core_before = 0, core_after = 0;
  const JsonValue* params_before = nullptr;
  const JsonValue* params_after = nullptr;
  JsonValue* result_before = nullptr;
  JsonValue* result_after = nullptr;
  uint32_t depth_inside = 0;
  int32_t service_status = -1;
};
Observed g_outer;
uint32_t g_inner_depth = 0;
bool g_inner_user = true;
uint64_t g_inner_core = 0;

int32_t outer_register_read(OsaCntx* ctx, ClientArea*, void*, uint64_t, int32_t, uint64_t* value) {
  g_outer.user_before = target_flag(*ctx, kTargetInUserMode);
  g_outer.core_before = ctx->hostCoreId;
  g_outer.params_before = ctx->current_params;
  g_outer.result_before = ctx->current_result;
  g_outer.depth_inside = osa_layer_state().nesting_depth;
  uint64_t v = 0;
  g_outer.service_status = OSA_Service_RegisterRead(ctx, kNoCore, 3, -1, &v, 0, 0);
  g_outer.user_after = target_flag(*ctx, kTargetInUserMode);
  g_outer.core_after = ctx->hostCoreId;
  g_outer.params_after = ctx->current_params;
  g_outer.result_after = ctx->current_result;
  *value = v;
  return g_outer.service_status;
}

int32_t inner_task_name(OsaCntx* ctx, ClientArea*, void*, uint64_t, TypedValue* value) {
  g_inner_depth = osa_layer_state().nesting_depth;
  g_inner_user = target_flag(*ctx, kTargetInUserMode);
  g_inner_core = ctx->hostCoreId;
  value->text = "inner";
  return 0;
}

class NestingTest : public OsaLayerTest {
protected:
  void SetUp() override {
    OsaLayerTest::SetUp();
    g_outer = Observed{};
    client_handlers().set<kTaskRegisterRead>(outer_register_read);
    client_handlers().set<kTaskNameGet>(inner_task_name);
  }
  static constexpr const char* kOuter =
      R"({"context": 7, "taskId": 1, "register": 3, "inUserMode": 1, "hostCoreId": 3})";
};

TEST_F(NestingTest, SameContextCallRestoresTheInterruptedCallsFlags) {
  OSA_ServiceCntx* ctx = init_context(7);
  debugger->on("OSA_Service_RegisterRead")
      .result(R"({"value": 77, "return": 0})")
      .inject_request(ScriptedDebugger::client_request(
          "OSA_Client_TaskNameGet", R"({"context": 7, "taskId": 2, "hostCoreId": 6})", 40));
  EXPECT_EQ(call("OSA_Client_TaskRegisterRead", kOuter), R"({ "value" : 77, "return" : 0 })");
  ASSERT_EQ(debugger->injected_responses().size(), 1u);
  EXPECT_EQ(debugger->injected_responses()[0],
            R"({ "jsonrpc" : "2.0", "result" : { "name" : "inner", "return" : 0 }, "id" : 40 })");
  EXPECT_EQ(g_outer.depth_inside, 1u);
  EXPECT_EQ(g_inner_depth, 2u);
  EXPECT_FALSE(g_inner_user);
  EXPECT_EQ(g_inner_core, 5u);
  EXPECT_TRUE(g_outer.user_before);
  EXPECT_EQ(g_outer.core_before, 2u);
  EXPECT_EQ(g_outer.user_after, g_outer.user_before);
  EXPECT_EQ(g_outer.core_after, g_outer.core_before);
  EXPECT_EQ(g_outer.params_after, g_outer.params_before);
  EXPECT_EQ(g_outer.result_after, g_outer.result_before);
  EXPECT_EQ(osa_layer_state().nesting_depth, 0u);
  EXPECT_EQ(ctx->current_params, nullptr) << "links must not outlive the call";
  EXPECT_EQ(ctx->previous_params, nullptr);
}

TEST_F(NestingTest, TwoNestedCallsInOneWaitBothRestore) {
  init_context(7);
  debugger->on("OSA_Service_RegisterRead")
      .result(R"({"value": 1, "return": 0})")
      .inject_request(ScriptedDebugger::client_request("OSA_Client_TaskNameGet",
                                                       R"({"context": 7, "taskId": 2})", 41))
      .inject_request(ScriptedDebugger::client_request(
          "OSA_Client_TaskNameGet", R"({"context": 7, "taskId": 3, "inUserMode": 1})", 42));
  call("OSA_Client_TaskRegisterRead", kOuter);
  EXPECT_EQ(debugger->injected_responses().size(), 2u);
  EXPECT_TRUE(g_outer.user_after);
  EXPECT_EQ(g_outer.core_after, 2u);
  EXPECT_EQ(g_outer.params_after, g_outer.params_before);
}

TEST_F(NestingTest, OtherContextCallLeavesTheWaitingRecordAlone) {
  OSA_ServiceCntx* seven = init_context(7);
  OSA_ServiceCntx* eight = init_context(8);
  // Eight served a call earlier: its links must not point at that finished request now.
  call("OSA_Client_TaskNameGet", R"({"context": 8, "taskId": 1})");
  EXPECT_EQ(eight->current_params, nullptr);
  debugger->on("OSA_Service_RegisterRead")
      .result(R"({"value": 2, "return": 0})")
      .inject_request(ScriptedDebugger::client_request(
          "OSA_Client_TaskNameGet", R"({"context": 8, "taskId": 2, "hostCoreId": 9})", 43))
      .inject_request(ScriptedDebugger::client_request(
          "OSA_Client_TaskNameGet", R"({"context": 8, "taskId": 2, "hostCoreId": 9})", 44));
  testing::internal::CaptureStderr();
  call("OSA_Client_TaskRegisterRead", kOuter);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(g_outer.user_after);
  EXPECT_EQ(g_outer.core_after, 2u);
  EXPECT_EQ(seven->hostCoreId, 2u);
  EXPECT_EQ(eight->hostCoreId, 8u);
  EXPECT_EQ(eight->current_params, nullptr);
}

TEST_F(NestingTest, NestedCleanupOfTheBusyRecordKeepsItAliveUntilTheCallEnds) {
  init_context(7);
  debugger->on("OSA_Service_RegisterRead")
      .result(R"({"value": 3, "return": 0})")
      .inject_request(
          ScriptedDebugger::client_request("OSA_Client_OsaCleanup", R"({"context": 7})", 45));
  // The outer handler reads its record after the wait; under the sanitizers a freed record
  // would fail here.
  testing::internal::CaptureStderr();
  EXPECT_EQ(call("OSA_Client_TaskRegisterRead", kOuter), R"({ "value" : 3, "return" : 0 })");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "")
      << "the record that left the list is no different record";
  EXPECT_TRUE(g_outer.user_after);
  EXPECT_EQ(g_outer.core_after, 2u);
  EXPECT_EQ(context_find(osa_layer_state().contexts, 7), nullptr);
  EXPECT_TRUE(osa_layer_state().contexts.retired.empty());
  EXPECT_EQ(call("OSA_Client_TaskNameGet", R"({"context": 7, "taskId": 1})"),
            R"({ "return" : 1 })");
}

TEST_F(NestingTest, RestorationThatFindsAnotherRecordSaysSo) {
  OSA_ServiceCntx* first = init_context(7);
  init_context(7); // a second record of the same context, which lookups reach only later
  OSA_ServiceCntx* second = osa_layer_state().contexts.records.back().get();
  ASSERT_NE(first, second);
  debugger->on("OSA_Service_RegisterRead")
      .result(R"({"value": 4, "return": 0})")
      .inject_request(
          ScriptedDebugger::client_request("OSA_Client_OsaCleanup", R"({"context": 7})", 46));
  testing::internal::CaptureStderr();
  call("OSA_Client_TaskRegisterRead", kOuter);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Got different OSA_ServiceCntx at restoration.\n");
  EXPECT_TRUE(g_outer.user_after);
  EXPECT_EQ(g_outer.core_after, 2u);
  EXPECT_EQ(context_find(osa_layer_state().contexts, 7), second);
}

TEST_F(NestingTest, ServiceRequestWithoutAnswerFailsTheOuterCall) {
  init_context(7);
  debugger->on("OSA_Service_RegisterRead").nothing();
  EXPECT_EQ(call("OSA_Client_TaskRegisterRead", kOuter), R"({ "return" : 1 })");
  EXPECT_EQ(g_outer.service_status, 1);
  EXPECT_EQ(osa_layer_state().nesting_depth, 0u);
}

} // namespace
