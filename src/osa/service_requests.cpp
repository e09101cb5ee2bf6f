// The OSA_Service_* wrappers, the formatted evaluation, the user-mode query and the debugger
// version and debug-mode queries.
#include "osa/service_requests.h"

#include "host_link/jsonrpc.h"
#include "host_link/simple_json/json_write.h"
#include "runtime/hex_digit.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

constexpr std::size_t kMaxEvalText = 2048;

LogIntervalCategory g_osa_plugin_time{"OsaPluginTime"};

// Closes the "OsaPluginTime" interval when the wrapper returns, on every path.
class TimingScope {
public:
  TimingScope(const char* format_text, ...) OSA_PRINTF_LIKE(2, 3) {
    std::va_list args;
    va_start(args, format_text);
    const std::string label = vformat(format_text, args);
    va_end(args);
    log_interval_begin(g_osa_plugin_time, "%s", label.c_str());
  }
  ~TimingScope() { log_interval_end(g_osa_plugin_time); }
  TimingScope(const TimingScope&) = delete;
  TimingScope& operator=(const TimingScope&) = delete;
};

void append_decimal(std::string& out, int64_t v) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
  out.append(digits, end);
}

long long ll(uint64_t v) {
  return static_cast<long long>(v);
}

JsonPtr begin_params(const OSA_ServiceCntx& ctx) {
  JsonPtr params = json_new_object();
  json_object_add_integer(params.get(), "context", static_cast<int64_t>(ctx.context));
  return params;
}

void add_i64(JsonValue* params, const char* key, int64_t v) {
  json_object_add_integer(params, key, v);
}
void add_u64(JsonValue* params, const char* key, uint64_t v) {
  json_object_add_integer(params, key, static_cast<int64_t>(v));
}
void add_i32(JsonValue* params, const char* key, int32_t v) {
  json_object_add_int32(params, key, v);
}
void add_str(JsonValue* params, const char* key, const char* v) {
  json_object_add_string(params, key, v);
}
void add_core(JsonValue* params, uint64_t core) {
  if (core != kNoCore) {
    add_u64(params, "coreId", core + 1);
  }
}
void add_task(JsonValue* params, uint64_t task) {
  if (task != 0) {
    add_u64(params, "taskId", task);
  }
}

// One exchange; the result object, or null when there was none (no answer, an error answer, a
// result that is not an object).
JsonPtr exchange(const char* method, JsonPtr params) {
  JsonPtr result;
  if (!JrSendRequest(jr_service(), method, std::move(params), &result) || !result ||
      result->kind != JsonKind::Object) {
    return nullptr;
  }
  return result;
}

int32_t status_of(const JsonValue* result) {
  int64_t v = 0;
  if (!json_object_get_integer(result, "return", &v)) {
    return 1;
  }
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
}

bool read_i64(const JsonValue* result, const char* key, int64_t* out) {
  return json_object_get_integer(result, key, out);
}

bool read_str(const JsonValue* result, const char* key, std::string* out) {
  const char* text = nullptr;
  if (!json_object_get_string(result, key, &text)) {
    return false;
  }
  *out = text;
  return true;
}

// An output the caller asked for (out not null) must be in the result with the right kind; one
// it did not ask for is not read. out is written only when the member was read.
bool read_wanted_str(const JsonValue* result, const char* key, std::string* out) {
  return out == nullptr || read_str(result, key, out);
}

// The same for integer outputs, truncated to the width of out.
template <typename T> bool read_wanted_int(const JsonValue* result, const char* key, T* out) {
  if (out == nullptr) {
    return true;
  }
  int64_t v = 0;
  if (!read_i64(result, key, &v)) {
    return false;
  }
  *out = static_cast<T>(static_cast<uint64_t>(v));
  return true;
}

// Sends a request whose only output is "return".
int32_t send_plain(const char* method, JsonPtr params) {
  JsonPtr result = exchange(method, std::move(params));
  return result ? status_of(result.get()) : 1;
}

