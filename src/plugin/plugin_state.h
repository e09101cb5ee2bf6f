// PluginState: the plug-in's whole state for one debugger context, and its lifetime.
//
// One state per context record. It is created by the first TargetInit or the first command
// of the context, owned through the ClientArea's plug-in state link (TargetInit also lends it
// to the target data link), and destroyed by OsaCleanup. It owns the ORTI file's parse tree
// and model once load_orti has built them, and every cache.
//
// The debugger may call in again while a call of ours waits for a service request, and such a
// nested call may be an OsaCleanup of the very context whose state the outer call is using.
// Every handler therefore holds a PluginStateUse for the duration of its call; a cleanup that
// arrives while a use is held only retires the state, and the last use destroys it.
#pragma once

#include "awareness/awareness_state.h"
#include "orti/orti_load.h"
#include "osa/service_context.h"

#include <cstdint>
#include <memory>
#include <string>

struct PluginState : AwarenessState {
  LoadedOrti orti;          // the parse tree and model of the loaded file (model null until loaded)
  bool loading = false;     // a load_orti is running; a nested one is refused
  int32_t config_depth = 0; // loadconfig files being replayed, one inside the other
  int32_t config_files = 0; // files opened by the outermost loadconfig that is running
  uint32_t uses = 0;        // calls that are using the state right now
  bool retired = false;     // cleaned up while in use: the last use destroys it

  PluginState() = default;
  PluginState(const PluginState&) = delete;
  PluginState& operator=(const PluginState&) = delete;
};

// A new state with the defaults: debug level 4, log level 5, nothing loaded.
PluginState* plugin_state_create();

// The state of the area's plug-in state link, created and linked when the link is empty.
PluginState* plugin_state_ensure(ClientArea& area);

// Destroys the state of the area's link and empties the link; a state in use is retired
// instead and destroyed when its last use ends.
void plugin_state_cleanup(ClientArea& area);

// Keeps a state alive while one call uses it.
class PluginStateUse {
public:
  explicit PluginStateUse(PluginState* state);
  ~PluginStateUse();
  PluginStateUse(const PluginStateUse&) = delete;
  PluginStateUse& operator=(const PluginStateUse&) = delete;

private:
  PluginState* state_;
};

// States retired by a nested cleanup and not yet destroyed (for tests).
std::size_t plugin_states_retired();
