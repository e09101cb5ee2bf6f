// The register commands: the user's register names and register locations.
#include "plugin/register_commands.h"

#include "awareness/osa_trace.h"
#include "awareness/task_registers.h"
#include "plugin/command_args.h"

#include <string_view>
#include <vector>

namespace {

// A register name, as the second word of a location command, must leave room in a formula
// buffer of 2048 characters.
constexpr std::size_t kRegisterNameLimit = 2047;

bool map_location(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args,
                  bool by_context) {
  const int32_t id = atoi_of(args);
  std::string_view rest;
  first_word(args, &rest);
  std::string_view expression;
  const std::string_view name = first_word(rest, &expression);
  if (name.size() >= kRegisterNameLimit) {
    osa_display(ctx, kMessageTypeUser, "Register name is too long\n");
    return false;
  }
  if (name.empty() || expression.empty()) {
    osa_display(ctx, kMessageTypeUser, "Usage: mapregloc TASKID NAME TARNO_EXPR\n");
    return false;
  }
  if (holds_line_break(expression)) {
    osa_display(ctx, kMessageTypeUser,
                by_context ? "The location must be on one line.\n"
                             "Usage: mapregloc2 CONTEXTID NAME TARNO_EXPR\n"
                           : "The location must be on one line.\n"
                             "Usage: mapregloc TASKID NAME TARNO_EXPR\n");
    return false;
  }
  const std::string name_text(name);
  const std::string expression_text(expression);
  return by_context ? mapregloc_by_context(state, ctx, id, name_text, expression_text)
                    : mapregloc(state, ctx, id, name_text, expression_text);
}

} // namespace

bool command_mapregname(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  const int32_t id = atoi_of(args);
  std::string_view name;
  first_word(args, &name);
  if (name.empty()) {
    osa_display(ctx, kMessageTypeUser, "Register name not specified.  Usage: mapregname ID NAME\n");
    return false;
  }
  if (holds_line_break(name)) {
    osa_display(ctx, kMessageTypeUser,
                "The register name must be on one line.  Usage: mapregname ID NAME\n");
    return false;
  }
  add_register_name(state, id, std::string(name));
  return true;
}

bool command_regname(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  const int32_t id = atoi_of(args);
  std::vector<std::string> names;
  if (!register_names(state, id, false, &names)) {
    // Without a table the debugger has not announced its CPU yet; opening the OSA Explorer is
    // what makes it do so.
    osa_display(ctx, kMessageTypeUser,
                state.register_table != nullptr
                    ? "Unrecognized register ID\n"
                    : "You need to open the OSA Explorer at least once before calling this "
                      "command\n");
    return false;
  }
  std::string text;
  for (const std::string& name : names) {
    text += name;
    text += ' ';
  }
  osa_display(ctx, kMessageTypeOutput, text);
  return true;
}

bool command_mapregloc(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  return map_location(ctx, state, args, false);
}

bool command_mapregloc2(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args) {
  return map_location(ctx, state, args, true);
}
