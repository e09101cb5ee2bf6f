// Tests of JSON-RPC messaging: the dispatcher's checks and exact response texts, the lifetime
// of the last response across nested dispatches, and JrSendRequest over a scripted transport.
#include "host_link/jsonrpc.h"

#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_write.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace {

// What the handlers and the transport of these tests saw and will answer.
struct TestRecord {
  int handler_calls = 0;
  std::string last_params;
  std::vector<std::string> sent;
  std::deque<std::optional<std::string>> answers; // nullopt: the transport has no answer
  std::string current_answer;
  std::vector<std::string> inner_requests; // dispatched from inside the transport
  std::vector<std::string> inner_responses;
};

TestRecord record;

JsonPtr echo_handler(const JsonValue* params) {
  ++record.handler_calls;
  record.last_params = params ? json_to_text(*params) : "<none>";
  JsonPtr result = json_new_object();
  json_object_add_string(result.get(), "got", record.last_params.c_str());
  return result;
}

JsonPtr seven_handler(const JsonValue*) {
  return json_new_integer(7);
}

const char* scripted_transport(const char* request) {
  record.sent.emplace_back(request);
  // A request from the debugger that arrives before the answer is served at once.
  for (const std::string& inner : record.inner_requests) {
    record.inner_responses.emplace_back(OSA_Client_CmdParser(inner.c_str()));
  }
  record.inner_requests.clear();
  if (record.answers.empty()) {
    return nullptr;
  }
  std::optional<std::string> answer = record.answers.front();
  record.answers.pop_front();
  if (!answer) {
    return nullptr;
  }
  record.current_answer = *answer;
  return record.current_answer.c_str();
}

class JsonRpc : public testing::Test {
protected:
  void SetUp() override {
    jsonrpc_reset_for_tests();
    record = TestRecord{};
  }
  void TearDown() override { jsonrpc_reset_for_tests(); }

  static void bind_defaults() {
    jsonrpc_create_bindings();
    ASSERT_TRUE(jsonrpc_bind("echo", echo_handler));
    ASSERT_TRUE(jsonrpc_bind("x", echo_handler));
  }
};

std::string error_text(int code, const std::string& quoted_message, const std::string& id) {
  return "{ \"jsonrpc\" : \"2.0\", \"error\" : { \"code\" : " + std::to_string(code) +
         ", \"message\" : " + quoted_message + "}, \"id\" : " + id + " }";
}

TEST_F(JsonRpc, UnknownMethodExactText) {
  bind_defaults();
  EXPECT_STREQ(
      OSA_Client_CmdParser(R"({"jsonrpc":"2.0","method":"nope","params":{},"id":12})"),
      R"({ "jsonrpc" : "2.0", "error" : { "code" : -32601, "message" : "unknown message"}, "id" : 12 })");
}

struct DispatchCase {
  const char* label;
  const char* request;
  std::string response;
};

TEST_F(JsonRpc, ChecksInOrder) {
  bind_defaults();
  const DispatchCase cases[] = {
      {"parse error", R"({"a" 1})",
       error_text(-32700, R"("Error: expected ':' after name in object contents, got '1}'")",
                  "null")},
      {"parse error of several lines", R"({"id":1,"a": x})",
       error_text(-32700,
                  R"("Error: unexpected character 'x', expected a value, got: 'x}'\n)"
                  R"(Error: failed to set 'a' property in object\n)"
                  R"(Error: unexpected 'x' after value in object contents, got 'x}'")",
                  "null")},
      {"empty text", "",
       error_text(-32700, R"("Error: unexpected end of input, expected a value")", "null")},
      {"not an object", "[1,2]", error_text(-32600, R"("expected object at top level")", "null")},
      {"no id", R"({"method":"x","params":{}})",
       error_text(-32602, R"("missing request id")", "null")},
      {"Boolean id", R"({"id":true,"method":"x","params":{}})",
       error_text(-32602, R"("invalid request id type")", "true")},
      {"array id, checked before the method", R"({"id":[1,{}]})",
       error_text(-32602, R"("invalid request id type")", "[ 1, {  } ]")},
      {"method not a string", R"({"id":"a\"b","method":5,"params":{}})",
       error_text(-32600, R"("missing message name")", R"("a\"b")")},
      {"no method, checked before params", R"({"id":1})",
       error_text(-32600, R"("missing message name")", "1")},
      {"no params", R"({"id":1,"method":"x"})",
       error_text(-32602, R"("missing argument list")", "1")},
      {"unbound name with a null id", R"({"id":null,"method":"X","params":0})",
       error_text(-32601, R"("unknown message")", "null")},
      {"unbound name with a string id", R"({"id":"q","method":"echo2","params":0})",
       error_text(-32601, R"("unknown message")", R"("q")")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OSA_Client_CmdParser(c.request), c.response) << c.label;
  }
  EXPECT_EQ(record.handler_calls, 0);
}

