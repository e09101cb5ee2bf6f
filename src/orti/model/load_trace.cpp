// The process-wide destination of the model builder's load traces.
#include "orti/model/load_trace.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

// The one place the process keeps where load traces go.
struct LoadTraceState {
  LoadTraceHook hook = nullptr;
  void* user = nullptr;
  int32_t max_level = INT32_MAX;
};
LoadTraceState g_load_trace;

} // namespace

void set_load_trace_hook(LoadTraceHook hook, void* user, int32_t max_level) {
  g_load_trace.hook = hook;
  g_load_trace.user = user;
  g_load_trace.max_level = hook != nullptr ? max_level : INT32_MAX;
}

void reset_load_trace_hook() {
  set_load_trace_hook(nullptr, nullptr, 0);
}

bool load_trace_wanted(int32_t detail) {
  return kLoadTraceBaseLevel + detail <= g_load_trace.max_level;
}

void load_trace(int32_t detail, const char* format, ...) {
  if (!load_trace_wanted(detail)) {
    return;
  }
  std::va_list args;
  va_start(args, format);
  const std::string text = vformat(format, args);
  va_end(args);
  if (g_load_trace.hook != nullptr) {
    g_load_trace.hook(g_load_trace.user, kLoadTraceBaseLevel + detail, text.c_str());
  } else {
    std::fputs(text.c_str(), stderr);
  }
}
