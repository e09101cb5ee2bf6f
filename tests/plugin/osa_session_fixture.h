// Fixture of the plug-in tests that go through the whole OSA layer: the plug-in's registration
// in a fresh OSA layer, a scripted debugger as the transport (newest script entries first, so
// a later answer replaces an earlier one; message displays always succeed), and calls by
// method name.
//
//   init();                                   // OsaInit and TargetInit of context 1, ARM
//   EXPECT_EQ(command("load_orti " + demo_os()), 0);
//   EXPECT_EQ(ret("OSA_Client_ObjectListInit", R"({"objTypeId":1})"), 0);
#pragma once

#include "host_link/jsonrpc.h"
#include "host_link/log_facility.h"
#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_write.h"
#include "osa/client_methods.h"
#include "plugin/plugin_registration.h"
#include "plugin/plugin_state.h"
#include "runtime/message_output.h"
#include "support/scripted_debugger.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

class OsaSessionTest : public ::testing::Test {
protected:
  void SetUp() override {
    osa_reset_for_tests();
    log_reset_for_tests();
    set_message_sink([](void*, MessageSeverity, const char*) {}, nullptr);
    debugger = std::make_unique<ScriptedDebugger>();
    debugger->prefer_newest(true);
    debugger->on("OSA_Service_MessageDisplay").always();
    osa_set_plugin_registration(plugin_register_handlers);
    OSA_Client_CmdInit(0, nullptr, &ScriptedDebugger::transport);
  }
  void TearDown() override {
    osa_reset_for_tests();
    osa_set_plugin_registration(nullptr);
    reset_message_sink();
    debugger.reset();
  }

  static std::string demo_os() { return std::string(OSA_SOURCE_DIR) + "/examples/demo_os.ort"; }

  // The result object of method(params) with "context": 1 added, as compact text.
  std::string call(const std::string& method, const std::string& params = "{}") {
    std::string with_context = params;
    if (with_context.find("\"context\"") == std::string::npos) {
      with_context =
          with_context == "{}" ? "{\"context\":1}" : "{\"context\":1," + with_context.substr(1);
    }
    const std::string request = ScriptedDebugger::client_request(method, with_context, ++next_id);
    const std::string response = OSA_Client_CmdParser(request.c_str());
    std::string error;
    JsonPtr tree = json_parse(response.c_str(), error);
    const JsonValue* result = nullptr;
    if (!tree || !json_object_get(tree.get(), "result", &result)) {
      return response;
    }
    return json_to_text(*result);
  }
  int64_t ret(const std::string& method, const std::string& params = "{}") {
    const std::string text = call(method, params);
    std::string error;
    JsonPtr tree = json_parse(text.c_str(), error);
    int64_t status = -1;
    json_object_get_integer(tree.get(), "return", &status);
    return status;
  }
  int64_t command(const std::string& line) {
    return ret("OSA_Client_OsaCmd_Execute",
               "{\"command\":" + json_to_text(*json_new_string(line.c_str())) + "}");
  }
  void init(int major = 24, int minor = 0) {
    ASSERT_EQ(ret("OSA_Client_OsaInit"), 0);
    ASSERT_EQ(ret("OSA_Client_TargetInit", "{\"majorCpuType\":" + std::to_string(major) +
                                               ",\"minorCpuType\":" + std::to_string(minor) +
                                               ",\"bigEndianTarget\":0,\"bigEndianHost\":0}"),
              0);
  }

  OSA_ServiceCntx* record() { return context_find(osa_layer_state().contexts, 1); }
  PluginState* state() { return record() != nullptr ? record()->area.plugin_state : nullptr; }

  void answer(const std::string& expression, int64_t number) {
    debugger->answer_value(expression, number);
  }
  std::vector<std::string> messages(int64_t type) const { return debugger->displayed(type); }

  // A file in a folder of the test's own, removed at the end of the test.
  std::string write_file(const std::string& name, const std::string& text) {
    const std::string path = files.file(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  std::unique_ptr<ScriptedDebugger> debugger;
  int64_t next_id = 0;
  TempFolder files{"plugin_session"};
};
