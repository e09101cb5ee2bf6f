// Benchmark of the JSON library on the messages of the wire: parse one message into a tree and
// write the tree back as text, side by side with RapidJSON and nlohmann-json doing the same in
// the same run, and beside the machine's limit for the message (one scan of its bytes and one
// copy of the text written). The summary at the end prints, per message, the nanoseconds of
// each, our speed relative to RapidJSON's against the goal of 0.8, and how far we are from the
// limit. The peers are optional: without their headers the peer figures are skipped with a
// line that says so.
#include "host_link/simple_json/json_parse.h"
#include "host_link/simple_json/json_write.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#if __has_include(<rapidjson/document.h>) && __has_include(<nlohmann/json.hpp>)
#define OSA_BENCH_PEERS 1
#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#else
#define OSA_BENCH_PEERS 0
#endif

namespace {

constexpr double kGoal = 0.8; // our speed at least this fraction of RapidJSON's

struct Shape {
  const char* name;
  std::string text;
  bool written_by_plugin = false; // then our writer must give the text back unchanged
  bool on_the_wire = true;        // false: shown for comparison, outside the goal
};

std::string hex_bytes(std::size_t n) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned byte = static_cast<unsigned>((i * 37 + 11) & 0xFF);
    hex += digits[byte >> 4];
    hex += digits[byte & 0xF];
  }
  return hex;
}

// What an attribute text of a few KiB looks like on the wire: words, a few line feeds and
// tabs, a quoted word and one byte above 0x7F, all in their escaped forms.
std::string long_attribute_text() {
  std::string text;
  for (int line = 0; text.size() < 4000; ++line) {
    text += "Task_" + std::to_string(line) + "\\tstate READY, priority " +
            std::to_string(line % 17) + ", stack 0x2000" + std::to_string(1000 + line) +
            " of 512 bytes, \\\"ok\\\" since tick " + std::to_string(line * 1234) + "\\n";
    if (line % 8 == 7) {
      text += "caf\\u00e9 ";
    }
  }
  return text;
}

// The messages, in the forms the debugger and the plug-in write them (see the recordings in
// examples/ and tests/data/playback/).
std::vector<Shape> make_shapes() {
  std::vector<Shape> shapes;
  shapes.push_back({"small request",
                    R"({"jsonrpc":"2.0","method":"OSA_Client_ObjectListAttribute","params":)"
                    R"({ "context" : 1, "objTypeId" : 1, "objAtrId" : 4, "valueType" : 0 },)"
                    R"("id":12})"});
  shapes.push_back(
      {"evaluation answer", R"({"jsonrpc":"2.0","result":{"output":2,"return":0},"id":41})"});
  {
    // The form the first measurements used for a memory read, one number per byte; the wire
    // carries hexadecimal text (the MemoryRead answer below).
    std::string text = R"({"jsonrpc":"2.0","result":{"value":[)";
    for (int i = 0; i < 16384; ++i) {
      text += (i > 0 ? "," : "") + std::to_string((i * 37 + 11) & 0xFF);
    }
    text += R"(],"return":0},"id":77})";
    shapes.push_back({"16 KiB read as 16384 numbers", text, false, false});
  }
  {
    // An answer with a list of names, such as the file names of a symbol table.
    std::string text = R"({ "jsonrpc" : "2.0", "result" : { "fileName" : [ )";
    for (int i = 0; i < 2000; ++i) {
      text += (i > 0 ? ", " : "") + ("\"src/os/module_" + std::to_string(i) + ".c\"");
    }
    text += R"( ], "return" : 0 }, "id" : 5 })";
    shapes.push_back({"array of 2000 strings", text, true});
  }
  shapes.push_back(
      {"MemoryRead answer, 16 KiB",
       R"({"jsonrpc":"2.0","result":{"value":")" + hex_bytes(16384) + R"(","return":0},"id":78})"});
  {
    std::string text =
        R"({ "jsonrpc" : "2.0", "result" : { "versionAcknowledge" : 2, )"
        R"("translateAddressOnMasterProcess" : 0, "treatMasterProcessAsKernel" : 1, )"
        R"("fixOsaMemSpc" : 0, "fakeTidForMasterProcess" : 0, "commandCount" : 17, "commands" : [ )";
    const char* const methods[] = {"OsaInit",
                                   "OsaCleanup",
                                   "TargetInit",
                                   "TargetCleanup",
                                   "ObjectListInit",
                                   "ObjectListCleanup",
                                   "ObjectListNext",
                                   "ObjectListAttribute",
                                   "TaskRegisterRead",
                                   "TaskRegisterWrite",
                                   "TaskNameGet",
                                   "TaskStatusGet",
                                   "CurrentTaskGet",
                                   "TargetNotify",
                                   "OsaCmd_Execute",
                                   "HistoryLogDump",
                                   "Exit"};
    for (std::size_t i = 0; i < std::size(methods); ++i) {
      text += (i > 0 ? ", \"OSA_Client_" : "\"OSA_Client_") + std::string(methods[i]) + "\"";
    }
    text += R"( ], "return" : 0 }, "id" : 1 })";
    shapes.push_back({"OsaInit answer", text, true});
  }
  shapes.push_back({"ObjectListAttribute answer, 4 KiB text",
                    R"({ "jsonrpc" : "2.0", "result" : { "objAtrValue" : ")" +
                        long_attribute_text() + R"(", "return" : 0 }, "id" : 93 })",
                    true});
  return shapes;
}

const std::vector<Shape>& shapes() {
  static const std::vector<Shape> all = make_shapes();
  return all;
}

