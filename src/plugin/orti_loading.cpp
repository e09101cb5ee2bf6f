// Opening, parsing and modelling the ORTI file for the load_orti command.
#include "plugin/orti_loading.h"

#include "awareness/attribute_eval.h"
#include "awareness/cores.h"
#include "awareness/osa_trace.h"
#include "orti/model/load_trace.h"
#include "osa/service_requests.h"

#include <cstdio>
#include <string>

namespace {

// The sink of one load: every message of the parser and the model builder becomes a leveled
// message of the state being loaded, through the context record of the call.
struct LoadContext {
  PluginState* state;
  OSA_ServiceCntx* ctx;
};

void leveled(void* user, int32_t level, const char* text) {
  auto* load = static_cast<LoadContext*>(user);
  osa_trace_text(*load->state, load->ctx, level, text);
}

// Marks the state as loading for as long as one load_orti runs, on every path.
class LoadingFlag {
public:
  explicit LoadingFlag(PluginState& state) : state_(state) { state_.loading = true; }
  ~LoadingFlag() { state_.loading = false; }
  LoadingFlag(const LoadingFlag&) = delete;
  LoadingFlag& operator=(const LoadingFlag&) = delete;

private:
  PluginState& state_;
};

} // namespace

int32_t load_orti(PluginState& state, OSA_ServiceCntx* ctx, const char* path, int extended_syntax) {
  osa_trace(state, ctx, 50, "%s\n", kVersionBanner);
  osa_trace(state, ctx, 50, "load_orti(%s, %d)\n", text_or_null(path), extended_syntax);
  if (state.model != nullptr) {
    osa_trace(state, ctx, 0, "ORTI previously loaded.  load_orti can only be run once.\n");
    return 1;
  }
  if (state.loading) {
    // Only reachable from a command that the debugger sent while this load waited for it.
    osa_trace(state, ctx, 0, "load_orti is already running; the second load_orti is refused.\n");
    return 1;
  }
  if (path == nullptr || *path == '\0') {
    osa_trace(state, ctx, 0, "Usage: load_orti [--extended_syntax] ORTI_FILE\n");
    return 1;
  }
  LoadingFlag loading(state);
  const std::string given(path);
  int error_number = 0;
  std::FILE* file = orti_open(given, &error_number);
  if (file == nullptr) {
    std::string found;
    if (OSA_Service_ConfigFileSearch(ctx, given.c_str(), 4, 0, &found) == 0 && !found.empty()) {
      int found_error = 0;
      file = orti_open(found, &found_error);
      if (file == nullptr) {
        error_number = found_error;
      }
    }
  }
  if (file == nullptr) {
    osa_trace_text(state, ctx, 0, orti_open_failure_text(given, error_number).c_str());
    return 1;
  }
  LoadContext load{&state, ctx};
  OrtiLoadSink sink;
  sink.message = leveled;
  sink.user = &load;
  sink.max_level = state.log_level;
  const OrtiLoadStatus status = orti_load_stream(file, given, extended_syntax, sink, state.orti);
  std::fclose(file);
  if (status != OrtiLoadStatus::Loaded) {
    return 1;
  }
  attach_model(state, state.orti.model.get());
  report_cores_of_target(state, ctx, ctx != nullptr ? ctx->coreCount : 0);
  return 0;
}
