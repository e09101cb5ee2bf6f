// Benchmark: scanning and parsing generated ORTI files of 1, 10 and 50 MB from a stream. The
// time per megabyte should stay flat as the file grows.
#include "orti/parser/koil_parser.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

// An ORTI file in the style of a large multi-core configuration: a declaration section, then
// TASK, STACK and ALARM objects until the size is reached.
std::string generate_orti(std::size_t target) {
  std::string text = "/* generated */\nVERSION {\n    KOIL = \"2.2\";\n"
                     "    OSSEMANTICS = \"ORTI\", \"2.2\";\n};\n"
                     "IMPLEMENTATION Bench {\n"
                     "    OS {\n"
                     "        TOTRACE ENUM \"unsigned int\" [\n"
                     "            \"NO_TASK\" = 0, \"T0\" : T0 = 1, \"T1\" : T1 = 0x2\n"
                     "        ] RUNNINGTASK, \"Running Task\";\n"
                     "    }, \"Operating System\";\n"
                     "    TASK {\n"
                     "        CTYPE \"unsigned char\" PRIORITY, \"Priority\";\n"
                     "        ENUM [ \"SUSPENDED\" = 0, \"READY\" = 1, \"RUNNING\" = 3 ] STATE;\n"
                     "        ENUM \"unsigned int *\" [ \"S\" : S0 = \"&stack0\" ] STACK;\n"
                     "    };\n"
                     "    STACK { CTYPE SIZE; CTYPE \"void *\" BASEADDRESS; };\n"
                     "    ALARM { CTYPE \"unsigned long\" ALARMTIME; STRING ACTION; };\n"
                     "};\n"
                     "OS Os { RUNNINGTASK = \"OsRunning\"; };\n";
  text.reserve(target + 512);
  for (std::size_t i = 0; text.size() < target; ++i) {
    const std::string n = std::to_string(i);
    text += "TASK T" + n + " {\n    PRIORITY = \"OsTaskPrio[" + n +
            "]\";\n    STATE = \"OsTaskState[" + n + "]\"; // state\n    STACK = \"&OsStack" + n +
            "[0]\";\n};\n";
    text += "STACK S" + n + " { SIZE = \"1024\"; BASEADDRESS = \"&OsStack" + n + "[0]\"; };\n";
    text += "/* alarm " + n + " */\nALARM A" + n + " { ALARMTIME = \"OsAlarm[" + n +
            "].time\"; ACTION = \"\"; };\n";
  }
  return text;
}

// One temporary file per size, written once.
std::FILE* orti_file(std::size_t megabytes) {
  static std::map<std::size_t, std::FILE*> files;
  std::FILE*& file = files[megabytes];
  if (file == nullptr) {
    const std::string text = generate_orti(megabytes * 1024 * 1024);
    file = std::tmpfile();
    if (file != nullptr) {
      std::fwrite(text.data(), 1, text.size(), file);
      std::fflush(file);
    }
  }
  return file;
}

void BM_KoilParse(benchmark::State& state) {
  std::FILE* file = orti_file(static_cast<std::size_t>(state.range(0)));
  if (file == nullptr) {
    state.SkipWithError("no temporary file");
    return;
  }
  std::fseek(file, 0, SEEK_END);
  const long bytes = std::ftell(file);
  int errors = 0;
  KoilReports reports;
  reports.user = &errors;
  reports.error = [](void* user, const char*, int32_t, const char*) { ++*static_cast<int*>(user); };
  for (auto _ : state) {
    std::rewind(file);
    OrtiParseTree tree;
    KoilParseSettings settings;
    const int result = koil_parse(file, tree, settings, reports);
    if (result != 0 || errors != 0) {
      state.SkipWithError("generated file rejected");
      return;
    }
    benchmark::DoNotOptimize(tree.definitions.size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}
BENCHMARK(BM_KoilParse)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
