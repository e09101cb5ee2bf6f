"""GDB host for osa_orti_plugin: runs the plug-in as a child process, speaks its JSON-RPC
over the pipes and answers its OSA_Service_* requests with GDB's evaluator, registers and
memory. Loaded into GDB by hosts/gdb/orti_host.py."""
