// The service request wrappers against the scripted debugger: exact parameters, outputs,
// conversions, and what a failing debugger gives.
#include "osa_test_util.h"

#include "osa/service_requests.h"

#include "host_link/simple_json/json_write.h"

#include <cmath>
#include <cstdint>
#include <functional>

namespace {

class ServiceRequestsTest : public OsaLayerTest {
protected:
  void SetUp() override {
    OsaLayerTest::SetUp();
    ctx = init_context(7);
    ASSERT_NE(ctx, nullptr);
  }
  // The params text of the only request sent.
  std::string sent() {
    EXPECT_EQ(debugger->requests().size(), 1u);
    return debugger->requests().empty() ? std::string() : debugger->requests().back().params_text;
  }
  void answer(const char* method, const char* result) { debugger->on(method).result(result); }

  OSA_ServiceCntx* ctx = nullptr;
};

TEST_F(ServiceRequestsTest, RegisterReadParametersCoreAndTask) {
  answer("OSA_Service_RegisterRead", R"({"value": 12, "return": 0})");
  uint64_t value = 0;
  EXPECT_EQ(OSA_Service_RegisterRead(ctx, kNoCore, 5, -1, &value, 0, 0), 0);
  EXPECT_EQ(value, 12u);
  EXPECT_EQ(sent(), R"({ "context" : 7, "register" : 5, "width" : -1, "fromDebugger" : 0 })");
  debugger->clear_record();
  answer("OSA_Service_RegisterRead", R"({"return": 0})");
  value = 99;
  EXPECT_EQ(OSA_Service_RegisterRead(ctx, 0, 5, 4, &value, 1, 33), 0);
  EXPECT_EQ(value, 99u) << "an absent value is no error and leaves the output";
  EXPECT_EQ(sent(), R"({ "context" : 7, "register" : 5, "width" : 4, "fromDebugger" : 1, )"
                    R"("coreId" : 1, "taskId" : 33 })");
  EXPECT_EQ(osa_plugin_time_category().depth, 0u);
  EXPECT_NE(log_history_text().find("OsaPluginTime begin[1] RegRead(5)"), std::string::npos);
}

TEST_F(ServiceRequestsTest, RegisterWriteAndThreadRegisters) {
  answer("OSA_Service_RegisterWrite", R"({"return": 0})");
  EXPECT_EQ(OSA_Service_RegisterWrite(ctx, 2, 6, -1, 0xFFFFFFFFFFFFFFFFull, 1, 0, 4), 0);
  EXPECT_EQ(sent(), R"({ "context" : 7, "register" : 6, "width" : -1, "forMemoryAccess" : 1, )"
                    R"("fromDebugger" : 0, "value" : -1, "coreId" : 3, "taskId" : 4 })");
  debugger->clear_record();
  answer("OSA_Service_ThreadRegisterRead", R"({"return": 0})");
  uint64_t value = 0;
  EXPECT_EQ(OSA_Service_ThreadRegisterRead(ctx, 9, 1, &value, kNoCore), 1) << "value required";
  EXPECT_EQ(sent(), R"({ "context" : 7, "threadId" : 9, "register" : 1 })");
  debugger->clear_record();
  answer("OSA_Service_ThreadRegisterWrite", R"({"return": 3})");
  EXPECT_EQ(OSA_Service_ThreadRegisterWrite(ctx, 9, 1, 2, 0), 3);
  EXPECT_EQ(sent(),
            R"({ "context" : 7, "threadId" : 9, "register" : 1, "value" : 2, "coreId" : 1 })");
}

TEST_F(ServiceRequestsTest, MemoryReadSendsAByteCountAndChecksTheDigits) {
  uint8_t buffer[8] = {};
  answer("OSA_Service_MemoryRead", R"({"value": "0102030405060708", "return": 0})");
  EXPECT_EQ(OSA_Service_MemoryRead(ctx, -1, 0x1000, 2, 4, buffer, 0, kNoCore), 0);
  EXPECT_EQ(sent(), R"({ "context" : 7, "memorySpace" : -1, "address" : 4096, "count" : 8 })");
  EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 8),
            (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));

  const struct {
    const char* value;
    int32_t status;
  } bad[] = {{"010203040506070", 1},   // 15 digits
             {"01020304050607080", 1}, // 17
             {"0102030405060g08", 1},  // not a digit
             {"01 2030405060708", 1}};
  for (const auto& b : bad) {
    debugger->clear_script();
    debugger->on("OSA_Service_MemoryRead")
        .result(std::string(R"({"value": ")") + b.value + R"(", "return": 0})");
    EXPECT_EQ(OSA_Service_MemoryRead(ctx, 0, 0, 2, 4, buffer, 0, kNoCore), b.status) << b.value;
  }
  debugger->clear_script();
  answer("OSA_Service_MemoryRead", R"({"value": "ABcdEF01", "return": 0})");
  EXPECT_EQ(OSA_Service_MemoryRead(ctx, 0, 0, 4, 1, buffer, 5, 1), 0);
  EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 4), (std::vector<uint8_t>{0xAB, 0xCD, 0xEF, 1}));
  EXPECT_NE(debugger->requests().back().params_text.find(R"("taskId" : 5, "coreId" : 2 })"),
            std::string::npos);
}

