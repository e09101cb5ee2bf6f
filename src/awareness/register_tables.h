// Register id tables: how the debugger's register numbers map to register names, per CPU family.
//
// The debugger names a register by its number (register id). For each supported CPU family the
// plug-in keeps one constant table in which entry i describes register id i: either the id
// itself with the register's names (its own name first, then the other names it answers to) or
// kUnmappedRegisterId with no names. The tables live in register_tables/*.cpp, one per family;
// this module picks the table for the debugger's CPU type and reads it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

inline constexpr int32_t kUnmappedRegisterId = 0xFFFF;

struct RegisterIdEntry {
  int32_t id;               // the entry's index, or kUnmappedRegisterId
  const char* const* names; // null-terminated list, or null when unmapped
};

struct RegisterIdTable {
  const char* family;
  const RegisterIdEntry* entries;
  int32_t count;
};

struct CpuFamilyRow {
  int16_t major_cpu_type;
  const RegisterIdTable* (*table_for_minor)(int16_t minor_cpu_type);
};

// The four families in lookup order 14, 16, 17, 24; every row's function returns its one table
// whatever the minor type.
const std::array<CpuFamilyRow, 4>& cpu_family_table();

// The table of the first row whose major type matches, or null.
const RegisterIdTable* find_register_table(int16_t major_cpu_type, int16_t minor_cpu_type);

// false for major types 0, 4, 10, 24 and -1, for major 16 with minor 20, 71, 73, 74 or 116, and
// for major 45 with minor 74; true for every other combination.
bool kernel_in_physical_address(int16_t major_cpu_type, int16_t minor_cpu_type);

// The indexes whose entry id is neither the index nor kUnmappedRegisterId (a correct table gives
// none).
std::vector<int32_t> register_table_faults(const RegisterIdTable& table);

// The name list of id, or null when id is out of range (negative or >= count) or unmapped.
const char* const* register_table_names(const RegisterIdTable* table, int32_t id);

extern const RegisterIdTable kV850RegisterTable;
extern const RegisterIdTable kPowerPcRegisterTable;
extern const RegisterIdTable kSuperHRegisterTable;
extern const RegisterIdTable kArmRegisterTable;
