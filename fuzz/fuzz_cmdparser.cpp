// Fuzz target: the dispatcher on arbitrary request texts. It must never crash and must always
// answer with one JSON object that carries "jsonrpc" and either "result" or "error".
#include "host_link/jsonrpc.h"
#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_write.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// What the fuzzer's own handlers need between calls.
struct FuzzHandlers {
  int nesting = 0;
  std::string answer; // the scripted transport's current answer
};
FuzzHandlers fuzz_handlers;

// Returns a copy of its params made by writing and parsing them, which also checks that any
// params the dispatcher hands over can be written. The copy is the result itself, so the
// response nests no deeper than the request did.
JsonPtr echo_handler(const JsonValue* params) {
  std::string errors;
  JsonPtr copy = params ? json_parse(json_to_text(*params).c_str(), errors) : nullptr;
  if (params && !copy) {
    std::abort();
  }
  return copy ? std::move(copy) : json_new_null();
}

// A String params is dispatched as a nested request, as the transport does when the debugger
// sends a request while the plug-in waits for an answer.
JsonPtr nest_handler(const JsonValue* params) {
  if (params == nullptr || params->kind != JsonKind::String || fuzz_handlers.nesting >= 8) {
    return json_new_null();
  }
  ++fuzz_handlers.nesting;
  JsonPtr inner = json_new_string(OSA_Client_CmdParser(params->string.c_str()));
  --fuzz_handlers.nesting;
  return inner;
}

const char* scripted_transport(const char*) {
  return fuzz_handlers.answer.c_str();
}

// A String params is taken as the debugger's answer to a request of the plug-in's own.
JsonPtr ask_handler(const JsonValue* params) {
  if (params == nullptr || params->kind != JsonKind::String) {
    return json_new_null();
  }
  fuzz_handlers.answer = params->string;
  JsonPtr result;
  if (!JrSendRequest(jr_service(), "OSA_Service_Fuzz", json_new_object(), &result)) {
    return json_new_boolean(false);
  }
  return result ? std::move(result) : json_new_boolean(true);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  jsonrpc_create_bindings();
  jsonrpc_bind("echo", echo_handler);
  jsonrpc_bind("nest", nest_handler);
  jsonrpc_bind("ask", ask_handler);
  jr_service_create(scripted_transport);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string request(reinterpret_cast<const char*>(data), size);
  const char* response = OSA_Client_CmdParser(request.c_str());
  if (response == nullptr) {
    std::abort();
  }
  std::string errors;
  JsonPtr tree = json_parse(response, errors);
  const JsonValue* version = nullptr;
  if (!tree || tree->kind != JsonKind::Object ||
      !json_object_get(tree.get(), "jsonrpc", &version) || version->kind != JsonKind::String ||
      version->string != "2.0" || json_object_find(tree.get(), "id") < 0) {
    std::abort();
  }
  bool has_result = json_object_find(tree.get(), "result") >= 0;
  bool has_error = json_object_find(tree.get(), "error") >= 0;
  if (has_result == has_error) {
    std::abort();
  }
  return 0;
}
