// Benchmark of the OSA Explorer's calls through the whole plug-in (JSON-RPC text in, text out),
// with a debugger stand-in that answers in-process:
//   - one OSA_Client_ObjectListAttribute answered from the value cache, and one that needs an
//     evaluation (the caches are dropped before it): the plug-in's own CPU per call, the median
//     of the repetitions; the goal is under 10 us for a cached call;
//   - whole refreshes (every object of every kind, every attribute id) of examples/demo_os.ort
//     and of a generated model of 1,000 tasks: the evaluations of a first refresh and of a
//     second one before the next target stop (which only the never-cached texts such as _NAME
//     may repeat), and the CPU per refresh.
#include "awareness/attribute_eval.h"
#include "host_link/jsonrpc.h"
#include "osa/client_methods.h"
#include "plugin/plugin_registration.h"
#include "plugin/plugin_state.h"
#include "runtime/format.h"
#include "runtime/message_output.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// The stand-in: every expression is 1 and every printed text "x", except that a dynamic list
// ends after its third node; every other request succeeds.
struct StandIn {
  uint64_t evaluations = 0; // ExpressionEval and StringEval
  uint64_t string_evals = 0;
  uint64_t displays = 0;
};
StandIn g_stand_in;

int occurrences(const char* text, const char* pattern) {
  int n = 0;
  for (const char* p = std::strstr(text, pattern); p != nullptr; p = std::strstr(p + 1, pattern)) {
    ++n;
  }
  return n;
}

const char* answer(const char* request) {
  // The id is not compared by the plug-in, so fixed answers serve every request.
  static const char kOne[] =
      R"({"jsonrpc":"2.0","result":{"output":1,"value":"x","return":0},"id":0})";
  static const char kZero[] = R"({"jsonrpc":"2.0","result":{"output":0,"return":0},"id":0})";
  if (std::strstr(request, "OSA_Service_MessageDisplay") != nullptr) {
    ++g_stand_in.displays;
    return kOne;
  }
  ++g_stand_in.evaluations;
  if (std::strstr(request, "OSA_Service_StringEval") != nullptr) {
    ++g_stand_in.string_evals;
  }
  if (std::strstr(request, "!= 0") != nullptr && occurrences(request, "->next") >= 3) {
    return kZero;
  }
  return kOne;
}

std::string call(const std::string& method, const std::string& params) {
  static int64_t id = 0;
  const std::string request = "{\"jsonrpc\":\"2.0\",\"method\":\"" + method +
                              "\",\"params\":{\"context\":1" + params +
                              "},\"id\":" + std::to_string(++id) + "}";
  return OSA_Client_CmdParser(request.c_str());
}

bool ok(const std::string& response) {
  return response.find("\"return\" : 0") != std::string::npos;
}

// A fresh plug-in with the file loaded on an ARM target. False when the file does not load.
bool start(const std::string& path) {
  osa_reset_for_tests();
  set_message_sink([](void*, MessageSeverity, const char*) {}, nullptr);
  osa_set_plugin_registration(plugin_register_handlers);
  OSA_Client_CmdInit(0, nullptr, answer);
  call("OSA_Client_OsaInit", "");
  call("OSA_Client_TargetInit",
       ",\"majorCpuType\":24,\"minorCpuType\":0,\"bigEndianTarget\":0,\"bigEndianHost\":0");
  return ok(call("OSA_Client_OsaCmd_Execute", ",\"command\":\"load_orti " + path + "\""));
}

PluginState* plugin_state() {
  OSA_ServiceCntx* ctx = context_find(osa_layer_state().contexts, 1);
  return ctx != nullptr ? ctx->area.plugin_state : nullptr;
}

// One OSA Explorer refresh: every type, every object, every attribute id that answers.
int refresh() {
  int calls = 0;
  std::vector<int> types = {0, 1, 2, 3, 4, 5, 6};
  for (std::size_t n = 0; n < plugin_state()->model->vendor_kinds.size(); ++n) {
    types.push_back(100 + static_cast<int>(n));
  }
  for (const int type : types) {
    const std::string t = ",\"objTypeId\":" + std::to_string(type);
    std::string status = call("OSA_Client_ObjectListInit", t);
    while (ok(status)) {
      for (int id = 1; id < 200; ++id) {
        if (id == 10) {
          id = 100;
        }
        const std::string r = call("OSA_Client_ObjectListAttribute",
                                   t + ",\"objAtrId\":" + std::to_string(id) + ",\"valueType\":0");
        ++calls;
        if (!ok(r) && id >= 100) {
          break;
        }
      }
      status = call("OSA_Client_ObjectListNext", t);
    }
    call("OSA_Client_ObjectListCleanup", t);
  }
  return calls;
}