TEST_F(JsonRpc, ResultResponses) {
  bind_defaults();
  ASSERT_TRUE(jsonrpc_bind("seven", seven_handler));
  const DispatchCase cases[] = {
      {"object params, integer id",
       R"({"jsonrpc":"2.0","method":"echo","params":{"a":[1]},"id":3})",
       R"({ "jsonrpc" : "2.0", "result" : { "got" : "{ \"a\" : [ 1 ] }" }, "id" : 3 })"},
      {"null params are accepted", R"({"method":"echo","params":null,"id":"s"})",
       R"({ "jsonrpc" : "2.0", "result" : { "got" : "null" }, "id" : "s" })"},
      {"null id, version not examined",
       R"({"jsonrpc":"1.0","id":null,"method":"seven","params":[]})",
       R"({ "jsonrpc" : "2.0", "result" : 7, "id" : null })"},
      {"negative 64-bit id", R"({"id":-9223372036854775808,"method":"seven","params":1})",
       R"({ "jsonrpc" : "2.0", "result" : 7, "id" : -9223372036854775808 })"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OSA_Client_CmdParser(c.request), c.response) << c.label;
  }
  EXPECT_EQ(record.handler_calls, 2);
}

TEST_F(JsonRpc, HandlerDoesNotSeeTheId) {
  jsonrpc_create_bindings();
  ASSERT_TRUE(jsonrpc_bind(
      "p", +[](const JsonValue* params) -> JsonPtr {
        // params is the request's own member: the id was taken out of the request, not of params.
        EXPECT_EQ(json_object_find(params, "id"), 0);
        return json_new_null();
      }));
  EXPECT_STREQ(OSA_Client_CmdParser(R"({"id":4,"method":"p","params":{"id":5}})"),
               R"({ "jsonrpc" : "2.0", "result" : null, "id" : 4 })");
}

TEST_F(JsonRpc, BindingTableLifecycle) {
  EXPECT_FALSE(jsonrpc_bind("echo", echo_handler)); // no table yet
  const char* request = R"({"id":1,"method":"echo","params":{}})";
  EXPECT_EQ(OSA_Client_CmdParser(request),
            error_text(-32603, R"("no method bindings found")", "1"));
  // Earlier checks still come first without a table.
  EXPECT_EQ(OSA_Client_CmdParser(R"({"id":1,"method":"echo"})"),
            error_text(-32602, R"("missing argument list")", "1"));

  jsonrpc_create_bindings();
  EXPECT_EQ(OSA_Client_CmdParser(request), error_text(-32601, R"("unknown message")", "1"));
  ASSERT_TRUE(jsonrpc_bind("echo", echo_handler));
  jsonrpc_create_bindings(); // keeps the table
  EXPECT_STREQ(OSA_Client_CmdParser(request),
               R"({ "jsonrpc" : "2.0", "result" : { "got" : "{  }" }, "id" : 1 })");
  ASSERT_TRUE(jsonrpc_bind("echo", seven_handler)); // a second binding replaces the first
  EXPECT_STREQ(OSA_Client_CmdParser(request), R"({ "jsonrpc" : "2.0", "result" : 7, "id" : 1 })");
  EXPECT_EQ(record.handler_calls, 1);
}