bool byte_orders_differ(const OSA_ServiceCntx& ctx) {
  return target_flag(ctx, kTargetBigEndianTarget) != target_flag(ctx, kTargetBigEndianHost);
}

void reverse_elements(uint8_t* bytes, std::size_t length, uint64_t size) {
  for (std::size_t at = 0; at + size <= length; at += size) {
    for (std::size_t i = 0, j = size - 1; i < j; ++i, --j) {
      std::swap(bytes[at + i], bytes[at + j]);
    }
  }
}

// count * size as a byte count, false when it does not fit the wire's signed 64 bits.
bool byte_count(uint64_t count, uint64_t size, uint64_t* bytes) {
  if (size != 0 && count > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) / size) {
    return false;
  }
  *bytes = count * size;
  return true;
}

// A whole text read as a number with C base prefixes; false on no digits or trailing text.
bool parse_whole_integer(const std::string& text, long long* out) {
  if (text.empty()) {
    return false;
  }
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 0);
  if (end == text.c_str() || *end != '\0' || errno == ERANGE) {
    return false;
  }
  *out = v;
  return true;
}

bool parse_leading_integer(const std::string& text, long long* out) {
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 0);
  if (end == text.c_str()) {
    return false;
  }
  *out = v;
  return true;
}

} // namespace

LogIntervalCategory& osa_plugin_time_category() {
  return g_osa_plugin_time;
}

int32_t OSA_Service_RegisterRead(OSA_ServiceCntx* ctx, uint64_t core, int64_t reg, int32_t width,
                                 uint64_t* value, int32_t fromDebugger, uint64_t taskId) {
  if (ctx == nullptr) {
    return 1;
  }
  TimingScope timing("RegRead(%lld)", static_cast<long long>(reg));
  JsonPtr params = begin_params(*ctx);
  add_i64(params.get(), "register", reg);
  add_i32(params.get(), "width", width);
  add_i32(params.get(), "fromDebugger", fromDebugger);
  add_core(params.get(), core);
  add_task(params.get(), taskId);
  JsonPtr result = exchange("OSA_Service_RegisterRead", std::move(params));
  if (!result) {
    return 1;
  }
  int64_t v = 0;
  if (value != nullptr && read_i64(result.get(), "value", &v)) {
    *value = static_cast<uint64_t>(v);
  }
  return status_of(result.get());
}

int32_t OSA_Service_RegisterWrite(OSA_ServiceCntx* ctx, uint64_t core, int64_t reg, int32_t width,
                                  uint64_t value, int32_t forMemoryAccess, int32_t fromDebugger,
                                  uint64_t taskId) {
  if (ctx == nullptr) {
    return 1;
  }
  TimingScope timing("RegWrite(%lld)", static_cast<long long>(reg));
  JsonPtr params = begin_params(*ctx);
  add_i64(params.get(), "register", reg);
  add_i32(params.get(), "width", width);
  add_i32(params.get(), "forMemoryAccess", forMemoryAccess);
  add_i32(params.get(), "fromDebugger", fromDebugger);
  add_u64(params.get(), "value", value);
  add_core(params.get(), core);
  add_task(params.get(), taskId);
  return send_plain("OSA_Service_RegisterWrite", std::move(params));
}

int32_t OSA_Service_ThreadRegisterRead(OSA_ServiceCntx* ctx, uint64_t threadId, int64_t reg,
                                       uint64_t* value, uint64_t core) {
  if (ctx == nullptr) {
    return 1;
  }
  JsonPtr params = begin_params(*ctx);
  add_u64(params.get(), "threadId", threadId);
  add_i64(params.get(), "register", reg);
  add_core(params.get(), core);
  JsonPtr result = exchange("OSA_Service_ThreadRegisterRead", std::move(params));
  int64_t v = 0;
  if (!result || !read_i64(result.get(), "value", &v)) {
    return 1;
  }
  if (value != nullptr) {
    *value = static_cast<uint64_t>(v);
  }
  return status_of(result.get());
}

