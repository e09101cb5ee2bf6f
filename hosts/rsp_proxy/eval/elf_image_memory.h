// Target memory as a program's ELF file describes it before it runs: the contents of its
// allocated sections at their addresses, zeros for sections without contents (.bss), as a
// debugger shows a program it has not started. Useful before the target is connected and
// for tests; writes change the copy in memory only.
#pragma once

#include "eval/target_memory.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ElfImageMemory : public TargetMemory {
public:
  // Null, with a reason, when the file cannot be read as an ELF file.
  static std::unique_ptr<ElfImageMemory> open(const std::string& elf_path, std::string& error);

  bool read(uint64_t address, std::size_t len, uint8_t* out, std::string& error) override;
  bool write(uint64_t address, const uint8_t* data, std::size_t len, std::string& error) override;

  struct Region {
    uint64_t address = 0;
    std::vector<uint8_t> bytes;
  };
  const std::vector<Region>& regions() const { return regions_; }

private:
  // Sorted by address, not overlapping.
  std::vector<Region> regions_;
  Region* find(uint64_t address);
};