TEST_F(JsonRpc, ResponseTextLivesUntilNextDispatch) {
  bind_defaults();
  const char* first = OSA_Client_CmdParser(R"({"id":1,"method":"x","params":1})");
  EXPECT_STREQ(first, R"({ "jsonrpc" : "2.0", "result" : { "got" : "1" }, "id" : 1 })");
  // The last response may itself be fed back as a request: it is read completely before it is
  // replaced (it has an id but no method).
  const char* again = OSA_Client_CmdParser(first);
  EXPECT_STREQ(again, error_text(-32600, R"("missing message name")", "1").c_str());
}

// An outer handler that dispatches an inner request, as a transport does when the debugger
// sends a request while the plug-in waits for an answer.
std::string seen_inside;
JsonPtr outer_handler(const JsonValue*) {
  seen_inside = OSA_Client_CmdParser(R"({"id":"inner","method":"x","params":2})");
  return json_new_string("outer done");
}

TEST_F(JsonRpc, NestedDispatchReplacesLastResponse) {
  bind_defaults();
  ASSERT_TRUE(jsonrpc_bind("outer", outer_handler));
  const char* outer = OSA_Client_CmdParser(R"({"id":"outer","method":"outer","params":{}})");
  EXPECT_EQ(seen_inside, R"({ "jsonrpc" : "2.0", "result" : { "got" : "2" }, "id" : "inner" })");
  EXPECT_STREQ(outer, R"({ "jsonrpc" : "2.0", "result" : "outer done", "id" : "outer" })");
}

TEST_F(JsonRpc, ServiceRecordIsCreatedOnce) {
  EXPECT_EQ(jr_service(), nullptr);
  JrService* service = jr_service_create(scripted_transport);
  ASSERT_NE(service, nullptr);
  EXPECT_EQ(service->next_id, 0);
  EXPECT_EQ(jr_service_create(nullptr), service);
  EXPECT_EQ(service->transport, &scripted_transport);
  EXPECT_EQ(jr_service(), service);
}

JsonPtr params_with(int64_t a) {
  JsonPtr params = json_new_object();
  json_object_add_integer(params.get(), "a", a);
  return params;
}

TEST_F(JsonRpc, SendRequestTextAndIds) {
  JrService* service = jr_service_create(scripted_transport);
  record.answers = {std::string(R"({"id":99,"result":{"value":1}})"),
                    std::string(R"({"jsonrpc":"2.0","result":5,"id":1})")};
  JsonPtr result;
  ASSERT_TRUE(JrSendRequest(service, "OSA_Service_First", params_with(1), &result));
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(json_to_text(*result), R"({ "value" : 1 })");
  ASSERT_TRUE(JrSendRequest(service, "OSA_Service_\"Second\"", json_new_array(), &result));
  EXPECT_EQ(result->integer, 5);
  ASSERT_EQ(record.sent.size(), 2u);
  EXPECT_EQ(
      record.sent[0],
      R"({ "jsonrpc" : "2.0", "method" : "OSA_Service_First", "params" : { "a" : 1 }, "id" : 0 })");
  EXPECT_EQ(
      record.sent[1],
      R"({ "jsonrpc" : "2.0", "method" : "OSA_Service_\"Second\"", "params" : [  ], "id" : 1 })");
  EXPECT_EQ(service->next_id, 2);
}

struct SendCase {
  const char* label;
  std::optional<std::string> answer;
  bool ok;
  const char* result_after; // written form of result_out afterwards ("untouched" when kept)
};

