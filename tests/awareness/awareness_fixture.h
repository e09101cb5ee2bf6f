// Shared fixture of the awareness tests: an ORTI text loaded into an AwarenessState, and a
// scripted debugger that plays a small target image (expression -> number, print -> text).
//
//   load(kTaskFile);
//   answer("OsTaskState[0]", 3);            // ExpressionEval of that text gives 3
//   answer_text("print /n OsName[0]", "T"); // StringEval
//   refuse("OsBroken");                     // the debugger cannot evaluate it
//   EXPECT_EQ(asked("OsTaskState[0]"), 1u);
//
// A later answer for the same text replaces the earlier one. Expressions that the image does
// not know are refused as well, so a test learns about any evaluation it did not expect
// through the counts.
#pragma once

#include "awareness/attribute_eval.h"
#include "awareness/awareness_state.h"
#include "host_link/jsonrpc.h"
#include "host_link/simple_json/json_value.h"
#include "host_link/simple_json/json_write.h"
#include "orti/orti_load.h"
#include "osa/service_context.h"
#include "runtime/message_output.h"
#include "support/scripted_debugger.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class AwarenessTest : public ::testing::Test {
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

  void load(const std::string& text, const RegisterIdTable* table = nullptr) {
    state.register_table = table;
    OrtiLoadSink sink;
    ASSERT_EQ(orti_load_text(text, "test.ort", 0, sink, orti), OrtiLoadStatus::Loaded);
    attach_model(state, orti.model.get());
  }

  static std::string quoted(const std::string& text) {
    return json_to_text(*json_new_string(text.c_str()));
  }

  void answer(const std::string& expression, int64_t number) {
    debugger->on("OSA_Service_ExpressionEval", "{\"expression\": " + quoted(expression) + "}")
        .result("{\"output\": " + std::to_string(number) + ", \"return\": 0}")
        .always();
  }
  void answer_text(const std::string& input, const std::string& text) {
    debugger->on("OSA_Service_StringEval", "{\"input\": " + quoted(input) + "}")
        .result("{\"value\": " + quoted(text) + ", \"return\": 0}")
        .always();
  }
  void refuse(const std::string& expression) {
    debugger->on("OSA_Service_ExpressionEval", "{\"expression\": " + quoted(expression) + "}")
        .result("{\"return\": 1}")
        .always();
  }

  // How many requests of the method carried this expression (or input) text.
  std::size_t asked(const std::string& expression,
                    const std::string& method = "OSA_Service_ExpressionEval") const {
    std::size_t n = 0;
    const char* key = method == "OSA_Service_StringEval" ? "input" : "expression";
    for (const ReceivedRequest* r : debugger->requests_of(method)) {
      const char* text = nullptr;
      if (json_object_get_string(r->params.get(), key, &text) && expression == text) {
        ++n;
      }
    }
    return n;
  }
  std::size_t evaluations() const { return debugger->count("OSA_Service_ExpressionEval"); }

  // The texts the plug-in showed with the message type, in order.
  std::vector<std::string> messages(int64_t type) const {
    std::vector<std::string> out;
    for (const ReceivedRequest* r : debugger->requests_of("OSA_Service_MessageDisplay")) {
      int64_t t = -1;
      const char* text = nullptr;
      if (json_object_get_integer(r->params.get(), "messageType", &t) && t == type &&
          json_object_get_string(r->params.get(), "message", &text)) {
        out.emplace_back(text);
      }
    }
    return out;
  }
  bool traced(const std::string& text) const {
    for (const std::string& m : messages(4)) {
      if (m == text) {
        return true;
      }
    }
    return false;
  }

  TypedValue read(AttributeDecl* attr, uint32_t code, const OrtiObject* list_context = nullptr,
                  int32_t* status = nullptr) {
    TypedValue v = typed_value_of(code);
    const int32_t s = get_attribute_value(state, &ctx, attr, &v, list_context);
    if (status != nullptr) {
      *status = s;
    }
    return v;
  }

  std::unique_ptr<ScriptedDebugger> debugger;
  OSA_ServiceCntx ctx;
  LoadedOrti orti;
  AwarenessState state;
};