TEST_F(ServiceRequestsTest, MemoryReadReversesElementsWhenByteOrdersDiffer) {
  set_target_flag(*ctx, kTargetBigEndianTarget, true);
  const struct {
    uint64_t count, size;
    std::vector<uint8_t> expected;
  } cases[] = {{2, 4, {4, 3, 2, 1, 8, 7, 6, 5}},
               {4, 2, {2, 1, 4, 3, 6, 5, 8, 7}},
               {1, 8, {8, 7, 6, 5, 4, 3, 2, 1}},
               {8, 1, {1, 2, 3, 4, 5, 6, 7, 8}}};
  for (const auto& c : cases) {
    debugger->clear_script();
    answer("OSA_Service_MemoryRead", R"({"value": "0102030405060708", "return": 0})");
    uint8_t buffer[8] = {};
    EXPECT_EQ(OSA_Service_MemoryRead(ctx, 0, 0, c.count, c.size, buffer, 0, kNoCore), 0);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 8), c.expected) << c.size;
  }
  set_target_flag(*ctx, kTargetBigEndianHost, true); // equal again: no reversal
  debugger->clear_script();
  answer("OSA_Service_MemoryRead", R"({"value": "0102030405060708", "return": 0})");
  uint8_t buffer[8] = {};
  EXPECT_EQ(OSA_Service_MemoryRead(ctx, 0, 0, 2, 4, buffer, 0, kNoCore), 0);
  EXPECT_EQ(buffer[0], 1);
}

TEST_F(ServiceRequestsTest, MemoryReadRejectsAByteCountThatOverflows) {
  uint8_t buffer[1];
  EXPECT_EQ(OSA_Service_MemoryRead(ctx, 0, 0, 1ull << 62, 4, buffer, 0, kNoCore), 1);
  EXPECT_TRUE(debugger->requests().empty());
}

TEST_F(ServiceRequestsTest, MemoryWriteEncodesLowerCaseHex) {
  answer("OSA_Service_MemoryWrite", R"({"return": 0})");
  const uint8_t data[] = {0xAB, 0x01};
  EXPECT_EQ(OSA_Service_MemoryWrite(ctx, 3, 16, 2, 1, data, kNoCore), 0);
  EXPECT_EQ(sent(), R"({ "context" : 7, "memorySpace" : 3, "address" : 16, "count" : 2, )"
                    R"("value" : "ab01" })");
  debugger->clear_record();
  set_target_flag(*ctx, kTargetBigEndianHost, true);
  const uint8_t words[] = {1, 2, 3, 4, 0xA, 0xB, 0xC, 0xD};
  answer("OSA_Service_MemoryWrite", R"({"return": 0})");
  EXPECT_EQ(OSA_Service_MemoryWrite(ctx, 0, 0, 2, 4, words, 0), 0);
  EXPECT_EQ(sent(), R"({ "context" : 7, "memorySpace" : 0, "address" : 0, "count" : 8, )"
                    R"("value" : "040302010d0c0b0a", "coreId" : 1 })");
  EXPECT_EQ(words[0], 1) << "the caller's data stay as they were";
}

TEST_F(ServiceRequestsTest, MemoryPreFetchSendsEveryArgument) {
  answer("OSA_Service_MemoryPreFetch", R"({"return": 0})");
  EXPECT_EQ(OSA_Service_MemoryPreFetch(ctx, 1, 2, 3, 4, 5, kNoCore), 0);
  EXPECT_EQ(sent(), R"({ "context" : 7, "memorySpace" : 1, "address" : 2, "count" : 3, )"
                    R"("size" : 4, "stride" : 5 })");
}

