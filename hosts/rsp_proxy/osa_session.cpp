#include "osa_session.h"

#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_write.h"

namespace rsp {

namespace {

constexpr int64_t kContext = 1;
// The plug-in reads every message into a buffer of this many bytes (and a NUL).
constexpr std::size_t kMaxPluginMessage = 65535;
constexpr int kMaxCustomAttributes = 256;
constexpr int kTaskKind = 1;
constexpr int kNumberAttribute = 1;
constexpr int kPriorityAttribute = 3;

JsonPtr object() {
  return json_new_object();
}

JsonPtr with(JsonPtr o, const char* name, int64_t value) {
  json_object_add_integer(o.get(), name, value);
  return o;
}

JsonPtr with(JsonPtr o, const char* name, const std::string& value) {
  json_object_add_string(o.get(), name, value.c_str());
  return o;
}

int status_of(const JsonValue* result) {
  int64_t status = -1;
  if (result == nullptr || !json_object_get_integer(result, "return", &status)) {
    return -1;
  }
  return static_cast<int>(status);
}

std::string response_text(const JsonValue* id, const JsonValue* result, bool unknown) {
  std::string text = "{\"jsonrpc\":\"2.0\",";
  if (unknown) {
    text += "\"error\":{\"code\":-32601,\"message\":\"unknown message\"}";
  } else {
    text += "\"result\":";
    json_write(text, *result);
  }
  text += ",\"id\":";
  if (id != nullptr) {
    json_write(text, *id);
  } else {
    text += "null";
  }
  text += "}";
  return text;
}

} // namespace

bool OsaSession::start(const std::vector<std::string>& argv, std::string& error) {
  if (!process_.start(argv, error)) {
    gone_ = error;
    return false;
  }
  gone_.clear();
  return true;
}

void OsaSession::close() {
  if (usable()) {
    // A plug-in on its way out gets little time: ending the proxy must not wait long.
    const auto saved = timeout_;
    timeout_ = std::min(timeout_, std::chrono::milliseconds(1000));
    call("OSA_Client_OsaCleanup", object());
    call("OSA_Client_Exit", object(), false);
    timeout_ = saved;
  }
  process_.stop();
  if (gone_.empty()) {
    gone_ = "the plug-in was stopped";
  }
}

void OsaSession::fail(const std::string& why) {
  if (gone_.empty()) {
    gone_ = why;
  }
  process_.stop();
}

bool OsaSession::exchange(const std::string& text, JsonPtr& response) {
  std::string why;
  const auto deadline = [this] { return Clock::now() + timeout_; };
  if (!process_.send(text, deadline(), why)) {
    fail(why);
    return false;
  }
  for (;;) {
    std::string message;
    const auto started = Clock::now();
    const bool got = process_.receive(message, deadline(), why);
    counters_.waiting += Clock::now() - started;
    if (!got) {
      fail(why);
      return false;
    }
    std::string error;
    JsonPtr parsed = json_parse(message.c_str(), error);
    if (!parsed || parsed->kind != JsonKind::Object) {
      fail("the plug-in sent a message that is not a JSON object");
      return false;
    }
    if (json_object_find(parsed.get(), "method") >= 0) {
      ++counters_.requests;
      serve(*parsed);
      if (!usable()) {
        return false;
      }
      continue;
    }
    response = std::move(parsed);
    return true;
  }
}

void OsaSession::serve(JsonValue& request) {
  const char* method = nullptr;
  json_object_get_string(&request, "method", &method);
  const JsonValue* params = nullptr;
  json_object_get(&request, "params", &params);
  const JsonValue* id = nullptr;
  json_object_get(&request, "id", &id);
  JsonPtr empty = json_new_object();
  JsonPtr result;
  if (method != nullptr) {
    result = answers_.answer(
        method, params != nullptr && params->kind == JsonKind::Object ? *params : *empty);
  }
  std::string text = response_text(id, result.get(), result == nullptr);
  if (text.size() > kMaxPluginMessage) {
    JsonPtr failed = with(json_new_object(), "return", 1);
    text = response_text(id, failed.get(), false);
  }
  std::string why;
  if (!process_.send(text, Clock::now() + timeout_, why)) {
    fail(why);
  }
}

JsonPtr OsaSession::call(const std::string& method, JsonPtr params, bool with_context) {
  if (!usable()) {
    return nullptr;
  }
  JsonPtr body = json_new_object();
  if (with_context) {
    json_object_add_integer(body.get(), "context", kContext);
    if (host_core_ >= 0 && (!params || json_object_find(params.get(), "hostCoreId") < 0)) {
      json_object_add_integer(body.get(), "hostCoreId", host_core_ + 1);
    }
  }
  if (params) {
    for (auto& member : params->members) {
      json_object_add(body.get(), member->name.c_str(), std::move(member->value));
    }
  }
  std::string text = "{\"jsonrpc\":\"2.0\",\"method\":";
  json_write_string(text, method.c_str());
  text += ",\"params\":";
  json_write(text, *body);
  text += ",\"id\":" + std::to_string(next_id_++) + "}";
  ++counters_.calls;
  JsonPtr response;
  if (!exchange(text, response)) {
    return nullptr;
  }
  JsonPtr result;
  if (!json_object_take(response.get(), "result", &result) || result->kind != JsonKind::Object) {
    return nullptr;
  }
  return result;
}

int OsaSession::call_status(const std::string& method, JsonPtr params) {
  JsonPtr result = call(method, std::move(params));
  return status_of(result.get());
}

bool OsaSession::init(int cpu_type, bool big_endian_target, int core_count) {
  if (call_status("OSA_Client_OsaInit", with(with(object(), "versionRequired", 2),
                                             "treatMasterProcessAsKernel", 1)) != 0) {
    return false;
  }
  JsonPtr params = object();
  json_object_add_integer(params.get(), "majorCpuType", cpu_type);
  json_object_add_integer(params.get(), "minorCpuType", 0);
  json_object_add_integer(params.get(), "bigEndianTarget", big_endian_target ? 1 : 0);
  json_object_add_integer(params.get(), "bigEndianHost",
                          std::endian::native == std::endian::big ? 1 : 0);
  json_object_add_integer(params.get(), "coreCount", core_count);
  if (core_count > 1) {
    JsonPtr ids = json_new_array();
    for (int core = 0; core < core_count; ++core) {
      json_array_append(ids.get(), json_new_integer(core + 1));
    }
    json_object_add(params.get(), "coreIdList", std::move(ids));
  }
  return call_status("OSA_Client_TargetInit", std::move(params)) == 0;
}

int OsaSession::command(const std::string& text) {
  return call_status("OSA_Client_OsaCmd_Execute", with(object(), "command", text));
}

bool OsaSession::notify_stop() {
  return call_status("OSA_Client_TargetNotify", with(object(), "notice", 1)) == 0;
}

std::optional<int64_t> OsaSession::current_task(int core) {
  JsonPtr params = with(with(object(), "checkInKernel", 0), "coreId", core + 1);
  json_object_add_integer(params.get(), "hostCoreId", core + 1);
  JsonPtr result = call("OSA_Client_CurrentTaskGet", std::move(params));
  int64_t task = 0;
  if (status_of(result.get()) != 0 || !json_object_get_integer(result.get(), "taskId", &task)) {
    return std::nullopt;
  }
  return task;
}

std::optional<std::string> OsaSession::task_name(int64_t task) {
  JsonPtr result = call("OSA_Client_TaskNameGet", with(object(), "taskId", task));
  const char* name = nullptr;
  if (status_of(result.get()) != 0 || !json_object_get_string(result.get(), "name", &name)) {
    return std::nullopt;
  }
  return std::string(name);
}

std::optional<std::string> OsaSession::task_status(int64_t task) {
  JsonPtr result = call("OSA_Client_TaskStatusGet", with(object(), "taskId", task));
  const char* status = nullptr;
  if (status_of(result.get()) != 0 || !json_object_get_string(result.get(), "status", &status)) {
    return std::nullopt;
  }
  return std::string(status);
}

int OsaSession::task_register(int64_t task, int reg, int core, uint64_t& value) {
  JsonPtr params = with(with(object(), "taskId", task), "register", reg);
  if (core >= 0) {
    json_object_add_integer(params.get(), "hostCoreId", core + 1);
  }
  JsonPtr result = call("OSA_Client_TaskRegisterRead", std::move(params));
  const int status = status_of(result.get());
  int64_t v = 0;
  if (status == 0 && !json_object_get_integer(result.get(), "value", &v)) {
    return 1;
  }
  value = static_cast<uint64_t>(v);
  return status < 0 ? 1 : status;
}

int OsaSession::write_task_register(int64_t task, int reg, int core, uint64_t value) {
  JsonPtr params = with(with(object(), "taskId", task), "register", reg);
  json_object_add_integer(params.get(), "value", static_cast<int64_t>(value));
  if (core >= 0) {
    json_object_add_integer(params.get(), "hostCoreId", core + 1);
  }
  const int status = call_status("OSA_Client_TaskRegisterWrite", std::move(params));
  return status < 0 ? 1 : status;
}

std::optional<std::string> OsaSession::attribute(int kind, int attribute, bool as_number) {
  JsonPtr params = with(with(object(), "objTypeId", kind), "objAtrId", attribute);
  json_object_add_integer(params.get(), "valueType", as_number ? 11 : 0);
  JsonPtr result = call("OSA_Client_ObjectListAttribute", std::move(params));
  const JsonValue* value = nullptr;
  if (status_of(result.get()) != 0 || !json_object_get(result.get(), "objAtrValue", &value)) {
    return std::nullopt;
  }
  if (value->kind == JsonKind::Integer) {
    return std::to_string(value->integer);
  }
  if (value->kind == JsonKind::String) {
    return value->string;
  }
  return std::nullopt;
}

bool OsaSession::walk(int kind, const std::vector<int>& ids, bool probe_custom,
                      std::size_t max_objects, std::vector<Object>& objects, bool& cut) {
  objects.clear();
  cut = false;
  int status = call_status("OSA_Client_ObjectListInit",
                           with(with(object(), "objTypeId", kind), "showAllObjects", 1));
  while (status == 0) {
    Object o;
    for (int id : ids) {
      if (std::optional<std::string> value = attribute(kind, id, id == kNumberAttribute)) {
        o.values.emplace_back(id, *value);
      }
    }
    // Custom attributes are numbered from 100 without gaps: the first that does not answer
    // ends them.
    for (int id = 100; probe_custom && id < 100 + kMaxCustomAttributes; ++id) {
      std::optional<std::string> value = attribute(kind, id, false);
      if (!value) {
        break;
      }
      o.values.emplace_back(id, *value);
    }
    objects.push_back(std::move(o));
    if (kind == 0) {
      break;
    }
    if (objects.size() >= max_objects) {
      cut = true;
      break;
    }
    status = call_status("OSA_Client_ObjectListNext", with(object(), "objTypeId", kind));
  }
  call("OSA_Client_ObjectListCleanup", with(object(), "objTypeId", kind));
  return usable();
}

std::optional<std::vector<TaskRow>> OsaSession::tasks(std::size_t max_tasks) {
  std::vector<TaskRow> rows;
  int status = call_status("OSA_Client_ObjectListInit",
                           with(with(object(), "objTypeId", kTaskKind), "showAllObjects", 1));
  while (status == 0 && rows.size() < max_tasks) {
    TaskRow row;
    std::optional<std::string> number = attribute(kTaskKind, kNumberAttribute, true);
    std::optional<std::string> priority = attribute(kTaskKind, kPriorityAttribute, true);
    if (!priority) {
      priority = attribute(kTaskKind, kPriorityAttribute, false);
    }
    if (number) {
      row.id = std::stoll(*number);
      row.priority = priority.value_or("");
      rows.push_back(std::move(row));
    }
    status = call_status("OSA_Client_ObjectListNext", with(object(), "objTypeId", kTaskKind));
  }
  call("OSA_Client_ObjectListCleanup", with(object(), "objTypeId", kTaskKind));
  if (!usable()) {
    return std::nullopt;
  }
  for (TaskRow& row : rows) {
    row.name = task_name(row.id).value_or("");
    row.state = task_status(row.id).value_or("");
    if (!usable()) {
      return std::nullopt;
    }
  }
  return rows;
}

} // namespace rsp