int32_t OSA_Service_ThreadRegisterWrite(OSA_ServiceCntx* ctx, uint64_t threadId, int64_t reg,
                                        uint64_t value, uint64_t core) {
  if (ctx == nullptr) {
    return 1;
  }
  JsonPtr params = begin_params(*ctx);
  add_u64(params.get(), "threadId", threadId);
  add_i64(params.get(), "register", reg);
  add_u64(params.get(), "value", value);
  add_core(params.get(), core);
  return send_plain("OSA_Service_ThreadRegisterWrite", std::move(params));
}

int32_t OSA_Service_MemoryRead(OSA_ServiceCntx* ctx, int32_t memorySpace, uint64_t address,
                               uint64_t count, uint64_t size, uint8_t* buffer, uint64_t taskId,
                               uint64_t core) {
  uint64_t bytes = 0;
  if (ctx == nullptr || !byte_count(count, size, &bytes)) {
    return 1;
  }
  TimingScope timing("MemRead(0x%llx, count %lld, size %lld)", ll(address), ll(count), ll(size));
  JsonPtr params = begin_params(*ctx);
  add_i64(params.get(), "memorySpace", memorySpace);
  add_u64(params.get(), "address", address);
  add_u64(params.get(), "count", bytes);
  add_task(params.get(), taskId);
  add_core(params.get(), core);
  JsonPtr result = exchange("OSA_Service_MemoryRead", std::move(params));
  if (!result) {
    return 1;
  }
  if (buffer != nullptr) {
    const char* hex = nullptr;
    if (!json_object_get_string(result.get(), "value", &hex)) {
      return 1;
    }
    const std::string digits(hex);
    if (digits.size() / 2 != bytes || digits.size() % 2 != 0) {
      return 1;
    }
    std::vector<uint8_t> decoded(bytes);
    for (uint64_t i = 0; i < bytes; ++i) {
      const int high = hex_digit_value(digits[2 * i]);
      const int low = hex_digit_value(digits[2 * i + 1]);
      if (high < 0 || low < 0) {
        return 1;
      }
      decoded[i] = static_cast<uint8_t>(high * 16 + low);
    }
    if (size >= 2 && size <= 8 && byte_orders_differ(*ctx)) {
      reverse_elements(decoded.data(), decoded.size(), size);
    }
    std::copy(decoded.begin(), decoded.end(), buffer);
  }
  return status_of(result.get());
}

int32_t OSA_Service_MemoryWrite(OSA_ServiceCntx* ctx, int32_t memorySpace, uint64_t address,
                                uint64_t count, uint64_t size, const uint8_t* data, uint64_t core) {
  uint64_t bytes = 0;
  if (ctx == nullptr || !byte_count(count, size, &bytes) || (data == nullptr && bytes != 0)) {
    return 1;
  }
  TimingScope timing("MemWrite(0x%llx, count %lld, size %lld)", ll(address), ll(count), ll(size));
  std::vector<uint8_t> copy(data, data + bytes);
  if (size >= 2 && size <= 8 && byte_orders_differ(*ctx)) {
    reverse_elements(copy.data(), copy.size(), size);
  }
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(copy.size() * 2);
  for (uint8_t byte : copy) {
    hex.push_back(kHex[byte >> 4]);
    hex.push_back(kHex[byte & 15]);
  }
  JsonPtr params = begin_params(*ctx);
  add_i64(params.get(), "memorySpace", memorySpace);
  add_u64(params.get(), "address", address);
  add_u64(params.get(), "count", bytes);
  add_str(params.get(), "value", hex.c_str());
  add_core(params.get(), core);
  return send_plain("OSA_Service_MemoryWrite", std::move(params));
}

