"""The CPU families the host knows, one row each: what TargetInit tells the plug-in, how the
plug-in's register ids map to GDB's registers, and what a backtrace of a switched-out task
needs. Another family is another row of FAMILIES."""


class Register:
    """One register of a task's saved context."""

    def __init__(self, reg_id, shown, gdb_names, backtrace=True):
        self.reg_id = reg_id  # the plug-in's register id
        self.shown = shown  # its name in the host's tables
        self.gdb_names = gdb_names  # what GDB may call it, first choice first
        self.backtrace = backtrace  # loaded into the core for a task's backtrace


class CpuFamily:
    def __init__(self, name, architectures, major_cpu_type, minor_cpu_type, word_bits,
                 registers, backtrace_needs, unwind_helpers, code_registers):
        self.name = name
        self.architectures = architectures  # prefixes of GDB's architecture names
        self.major_cpu_type = major_cpu_type
        self.minor_cpu_type = minor_cpu_type
        self.word_bits = word_bits
        self.registers = registers  # in the order the host shows them
        self.backtrace_needs = backtrace_needs  # without these there is no backtrace
        self.unwind_helpers = unwind_helpers  # without these it may end early
        self.code_registers = code_registers  # values worth a symbol
        self._by_id = dict((r.reg_id, r) for r in registers)

    def matches(self, architecture):
        return any(architecture.startswith(prefix) for prefix in self.architectures)

    def gdb_names(self, reg_id):
        """The names GDB may give the plug-in's register reg_id, or () for an unknown id."""
        register = self._by_id.get(reg_id)
        return register.gdb_names if register is not None else ()

    def backtrace_registers(self):
        return [r.shown for r in self.registers if r.backtrace]

    def word(self, value):
        """value as the core holds it."""
        return value & ((1 << self.word_bits) - 1)

    def hex(self, value):
        return "0x%0*x" % (self.word_bits // 4, self.word(value))


ARM = CpuFamily(
    name="ARM", architectures=("arm",), major_cpu_type=24, minor_cpu_type=0, word_bits=32,
    registers=[Register(i, "r%d" % i, ("r%d" % i,)) for i in range(13)] + [
        Register(13, "sp", ("sp",)), Register(14, "lr", ("lr",)), Register(15, "pc", ("pc",)),
        # Id 40 is the status register: cpsr, or xpsr on M-profile cores (and QEMU's stub for
        # them). It is shown, but never loaded for a backtrace: its Thumb bit must not change.
        Register(40, "xpsr", ("cpsr", "xpsr"), backtrace=False)],
    backtrace_needs=("pc", "sp"),
    # lr and the frame pointer (r7 in Thumb code) let GDB's unwinder go past the first frame.
    unwind_helpers=("lr", "r7"),
    code_registers=("pc", "lr"))

FAMILIES = [ARM]


def family_for(architecture):
    """The family of a GDB architecture name ("armv7e-m"), or None."""
    for family in FAMILIES:
        if family.matches(architecture or ""):
            return family
    return None
