// Shared fixture of the command tests: a PluginState with an ORTI text loaded, commands run
// through the OsaCmd_Execute handler as a configuration file replays them (no ClientArea), and
// a scripted debugger that plays a small target image.
//
//   load(kFile);
//   answer("St[0]", 3);                     // ExpressionEval of that text gives 3
//   EXPECT_EQ(run("expr Shared.STATE"), 0);
//   EXPECT_EQ(messages(0).back(), "...");   // the texts shown with messageType 0
//
// Expressions the image does not know are refused, so an unexpected evaluation shows in the
// values and counts a test checks.
#pragma once

#include "awareness/awareness_state.h"
#include "host_link/jsonrpc.h"
#include "host_link/simple_json/json_value.h"
#include "host_link/simple_json/json_write.h"
#include "orti/orti_load.h"
#include "osa/service_context.h"
#include "plugin/command_table.h"
#include "plugin/plugin_state.h"
#include "runtime/message_output.h"
#include "support/in_process_debugger.h"
#include "support/scripted_debugger.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// text as a JSON string.
inline std::string quoted(const std::string& text) {
  return ScriptedDebugger::json_quote(text);
}

class CommandTest : public InProcessDebuggerTest {
protected:
  void load(const std::string& text, const std::string& file_name = "test.ort") {
    OrtiLoadSink sink;
    ASSERT_EQ(orti_load_text(text, file_name, 0, sink, state.orti), OrtiLoadStatus::Loaded);
    attach_model(state, state.orti.model.get());
  }

  int32_t run(const std::string& line) {
    return osa_cmd_execute(&ctx, nullptr, &state, line.c_str());
  }

  void answer(const std::string& expression, int64_t number) {
    debugger->answer_value(expression, number);
  }
  void refuse(const std::string& expression) { debugger->refuse_value(expression); }
  std::size_t asked(const std::string& expression) const { return debugger->asked(expression); }

  // The commands sent with CommandExec, in order.
  std::vector<std::string> commands_run() const {
    return debugger->strings_of("OSA_Service_CommandExec", "command");
  }

  // The texts shown with the message type, in order.
  std::vector<std::string> messages(int64_t type) const { return debugger->displayed(type); }
  // Every text shown, whatever its type.
  std::size_t displays() const { return debugger->count("OSA_Service_MessageDisplay"); }

  PluginState state;
};
