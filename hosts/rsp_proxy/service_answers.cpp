#include "service_answers.h"

#include "rsp_packet.h"

#include <cinttypes>
#include <cstdio>
#include <sys/stat.h>

namespace rsp {

namespace {

// Answers stay far below the 64 KiB that one message to the plug-in may hold.
constexpr int64_t kMaxMemoryBytes = 16384;

JsonPtr failed() {
  JsonPtr r = json_new_object();
  json_object_add_integer(r.get(), "return", 1);
  return r;
}

JsonPtr ok() {
  JsonPtr r = json_new_object();
  json_object_add_integer(r.get(), "return", 0);
  return r;
}

JsonPtr ok_with(const char* name, int64_t value) {
  JsonPtr r = json_new_object();
  json_object_add_integer(r.get(), name, value);
  json_object_add_integer(r.get(), "return", 0);
  return r;
}

JsonPtr ok_with(const char* name, const std::string& text) {
  JsonPtr r = json_new_object();
  json_object_add_string(r.get(), name, text.c_str());
  json_object_add_integer(r.get(), "return", 0);
  return r;
}

bool get_int(const JsonValue& p, const char* name, int64_t& value) {
  return json_object_get_integer(&p, name, &value);
}

bool get_text(const JsonValue& p, const char* name, std::string& text) {
  const char* s = nullptr;
  if (!json_object_get_string(&p, name, &s)) {
    return false;
  }
  text = s;
  return true;
}

bool is_file(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string base_name(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "4 bytes at 0x20000000".
std::string bytes_at(std::size_t count, uint64_t address) {
  char text[64];
  std::snprintf(text, sizeof text, "%zu byte%s at 0x%" PRIx64, count, count == 1 ? "" : "s",
                address);
  return text;
}

// "print /F EXPR": F and EXPR; F is empty for "print EXPR".
bool split_print(const std::string& input, std::string& format, std::string& expression) {
  if (input.rfind("print ", 0) != 0) {
    return false;
  }
  std::string rest = input.substr(6);
  format.clear();
  if (rest.size() >= 2 && rest[0] == '/') {
    const std::size_t blank = rest.find(' ');
    format = rest.substr(1, blank == std::string::npos ? std::string::npos : blank - 1);
    rest = blank == std::string::npos ? std::string() : rest.substr(blank + 1);
  }
  expression = rest;
  return true;
}

} // namespace

ProxyServices::ProxyServices(FormulaEvaluator* evaluator, MemoryCache& memory,
                             LiveRegisters& registers, int address_bytes)
    : evaluator_(evaluator), memory_(memory), registers_(registers), address_bytes_(address_bytes) {
}

void ProxyServices::problem(const std::string& text) {
  if (on_problem && problems_seen_.insert(text).second) {
    on_problem(text);
  }
}

int ProxyServices::core_of(const JsonValue& p) const {
  int64_t core = 0;
  return get_int(p, "coreId", core) && core >= 1 ? static_cast<int>(core - 1) : call_core_;
}

uint64_t ProxyServices::address_of(int64_t address) const {
  const auto a = static_cast<uint64_t>(address);
  return address_bytes_ >= 8 ? a : a & 0xFFFFFFFFu;
}

bool ProxyServices::evaluate(const std::string& expression, int64_t& value, bool report) {
  ++counters_.evaluations;
  if (evaluator_ == nullptr) {
    ++counters_.failed_evaluations;
    return false;
  }
  const EvalOutcome outcome = evaluator_->evaluate(expression, memory_);
  if (!outcome.ok) {
    ++counters_.failed_evaluations;
    if (report) {
      problem(outcome.error.empty() ? "cannot evaluate " + expression : outcome.error);
    }
    return false;
  }
  value = outcome.value;
  return true;
}

JsonPtr ProxyServices::answer(const std::string& method, const JsonValue& p) {
  const std::string prefix = "OSA_Service_";
  if (method.rfind(prefix, 0) != 0) {
    return nullptr;
  }
  const std::string name = method.substr(prefix.size());
  if (name == "ExpressionEval") {
    return expression_eval(p);
  }
  if (name == "StringEval") {
    return string_eval(p);
  }
  if (name == "RegisterRead") {
    return register_read(p);
  }
  if (name == "RegisterWrite") {
    return register_write(p);
  }
  if (name == "MemoryRead") {
    return memory_read(p);
  }
  if (name == "MemoryWrite") {
    return memory_write(p);
  }
  if (name == "MessageDisplay") {
    return message_display(p);
  }
  if (name == "CommandExec") {
    return command_exec(p);
  }
  if (name == "ConfigFileSearch") {
    return config_file_search(p);
  }
  if (name == "SymbolLookup") {
    return symbol_lookup(p);
  }
  if (name == "StructFieldSearch") {
    return struct_field_search(p);
  }
  if (name == "StructSizeGet") {
    return struct_size_get(p);
  }
  if (name == "EnumValueGet") {
    return enum_value_get(p);
  }
  if (name == "MemoryPreFetch") {
    return ok();
  }
  if (name == "TargetStatus") {
    // The plug-in is only ever asked while the target is halted.
    return ok_with("status", 0);
  }
  if (name == "CpuModeGet") {
    return ok_with("inUserMode", 0);
  }
  if (name == "YesNoChoose") {
    // No one to ask in the middle of a call: the plug-in's own default stands.
    int64_t choice = 0;
    get_int(p, "default", choice);
    return ok_with("choice", choice);
  }
  if (name == "SymbolFromAddress" || name == "MacroGet" || name == "ThreadRegisterRead" ||
      name == "ThreadRegisterWrite") {
    return failed();
  }
  return nullptr;
}

JsonPtr ProxyServices::expression_eval(const JsonValue& p) {
  std::string expression;
  int64_t value = 0;
  if (!get_text(p, "expression", expression) || !evaluate(expression, value, true)) {
    return failed();
  }
  return ok_with("output", value);
}

JsonPtr ProxyServices::string_eval(const JsonValue& p) {
  std::string input;
  if (!get_text(p, "input", input)) {
    return failed();
  }
  std::string format;
  std::string expression = input;
  split_print(input, format, expression);
  if (format == "a" || format == "x" || format == "d" || format == "u") {
    int64_t value = 0;
    if (!evaluate(expression, value, true)) {
      return failed();
    }
    char text[32];
    if (format == "d") {
      std::snprintf(text, sizeof text, "%" PRId64, value);
    } else if (format == "u") {
      std::snprintf(text, sizeof text, "%" PRIu64, static_cast<uint64_t>(value));
    } else {
      std::snprintf(text, sizeof text, "0x%" PRIx64, address_of(value));
    }
    return ok_with("value", std::string(text));
  }
  ++counters_.evaluations;
  if (evaluator_ == nullptr) {
    ++counters_.failed_evaluations;
    return failed();
  }
  const TextOutcome outcome = evaluator_->print(expression, memory_);
  if (!outcome.ok) {
    ++counters_.failed_evaluations;
    problem(outcome.error.empty() ? "cannot print " + expression : outcome.error);
    return failed();
  }
  return ok_with("value", outcome.text);
}

JsonPtr ProxyServices::register_read(const JsonValue& p) {
  int64_t reg = 0;
  uint64_t value = 0;
  if (!get_int(p, "register", reg) ||
      !registers_.read_register(core_of(p), static_cast<int>(reg), value)) {
    return failed();
  }
  return ok_with("value", static_cast<int64_t>(value));
}

JsonPtr ProxyServices::register_write(const JsonValue& p) {
  int64_t reg = 0;
  int64_t value = 0;
  if (!get_int(p, "register", reg) || !get_int(p, "value", value) ||
      !registers_.write_register(core_of(p), static_cast<int>(reg), static_cast<uint64_t>(value))) {
    return failed();
  }
  return ok();
}

JsonPtr ProxyServices::memory_read(const JsonValue& p) {
  int64_t address = 0;
  int64_t count = 0;
  if (!get_int(p, "address", address) || !get_int(p, "count", count) || count < 0 ||
      count > kMaxMemoryBytes) {
    return failed();
  }
  std::string bytes(static_cast<std::size_t>(count), '\0');
  std::string error;
  if (!memory_.read(address_of(address), bytes.size(), reinterpret_cast<uint8_t*>(bytes.data()),
                    error)) {
    problem("cannot read " + bytes_at(bytes.size(), address_of(address)) + ": " + error);
    return failed();
  }
  return ok_with("value", hex_encode(bytes));
}

JsonPtr ProxyServices::memory_write(const JsonValue& p) {
  int64_t address = 0;
  int64_t count = 0;
  std::string hex;
  std::string bytes;
  if (!get_int(p, "address", address) || !get_int(p, "count", count) ||
      !get_text(p, "value", hex) || !hex_decode(hex, bytes) ||
      bytes.size() != static_cast<std::size_t>(count)) {
    return failed();
  }
  std::string error;
  if (!memory_.write(address_of(address), reinterpret_cast<const uint8_t*>(bytes.data()),
                     bytes.size(), error)) {
    problem("cannot write " + bytes_at(bytes.size(), address_of(address)) + ": " + error);
    return failed();
  }
  return ok();
}

JsonPtr ProxyServices::message_display(const JsonValue& p) {
  int64_t type = 0;
  std::string text;
  get_int(p, "messageType", type);
  if (!get_text(p, "message", text)) {
    return failed();
  }
  if (on_message) {
    on_message(static_cast<int>(type), text);
  }
  return ok();
}

JsonPtr ProxyServices::command_exec(const JsonValue& p) {
  std::string command;
  if (!get_text(p, "command", command)) {
    return failed();
  }
  int tab = 0;
  int row = 0;
  if (std::sscanf(command.c_str(), " osaexplorer -tabidx %d -mslrow %d", &tab, &row) == 2) {
    static const char* const kKinds[] = {"OS",    "TASK",     "CONTEXT",         "STACK",
                                         "ALARM", "RESOURCE", "MESSAGECONTAINER"};
    const std::string kind = tab >= 0 && tab < 7 ? kKinds[tab] : "kind " + std::to_string(tab);
    if (on_message) {
      on_message(0, "orti-proxy: the OSA Explorer would show row " + std::to_string(row) +
                        " of the " + kind + " list\n");
    }
    return ok_with("output", std::string());
  }
  // There is no debugger command language behind the proxy.
  return failed();
}

JsonPtr ProxyServices::config_file_search(const JsonValue& p) {
  std::string name;
  if (!get_text(p, "fileName", name) || name.empty()) {
    return failed();
  }
  if (name[0] == '/') {
    return is_file(name) ? ok_with("filePath", name) : failed();
  }
  for (const std::string& dir : search_dirs) {
    for (const std::string& candidate : {dir + "/" + name, dir + "/" + base_name(name)}) {
      if (is_file(candidate)) {
        return ok_with("filePath", candidate);
      }
    }
  }
  return failed();
}

JsonPtr ProxyServices::symbol_lookup(const JsonValue& p) {
  std::string name;
  int64_t address = 0;
  if (!get_text(p, "name", name) || !evaluate("&" + name, address, false)) {
    return failed();
  }
  JsonPtr r = json_new_object();
  json_object_add_integer(r.get(), "address", address);
  json_object_add_integer(r.get(), "storageClass", 0);
  json_object_add_integer(r.get(), "return", 0);
  return r;
}

JsonPtr ProxyServices::struct_field_search(const JsonValue& p) {
  std::string type;
  std::string field;
  if (!get_text(p, "structName", type) || !get_text(p, "fieldName", field)) {
    return failed();
  }
  for (const std::string& spelled : {"struct " + type, "union " + type, type}) {
    const std::string member = "((" + spelled + " *)0)->" + field;
    int64_t offset = 0;
    int64_t size = 0;
    if (evaluate("(unsigned long)&" + member, offset, false) &&
        evaluate("sizeof(" + member + ")", size, false)) {
      JsonPtr r = json_new_object();
      json_object_add_integer(r.get(), "byteOffset", offset);
      json_object_add_integer(r.get(), "byteWidth", size);
      json_object_add_integer(r.get(), "bitOffset", 0);
      json_object_add_integer(r.get(), "bitWidth", size * 8);
      json_object_add_integer(r.get(), "return", 0);
      return r;
    }
  }
  return failed();
}

JsonPtr ProxyServices::struct_size_get(const JsonValue& p) {
  std::string type;
  if (!get_text(p, "name", type)) {
    return failed();
  }
  for (const std::string& spelled : {"struct " + type, "union " + type, "enum " + type, type}) {
    int64_t size = 0;
    if (evaluate("sizeof(" + spelled + ")", size, false)) {
      return ok_with("value", size);
    }
  }
  return failed();
}

JsonPtr ProxyServices::enum_value_get(const JsonValue& p) {
  std::string member;
  int64_t value = 0;
  if (!get_text(p, "enumMemberName", member) || !evaluate(member, value, false)) {
    return failed();
  }
  return ok_with("value", value);
}

} // namespace rsp
