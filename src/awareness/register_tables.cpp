// Register id tables: family lookup, address-mode rule and table reading.
#include "awareness/register_tables.h"

namespace {

// Every family has one table for all of its minor types: the register ids of a family do not
// change between its cores, cores only leave some of them unused.
const RegisterIdTable* v850_table(int16_t) {
  return &kV850RegisterTable;
}
const RegisterIdTable* powerpc_table(int16_t) {
  return &kPowerPcRegisterTable;
}
const RegisterIdTable* superh_table(int16_t) {
  return &kSuperHRegisterTable;
}
const RegisterIdTable* arm_table(int16_t) {
  return &kArmRegisterTable;
}

constexpr std::array<CpuFamilyRow, 4> kCpuFamilies{{
    {14, v850_table},
    {16, powerpc_table},
    {17, superh_table},
    {24, arm_table},
}};

// CPU types whose kernel addresses must not be taken as physical: their kernels run with address
// translation on, and for an unknown type (-1) nothing is assumed. A major type is listed when
// this holds for all of its minor types, a (major, minor) pair when it holds for some cores only.
constexpr int16_t kVirtualKernelMajors[] = {0, 4, 10, 24, -1};

struct CpuType {
  int16_t major_cpu_type;
  int16_t minor_cpu_type;
};

constexpr CpuType kVirtualKernelCpus[] = {{16, 20}, {16, 71},  {16, 73},
                                          {16, 74}, {16, 116}, {45, 74}};

} // namespace

const std::array<CpuFamilyRow, 4>& cpu_family_table() {
  return kCpuFamilies;
}

const RegisterIdTable* find_register_table(int16_t major_cpu_type, int16_t minor_cpu_type) {
  for (const CpuFamilyRow& row : kCpuFamilies) {
    if (row.major_cpu_type == major_cpu_type) {
      return row.table_for_minor(minor_cpu_type);
    }
  }
  return nullptr;
}

bool kernel_in_physical_address(int16_t major_cpu_type, int16_t minor_cpu_type) {
  for (int16_t major : kVirtualKernelMajors) {
    if (major == major_cpu_type) {
      return false;
    }
  }
  for (const CpuType& cpu : kVirtualKernelCpus) {
    if (cpu.major_cpu_type == major_cpu_type && cpu.minor_cpu_type == minor_cpu_type) {
      return false;
    }
  }
  return true;
}

std::vector<int32_t> register_table_faults(const RegisterIdTable& table) {
  std::vector<int32_t> faults;
  for (int32_t index = 0; index < table.count; ++index) {
    const int32_t id = table.entries[index].id;
    if (id != index && id != kUnmappedRegisterId) {
      faults.push_back(index);
    }
  }
  return faults;
}

const char* const* register_table_names(const RegisterIdTable* table, int32_t id) {
  if (table == nullptr || id < 0 || id >= table->count) {
    return nullptr;
  }
  const RegisterIdEntry& entry = table->entries[id];
  // An unmapped entry answers null even if its list pointer were set by mistake.
  if (entry.id == kUnmappedRegisterId) {
    return nullptr;
  }
  return entry.names;
}
