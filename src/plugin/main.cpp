// Entry point of the osa_orti_plugin executable: it joins the plug-in's handlers to the client
// method layer and hands the process loop its initialiser; everything else lives in the
// libraries.
#include "host_link/plugin_process.h"
#include "osa/client_methods.h"
#include "plugin/plugin_registration.h"

int main(int argc, char** argv) {
  osa_set_plugin_registration(plugin_register_handlers);
  return plugin_process_main(argc, argv, OSA_Client_CmdInit);
}
