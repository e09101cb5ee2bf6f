// The base of the tests that call the awareness runtime or the command table directly: a
// scripted debugger serves the service requests in-process (newest script entries first, so a
// later answer replaces an earlier one; message displays always succeed), with the context
// record the calls go through. The object model's messages to standard error are muted.
#pragma once

#include "host_link/jsonrpc.h"
#include "osa/service_context.h"
#include "runtime/message_output.h"
#include "support/scripted_debugger.h"

#include <gtest/gtest.h>

#include <memory>

class InProcessDebuggerTest : public ::testing::Test {
protected:
  void SetUp() override {
    jsonrpc_reset_for_tests();
    debugger = std::make_unique<ScriptedDebugger>();
    debugger->prefer_newest(true);
    jr_service_create(&ScriptedDebugger::transport);
    ctx.context = 7;
    debugger->on("OSA_Service_MessageDisplay").always();
    set_message_sink([](void*, MessageSeverity, const char*) {}, nullptr);
  }
  void TearDown() override {
    reset_message_sink();
    jsonrpc_reset_for_tests();
    debugger.reset();
  }

  std::unique_ptr<ScriptedDebugger> debugger;
  OSA_ServiceCntx ctx;
};
