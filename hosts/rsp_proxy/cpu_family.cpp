#include "cpu_family.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace rsp {

namespace {

// ARM: r0-r12, sp, lr and pc keep their numbers; the status register is id 40 ("cpsr"), which
// M-profile descriptions call xpsr.
int arm_register_id(const std::string& name) {
  if (name == "sp") {
    return 13;
  }
  if (name == "lr") {
    return 14;
  }
  if (name == "pc") {
    return 15;
  }
  if (name == "cpsr" || name == "xpsr") {
    return 40;
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'r') {
    int n = 0;
    for (std::size_t i = 1; i < name.size(); ++i) {
      if (name[i] < '0' || name[i] > '9') {
        return -1;
      }
      n = n * 10 + (name[i] - '0');
    }
    return n <= 15 ? n : -1;
  }
  return -1;
}

int no_register_id(const std::string&) {
  return -1;
}

const CpuFamily kFamilies[] = {
    {"ARM", 40, 24, arm_register_id},
    {"PowerPC", 20, 16, no_register_id},
    {"PowerPC (64-bit)", 21, 16, no_register_id},
    {"V850/RH850", 87, 14, no_register_id},
    {"SuperH", 42, 17, no_register_id},
};

} // namespace

const CpuFamily* cpu_family_for_machine(uint16_t elf_machine) {
  for (const CpuFamily& family : kFamilies) {
    if (family.elf_machine == elf_machine) {
      return &family;
    }
  }
  return nullptr;
}

bool read_elf_facts(const std::string& path, ElfFacts& facts, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  unsigned char header[20] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  if (in.gcount() != sizeof header || std::memcmp(header,
                                                  "\x7f"
                                                  "ELF",
                                                  4) != 0) {
    error = path + " is not an ELF file";
    return false;
  }
  // e_ident: class at 4 (1: 32-bit, 2: 64-bit), data at 5 (1: little, 2: big endian);
  // e_machine at 18, in the file's own byte order.
  facts.address_bytes = header[4] == 2 ? 8 : 4;
  facts.big_endian = header[5] == 2;
  facts.machine = facts.big_endian ? static_cast<uint16_t>(header[18] << 8 | header[19])
                                   : static_cast<uint16_t>(header[19] << 8 | header[18]);
  return true;
}

} // namespace rsp
