// The commands that act on the plug-in itself.
#include "plugin/plugin_commands.h"

#include "awareness/attribute_eval.h"
#include "awareness/osa_trace.h"
#include "orti/model/declarations.h"
#include "plugin/command_args.h"
#include "plugin/command_table.h"
#include "plugin/orti_loading.h"
#include "runtime/format.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

bool begins_with(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// A level argument: a base-10 integer followed only by white space (a negative one counts as
// 0), or "default" followed only by white space.
bool level_argument(const std::string& args, int32_t default_level, int32_t* level) {
  std::string_view rest;
  if (const std::optional<int32_t> n = leading_integer(args, &rest)) {
    if (!only_spaces(rest)) {
      return false;
    }
    *level = *n < 0 ? 0 : *n;
    return true;
  }
  const std::string_view text = skip_spaces(args);
  if (text.substr(0, 7) != "default" || !only_spaces(text.substr(7))) {
    return false;
  }
  *level = default_level;
  return true;
}

void raise_log_level_to_debug_level(PluginState& state) {
  if (state.log_level < state.debug_level) {
    state.log_level = state.debug_level;
  }
}

} // namespace

bool flag_argument(const std::string& args) {
  const std::string text(skip_spaces(args));
  const bool says_false =
      begins_with(text, "false") || begins_with(text, "0") || begins_with(text, "off");
  const bool says_true =
      begins_with(text, "true") || begins_with(text, "1") || begins_with(text, "on");
  return !(says_false && !says_true);
}

bool command_clearcache(OSA_ServiceCntx*, PluginState& state, const std::string&) {
  invalidate_caches(state);
  return true;
}

namespace {

// The command table never changes, so its help lines are formatted once per process.
const std::vector<std::string>& help_lines() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> out;
    for (const CommandRow& row : command_table()) {
      if (row.help != nullptr) {
        out.push_back(format("%s\n\t%s\n", row.name, row.help));
      }
    }
    return out;
  }();
  return lines;
}

} // namespace

bool command_help(OSA_ServiceCntx* ctx, PluginState&, const std::string&) {
  for (const std::string& line : help_lines()) {
    osa_display(ctx, kMessageTypeOutput, line);
  }
  return true;
}

bool command_version(OSA_ServiceCntx* ctx, PluginState&, const std::string&) {
  osa_display(ctx, kMessageTypeOutput, format("%s\n", kVersionBanner));
  return true;
}

bool command_quiet(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  const int32_t debug_level = state.debug_level;
  state.debug_level = -1;
  if (state.log_level < -1) {
    state.log_level = -1;
  }
  osa_cmd_execute(ctx, nullptr, &state, args.c_str());
  state.debug_level = debug_level;
  raise_log_level_to_debug_level(state);
  return true;
}

bool command_set_debuglevel(OSA_ServiceCntx*, PluginState& state, const std::string& args) {
  int32_t level = 0;
  if (!level_argument(args, kDefaultDebugLevel, &level)) {
    return false;
  }
  state.debug_level = level;
  raise_log_level_to_debug_level(state);
  return true;
}

bool command_set_loglevel(OSA_ServiceCntx*, PluginState& state, const std::string& args) {
  int32_t level = 0;
  if (!level_argument(args, kDefaultLogLevel, &level)) {
    return false;
  }
  if (level > state.debug_level) {
    state.log_level = level;
  }
  return true;
}

bool command_set_suppress_context_errors(OSA_ServiceCntx* ctx, PluginState& state,
                                         const std::string& args) {
  if (flag_argument(args)) {
    osa_trace(state, ctx, 4, "Suppressing errors for missing task context information\n");
    state.suppress_context_errors = true;
  } else {
    osa_trace(state, ctx, 4, "Enabling errors for missing task context information\n");
    state.suppress_context_errors = false;
  }
  for (TaskContextRecord& record : state.task_records) {
    clear_task_record(record);
  }
  return true;
}

bool command_set_check_context_validity(OSA_ServiceCntx* ctx, PluginState& state,
                                        const std::string& args) {
  if (flag_argument(args)) {
    osa_trace(state, ctx, 4, "CONTEXT VALID checks are now ON\n");
    state.check_context_validity = true;
  } else {
    osa_trace(state, ctx, 4, "CONTEXT VALID checks are now OFF\n");
    state.check_context_validity = false;
  }
  invalidate_caches(state);
  return true;
}

bool command_togglesymbols(OSA_ServiceCntx*, PluginState& state, const std::string&) {
  state.show_symbols = !state.show_symbols;
  return true;
}

bool command_load_orti(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  std::string_view rest;
  std::string path = quoted_word(args, &rest);
  int extended = 0;
  if (orti_name_equal(path.c_str(), "--extended_syntax")) {
    extended = 1;
    path = quoted_word(rest);
  }
  return load_orti(state, ctx, path.c_str(), extended) == 0;
}

bool command_playdead(OSA_ServiceCntx*, PluginState&, const std::string&) {
  // A debugging aid that would wait for a flag nothing in the process ever clears; it answers
  // at once so that a stray command can never hang the debugger's session.
  return true;
}