int32_t OSA_Service_MemoryPreFetch(OSA_ServiceCntx* ctx, int32_t memorySpace, uint64_t address,
                                   uint64_t count, uint64_t size, uint64_t stride, uint64_t core) {
  if (ctx == nullptr) {
    return 1;
  }
  TimingScope timing("MemPreFetch(0x%llx, count %lld, size %lld)", ll(address), ll(count),
                     ll(size));
  JsonPtr params = begin_params(*ctx);
  add_i64(params.get(), "memorySpace", memorySpace);
  add_u64(params.get(), "address", address);
  add_u64(params.get(), "count", count);
  add_u64(params.get(), "size", size);
  add_u64(params.get(), "stride", stride);
  add_core(params.get(), core);
  return send_plain("OSA_Service_MemoryPreFetch", std::move(params));
}

int32_t OSA_Service_ExpressionEval(OSA_ServiceCntx* ctx, const char* expression, TypedValue* value,
                                   int64_t searchFlag, uint64_t core) {
  if (ctx == nullptr) {
    return 1;
  }
  TimingScope timing("ExprEval(%s)", expression != nullptr ? expression : "(null)");
  JsonPtr params = begin_params(*ctx);
  add_str(params.get(), "expression", expression);
  add_i64(params.get(), "valueType", kValueUInt64);
  add_i64(params.get(), "searchFlag", searchFlag);
  add_core(params.get(), core);
  JsonPtr result = exchange("OSA_Service_ExpressionEval", std::move(params));
  if (!result) {
    return 1;
  }
  if (value != nullptr) {
    const uint32_t code = value->code;
    if (typed_value_code_is_integer(code)) {
      int64_t number = 0;
      if (!read_i64(result.get(), "output", &number)) {
        return 1;
      }
      typed_value_store_u64(*value, static_cast<uint64_t>(number));
    } else if (code == kValueText) {
      std::string text;
      if (!read_str(result.get(), "output", &text)) {
        return 1;
      }
      typed_value_store_text(*value, std::move(text));
    } else if (code == kValueFloat || code == kValueDouble) {
      std::string text;
      if (!read_str(result.get(), "output", &text) || text.empty()) {
        return 1;
      }
      if (code == kValueFloat) {
        float number = 0;
        if (std::sscanf(text.c_str(), "%f", &number) != 1) {
          return 1;
        }
        typed_value_store_float(*value, number);
      } else {
        double number = 0;
        if (std::sscanf(text.c_str(), "%lf", &number) != 1) {
          return 1;
        }
        typed_value_store_double(*value, number);
      }
    } else {
      return 1;
    }
  }
  return status_of(result.get());
}

int32_t OSA_Service_StringEval(OSA_ServiceCntx* ctx, const char* input, std::string* value,
                               uint64_t core) {
  if (ctx == nullptr) {
    return 1;
  }
  TimingScope timing("StrEval(%s)", input != nullptr ? input : "(null)");
  JsonPtr params = begin_params(*ctx);
  add_str(params.get(), "input", input);
  add_core(params.get(), core);
  JsonPtr result = exchange("OSA_Service_StringEval", std::move(params));
  std::string text;
  if (!result || !read_str(result.get(), "value", &text)) {
    return 1;
  }
  if (value != nullptr) {
    *value = std::move(text);
  }
  return status_of(result.get());
}

int32_t OSA_Service_CommandExec(OSA_ServiceCntx* ctx, const char* command, int64_t outputMask,
                                std::string* output, int64_t searchFlag, uint64_t core) {
  if (ctx == nullptr) {
    return 1;
  }
  TimingScope timing("ExecCmd(%s)", command != nullptr ? command : "(null)");
  JsonPtr params = begin_params(*ctx);
  add_str(params.get(), "command", command);
  add_i64(params.get(), "outputMask", outputMask);
  add_i32(params.get(), "allowBpOps", static_cast<int32_t>(ctx->allowBpOps));
  add_i64(params.get(), "searchFlag", searchFlag);
  add_core(params.get(), core);
  JsonPtr result = exchange("OSA_Service_CommandExec", std::move(params));
  if (!result) {
    return 1;
  }
  if (!read_wanted_str(result.get(), "output", output)) {
    return 1;
  }
  return status_of(result.get());
}

