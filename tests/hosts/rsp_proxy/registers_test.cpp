// Target descriptions as servers give them, and the register packets built from them.
#include "cpu_family.h"
#include "register_codec.h"
#include "target_description.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// What QEMU gives for a Cortex-M3: a top file that includes two features, one of them empty,
// with xpsr numbered 25 after the 16 core registers.
const std::map<std::string, std::string> kQemuM3 = {
    {"target.xml", "<?xml version=\"1.0\"?><!DOCTYPE target SYSTEM \"gdb-target.dtd\">"
                   "<target><architecture>arm</architecture>"
                   "<xi:include href=\"arm-m-profile.xml\"/>"
                   "<xi:include href=\"system-registers.xml\"/></target>"},
    {"arm-m-profile.xml",
     "<?xml version=\"1.0\"?>\n<!-- a comment with <reg name=\"fake\"/> in it -->\n"
     "<feature name=\"org.gnu.gdb.arm.m-profile\">\n"
     "<reg name=\"r0\" bitsize=\"32\"/>\n<reg name=\"r1\" bitsize=\"32\"/>\n"
     "<reg name=\"r2\" bitsize=\"32\"/>\n<reg name=\"r3\" bitsize=\"32\"/>\n"
     "<reg name=\"r4\" bitsize=\"32\"/>\n<reg name=\"r5\" bitsize=\"32\"/>\n"
     "<reg name=\"r6\" bitsize=\"32\"/>\n<reg name=\"r7\" bitsize=\"32\"/>\n"
     "<reg name=\"r8\" bitsize=\"32\"/>\n<reg name=\"r9\" bitsize=\"32\"/>\n"
     "<reg name=\"r10\" bitsize=\"32\"/>\n<reg name=\"r11\" bitsize=\"32\"/>\n"
     "<reg name=\"r12\" bitsize=\"32\"/>\n<reg name=\"sp\" bitsize=\"32\" type=\"data_ptr\"/>\n"
     "<reg name=\"lr\" bitsize=\"32\"/>\n<reg name=\"pc\" bitsize=\"32\" type=\"code_ptr\"/>\n"
     "<reg name='xpsr' bitsize='32' regnum='25'/>\n</feature>\n"},
    {"system-registers.xml", "<feature name=\"org.qemu.gdb.arm.sys.regs\"></feature>"},
};

rsp::AnnexReader reader_of(const std::map<std::string, std::string>& files) {
  return [&files](const std::string& annex, std::string& text) {
    const auto it = files.find(annex);
    if (it == files.end()) {
      return false;
    }
    text = it->second;
    return true;
  };
}

TEST(TargetDescription, RegistersAreLaidOutAsGdbLaysOutTheGPacket) {
  rsp::RegisterLayout layout;
  std::string error;
  ASSERT_TRUE(rsp::read_target_description(reader_of(kQemuM3), layout, error)) << error;
  EXPECT_EQ(layout.architecture, "arm");
  ASSERT_EQ(layout.registers.size(), 17u);
  EXPECT_EQ(layout.registers[13].name, "sp");
  EXPECT_EQ(layout.registers[16].name, "xpsr");
  EXPECT_EQ(layout.registers[16].number, 25);
  // No gap for the numbers 16 to 24 that no register has.
  EXPECT_EQ(layout.registers[16].offset, 64u);
  EXPECT_EQ(layout.total_bytes(), 68u);
  EXPECT_EQ(layout.by_number(25), &layout.registers[16]);
  EXPECT_EQ(layout.by_number(16), nullptr);
}

TEST(TargetDescription, BrokenDescriptionsAreRefusedWithAReason) {
  const std::map<std::string, std::string> missing = {
      {"target.xml", "<target><xi:include href=\"gone.xml\"/></target>"}};
  const std::map<std::string, std::string> looping = {
      {"target.xml", "<target><xi:include href=\"target.xml\"/></target>"}};
  const std::map<std::string, std::string> empty = {{"target.xml", "<target></target>"}};
  for (const auto* files : {&missing, &looping, &empty}) {
    rsp::RegisterLayout layout;
    std::string error;
    EXPECT_FALSE(rsp::read_target_description(reader_of(*files), layout, error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(RegisterPackets, GRepliesHoldSavedValuesAndMarkTheRestUnavailable) {
  rsp::RegisterLayout layout;
  std::string error;
  ASSERT_TRUE(rsp::read_target_description(reader_of(kQemuM3), layout, error));
  const auto saved = [](const rsp::RegisterInfo& r) -> std::optional<uint64_t> {
    if (r.name == "pc") {
      return 0x1184;
    }
    if (r.name == "xpsr") {
      return 0x61000000;
    }
    return std::nullopt;
  };
  const std::string g = rsp::build_g_reply(layout, 68, false, saved);
  ASSERT_EQ(g.size(), 136u);
  EXPECT_EQ(g.substr(0, 8), "xxxxxxxx");
  EXPECT_EQ(g.substr(15 * 8, 8), "84110000");
  EXPECT_EQ(g.substr(16 * 8, 8), "00000061");
  // A server whose 'g' stops earlier gets replies of its own length.
  EXPECT_EQ(rsp::build_g_reply(layout, 64, false, saved).size(), 128u);
  EXPECT_EQ(rsp::build_g_reply(layout, 64, true, saved).substr(15 * 8, 8), "00001184");
  // And a 'G' packet is read back register by register.
  const auto regs = rsp::split_g_data(layout, g);
  ASSERT_EQ(regs.size(), 17u);
  EXPECT_EQ(rsp::decode_register(regs[15].second, false), 0x1184u);
  EXPECT_FALSE(rsp::decode_register(regs[0].second, false).has_value());
}

TEST(RegisterPackets, LegacyArmLayoutMatchesGdbsDefault) {
  const rsp::RegisterLayout layout = rsp::legacy_arm_layout();
  EXPECT_EQ(layout.total_bytes(), 16 * 4 + 8 * 12 + 4 + 4u);
  EXPECT_EQ(layout.by_number(25)->name, "cpsr");
  EXPECT_EQ(layout.by_number(25)->offset, 164u);
}

TEST(CpuFamily, ArmRegisterNamesMapToThePluginsIds) {
  const rsp::CpuFamily* arm = rsp::cpu_family_for_machine(40);
  ASSERT_NE(arm, nullptr);
  EXPECT_EQ(arm->osa_cpu_type, 24);
  const std::pair<const char*, int> names[] = {{"r0", 0},   {"r12", 12}, {"sp", 13},   {"r13", 13},
                                               {"lr", 14},  {"pc", 15},  {"xpsr", 40}, {"cpsr", 40},
                                               {"r16", -1}, {"f0", -1},  {"msp", -1},  {"r", -1}};
  for (const auto& [name, id] : names) {
    EXPECT_EQ(arm->register_id(name), id) << name;
  }
  EXPECT_EQ(rsp::cpu_family_for_machine(62), nullptr); // x86-64
}

} // namespace