TEST_F(ServiceRequestsTest, ExpressionEvalConvertsByValueCode) {
  const struct {
    uint32_t code;
    const char* output;
    int32_t status;
    int64_t as_i64;
  } cases[] = {
      {kValueInt8, "255", 0, -1},
      {kValueUInt8, "511", 0, 255},
      {kValueInt16, "65535", 0, -1},
      {kValueUInt16, "65535", 0, 65535},
      {kValueInt32, "-1", 0, -1},
      {kValueUInt32, "-1", 0, 0xFFFFFFFF},
      {kValueAddress, "4096", 0, 4096},
      {kValueInt64, "-5", 0, -5},
      {kValueUInt64, "7", 0, 7},
      {kValueInt32, "\"7\"", 1, 0},
      {kValueText, "\"abc\"", 0, 0},
      {kValueText, "5", 1, 0},
      {kValueDouble, "\"1.5\"", 0, 1},
      {kValueDouble, "\"\"", 1, 0},
      {kValueDouble, "\"abc\"", 1, 0},
      {kValueDouble, "15", 1, 0},
      {kValueFloat, "\"2.25\"", 0, 2},
      {kValueFloat, "\"\"", 1, 0},
      {12, "5", 1, 0},
  };
  for (const auto& c : cases) {
    debugger->clear_script();
    debugger->clear_record();
    debugger->on("OSA_Service_ExpressionEval")
        .result(std::string(R"({"output": )") + c.output + R"(, "return": 0})");
    TypedValue value = typed_value_of(c.code);
    EXPECT_EQ(OSA_Service_ExpressionEval(ctx, "x+1", &value, 2, 0), c.status)
        << c.code << " " << c.output;
    EXPECT_EQ(sent(), R"({ "context" : 7, "expression" : "x+1", "valueType" : 11, )"
                      R"("searchFlag" : 2, "coreId" : 1 })");
    if (c.status == 0) {
      EXPECT_EQ(typed_value_as_i64(value), c.as_i64) << c.code << " " << c.output;
    }
  }
  debugger->clear_script();
  answer("OSA_Service_ExpressionEval", R"({"output": "1.5", "return": 0})");
  TypedValue d = typed_value_of(kValueDouble);
  ASSERT_EQ(OSA_Service_ExpressionEval(ctx, "f", &d), 0);
  EXPECT_DOUBLE_EQ(typed_value_as_double(d), 1.5);
  answer("OSA_Service_ExpressionEval", R"({"output": "abc", "return": 0})");
  TypedValue t = typed_value_of(kValueText);
  ASSERT_EQ(OSA_Service_ExpressionEval(ctx, "s", &t), 0);
  EXPECT_EQ(t.text, "abc");
  answer("OSA_Service_ExpressionEval", R"({"output": 1, "return": 4})");
  TypedValue n = typed_value_of(kValueUInt64);
  EXPECT_EQ(OSA_Service_ExpressionEval(ctx, "s", &n), 4);
  answer("OSA_Service_ExpressionEval", R"({"return": 0})");
  EXPECT_EQ(OSA_Service_ExpressionEval(ctx, "s", &n), 1) << "missing output";
}

TEST_F(ServiceRequestsTest, TextRequests) {
  answer("OSA_Service_StringEval", R"({"value": "Task1", "return": 0})");
  std::string text;
  EXPECT_EQ(OSA_Service_StringEval(ctx, "name", &text), 0);
  EXPECT_EQ(text, "Task1");
  EXPECT_EQ(sent(), R"({ "context" : 7, "input" : "name" })");
  debugger->clear_record();
  answer("OSA_Service_StringEval", R"({"return": 0})");
  EXPECT_EQ(OSA_Service_StringEval(ctx, "name", nullptr), 1) << "value is required";
  debugger->clear_record();

  ctx->allowBpOps = 1;
  answer("OSA_Service_CommandExec", R"({"output": "done", "return": 0})");
  EXPECT_EQ(OSA_Service_CommandExec(ctx, "go", 1, &text, 3, 1), 0);
  EXPECT_EQ(text, "done");
  EXPECT_EQ(sent(), R"({ "context" : 7, "command" : "go", "outputMask" : 1, "allowBpOps" : 1, )"
                    R"("searchFlag" : 3, "coreId" : 2 })");
  debugger->clear_record();
  answer("OSA_Service_CommandExec", R"({"return": 0})");
  EXPECT_EQ(OSA_Service_CommandExec(ctx, "go", 0, nullptr), 0) << "output not wanted";
  EXPECT_EQ(sent(), R"({ "context" : 7, "command" : "go", "outputMask" : 0, "allowBpOps" : 1, )"
                    R"("searchFlag" : 0 })");
  debugger->clear_record();
  answer("OSA_Service_CommandExec", R"({"return": 0})");
  EXPECT_EQ(OSA_Service_CommandExec(ctx, "go", 0, &text), 1) << "output wanted but missing";
  debugger->clear_record();

  answer("OSA_Service_SymbolFromAddress", R"({"name": "main", "return": 0})");
  EXPECT_EQ(OSA_Service_SymbolFromAddress(ctx, 0x40, 2, &text), 0);
  EXPECT_EQ(text, "main");
  EXPECT_EQ(sent(), R"({ "context" : 7, "address" : 64, "symbolType" : 2 })");
  debugger->clear_record();

  answer("OSA_Service_ConfigFileSearch", R"({"filePath": "/x/y.orti", "return": 0})");
  EXPECT_EQ(OSA_Service_ConfigFileSearch(ctx, "y.orti", 4, 0, &text), 0);
  EXPECT_EQ(text, "/x/y.orti");
  EXPECT_EQ(sent(), R"({ "context" : 7, "fileName" : "y.orti", "permission" : 4, )"
                    R"("onlySearchDistDir" : 0 })");
}