int32_t OSA_Service_SymbolLookup(OSA_ServiceCntx* ctx, const char* name, uint64_t* address,
                                 uint32_t* storageClass, uint64_t core) {
  if (ctx == nullptr) {
    return 1;
  }
  TimingScope timing("Lookup(%s)", name != nullptr ? name : "(null)");
  JsonPtr params = begin_params(*ctx);
  add_str(params.get(), "name", name);
  add_core(params.get(), core);
  JsonPtr result = exchange("OSA_Service_SymbolLookup", std::move(params));
  if (!result) {
    return 1;
  }
  if (!read_wanted_int(result.get(), "address", address) ||
      !read_wanted_int(result.get(), "storageClass", storageClass)) {
    return 1;
  }
  return status_of(result.get());
}

int32_t OSA_Service_SymbolFromAddress(OSA_ServiceCntx* ctx, uint64_t address, int64_t symbolType,
                                      std::string* name, uint64_t core) {
  if (ctx == nullptr) {
    return 1;
  }
  TimingScope timing("SymFAddr(0x%llx)", ll(address));
  JsonPtr params = begin_params(*ctx);
  add_u64(params.get(), "address", address);
  add_i64(params.get(), "symbolType", symbolType);
  add_core(params.get(), core);
  JsonPtr result = exchange("OSA_Service_SymbolFromAddress", std::move(params));
  if (!result) {
    return 1;
  }
  if (!read_wanted_str(result.get(), "name", name)) {
    return 1;
  }
  return status_of(result.get());
}

int32_t OSA_Service_StructFieldSearch(OSA_ServiceCntx* ctx, const char* structName,
                                      const char* fieldName, int32_t useOsaSym, int32_t* byteOffset,
                                      int32_t* byteWidth, int32_t* bitOffset, int32_t* bitWidth,
                                      uint64_t core) {
  if (ctx == nullptr) {
    return 1;
  }
  TimingScope timing("StructField(%s.%s)", structName != nullptr ? structName : "(null)",
                     fieldName != nullptr ? fieldName : "(null)");
  JsonPtr params = begin_params(*ctx);
  add_str(params.get(), "structName", structName);
  add_str(params.get(), "fieldName", fieldName);
  add_i32(params.get(), "useOsaSym", useOsaSym);
  add_core(params.get(), core);
  JsonPtr result = exchange("OSA_Service_StructFieldSearch", std::move(params));
  if (!result) {
    return 1;
  }
  const struct {
    const char* key;
    int32_t* out;
  } outputs[] = {{"byteOffset", byteOffset},
                 {"byteWidth", byteWidth},
                 {"bitOffset", bitOffset},
                 {"bitWidth", bitWidth}};
  for (const auto& output : outputs) {
    if (output.out == nullptr) {
      continue;
    }
    *output.out = -1;
    int64_t v = 0;
    if (!read_i64(result.get(), output.key, &v)) {
      return 1;
    }
    *output.out = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
  }
  return status_of(result.get());
}

int32_t OSA_Service_MacroGet(OSA_ServiceCntx* ctx, const char* macroName, int32_t useOsaSym,
                             std::string* value, uint64_t core) {
  if (ctx == nullptr) {
    return 1;
  }
  TimingScope timing("MacroGet(%s)", macroName != nullptr ? macroName : "(null)");
  JsonPtr params = begin_params(*ctx);
  add_str(params.get(), "macroName", macroName);
  add_i32(params.get(), "useOsaSym", useOsaSym);
  add_core(params.get(), core);
  JsonPtr result = exchange("OSA_Service_MacroGet", std::move(params));
  if (!result) {
    return 1;
  }
  if (!read_wanted_str(result.get(), "value", value)) {
    return 1;
  }
  return status_of(result.get());
}