TEST_F(JsonRpc, SendRequestOutcomes) {
  JrService* service = jr_service_create(scripted_transport);
  const SendCase cases[] = {
      {"result", std::string(R"({"result":[1]})"), true, "[ 1 ]"},
      {"error and result", std::string(R"({"result":1,"error":{"code":1}})"), false, "untouched"},
      {"error only", std::string(R"({"error":null})"), false, "untouched"},
      {"no answer", std::nullopt, false, "untouched"},
      {"unparsable answer", std::string(R"({"result":)"), false, "untouched"},
      {"no result member", std::string(R"({"jsonrpc":"2.0","id":3})"), true, "untouched"},
      {"answer that is no object", std::string("[1]"), false, "untouched"},
  };
  int64_t expected_id = 0;
  for (const auto& c : cases) {
    record.answers = {c.answer};
    JsonPtr result = json_new_string("untouched");
    EXPECT_EQ(JrSendRequest(service, "m", json_new_null(), &result), c.ok) << c.label;
    ASSERT_NE(result, nullptr) << c.label;
    std::string written = result->kind == JsonKind::String ? result->string : json_to_text(*result);
    EXPECT_EQ(written, c.result_after) << c.label;
    ++expected_id; // every request uses up an id, whatever its outcome
    EXPECT_EQ(service->next_id, expected_id) << c.label;
  }
  EXPECT_EQ(record.sent.back(),
            R"({ "jsonrpc" : "2.0", "method" : "m", "params" : null, "id" : 6 })");

  // A null result_out simply drops the result.
  record.answers = {std::string(R"({"result":{"big":1}})")};
  EXPECT_TRUE(JrSendRequest(service, "m", nullptr, nullptr));
}

TEST_F(JsonRpc, SendRequestWithoutTransportFails) {
  JsonPtr result;
  EXPECT_FALSE(JrSendRequest(nullptr, "m", json_new_null(), &result));
  JrService bare;
  EXPECT_FALSE(JrSendRequest(&bare, "m", json_new_null(), &result));
  EXPECT_EQ(bare.next_id, 0);
  EXPECT_EQ(result, nullptr);
}

// A handler that asks the debugger something; while it waits, the debugger sends a request of
// its own, which is answered at once and replaces the last response.
JsonPtr asking_handler(const JsonValue*) {
  JsonPtr answer;
  record.inner_requests = {R"({"id":77,"method":"x","params":"inner"})"};
  record.answers = {std::string(R"({"result":{"value":41}})")};
  if (!JrSendRequest(jr_service(), "OSA_Service_Ask", json_new_object(), &answer)) {
    return json_new_string("failed");
  }
  int64_t value = 0;
  json_object_get_integer(answer.get(), "value", &value);
  return json_new_integer(value + 1);
}

TEST_F(JsonRpc, RequestNestedInsideServiceRequest) {
  bind_defaults();
  ASSERT_TRUE(jsonrpc_bind("ask", asking_handler));
  jr_service_create(scripted_transport);
  const char* response = OSA_Client_CmdParser(R"({"id":1,"method":"ask","params":{}})");
  EXPECT_STREQ(response, R"({ "jsonrpc" : "2.0", "result" : 42, "id" : 1 })");
  ASSERT_EQ(record.inner_responses.size(), 1u);
  EXPECT_EQ(record.inner_responses[0],
            R"({ "jsonrpc" : "2.0", "result" : { "got" : "\"inner\"" }, "id" : 77 })");
  ASSERT_EQ(record.sent.size(), 1u);
  EXPECT_EQ(record.sent[0],
            R"({ "jsonrpc" : "2.0", "method" : "OSA_Service_Ask", "params" : {  }, "id" : 0 })");
}

// A transport that keeps the pointer of each request it is given and, for the outer one, first
// serves a debugger request whose handler asks the debugger itself: the outer text must still
// be whole when the transport reads it again afterwards.
std::vector<const char*> held_requests;
const char* holding_transport(const char* request) {
  held_requests.push_back(request);
  if (held_requests.size() == 1) {
    record.inner_responses.emplace_back(
        OSA_Client_CmdParser(R"({"id":5,"method":"ask","params":{}})"));
  }
  record.sent.emplace_back(request);
  record.current_answer = R"({"result":{"value":1}})";
  return record.current_answer.c_str();
}

