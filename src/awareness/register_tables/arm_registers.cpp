// Register ids of the ARM family (major CPU type 24): 691 ids, all mapped.
//
// Entry i describes register id i. A mapped entry lists the register's own name first, then the
// other names it answers to; an unmapped id has kUnmappedRegisterId and no name list.
//
// fmax, the second name of f7_2, marks the last id of the floating-point accelerator group.
//
// Layout:
//   0..15      core registers
//   16..39     floating-point accelerator registers f0..f7, 96 bits as three word ids each
//   40..42     status registers
//   43..72     banked registers of the user, fiq, irq, svc, abt, und and mon modes
//   73..143    vfp_: system registers, s0..s31, then d16..d31 as two words each
//   144..211   arm926_: identification and control, cache and TLB operations, lockdown and TCM,
//              test, bytecode-execution state, then the debug unit
//   212..342   arm1136_: identification, control and memory, cache and TLB operations, TCM, DMA,
//              thread ids, performance monitor and test, bytecode-execution state, debug
//   343..492   arm1176_: identification, control and memory, security, cache and TLB operations,
//              TCM, DMA, thread ids, performance monitor and test, bytecode-execution state,
//              debug
//   493..676   cortexr4_: identification, control and faults, MPU regions 0..11, cache
//              operations, performance monitor, TCM and thread ids, implementation registers,
//              debug
//   677..690   M-profile stack pointers, program status views, mask and control registers
//
// The table has no holes. Coprocessor and debug registers of a core carry the core's prefix
// (arm926_, arm1136_, arm1176_, cortexr4_) because their numbers and meanings differ between
// cores; vfp_ is shared by all cores with that unit. d0..d15 are the pairs s0/s1..s30/s31 and
// have no ids of their own; d16..d31 have no single-precision view, so each gets two word ids
// (the suffix _1 is the high word), as the 96-bit accelerator registers get three.

#include "awareness/register_tables.h"

#include <iterator>