int32_t osa_macro_get_value(OSA_ServiceCntx* ctx, const char* macroName, int32_t useOsaSym,
                            TypedValue* value, uint64_t core) {
  std::string text;
  const int32_t status = OSA_Service_MacroGet(ctx, macroName, useOsaSym, &text, core);
  if (status != 0 || value == nullptr) {
    return status;
  }
  if (value->code == kValueText) {
    typed_value_store_text(*value, std::move(text));
    return 0;
  }
  char* end = nullptr;
  const unsigned long long number = std::strtoull(text.c_str(), &end, 0);
  if (end == text.c_str() || !typed_value_store_u64(*value, number)) {
    return 1;
  }
  return 0;
}

int32_t OSA_Service_EnumValueGet(OSA_ServiceCntx* ctx, const char* enumName,
                                 const char* enumMemberName, int32_t useOsaSym, int64_t* value,
                                 uint64_t core) {
  if (ctx == nullptr) {
    return 1;
  }
  TimingScope timing("EnumGet(%s)", enumName != nullptr ? enumName : "(null)");
  JsonPtr params = begin_params(*ctx);
  add_str(params.get(), "enumName", enumName);
  add_str(params.get(), "enumMemberName", enumMemberName);
  add_i32(params.get(), "useOsaSym", useOsaSym);
  add_core(params.get(), core);
  JsonPtr result = exchange("OSA_Service_EnumValueGet", std::move(params));
  if (!result) {
    return 1;
  }
  if (!read_wanted_int(result.get(), "value", value)) {
    return 1;
  }
  return status_of(result.get());
}

int32_t OSA_Service_StructSizeGet(OSA_ServiceCntx* ctx, const char* name, int32_t useOsaSym,
                                  int32_t* size, uint64_t core) {
  if (ctx == nullptr) {
    return 1;
  }
  TimingScope timing("StructSize(%s)", name != nullptr ? name : "(null)");
  JsonPtr params = begin_params(*ctx);
  add_str(params.get(), "name", name);
  add_i32(params.get(), "useOsaSym", useOsaSym);
  add_core(params.get(), core);
  JsonPtr result = exchange("OSA_Service_StructSizeGet", std::move(params));
  if (!result) {
    return 1;
  }
  if (!read_wanted_int(result.get(), "value", size)) {
    return 1;
  }
  return status_of(result.get());
}

int32_t OSA_Service_TargetStatus(OSA_ServiceCntx* ctx, int32_t* status, uint64_t core) {
  if (ctx == nullptr) {
    return 1;
  }
  JsonPtr params = begin_params(*ctx);
  add_core(params.get(), core);
  JsonPtr result = exchange("OSA_Service_TargetStatus", std::move(params));
  int64_t v = 0;
  if (!result || !read_i64(result.get(), "status", &v)) {
    return 1;
  }
  if (status != nullptr) {
    *status = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
  }
  return status_of(result.get());
}

int32_t osa_message_display_text(OSA_ServiceCntx* ctx, int32_t messageType, const char* text) {
  if (text == nullptr) {
    return 0;
  }
  if (ctx == nullptr) {
    return 1;
  }
  if (ctx->held_messages != nullptr && ctx->calls_in_progress == ctx->held_depth) {
    ctx->held_messages->push_back({messageType, std::string(text)});
    return 0;
  }
  // The plug-in shows many lines a command (help, traces), each a request of its own: written
  // straight into the request text, the same bytes as the parameter tree gave.
  struct MessageParams {
    int64_t context;
    int32_t type;
    const char* text;
  } params{static_cast<int64_t>(ctx->context), messageType, text};
  JsonPtr result;
  if (!JrSendRequestWritten(
          jr_service(), "OSA_Service_MessageDisplay",
          [](std::string& out, const void* data) {
            const auto& p = *static_cast<const MessageParams*>(data);
            out += "{ \"context\" : ";
            append_decimal(out, p.context);
            out += ", \"messageType\" : ";
            append_decimal(out, p.type);
            out += ", \"message\" : ";
            json_write_string(out, p.text);
            out += " }";
          },
          &params, &result) ||
      !result || result->kind != JsonKind::Object) {
    return 1;
  }
  return status_of(result.get());
}