TEST_F(ServiceRequestsTest, SymbolAndTypeQueries) {
  answer("OSA_Service_SymbolLookup",
         R"({"address": 4096, "storageClass": 4294967298, "return": 0})");
  uint64_t address = 0;
  uint32_t storage = 0;
  EXPECT_EQ(OSA_Service_SymbolLookup(ctx, "main", &address, &storage), 0);
  EXPECT_EQ(address, 4096u);
  EXPECT_EQ(storage, 2u);
  EXPECT_EQ(sent(), R"({ "context" : 7, "name" : "main" })");
  debugger->clear_record();

  answer("OSA_Service_StructFieldSearch", R"({"byteOffset": 8, "return": 0})");
  int32_t offset = 0, width = 5, bit_offset = 0, bit_width = 0;
  EXPECT_EQ(
      OSA_Service_StructFieldSearch(ctx, "TCB", "next", 1, &offset, nullptr, nullptr, nullptr), 0)
      << "only the byte offset wanted";
  EXPECT_EQ(offset, 8);
  EXPECT_EQ(sent(), R"({ "context" : 7, "structName" : "TCB", "fieldName" : "next", )"
                    R"("useOsaSym" : 1 })");
  debugger->clear_record();
  answer("OSA_Service_StructFieldSearch", R"({"byteOffset": 8, "return": 0})");
  EXPECT_EQ(OSA_Service_StructFieldSearch(ctx, "TCB", "next", 0, &offset, &width, &bit_offset,
                                          &bit_width),
            1);
  EXPECT_EQ(width, -1) << "set to -1 before it is read";
  debugger->clear_record();

  answer("OSA_Service_EnumValueGet", R"({"value": -3, "return": 0})");
  int64_t enum_value = 0;
  EXPECT_EQ(OSA_Service_EnumValueGet(ctx, "STATE", "READY", 0, &enum_value, 4), 0);
  EXPECT_EQ(enum_value, -3);
  EXPECT_EQ(sent(), R"({ "context" : 7, "enumName" : "STATE", "enumMemberName" : "READY", )"
                    R"("useOsaSym" : 0, "coreId" : 5 })");
  debugger->clear_record();

  answer("OSA_Service_StructSizeGet", R"({"value": 24, "return": 0})");
  int32_t size = 0;
  EXPECT_EQ(OSA_Service_StructSizeGet(ctx, "TCB", 1, &size), 0);
  EXPECT_EQ(size, 24);
  EXPECT_EQ(sent(), R"({ "context" : 7, "name" : "TCB", "useOsaSym" : 1 })");
  debugger->clear_record();

  answer("OSA_Service_TargetStatus", R"({"status": 2, "return": 0})");
  int32_t status = 0;
  EXPECT_EQ(OSA_Service_TargetStatus(ctx, &status), 0);
  EXPECT_EQ(status, 2);
  EXPECT_EQ(sent(), R"({ "context" : 7 })");
}

