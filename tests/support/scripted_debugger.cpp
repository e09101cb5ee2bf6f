// The scripted debugger stand-in: answers the plug-in's requests from a script and records
// what the plug-in sent (see scripted_debugger.h for its use in-process and over pipes).
#include "support/scripted_debugger.h"

#include "host_link/jsonrpc.h"
#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_write.h"

namespace {

ScriptedDebugger* g_current = nullptr;

bool params_match(const std::string& pattern, const JsonValue* params) {
  if (pattern.empty()) {
    return true;
  }
  std::string error;
  JsonPtr wanted = json_parse(pattern.c_str(), error);
  if (!wanted || wanted->kind != JsonKind::Object || params == nullptr ||
      params->kind != JsonKind::Object) {
    return false;
  }
  for (const auto& member : wanted->members) {
    const JsonValue* got = nullptr;
    if (!json_object_get(params, member->name.c_str(), &got) || !json_equal(*got, *member->value)) {
      return false;
    }
  }
  return true;
}

std::string id_text(const ReceivedRequest& request) {
  return request.id >= 0 ? std::to_string(request.id) : std::string("0");
}

} // namespace

ScriptEntry& ScriptEntry::result(std::string json_text) {
  action = ScriptAction::Result;
  text = std::move(json_text);
  return *this;
}

ScriptEntry& ScriptEntry::error(int64_t code, std::string message) {
  action = ScriptAction::Error;
  error_code = code;
  text = std::move(message);
  return *this;
}

ScriptEntry& ScriptEntry::garbage(std::string raw_text) {
  action = ScriptAction::Garbage;
  text = std::move(raw_text);
  return *this;
}

ScriptEntry& ScriptEntry::nothing() {
  action = ScriptAction::Nothing;
  text.clear();
  return *this;
}

ScriptEntry& ScriptEntry::inject_request(std::string request_text) {
  inject.push_back(std::move(request_text));
  return *this;
}

ScriptEntry& ScriptEntry::times(int n) {
  uses = n;
  return *this;
}

ScriptEntry& ScriptEntry::always() {
  uses = kForever;
  return *this;
}

ScriptedDebugger::ScriptedDebugger() : previous_(g_current) {
  g_current = this;
}

ScriptedDebugger::~ScriptedDebugger() {
  if (g_current == this) {
    g_current = previous_;
  }
}

ScriptEntry& ScriptedDebugger::on(const std::string& method, const std::string& params_match) {
  ScriptEntry& entry = script_.emplace_back();
  entry.method = method;
  entry.params_match = params_match;
  entry.text = R"({"return": 0})";
  return entry;
}

void ScriptedDebugger::clear_script() {
  script_.clear();
}

ScriptReply ScriptedDebugger::answer(const std::string& request_text) {
  ReceivedRequest request;
  request.text = request_text;
  std::string error;
  JsonPtr parsed = json_parse(request_text.c_str(), error);
  if (parsed && parsed->kind == JsonKind::Object) {
    request.parsed = true;
    const char* method = nullptr;
    if (json_object_get_string(parsed.get(), "method", &method)) {
      request.method = method;
    }
    int64_t id = 0;
    if (json_object_get_integer(parsed.get(), "id", &id)) {
      request.id = id;
    }
    JsonPtr params;
    if (json_object_take(parsed.get(), "params", &params) && params) {
      request.params_text = json_to_text(*params);
      request.params = std::move(params);
    }
  }

  ScriptReply reply;
  ScriptEntry* chosen = nullptr;
  for (std::size_t i = 0; i < script_.size(); ++i) {
    ScriptEntry& entry = script_[newest_first_ ? script_.size() - 1 - i : i];
    if (entry.uses == 0) {
      continue;
    }
    if (!entry.method.empty() && entry.method != request.method) {
      continue;
    }
    if (!params_match(entry.params_match, request.params.get())) {
      continue;
    }
    chosen = &entry;
    break;
  }

  std::string from_memory;
  if (chosen == nullptr && answer_from_memory(request, &from_memory)) {
    request.scripted = true;
    reply.answer =
        R"({"jsonrpc":"2.0","result":)" + from_memory + R"(,"id":)" + id_text(request) + "}";
  } else if (chosen == nullptr) {
    ++unscripted_;
    reply.answer = R"({"jsonrpc":"2.0","error":{"code":-32601,"message":"not scripted"},"id":)" +
                   id_text(request) + "}";
  } else {
    request.scripted = true;
    if (chosen->uses > 0) {
      --chosen->uses;
    }
    reply.inject = chosen->inject;
    switch (chosen->action) {
    case ScriptAction::Result:
      reply.answer =
          R"({"jsonrpc":"2.0","result":)" + chosen->text + R"(,"id":)" + id_text(request) + "}";
      break;
    case ScriptAction::Error: {
      std::string message;
      json_write_string(message, chosen->text.c_str());
      reply.answer = R"({"jsonrpc":"2.0","error":{"code":)" + std::to_string(chosen->error_code) +
                     R"(,"message":)" + message + R"(},"id":)" + id_text(request) + "}";
      break;
    }
    case ScriptAction::Garbage:
      reply.answer = chosen->text;
      break;
    case ScriptAction::Nothing:
      reply.has_answer = false;
      break;
    }
  }
  requests_.push_back(std::move(request));
  return reply;
}