int32_t OSA_Service_MessageDisplayV(OSA_ServiceCntx* ctx, int32_t messageType,
                                    const char* format_text, std::va_list args) {
  if (format_text == nullptr) {
    return 0;
  }
  if (ctx == nullptr) {
    return 1;
  }
  const std::string message = vformat(format_text, args);
  return osa_message_display_text(ctx, messageType, message.c_str());
}

int32_t OSA_Service_MessageDisplay(OSA_ServiceCntx* ctx, int32_t messageType,
                                   const char* format_text, ...) {
  std::va_list args;
  va_start(args, format_text);
  const int32_t status = OSA_Service_MessageDisplayV(ctx, messageType, format_text, args);
  va_end(args);
  return status;
}

int32_t OSA_Service_YesNoChoose(OSA_ServiceCntx* ctx, int32_t* choice, const char* format_text,
                                ...) {
  if (ctx == nullptr || choice == nullptr) {
    return 1;
  }
  std::va_list args;
  va_start(args, format_text);
  const std::string message = vformat(format_text, args);
  va_end(args);
  JsonPtr params = begin_params(*ctx);
  add_i32(params.get(), "default", *choice);
  add_str(params.get(), "message", message.c_str());
  JsonPtr result = exchange("OSA_Service_YesNoChoose", std::move(params));
  int64_t v = 0;
  if (!result || !read_i64(result.get(), "choice", &v)) {
    return 1;
  }
  *choice = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
  return status_of(result.get());
}

int32_t OSA_Service_ConfigFileSearch(OSA_ServiceCntx* ctx, const char* fileName, int64_t permission,
                                     int32_t onlySearchDistDir, std::string* filePath) {
  if (ctx == nullptr) {
    return 1;
  }
  JsonPtr params = begin_params(*ctx);
  add_str(params.get(), "fileName", fileName);
  add_i64(params.get(), "permission", permission);
  add_i32(params.get(), "onlySearchDistDir", onlySearchDistDir);
  JsonPtr result = exchange("OSA_Service_ConfigFileSearch", std::move(params));
  std::string path;
  if (!result || !read_str(result.get(), "filePath", &path)) {
    return 1;
  }
  if (filePath != nullptr) {
    *filePath = std::move(path);
  }
  return status_of(result.get());
}

int32_t OSA_Service_CpuModeGet(OSA_ServiceCntx* ctx, uint64_t core, uint32_t* inUserMode) {
  if (ctx == nullptr) {
    return 1;
  }
  JsonPtr params = begin_params(*ctx);
  add_u64(params.get(), "coreId", core + 1);
  JsonPtr result = exchange("OSA_Service_CpuModeGet", std::move(params));
  if (!result) {
    return 1;
  }
  if (!read_wanted_int(result.get(), "inUserMode", inUserMode)) {
    return 1;
  }
  return status_of(result.get());
}

int32_t osa_eval_formatted_v(OSA_ServiceCntx* ctx, TypedValue* value, const char* format_text,
                             std::va_list args) {
  if (value == nullptr) {
    return 1;
  }
  std::string text = vformat(format_text, args);
  if (text.size() > kMaxEvalText) {
    text.resize(kMaxEvalText);
  }
  if (value->code == kValueText) {
    // Concatenated, not formatted: the text may hold "%".
    const std::string input = "print /a " + text + "+0";
    std::string answer;
    const int32_t status = OSA_Service_StringEval(ctx, input.c_str(), &answer);
    if (status == 0) {
      typed_value_store_text(*value, std::move(answer));
    }
    return status;
  }
  return OSA_Service_ExpressionEval(ctx, text.c_str(), value, 0, kNoCore);
}

