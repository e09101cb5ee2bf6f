// The plug-in's command language: the table of the commands a user (or a host) can type, and the
// OsaCmd_Execute handler that finds a command by its name and runs it.
//
// A row matches when the command line begins with its name, byte for byte and case included,
// and the name is followed by white space or the end of the line; the first matching row in
// table order wins (so "mapregloc2 ..." is not "mapregloc"). The rest of the line after the
// name and the white space behind it is the argument text. A handler answers true (status 0)
// or false (status 1); a line that matches no row answers 1 and shows nothing. Configuration
// files replay their lines through the same entry.
#pragma once

#include "osa/service_context.h"
#include "plugin/plugin_state.h"

#include <array>
#include <cstdint>
#include <string>

using CommandHandler = bool (*)(OSA_ServiceCntx* ctx, PluginState& state, const std::string& args);

struct CommandRow {
  const char* name;
  CommandHandler handler;
  const char* help; // null: not listed by help
};

inline constexpr std::size_t kCommandCount = 24;
const std::array<CommandRow, kCommandCount>& command_table();

// The row a command line selects, or null.
const CommandRow* find_command(const char* line);

// The OsaCmd_Execute handler. state: the state the call already has (the target data), or
// null; then the area's state is used, created when the area has none; without an area the
// call answers 1.
int32_t osa_cmd_execute(OSA_ServiceCntx* ctx, ClientArea* area, PluginState* state,
                        const char* line);