TEST_F(ServiceRequestsTest, MacroGetIntoTextAndValues) {
  const struct {
    uint32_t code;
    const char* macro;
    int32_t status;
    int64_t as_i64;
  } cases[] = {{kValueUInt32, "0x10", 0, 16}, {kValueUInt8, "0x1FF", 0, 255},
               {kValueUInt64, "010", 0, 8},   {kValueInt32, "12u", 0, 12},
               {kValueUInt32, "abc", 1, 0},   {kValueUInt32, "", 1, 0}};
  for (const auto& c : cases) {
    debugger->clear_script();
    debugger->on("OSA_Service_MacroGet")
        .result(std::string(R"({"value": ")") + c.macro + R"(", "return": 0})");
    TypedValue value = typed_value_of(c.code);
    EXPECT_EQ(osa_macro_get_value(ctx, "MAX", 1, &value), c.status) << c.macro;
    if (c.status == 0) {
      EXPECT_EQ(typed_value_as_i64(value), c.as_i64) << c.macro;
    }
  }
  EXPECT_EQ(debugger->requests().back().params_text,
            R"({ "context" : 7, "macroName" : "MAX", "useOsaSym" : 1 })");
  debugger->clear_script();
  answer("OSA_Service_MacroGet", R"({"value": "0x10", "return": 0})");
  TypedValue text = typed_value_of(kValueText);
  EXPECT_EQ(osa_macro_get_value(ctx, "MAX", 0, &text), 0);
  EXPECT_EQ(text.text, "0x10");
}

TEST_F(ServiceRequestsTest, MessageDisplayFormatsAndANullFormatSendsNothing) {
  answer("OSA_Service_MessageDisplay", R"({"return": 0})");
  EXPECT_EQ(OSA_Service_MessageDisplay(ctx, 2, "%s has %d tasks\n", "OS", 3), 0);
  EXPECT_EQ(sent(), R"({ "context" : 7, "messageType" : 2, "message" : "OS has 3 tasks\n" })");
  debugger->clear_record();
  const char* no_format = nullptr;
  // A null format on purpose: the callee must cope with it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-security"
  EXPECT_EQ(OSA_Service_MessageDisplay(ctx, 2, no_format), 0);
#pragma GCC diagnostic pop
  EXPECT_TRUE(debugger->requests().empty());
}

// A message's request is written without a parameter tree: its text must be the one the tree
// gives, whatever the text's length (the writer's short and long paths, and the word-wise scan
// at each end) and bytes, and whatever the context and type.
TEST_F(ServiceRequestsTest, MessageRequestTextIsTheTreesText) {
  const std::string long_plain(200, 'x');
  std::string all_bytes;
  for (int b = 1; b < 256; ++b) {
    all_bytes += static_cast<char>(b);
  }
  const std::string messages[] = {
      "",
      "a",
      "1234567",
      "12345678",
      "123456789",
      "tab\there \"quoted\" back\\slash\n",
      "\x7f\x80\xff at the start",
      std::string(63, 'y') + "\"",
      std::string(64, 'y') + "\x01",
      long_plain,
      long_plain + "\r\n",
      all_bytes,
      std::string("before\0after", 12),
  };
  const struct {
    uint64_t context;
    int32_t type;
  } contexts[] = {{7, 2}, {0, 0}, {UINT64_MAX, INT32_MIN}, {1ull << 63, INT32_MAX}};
  for (const auto& c : contexts) {
    ctx->context = c.context;
    for (const std::string& message : messages) {
      JsonPtr tree = json_new_object();
      json_object_add_integer(tree.get(), "context", static_cast<int64_t>(c.context));
      json_object_add_int32(tree.get(), "messageType", c.type);
      json_object_add_string(tree.get(), "message", message.c_str());
      const std::string expected = json_to_text(*tree);
      for (int way = 0; way < 2; ++way) {
        debugger->clear_record();
        debugger->on("OSA_Service_MessageDisplay").result(R"({"return": 4})");
        const int32_t status = way == 0
                                   ? osa_message_display_text(ctx, c.type, message.c_str())
                                   : OSA_Service_MessageDisplay(ctx, c.type, "%s", message.c_str());
        EXPECT_EQ(status, 4);
        ASSERT_EQ(debugger->requests().size(), 1u);
        const std::string& text = debugger->requests()[0].text;
        const std::string head =
            R"({ "jsonrpc" : "2.0", "method" : "OSA_Service_MessageDisplay", "params" : )";
        ASSERT_EQ(text.compare(0, head.size(), head), 0) << text;
        const std::size_t id = text.rfind(", \"id\" : ");
        ASSERT_NE(id, std::string::npos) << text;
        EXPECT_EQ(text.substr(head.size(), id - head.size()), expected)
            << "context " << c.context << " way " << way << " message " << message;
      }
    }
  }
}

// The failures of the exchange are in the wrappers' table below; these are the text's own.
TEST_F(ServiceRequestsTest, MessageTextNullAndHeldBack) {
  const char* no_text = nullptr;
  EXPECT_EQ(osa_message_display_text(ctx, 2, no_text), 0);
  EXPECT_EQ(osa_message_display_text(nullptr, 2, "x"), 1);
  EXPECT_TRUE(debugger->requests().empty());
  // Held back while a caller collects the messages: nothing is sent.
  std::vector<HeldMessage> held;
  ctx->held_messages = &held;
  ctx->held_depth = ctx->calls_in_progress;
  EXPECT_EQ(osa_message_display_text(ctx, 5, "kept"), 0);
  ctx->held_messages = nullptr;
  EXPECT_TRUE(debugger->requests().empty());
  ASSERT_EQ(held.size(), 1u);
  EXPECT_EQ(held[0].type, 5);
  EXPECT_EQ(held[0].text, "kept");
}

TEST_F(ServiceRequestsTest, YesNoChooseWritesTheChoiceBack) {
  answer("OSA_Service_YesNoChoose", R"({"choice": 0, "return": 0})");
  int32_t choice = 1;
  EXPECT_EQ(OSA_Service_YesNoChoose(ctx, &choice, "Reload %s?", "a.orti"), 0);
  EXPECT_EQ(choice, 0);
  EXPECT_EQ(sent(), R"({ "context" : 7, "default" : 1, "message" : "Reload a.orti?" })");
  debugger->clear_record();
  answer("OSA_Service_YesNoChoose", R"({"return": 0})");
  choice = 1;
  EXPECT_EQ(OSA_Service_YesNoChoose(ctx, &choice, "again"), 1);
  EXPECT_EQ(choice, 1);
}

TEST_F(ServiceRequestsTest, FormattedEvaluation) {
  answer("OSA_Service_StringEval", R"({"value": "0x10 <tcb>", "return": 0})");
  TypedValue text = typed_value_of(kValueText);
  EXPECT_EQ(osa_eval_formatted(ctx, &text, "tcb[%d]%s", 2, "%x"), 0);
  EXPECT_EQ(text.text, "0x10 <tcb>");
  EXPECT_EQ(sent(), R"({ "context" : 7, "input" : "print /a tcb[2]%x+0" })");
  debugger->clear_record();
  answer("OSA_Service_ExpressionEval", R"({"output": 5, "return": 0})");
  TypedValue number = typed_value_of(kValueUInt32);
  EXPECT_EQ(osa_eval_formatted(ctx, &number, "a.%s", "b"), 0);
  EXPECT_EQ(typed_value_as_i64(number), 5);
  EXPECT_EQ(sent(),
            R"({ "context" : 7, "expression" : "a.b", "valueType" : 11, "searchFlag" : 0 })");
  debugger->clear_record();
  answer("OSA_Service_ExpressionEval", R"({"output": 5, "return": 0})");
  const std::string huge(5000, 'v');
  EXPECT_EQ(osa_eval_formatted(ctx, &number, "%s", huge.c_str()), 0);
  EXPECT_NE(sent().find(std::string(2048, 'v') + "\""), std::string::npos);
  EXPECT_EQ(sent().find(std::string(2049, 'v')), std::string::npos);
}

TEST_F(ServiceRequestsTest, UserModeQueryAndCpuModeCache) {
  set_target_flag(*ctx, kTargetInUserMode, true);
  EXPECT_TRUE(osa_core_in_user_mode(ctx, kNoCore));
  EXPECT_TRUE(osa_core_in_user_mode(ctx, 2)) << "unifiedMcOsa off: the record's flag";
  EXPECT_TRUE(debugger->requests().empty());
  ctx->unifiedMcOsa = 1;
  cpu_mode_cache_store(ctx->cpu_modes, 1, 0);
  EXPECT_FALSE(osa_core_in_user_mode(ctx, 1));
  answer("OSA_Service_CpuModeGet", R"({"inUserMode": 1, "return": 0})");
  EXPECT_TRUE(osa_core_in_user_mode(ctx, 2));
  EXPECT_EQ(sent(), R"({ "context" : 7, "coreId" : 3 })");
  EXPECT_TRUE(osa_core_in_user_mode(ctx, 2));
  EXPECT_EQ(debugger->count("OSA_Service_CpuModeGet"), 1u) << "answered from the cache";
  debugger->on("OSA_Service_CpuModeGet").error(-32000, "no");
  EXPECT_FALSE(osa_core_in_user_mode(ctx, 3));
  EXPECT_EQ(debugger->count("OSA_Service_MessageDisplay"), 0u);
  set_target_flag(*ctx, kTargetLogCommunication, true);
  debugger->on("OSA_Service_CpuModeGet").nothing();
  answer("OSA_Service_MessageDisplay", R"({"return": 0})");
  EXPECT_FALSE(osa_core_in_user_mode(ctx, 3));
  ASSERT_EQ(debugger->count("OSA_Service_MessageDisplay"), 1u);
  EXPECT_EQ(debugger->requests_of("OSA_Service_MessageDisplay")[0]->params_text,
            R"({ "context" : 7, "messageType" : 2, "message" : "OSA plugin: Failed to find )"
            R"(CPU mode information for core 3 (0-based).\n" })");
  EXPECT_EQ(cpu_mode_cache_find(ctx->cpu_modes, 3), nullptr);
}

