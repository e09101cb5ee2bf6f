# The ORTI host for GDB: in GDB, "source hosts/gdb/orti_host.py", then "orti load FILE" and
# "help orti". Uses only GDB's own Python.


def _install_orti_host():
    import os
    import sys

    # The code's own file name: __file__ belongs to whoever sourced this script when that
    # was another Python script.
    here = os.path.dirname(os.path.abspath(sys._getframe(0).f_code.co_filename))
    if here not in sys.path:
        sys.path.insert(0, here)
    import orti_gdb.commands

    if not getattr(orti_gdb.commands, "installed", False):
        orti_gdb.commands.install()
        orti_gdb.commands.installed = True


_install_orti_host()
