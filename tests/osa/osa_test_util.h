// Shared fixture of the osa tests: a fresh osa layer on a scripted debugger stand-in, and a
// way to call a method and get its result object's text.
#pragma once

#include "host_link/jsonrpc.h"
#include "host_link/log_facility.h"
#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_write.h"
#include "osa/client_methods.h"
#include "support/scripted_debugger.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class OsaLayerTest : public ::testing::Test {
protected:
  void SetUp() override {
    osa_reset_for_tests();
    log_reset_for_tests();
    debugger = std::make_unique<ScriptedDebugger>();
    OSA_Client_CmdInit(0, nullptr, &ScriptedDebugger::transport);
  }
  void TearDown() override {
    osa_reset_for_tests();
    debugger.reset();
  }

  // The compact text of the result member of the response to method(params), or the whole
  // response when it carries no result.
  static std::string call(const std::string& method, const std::string& params_json) {
    const std::string request = ScriptedDebugger::client_request(method, params_json, 1);
    const char* response = OSA_Client_CmdParser(request.c_str());
    std::string error;
    JsonPtr tree = json_parse(response, error);
    const JsonValue* result = nullptr;
    if (!tree || !json_object_get(tree.get(), "result", &result)) {
      return response;
    }
    return json_to_text(*result);
  }

  // Creates the record of context 7 and returns it.
  static OSA_ServiceCntx* init_context(uint64_t context = 7) {
    call("OSA_Client_OsaInit", "{\"context\": " + std::to_string(context) + "}");
    return context_find(osa_layer_state().contexts, context);
  }

  std::unique_ptr<ScriptedDebugger> debugger;
};
