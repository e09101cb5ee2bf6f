// The proxy as the plug-in's debugger: the OSA_Client_* calls it makes, and the plug-in's
// OSA_Service_* requests served while each call runs.
#pragma once

#include "host_link/simple_json/json_value.h"
#include "net.h"
#include "plugin_process.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rsp {

// Answers the plug-in's requests. The result object of the response, or null for a method
// that it does not know (the plug-in then gets a JSON-RPC error).
class ServiceAnswers {
public:
  virtual ~ServiceAnswers() = default;
  virtual JsonPtr answer(const std::string& method, const JsonValue& params) = 0;
};

// Where the time of one piece of work went: waiting for the plug-in and the number of
// messages exchanged with it. The server's share is counted by the memory and register
// answers.
struct PluginCounters {
  uint64_t calls = 0;
  uint64_t requests = 0;
  std::chrono::nanoseconds waiting{0};
};

struct TaskRow {
  int64_t id = 0;
  std::string name;
  std::string state;
  std::string priority;
};

class OsaSession {
public:
  explicit OsaSession(ServiceAnswers& answers) : answers_(answers) {}

  // How long each message of the plug-in is awaited.
  void set_timeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }
  // The core (from 0) that calls without a core of their own are for: their hostCoreId. -1
  // leaves it out, as on a target with one core.
  void set_host_core(int core) { host_core_ = core; }
  int host_core() const { return host_core_; }

  bool start(const std::vector<std::string>& argv, std::string& error);
  // OsaCleanup and Exit, then the process ends.
  void close();

  bool usable() const { return gone_.empty() && process_.running(); }
  // Why the plug-in cannot be used any more (empty while it can).
  const std::string& gone() const { return gone_; }
  pid_t pid() const { return process_.pid(); }
  std::vector<std::string> stderr_lines() { return process_.stderr_lines(); }

  // One call; the result object, or null when the plug-in is gone (see gone()).
  JsonPtr call(const std::string& method, JsonPtr params, bool with_context = true);
  // The call's "return", or -1 when the plug-in is gone or answered without one.
  int call_status(const std::string& method, JsonPtr params);

  // The calls the proxy makes.
  bool init(int cpu_type, bool big_endian_target, int core_count);
  int command(const std::string& text);
  bool notify_stop();
  // The running task of a core (0-based): its id, 0 for none, nullopt on failure.
  std::optional<int64_t> current_task(int core);
  std::optional<std::string> task_name(int64_t task);
  std::optional<std::string> task_status(int64_t task);
  // Status 0 with the value, 2 when the ORTI file does not give the register, 1 otherwise.
  int task_register(int64_t task, int reg, int core, uint64_t& value);
  int write_task_register(int64_t task, int reg, int core, uint64_t value);
  // Every task as the plug-in lists it; nullopt when the walk failed (a plug-in gone).
  std::optional<std::vector<TaskRow>> tasks(std::size_t max_tasks);

  // The objects of a kind (in the plug-in's walk) with the value of each attribute in ids
  // that answers, and with probe_custom every custom attribute. False when the plug-in is gone.
  struct Object {
    std::vector<std::pair<int, std::string>> values;
  };
  bool walk(int kind, const std::vector<int>& ids, bool probe_custom, std::size_t max_objects,
            std::vector<Object>& objects, bool& cut);
  // One attribute of the current object of a walk, as a number (in decimal) or as text.
  std::optional<std::string> attribute(int kind, int attribute, bool as_number);

  PluginCounters counters() const { return counters_; }

private:
  bool exchange(const std::string& text, JsonPtr& response);
  void serve(JsonValue& request);
  void fail(const std::string& why);

  ServiceAnswers& answers_;
  PluginProcess process_;
  std::chrono::milliseconds timeout_{2000};
  std::string gone_ = "the plug-in was not started";
  int64_t next_id_ = 1;
  int host_core_ = -1;
  PluginCounters counters_;
};

// Calls for one core while it lives; the core that was set before afterwards.
class CallsForCore {
public:
  CallsForCore(OsaSession& session, int core) : session_(session), saved_(session.host_core()) {
    session_.set_host_core(core);
  }
  ~CallsForCore() { session_.set_host_core(saved_); }
  CallsForCore(const CallsForCore&) = delete;
  CallsForCore& operator=(const CallsForCore&) = delete;

private:
  OsaSession& session_;
  int saved_;
};

} // namespace rsp