const char* ScriptedDebugger::transport(const char* request) {
  ScriptedDebugger* self = g_current;
  if (self == nullptr || request == nullptr) {
    return nullptr;
  }
  ScriptReply reply = self->answer(request);
  for (const std::string& injected : reply.inject) {
    const char* response = OSA_Client_CmdParser(injected.c_str());
    self->injected_responses_.push_back(response != nullptr ? response : "");
  }
  if (!reply.has_answer) {
    return nullptr;
  }
  // Nested requests above may have replaced last_answer_; this level's answer is stored last.
  self->last_answer_ = std::move(reply.answer);
  return self->last_answer_.c_str();
}

ScriptedDebugger* ScriptedDebugger::current() {
  return g_current;
}

std::vector<const ReceivedRequest*> ScriptedDebugger::requests_of(const std::string& method) const {
  std::vector<const ReceivedRequest*> out;
  for (const ReceivedRequest& request : requests_) {
    if (request.method == method) {
      out.push_back(&request);
    }
  }
  return out;
}

std::size_t ScriptedDebugger::count(const std::string& method) const {
  return requests_of(method).size();
}

std::size_t ScriptedDebugger::unused_entries() const {
  std::size_t n = 0;
  for (const ScriptEntry& entry : script_) {
    if (entry.uses > 0) {
      ++n;
    }
  }
  return n;
}

void ScriptedDebugger::clear_record() {
  requests_.clear();
  injected_responses_.clear();
  unscripted_ = 0;
}

std::string ScriptedDebugger::client_request(const std::string& method,
                                             const std::string& params_json, int64_t id) {
  std::string quoted;
  json_write_string(quoted, method.c_str());
  return R"({"jsonrpc":"2.0","method":)" + quoted + R"(,"params":)" +
         (params_json.empty() ? std::string("{}") : params_json) + R"(,"id":)" +
         std::to_string(id) + "}";
}

std::vector<std::string> ScriptedDebugger::strings_of(const std::string& method,
                                                      const char* key) const {
  std::vector<std::string> out;
  for (const ReceivedRequest* r : requests_of(method)) {
    const char* text = nullptr;
    if (json_object_get_string(r->params.get(), key, &text)) {
      out.emplace_back(text);
    }
  }
  return out;
}

std::vector<std::string> ScriptedDebugger::displayed(int64_t message_type) const {
  std::vector<std::string> out;
  for (const ReceivedRequest* r : requests_of("OSA_Service_MessageDisplay")) {
    int64_t t = -1;
    const char* text = nullptr;
    if (json_object_get_integer(r->params.get(), "messageType", &t) && t == message_type &&
        json_object_get_string(r->params.get(), "message", &text)) {
      out.emplace_back(text);
    }
  }
  return out;
}

std::string ScriptedDebugger::json_quote(const std::string& text) {
  return json_to_text(*json_new_string(text.c_str()));
}

void ScriptedDebugger::answer_value(const std::string& expression, int64_t number) {
  on("OSA_Service_ExpressionEval", "{\"expression\": " + json_quote(expression) + "}")
      .result("{\"output\": " + std::to_string(number) + ", \"return\": 0}")
      .always();
}

void ScriptedDebugger::answer_text(const std::string& input, const std::string& text) {
  on("OSA_Service_StringEval", "{\"input\": " + json_quote(input) + "}")
      .result("{\"value\": " + json_quote(text) + ", \"return\": 0}")
      .always();
}

void ScriptedDebugger::answer_memory(uint64_t address, std::vector<uint8_t> bytes) {
  memory_.push_back(MemoryRegion{address, std::move(bytes)});
}

bool ScriptedDebugger::answer_from_memory(const ReceivedRequest& request,
                                          std::string* result) const {
  int64_t address = 0;
  int64_t count = 0;
  if (request.method != "OSA_Service_MemoryRead" ||
      !json_object_get_integer(request.params.get(), "address", &address) ||
      !json_object_get_integer(request.params.get(), "count", &count) || count < 0) {
    return false;
  }
  const auto from = static_cast<uint64_t>(address);
  const auto bytes = static_cast<uint64_t>(count);
  for (auto region = memory_.rbegin(); region != memory_.rend(); ++region) {
    const uint64_t size = region->bytes.size();
    if (from < region->address || from - region->address > size ||
        bytes > size - (from - region->address)) {
      continue;
    }
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (uint64_t i = 0; i < bytes; ++i) {
      const uint8_t byte = region->bytes[static_cast<std::size_t>(from - region->address + i)];
      hex.push_back(kHex[byte >> 4]);
      hex.push_back(kHex[byte & 15]);
    }
    *result = R"({"value":")" + hex + R"(","return":0})";
    return true;
  }
  return false;
}

void ScriptedDebugger::refuse_value(const std::string& expression) {
  on("OSA_Service_ExpressionEval", "{\"expression\": " + json_quote(expression) + "}")
      .result("{\"return\": 1}")
      .always();
}

std::size_t ScriptedDebugger::asked(const std::string& expression) const {
  std::size_t n = 0;
  for (const std::string& text : strings_of("OSA_Service_ExpressionEval", "expression")) {
    n += text == expression ? 1 : 0;
  }
  return n;
}
