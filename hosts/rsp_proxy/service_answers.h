// The proxy's answers to the plug-in's OSA_Service_* requests: formulas through the
// evaluator, memory through the block cache, the live registers of a core through the
// server, messages to where the proxy shows them; a clean failure for what it cannot do.
#pragma once

#include "formula_evaluator.h"
#include "memory_cache.h"
#include "osa_session.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace rsp {

// The live registers of the cores, by the plug-in's register id.
class LiveRegisters {
public:
  virtual ~LiveRegisters() = default;
  virtual bool read_register(int core, int reg, uint64_t& value) = 0;
  virtual bool write_register(int core, int reg, uint64_t value) = 0;
};

struct ServiceCounters {
  uint64_t evaluations = 0;
  uint64_t failed_evaluations = 0;
};

class ProxyServices : public ServiceAnswers {
public:
  // evaluator may be null (a program without debug information): every formula then fails.
  ProxyServices(FormulaEvaluator* evaluator, MemoryCache& memory, LiveRegisters& registers,
                int address_bytes);

  JsonPtr answer(const std::string& method, const JsonValue& params) override;

  // Where MessageDisplay texts go: (message type, text).
  std::function<void(int, const std::string&)> on_message;
  // Problems the plug-in itself does not explain (why a formula failed); each distinct one
  // once until forget_problems().
  std::function<void(const std::string&)> on_problem;
  void forget_problems() { problems_seen_.clear(); }
  // The core a call is made for: live registers without a core in the request are its own.
  void set_call_core(int core) { call_core_ = core; }
  // Folders in which a file that the plug-in cannot open is looked for.
  std::vector<std::string> search_dirs;

  ServiceCounters counters() const { return counters_; }

private:
  JsonPtr expression_eval(const JsonValue& p);
  JsonPtr string_eval(const JsonValue& p);
  JsonPtr register_read(const JsonValue& p);
  JsonPtr register_write(const JsonValue& p);
  JsonPtr memory_read(const JsonValue& p);
  JsonPtr memory_write(const JsonValue& p);
  JsonPtr message_display(const JsonValue& p);
  JsonPtr command_exec(const JsonValue& p);
  JsonPtr config_file_search(const JsonValue& p);
  JsonPtr symbol_lookup(const JsonValue& p);
  JsonPtr struct_field_search(const JsonValue& p);
  JsonPtr struct_size_get(const JsonValue& p);
  JsonPtr enum_value_get(const JsonValue& p);

  bool evaluate(const std::string& expression, int64_t& value, bool report);
  int core_of(const JsonValue& p) const;
  uint64_t address_of(int64_t address) const;
  void problem(const std::string& text);

  FormulaEvaluator* evaluator_;
  MemoryCache& memory_;
  LiveRegisters& registers_;
  int address_bytes_;
  int call_core_ = 0;
  std::set<std::string> problems_seen_;
  ServiceCounters counters_;
};

} // namespace rsp
