// Fuzz target: the whole plug-in driven by a fuzzing debugger. The input decides the sequence
// of client calls (object lists, attributes, tasks, registers, notifications, commands, even
// cleanups) and how the debugger answers every service request the plug-in sends meanwhile:
// a number, a text, a failure, garbage, no answer, or a client call nested before the answer.
// Each run starts a fresh plug-in with examples/demo_os.ort or the demo target's ORTI file
// loaded (the input's first byte chooses). Every call must be answered with a complete
// JSON-RPC response; nothing may crash, hang or leak.
//
// Both files are parsed once per process and lent to each run's plug-in state (see
// preloaded_orti.h). With OSA_FUZZ_VERIFY_PRELOAD=1 in the environment every input runs twice,
// once so and once loading the file through load_orti as the debugger would, and the run stops
// when the two differ in any request or response text.
#include "preloaded_orti.h"

#include "host_link/jsonrpc.h"
#include "host_link/log_facility.h"
#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_write.h"
#include "osa/client_methods.h"
#include "plugin/plugin_registration.h"
#include "runtime/message_output.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

const char* const kOrtiFiles[] = {OSA_SOURCE_DIR "/examples/demo_os.ort",
                                  OSA_SOURCE_DIR "/examples/demo_target/demo_target.ort"};

const char* const kCommands[] = {"clearcache",
                                 "help",
                                 "version",
                                 "togglesymbols",
                                 "set debuglevel 100",
                                 "set loglevel 100",
                                 "set debuglevel default",
                                 "set suppress_context_errors",
                                 "set suppress_context_errors off",
                                 "set check_context_validity on",
                                 "quiet help",
                                 "expr Task_Init",
                                 "expr Task_Init.STATE",
                                 "expr Task_Init.PRIORITY = \"1+1\"",
                                 "getprop 1 1 4",
                                 "getpropval 1 2 3",
                                 "showlink 1 1 5 3",
                                 "mapregname 13 sp",
                                 "regname 13",
                                 "mapregloc 1 r0 OsCtx[0].r[0]",
                                 "mapregloc2 0 pc 0x10",
                                 "loadconfig",
                                 "load_orti x.ort",
                                 "playdead",
                                 "expr TimePoints",
                                 "getprop 102 2 2"};

// The one fuzzing debugger of this process.
struct FuzzDebugger {
  FuzzedDataProvider* input = nullptr;
  int nesting = 0;
  std::string answer;
  int64_t last_id = 0;               // of the client calls, so that a run repeats exactly
  std::string* transcript = nullptr; // every request and response text, when verifying
};
FuzzDebugger g_debugger;

void note(const char* direction, const char* text) {
  if (g_debugger.transcript != nullptr) {
    *g_debugger.transcript += direction;
    *g_debugger.transcript += text != nullptr ? text : "(none)";
    *g_debugger.transcript += '\n';
  }
}

void require_response(const char* response) {
  note("< ", response);
  std::string error;
  JsonPtr tree = json_parse(response != nullptr ? response : "", error);
  const JsonValue* result = nullptr;
  int64_t status = 0;
  if (!tree || !(json_object_find(tree.get(), "error") >= 0 ||
                 (json_object_get(tree.get(), "result", &result) &&
                  json_object_get_integer(result, "return", &status)))) {
    std::abort();
  }
}

std::string quoted(const std::string& text) {
  return json_to_text(*json_new_string(text.c_str()));
}