// The text our writer makes of a shape: the size of the copy in the limit.
std::string our_text(const Shape& shape) {
  std::string error;
  JsonPtr tree = json_parse(shape.text.c_str(), error);
  return tree ? json_to_text(*tree) : std::string();
}

void BM_Ours(benchmark::State& state, const Shape* shape) {
  std::string out;
  for (auto _ : state) {
    std::string error;
    JsonPtr tree = json_parse(shape->text.c_str(), error);
    out.clear();
    json_write(out, *tree);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * shape->text.size()));
}

// One pass over the bytes (the C library's fastest: finding the terminating NUL) and one copy
// of the text written: what any parser and writer must at least do.
void BM_Limit(benchmark::State& state, const Shape* shape) {
  const std::string written = our_text(*shape);
  std::string out(written.size(), '\0');
  for (auto _ : state) {
    const char* text = shape->text.c_str();
    benchmark::DoNotOptimize(std::strlen(text));
    std::memcpy(out.data(), written.data(), written.size());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * shape->text.size()));
}

#if OSA_BENCH_PEERS
void BM_RapidJson(benchmark::State& state, const Shape* shape) {
  rapidjson::StringBuffer out;
  for (auto _ : state) {
    rapidjson::Document document;
    document.Parse(shape->text.c_str());
    out.Clear();
    rapidjson::Writer<rapidjson::StringBuffer> writer(out);
    document.Accept(writer);
    benchmark::DoNotOptimize(out.GetString());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * shape->text.size()));
}

void BM_Nlohmann(benchmark::State& state, const Shape* shape) {
  for (auto _ : state) {
    const nlohmann::json document = nlohmann::json::parse(shape->text);
    std::string out = document.dump();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * shape->text.size()));
}
#endif

// Keeps the median CPU time of every benchmark for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
  std::map<std::string, double> median_ns;

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        median_ns[run.run_name.function_name] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

std::string name_of(const char* library, const Shape& shape) {
  return std::string(library) + "/" + shape.name;
}

void register_benchmarks() {
  for (const Shape& shape : shapes()) {
    std::vector<benchmark::internal::Benchmark*> added;
    added.push_back(benchmark::RegisterBenchmark(name_of("ours", shape).c_str(), BM_Ours, &shape));
#if OSA_BENCH_PEERS
    added.push_back(
        benchmark::RegisterBenchmark(name_of("rapidjson", shape).c_str(), BM_RapidJson, &shape));
    added.push_back(
        benchmark::RegisterBenchmark(name_of("nlohmann", shape).c_str(), BM_Nlohmann, &shape));
#endif
    added.push_back(
        benchmark::RegisterBenchmark(name_of("limit", shape).c_str(), BM_Limit, &shape));
    for (benchmark::internal::Benchmark* b : added) {
      b->Unit(benchmark::kNanosecond)->Repetitions(5)->ReportAggregatesOnly(true);
    }
  }
}

void print_summary(const std::map<std::string, double>& ns) {
  auto get = [&](const char* library, const Shape& shape) {
    auto it = ns.find(name_of(library, shape));
    return it != ns.end() ? it->second : 0.0;
  };
  std::printf("\nParse plus write, ns per message (median CPU time):\n");
  std::printf("%-40s %10s %10s %10s %10s  %-30s %s\n", "message", "ours", "nlohmann", "rapidjson",
              "limit", "ours vs rapidjson", "limit / ours");
  int missed = 0;
  int compared = 0;
  for (const Shape& shape : shapes()) {
    const double ours = get("ours", shape);
    const double limit = get("limit", shape);
    if (ours <= 0) {
      continue; // filtered out on the command line
    }
    const double rapid = get("rapidjson", shape);
    const double nlohmann = get("nlohmann", shape);
    char verdict[64] = "(no peer)";
    if (rapid > 0 && !shape.on_the_wire) {
      std::snprintf(verdict, sizeof verdict, "%.2fx (not a wire form)", rapid / ours);
    } else if (rapid > 0) {
      const double ratio = rapid / ours;
      missed += ratio < kGoal ? 1 : 0;
      ++compared;
      std::snprintf(verdict, sizeof verdict, "%.2fx (goal %.1fx) %s", ratio, kGoal,
                    ratio >= kGoal ? "met" : "MISSED");
    }
    std::printf("%-40s %10.0f %10.0f %10.0f %10.0f  %-30s %.2f\n", shape.name, ours, nlohmann,
                rapid, limit, verdict, limit > 0 ? limit / ours : 0.0);
  }
  if (compared > 0) {
    std::printf("goal: every wire message at least %.1fx RapidJSON's speed: %s\n", kGoal,
                missed == 0 ? "met" : "missed");
  }
}

} // namespace

int main(int argc, char** argv) {
#if !OSA_BENCH_PEERS
  std::printf("peer benchmark skipped: the RapidJSON or nlohmann-json headers are missing "
              "(Debian packages rapidjson-dev and nlohmann-json3-dev)\n");
#endif
  for (const Shape& shape : shapes()) {
    std::string error;
    if (!json_parse(shape.text.c_str(), error)) {
      std::fprintf(stderr, "the message \"%s\" does not parse: %s\n", shape.name, error.c_str());
      return 1;
    }
    if (shape.written_by_plugin && our_text(shape) != shape.text) {
      std::fprintf(stderr, "the message \"%s\" is not in the plug-in's own form\n", shape.name);
      return 1;
    }
  }
  register_benchmarks();
  // Repetitions of all benchmarks in random order, so that a change in the machine's load
  // during the run does not favour whichever library ran first; a flag given on the command
  // line still overrides this.
  std::vector<char*> args(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave);
  argc = static_cast<int>(args.size());
  argv = args.data();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  print_summary(reporter.median_ns);
  benchmark::Shutdown();
  return 0;
}