TEST_F(ServiceRequestsTest, HostVersionFromTargetInitOrAskedOnce) {
  ctx->tarnoMajor = 8;
  ctx->tarnoMinor = 2;
  int32_t major = 0, minor = 0, micro = 0;
  EXPECT_TRUE(osa_host_version(ctx, &major, &minor, &micro));
  EXPECT_EQ(major, 8);
  EXPECT_EQ(minor, 2);
  EXPECT_TRUE(debugger->requests().empty());
  ctx->tarnoMajor = 0;
  debugger
      ->on("OSA_Service_CommandExec", R"j({"command": "mprintf(\"%d\", _TARNO_MAJOR_VERSION)"})j")
      .result(R"({"output": "0x7", "return": 0})");
  debugger
      ->on("OSA_Service_CommandExec", R"j({"command": "mprintf(\"%d\", _TARNO_MINOR_VERSION)"})j")
      .result(R"({"output": "3", "return": 0})");
  debugger
      ->on("OSA_Service_CommandExec", R"j({"command": "mprintf(\"%d\", _TARNO_MICRO_VERSION)"})j")
      .result(R"({"output": "1", "return": 0})");
  EXPECT_TRUE(osa_host_version(ctx, &major, &minor, &micro));
  EXPECT_EQ(major, 7);
  EXPECT_EQ(minor, 3);
  EXPECT_EQ(micro, 1);
  EXPECT_EQ(debugger->requests()[0].params_text,
            R"j({ "context" : 7, "command" : "mprintf(\"%d\", _TARNO_MAJOR_VERSION)", )j"
            R"("outputMask" : 1, "allowBpOps" : 0, "searchFlag" : 0 })");
  EXPECT_TRUE(osa_host_version(ctx, &major, nullptr, nullptr));
  EXPECT_EQ(debugger->count("OSA_Service_CommandExec"), 3u) << "kept in the record";
}

