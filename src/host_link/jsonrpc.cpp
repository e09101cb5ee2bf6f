// JSON-RPC 2.0: the dispatcher that answers the debugger's requests and the client that sends
// the plug-in's own requests through a transport.
#include "host_link/jsonrpc.h"

#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_write.h"

#include <charconv>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace {

// Everything this module keeps for the life of the process.
struct JsonRpcProcessState {
  bool bindings_created = false;
  std::map<std::string, JsonRpcHandler, std::less<>> bindings;
  std::unique_ptr<JrService> service;
  // The text OSA_Client_CmdParser returned last; its caller reads it until the next dispatch.
  std::string last_response;
};

JsonRpcProcessState jsonrpc_process_state;

constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kInternalError = -32603;

void append_integer(std::string& out, int64_t value) {
  char digits[24];
  auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

std::string result_response(const JsonValue* result, const JsonValue& id) {
  std::string text = "{ \"jsonrpc\" : \"2.0\", \"result\" : ";
  if (result != nullptr) {
    json_write(text, *result);
  } else {
    text += "null"; // a handler broke its promise of a value; still answer the request
  }
  text += ", \"id\" : ";
  json_write(text, id);
  text += " }";
  return text;
}

std::string error_response(int code, const char* message, const JsonValue* id) {
  std::string text = "{ \"jsonrpc\" : \"2.0\", \"error\" : { \"code\" : ";
  append_integer(text, code);
  text += ", \"message\" : ";
  json_write_string(text, message);
  text += "}, \"id\" : ";
  if (id != nullptr) {
    json_write(text, *id);
  } else {
    text += "null";
  }
  text += " }";
  return text;
}

std::string dispatch(const char* request) {
  std::string parse_errors;
  JsonPtr tree = json_parse(request, parse_errors);
  if (!tree) {
    return error_response(kParseError, parse_errors.c_str(), nullptr);
  }
  if (tree->kind != JsonKind::Object) {
    return error_response(kInvalidRequest, "expected object at top level", nullptr);
  }
  JsonPtr id;
  if (!json_object_take(tree.get(), "id", &id) || !id) {
    return error_response(kInvalidParams, "missing request id", nullptr);
  }
  if (id->kind != JsonKind::Integer && id->kind != JsonKind::String && id->kind != JsonKind::Null) {
    return error_response(kInvalidParams, "invalid request id type", id.get());
  }
  const char* method = nullptr;
  if (!json_object_get_string(tree.get(), "method", &method) || method == nullptr) {
    return error_response(kInvalidRequest, "missing message name", id.get());
  }
  const JsonValue* params = nullptr;
  if (!json_object_get(tree.get(), "params", &params)) {
    return error_response(kInvalidParams, "missing argument list", id.get());
  }
  JsonRpcProcessState& state = jsonrpc_process_state;
  if (!state.bindings_created) {
    return error_response(kInternalError, "no method bindings found", id.get());
  }
  auto binding = state.bindings.find(std::string_view(method));
  if (binding == state.bindings.end()) {
    return error_response(kMethodNotFound, "unknown message", id.get());
  }
  // The handler may dispatch nested requests and even rebind names; it is called through a
  // copy of the pointer and the request tree stays untouched by anything but this call.
  JsonRpcHandler handler = binding->second;
  JsonPtr result = handler(params);
  return result_response(result.get(), *id);
}

} // namespace

void jsonrpc_create_bindings() {
  jsonrpc_process_state.bindings_created = true;
}

bool jsonrpc_bind(const char* name, JsonRpcHandler handler) {
  JsonRpcProcessState& state = jsonrpc_process_state;
  if (!state.bindings_created || name == nullptr || handler == nullptr) {
    return false;
  }
  state.bindings.insert_or_assign(std::string(name), handler);
  return true;
}

extern "C" const char* OSA_Client_CmdParser(const char* request) {
  // Built completely before the old text is replaced: a request may be the last response
  // itself, and a nested dispatch inside the handler has already replaced it by then.
  std::string response = dispatch(request);
  jsonrpc_process_state.last_response = std::move(response);
  return jsonrpc_process_state.last_response.c_str();
}

JrService* jr_service_create(JrTransport transport) {
  JsonRpcProcessState& state = jsonrpc_process_state;
  if (!state.service) {
    state.service = std::make_unique<JrService>();
    state.service->transport = transport;
  }
  return state.service.get();
}

JrService* jr_service() {
  return jsonrpc_process_state.service.get();
}

bool JrSendRequest(JrService* service, const char* method, JsonPtr params, JsonPtr* result_out) {
  if (service == nullptr || service->transport == nullptr) {
    return false;
  }
  std::string request = "{ \"jsonrpc\" : \"2.0\", \"method\" : ";
  json_write_string(request, method);
  request += ", \"params\" : ";
  if (params) {
    json_write(request, *params);
  } else {
    request += "null";
  }
  request += ", \"id\" : ";
  append_integer(request, service->next_id);
  request += " }";
  params.reset();
  ++service->next_id;

  const char* answer = service->transport(request.c_str());
  if (answer == nullptr) {
    return false;
  }
  std::string parse_errors;
  JsonPtr response = json_parse(answer, parse_errors);
  // An answer that is not an object carries neither a result nor an error; taking it for
  // success would report a broken exchange as a good one.
  if (!response || response->kind != JsonKind::Object) {
    return false;
  }
  if (json_object_find(response.get(), "error") >= 0) {
    return false;
  }
  JsonPtr result;
  if (json_object_take(response.get(), "result", &result) && result_out != nullptr) {
    *result_out = std::move(result);
  }
  return true;
}

void jsonrpc_reset_for_tests() {
  JsonRpcProcessState& state = jsonrpc_process_state;
  state.bindings_created = false;
  state.bindings.clear();
  state.service.reset();
  state.last_response.clear();
}