// One client call chosen by the input; "context" is always 1 (sometimes 2, which has no
// record).
std::string client_call(FuzzedDataProvider& in) {
  const std::string context = in.ConsumeIntegralInRange<int>(0, 15) == 0 ? "2" : "1";
  const int type = in.PickValueInArray({0, 1, 2, 3, 4, 5, 6, 7, 100, 101, 102, 103, -1});
  std::string method;
  std::string params = "\"context\":" + context;
  switch (in.ConsumeIntegralInRange<int>(0, 13)) {
  case 0:
    method = "OSA_Client_ObjectListInit";
    params += ",\"objTypeId\":" + std::to_string(type);
    if (in.ConsumeBool()) {
      params += ",\"parentObjTypeId\":" + std::to_string(in.PickValueInArray({0, 1, 3, 5, 102})) +
                ",\"parentObjId\":" + std::to_string(in.ConsumeIntegralInRange<int64_t>(-1, 5)) +
                ",\"parentObjListId\":" + std::to_string(in.PickValueInArray({3, 5, 8, 100, 101}));
    }
    break;
  case 1:
  case 2:
    method = "OSA_Client_ObjectListNext";
    params += ",\"objTypeId\":" + std::to_string(type);
    break;
  case 3:
  case 4:
    method = "OSA_Client_ObjectListAttribute";
    params +=
        ",\"objTypeId\":" + std::to_string(type) + ",\"objAtrId\":" +
        std::to_string(in.PickValueInArray({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 100, 101, 102})) +
        ",\"valueType\":" + std::to_string(in.PickValueInArray({0, 6, 11, 8}));
    break;
  case 5:
    method = in.ConsumeBool() ? "OSA_Client_TaskNameGet" : "OSA_Client_TaskStatusGet";
    params += ",\"taskId\":" + std::to_string(in.ConsumeIntegralInRange<int64_t>(0, 8));
    break;
  case 6:
    method = "OSA_Client_CurrentTaskGet";
    params += ",\"checkInKernel\":1";
    break;
  case 7:
    method = "OSA_Client_TaskRegisterRead";
    params +=
        ",\"taskId\":" + std::to_string(in.ConsumeIntegralInRange<int64_t>(0, 8)) +
        ",\"register\":" + std::to_string(in.PickValueInArray({0, 13, 14, 15, 40, 690, 691, -1}));
    break;
  case 8:
    method = "OSA_Client_TaskRegisterWrite";
    params += ",\"taskId\":" + std::to_string(in.ConsumeIntegralInRange<int64_t>(0, 8)) +
              ",\"register\":" + std::to_string(in.PickValueInArray({0, 13, 15, 40})) +
              ",\"value\":" + std::to_string(in.ConsumeIntegral<int64_t>());
    break;
  case 9:
    method = "OSA_Client_TargetNotify";
    params += ",\"notice\":1";
    break;
  case 10:
  case 11: {
    method = "OSA_Client_OsaCmd_Execute";
    const std::string command =
        in.ConsumeBool() ? in.PickValueInArray(kCommands) : in.ConsumeRandomLengthString(64);
    params += ",\"command\":" + quoted(command);
    break;
  }
  case 12:
    method = "OSA_Client_TargetInit";
    params += ",\"majorCpuType\":" + std::to_string(in.PickValueInArray({24, 14, 16, 17, 3})) +
              ",\"minorCpuType\":0,\"bigEndianTarget\":0,\"bigEndianHost\":0";
    break;
  default:
    method = in.ConsumeBool() ? "OSA_Client_TargetCleanup" : "OSA_Client_OsaCleanup";
    break;
  }
  return "{\"jsonrpc\":\"2.0\",\"method\":\"" + method + "\",\"params\":{" + params +
         "},\"id\":" + std::to_string(++g_debugger.last_id) + "}";
}

const char* fuzz_transport(const char* request) {
  note("> ", request);
  FuzzedDataProvider& in = *g_debugger.input;
  switch (in.ConsumeIntegralInRange<int>(0, 7)) {
  case 0:
  case 1:
    g_debugger.answer = "{\"jsonrpc\":\"2.0\",\"result\":{\"output\":" +
                        std::to_string(in.ConsumeIntegralInRange<int64_t>(-2, 300)) +
                        ",\"value\":" + std::to_string(in.ConsumeIntegral<int32_t>()) +
                        ",\"return\":0},\"id\":0}";
    break;
  case 2:
    g_debugger.answer =
        "{\"jsonrpc\":\"2.0\",\"result\":{\"value\":" + quoted(in.ConsumeRandomLengthString(24)) +
        ",\"filePath\":" + quoted(in.PickValueInArray(kOrtiFiles)) + ",\"return\":0},\"id\":0}";
    break;
  case 3:
    g_debugger.answer = R"({"jsonrpc":"2.0","result":{"return":1},"id":0})";
    break;
  case 4:
    g_debugger.answer = in.ConsumeRandomLengthString(40);
    break;
  case 5:
    return nullptr;
  case 6:
    if (g_debugger.nesting < 4 && in.remaining_bytes() > 0) {
      ++g_debugger.nesting;
      const std::string nested = client_call(in);
      require_response(OSA_Client_CmdParser(nested.c_str()));
      --g_debugger.nesting;
    }
    g_debugger.answer = R"({"jsonrpc":"2.0","result":{"output":1,"return":0},"id":0})";
    break;
  default:
    g_debugger.answer = R"({"jsonrpc":"2.0","result":{"return":0},"id":0})";
    break;
  }
  return g_debugger.answer.c_str();
}