namespace {

const char* const n_r0[] = {"r0", nullptr};
const char* const n_r1[] = {"r1", nullptr};
const char* const n_r2[] = {"r2", nullptr};
const char* const n_r3[] = {"r3", nullptr};
const char* const n_r4[] = {"r4", nullptr};
const char* const n_r5[] = {"r5", nullptr};
const char* const n_r6[] = {"r6", nullptr};
const char* const n_r7[] = {"r7", nullptr};
const char* const n_r8[] = {"r8", nullptr};
const char* const n_r9[] = {"r9", nullptr};
const char* const n_r10[] = {"r10", nullptr};
const char* const n_r11[] = {"r11", "fp", nullptr};
const char* const n_r12[] = {"r12", "ip", nullptr};
const char* const n_r13[] = {"r13", "sp", nullptr};
const char* const n_r14[] = {"r14", "lr", nullptr};
const char* const n_r15[] = {"r15", "pc", nullptr};
const char* const n_f0[] = {"f0", nullptr};
const char* const n_f0_1[] = {"f0_1", nullptr};
const char* const n_f0_2[] = {"f0_2", nullptr};
const char* const n_f1[] = {"f1", nullptr};
const char* const n_f1_1[] = {"f1_1", nullptr};
const char* const n_f1_2[] = {"f1_2", nullptr};
const char* const n_f2[] = {"f2", nullptr};
const char* const n_f2_1[] = {"f2_1", nullptr};
const char* const n_f2_2[] = {"f2_2", nullptr};
const char* const n_f3[] = {"f3", nullptr};
const char* const n_f3_1[] = {"f3_1", nullptr};
const char* const n_f3_2[] = {"f3_2", nullptr};
const char* const n_f4[] = {"f4", nullptr};
const char* const n_f4_1[] = {"f4_1", nullptr};
const char* const n_f4_2[] = {"f4_2", nullptr};
const char* const n_f5[] = {"f5", nullptr};
const char* const n_f5_1[] = {"f5_1", nullptr};
const char* const n_f5_2[] = {"f5_2", nullptr};
const char* const n_f6[] = {"f6", nullptr};
const char* const n_f6_1[] = {"f6_1", nullptr};
const char* const n_f6_2[] = {"f6_2", nullptr};
const char* const n_f7[] = {"f7", nullptr};
const char* const n_f7_1[] = {"f7_1", nullptr};
const char* const n_f7_2[] = {"f7_2", "fmax", nullptr};
const char* const n_cpsr[] = {"cpsr", nullptr};
const char* const n_spsr[] = {"spsr", nullptr};
const char* const n_fps[] = {"fps", nullptr};
const char* const n_r8_usr[] = {"r8_usr", nullptr};
const char* const n_r9_usr[] = {"r9_usr", nullptr};
const char* const n_r10_usr[] = {"r10_usr", nullptr};
const char* const n_r11_usr[] = {"r11_usr", nullptr};
const char* const n_r12_usr[] = {"r12_usr", nullptr};
const char* const n_r13_usr[] = {"r13_usr", nullptr};
const char* const n_r14_usr[] = {"r14_usr", nullptr};
const char* const n_r8_fiq[] = {"r8_fiq", nullptr};
const char* const n_r9_fiq[] = {"r9_fiq", nullptr};
const char* const n_r10_fiq[] = {"r10_fiq", nullptr};
const char* const n_r11_fiq[] = {"r11_fiq", nullptr};
const char* const n_r12_fiq[] = {"r12_fiq", nullptr};
const char* const n_r13_fiq[] = {"r13_fiq", nullptr};
const char* const n_r14_fiq[] = {"r14_fiq", nullptr};
const char* const n_spsr_fiq[] = {"spsr_fiq", nullptr};
const char* const n_r13_irq[] = {"r13_irq", nullptr};
const char* const n_r14_irq[] = {"r14_irq", nullptr};
const char* const n_spsr_irq[] = {"spsr_irq", nullptr};
const char* const n_r13_svc[] = {"r13_svc", nullptr};
const char* const n_r14_svc[] = {"r14_svc", nullptr};
const char* const n_spsr_svc[] = {"spsr_svc", nullptr};
const char* const n_r13_abt[] = {"r13_abt", nullptr};
const char* const n_r14_abt[] = {"r14_abt", nullptr};
const char* const n_spsr_abt[] = {"spsr_abt", nullptr};
const char* const n_r13_und[] = {"r13_und", nullptr};
const char* const n_r14_und[] = {"r14_und", nullptr};
const char* const n_spsr_und[] = {"spsr_und", nullptr};
const char* const n_r13_mon[] = {"r13_mon", nullptr};
const char* const n_r14_mon[] = {"r14_mon", nullptr};
const char* const n_spsr_mon[] = {"spsr_mon", nullptr};
const char* const n_vfp_fpsid[] = {"vfp_fpsid", nullptr};
const char* const n_vfp_fpscr[] = {"vfp_fpscr", nullptr};
const char* const n_vfp_fpexc[] = {"vfp_fpexc", nullptr};
const char* const n_vfp_fpinst[] = {"vfp_fpinst", nullptr};
const char* const n_vfp_fpinst2[] = {"vfp_fpinst2", nullptr};
const char* const n_vfp_mvfr0[] = {"vfp_mvfr0", nullptr};
const char* const n_vfp_mvfr1[] = {"vfp_mvfr1", nullptr};
const char* const n_vfp_s0[] = {"vfp_s0", nullptr};
const char* const n_vfp_s1[] = {"vfp_s1", nullptr};
const char* const n_vfp_s2[] = {"vfp_s2", nullptr};
const char* const n_vfp_s3[] = {"vfp_s3", nullptr};
const char* const n_vfp_s4[] = {"vfp_s4", nullptr};
const char* const n_vfp_s5[] = {"vfp_s5", nullptr};
const char* const n_vfp_s6[] = {"vfp_s6", nullptr};
const char* const n_vfp_s7[] = {"vfp_s7", nullptr};
const char* const n_vfp_s8[] = {"vfp_s8", nullptr};
const char* const n_vfp_s9[] = {"vfp_s9", nullptr};
const char* const n_vfp_s10[] = {"vfp_s10", nullptr};
const char* const n_vfp_s11[] = {"vfp_s11", nullptr};
const char* const n_vfp_s12[] = {"vfp_s12", nullptr};
const char* const n_vfp_s13[] = {"vfp_s13", nullptr};
const char* const n_vfp_s14[] = {"vfp_s14", nullptr};
const char* const n_vfp_s15[] = {"vfp_s15", nullptr};
const char* const n_vfp_s16[] = {"vfp_s16", nullptr};
const char* const n_vfp_s17[] = {"vfp_s17", nullptr};
const char* const n_vfp_s18[] = {"vfp_s18", nullptr};
const char* const n_vfp_s19[] = {"vfp_s19", nullptr};
const char* const n_vfp_s20[] = {"vfp_s20", nullptr};
const char* const n_vfp_s21[] = {"vfp_s21", nullptr};
const char* const n_vfp_s22[] = {"vfp_s22", nullptr};
const char* const n_vfp_s23[] = {"vfp_s23", nullptr};
const char* const n_vfp_s24[] = {"vfp_s24", nullptr};
const char* const n_vfp_s25[] = {"vfp_s25", nullptr};
const char* const n_vfp_s26[] = {"vfp_s26", nullptr};
const char* const n_vfp_s27[] = {"vfp_s27", nullptr};
const char* const n_vfp_s28[] = {"vfp_s28", nullptr};
const char* const n_vfp_s29[] = {"vfp_s29", nullptr};
const char* const n_vfp_s30[] = {"vfp_s30", nullptr};
const char* const n_vfp_s31[] = {"vfp_s31", nullptr};
const char* const n_vfp_d16[] = {"vfp_d16", nullptr};
const char* const n_vfp_d16_1[] = {"vfp_d16_1", nullptr};
const char* const n_vfp_d17[] = {"vfp_d17", nullptr};
const char* const n_vfp_d17_1[] = {"vfp_d17_1", nullptr};
const char* const n_vfp_d18[] = {"vfp_d18", nullptr};
const char* const n_vfp_d18_1[] = {"vfp_d18_1", nullptr};
const char* const n_vfp_d19[] = {"vfp_d19", nullptr};
const char* const n_vfp_d19_1[] = {"vfp_d19_1", nullptr};
const char* const n_vfp_d20[] = {"vfp_d20", nullptr};
const char* const n_vfp_d20_1[] = {"vfp_d20_1", nullptr};
const char* const n_vfp_d21[] = {"vfp_d21", nullptr};
const char* const n_vfp_d21_1[] = {"vfp_d21_1", nullptr};
const char* const n_vfp_d22[] = {"vfp_d22", nullptr};
const char* const n_vfp_d22_1[] = {"vfp_d22_1", nullptr};
const char* const n_vfp_d23[] = {"vfp_d23", nullptr};
const char* const n_vfp_d23_1[] = {"vfp_d23_1", nullptr};
const char* const n_vfp_d24[] = {"vfp_d24", nullptr};
const char* const n_vfp_d24_1[] = {"vfp_d24_1", nullptr};
const char* const n_vfp_d25[] = {"vfp_d25", nullptr};
const char* const n_vfp_d25_1[] = {"vfp_d25_1", nullptr};
const char* const n_vfp_d26[] = {"vfp_d26", nullptr};
const char* const n_vfp_d26_1[] = {"vfp_d26_1", nullptr};
const char* const n_vfp_d27[] = {"vfp_d27", nullptr};
const char* const n_vfp_d27_1[] = {"vfp_d27_1", nullptr};
const char* const n_vfp_d28[] = {"vfp_d28", nullptr};
const char* const n_vfp_d28_1[] = {"vfp_d28_1", nullptr};
const char* const n_vfp_d29[] = {"vfp_d29", nullptr};
const char* const n_vfp_d29_1[] = {"vfp_d29_1", nullptr};
const char* const n_vfp_d30[] = {"vfp_d30", nullptr};
const char* const n_vfp_d30_1[] = {"vfp_d30_1", nullptr};
const char* const n_vfp_d31[] = {"vfp_d31", nullptr};
const char* const n_vfp_d31_1[] = {"vfp_d31_1", nullptr};
const char* const n_arm926_midr[] = {"arm926_midr", nullptr};
const char* const n_arm926_ctr[] = {"arm926_ctr", nullptr};
const char* const n_arm926_tcmtr[] = {"arm926_tcmtr", nullptr};
const char* const n_arm926_sctlr[] = {"arm926_sctlr", nullptr};
const char* const n_arm926_ttbr[] = {"arm926_ttbr", nullptr};
const char* const n_arm926_dacr[] = {"arm926_dacr", nullptr};
const char* const n_arm926_dfsr[] = {"arm926_dfsr", nullptr};
const char* const n_arm926_ifsr[] = {"arm926_ifsr", nullptr};
const char* const n_arm926_far[] = {"arm926_far", nullptr};
const char* const n_arm926_wfi[] = {"arm926_wfi", nullptr};
const char* const n_arm926_iciallu[] = {"arm926_iciallu", nullptr};
const char* const n_arm926_icimvau[] = {"arm926_icimvau", nullptr};
const char* const n_arm926_icisw[] = {"arm926_icisw", nullptr};
const char* const n_arm926_isb[] = {"arm926_isb", nullptr};
const char* const n_arm926_bpiall[] = {"arm926_bpiall", nullptr};
const char* const n_arm926_dciall[] = {"arm926_dciall", nullptr};
const char* const n_arm926_dcimvac[] = {"arm926_dcimvac", nullptr};
const char* const n_arm926_dcisw[] = {"arm926_dcisw", nullptr};
const char* const n_arm926_idciall[] = {"arm926_idciall", nullptr};
const char* const n_arm926_dccmvac[] = {"arm926_dccmvac", nullptr};
const char* const n_arm926_dccsw[] = {"arm926_dccsw", nullptr};
const char* const n_arm926_tcdc[] = {"arm926_tcdc", nullptr};
const char* const n_arm926_dsb[] = {"arm926_dsb", nullptr};
const char* const n_arm926_icpmvac[] = {"arm926_icpmvac", nullptr};
const char* const n_arm926_dccimvac[] = {"arm926_dccimvac", nullptr};
const char* const n_arm926_dccisw[] = {"arm926_dccisw", nullptr};
const char* const n_arm926_tcidc[] = {"arm926_tcidc", nullptr};
const char* const n_arm926_tlbiall[] = {"arm926_tlbiall", nullptr};
const char* const n_arm926_itlbiall[] = {"arm926_itlbiall", nullptr};
const char* const n_arm926_itlbimva[] = {"arm926_itlbimva", nullptr};
const char* const n_arm926_dtlbiall[] = {"arm926_dtlbiall", nullptr};
const char* const n_arm926_dtlbimva[] = {"arm926_dtlbimva", nullptr};
const char* const n_arm926_tlbimva[] = {"arm926_tlbimva", nullptr};
const char* const n_arm926_dclr[] = {"arm926_dclr", nullptr};
const char* const n_arm926_iclr[] = {"arm926_iclr", nullptr};
const char* const n_arm926_dtcmrr[] = {"arm926_dtcmrr", nullptr};
const char* const n_arm926_itcmrr[] = {"arm926_itcmrr", nullptr};
const char* const n_arm926_tlblr[] = {"arm926_tlblr", nullptr};
const char* const n_arm926_fcseidr[] = {"arm926_fcseidr", nullptr};
const char* const n_arm926_contextidr[] = {"arm926_contextidr", nullptr};
const char* const n_arm926_dbgovr[] = {"arm926_dbgovr", nullptr};
const char* const n_arm926_tcr[] = {"arm926_tcr", nullptr};
const char* const n_arm926_tracecr[] = {"arm926_tracecr", nullptr};
const char* const n_arm926_cdir[] = {"arm926_cdir", nullptr};
const char* const n_arm926_icdr[] = {"arm926_icdr", nullptr};
const char* const n_arm926_dcdr[] = {"arm926_dcdr", nullptr};
const char* const n_arm926_tlbdbg[] = {"arm926_tlbdbg", nullptr};
const char* const n_arm926_jidr[] = {"arm926_jidr", nullptr};
const char* const n_arm926_joscr[] = {"arm926_joscr", nullptr};
const char* const n_arm926_jmcr[] = {"arm926_jmcr", nullptr};
const char* const n_arm926_jpr[] = {"arm926_jpr", nullptr};
const char* const n_arm926_dbgctrl[] = {"arm926_dbgctrl", nullptr};
const char* const n_arm926_dbgstat[] = {"arm926_dbgstat", nullptr};
const char* const n_arm926_dbgvcr[] = {"arm926_dbgvcr", nullptr};
const char* const n_arm926_dcccr[] = {"arm926_dcccr", nullptr};
const char* const n_arm926_dccdr[] = {"arm926_dccdr", nullptr};
const char* const n_arm926_wav0[] = {"arm926_wav0", nullptr};
const char* const n_arm926_wam0[] = {"arm926_wam0", nullptr};
const char* const n_arm926_wdv0[] = {"arm926_wdv0", nullptr};
const char* const n_arm926_wdm0[] = {"arm926_wdm0", nullptr};
const char* const n_arm926_wcv0[] = {"arm926_wcv0", nullptr};
const char* const n_arm926_wcm0[] = {"arm926_wcm0", nullptr};
const char* const n_arm926_wav1[] = {"arm926_wav1", nullptr};
const char* const n_arm926_wam1[] = {"arm926_wam1", nullptr};
const char* const n_arm926_wdv1[] = {"arm926_wdv1", nullptr};
const char* const n_arm926_wdm1[] = {"arm926_wdm1", nullptr};
const char* const n_arm926_wcv1[] = {"arm926_wcv1", nullptr};
const char* const n_arm926_wcm1[] = {"arm926_wcm1", nullptr};
const char* const n_arm1136_midr[] = {"arm1136_midr", nullptr};
const char* const n_arm1136_ctr[] = {"arm1136_ctr", nullptr};
const char* const n_arm1136_tcmtr[] = {"arm1136_tcmtr", nullptr};
const char* const n_arm1136_tlbtr[] = {"arm1136_tlbtr", nullptr};
const char* const n_arm1136_id_pfr0[] = {"arm1136_id_pfr0", nullptr};
const char* const n_arm1136_id_pfr1[] = {"arm1136_id_pfr1", nullptr};
const char* const n_arm1136_id_dfr0[] = {"arm1136_id_dfr0", nullptr};
const char* const n_arm1136_id_afr0[] = {"arm1136_id_afr0", nullptr};
const char* const n_arm1136_id_mmfr0[] = {"arm1136_id_mmfr0", nullptr};
const char* const n_arm1136_id_mmfr1[] = {"arm1136_id_mmfr1", nullptr};
const char* const n_arm1136_id_mmfr2[] = {"arm1136_id_mmfr2", nullptr};
const char* const n_arm1136_id_mmfr3[] = {"arm1136_id_mmfr3", nullptr};
const char* const n_arm1136_id_isar0[] = {"arm1136_id_isar0", nullptr};
const char* const n_arm1136_id_isar1[] = {"arm1136_id_isar1", nullptr};
const char* const n_arm1136_id_isar2[] = {"arm1136_id_isar2", nullptr};
const char* const n_arm1136_id_isar3[] = {"arm1136_id_isar3", nullptr};
const char* const n_arm1136_id_isar4[] = {"arm1136_id_isar4", nullptr};
const char* const n_arm1136_id_isar5[] = {"arm1136_id_isar5", nullptr};
const char* const n_arm1136_sctlr[] = {"arm1136_sctlr", nullptr};
const char* const n_arm1136_actlr[] = {"arm1136_actlr", nullptr};
const char* const n_arm1136_cpacr[] = {"arm1136_cpacr", nullptr};
const char* const n_arm1136_ttbr0[] = {"arm1136_ttbr0", nullptr};
const char* const n_arm1136_ttbr1[] = {"arm1136_ttbr1", nullptr};
const char* const n_arm1136_ttbcr[] = {"arm1136_ttbcr", nullptr};
const char* const n_arm1136_dacr[] = {"arm1136_dacr", nullptr};
const char* const n_arm1136_dfsr[] = {"arm1136_dfsr", nullptr};
const char* const n_arm1136_ifsr[] = {"arm1136_ifsr", nullptr};
const char* const n_arm1136_far[] = {"arm1136_far", nullptr};
const char* const n_arm1136_wfar[] = {"arm1136_wfar", nullptr};
const char* const n_arm1136_wfi[] = {"arm1136_wfi", nullptr};
const char* const n_arm1136_iciallu[] = {"arm1136_iciallu", nullptr};
const char* const n_arm1136_icimvau[] = {"arm1136_icimvau", nullptr};
const char* const n_arm1136_icisw[] = {"arm1136_icisw", nullptr};
const char* const n_arm1136_isb[] = {"arm1136_isb", nullptr};
const char* const n_arm1136_bpiall[] = {"arm1136_bpiall", nullptr};
const char* const n_arm1136_bpimva[] = {"arm1136_bpimva", nullptr};
const char* const n_arm1136_dciall[] = {"arm1136_dciall", nullptr};
const char* const n_arm1136_dcimvac[] = {"arm1136_dcimvac", nullptr};
const char* const n_arm1136_dcisw[] = {"arm1136_dcisw", nullptr};
const char* const n_arm1136_idciall[] = {"arm1136_idciall", nullptr};
const char* const n_arm1136_dccall[] = {"arm1136_dccall", nullptr};
const char* const n_arm1136_dccmvac[] = {"arm1136_dccmvac", nullptr};
const char* const n_arm1136_dccsw[] = {"arm1136_dccsw", nullptr};
const char* const n_arm1136_dsb[] = {"arm1136_dsb", nullptr};
const char* const n_arm1136_dmb[] = {"arm1136_dmb", nullptr};
const char* const n_arm1136_cdsr[] = {"arm1136_cdsr", nullptr};
const char* const n_arm1136_bcsr[] = {"arm1136_bcsr", nullptr};
const char* const n_arm1136_dcciall[] = {"arm1136_dcciall", nullptr};
const char* const n_arm1136_dccimvac[] = {"arm1136_dccimvac", nullptr};
const char* const n_arm1136_dccisw[] = {"arm1136_dccisw", nullptr};
const char* const n_arm1136_idcciall[] = {"arm1136_idcciall", nullptr};
const char* const n_arm1136_tlbiall[] = {"arm1136_tlbiall", nullptr};
const char* const n_arm1136_tlbimva[] = {"arm1136_tlbimva", nullptr};
const char* const n_arm1136_tlbiasid[] = {"arm1136_tlbiasid", nullptr};
const char* const n_arm1136_itlbiall[] = {"arm1136_itlbiall", nullptr};
const char* const n_arm1136_itlbimva[] = {"arm1136_itlbimva", nullptr};
const char* const n_arm1136_itlbiasid[] = {"arm1136_itlbiasid", nullptr};
const char* const n_arm1136_dtlbiall[] = {"arm1136_dtlbiall", nullptr};
const char* const n_arm1136_dtlbimva[] = {"arm1136_dtlbimva", nullptr};
const char* const n_arm1136_dtlbiasid[] = {"arm1136_dtlbiasid", nullptr};
const char* const n_arm1136_dclr[] = {"arm1136_dclr", nullptr};
const char* const n_arm1136_iclr[] = {"arm1136_iclr", nullptr};
const char* const n_arm1136_dtcmrr[] = {"arm1136_dtcmrr", nullptr};
const char* const n_arm1136_itcmrr[] = {"arm1136_itcmrr", nullptr};
const char* const n_arm1136_tlblr[] = {"arm1136_tlblr", nullptr};
const char* const n_arm1136_prrr[] = {"arm1136_prrr", nullptr};
const char* const n_arm1136_nmrr[] = {"arm1136_nmrr", nullptr};
const char* const n_arm1136_dmapr[] = {"arm1136_dmapr", nullptr};
const char* const n_arm1136_dmaqr[] = {"arm1136_dmaqr", nullptr};
const char* const n_arm1136_dmaovr[] = {"arm1136_dmaovr", nullptr};
const char* const n_arm1136_dmauar[] = {"arm1136_dmauar", nullptr};
const char* const n_arm1136_dmacnr[] = {"arm1136_dmacnr", nullptr};
const char* const n_arm1136_dmaenr[] = {"arm1136_dmaenr", nullptr};
const char* const n_arm1136_dmacr[] = {"arm1136_dmacr", nullptr};
const char* const n_arm1136_dmaisar[] = {"arm1136_dmaisar", nullptr};
const char* const n_arm1136_dmaesar[] = {"arm1136_dmaesar", nullptr};
const char* const n_arm1136_dmaiear[] = {"arm1136_dmaiear", nullptr};
const char* const n_arm1136_dmacsr[] = {"arm1136_dmacsr", nullptr};
const char* const n_arm1136_dmacidr[] = {"arm1136_dmacidr", nullptr};
const char* const n_arm1136_fcseidr[] = {"arm1136_fcseidr", nullptr};
const char* const n_arm1136_contextidr[] = {"arm1136_contextidr", nullptr};
const char* const n_arm1136_tpidrurw[] = {"arm1136_tpidrurw", nullptr};
const char* const n_arm1136_tpidruro[] = {"arm1136_tpidruro", nullptr};
const char* const n_arm1136_tpidrprw[] = {"arm1136_tpidrprw", nullptr};
const char* const n_arm1136_pmnc[] = {"arm1136_pmnc", nullptr};
const char* const n_arm1136_ccnt[] = {"arm1136_ccnt", nullptr};
const char* const n_arm1136_pmn0[] = {"arm1136_pmn0", nullptr};
const char* const n_arm1136_pmn1[] = {"arm1136_pmn1", nullptr};
const char* const n_arm1136_tlbdbg[] = {"arm1136_tlbdbg", nullptr};
const char* const n_arm1136_tlbli[] = {"arm1136_tlbli", nullptr};
const char* const n_arm1136_tlbva[] = {"arm1136_tlbva", nullptr};
const char* const n_arm1136_tlbpa[] = {"arm1136_tlbpa", nullptr};
const char* const n_arm1136_tlbattr[] = {"arm1136_tlbattr", nullptr};
const char* const n_arm1136_icmvr[] = {"arm1136_icmvr", nullptr};
const char* const n_arm1136_dcmvr[] = {"arm1136_dcmvr", nullptr};
const char* const n_arm1136_cdbgr[] = {"arm1136_cdbgr", nullptr};
const char* const n_arm1136_svcr[] = {"arm1136_svcr", nullptr};
const char* const n_arm1136_svor[] = {"arm1136_svor", nullptr};
const char* const n_arm1136_svcsmr[] = {"arm1136_svcsmr", nullptr};
const char* const n_arm1136_ddcr[] = {"arm1136_ddcr", nullptr};
const char* const n_arm1136_idcr[] = {"arm1136_idcr", nullptr};
const char* const n_arm1136_dtrr[] = {"arm1136_dtrr", nullptr};
const char* const n_arm1136_itrr[] = {"arm1136_itrr", nullptr};
const char* const n_arm1136_ddrr[] = {"arm1136_ddrr", nullptr};
const char* const n_arm1136_idrr[] = {"arm1136_idrr", nullptr};
const char* const n_arm1136_utlbdr[] = {"arm1136_utlbdr", nullptr};
const char* const n_arm1136_jidr[] = {"arm1136_jidr", nullptr};
const char* const n_arm1136_joscr[] = {"arm1136_joscr", nullptr};
const char* const n_arm1136_jmcr[] = {"arm1136_jmcr", nullptr};
const char* const n_arm1136_jpr[] = {"arm1136_jpr", nullptr};
const char* const n_arm1136_dbgdidr[] = {"arm1136_dbgdidr", nullptr};
const char* const n_arm1136_dbgdscr[] = {"arm1136_dbgdscr", nullptr};
const char* const n_arm1136_dbgdtrrx[] = {"arm1136_dbgdtrrx", nullptr};
const char* const n_arm1136_dbgdtrtx[] = {"arm1136_dbgdtrtx", nullptr};
const char* const n_arm1136_dbgvcr[] = {"arm1136_dbgvcr", nullptr};
const char* const n_arm1136_dbgbvr0[] = {"arm1136_dbgbvr0", nullptr};
const char* const n_arm1136_dbgbvr1[] = {"arm1136_dbgbvr1", nullptr};
const char* const n_arm1136_dbgbvr2[] = {"arm1136_dbgbvr2", nullptr};
const char* const n_arm1136_dbgbvr3[] = {"arm1136_dbgbvr3", nullptr};
const char* const n_arm1136_dbgbvr4[] = {"arm1136_dbgbvr4", nullptr};
const char* const n_arm1136_dbgbvr5[] = {"arm1136_dbgbvr5", nullptr};
const char* const n_arm1136_dbgbcr0[] = {"arm1136_dbgbcr0", nullptr};
const char* const n_arm1136_dbgbcr1[] = {"arm1136_dbgbcr1", nullptr};
const char* const n_arm1136_dbgbcr2[] = {"arm1136_dbgbcr2", nullptr};
const char* const n_arm1136_dbgbcr3[] = {"arm1136_dbgbcr3", nullptr};
const char* const n_arm1136_dbgbcr4[] = {"arm1136_dbgbcr4", nullptr};
const char* const n_arm1136_dbgbcr5[] = {"arm1136_dbgbcr5", nullptr};
const char* const n_arm1136_dbgwvr0[] = {"arm1136_dbgwvr0", nullptr};
const char* const n_arm1136_dbgwvr1[] = {"arm1136_dbgwvr1", nullptr};
const char* const n_arm1136_dbgwcr0[] = {"arm1136_dbgwcr0", nullptr};
const char* const n_arm1136_dbgwcr1[] = {"arm1136_dbgwcr1", nullptr};
const char* const n_arm1176_midr[] = {"arm1176_midr", nullptr};
const char* const n_arm1176_ctr[] = {"arm1176_ctr", nullptr};
const char* const n_arm1176_tcmtr[] = {"arm1176_tcmtr", nullptr};
const char* const n_arm1176_tlbtr[] = {"arm1176_tlbtr", nullptr};
const char* const n_arm1176_id_pfr0[] = {"arm1176_id_pfr0", nullptr};
const char* const n_arm1176_id_pfr1[] = {"arm1176_id_pfr1", nullptr};
const char* const n_arm1176_id_dfr0[] = {"arm1176_id_dfr0", nullptr};
const char* const n_arm1176_id_afr0[] = {"arm1176_id_afr0", nullptr};
const char* const n_arm1176_id_mmfr0[] = {"arm1176_id_mmfr0", nullptr};
const char* const n_arm1176_id_mmfr1[] = {"arm1176_id_mmfr1", nullptr};
const char* const n_arm1176_id_mmfr2[] = {"arm1176_id_mmfr2", nullptr};
const char* const n_arm1176_id_mmfr3[] = {"arm1176_id_mmfr3", nullptr};
const char* const n_arm1176_id_isar0[] = {"arm1176_id_isar0", nullptr};
const char* const n_arm1176_id_isar1[] = {"arm1176_id_isar1", nullptr};
const char* const n_arm1176_id_isar2[] = {"arm1176_id_isar2", nullptr};
const char* const n_arm1176_id_isar3[] = {"arm1176_id_isar3", nullptr};
const char* const n_arm1176_id_isar4[] = {"arm1176_id_isar4", nullptr};
const char* const n_arm1176_id_isar5[] = {"arm1176_id_isar5", nullptr};
const char* const n_arm1176_sctlr[] = {"arm1176_sctlr", nullptr};
const char* const n_arm1176_actlr[] = {"arm1176_actlr", nullptr};
const char* const n_arm1176_cpacr[] = {"arm1176_cpacr", nullptr};
const char* const n_arm1176_ttbr0[] = {"arm1176_ttbr0", nullptr};
const char* const n_arm1176_ttbr1[] = {"arm1176_ttbr1", nullptr};
const char* const n_arm1176_ttbcr[] = {"arm1176_ttbcr", nullptr};
const char* const n_arm1176_dacr[] = {"arm1176_dacr", nullptr};
const char* const n_arm1176_dfsr[] = {"arm1176_dfsr", nullptr};
const char* const n_arm1176_ifsr[] = {"arm1176_ifsr", nullptr};
const char* const n_arm1176_far[] = {"arm1176_far", nullptr};
const char* const n_arm1176_wfar[] = {"arm1176_wfar", nullptr};
const char* const n_arm1176_scr[] = {"arm1176_scr", nullptr};
const char* const n_arm1176_sder[] = {"arm1176_sder", nullptr};
const char* const n_arm1176_nsacr[] = {"arm1176_nsacr", nullptr};
const char* const n_arm1176_vbar[] = {"arm1176_vbar", nullptr};
const char* const n_arm1176_mvbar[] = {"arm1176_mvbar", nullptr};
const char* const n_arm1176_isr[] = {"arm1176_isr", nullptr};
const char* const n_arm1176_par[] = {"arm1176_par", nullptr};
const char* const n_arm1176_ats1cpr[] = {"arm1176_ats1cpr", nullptr};
const char* const n_arm1176_ats1cpw[] = {"arm1176_ats1cpw", nullptr};
const char* const n_arm1176_ats1cur[] = {"arm1176_ats1cur", nullptr};
const char* const n_arm1176_ats1cuw[] = {"arm1176_ats1cuw", nullptr};
const char* const n_arm1176_ats12nsopr[] = {"arm1176_ats12nsopr", nullptr};
const char* const n_arm1176_ats12nsopw[] = {"arm1176_ats12nsopw", nullptr};
const char* const n_arm1176_ats12nsour[] = {"arm1176_ats12nsour", nullptr};
const char* const n_arm1176_ats12nsouw[] = {"arm1176_ats12nsouw", nullptr};
const char* const n_arm1176_wfi[] = {"arm1176_wfi", nullptr};
const char* const n_arm1176_iciallu[] = {"arm1176_iciallu", nullptr};
const char* const n_arm1176_icimvau[] = {"arm1176_icimvau", nullptr};
const char* const n_arm1176_icisw[] = {"arm1176_icisw", nullptr};
const char* const n_arm1176_isb[] = {"arm1176_isb", nullptr};
const char* const n_arm1176_bpiall[] = {"arm1176_bpiall", nullptr};
const char* const n_arm1176_bpimva[] = {"arm1176_bpimva", nullptr};
const char* const n_arm1176_dciall[] = {"arm1176_dciall", nullptr};
const char* const n_arm1176_dcimvac[] = {"arm1176_dcimvac", nullptr};
const char* const n_arm1176_dcisw[] = {"arm1176_dcisw", nullptr};
const char* const n_arm1176_idciall[] = {"arm1176_idciall", nullptr};
const char* const n_arm1176_dccall[] = {"arm1176_dccall", nullptr};
const char* const n_arm1176_dccmvac[] = {"arm1176_dccmvac", nullptr};
const char* const n_arm1176_dccsw[] = {"arm1176_dccsw", nullptr};
const char* const n_arm1176_dsb[] = {"arm1176_dsb", nullptr};
const char* const n_arm1176_dmb[] = {"arm1176_dmb", nullptr};
const char* const n_arm1176_cdsr[] = {"arm1176_cdsr", nullptr};
const char* const n_arm1176_bcsr[] = {"arm1176_bcsr", nullptr};
const char* const n_arm1176_dcciall[] = {"arm1176_dcciall", nullptr};
const char* const n_arm1176_dccimvac[] = {"arm1176_dccimvac", nullptr};
const char* const n_arm1176_dccisw[] = {"arm1176_dccisw", nullptr};
const char* const n_arm1176_idcciall[] = {"arm1176_idcciall", nullptr};
const char* const n_arm1176_tlbiall[] = {"arm1176_tlbiall", nullptr};
const char* const n_arm1176_tlbimva[] = {"arm1176_tlbimva", nullptr};
const char* const n_arm1176_tlbiasid[] = {"arm1176_tlbiasid", nullptr};
const char* const n_arm1176_itlbiall[] = {"arm1176_itlbiall", nullptr};
const char* const n_arm1176_itlbimva[] = {"arm1176_itlbimva", nullptr};
const char* const n_arm1176_itlbiasid[] = {"arm1176_itlbiasid", nullptr};
const char* const n_arm1176_dtlbiall[] = {"arm1176_dtlbiall", nullptr};
const char* const n_arm1176_dtlbimva[] = {"arm1176_dtlbimva", nullptr};
const char* const n_arm1176_dtlbiasid[] = {"arm1176_dtlbiasid", nullptr};
const char* const n_arm1176_dclr[] = {"arm1176_dclr", nullptr};
const char* const n_arm1176_iclr[] = {"arm1176_iclr", nullptr};
const char* const n_arm1176_dtcmrr[] = {"arm1176_dtcmrr", nullptr};
const char* const n_arm1176_itcmrr[] = {"arm1176_itcmrr", nullptr};
const char* const n_arm1176_tlblr[] = {"arm1176_tlblr", nullptr};
const char* const n_arm1176_prrr[] = {"arm1176_prrr", nullptr};
const char* const n_arm1176_nmrr[] = {"arm1176_nmrr", nullptr};
const char* const n_arm1176_tcmsr[] = {"arm1176_tcmsr", nullptr};
const char* const n_arm1176_dtcmnsacr[] = {"arm1176_dtcmnsacr", nullptr};
const char* const n_arm1176_itcmnsacr[] = {"arm1176_itcmnsacr", nullptr};
const char* const n_arm1176_ppmrr[] = {"arm1176_ppmrr", nullptr};
const char* const n_arm1176_dmapr[] = {"arm1176_dmapr", nullptr};
const char* const n_arm1176_dmaqr[] = {"arm1176_dmaqr", nullptr};
const char* const n_arm1176_dmaovr[] = {"arm1176_dmaovr", nullptr};
const char* const n_arm1176_dmauar[] = {"arm1176_dmauar", nullptr};
const char* const n_arm1176_dmacnr[] = {"arm1176_dmacnr", nullptr};
const char* const n_arm1176_dmaenr[] = {"arm1176_dmaenr", nullptr};
const char* const n_arm1176_dmacr[] = {"arm1176_dmacr", nullptr};
const char* const n_arm1176_dmaisar[] = {"arm1176_dmaisar", nullptr};
const char* const n_arm1176_dmaesar[] = {"arm1176_dmaesar", nullptr};
const char* const n_arm1176_dmaiear[] = {"arm1176_dmaiear", nullptr};
const char* const n_arm1176_dmacsr[] = {"arm1176_dmacsr", nullptr};
const char* const n_arm1176_dmacidr[] = {"arm1176_dmacidr", nullptr};
const char* const n_arm1176_fcseidr[] = {"arm1176_fcseidr", nullptr};
const char* const n_arm1176_contextidr[] = {"arm1176_contextidr", nullptr};
const char* const n_arm1176_tpidrurw[] = {"arm1176_tpidrurw", nullptr};
const char* const n_arm1176_tpidruro[] = {"arm1176_tpidruro", nullptr};
const char* const n_arm1176_tpidrprw[] = {"arm1176_tpidrprw", nullptr};
const char* const n_arm1176_pmnc[] = {"arm1176_pmnc", nullptr};
const char* const n_arm1176_ccnt[] = {"arm1176_ccnt", nullptr};
const char* const n_arm1176_pmn0[] = {"arm1176_pmn0", nullptr};
const char* const n_arm1176_pmn1[] = {"arm1176_pmn1", nullptr};
const char* const n_arm1176_tlbdbg[] = {"arm1176_tlbdbg", nullptr};
const char* const n_arm1176_tlbli[] = {"arm1176_tlbli", nullptr};
const char* const n_arm1176_tlbva[] = {"arm1176_tlbva", nullptr};
const char* const n_arm1176_tlbpa[] = {"arm1176_tlbpa", nullptr};
const char* const n_arm1176_tlbattr[] = {"arm1176_tlbattr", nullptr};
const char* const n_arm1176_icmvr[] = {"arm1176_icmvr", nullptr};
const char* const n_arm1176_dcmvr[] = {"arm1176_dcmvr", nullptr};
const char* const n_arm1176_cdbgr[] = {"arm1176_cdbgr", nullptr};
const char* const n_arm1176_svcr[] = {"arm1176_svcr", nullptr};
const char* const n_arm1176_svor[] = {"arm1176_svor", nullptr};
const char* const n_arm1176_svcsmr[] = {"arm1176_svcsmr", nullptr};
const char* const n_arm1176_ddcr[] = {"arm1176_ddcr", nullptr};
const char* const n_arm1176_idcr[] = {"arm1176_idcr", nullptr};
const char* const n_arm1176_dtrr[] = {"arm1176_dtrr", nullptr};
const char* const n_arm1176_itrr[] = {"arm1176_itrr", nullptr};
const char* const n_arm1176_ddrr[] = {"arm1176_ddrr", nullptr};
const char* const n_arm1176_idrr[] = {"arm1176_idrr", nullptr};
const char* const n_arm1176_utlbdr[] = {"arm1176_utlbdr", nullptr};
const char* const n_arm1176_jidr[] = {"arm1176_jidr", nullptr};
const char* const n_arm1176_joscr[] = {"arm1176_joscr", nullptr};
const char* const n_arm1176_jmcr[] = {"arm1176_jmcr", nullptr};
const char* const n_arm1176_jpr[] = {"arm1176_jpr", nullptr};
const char* const n_arm1176_dbgdidr[] = {"arm1176_dbgdidr", nullptr};
const char* const n_arm1176_dbgdscr[] = {"arm1176_dbgdscr", nullptr};
const char* const n_arm1176_dbgdtrrx[] = {"arm1176_dbgdtrrx", nullptr};
const char* const n_arm1176_dbgdtrtx[] = {"arm1176_dbgdtrtx", nullptr};
const char* const n_arm1176_dbgvcr[] = {"arm1176_dbgvcr", nullptr};
const char* const n_arm1176_dbgbvr0[] = {"arm1176_dbgbvr0", nullptr};
const char* const n_arm1176_dbgbvr1[] = {"arm1176_dbgbvr1", nullptr};
const char* const n_arm1176_dbgbvr2[] = {"arm1176_dbgbvr2", nullptr};
const char* const n_arm1176_dbgbvr3[] = {"arm1176_dbgbvr3", nullptr};
const char* const n_arm1176_dbgbvr4[] = {"arm1176_dbgbvr4", nullptr};
const char* const n_arm1176_dbgbvr5[] = {"arm1176_dbgbvr5", nullptr};
const char* const n_arm1176_dbgbcr0[] = {"arm1176_dbgbcr0", nullptr};
const char* const n_arm1176_dbgbcr1[] = {"arm1176_dbgbcr1", nullptr};
const char* const n_arm1176_dbgbcr2[] = {"arm1176_dbgbcr2", nullptr};
const char* const n_arm1176_dbgbcr3[] = {"arm1176_dbgbcr3", nullptr};
const char* const n_arm1176_dbgbcr4[] = {"arm1176_dbgbcr4", nullptr};
const char* const n_arm1176_dbgbcr5[] = {"arm1176_dbgbcr5", nullptr};
const char* const n_arm1176_dbgwvr0[] = {"arm1176_dbgwvr0", nullptr};
const char* const n_arm1176_dbgwvr1[] = {"arm1176_dbgwvr1", nullptr};
const char* const n_arm1176_dbgwcr0[] = {"arm1176_dbgwcr0", nullptr};
const char* const n_arm1176_dbgwcr1[] = {"arm1176_dbgwcr1", nullptr};
const char* const n_cortexr4_midr[] = {"cortexr4_midr", nullptr};
const char* const n_cortexr4_ctr[] = {"cortexr4_ctr", nullptr};
const char* const n_cortexr4_tcmtr[] = {"cortexr4_tcmtr", nullptr};
const char* const n_cortexr4_mpuir[] = {"cortexr4_mpuir", nullptr};
const char* const n_cortexr4_mpidr[] = {"cortexr4_mpidr", nullptr};
const char* const n_cortexr4_id_pfr0[] = {"cortexr4_id_pfr0", nullptr};
const char* const n_cortexr4_id_pfr1[] = {"cortexr4_id_pfr1", nullptr};
const char* const n_cortexr4_id_dfr0[] = {"cortexr4_id_dfr0", nullptr};
const char* const n_cortexr4_id_afr0[] = {"cortexr4_id_afr0", nullptr};
const char* const n_cortexr4_id_mmfr0[] = {"cortexr4_id_mmfr0", nullptr};
const char* const n_cortexr4_id_mmfr1[] = {"cortexr4_id_mmfr1", nullptr};
const char* const n_cortexr4_id_mmfr2[] = {"cortexr4_id_mmfr2", nullptr};
const char* const n_cortexr4_id_mmfr3[] = {"cortexr4_id_mmfr3", nullptr};
const char* const n_cortexr4_id_isar0[] = {"cortexr4_id_isar0", nullptr};
const char* const n_cortexr4_id_isar1[] = {"cortexr4_id_isar1", nullptr};
const char* const n_cortexr4_id_isar2[] = {"cortexr4_id_isar2", nullptr};
const char* const n_cortexr4_id_isar3[] = {"cortexr4_id_isar3", nullptr};
const char* const n_cortexr4_id_isar4[] = {"cortexr4_id_isar4", nullptr};
const char* const n_cortexr4_id_isar5[] = {"cortexr4_id_isar5", nullptr};
const char* const n_cortexr4_ccsidr[] = {"cortexr4_ccsidr", nullptr};
const char* const n_cortexr4_clidr[] = {"cortexr4_clidr", nullptr};
const char* const n_cortexr4_aidr[] = {"cortexr4_aidr", nullptr};
const char* const n_cortexr4_csselr[] = {"cortexr4_csselr", nullptr};
const char* const n_cortexr4_sctlr[] = {"cortexr4_sctlr", nullptr};
const char* const n_cortexr4_actlr[] = {"cortexr4_actlr", nullptr};
const char* const n_cortexr4_cpacr[] = {"cortexr4_cpacr", nullptr};
const char* const n_cortexr4_dfsr[] = {"cortexr4_dfsr", nullptr};
const char* const n_cortexr4_ifsr[] = {"cortexr4_ifsr", nullptr};
const char* const n_cortexr4_adfsr[] = {"cortexr4_adfsr", nullptr};
const char* const n_cortexr4_aifsr[] = {"cortexr4_aifsr", nullptr};
const char* const n_cortexr4_dfar[] = {"cortexr4_dfar", nullptr};
const char* const n_cortexr4_ifar[] = {"cortexr4_ifar", nullptr};
const char* const n_cortexr4_rgnr[] = {"cortexr4_rgnr", nullptr};
const char* const n_cortexr4_drbar0[] = {"cortexr4_drbar0", nullptr};
const char* const n_cortexr4_drsr0[] = {"cortexr4_drsr0", nullptr};
const char* const n_cortexr4_dracr0[] = {"cortexr4_dracr0", nullptr};
const char* const n_cortexr4_drbar1[] = {"cortexr4_drbar1", nullptr};
const char* const n_cortexr4_drsr1[] = {"cortexr4_drsr1", nullptr};
const char* const n_cortexr4_dracr1[] = {"cortexr4_dracr1", nullptr};
const char* const n_cortexr4_drbar2[] = {"cortexr4_drbar2", nullptr};
const char* const n_cortexr4_drsr2[] = {"cortexr4_drsr2", nullptr};
const char* const n_cortexr4_dracr2[] = {"cortexr4_dracr2", nullptr};
const char* const n_cortexr4_drbar3[] = {"cortexr4_drbar3", nullptr};
const char* const n_cortexr4_drsr3[] = {"cortexr4_drsr3", nullptr};
const char* const n_cortexr4_dracr3[] = {"cortexr4_dracr3", nullptr};
const char* const n_cortexr4_drbar4[] = {"cortexr4_drbar4", nullptr};
const char* const n_cortexr4_drsr4[] = {"cortexr4_drsr4", nullptr};
const char* const n_cortexr4_dracr4[] = {"cortexr4_dracr4", nullptr};
const char* const n_cortexr4_drbar5[] = {"cortexr4_drbar5", nullptr};
const char* const n_cortexr4_drsr5[] = {"cortexr4_drsr5", nullptr};
const char* const n_cortexr4_dracr5[] = {"cortexr4_dracr5", nullptr};
const char* const n_cortexr4_drbar6[] = {"cortexr4_drbar6", nullptr};
const char* const n_cortexr4_drsr6[] = {"cortexr4_drsr6", nullptr};
const char* const n_cortexr4_dracr6[] = {"cortexr4_dracr6", nullptr};
const char* const n_cortexr4_drbar7[] = {"cortexr4_drbar7", nullptr};
const char* const n_cortexr4_drsr7[] = {"cortexr4_drsr7", nullptr};
const char* const n_cortexr4_dracr7[] = {"cortexr4_dracr7", nullptr};
const char* const n_cortexr4_drbar8[] = {"cortexr4_drbar8", nullptr};
const char* const n_cortexr4_drsr8[] = {"cortexr4_drsr8", nullptr};
const char* const n_cortexr4_dracr8[] = {"cortexr4_dracr8", nullptr};
const char* const n_cortexr4_drbar9[] = {"cortexr4_drbar9", nullptr};
const char* const n_cortexr4_drsr9[] = {"cortexr4_drsr9", nullptr};
const char* const n_cortexr4_dracr9[] = {"cortexr4_dracr9", nullptr};
const char* const n_cortexr4_drbar10[] = {"cortexr4_drbar10", nullptr};
const char* const n_cortexr4_drsr10[] = {"cortexr4_drsr10", nullptr};
const char* const n_cortexr4_dracr10[] = {"cortexr4_dracr10", nullptr};
const char* const n_cortexr4_drbar11[] = {"cortexr4_drbar11", nullptr};
const char* const n_cortexr4_drsr11[] = {"cortexr4_drsr11", nullptr};
const char* const n_cortexr4_dracr11[] = {"cortexr4_dracr11", nullptr};
const char* const n_cortexr4_iciallu[] = {"cortexr4_iciallu", nullptr};
const char* const n_cortexr4_icimvau[] = {"cortexr4_icimvau", nullptr};
const char* const n_cortexr4_dcimvac[] = {"cortexr4_dcimvac", nullptr};
const char* const n_cortexr4_dcisw[] = {"cortexr4_dcisw", nullptr};
const char* const n_cortexr4_dccmvac[] = {"cortexr4_dccmvac", nullptr};
const char* const n_cortexr4_dccsw[] = {"cortexr4_dccsw", nullptr};
const char* const n_cortexr4_dccmvau[] = {"cortexr4_dccmvau", nullptr};
const char* const n_cortexr4_dccimvac[] = {"cortexr4_dccimvac", nullptr};
const char* const n_cortexr4_dccisw[] = {"cortexr4_dccisw", nullptr};
const char* const n_cortexr4_bpiall[] = {"cortexr4_bpiall", nullptr};
const char* const n_cortexr4_bpimva[] = {"cortexr4_bpimva", nullptr};
const char* const n_cortexr4_cp15isb[] = {"cortexr4_cp15isb", nullptr};
const char* const n_cortexr4_cp15dsb[] = {"cortexr4_cp15dsb", nullptr};
const char* const n_cortexr4_cp15dmb[] = {"cortexr4_cp15dmb", nullptr};
const char* const n_cortexr4_pmcr[] = {"cortexr4_pmcr", nullptr};
const char* const n_cortexr4_pmcntenset[] = {"cortexr4_pmcntenset", nullptr};
const char* const n_cortexr4_pmcntenclr[] = {"cortexr4_pmcntenclr", nullptr};
const char* const n_cortexr4_pmovsr[] = {"cortexr4_pmovsr", nullptr};
const char* const n_cortexr4_pmswinc[] = {"cortexr4_pmswinc", nullptr};
const char* const n_cortexr4_pmselr[] = {"cortexr4_pmselr", nullptr};
const char* const n_cortexr4_pmccntr[] = {"cortexr4_pmccntr", nullptr};
const char* const n_cortexr4_pmxevtyper[] = {"cortexr4_pmxevtyper", nullptr};
const char* const n_cortexr4_pmxevcntr[] = {"cortexr4_pmxevcntr", nullptr};
const char* const n_cortexr4_pmuserenr[] = {"cortexr4_pmuserenr", nullptr};
const char* const n_cortexr4_pmintenset[] = {"cortexr4_pmintenset", nullptr};
const char* const n_cortexr4_pmintenclr[] = {"cortexr4_pmintenclr", nullptr};
const char* const n_cortexr4_pmevcntr0[] = {"cortexr4_pmevcntr0", nullptr};
const char* const n_cortexr4_pmevcntr1[] = {"cortexr4_pmevcntr1", nullptr};
const char* const n_cortexr4_pmevcntr2[] = {"cortexr4_pmevcntr2", nullptr};
const char* const n_cortexr4_pmevtyper0[] = {"cortexr4_pmevtyper0", nullptr};
const char* const n_cortexr4_pmevtyper1[] = {"cortexr4_pmevtyper1", nullptr};
const char* const n_cortexr4_pmevtyper2[] = {"cortexr4_pmevtyper2", nullptr};
const char* const n_cortexr4_btcmrr[] = {"cortexr4_btcmrr", nullptr};
const char* const n_cortexr4_atcmrr[] = {"cortexr4_atcmrr", nullptr};
const char* const n_cortexr4_tcmsel[] = {"cortexr4_tcmsel", nullptr};
const char* const n_cortexr4_sppcr[] = {"cortexr4_sppcr", nullptr};
const char* const n_cortexr4_contextidr[] = {"cortexr4_contextidr", nullptr};
const char* const n_cortexr4_tpidrurw[] = {"cortexr4_tpidrurw", nullptr};
const char* const n_cortexr4_tpidruro[] = {"cortexr4_tpidruro", nullptr};
const char* const n_cortexr4_tpidrprw[] = {"cortexr4_tpidrprw", nullptr};
const char* const n_cortexr4_sactlr[] = {"cortexr4_sactlr", nullptr};
const char* const n_cortexr4_bo1[] = {"cortexr4_bo1", nullptr};
const char* const n_cortexr4_bo2[] = {"cortexr4_bo2", nullptr};
const char* const n_cortexr4_cfltr[] = {"cortexr4_cfltr", nullptr};
const char* const n_cortexr4_dciall[] = {"cortexr4_dciall", nullptr};
const char* const n_cortexr4_iciall[] = {"cortexr4_iciall", nullptr};
const char* const n_cortexr4_nvrbar[] = {"cortexr4_nvrbar", nullptr};
const char* const n_cortexr4_vvrbar[] = {"cortexr4_vvrbar", nullptr};
const char* const n_cortexr4_dbgdidr[] = {"cortexr4_dbgdidr", nullptr};
const char* const n_cortexr4_dbgwfar[] = {"cortexr4_dbgwfar", nullptr};
const char* const n_cortexr4_dbgvcr[] = {"cortexr4_dbgvcr", nullptr};
const char* const n_cortexr4_dbgecr[] = {"cortexr4_dbgecr", nullptr};
const char* const n_cortexr4_dbgdscr[] = {"cortexr4_dbgdscr", nullptr};
const char* const n_cortexr4_dbgdtrrx[] = {"cortexr4_dbgdtrrx", nullptr};
const char* const n_cortexr4_dbgdtrtx[] = {"cortexr4_dbgdtrtx", nullptr};
const char* const n_cortexr4_dbgitr[] = {"cortexr4_dbgitr", nullptr};
const char* const n_cortexr4_dbgdrcr[] = {"cortexr4_dbgdrcr", nullptr};
const char* const n_cortexr4_dbgbvr0[] = {"cortexr4_dbgbvr0", nullptr};
const char* const n_cortexr4_dbgbvr1[] = {"cortexr4_dbgbvr1", nullptr};
const char* const n_cortexr4_dbgbvr2[] = {"cortexr4_dbgbvr2", nullptr};
const char* const n_cortexr4_dbgbvr3[] = {"cortexr4_dbgbvr3", nullptr};
const char* const n_cortexr4_dbgbvr4[] = {"cortexr4_dbgbvr4", nullptr};
const char* const n_cortexr4_dbgbvr5[] = {"cortexr4_dbgbvr5", nullptr};
const char* const n_cortexr4_dbgbvr6[] = {"cortexr4_dbgbvr6", nullptr};
const char* const n_cortexr4_dbgbvr7[] = {"cortexr4_dbgbvr7", nullptr};
const char* const n_cortexr4_dbgbcr0[] = {"cortexr4_dbgbcr0", nullptr};
const char* const n_cortexr4_dbgbcr1[] = {"cortexr4_dbgbcr1", nullptr};
const char* const n_cortexr4_dbgbcr2[] = {"cortexr4_dbgbcr2", nullptr};
const char* const n_cortexr4_dbgbcr3[] = {"cortexr4_dbgbcr3", nullptr};
const char* const n_cortexr4_dbgbcr4[] = {"cortexr4_dbgbcr4", nullptr};
const char* const n_cortexr4_dbgbcr5[] = {"cortexr4_dbgbcr5", nullptr};
const char* const n_cortexr4_dbgbcr6[] = {"cortexr4_dbgbcr6", nullptr};
const char* const n_cortexr4_dbgbcr7[] = {"cortexr4_dbgbcr7", nullptr};
const char* const n_cortexr4_dbgwvr0[] = {"cortexr4_dbgwvr0", nullptr};
const char* const n_cortexr4_dbgwvr1[] = {"cortexr4_dbgwvr1", nullptr};
const char* const n_cortexr4_dbgwvr2[] = {"cortexr4_dbgwvr2", nullptr};
const char* const n_cortexr4_dbgwvr3[] = {"cortexr4_dbgwvr3", nullptr};
const char* const n_cortexr4_dbgwvr4[] = {"cortexr4_dbgwvr4", nullptr};
const char* const n_cortexr4_dbgwvr5[] = {"cortexr4_dbgwvr5", nullptr};
const char* const n_cortexr4_dbgwvr6[] = {"cortexr4_dbgwvr6", nullptr};
const char* const n_cortexr4_dbgwvr7[] = {"cortexr4_dbgwvr7", nullptr};
const char* const n_cortexr4_dbgwcr0[] = {"cortexr4_dbgwcr0", nullptr};
const char* const n_cortexr4_dbgwcr1[] = {"cortexr4_dbgwcr1", nullptr};
const char* const n_cortexr4_dbgwcr2[] = {"cortexr4_dbgwcr2", nullptr};
const char* const n_cortexr4_dbgwcr3[] = {"cortexr4_dbgwcr3", nullptr};
const char* const n_cortexr4_dbgwcr4[] = {"cortexr4_dbgwcr4", nullptr};
const char* const n_cortexr4_dbgwcr5[] = {"cortexr4_dbgwcr5", nullptr};
const char* const n_cortexr4_dbgwcr6[] = {"cortexr4_dbgwcr6", nullptr};
const char* const n_cortexr4_dbgwcr7[] = {"cortexr4_dbgwcr7", nullptr};
const char* const n_cortexr4_dbgoslar[] = {"cortexr4_dbgoslar", nullptr};
const char* const n_cortexr4_dbgoslsr[] = {"cortexr4_dbgoslsr", nullptr};
const char* const n_cortexr4_dbgprcr[] = {"cortexr4_dbgprcr", nullptr};
const char* const n_cortexr4_dbgprsr[] = {"cortexr4_dbgprsr", nullptr};
const char* const n_cortexr4_dbgclaimset[] = {"cortexr4_dbgclaimset", nullptr};
const char* const n_cortexr4_dbgclaimclr[] = {"cortexr4_dbgclaimclr", nullptr};
const char* const n_cortexr4_dbgauthstatus[] = {"cortexr4_dbgauthstatus", nullptr};
const char* const n_cortexr4_dbgdevid[] = {"cortexr4_dbgdevid", nullptr};
const char* const n_cortexr4_dbglar[] = {"cortexr4_dbglar", nullptr};
const char* const n_cortexr4_dbglsr[] = {"cortexr4_dbglsr", nullptr};
const char* const n_cortexr4_dbgdsccr[] = {"cortexr4_dbgdsccr", nullptr};
const char* const n_cortexr4_dbgdsmcr[] = {"cortexr4_dbgdsmcr", nullptr};
const char* const n_cortexr4_dbgpcsr[] = {"cortexr4_dbgpcsr", nullptr};
const char* const n_cortexr4_dbgcidsr[] = {"cortexr4_dbgcidsr", nullptr};
const char* const n_cortexr4_dbgdrar[] = {"cortexr4_dbgdrar", nullptr};
const char* const n_cortexr4_dbgdsar[] = {"cortexr4_dbgdsar", nullptr};
const char* const n_cortexr4_dbgitctrl[] = {"cortexr4_dbgitctrl", nullptr};
const char* const n_cortexr4_dbgpidr0[] = {"cortexr4_dbgpidr0", nullptr};
const char* const n_cortexr4_dbgpidr1[] = {"cortexr4_dbgpidr1", nullptr};
const char* const n_cortexr4_dbgpidr2[] = {"cortexr4_dbgpidr2", nullptr};
const char* const n_cortexr4_dbgpidr3[] = {"cortexr4_dbgpidr3", nullptr};
const char* const n_cortexr4_dbgpidr4[] = {"cortexr4_dbgpidr4", nullptr};
const char* const n_cortexr4_dbgcidr0[] = {"cortexr4_dbgcidr0", nullptr};
const char* const n_cortexr4_dbgcidr1[] = {"cortexr4_dbgcidr1", nullptr};
const char* const n_cortexr4_dbgcidr2[] = {"cortexr4_dbgcidr2", nullptr};
const char* const n_cortexr4_dbgcidr3[] = {"cortexr4_dbgcidr3", nullptr};
const char* const n_msp[] = {"msp", nullptr};
const char* const n_psp[] = {"psp", nullptr};
const char* const n_xpsr[] = {"xpsr", nullptr};
const char* const n_apsr[] = {"apsr", nullptr};
const char* const n_iapsr[] = {"iapsr", nullptr};
const char* const n_eapsr[] = {"eapsr", nullptr};
const char* const n_ipsr[] = {"ipsr", nullptr};
const char* const n_epsr[] = {"epsr", nullptr};
const char* const n_iepsr[] = {"iepsr", nullptr};
const char* const n_basepri_max[] = {"basepri_max", nullptr};
const char* const n_primask[] = {"primask", nullptr};
const char* const n_faultmask[] = {"faultmask", nullptr};
const char* const n_basepri[] = {"basepri", nullptr};
const char* const n_control[] = {"control", nullptr};

const RegisterIdEntry kEntries[] = {
    // 0..15: core registers
    {0, n_r0},
    {1, n_r1},
    {2, n_r2},
    {3, n_r3},
    {4, n_r4},
    {5, n_r5},
    {6, n_r6},
    {7, n_r7},
    {8, n_r8},
    {9, n_r9},
    {10, n_r10},
    {11, n_r11},
    {12, n_r12},
    {13, n_r13},
    {14, n_r14},
    {15, n_r15},
    // 16..39: floating-point accelerator registers f0..f7, 96 bits as three word ids each
    {16, n_f0},
    {17, n_f0_1},
    {18, n_f0_2},
    {19, n_f1},
    {20, n_f1_1},
    {21, n_f1_2},
    {22, n_f2},
    {23, n_f2_1},
    {24, n_f2_2},
    {25, n_f3},
    {26, n_f3_1},
    {27, n_f3_2},
    {28, n_f4},
    {29, n_f4_1},
    {30, n_f4_2},
    {31, n_f5},
    {32, n_f5_1},
    {33, n_f5_2},
    {34, n_f6},
    {35, n_f6_1},
    {36, n_f6_2},
    {37, n_f7},
    {38, n_f7_1},
    {39, n_f7_2},
    // 40..42: status registers
    {40, n_cpsr},
    {41, n_spsr},
    {42, n_fps},
    // 43..72: banked registers of the user, fiq, irq, svc, abt, und and mon modes
    {43, n_r8_usr},
    {44, n_r9_usr},
    {45, n_r10_usr},
    {46, n_r11_usr},
    {47, n_r12_usr},
    {48, n_r13_usr},
    {49, n_r14_usr},
    {50, n_r8_fiq},
    {51, n_r9_fiq},
    {52, n_r10_fiq},
    {53, n_r11_fiq},
    {54, n_r12_fiq},
    {55, n_r13_fiq},
    {56, n_r14_fiq},
    {57, n_spsr_fiq},
    {58, n_r13_irq},
    {59, n_r14_irq},
    {60, n_spsr_irq},
    {61, n_r13_svc},
    {62, n_r14_svc},
    {63, n_spsr_svc},
    {64, n_r13_abt},
    {65, n_r14_abt},
    {66, n_spsr_abt},
    {67, n_r13_und},
    {68, n_r14_und},
    {69, n_spsr_und},
    {70, n_r13_mon},
    {71, n_r14_mon},
    {72, n_spsr_mon},
    // 73..143: vfp_: system registers, s0..s31, then d16..d31 as two words each
    {73, n_vfp_fpsid},
    {74, n_vfp_fpscr},
    {75, n_vfp_fpexc},
    {76, n_vfp_fpinst},
    {77, n_vfp_fpinst2},
    {78, n_vfp_mvfr0},
    {79, n_vfp_mvfr1},
    {80, n_vfp_s0},
    {81, n_vfp_s1},
    {82, n_vfp_s2},
    {83, n_vfp_s3},
    {84, n_vfp_s4},
    {85, n_vfp_s5},
    {86, n_vfp_s6},
    {87, n_vfp_s7},
    {88, n_vfp_s8},
    {89, n_vfp_s9},
    {90, n_vfp_s10},
    {91, n_vfp_s11},
    {92, n_vfp_s12},
    {93, n_vfp_s13},
    {94, n_vfp_s14},
    {95, n_vfp_s15},
    {96, n_vfp_s16},
    {97, n_vfp_s17},
    {98, n_vfp_s18},
    {99, n_vfp_s19},
    {100, n_vfp_s20},
    {101, n_vfp_s21},
    {102, n_vfp_s22},
    {103, n_vfp_s23},
    {104, n_vfp_s24},
    {105, n_vfp_s25},
    {106, n_vfp_s26},
    {107, n_vfp_s27},
    {108, n_vfp_s28},
    {109, n_vfp_s29},
    {110, n_vfp_s30},
    {111, n_vfp_s31},
    {112, n_vfp_d16},
    {113, n_vfp_d16_1},
    {114, n_vfp_d17},
    {115, n_vfp_d17_1},
    {116, n_vfp_d18},
    {117, n_vfp_d18_1},
    {118, n_vfp_d19},
    {119, n_vfp_d19_1},
    {120, n_vfp_d20},
    {121, n_vfp_d20_1},
    {122, n_vfp_d21},
    {123, n_vfp_d21_1},
    {124, n_vfp_d22},
    {125, n_vfp_d22_1},
    {126, n_vfp_d23},
    {127, n_vfp_d23_1},
    {128, n_vfp_d24},
    {129, n_vfp_d24_1},
    {130, n_vfp_d25},
    {131, n_vfp_d25_1},
    {132, n_vfp_d26},
    {133, n_vfp_d26_1},
    {134, n_vfp_d27},
    {135, n_vfp_d27_1},
    {136, n_vfp_d28},
    {137, n_vfp_d28_1},
    {138, n_vfp_d29},
    {139, n_vfp_d29_1},
    {140, n_vfp_d30},
    {141, n_vfp_d30_1},
    {142, n_vfp_d31},
    {143, n_vfp_d31_1},
    // 144..211: arm926_: identification and control, cache and TLB operations, lockdown and TCM,
    // test, bytecode-execution state, then the debug unit
    {144, n_arm926_midr},
    {145, n_arm926_ctr},
    {146, n_arm926_tcmtr},
    {147, n_arm926_sctlr},
    {148, n_arm926_ttbr},
    {149, n_arm926_dacr},
    {150, n_arm926_dfsr},
    {151, n_arm926_ifsr},
    {152, n_arm926_far},
    {153, n_arm926_wfi},
    {154, n_arm926_iciallu},
    {155, n_arm926_icimvau},
    {156, n_arm926_icisw},
    {157, n_arm926_isb},
    {158, n_arm926_bpiall},
    {159, n_arm926_dciall},
    {160, n_arm926_dcimvac},
    {161, n_arm926_dcisw},
    {162, n_arm926_idciall},
    {163, n_arm926_dccmvac},
    {164, n_arm926_dccsw},
    {165, n_arm926_tcdc},
    {166, n_arm926_dsb},
    {167, n_arm926_icpmvac},
    {168, n_arm926_dccimvac},
    {169, n_arm926_dccisw},
    {170, n_arm926_tcidc},
    {171, n_arm926_tlbiall},
    {172, n_arm926_itlbiall},
    {173, n_arm926_itlbimva},
    {174, n_arm926_dtlbiall},
    {175, n_arm926_dtlbimva},
    {176, n_arm926_tlbimva},
    {177, n_arm926_dclr},
    {178, n_arm926_iclr},
    {179, n_arm926_dtcmrr},
    {180, n_arm926_itcmrr},
    {181, n_arm926_tlblr},
    {182, n_arm926_fcseidr},
    {183, n_arm926_contextidr},
    {184, n_arm926_dbgovr},
    {185, n_arm926_tcr},
    {186, n_arm926_tracecr},
    {187, n_arm926_cdir},
    {188, n_arm926_icdr},
    {189, n_arm926_dcdr},
    {190, n_arm926_tlbdbg},
    {191, n_arm926_jidr},
    {192, n_arm926_joscr},
    {193, n_arm926_jmcr},
    {194, n_arm926_jpr},
    {195, n_arm926_dbgctrl},
    {196, n_arm926_dbgstat},
    {197, n_arm926_dbgvcr},
    {198, n_arm926_dcccr},
    {199, n_arm926_dccdr},
    {200, n_arm926_wav0},
    {201, n_arm926_wam0},
    {202, n_arm926_wdv0},
    {203, n_arm926_wdm0},
    {204, n_arm926_wcv0},
    {205, n_arm926_wcm0},
    {206, n_arm926_wav1},
    {207, n_arm926_wam1},
    {208, n_arm926_wdv1},
    {209, n_arm926_wdm1},
    {210, n_arm926_wcv1},
    {211, n_arm926_wcm1},
    // 212..342: arm1136_: identification, control and memory, cache and TLB operations, TCM, DMA,
    // thread ids, performance monitor and test, bytecode-execution state, debug
    {212, n_arm1136_midr},
    {213, n_arm1136_ctr},
    {214, n_arm1136_tcmtr},
    {215, n_arm1136_tlbtr},
    {216, n_arm1136_id_pfr0},
    {217, n_arm1136_id_pfr1},
    {218, n_arm1136_id_dfr0},
    {219, n_arm1136_id_afr0},
    {220, n_arm1136_id_mmfr0},
    {221, n_arm1136_id_mmfr1},
    {222, n_arm1136_id_mmfr2},
    {223, n_arm1136_id_mmfr3},
    {224, n_arm1136_id_isar0},
    {225, n_arm1136_id_isar1},
    {226, n_arm1136_id_isar2},
    {227, n_arm1136_id_isar3},
    {228, n_arm1136_id_isar4},
    {229, n_arm1136_id_isar5},
    {230, n_arm1136_sctlr},
    {231, n_arm1136_actlr},
    {232, n_arm1136_cpacr},
    {233, n_arm1136_ttbr0},
    {234, n_arm1136_ttbr1},
    {235, n_arm1136_ttbcr},
    {236, n_arm1136_dacr},
    {237, n_arm1136_dfsr},
    {238, n_arm1136_ifsr},
    {239, n_arm1136_far},
    {240, n_arm1136_wfar},
    {241, n_arm1136_wfi},
    {242, n_arm1136_iciallu},
    {243, n_arm1136_icimvau},
    {244, n_arm1136_icisw},
    {245, n_arm1136_isb},
    {246, n_arm1136_bpiall},
    {247, n_arm1136_bpimva},
    {248, n_arm1136_dciall},
    {249, n_arm1136_dcimvac},
    {250, n_arm1136_dcisw},
    {251, n_arm1136_idciall},
    {252, n_arm1136_dccall},
    {253, n_arm1136_dccmvac},
    {254, n_arm1136_dccsw},
    {255, n_arm1136_dsb},
    {256, n_arm1136_dmb},
    {257, n_arm1136_cdsr},
    {258, n_arm1136_bcsr},
    {259, n_arm1136_dcciall},
    {260, n_arm1136_dccimvac},
    {261, n_arm1136_dccisw},
    {262, n_arm1136_idcciall},
    {263, n_arm1136_tlbiall},
    {264, n_arm1136_tlbimva},
    {265, n_arm1136_tlbiasid},
    {266, n_arm1136_itlbiall},
    {267, n_arm1136_itlbimva},
    {268, n_arm1136_itlbiasid},
    {269, n_arm1136_dtlbiall},
    {270, n_arm1136_dtlbimva},
    {271, n_arm1136_dtlbiasid},
    {272, n_arm1136_dclr},
    {273, n_arm1136_iclr},
    {274, n_arm1136_dtcmrr},
    {275, n_arm1136_itcmrr},
    {276, n_arm1136_tlblr},
    {277, n_arm1136_prrr},
    {278, n_arm1136_nmrr},
    {279, n_arm1136_dmapr},
    {280, n_arm1136_dmaqr},
    {281, n_arm1136_dmaovr},
    {282, n_arm1136_dmauar},
    {283, n_arm1136_dmacnr},
    {284, n_arm1136_dmaenr},
    {285, n_arm1136_dmacr},
    {286, n_arm1136_dmaisar},
    {287, n_arm1136_dmaesar},
    {288, n_arm1136_dmaiear},
    {289, n_arm1136_dmacsr},
    {290, n_arm1136_dmacidr},
    {291, n_arm1136_fcseidr},
    {292, n_arm1136_contextidr},
    {293, n_arm1136_tpidrurw},
    {294, n_arm1136_tpidruro},
    {295, n_arm1136_tpidrprw},
    {296, n_arm1136_pmnc},
    {297, n_arm1136_ccnt},
    {298, n_arm1136_pmn0},
    {299, n_arm1136_pmn1},
    {300, n_arm1136_tlbdbg},
    {301, n_arm1136_tlbli},
    {302, n_arm1136_tlbva},
    {303, n_arm1136_tlbpa},
    {304, n_arm1136_tlbattr},
    {305, n_arm1136_icmvr},
    {306, n_arm1136_dcmvr},
    {307, n_arm1136_cdbgr},
    {308, n_arm1136_svcr},
    {309, n_arm1136_svor},
    {310, n_arm1136_svcsmr},
    {311, n_arm1136_ddcr},
    {312, n_arm1136_idcr},
    {313, n_arm1136_dtrr},
    {314, n_arm1136_itrr},
    {315, n_arm1136_ddrr},
    {316, n_arm1136_idrr},
    {317, n_arm1136_utlbdr},
    {318, n_arm1136_jidr},
    {319, n_arm1136_joscr},
    {320, n_arm1136_jmcr},
    {321, n_arm1136_jpr},
    {322, n_arm1136_dbgdidr},
    {323, n_arm1136_dbgdscr},
    {324, n_arm1136_dbgdtrrx},
    {325, n_arm1136_dbgdtrtx},
    {326, n_arm1136_dbgvcr},
    {327, n_arm1136_dbgbvr0},
    {328, n_arm1136_dbgbvr1},
    {329, n_arm1136_dbgbvr2},
    {330, n_arm1136_dbgbvr3},
    {331, n_arm1136_dbgbvr4},
    {332, n_arm1136_dbgbvr5},
    {333, n_arm1136_dbgbcr0},
    {334, n_arm1136_dbgbcr1},
    {335, n_arm1136_dbgbcr2},
    {336, n_arm1136_dbgbcr3},
    {337, n_arm1136_dbgbcr4},
    {338, n_arm1136_dbgbcr5},
    {339, n_arm1136_dbgwvr0},
    {340, n_arm1136_dbgwvr1},
    {341, n_arm1136_dbgwcr0},
    {342, n_arm1136_dbgwcr1},
    // 343..492: arm1176_: identification, control and memory, security, cache and TLB operations,
    // TCM, DMA, thread ids, performance monitor and test, bytecode-execution state, debug
    {343, n_arm1176_midr},
    {344, n_arm1176_ctr},
    {345, n_arm1176_tcmtr},
    {346, n_arm1176_tlbtr},
    {347, n_arm1176_id_pfr0},
    {348, n_arm1176_id_pfr1},
    {349, n_arm1176_id_dfr0},
    {350, n_arm1176_id_afr0},
    {351, n_arm1176_id_mmfr0},
    {352, n_arm1176_id_mmfr1},
    {353, n_arm1176_id_mmfr2},
    {354, n_arm1176_id_mmfr3},
    {355, n_arm1176_id_isar0},
    {356, n_arm1176_id_isar1},
    {357, n_arm1176_id_isar2},
    {358, n_arm1176_id_isar3},
    {359, n_arm1176_id_isar4},
    {360, n_arm1176_id_isar5},
    {361, n_arm1176_sctlr},
    {362, n_arm1176_actlr},
    {363, n_arm1176_cpacr},
    {364, n_arm1176_ttbr0},
    {365, n_arm1176_ttbr1},
    {366, n_arm1176_ttbcr},
    {367, n_arm1176_dacr},
    {368, n_arm1176_dfsr},
    {369, n_arm1176_ifsr},
    {370, n_arm1176_far},
    {371, n_arm1176_wfar},
    {372, n_arm1176_scr},
    {373, n_arm1176_sder},
    {374, n_arm1176_nsacr},
    {375, n_arm1176_vbar},
    {376, n_arm1176_mvbar},
    {377, n_arm1176_isr},
    {378, n_arm1176_par},
    {379, n_arm1176_ats1cpr},
    {380, n_arm1176_ats1cpw},
    {381, n_arm1176_ats1cur},
    {382, n_arm1176_ats1cuw},
    {383, n_arm1176_ats12nsopr},
    {384, n_arm1176_ats12nsopw},
    {385, n_arm1176_ats12nsour},
    {386, n_arm1176_ats12nsouw},
    {387, n_arm1176_wfi},
    {388, n_arm1176_iciallu},
    {389, n_arm1176_icimvau},
    {390, n_arm1176_icisw},
    {391, n_arm1176_isb},
    {392, n_arm1176_bpiall},
    {393, n_arm1176_bpimva},
    {394, n_arm1176_dciall},
    {395, n_arm1176_dcimvac},
    {396, n_arm1176_dcisw},
    {397, n_arm1176_idciall},
    {398, n_arm1176_dccall},
    {399, n_arm1176_dccmvac},
    {400, n_arm1176_dccsw},
    {401, n_arm1176_dsb},
    {402, n_arm1176_dmb},
    {403, n_arm1176_cdsr},
    {404, n_arm1176_bcsr},
    {405, n_arm1176_dcciall},
    {406, n_arm1176_dccimvac},
    {407, n_arm1176_dccisw},
    {408, n_arm1176_idcciall},
    {409, n_arm1176_tlbiall},
    {410, n_arm1176_tlbimva},
    {411, n_arm1176_tlbiasid},
    {412, n_arm1176_itlbiall},
    {413, n_arm1176_itlbimva},
    {414, n_arm1176_itlbiasid},
    {415, n_arm1176_dtlbiall},
    {416, n_arm1176_dtlbimva},
    {417, n_arm1176_dtlbiasid},
    {418, n_arm1176_dclr},
    {419, n_arm1176_iclr},
    {420, n_arm1176_dtcmrr},
    {421, n_arm1176_itcmrr},
    {422, n_arm1176_tlblr},
    {423, n_arm1176_prrr},
    {424, n_arm1176_nmrr},
    {425, n_arm1176_tcmsr},
    {426, n_arm1176_dtcmnsacr},
    {427, n_arm1176_itcmnsacr},
    {428, n_arm1176_ppmrr},
    {429, n_arm1176_dmapr},
    {430, n_arm1176_dmaqr},
    {431, n_arm1176_dmaovr},
    {432, n_arm1176_dmauar},
    {433, n_arm1176_dmacnr},
    {434, n_arm1176_dmaenr},
    {435, n_arm1176_dmacr},
    {436, n_arm1176_dmaisar},
    {437, n_arm1176_dmaesar},
    {438, n_arm1176_dmaiear},
    {439, n_arm1176_dmacsr},
    {440, n_arm1176_dmacidr},
    {441, n_arm1176_fcseidr},
    {442, n_arm1176_contextidr},
    {443, n_arm1176_tpidrurw},
    {444, n_arm1176_tpidruro},
    {445, n_arm1176_tpidrprw},
    {446, n_arm1176_pmnc},
    {447, n_arm1176_ccnt},
    {448, n_arm1176_pmn0},
    {449, n_arm1176_pmn1},
    {450, n_arm1176_tlbdbg},
    {451, n_arm1176_tlbli},
    {452, n_arm1176_tlbva},
    {453, n_arm1176_tlbpa},
    {454, n_arm1176_tlbattr},
    {455, n_arm1176_icmvr},
    {456, n_arm1176_dcmvr},
    {457, n_arm1176_cdbgr},
    {458, n_arm1176_svcr},
    {459, n_arm1176_svor},
    {460, n_arm1176_svcsmr},
    {461, n_arm1176_ddcr},
    {462, n_arm1176_idcr},
    {463, n_arm1176_dtrr},
    {464, n_arm1176_itrr},
    {465, n_arm1176_ddrr},
    {466, n_arm1176_idrr},
    {467, n_arm1176_utlbdr},
    {468, n_arm1176_jidr},
    {469, n_arm1176_joscr},
    {470, n_arm1176_jmcr},
    {471, n_arm1176_jpr},
    {472, n_arm1176_dbgdidr},
    {473, n_arm1176_dbgdscr},
    {474, n_arm1176_dbgdtrrx},
    {475, n_arm1176_dbgdtrtx},
    {476, n_arm1176_dbgvcr},
    {477, n_arm1176_dbgbvr0},
    {478, n_arm1176_dbgbvr1},
    {479, n_arm1176_dbgbvr2},
    {480, n_arm1176_dbgbvr3},
    {481, n_arm1176_dbgbvr4},
    {482, n_arm1176_dbgbvr5},
    {483, n_arm1176_dbgbcr0},
    {484, n_arm1176_dbgbcr1},
    {485, n_arm1176_dbgbcr2},
    {486, n_arm1176_dbgbcr3},
    {487, n_arm1176_dbgbcr4},
    {488, n_arm1176_dbgbcr5},
    {489, n_arm1176_dbgwvr0},
    {490, n_arm1176_dbgwvr1},
    {491, n_arm1176_dbgwcr0},
    {492, n_arm1176_dbgwcr1},
    // 493..676: cortexr4_: identification, control and faults, MPU regions 0..11, cache
    // operations, performance monitor, TCM and thread ids, implementation registers, debug
    {493, n_cortexr4_midr},
    {494, n_cortexr4_ctr},
    {495, n_cortexr4_tcmtr},
    {496, n_cortexr4_mpuir},
    {497, n_cortexr4_mpidr},
    {498, n_cortexr4_id_pfr0},
    {499, n_cortexr4_id_pfr1},
    {500, n_cortexr4_id_dfr0},
    {501, n_cortexr4_id_afr0},
    {502, n_cortexr4_id_mmfr0},
    {503, n_cortexr4_id_mmfr1},
    {504, n_cortexr4_id_mmfr2},
    {505, n_cortexr4_id_mmfr3},
    {506, n_cortexr4_id_isar0},
    {507, n_cortexr4_id_isar1},
    {508, n_cortexr4_id_isar2},
    {509, n_cortexr4_id_isar3},
    {510, n_cortexr4_id_isar4},
    {511, n_cortexr4_id_isar5},
    {512, n_cortexr4_ccsidr},
    {513, n_cortexr4_clidr},
    {514, n_cortexr4_aidr},
    {515, n_cortexr4_csselr},
    {516, n_cortexr4_sctlr},
    {517, n_cortexr4_actlr},
    {518, n_cortexr4_cpacr},
    {519, n_cortexr4_dfsr},
    {520, n_cortexr4_ifsr},
    {521, n_cortexr4_adfsr},
    {522, n_cortexr4_aifsr},
    {523, n_cortexr4_dfar},
    {524, n_cortexr4_ifar},
    {525, n_cortexr4_rgnr},
    {526, n_cortexr4_drbar0},
    {527, n_cortexr4_drsr0},
    {528, n_cortexr4_dracr0},
    {529, n_cortexr4_drbar1},
    {530, n_cortexr4_drsr1},
    {531, n_cortexr4_dracr1},
    {532, n_cortexr4_drbar2},
    {533, n_cortexr4_drsr2},
    {534, n_cortexr4_dracr2},
    {535, n_cortexr4_drbar3},
    {536, n_cortexr4_drsr3},
    {537, n_cortexr4_dracr3},
    {538, n_cortexr4_drbar4},
    {539, n_cortexr4_drsr4},
    {540, n_cortexr4_dracr4},
    {541, n_cortexr4_drbar5},
    {542, n_cortexr4_drsr5},
    {543, n_cortexr4_dracr5},
    {544, n_cortexr4_drbar6},
    {545, n_cortexr4_drsr6},
    {546, n_cortexr4_dracr6},
    {547, n_cortexr4_drbar7},
    {548, n_cortexr4_drsr7},
    {549, n_cortexr4_dracr7},
    {550, n_cortexr4_drbar8},
    {551, n_cortexr4_drsr8},
    {552, n_cortexr4_dracr8},
    {553, n_cortexr4_drbar9},
    {554, n_cortexr4_drsr9},
    {555, n_cortexr4_dracr9},
    {556, n_cortexr4_drbar10},
    {557, n_cortexr4_drsr10},
    {558, n_cortexr4_dracr10},
    {559, n_cortexr4_drbar11},
    {560, n_cortexr4_drsr11},
    {561, n_cortexr4_dracr11},
    {562, n_cortexr4_iciallu},
    {563, n_cortexr4_icimvau},
    {564, n_cortexr4_dcimvac},
    {565, n_cortexr4_dcisw},
    {566, n_cortexr4_dccmvac},
    {567, n_cortexr4_dccsw},
    {568, n_cortexr4_dccmvau},
    {569, n_cortexr4_dccimvac},
    {570, n_cortexr4_dccisw},
    {571, n_cortexr4_bpiall},
    {572, n_cortexr4_bpimva},
    {573, n_cortexr4_cp15isb},
    {574, n_cortexr4_cp15dsb},
    {575, n_cortexr4_cp15dmb},
    {576, n_cortexr4_pmcr},
    {577, n_cortexr4_pmcntenset},
    {578, n_cortexr4_pmcntenclr},
    {579, n_cortexr4_pmovsr},
    {580, n_cortexr4_pmswinc},
    {581, n_cortexr4_pmselr},
    {582, n_cortexr4_pmccntr},
    {583, n_cortexr4_pmxevtyper},
    {584, n_cortexr4_pmxevcntr},
    {585, n_cortexr4_pmuserenr},
    {586, n_cortexr4_pmintenset},
    {587, n_cortexr4_pmintenclr},
    {588, n_cortexr4_pmevcntr0},
    {589, n_cortexr4_pmevcntr1},
    {590, n_cortexr4_pmevcntr2},
    {591, n_cortexr4_pmevtyper0},
    {592, n_cortexr4_pmevtyper1},
    {593, n_cortexr4_pmevtyper2},
    {594, n_cortexr4_btcmrr},
    {595, n_cortexr4_atcmrr},
    {596, n_cortexr4_tcmsel},
    {597, n_cortexr4_sppcr},
    {598, n_cortexr4_contextidr},
    {599, n_cortexr4_tpidrurw},
    {600, n_cortexr4_tpidruro},
    {601, n_cortexr4_tpidrprw},
    {602, n_cortexr4_sactlr},
    {603, n_cortexr4_bo1},
    {604, n_cortexr4_bo2},
    {605, n_cortexr4_cfltr},
    {606, n_cortexr4_dciall},
    {607, n_cortexr4_iciall},
    {608, n_cortexr4_nvrbar},
    {609, n_cortexr4_vvrbar},
    {610, n_cortexr4_dbgdidr},
    {611, n_cortexr4_dbgwfar},
    {612, n_cortexr4_dbgvcr},
    {613, n_cortexr4_dbgecr},
    {614, n_cortexr4_dbgdscr},
    {615, n_cortexr4_dbgdtrrx},
    {616, n_cortexr4_dbgdtrtx},
    {617, n_cortexr4_dbgitr},
    {618, n_cortexr4_dbgdrcr},
    {619, n_cortexr4_dbgbvr0},
    {620, n_cortexr4_dbgbvr1},
    {621, n_cortexr4_dbgbvr2},
    {622, n_cortexr4_dbgbvr3},
    {623, n_cortexr4_dbgbvr4},
    {624, n_cortexr4_dbgbvr5},
    {625, n_cortexr4_dbgbvr6},
    {626, n_cortexr4_dbgbvr7},
    {627, n_cortexr4_dbgbcr0},
    {628, n_cortexr4_dbgbcr1},
    {629, n_cortexr4_dbgbcr2},
    {630, n_cortexr4_dbgbcr3},
    {631, n_cortexr4_dbgbcr4},
    {632, n_cortexr4_dbgbcr5},
    {633, n_cortexr4_dbgbcr6},
    {634, n_cortexr4_dbgbcr7},
    {635, n_cortexr4_dbgwvr0},
    {636, n_cortexr4_dbgwvr1},
    {637, n_cortexr4_dbgwvr2},
    {638, n_cortexr4_dbgwvr3},
    {639, n_cortexr4_dbgwvr4},
    {640, n_cortexr4_dbgwvr5},
    {641, n_cortexr4_dbgwvr6},
    {642, n_cortexr4_dbgwvr7},
    {643, n_cortexr4_dbgwcr0},
    {644, n_cortexr4_dbgwcr1},
    {645, n_cortexr4_dbgwcr2},
    {646, n_cortexr4_dbgwcr3},
    {647, n_cortexr4_dbgwcr4},
    {648, n_cortexr4_dbgwcr5},
    {649, n_cortexr4_dbgwcr6},
    {650, n_cortexr4_dbgwcr7},
    {651, n_cortexr4_dbgoslar},
    {652, n_cortexr4_dbgoslsr},
    {653, n_cortexr4_dbgprcr},
    {654, n_cortexr4_dbgprsr},
    {655, n_cortexr4_dbgclaimset},
    {656, n_cortexr4_dbgclaimclr},
    {657, n_cortexr4_dbgauthstatus},
    {658, n_cortexr4_dbgdevid},
    {659, n_cortexr4_dbglar},
    {660, n_cortexr4_dbglsr},
    {661, n_cortexr4_dbgdsccr},
    {662, n_cortexr4_dbgdsmcr},
    {663, n_cortexr4_dbgpcsr},
    {664, n_cortexr4_dbgcidsr},
    {665, n_cortexr4_dbgdrar},
    {666, n_cortexr4_dbgdsar},
    {667, n_cortexr4_dbgitctrl},
    {668, n_cortexr4_dbgpidr0},
    {669, n_cortexr4_dbgpidr1},
    {670, n_cortexr4_dbgpidr2},
    {671, n_cortexr4_dbgpidr3},
    {672, n_cortexr4_dbgpidr4},
    {673, n_cortexr4_dbgcidr0},
    {674, n_cortexr4_dbgcidr1},
    {675, n_cortexr4_dbgcidr2},
    {676, n_cortexr4_dbgcidr3},
    // 677..690: M-profile stack pointers, program status views, mask and control registers
    {677, n_msp},
    {678, n_psp},
    {679, n_xpsr},
    {680, n_apsr},
    {681, n_iapsr},
    {682, n_eapsr},
    {683, n_ipsr},
    {684, n_epsr},
    {685, n_iepsr},
    {686, n_basepri_max},
    {687, n_primask},
    {688, n_faultmask},
    {689, n_basepri},
    {690, n_control},
};

} // namespace

const RegisterIdTable kArmRegisterTable = {"ARM", kEntries,
                                           static_cast<int32_t>(std::size(kEntries))};
