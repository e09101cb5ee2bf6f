// The command table and the OsaCmd_Execute handler.
#include "plugin/command_table.h"

#include "plugin/command_args.h"
#include "plugin/config_file.h"
#include "plugin/describe_command.h"
#include "plugin/object_commands.h"
#include "plugin/plugin_commands.h"
#include "plugin/register_commands.h"
#include "plugin/stack_command.h"
#include "plugin/walk_command.h"

#include <cstring>

namespace {

const std::array<CommandRow, kCommandCount> kCommands = {{
    {"clearcache", command_clearcache, "Clear all cached state"},
    {"describe", command_describe, nullptr}, // for hosts, so not in help
    {"expr", command_expr, "Find object/attribute information from ORTI file"},
    {"getprop", command_getprop, nullptr},
    {"getpropval", command_getpropval, nullptr},
    {"help", command_help, "Displays this help text"},
    {"load_orti", command_load_orti, nullptr},
    {"loadconfig", command_loadconfig,
     "Merge configuration in from specified file.\nUses default configuration file if no file "
     "is specified"},
    {"mapregname", command_mapregname, "Maps a register ID to a register name"},
    {"mapregloc", command_mapregloc, "Maps a register name to a location for a given task"},
    {"mapregloc2", command_mapregloc2, nullptr},
    {"playdead", command_playdead, nullptr},
    {"quiet", command_quiet, "Silences all error/warning reporting for the given command"},
    {"regname", command_regname, "Returns the name(s) associated with a given TARNO register ID"},
    {"saveconfig", command_saveconfig,
     "Store configuration to specified file.\nUses default configuration file if no file is "
     "specified"},
    {"set check_context_validity", command_set_check_context_validity, nullptr},
    {"set debuglevel", command_set_debuglevel, nullptr},
    {"set loglevel", command_set_loglevel, nullptr},
    {"set suppress_context_errors", command_set_suppress_context_errors,
     "Suppresses errors releated to missing task contexts.\n\tTask register values will be "
     "taken from their current values on the target."},
    {"showlink", command_showlink, nullptr},
    {"stackusage", command_stackusage, nullptr}, // its table is in the README, not in help
    {"togglesymbols", command_togglesymbols,
     "Toggles the display of attribute symbols versus their evaluated values.\n\tYou will need "
     "to re-open the OSA Explorer"},
    {"version", command_version, "Displays version informaiton"},
    {"walk", command_walk, nullptr}, // for hosts, so not in help
}};

} // namespace

const std::array<CommandRow, kCommandCount>& command_table() {
  return kCommands;
}

const CommandRow* find_command(const char* line) {
  if (line == nullptr) {
    return nullptr;
  }
  for (const CommandRow& row : kCommands) {
    const std::size_t n = std::strlen(row.name);
    if (std::strncmp(line, row.name, n) == 0 && (line[n] == '\0' || is_command_space(line[n]))) {
      return &row;
    }
  }
  return nullptr;
}

int32_t osa_cmd_execute(OSA_ServiceCntx* ctx, ClientArea* area, PluginState* state,
                        const char* line) {
  if (state == nullptr) {
    if (area == nullptr) {
      return 1;
    }
    state = plugin_state_ensure(*area);
  }
  const CommandRow* row = find_command(line);
  if (row == nullptr) {
    return 1;
  }
  PluginStateUse use(state);
  // The argument is copied: the handler may send service requests, during which the request
  // that holds the line is not ours to rely on.
  const std::string args(skip_spaces(line + std::strlen(row->name)));
  return row->handler(ctx, *state, args) ? 0 : 1;
}
