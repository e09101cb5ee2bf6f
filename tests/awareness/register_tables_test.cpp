// Register id tables: the shape of the four family tables, the family lookup, the address-mode
// rule and reading names by id.
#include "awareness/register_tables.h"

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

const RegisterIdTable* const kAllTables[] = {&kV850RegisterTable, &kPowerPcRegisterTable,
                                             &kSuperHRegisterTable, &kArmRegisterTable};

std::vector<std::string> names_of(const RegisterIdTable& table, int32_t id) {
  std::vector<std::string> names;
  const char* const* list = register_table_names(&table, id);
  for (; list != nullptr && *list != nullptr; ++list) {
    names.emplace_back(*list);
  }
  return names;
}

TEST(RegisterTablesTest, EntryAndNamedCountsPerFamily) {
  const struct {
    const RegisterIdTable* table;
    int32_t count;
    int named;
  } cases[] = {{&kV850RegisterTable, 945, 721},
               {&kPowerPcRegisterTable, 1619, 909},
               {&kSuperHRegisterTable, 163, 163},
               {&kArmRegisterTable, 691, 691}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.table->count, c.count) << c.table->family;
    int named = 0;
    for (int32_t i = 0; i < c.table->count; ++i) {
      named += c.table->entries[i].names != nullptr ? 1 : 0;
    }
    EXPECT_EQ(named, c.named) << c.table->family;
  }
}

TEST(RegisterTablesTest, EveryIdIsItsIndexOrUnmappedAndHasNamesExactlyWhenMapped) {
  for (const RegisterIdTable* table : kAllTables) {
    EXPECT_TRUE(register_table_faults(*table).empty()) << table->family;
    for (int32_t i = 0; i < table->count; ++i) {
      const RegisterIdEntry& entry = table->entries[i];
      if (entry.id == kUnmappedRegisterId) {
        EXPECT_EQ(entry.names, nullptr) << table->family << " id " << i;
      } else {
        EXPECT_EQ(entry.id, i) << table->family;
        ASSERT_NE(entry.names, nullptr) << table->family << " id " << i;
        EXPECT_NE(entry.names[0], nullptr) << table->family << " id " << i << " has an empty list";
      }
    }
  }
}

