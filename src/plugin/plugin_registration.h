// The plug-in's registration: the one place where the plug-in puts its handlers into the
// OSA client method layer's handler table at start-up.
#pragma once

#include "osa/client_methods.h"

// Called once by OSA_Client_CmdInit with the process's argc and argv (which it does not read):
// empties all 38 slots and fills the 15 that the plug-in serves.
void plugin_register_handlers(int argc, char** argv, ClientHandlerTable& table);