TEST_F(ServiceRequestsTest, DebugModeRules) {
  ctx->debugMode = 0;
  EXPECT_EQ(osa_debug_mode(ctx), 0);
  EXPECT_TRUE(debugger->requests().empty());
  const struct {
    int32_t major;
    const char* r;
    const char* t;
    const char* d; // null: not asked
    int32_t mode;
  } cases[] = {{6, "1", "5", nullptr, 1}, {6, "0", "5", nullptr, 0}, {6, "1", "4", nullptr, 0},
               {7, "0", "5", "1", 1},     {7, "0", "5", "0", 0},     {6, "1x", "5", nullptr, -1},
               {7, "1", "5", "", -1}};
  for (const auto& c : cases) {
    debugger->clear_script();
    debugger->clear_record();
    ctx->debugMode = -1;
    ctx->tarnoMajor = c.major;
    debugger->on("OSA_Service_CommandExec", R"j({"command": "mprintf(\"%d\", $_RTSERV_VER)"})j")
        .result(std::string(R"({"output": ")") + c.r + R"(", "return": 0})");
    debugger->on("OSA_Service_CommandExec", R"j({"command": "mprintf(\"%d\", $_TARGET_OS)"})j")
        .result(std::string(R"({"output": ")") + c.t + R"(", "return": 0})");
    if (c.d != nullptr) {
      debugger
          ->on("OSA_Service_CommandExec", R"j({"command": "mprintf(\"%d\", $_IS_SYSTEM_DUMP)"})j")
          .result(std::string(R"({"output": ")") + c.d + R"(", "return": 0})");
    }
    EXPECT_EQ(osa_debug_mode(ctx), c.mode) << c.major << " " << c.r << " " << c.t;
    EXPECT_EQ(ctx->debugMode, c.mode) << "a failure stores nothing (-1)";
    EXPECT_EQ(debugger->unscripted_count(), 0u) << c.major << " " << c.r;
  }
}

// Every wrapper gives 1 when the debugger answers with an error, garbage, a non-object result
// or nothing at all.
TEST_F(ServiceRequestsTest, FailedExchangesGiveStatusOne) {
  const std::vector<std::function<void(ScriptEntry&)>> failures = {
      [](ScriptEntry& e) { e.error(-32000, "refused"); },
      [](ScriptEntry& e) { e.garbage("}{ not json"); },
      [](ScriptEntry& e) { e.result("[1, 2]"); },
      [](ScriptEntry& e) { e.result("5"); },
      [](ScriptEntry& e) { e.nothing(); },
      [](ScriptEntry& e) { e.result(R"({"value": 1, "output": 1, "status": 1})"); }, // no return
      [](ScriptEntry& e) {
        e.garbage(R"({"jsonrpc":"2.0","error":{"code":1,"message":"m"},"result":{"return":0}})");
      },
  };
  uint64_t u64 = 0;
  uint32_t u32 = 0;
  int32_t i32 = 0;
  int64_t i64 = 0;
  uint8_t bytes[4] = {};
  std::string text;
  const std::vector<std::function<int32_t()>> wrappers = {
      [&] { return OSA_Service_RegisterRead(ctx, 0, 1, -1, &u64, 0, 0); },
      [&] { return OSA_Service_RegisterWrite(ctx, 0, 1, -1, 2, 0, 0, 0); },
      [&] { return OSA_Service_ThreadRegisterRead(ctx, 1, 1, &u64, kNoCore); },
      [&] { return OSA_Service_ThreadRegisterWrite(ctx, 1, 1, 1, kNoCore); },
      [&] { return OSA_Service_MemoryRead(ctx, 0, 0, 1, 1, bytes, 0, kNoCore); },
      [&] { return OSA_Service_MemoryWrite(ctx, 0, 0, 1, 1, bytes, kNoCore); },
      [&] { return OSA_Service_MemoryPreFetch(ctx, 0, 0, 1, 1, 1, kNoCore); },
      [&] {
        TypedValue v;
        return OSA_Service_ExpressionEval(ctx, "x", &v);
      },
      [&] { return OSA_Service_StringEval(ctx, "x", &text); },
      [&] { return OSA_Service_CommandExec(ctx, "x", 0, nullptr); },
      [&] { return OSA_Service_SymbolLookup(ctx, "x", nullptr, nullptr); },
      [&] { return OSA_Service_SymbolFromAddress(ctx, 1, 0, nullptr); },
      [&] {
        return OSA_Service_StructFieldSearch(ctx, "s", "f", 0, nullptr, nullptr, nullptr, nullptr);
      },
      [&] { return OSA_Service_MacroGet(ctx, "m", 0, nullptr); },
      [&] { return OSA_Service_EnumValueGet(ctx, "e", "m", 0, nullptr); },
      [&] { return OSA_Service_StructSizeGet(ctx, "s", 0, nullptr); },
      [&] { return OSA_Service_TargetStatus(ctx, &i32); },
      [&] { return OSA_Service_MessageDisplay(ctx, 0, "hello"); },
      [&] {
        int32_t choice = 0;
        return OSA_Service_YesNoChoose(ctx, &choice, "q");
      },
      [&] { return OSA_Service_ConfigFileSearch(ctx, "f", 4, 0, &text); },
      [&] { return OSA_Service_CpuModeGet(ctx, 0, &u32); },
  };
  EXPECT_EQ(wrappers.size(), 21u);
  for (std::size_t f = 0; f < failures.size(); ++f) {
    for (std::size_t w = 0; w < wrappers.size(); ++w) {
      debugger->clear_script();
      failures[f](debugger->on(""));
      EXPECT_EQ(wrappers[w](), 1) << "failure " << f << " wrapper " << w;
      EXPECT_EQ(osa_plugin_time_category().depth, 0u);
    }
  }
  (void)i64;
}

// The timed wrappers open one "OsaPluginTime" interval labelled from their arguments; the
// others open none.
TEST_F(ServiceRequestsTest, TimingLabels) {
  uint64_t u64 = 0;
  uint32_t u32 = 0;
  int32_t i32 = 0;
  int64_t i64 = 0;
  uint8_t bytes[4] = {};
  std::string text;
  TypedValue value;
  const struct {
    std::function<void()> call;
    const char* label; // null: not timed
  } cases[] = {
      {[&] { OSA_Service_RegisterRead(ctx, 0, 17, 4, &u64, 0, 0); }, "RegRead(17)"},
      {[&] { OSA_Service_RegisterWrite(ctx, 0, -2, 4, 1, 0, 0, 0); }, "RegWrite(-2)"},
      {[&] { OSA_Service_ThreadRegisterRead(ctx, 1, 1, &u64, kNoCore); }, nullptr},
      {[&] { OSA_Service_ThreadRegisterWrite(ctx, 1, 1, 1, kNoCore); }, nullptr},
      {[&] { OSA_Service_MemoryRead(ctx, 0, 0xfe00, 2, 2, bytes, 0, kNoCore); },
       "MemRead(0xfe00, count 2, size 2)"},
      {[&] { OSA_Service_MemoryWrite(ctx, 0, 0x10, 4, 1, bytes, kNoCore); },
       "MemWrite(0x10, count 4, size 1)"},
      {[&] { OSA_Service_MemoryPreFetch(ctx, 0, 0xabc, 3, 8, 16, kNoCore); },
       "MemPreFetch(0xabc, count 3, size 8)"},
      {[&] { OSA_Service_ExpressionEval(ctx, "a+b", &value); }, "ExprEval(a+b)"},
      {[&] { OSA_Service_StringEval(ctx, "s", &text); }, "StrEval(s)"},
      {[&] { OSA_Service_CommandExec(ctx, "go", 0, nullptr); }, "ExecCmd(go)"},
      {[&] { OSA_Service_SymbolLookup(ctx, "main", nullptr, nullptr); }, "Lookup(main)"},
      {[&] { OSA_Service_SymbolFromAddress(ctx, 0x40, 0, nullptr); }, "SymFAddr(0x40)"},
      {[&] {
         OSA_Service_StructFieldSearch(ctx, "TCB", "next", 0, nullptr, nullptr, nullptr, nullptr);
       },
       "StructField(TCB.next)"},
      {[&] { OSA_Service_MacroGet(ctx, "MAX", 0, nullptr); }, "MacroGet(MAX)"},
      {[&] { OSA_Service_EnumValueGet(ctx, "STATE", "READY", 0, &i64); }, "EnumGet(STATE)"},
      {[&] { OSA_Service_StructSizeGet(ctx, "TCB", 0, nullptr); }, "StructSize(TCB)"},
      {[&] { OSA_Service_TargetStatus(ctx, &i32); }, nullptr},
      {[&] { OSA_Service_MessageDisplay(ctx, 0, "hello"); }, nullptr},
      {[&] {
         int32_t choice = 0;
         OSA_Service_YesNoChoose(ctx, &choice, "q");
       },
       nullptr},
      {[&] { OSA_Service_ConfigFileSearch(ctx, "f", 4, 0, &text); }, nullptr},
      {[&] { OSA_Service_CpuModeGet(ctx, 0, &u32); }, nullptr},
  };
  debugger->on("").result(R"({"return": 0})").always();
  for (const auto& c : cases) {
    log_reset_for_tests();
    c.call();
    const std::string history = log_history_text();
    if (c.label == nullptr) {
      EXPECT_EQ(history.find("OsaPluginTime"), std::string::npos) << history;
    } else {
      EXPECT_NE(history.find(std::string("OsaPluginTime begin[1] ") + c.label + "\n"),
                std::string::npos)
          << c.label << ": " << history;
      EXPECT_NE(history.find("OsaPluginTime end[1] "), std::string::npos) << c.label;
    }
    EXPECT_EQ(osa_plugin_time_category().depth, 0u);
  }
}

TEST_F(ServiceRequestsTest, RequestIdsCountUpAcrossWrappers) {
  debugger->on("").result(R"({"return": 0})").always();
  OSA_Service_TargetStatus(ctx, nullptr);
  OSA_Service_MessageDisplay(ctx, 0, "a");
  ASSERT_EQ(debugger->requests().size(), 2u);
  EXPECT_EQ(debugger->requests()[1].id, debugger->requests()[0].id + 1);
}

} // namespace