TEST(RegisterTablesTest, NamesAreLowerCaseIdentifiers) {
  for (const RegisterIdTable* table : kAllTables) {
    for (int32_t i = 0; i < table->count; ++i) {
      for (const std::string& name : names_of(*table, i)) {
        ASSERT_FALSE(name.empty()) << table->family << " id " << i;
        EXPECT_TRUE(name[0] >= 'a' && name[0] <= 'z') << table->family << " " << name;
        for (char ch : name) {
          EXPECT_TRUE((ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_')
              << table->family << " " << name;
        }
      }
    }
  }
}

TEST(RegisterTablesTest, TellingRowsHaveTheirNamesInOrder) {
  const RegisterIdTable& v850 = kV850RegisterTable;
  const RegisterIdTable& ppc = kPowerPcRegisterTable;
  const RegisterIdTable& sh = kSuperHRegisterTable;
  const RegisterIdTable& arm = kArmRegisterTable;
  const struct {
    const RegisterIdTable* table;
    int32_t id;
    std::vector<std::string> names;
  } cases[] = {
      {&v850, 0, {"r0"}},
      {&v850, 3, {"r3", "sp"}},
      {&v850, 4, {"r4", "gp"}},
      {&v850, 5, {"r5", "tp"}},
      {&v850, 6, {"r6", "fstargreg"}},
      {&v850, 7, {"r7"}},
      {&v850, 10, {"r10", "rtnreg"}},
      {&v850, 30, {"r30", "ep"}},
      {&v850, 31, {"r31", "lp"}},
      {&v850, 32, {"pc"}},
      {&v850, 33, {"sr0", "eipc"}},
      {&v850, 36, {"fepsw"}},
      {&v850, 38, {"psw"}},
      {&v850, 941, {"wr31"}},
      {&v850, 942, {"wr31_1"}},
      {&v850, 943, {"wr31_2"}},
      {&v850, 944, {"wr31_3"}},
      {&ppc, 1, {"r1", "sp"}},
      {&ppc, 3, {"r3", "fstargreg", "rtnreg"}},
      {&ppc, 13, {"r13", "rctoc"}},
      {&ppc, 32, {"r0"}},
      {&ppc, 33, {"r0x"}},
      {&ppc, 34, {"r1"}},
      {&ppc, 35, {"r1x"}},
      {&ppc, 94, {"r31"}},
      {&ppc, 95, {"r31x"}},
      {&ppc, 96, {"pc"}},
      {&ppc, 97, {"cr"}},
      {&ppc, 98, {"lr"}},
      {&ppc, 99, {"ctr"}},
      {&ppc, 100, {"xer"}},
      {&ppc, 101, {"fpscr"}},
      {&ppc, 138, {"hid2"}},
      {&ppc, 167, {"msr"}},
      {&ppc, 324, {"srr2", "csrr0"}},
      {&ppc, 662, {"sscr", "spefscr"}},
      {&ppc, 1618, {"ccr2"}},
      {&sh, 0, {"r0", "rtnreg"}},
      {&sh, 4, {"r4", "fstargreg"}},
      {&sh, 15, {"r15", "sp"}},
      {&sh, 16, {"sr"}},
      {&sh, 17, {"gbr"}},
      {&sh, 18, {"vbr"}},
      {&sh, 19, {"mach"}},
      {&sh, 20, {"macl"}},
      {&sh, 21, {"pr"}},
      {&sh, 22, {"pc"}},
      {&sh, 33, {"r0bank1"}},
      {&sh, 71, {"fpscr"}},
      {&sh, 162, {"fdr14"}},
      {&arm, 0, {"r0"}},
      {&arm, 10, {"r10"}},
      {&arm, 11, {"r11", "fp"}},
      {&arm, 12, {"r12", "ip"}},
      {&arm, 13, {"r13", "sp"}},
      {&arm, 14, {"r14", "lr"}},
      {&arm, 15, {"r15", "pc"}},
      {&arm, 39, {"f7_2", "fmax"}},
      {&arm, 40, {"cpsr"}},
      {&arm, 41, {"spsr"}},
      {&arm, 687, {"primask"}},
      {&arm, 688, {"faultmask"}},
      {&arm, 689, {"basepri"}},
      {&arm, 690, {"control"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(names_of(*c.table, c.id), c.names) << c.table->family << " id " << c.id;
  }
}

TEST(RegisterTablesTest, GeneralRegisterRunsAreNamedInSequence) {
  // The runs whose names follow from the id: a shifted or dropped row breaks the sequence.
  for (int32_t i = 0; i <= 10; ++i) {
    EXPECT_EQ(names_of(kArmRegisterTable, i), std::vector<std::string>{"r" + std::to_string(i)});
  }
  for (int32_t n = 0; n < 32; ++n) {
    const std::string low = "r" + std::to_string(n);
    EXPECT_EQ(names_of(kPowerPcRegisterTable, 32 + 2 * n), std::vector<std::string>{low});
    EXPECT_EQ(names_of(kPowerPcRegisterTable, 33 + 2 * n), std::vector<std::string>{low + "x"});
    EXPECT_EQ(names_of(kPowerPcRegisterTable, n).at(0), low);
    EXPECT_EQ(names_of(kV850RegisterTable, n).at(0), low);
  }
  for (int32_t n = 0; n < 16; ++n) {
    EXPECT_EQ(names_of(kSuperHRegisterTable, n).at(0), "r" + std::to_string(n));
  }
}

TEST(RegisterTablesTest, NamesAreUniqueWithinATableExceptThePowerPcLowWords) {
  for (const RegisterIdTable* table : kAllTables) {
    const bool powerpc = table == &kPowerPcRegisterTable;
    std::map<std::string, int32_t> first_id;
    int repeats = 0;
    for (int32_t i = 0; i < table->count; ++i) {
      for (const std::string& name : names_of(*table, i)) {
        const auto [it, inserted] = first_id.emplace(name, i);
        if (inserted) {
          continue;
        }
        // The only repeats allowed: the low word (even id 32..94) of general register n repeats
        // the name of id n.
        const bool low_word =
            powerpc && i >= 32 && i <= 94 && i % 2 == 0 && it->second == (i - 32) / 2;
        EXPECT_TRUE(low_word) << table->family << " " << name << " at ids " << it->second << " and "
                              << i;
        ++repeats;
      }
    }
    EXPECT_EQ(repeats, powerpc ? 32 : 0) << table->family;
  }
}

TEST(RegisterTablesTest, PrefixedGroupsAreContiguous) {
  // A row of a core or unit group that lands among other registers is a misplaced row.
  const struct {
    const RegisterIdTable* table;
    std::string prefix;
    int32_t first_at_least;
  } cases[] = {
      {&kV850RegisterTable, "fpu_", 193},    {&kV850RegisterTable, "mpu0_", 193},
      {&kV850RegisterTable, "mpu1_", 193},   {&kV850RegisterTable, "pmu_", 193},
      {&kV850RegisterTable, "dbg_", 193},    {&kV850RegisterTable, "intc_", 193},
      {&kPowerPcRegisterTable, "as_", 1000}, {&kArmRegisterTable, "vfp_", 42},
      {&kArmRegisterTable, "arm926_", 42},   {&kArmRegisterTable, "arm1136_", 42},
      {&kArmRegisterTable, "arm1176_", 42},  {&kArmRegisterTable, "cortexr4_", 42},
  };
  for (const auto& c : cases) {
    int32_t first = -1;
    int32_t last = -1;
    for (int32_t i = 0; i < c.table->count; ++i) {
      const std::vector<std::string> names = names_of(*c.table, i);
      if (!names.empty() && names[0].rfind(c.prefix, 0) == 0) {
        first = first < 0 ? i : first;
        last = i;
      }
    }
    ASSERT_GE(first, c.first_at_least) << c.table->family << " " << c.prefix;
    for (int32_t i = first; i <= last; ++i) {
      const std::vector<std::string> names = names_of(*c.table, i);
      for (const std::string& name : names) {
        EXPECT_EQ(name.rfind(c.prefix, 0), 0u) << c.table->family << " id " << i << " " << name;
      }
    }
  }
}

TEST(RegisterTablesTest, FamilyRowsAreInLookupOrderAndIgnoreTheMinorType) {
  const auto& rows = cpu_family_table();
  const struct {
    int16_t major;
    const RegisterIdTable* table;
  } expected[] = {{14, &kV850RegisterTable},
                  {16, &kPowerPcRegisterTable},
                  {17, &kSuperHRegisterTable},
                  {24, &kArmRegisterTable}};
  ASSERT_EQ(rows.size(), std::size(expected));
  const int16_t minors[] = {0, 1, 20, 74, -1, 32767};
  for (size_t r = 0; r < rows.size(); ++r) {
    EXPECT_EQ(rows[r].major_cpu_type, expected[r].major);
    for (int16_t minor : minors) {
      EXPECT_EQ(rows[r].table_for_minor(minor), expected[r].table) << r << " " << minor;
      EXPECT_EQ(find_register_table(expected[r].major, minor), expected[r].table);
    }
  }
}

TEST(RegisterTablesTest, UnknownMajorTypeHasNoTable) {
  for (int16_t major : {0, 4, 10, 13, 15, 18, 23, 25, 45, -1, 32767}) {
    EXPECT_EQ(find_register_table(major, 0), nullptr) << major;
  }
}

TEST(RegisterTablesTest, KernelInPhysicalAddressByCpuType) {
  const struct {
    int16_t major;
    int16_t minor;
    bool physical;
  } cases[] = {
      {24, 0, false},  {24, 74, false}, {0, 0, false},   {4, 1, false},    {10, 0, false},
      {-1, 0, false},  {-1, -1, false}, {16, 20, false}, {16, 21, true},   {16, 71, false},
      {16, 72, true},  {16, 73, false}, {16, 74, false}, {16, 116, false}, {16, 0, true},
      {45, 74, false}, {45, 75, true},  {45, 20, true},  {14, 0, true},    {14, 20, true},
      {17, 74, true},  {17, 0, true},   {1, 0, true},    {100, 74, true},  {20, 16, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(kernel_in_physical_address(c.major, c.minor), c.physical)
        << c.major << "/" << c.minor;
  }
}

TEST(RegisterTablesTest, NamesLookupStaysInsideTheTable) {
  const RegisterIdTable& v850 = kV850RegisterTable;
  EXPECT_EQ(register_table_names(&v850, -1), nullptr);
  EXPECT_EQ(register_table_names(&v850, v850.count), nullptr);
  EXPECT_EQ(register_table_names(&v850, 0x7FFFFFFF), nullptr);
  EXPECT_EQ(register_table_names(&v850, kUnmappedRegisterId), nullptr);
  EXPECT_EQ(register_table_names(nullptr, 0), nullptr);
  EXPECT_EQ(names_of(v850, 7), std::vector<std::string>{"r7"});
  EXPECT_EQ(names_of(v850, 944), std::vector<std::string>{"wr31_3"});
  for (const RegisterIdTable* table : kAllTables) {
    for (int32_t i = 0; i < table->count; ++i) {
      if (table->entries[i].id == kUnmappedRegisterId) {
        EXPECT_EQ(register_table_names(table, i), nullptr) << table->family << " id " << i;
      }
    }
  }
}

const char* const kNamesA[] = {"a", nullptr};
const char* const kNamesB[] = {"b", "bee", nullptr};

TEST(RegisterTablesTest, FaultsReportEveryMisnumberedEntry) {
  const RegisterIdEntry entries[] = {
      {0, kNamesA},                       // right
      {kUnmappedRegisterId, nullptr},     // right: unmapped
      {5, kNamesB},                       // wrong: another entry's id
      {3, kNamesA},                       // right
      {0, kNamesB},                       // wrong: id of entry 0
      {-1, nullptr},                      // wrong: neither index nor unmapped
      {kUnmappedRegisterId + 1, kNamesA}, // wrong: near the unmapped value
  };
  const RegisterIdTable table{"test", entries, static_cast<int32_t>(std::size(entries))};
  EXPECT_EQ(register_table_faults(table), (std::vector<int32_t>{2, 4, 5, 6}));

  const RegisterIdTable first_two{"test", entries, 2};
  EXPECT_TRUE(register_table_faults(first_two).empty());
  const RegisterIdTable empty{"test", entries, 0};
  EXPECT_TRUE(register_table_faults(empty).empty());
}

TEST(RegisterTablesTest, AnUnmappedEntryGivesNoNamesEvenWithAList) {
  const RegisterIdEntry entries[] = {{0, kNamesA}, {kUnmappedRegisterId, kNamesB}};
  const RegisterIdTable table{"test", entries, 2};
  EXPECT_EQ(register_table_names(&table, 0), kNamesA);
  EXPECT_EQ(register_table_names(&table, 1), nullptr);
}

} // namespace