std::string call_text(const char* method, const std::string& params, int id) {
  return std::string(R"({"jsonrpc":"2.0","method":")") + method + R"(","params":{"context":1)" +
         params + R"(},"id":)" + std::to_string(id) + "}";
}

fuzz_support::PreloadedOrti& preloaded(std::size_t file) {
  static std::unique_ptr<fuzz_support::PreloadedOrti> files[std::size(kOrtiFiles)];
  if (!files[file]) {
    files[file] = std::make_unique<fuzz_support::PreloadedOrti>(kOrtiFiles[file]);
  }
  return *files[file];
}

// One run of the input. With preload, the file parsed once per process stands in for the
// load_orti command that a fresh plug-in would receive.
void run(const uint8_t* data, std::size_t size, bool preload, std::string* transcript) {
  FuzzedDataProvider in(data, size);
  g_debugger = FuzzDebugger{};
  g_debugger.input = &in;
  osa_reset_for_tests();
  log_reset_for_tests();
  set_message_sink([](void*, MessageSeverity, const char*) {}, nullptr);
  osa_set_plugin_registration(plugin_register_handlers);
  OSA_Client_CmdInit(0, nullptr, fuzz_transport);
  const std::size_t file = in.ConsumeIntegralInRange<std::size_t>(0, std::size(kOrtiFiles) - 1);
  require_response(OSA_Client_CmdParser(call_text("OSA_Client_OsaInit", "", -1).c_str()));
  require_response(OSA_Client_CmdParser(
      call_text("OSA_Client_TargetInit",
                R"(,"majorCpuType":24,"minorCpuType":0,"bigEndianTarget":0,"bigEndianHost":0)", -2)
          .c_str()));
  // The transcript leaves out the load, the one step that differs between the two ways.
  g_debugger.transcript = nullptr;
  if (preload) {
    OSA_ServiceCntx* ctx = context_find(osa_layer_state().contexts, 1);
    if (ctx == nullptr) {
      std::abort();
    }
    preloaded(file).lend_to(*plugin_state_ensure(ctx->area));
  } else {
    require_response(OSA_Client_CmdParser(
        call_text("OSA_Client_OsaCmd_Execute",
                  R"(,"command":)" + quoted(std::string("load_orti ") + kOrtiFiles[file]), -3)
            .c_str()));
  }
  g_debugger.transcript = transcript;
  for (int calls = 0; calls < 64 && in.remaining_bytes() > 0; ++calls) {
    const std::string call = client_call(in);
    require_response(OSA_Client_CmdParser(call.c_str()));
  }
  // Everything the run allocated is freed before it ends: libFuzzer runs an input again, and
  // then a whole-heap leak check, whenever a run leaves more allocations than it found.
  osa_reset_for_tests();
  log_reset_for_tests();
  if (preload) {
    preloaded(file).restore();
  }
  g_debugger = FuzzDebugger{};
}

bool verifying() {
  static const bool verify = [] {
    const char* value = std::getenv("OSA_FUZZ_VERIFY_PRELOAD");
    return value != nullptr && *value != '\0' && *value != '0';
  }();
  return verify;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  for (std::size_t file = 0; file < std::size(kOrtiFiles); ++file) {
    preloaded(file);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (!verifying()) {
    run(data, size, true, nullptr);
    return 0;
  }
  std::string preloaded_run;
  std::string fresh_run;
  run(data, size, true, &preloaded_run);
  run(data, size, false, &fresh_run);
  if (preloaded_run != fresh_run) {
    std::fprintf(stderr,
                 "The run with the preloaded file differs from a fresh load.\n"
                 "Preloaded:\n%s\nFresh:\n%s\n",
                 preloaded_run.c_str(), fresh_run.c_str());
    std::abort();
  }
  return 0;
}