std::string demo_os() {
  return std::string(OSA_SOURCE_DIR) + "/examples/demo_os.ort";
}

std::string generated_1000_tasks() {
  const std::string path = "/tmp/osa_bench_1000_tasks.ort";
  std::string text = "VERSION { KOIL = \"2.2\"; OSSEMANTICS = \"ORTI\", \"2.2\"; };\n"
                     "IMPLEMENTATION G {\n  OS { ENUM [ \"NO_TASK\" = 0";
  for (int i = 0; i < 1000; ++i) {
    append_format(text, ", \"T%d\" = %d", i, i + 1);
  }
  text += " ] RUNNINGTASK; };\n  TASK { CTYPE PRIORITY; ENUM [ \"SUSPENDED\" = 0, \"READY\" = 1,"
          " \"RUNNING\" = 2 ] STATE; CTYPE CURRENTACTIVATIONS; CTYPE vs_EVENTS; };\n};\n"
          "OS Os { RUNNINGTASK = \"os_running\"; };\n";
  for (int i = 0; i < 1000; ++i) {
    append_format(text,
                  "TASK T%d { PRIORITY = \"prio[%d]\"; STATE = \"state[%d]\"; "
                  "CURRENTACTIVATIONS = \"act[%d]\"; vs_EVENTS = \"ev[%d]\"; };\n",
                  i, i, i, i, i);
  }
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

void BM_CachedAttribute(benchmark::State& state) {
  if (!start(demo_os()) || !ok(call("OSA_Client_ObjectListInit", ",\"objTypeId\":1"))) {
    state.SkipWithError("demo_os.ort does not load");
    return;
  }
  const std::string params = ",\"objTypeId\":1,\"objAtrId\":4,\"valueType\":0";
  call("OSA_Client_ObjectListAttribute", params);
  const uint64_t before = g_stand_in.evaluations;
  for (auto _ : state) {
    benchmark::DoNotOptimize(call("OSA_Client_ObjectListAttribute", params));
  }
  if (g_stand_in.evaluations != before) {
    state.SkipWithError("a cached read asked the debugger");
  }
}

void BM_EvaluatedAttribute(benchmark::State& state) {
  if (!start(demo_os()) || !ok(call("OSA_Client_ObjectListInit", ",\"objTypeId\":1"))) {
    state.SkipWithError("demo_os.ort does not load");
    return;
  }
  const std::string params = ",\"objTypeId\":1,\"objAtrId\":4,\"valueType\":0";
  PluginState* plugin = plugin_state();
  const uint64_t before = g_stand_in.evaluations;
  for (auto _ : state) {
    invalidate_caches(*plugin);
    benchmark::DoNotOptimize(call("OSA_Client_ObjectListAttribute", params));
  }
  state.counters["evaluations_per_call"] = benchmark::Counter(
      static_cast<double>(g_stand_in.evaluations - before), benchmark::Counter::kAvgIterations);
}

void run_refreshes(benchmark::State& state, const std::string& path) {
  if (!start(path)) {
    state.SkipWithError("the file does not load");
    return;
  }
  uint64_t before = g_stand_in.evaluations;
  uint64_t displays = g_stand_in.displays;
  const int calls = refresh();
  const uint64_t first = g_stand_in.evaluations - before;
  const uint64_t first_displays = g_stand_in.displays - displays;
  before = g_stand_in.evaluations;
  displays = g_stand_in.displays;
  const uint64_t names_before = g_stand_in.string_evals;
  refresh();
  const uint64_t second = g_stand_in.evaluations - before;
  const uint64_t second_names = g_stand_in.string_evals - names_before;
  for (auto _ : state) {
    call("OSA_Client_TargetNotify", ",\"notice\":1");
    benchmark::DoNotOptimize(refresh());
  }
  state.counters["attribute_calls"] = calls;
  state.counters["evaluations_first"] = static_cast<double>(first);
  state.counters["evaluations_second"] = static_cast<double>(second);
  state.counters["of_them_names"] = static_cast<double>(second_names);
  // Each attribute the file does not define answers with a failure message (two displays).
  state.counters["displays_per_refresh"] = static_cast<double>(first_displays);
}

void BM_RefreshDemoOs(benchmark::State& state) {
  run_refreshes(state, demo_os());
}

void BM_Refresh1000Tasks(benchmark::State& state) {
  run_refreshes(state, generated_1000_tasks());
}

BENCHMARK(BM_CachedAttribute)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_EvaluatedAttribute)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RefreshDemoOs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Refresh1000Tasks)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
