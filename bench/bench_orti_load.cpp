// Benchmark of loading an ORTI file: parse and object-model build of generated files with
// 1,000, 10,000 and 100,000 objects. The time per object must stay flat (at most twice the
// smallest file's) so that large OS configurations load as fast as small ones.
//
// Peak memory of the largest load: run this program alone on it, for example
//   /usr/bin/time -v build/h4-rel/bench/bench_orti_load --benchmark_filter='/100000'
#include "orti/orti_load.h"
#include "runtime/format.h"
#include "runtime/message_output.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

// A file shaped like a generated OS configuration: a quarter tasks, a quarter stacks, a
// quarter contexts, the rest alarms, resources and one vendor kind. Every task's STACK and
// CONTEXT attributes are ENUMs with one linked element per stack and context, as generators
// write them, so linking is part of the measured work.
std::string generate_orti(int objects) {
  const int tasks = objects / 4;
  const int stacks = objects / 4;
  const int contexts = objects / 4;
  const int rest = objects - tasks - stacks - contexts - 1;
  const int alarms = rest / 3;
  const int resources = rest / 3;
  const int vendor = rest - alarms - resources;
  std::string text;
  text.reserve(static_cast<std::size_t>(objects) * 260);
  text += "VERSION { KOIL = \"2.2\"; OSSEMANTICS = \"ORTI\", \"2.2\"; };\n";
  text += "IMPLEMENTATION Generated {\n";
  text += "  OS { TOTRACE ENUM \"unsigned char\" [ \"NO_TASK\" = 0";
  for (int i = 0; i < tasks; ++i) {
    append_format(text, ", \"T%d\" = %d", i, i + 1);
  }
  text += " ] RUNNINGTASK, \"Running task\";\n";
  text += "    ENUM [ \"NO_ISR\" = 0 ] RUNNINGISR2; CTYPE vs_CORE; };\n";
  text += "  TASK { CTYPE \"unsigned char\" PRIORITY, \"Priority\";\n";
  text += "    ENUM [ \"SUSPENDED\" = 0, \"READY\" = 1, \"RUNNING\" = 2 ] STATE, \"State\";\n";
  text += "    ENUM \"unsigned int *\" [ \"None\" = 0";
  for (int i = 0; i < stacks; ++i) {
    append_format(text, ", \"S%d\" : S%d = \"&stack%d\"", i, i, i);
  }
  text += " ] STACK, \"Stack\";\n    ENUM [ \"None\" = 0";
  for (int i = 0; i < contexts; ++i) {
    append_format(text, ", \"C%d\" : C%d = \"&ctx%d\"", i, i, i);
  }
  text +=
      " ] CONTEXT, \"Context\";\n    CTYPE CURRENTACTIVATIONS; CTYPE vs_EVENTS; }, \"Tasks\";\n";
  text += "  STACK { CTYPE SIZE; CTYPE BASEADDRESS; STRING STACKDIRECTION; }, \"Stacks\";\n";
  text += "  CONTEXT { CTYPE ADDRESS; CTYPE _PC; CTYPE VALID; };\n";
  text += "  ALARM { CTYPE ALARMTIME; CTYPE CYCLETIME; STRING ACTION; };\n";
  text += "  RESOURCE { ENUM [ \"FREE\" = 0, \"LOCKED\" = 1 ] STATE; STRING PRIORITY; };\n";
  text += "  vs_SPINLOCK { CTYPE vs_OWNER; }, \"Spinlocks\";\n};\n";
  text += "OS Os { RUNNINGTASK = \"os_running\"; RUNNINGISR2 = \"os_isr\"; vs_CORE = \"0\"; };\n";
  for (int i = 0; i < tasks; ++i) {
    append_format(text,
                  "TASK T%d { PRIORITY = \"prio[%d]\"; STATE = \"state[%d]\"; STACK = "
                  "\"sp[%d]\"; CONTEXT = \"ctx[%d]\"; CURRENTACTIVATIONS = \"act[%d]\"; "
                  "vs_EVENTS = \"ev[%d]\"; };\n",
                  i, i, i, i, i, i, i);
  }
  for (int i = 0; i < stacks; ++i) {
    append_format(text,
                  "STACK S%d { SIZE = \"256\"; BASEADDRESS = \"&stack%d\"; STACKDIRECTION = "
                  "\"DOWN\"; };\n",
                  i, i);
  }
  for (int i = 0; i < contexts; ++i) {
    append_format(text,
                  "CONTEXT C%d { ADDRESS = \"&ctx%d\"; _PC = \"ctx%d.pc\"; VALID = \"1\"; };\n", i,
                  i, i);
  }
  for (int i = 0; i < alarms; ++i) {
    append_format(text,
                  "ALARM A%d { ALARMTIME = \"al[%d].t\"; CYCLETIME = \"al[%d].c\"; ACTION = "
                  "\"act\"; };\n",
                  i, i, i);
  }
  for (int i = 0; i < resources; ++i) {
    append_format(text, "RESOURCE R%d { STATE = \"res[%d]\"; PRIORITY = \"3\"; };\n", i, i);
  }
  for (int i = 0; i < vendor; ++i) {
    append_format(text, "vs_SPINLOCK L%d { vs_OWNER = \"lock[%d]\"; };\n", i, i);
  }
  return text;
}

void drop_message(void*, MessageSeverity, const char*) {}
void BM_ParseAndLoad(benchmark::State& state) {
  const int objects = static_cast<int>(state.range(0));
  const std::string text = generate_orti(objects);
  // As in the plug-in at its default levels: load traces are never wanted.
  OrtiLoadSink sink;
  sink.max_level = 5;
  set_message_sink(drop_message, nullptr);
  for (auto _ : state) {
    LoadedOrti loaded;
    if (orti_load_text(text, "generated.ort", 0, sink, loaded) != OrtiLoadStatus::Loaded ||
        static_cast<int>(loaded.model->tasks.size()) != objects / 4) {
      state.SkipWithError("generated file does not load");
      break;
    }
    benchmark::DoNotOptimize(loaded.model.get());
  }
  reset_message_sink();
  state.counters["objects"] = objects;
  state.counters["time_per_object"] = benchmark::Counter(
      static_cast<double>(objects),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["bytes"] = static_cast<double>(text.size());
}

BENCHMARK(BM_ParseAndLoad)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
