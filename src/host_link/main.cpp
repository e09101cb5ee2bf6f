// Entry point of the osa_orti_plugin executable; everything else lives in the library.
#include "host_link/plugin_process.h"

int main(int argc, char** argv) {
  return plugin_process_main(argc, argv);
}
