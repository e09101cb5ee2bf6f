// What the proxy needs to know of a processor family: the CPU type the plug-in is initialised
// with and the plug-in's register id for each register name a target description uses. One
// row per family; a family without register names still gets its tasks shown, only the
// registers of switched-out tasks are then unavailable.
#pragma once

#include <cstdint>
#include <string>

namespace rsp {

struct CpuFamily {
  const char* name;
  uint16_t elf_machine;
  int osa_cpu_type;
  // The plug-in's register id of a register GDB names so, or -1.
  int (*register_id)(const std::string& gdb_name);
};

// The row for an ELF machine number; null for a family the proxy does not know.
const CpuFamily* cpu_family_for_machine(uint16_t elf_machine);

// The header facts of an ELF file.
struct ElfFacts {
  uint16_t machine = 0;
  bool big_endian = false;
  int address_bytes = 4;
};
bool read_elf_facts(const std::string& path, ElfFacts& facts, std::string& error);

} // namespace rsp
