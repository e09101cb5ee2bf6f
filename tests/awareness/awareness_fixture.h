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
#include "support/in_process_debugger.h"
#include "support/scripted_debugger.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class AwarenessTest : public InProcessDebuggerTest {
protected:
  void load(const std::string& text, const RegisterIdTable* table = nullptr,
            int extended_syntax = 0) {
    state.register_table = table;
    OrtiLoadSink sink;
    ASSERT_EQ(orti_load_text(text, "test.ort", extended_syntax, sink, orti),
              OrtiLoadStatus::Loaded);
    attach_model(state, orti.model.get());
  }

  void answer(const std::string& expression, int64_t number) {
    debugger->answer_value(expression, number);
  }
  void answer_text(const std::string& input, const std::string& text) {
    debugger->answer_text(input, text);
  }
  void refuse(const std::string& expression) { debugger->refuse_value(expression); }

  // How many requests of the method carried this expression (or input) text.
  std::size_t asked(const std::string& expression,
                    const std::string& method = "OSA_Service_ExpressionEval") const {
    const char* key = method == "OSA_Service_StringEval" ? "input" : "expression";
    std::size_t n = 0;
    for (const std::string& text : debugger->strings_of(method, key)) {
      n += text == expression ? 1 : 0;
    }
    return n;
  }
  std::size_t evaluations() const { return debugger->count("OSA_Service_ExpressionEval"); }

  // The texts the plug-in showed with the message type, in order.
  std::vector<std::string> messages(int64_t type) const { return debugger->displayed(type); }
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

  LoadedOrti orti;
  AwarenessState state;
};
