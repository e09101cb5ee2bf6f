// The shared ORTI load path: open, parse with the loader's reports, build the model.
#include "orti/orti_load.h"

#include "orti/model/instantiate.h"
#include "orti/model/load_trace.h"
#include "orti/parser/koil_parser.h"
#include "runtime/format.h"
#include "runtime/message_output.h"
#include "runtime/platform.h"

#include <cerrno>

namespace {

// What the parser's reports need while one load runs.
struct LoadRun {
  const OrtiLoadSink* sink;
  const std::string* file_name;
  int error_count = 0;
};

void deliver(const OrtiLoadSink& sink, int32_t level, const std::string& text) {
  if (sink.message != nullptr && level <= sink.max_level) {
    sink.message(sink.user, level, text.c_str());
  }
}

void report_error(void* user, const char* message, int32_t line, const char* token_text) {
  auto* run = static_cast<LoadRun*>(user);
  ++run->error_count;
  deliver(*run->sink, 0, koil_report_text(message, line, token_text));
}

void report_warning(void* user, const char* message, int32_t line, const char* token_text) {
  auto* run = static_cast<LoadRun*>(user);
  if (run->sink->max_level >= kLoadTraceBaseLevel) { // spares the formatting
    deliver(*run->sink, kLoadTraceBaseLevel, koil_report_text(message, line, token_text));
  }
}

// A generator's construct, accepted: warned at its first use, beside the object model's
// warnings, so that whoever maintains the generator finds each kind once.
void report_dialect(void* user, KoilDialect construct, int32_t line, const char* detail) {
  auto* run = static_cast<LoadRun*>(user);
  warning_message("%s",
                  koil_dialect_warning(construct, detail, line, run->file_name->c_str()).c_str());
}

void report_fatal(void* user, const char* message) {
  auto* run = static_cast<LoadRun*>(user);
  deliver(*run->sink, 0, format("%s\n", message));
}

void route_trace(void* user, int32_t level, const char* text) {
  deliver(*static_cast<const OrtiLoadSink*>(user), level, text);
}

// Routes the model builder's traces to the sink for one build; afterwards, on every path, they
// go to their default destination again (standard error), as they do outside a load.
class TraceRouting {
public:
  explicit TraceRouting(const OrtiLoadSink& sink) {
    set_load_trace_hook(route_trace, const_cast<OrtiLoadSink*>(&sink), sink.max_level);
  }
  ~TraceRouting() { reset_load_trace_hook(); }
  TraceRouting(const TraceRouting&) = delete;
  TraceRouting& operator=(const TraceRouting&) = delete;
};

template <class Parse>
OrtiLoadStatus load(Parse&& parse, const std::string& file_name, int extended_syntax,
                    const OrtiLoadSink& sink, LoadedOrti& out) {
  out.model.reset();
  orti_tree_clear(out.tree);
  out.tree.file_name = file_name;
  LoadRun run{&sink, &file_name};
  KoilReports reports;
  reports.error = report_error;
  reports.warning = report_warning;
  reports.fatal = report_fatal;
  reports.dialect = report_dialect;
  reports.user = &run;
  KoilParseSettings settings;
  settings.extended_syntax = extended_syntax;
  const int parsed = parse(out.tree, settings, reports);
  out.error_count = run.error_count;
  out.extended_syntax = settings.extended_syntax;

  OrtiLoadStatus status = OrtiLoadStatus::Loaded;
  if (parsed == kKoilParseScannerFailed) {
    status = OrtiLoadStatus::ScannerFailed;
  } else if (run.error_count > 0) {
    deliver(sink, 0, format("%d errors encountered\n", run.error_count));
    status = OrtiLoadStatus::ParseErrors;
  } else if (parsed != kKoilParseAccepted) {
    status = OrtiLoadStatus::ParseFailed;
  } else {
    TraceRouting routing(sink);
    out.model = parse_koil(&out.tree, settings.extended_syntax);
    if (!out.model) {
      status = OrtiLoadStatus::ModelFailed;
    }
  }
  // A strict tree records a construct only where the load failed on it.
  if (status != OrtiLoadStatus::Loaded && status != OrtiLoadStatus::ScannerFailed &&
      settings.extended_syntax == 0 && out.tree.uses_dialect()) {
    deliver(sink, kOrtiDialectHintLevel, kOrtiDialectHint);
  }
  if (status != OrtiLoadStatus::Loaded) {
    orti_tree_clear(out.tree);
  }
  return status;
}

} // namespace

LoadedOrti& LoadedOrti::operator=(LoadedOrti&& other) noexcept {
  if (this != &other) {
    model.reset();
    orti_tree_clear(tree);
    tree = std::move(other.tree);
    model = std::move(other.model);
    extended_syntax = other.extended_syntax;
    error_count = other.error_count;
  }
  return *this;
}

std::FILE* orti_open(const std::string& path, int* error_number) {
  if (platform_is_directory(path)) {
    *error_number = EISDIR;
    return nullptr;
  }
  errno = 0;
  std::FILE* file = platform_fopen(path, "r");
  if (file == nullptr) {
    *error_number = errno != 0 ? errno : ENOENT;
  }
  return file;
}

std::string orti_open_failure_text(const std::string& path, int error_number) {
  return format("Could not open file %s: %s\n", path.c_str(),
                platform_error_text(error_number).c_str());
}

OrtiLoadStatus orti_load_stream(std::FILE* stream, const std::string& file_name,
                                int extended_syntax, const OrtiLoadSink& sink, LoadedOrti& out) {
  return load(
      [stream](OrtiParseTree& tree, KoilParseSettings& settings, const KoilReports& reports) {
        return koil_parse(stream, tree, settings, reports);
      },
      file_name, extended_syntax, sink, out);
}

OrtiLoadStatus orti_load_text(std::string_view text, const std::string& file_name,
                              int extended_syntax, const OrtiLoadSink& sink, LoadedOrti& out) {
  return load(
      [text](OrtiParseTree& tree, KoilParseSettings& settings, const KoilReports& reports) {
        return koil_parse_text(text, tree, settings, reports);
      },
      file_name, extended_syntax, sink, out);
}

OrtiLoadStatus orti_load_file(const std::string& path, int extended_syntax,
                              const OrtiLoadSink& sink, LoadedOrti& out) {
  int error_number = 0;
  std::FILE* file = orti_open(path, &error_number);
  if (file == nullptr) {
    out.model.reset();
    orti_tree_clear(out.tree);
    deliver(sink, 0, orti_open_failure_text(path, error_number));
    return OrtiLoadStatus::OpenFailed;
  }
  const OrtiLoadStatus status = orti_load_stream(file, path, extended_syntax, sink, out);
  std::fclose(file);
  return status;
}