TEST_F(JsonRpc, RequestTextStaysWholeWhileANestedRequestIsSent) {
  bind_defaults();
  ASSERT_TRUE(jsonrpc_bind("ask", asking_handler));
  held_requests.clear();
  jr_service_create(holding_transport);
  JsonPtr result;
  ASSERT_TRUE(JrSendRequest(jr_service(), "OSA_Service_Outer", params_with(7), &result));
  ASSERT_EQ(held_requests.size(), 2u);
  EXPECT_STREQ(
      held_requests[0],
      R"({ "jsonrpc" : "2.0", "method" : "OSA_Service_Outer", "params" : { "a" : 7 }, "id" : 0 })");
  ASSERT_EQ(record.inner_responses.size(), 1u);
  EXPECT_EQ(record.inner_responses[0], R"({ "jsonrpc" : "2.0", "result" : 2, "id" : 5 })");
}

TEST_F(JsonRpc, NamesBoundAgainAfterAResetAnswerWithTheirNewHandlers) {
  // A reset keeps the table's storage and its names; names bound before it must not answer
  // after it, each rebinding must reach its own entry, in whatever order the names come, and a
  // name left out once must answer when bound later.
  const std::vector<std::vector<const char*>> rounds = {
      {"m", "b", "OSA_Client_Long_Name_Of_A_Method", "a", "z"},
      {"z", "a", "OSA_Client_Long_Name_Of_A_Method", "b", "m"},
      {"b", "z"},
      {"a", "b", "c", "m", "z", "OSA_Client_Long_Name_Of_A_Method"},
  };
  for (std::size_t round = 0; round < rounds.size(); ++round) {
    jsonrpc_reset_for_tests();
    jsonrpc_create_bindings();
    // Alternating handlers, so that an entry that kept the handler of the round before shows.
    const bool sevens = round % 2 == 0;
    for (const char* name : rounds[round]) {
      ASSERT_TRUE(jsonrpc_bind(name, sevens ? seven_handler : echo_handler));
    }
    for (const char* name :
         {"a", "b", "c", "m", "z", "OSA_Client_Long_Name_Of_A_Method", "y", ""}) {
      const std::string request = std::string(R"({"id":1,"method":")") + name + R"(","params":5})";
      const bool bound = std::find_if(rounds[round].begin(), rounds[round].end(),
                                      [&](const char* n) { return std::string(n) == name; }) !=
                         rounds[round].end();
      const std::string expected =
          !bound   ? error_text(-32601, R"("unknown message")", "1")
          : sevens ? std::string(R"({ "jsonrpc" : "2.0", "result" : 7, "id" : 1 })")
                   : std::string(R"({ "jsonrpc" : "2.0", "result" : { "got" : "5" }, "id" : 1 })");
      EXPECT_EQ(OSA_Client_CmdParser(request.c_str()), expected)
          << "round " << round << ", " << name;
    }
  }
}

// Whatever arrives, the answer is one complete object with "jsonrpc" and either a result or an
// error.
TEST_F(JsonRpc, EveryAnswerIsOneResponseObject) {
  bind_defaults();
  const std::string deep(70000, '[');
  const std::vector<std::string> requests = {
      "", "{", "}", "null", "\"x\"", "{\"id\":{}}", R"({"id":1,"method":"","params":1})", deep,
  };
  for (const std::string& request : requests) {
    std::string errors;
    JsonPtr response = json_parse(OSA_Client_CmdParser(request.c_str()), errors);
    ASSERT_NE(response, nullptr) << errors;
    ASSERT_EQ(response->kind, JsonKind::Object);
    EXPECT_EQ(json_object_find(response.get(), "jsonrpc"), 0);
    EXPECT_TRUE((json_object_find(response.get(), "result") >= 0) !=
                (json_object_find(response.get(), "error") >= 0));
  }
  EXPECT_EQ(OSA_Client_CmdParser(deep.c_str()),
            error_text(-32700, std::string("\"Error: ") + kJsonNestingError + "\"", "null"));
}

} // namespace
