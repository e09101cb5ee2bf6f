// Benchmark of loading an ORTI file: parse and object-model build of generated files with
// 1,000, 10,000 and 100,000 objects, and the memory that loading the largest one takes.
//
// Goals, printed after the table with the figures:
// - the time per object stays flat: the 100,000-object file's at most 1.2 times the
//   1,000-object file's, so that large OS configurations load as fast as small ones;
// - loading the 100,000-object file from a stream, as the plug-in does, peaks at no more than
//   4 times the file's size in resident memory (the whole process, measured before any
//   benchmark runs, through the kernel's high-water mark). The limit it is set against:
//   reading the file into memory, which peaks at the process's own memory plus the file.
#include "bench_summary.h"
#include "orti/orti_load.h"
#include "runtime/format.h"
#include "runtime/message_output.h"

#include <benchmark/benchmark.h>

#include <cstdio>
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

struct MemoryFigures {
  bool measured = false;
  double file_mb = 0;
  double before_mb = 0;    // resident before the load
  double load_peak_mb = 0; // the load from a stream
  double read_peak_mb = 0; // the file read into memory
};

// In a process that has not run a benchmark yet, so that no freed heap of an earlier load
// stands in for the memory this one needs.
MemoryFigures measure_memory() {
  MemoryFigures figures;
  std::FILE* file = std::tmpfile();
  if (file == nullptr) {
    return figures;
  }
  {
    const std::string text = generate_orti(100000);
    figures.file_mb = static_cast<double>(text.size()) / bench::kMegabyte;
    if (std::fwrite(text.data(), 1, text.size(), file) != text.size() || std::fflush(file) != 0) {
      std::fclose(file);
      return figures;
    }
  }
  bench::release_free_memory();
  if (bench::reset_peak_resident()) {
    std::rewind(file);
    std::string copy(static_cast<std::size_t>(figures.file_mb * bench::kMegabyte), '\0');
    const std::size_t n = std::fread(copy.data(), 1, copy.size(), file);
    benchmark::DoNotOptimize(n);
    figures.read_peak_mb = static_cast<double>(bench::status_bytes("VmHWM")) / bench::kMegabyte;
  }
  bench::release_free_memory();
  set_message_sink(drop_message, nullptr);
  OrtiLoadSink sink;
  sink.max_level = 5;
  std::rewind(file);
  figures.before_mb = static_cast<double>(bench::status_bytes("VmRSS")) / bench::kMegabyte;
  if (bench::reset_peak_resident()) {
    LoadedOrti loaded;
    if (orti_load_stream(file, "generated.ort", 0, sink, loaded) == OrtiLoadStatus::Loaded) {
      figures.load_peak_mb = static_cast<double>(bench::status_bytes("VmHWM")) / bench::kMegabyte;
      figures.measured = true;
    }
  }
  reset_message_sink();
  std::fclose(file);
  return figures;
}

void print_summary(const bench::SummaryReporter& reporter, const MemoryFigures& memory) {
  std::printf("\nLoading an ORTI file (parse and object model, CPU time per object)\n");
  const double small = reporter.seconds("BM_ParseAndLoad/1000") / 1000;
  for (int objects : {1000, 10000, 100000}) {
    const double seconds = reporter.seconds("BM_ParseAndLoad/" + std::to_string(objects));
    if (seconds > 0) {
      std::printf("  %6d objects: %5.0f ns per object\n", objects, 1e9 * seconds / objects);
    }
  }
  const double large = reporter.seconds("BM_ParseAndLoad/100000") / 100000;
  if (small > 0 && large > 0) {
    std::printf("  100,000 objects against 1,000: %.2f times the time per object (goal: at most "
                "1.2; %s)\n",
                large / small, large / small <= 1.2 ? "goal met" : "above the goal");
  }
  if (!memory.measured) {
    std::printf("Peak memory: not measured (no temporary file or no /proc/self/clear_refs)\n");
    return;
  }
  const double ratio = memory.load_peak_mb / memory.file_mb;
  std::printf("Loading the 100,000-object file (%.1f MB) from a stream peaks at %.1f MB resident, "
              "%.2f times the file's size (goal: at most 4; %s); the process held %.1f MB before "
              "the load\n",
              memory.file_mb, memory.load_peak_mb, ratio,
              ratio <= 4 ? "goal met" : "above the goal", memory.before_mb);
  std::printf("  limit: reading the file into memory peaks at %.1f MB, %.2f times the file's "
              "size\n",
              memory.read_peak_mb, memory.read_peak_mb / memory.file_mb);
}

} // namespace

int main(int argc, char** argv) {
  const MemoryFigures memory = measure_memory();
  bench::SummaryReporter reporter;
  bench::run_benchmarks(&argc, argv, reporter);
  print_summary(reporter, memory);
  return 0;
}