int32_t osa_eval_formatted(OSA_ServiceCntx* ctx, TypedValue* value, const char* format_text, ...) {
  std::va_list args;
  va_start(args, format_text);
  const int32_t status = osa_eval_formatted_v(ctx, value, format_text, args);
  va_end(args);
  return status;
}

bool osa_core_in_user_mode(OSA_ServiceCntx* ctx, uint64_t core) {
  if (ctx == nullptr) {
    return false;
  }
  if (core == kNoCore || ctx->unifiedMcOsa == 0) {
    return target_flag(*ctx, kTargetInUserMode);
  }
  if (const CpuModeEntry* entry = cpu_mode_cache_find(ctx->cpu_modes, core)) {
    return entry->inUserMode != 0;
  }
  uint32_t in_user_mode = 0;
  if (OSA_Service_CpuModeGet(ctx, core, &in_user_mode) != 0) {
    if (target_flag(*ctx, kTargetLogCommunication)) {
      OSA_Service_MessageDisplay(
          ctx, 2, "OSA plugin: Failed to find CPU mode information for core %lld (0-based).\n",
          ll(core));
    }
    return false;
  }
  cpu_mode_cache_store(ctx->cpu_modes, core, in_user_mode);
  return in_user_mode != 0;
}

bool osa_host_version(OSA_ServiceCntx* ctx, int32_t* major, int32_t* minor, int32_t* micro) {
  if (ctx == nullptr) {
    return false;
  }
  bool ok = true;
  if (ctx->tarnoMajor < 1) {
    const struct {
      const char* command;
      int32_t* slot;
    } queries[] = {{"mprintf(\"%d\", _TARNO_MAJOR_VERSION)", &ctx->tarnoMajor},
                   {"mprintf(\"%d\", _TARNO_MINOR_VERSION)", &ctx->tarnoMinor},
                   {"mprintf(\"%d\", _TARNO_MICRO_VERSION)", &ctx->tarnoMicro}};
    for (const auto& query : queries) {
      std::string output;
      long long number = 0;
      if (OSA_Service_CommandExec(ctx, query.command, 1, &output) == 0 &&
          parse_leading_integer(output, &number)) {
        *query.slot = static_cast<int32_t>(number);
      } else {
        ok = false;
      }
    }
  }
  if (major != nullptr) {
    *major = ctx->tarnoMajor;
  }
  if (minor != nullptr) {
    *minor = ctx->tarnoMinor;
  }
  if (micro != nullptr) {
    *micro = ctx->tarnoMicro;
  }
  return ok;
}

int32_t osa_debug_mode(OSA_ServiceCntx* ctx) {
  if (ctx == nullptr) {
    return -1;
  }
  if (ctx->debugMode >= 0) {
    return ctx->debugMode;
  }
  auto query = [ctx](const char* command, long long* out) {
    std::string output;
    return OSA_Service_CommandExec(ctx, command, 1, &output) == 0 &&
           parse_whole_integer(output, out);
  };
  long long r = 0, t = 0, d = 0;
  if (!query("mprintf(\"%d\", $_RTSERV_VER)", &r) || !query("mprintf(\"%d\", $_TARGET_OS)", &t)) {
    return -1;
  }
  int32_t major = 0;
  osa_host_version(ctx, &major, nullptr, nullptr);
  if (major > 6 && !query("mprintf(\"%d\", $_IS_SYSTEM_DUMP)", &d)) {
    return -1;
  }
  ctx->debugMode = ((r > 0 || d != 0) && t == 5) ? 1 : 0;
  return ctx->debugMode;
}
