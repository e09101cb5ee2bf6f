// Fuzz target: any command lines through the command table, on a plug-in state with
// examples/demo_os.ort loaded. A stand-in debugger answers every service request from the
// input: a number or text, a refusal, garbage, no answer at all, or first a client call nested
// inside the request (a target notification, another command, a cleanup of the very state the
// command is using); once the input is used up every request gets a fixed good answer. Nothing
// may crash, hang or leak, and every command answers 0 or 1.
//
// Input: the command lines (one per line), a NUL byte, then the bytes that drive the answers.
#include "fuzz_support.h"

#include "awareness/attribute_eval.h"
#include "host_link/jsonrpc.h"
#include "host_link/simple_json/json_value.h"
#include "host_link/simple_json/json_write.h"
#include "plugin/command_table.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const char* const kNestedCommands[] = {"clearcache",
                                       "togglesymbols",
                                       "set debuglevel 60",
                                       "set loglevel 100",
                                       "set debuglevel default",
                                       "expr Task_Init.PRIORITY = OsTaskPrio[1]",
                                       "expr Task_Init",
                                       "getprop 1 1 4",
                                       "showlink 1 1 5 3",
                                       "quiet expr Demo_OS",
                                       "stackusage",
                                       "walk --notes 1 3 3 4 100"};

const char* const kTexts[] = {"",         "Task_Init",  "%s%n%x",
                              "Ctx_Init", "TimePoints", "a text with\nline breaks"};

struct StandIn {
  OSA_ServiceCntx ctx;
  const uint8_t* data = nullptr;
  std::size_t size = 0;
  int nesting = 0;
  std::string answer;
};
StandIn* g_stand_in = nullptr;

std::string quoted_text(const char* text) {
  return json_to_text(*json_new_string(text));
}

uint8_t next_byte() {
  StandIn& s = *g_stand_in;
  if (s.size == 0) {
    return 0xFF;
  }
  --s.size;
  return *s.data++;
}

void nested_call(uint8_t choice) {
  StandIn& s = *g_stand_in;
  if (s.nesting >= 3) {
    return;
  }
  ++s.nesting;
  switch (choice % 3) {
  case 0: // OSA_Client_TargetNotify
    if (PluginState* state = s.ctx.area.plugin_state) {
      invalidate_caches(*state);
    }
    break;
  case 1: // OSA_Client_OsaCmd_Execute
    osa_cmd_execute(&s.ctx, &s.ctx.area, nullptr,
                    kNestedCommands[next_byte() % std::size(kNestedCommands)]);
    break;
  default: // OSA_Client_OsaCleanup
    plugin_state_cleanup(s.ctx.area);
    break;
  }
  --s.nesting;
}

const char* transport(const char*) {
  StandIn& s = *g_stand_in;
  const uint8_t b = next_byte();
  if (b == 0xFF) {
    s.answer = R"({"jsonrpc":"2.0","result":{"output":1,"value":"Task_Init","return":0},"id":0})";
    return s.answer.c_str();
  }
  switch (b % 8) {
  case 0:
    return nullptr;
  case 1:
    s.answer = "}{";
    return s.answer.c_str();
  case 2:
    s.answer = R"({"jsonrpc":"2.0","result":{"return":1},"id":0})";
    return s.answer.c_str();
  case 3:
    nested_call(next_byte());
    break;
  default:
    break;
  }
  const uint8_t v = next_byte();
  s.answer = std::string(R"({"jsonrpc":"2.0","result":{"output":)") + std::to_string(v) +
             R"(,"value":)" + quoted_text(kTexts[v % std::size(kTexts)]) +
             R"(,"return":0},"id":0})";
  return s.answer.c_str();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  static std::string sandbox = fuzz_support::enter_sandbox();
  static StandIn stand_in;
  g_stand_in = &stand_in;
  stand_in.ctx.context = 1;
  // Room for every answer, so that answering allocates nothing that outlives a run (libFuzzer
  // runs its leak check after every run that ends with more allocations than it began).
  stand_in.answer.reserve(4096);
  jr_service_create(transport);
  fuzz_support::demo_orti();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  const std::string commands = input.substr(0, split);
  if (fuzz_support::names_a_config_file(commands, true)) {
    return -1; // not added to the corpus
  }
  // No configuration file of an earlier run may carry its state into this one.
  std::error_code ec;
  std::filesystem::remove("demo_os.ort.cfg", ec);
  std::filesystem::remove_all("osa_orti_plugin", ec);
  StandIn& s = *g_stand_in;
  s.data = data + (split == std::string::npos ? size : split + 1);
  s.size = split == std::string::npos ? 0 : size - split - 1;
  fuzz_support::loaded_state(s.ctx.area);
  std::size_t start = 0;
  while (start <= commands.size()) {
    std::size_t end = commands.find('\n', start);
    if (end == std::string::npos) {
      end = commands.size();
    }
    const std::string line = commands.substr(start, end - start);
    const int32_t status = osa_cmd_execute(&s.ctx, &s.ctx.area, nullptr, line.c_str());
    if (status != 0 && status != 1) {
      std::abort();
    }
    start = end + 1;
  }
  plugin_state_cleanup(s.ctx.area);
  if (plugin_states_retired() != 0) {
    std::abort(); // a state retired by a nested cleanup outlived the command that used it
  }
  fuzz_support::demo_orti().restore();
  return 0;
}
