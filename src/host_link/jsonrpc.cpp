// JSON-RPC 2.0: the dispatcher that answers the debugger's requests and the client that sends
// the plug-in's own requests through a transport.
#include "host_link/jsonrpc.h"

#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_write.h"

#include <algorithm>
#include <charconv>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Binding {
  std::string name;
  JsonRpcHandler handler = nullptr;
};

// The binding table, ordered by name. A reset forgets the handlers but keeps the names where
// they are, so that binding the same names again (every run of a fuzz target, every test) finds
// each in place: nothing is allocated, copied or moved. A name without a handler is unbound.
class BindingTable {
public:
  JsonRpcHandler find(std::string_view name) const {
    auto at = position(name);
    return at != end() && at->name == name ? at->handler : nullptr;
  }
  void bind(std::string_view name, JsonRpcHandler handler) {
    auto at = position(name);
    if (at != end() && at->name == name) {
      at->handler = handler;
      return;
    }
    const auto index = static_cast<std::size_t>(at - entries_.begin());
    if (used_ == entries_.size()) {
      entries_.emplace_back();
    }
    // The unused entry after the last moves into place; the names in between move up one.
    std::rotate(entries_.begin() + static_cast<std::ptrdiff_t>(index),
                entries_.begin() + static_cast<std::ptrdiff_t>(used_),
                entries_.begin() + static_cast<std::ptrdiff_t>(used_ + 1));
    entries_[index].name.assign(name);
    entries_[index].handler = handler;
    ++used_;
  }
  void clear() {
    for (auto at = entries_.begin(); at != end(); ++at) {
      at->handler = nullptr;
    }
  }

private:
  std::vector<Binding>::iterator end() {
    return entries_.begin() + static_cast<std::ptrdiff_t>(used_);
  }
  std::vector<Binding>::const_iterator end() const {
    return entries_.begin() + static_cast<std::ptrdiff_t>(used_);
  }
  std::vector<Binding>::iterator position(std::string_view name) {
    return std::lower_bound(entries_.begin(), end(), name,
                            [](const Binding& b, std::string_view n) { return b.name < n; });
  }
  std::vector<Binding>::const_iterator position(std::string_view name) const {
    return std::lower_bound(entries_.begin(), end(), name,
                            [](const Binding& b, std::string_view n) { return b.name < n; });
  }

  std::vector<Binding> entries_;
  std::size_t used_ = 0;
};

// Everything this module keeps for the life of the process.
struct JsonRpcProcessState {
  bool bindings_created = false;
  BindingTable bindings;
  std::unique_ptr<JrService> service;
  // The text OSA_Client_CmdParser returned last; its caller reads it until the next dispatch.
  std::string last_response;
  // The buffer the next response is built in; it changes places with last_response, so that
  // both keep their capacity and a response costs no allocation once they are large enough.
  std::string next_response;
  // Request texts of JrSendRequest, one per nesting level: a request sent from inside the
  // transport's call for another must not overwrite the text the outer call is still using
  // (a deque, so that adding a level never moves the texts of the others).
  std::deque<std::string> requests;
  std::size_t sending = 0;
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

void result_response(std::string& text, const JsonValue* result, const JsonValue& id) {
  text = "{ \"jsonrpc\" : \"2.0\", \"result\" : ";
  if (result != nullptr) {
    json_write(text, *result);
  } else {
    text += "null"; // a handler broke its promise of a value; still answer the request
  }
  text += ", \"id\" : ";
  json_write(text, id);
  text += " }";
}

void error_response(std::string& text, int code, const char* message, const JsonValue* id) {
  text = "{ \"jsonrpc\" : \"2.0\", \"error\" : { \"code\" : ";
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
}

// The response to request, built in out (the process's next_response: a nested dispatch
// inside the handler uses it too, and is over before this one writes).
void dispatch(const char* request, std::string& out) {
  std::string parse_errors;
  JsonPtr tree = json_parse(request, parse_errors);
  if (!tree) {
    return error_response(out, kParseError, parse_errors.c_str(), nullptr);
  }
  if (tree->kind != JsonKind::Object) {
    return error_response(out, kInvalidRequest, "expected object at top level", nullptr);
  }
  JsonPtr id;
  if (!json_object_take(tree.get(), "id", &id) || !id) {
    return error_response(out, kInvalidParams, "missing request id", nullptr);
  }
  if (id->kind != JsonKind::Integer && id->kind != JsonKind::String && id->kind != JsonKind::Null) {
    return error_response(out, kInvalidParams, "invalid request id type", id.get());
  }
  const char* method = nullptr;
  if (!json_object_get_string(tree.get(), "method", &method) || method == nullptr) {
    return error_response(out, kInvalidRequest, "missing message name", id.get());
  }
  const JsonValue* params = nullptr;
  if (!json_object_get(tree.get(), "params", &params)) {
    return error_response(out, kInvalidParams, "missing argument list", id.get());
  }
  JsonRpcProcessState& state = jsonrpc_process_state;
  if (!state.bindings_created) {
    return error_response(out, kInternalError, "no method bindings found", id.get());
  }
  // The handler may dispatch nested requests and even rebind names; it is called through a
  // copy of the pointer and the request tree stays untouched by anything but this call.
  JsonRpcHandler handler = state.bindings.find(method);
  if (handler == nullptr) {
    return error_response(out, kMethodNotFound, "unknown message", id.get());
  }
  JsonPtr result = handler(params);
  // Written only now: the nested dispatches of the handler have used the buffer meanwhile.
  result_response(out, result.get(), *id);
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
  state.bindings.bind(name, handler);
  return true;
}

extern "C" const char* OSA_Client_CmdParser(const char* request) {
  // Built completely before the old text is replaced: a request may be the last response
  // itself, and a nested dispatch inside the handler has already replaced it by then.
  JsonRpcProcessState& state = jsonrpc_process_state;
  dispatch(request, state.next_response);
  state.last_response.swap(state.next_response);
  return state.last_response.c_str();
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

bool JrSendRequestWritten(JrService* service, const char* method, JrParamsWriter write,
                          const void* data, JsonPtr* result_out) {
  if (service == nullptr || service->transport == nullptr) {
    return false;
  }
  JsonRpcProcessState& state = jsonrpc_process_state;
  if (state.sending == state.requests.size()) {
    state.requests.emplace_back();
  }
  std::string& request = state.requests[state.sending];
  request = "{ \"jsonrpc\" : \"2.0\", \"method\" : ";
  json_write_string(request, method);
  request += ", \"params\" : ";
  write(request, data);
  request += ", \"id\" : ";
  append_integer(request, service->next_id);
  request += " }";
  ++service->next_id;

  ++state.sending;
  const char* answer = service->transport(request.c_str());
  --state.sending;
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

bool JrSendRequest(JrService* service, const char* method, JsonPtr params, JsonPtr* result_out) {
  if (service == nullptr || service->transport == nullptr) {
    return false;
  }
  // The tree goes once it is written, before the transport runs: a nested request made
  // meanwhile then finds its memory free.
  struct Written {
    JsonPtr* params;
  } written{&params};
  return JrSendRequestWritten(
      service, method,
      [](std::string& text, const void* data) {
        JsonPtr& tree = *static_cast<const Written*>(data)->params;
        if (tree) {
          json_write(text, *tree);
        } else {
          text += "null";
        }
        tree.reset();
      },
      &written, result_out);
}

void jsonrpc_reset_for_tests() {
  JsonRpcProcessState& state = jsonrpc_process_state;
  state.bindings_created = false;
  state.bindings.clear();
  state.service.reset();
  state.last_response.clear();
  state.sending = 0;
}
