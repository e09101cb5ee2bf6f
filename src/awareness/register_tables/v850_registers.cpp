// Register ids of the V850 / RH850 family (major CPU type 14): 945 ids, 721 of them mapped.
//
// Entry i describes register id i. A mapped entry lists the register's own name first, then the
// other names it answers to; an unmapped id has kUnmappedRegisterId and no name list.
//
// fstargreg and rtnreg name the calling convention's first-argument and return-value registers
// (r6, r10), so code that only knows the role can find them.
//
// Layout:
//   0..31      general registers
//   32         program counter
//   33..64     system register bank 0, id = 33 + register number
//   65..96     system register bank 1 (core configuration, exception bases), id = 65 + register
//              number
//   97..128    system register bank 2 (time stamp, interrupt status, memory errors), id = 97 +
//              register number
//   129..160   cache register bank, id = 129 + register number
//   161..192   guest-context register bank, id = 161 + register number
//   193..207   unmapped
//   208..223   fpu_: floating-point unit, then the control registers of the extended (vector)
//              unit
//   224..303   mpu0_: MPU with fixed region registers: control, then regions 0..15 with four ids
//              each (lower bound, upper bound, attributes, one reserved)
//   304..455   mpu1_: MPU with indexed regions: control, protection ids, then regions 0..31 with
//              four ids each
//   456..480   pmu_: performance monitor with eight counters
//   481..487   unmapped
//   488..551   dbg_: debug control, then hardware breakpoint channels 0..11
//   552..599   unmapped
//   600..799   intc_: interrupt controller: control and masks, then channel control and channel
//              binding of channels 0..95
//   800..816   unmapped
//   817..944   wr0..wr31: 128-bit vector registers, one id per 32-bit word
//
// Holes inside the system register banks are the reserved register numbers of the bank. In bank 0
// the numbers 6..12 stay unmapped because the floating-point registers that some cores put there
// are reached through the fpu_ group, which keeps one id per register whatever the core. The unit
// groups (fpu_, mpu0_, mpu1_, pmu_, dbg_, intc_) come after the banks; inside them reserved ids
// start each kind of register on a boundary of eight or sixteen ids, and every MPU region owns
// four ids of which the fourth is reserved. The vector registers close the table, so the last ids
// are wr31 and its three upper words.

#include "awareness/register_tables.h"

#include <iterator>

namespace {

const char* const n_r0[] = {"r0", nullptr};
const char* const n_r1[] = {"r1", nullptr};
const char* const n_r2[] = {"r2", nullptr};
const char* const n_r3[] = {"r3", "sp", nullptr};
const char* const n_r4[] = {"r4", "gp", nullptr};
const char* const n_r5[] = {"r5", "tp", nullptr};
const char* const n_r6[] = {"r6", "fstargreg", nullptr};
const char* const n_r7[] = {"r7", nullptr};
const char* const n_r8[] = {"r8", nullptr};
const char* const n_r9[] = {"r9", nullptr};
const char* const n_r10[] = {"r10", "rtnreg", nullptr};
const char* const n_r11[] = {"r11", nullptr};
const char* const n_r12[] = {"r12", nullptr};
const char* const n_r13[] = {"r13", nullptr};
const char* const n_r14[] = {"r14", nullptr};
const char* const n_r15[] = {"r15", nullptr};
const char* const n_r16[] = {"r16", nullptr};
const char* const n_r17[] = {"r17", nullptr};
const char* const n_r18[] = {"r18", nullptr};
const char* const n_r19[] = {"r19", nullptr};
const char* const n_r20[] = {"r20", nullptr};
const char* const n_r21[] = {"r21", nullptr};
const char* const n_r22[] = {"r22", nullptr};
const char* const n_r23[] = {"r23", nullptr};
const char* const n_r24[] = {"r24", nullptr};
const char* const n_r25[] = {"r25", nullptr};
const char* const n_r26[] = {"r26", nullptr};
const char* const n_r27[] = {"r27", nullptr};
const char* const n_r28[] = {"r28", nullptr};
const char* const n_r29[] = {"r29", nullptr};
const char* const n_r30[] = {"r30", "ep", nullptr};
const char* const n_r31[] = {"r31", "lp", nullptr};
const char* const n_pc[] = {"pc", nullptr};
const char* const n_sr0[] = {"sr0", "eipc", nullptr};
const char* const n_eipsw[] = {"eipsw", nullptr};
const char* const n_fepc[] = {"fepc", nullptr};
const char* const n_fepsw[] = {"fepsw", nullptr};
const char* const n_ecr[] = {"ecr", nullptr};
const char* const n_psw[] = {"psw", nullptr};
const char* const n_eiic[] = {"eiic", nullptr};
const char* const n_feic[] = {"feic", nullptr};
const char* const n_dbic[] = {"dbic", nullptr};
const char* const n_ctpc[] = {"ctpc", nullptr};
const char* const n_ctpsw[] = {"ctpsw", nullptr};
const char* const n_dbpc[] = {"dbpc", nullptr};
const char* const n_dbpsw[] = {"dbpsw", nullptr};
const char* const n_ctbp[] = {"ctbp", nullptr};
const char* const n_dir[] = {"dir", nullptr};
const char* const n_bpc[] = {"bpc", nullptr};
const char* const n_asid[] = {"asid", nullptr};
const char* const n_bpav[] = {"bpav", nullptr};
const char* const n_bpam[] = {"bpam", nullptr};
const char* const n_bpdv[] = {"bpdv", nullptr};
const char* const n_bpdm[] = {"bpdm", nullptr};
const char* const n_eiwr[] = {"eiwr", nullptr};
const char* const n_fewr[] = {"fewr", nullptr};
const char* const n_dbwr[] = {"dbwr", nullptr};
const char* const n_bsel[] = {"bsel", nullptr};
const char* const n_mcfg0[] = {"mcfg0", nullptr};
const char* const n_mcfg1[] = {"mcfg1", nullptr};
const char* const n_rbase[] = {"rbase", nullptr};
const char* const n_ebase[] = {"ebase", nullptr};
const char* const n_intbp[] = {"intbp", nullptr};
const char* const n_mctl[] = {"mctl", nullptr};
const char* const n_pid[] = {"pid", nullptr};
const char* const n_fpipr[] = {"fpipr", nullptr};
const char* const n_svlock[] = {"svlock", nullptr};
const char* const n_peid[] = {"peid", nullptr};
const char* const n_bmid[] = {"bmid", nullptr};
const char* const n_sccfg[] = {"sccfg", nullptr};
const char* const n_scbp[] = {"scbp", nullptr};
const char* const n_hvcfg[] = {"hvcfg", nullptr};
const char* const n_gmcfg[] = {"gmcfg", nullptr};
const char* const n_hvsb[] = {"hvsb", nullptr};
const char* const n_htcfg0[] = {"htcfg0", nullptr};
const char* const n_tscountl[] = {"tscountl", nullptr};
const char* const n_tscounth[] = {"tscounth", nullptr};
const char* const n_tsctrl[] = {"tsctrl", nullptr};
const char* const n_lscfg[] = {"lscfg", nullptr};
const char* const n_mea[] = {"mea", nullptr};
const char* const n_mei[] = {"mei", nullptr};
const char* const n_ispr[] = {"ispr", nullptr};
const char* const n_pmr[] = {"pmr", nullptr};
const char* const n_icsr[] = {"icsr", nullptr};
const char* const n_intcfg[] = {"intcfg", nullptr};
const char* const n_plmr[] = {"plmr", nullptr};
const char* const n_rbcr0[] = {"rbcr0", nullptr};
const char* const n_rbcr1[] = {"rbcr1", nullptr};
const char* const n_rbnr[] = {"rbnr", nullptr};
const char* const n_rbip[] = {"rbip", nullptr};
const char* const n_ictagl[] = {"ictagl", nullptr};
const char* const n_ictagh[] = {"ictagh", nullptr};
const char* const n_icdatl[] = {"icdatl", nullptr};
const char* const n_icdath[] = {"icdath", nullptr};
const char* const n_dctagl[] = {"dctagl", nullptr};
const char* const n_dctagh[] = {"dctagh", nullptr};
const char* const n_dcdatl[] = {"dcdatl", nullptr};
const char* const n_dcdath[] = {"dcdath", nullptr};
const char* const n_icctrl[] = {"icctrl", nullptr};
const char* const n_dcctrl[] = {"dcctrl", nullptr};
const char* const n_iccfg[] = {"iccfg", nullptr};
const char* const n_dccfg[] = {"dccfg", nullptr};
const char* const n_icerr[] = {"icerr", nullptr};
const char* const n_dcerr[] = {"dcerr", nullptr};
const char* const n_gmeipc[] = {"gmeipc", nullptr};
const char* const n_gmeipsw[] = {"gmeipsw", nullptr};
const char* const n_gmfepc[] = {"gmfepc", nullptr};
const char* const n_gmfepsw[] = {"gmfepsw", nullptr};
const char* const n_gmpsw[] = {"gmpsw", nullptr};
const char* const n_gmmea[] = {"gmmea", nullptr};
const char* const n_gmmei[] = {"gmmei", nullptr};
const char* const n_gmeiic[] = {"gmeiic", nullptr};
const char* const n_gmfeic[] = {"gmfeic", nullptr};
const char* const n_gmspid[] = {"gmspid", nullptr};
const char* const n_gmspidlist[] = {"gmspidlist", nullptr};
const char* const n_gmebase[] = {"gmebase", nullptr};
const char* const n_gmintbp[] = {"gmintbp", nullptr};
const char* const n_gmintcfg[] = {"gmintcfg", nullptr};
const char* const n_gmplmr[] = {"gmplmr", nullptr};
const char* const n_gmsvlock[] = {"gmsvlock", nullptr};
const char* const n_gmmpm[] = {"gmmpm", nullptr};
const char* const n_gmeiwr[] = {"gmeiwr", nullptr};
const char* const n_gmfewr[] = {"gmfewr", nullptr};
const char* const n_gmpeid[] = {"gmpeid", nullptr};
const char* const n_fpu_fpsr[] = {"fpu_fpsr", nullptr};
const char* const n_fpu_fpepc[] = {"fpu_fpepc", nullptr};
const char* const n_fpu_fpst[] = {"fpu_fpst", nullptr};
const char* const n_fpu_fpcc[] = {"fpu_fpcc", nullptr};
const char* const n_fpu_fpcfg[] = {"fpu_fpcfg", nullptr};
const char* const n_fpu_fpec[] = {"fpu_fpec", nullptr};
const char* const n_fpu_fxsr[] = {"fpu_fxsr", nullptr};
const char* const n_fpu_fxst[] = {"fpu_fxst", nullptr};
const char* const n_fpu_fxinfo[] = {"fpu_fxinfo", nullptr};
const char* const n_fpu_fxcfg[] = {"fpu_fxcfg", nullptr};
const char* const n_fpu_fxxc[] = {"fpu_fxxc", nullptr};
const char* const n_fpu_fxxp[] = {"fpu_fxxp", nullptr};
const char* const n_mpu0_mpm[] = {"mpu0_mpm", nullptr};
const char* const n_mpu0_mprc[] = {"mpu0_mprc", nullptr};
const char* const n_mpu0_mpbrgn[] = {"mpu0_mpbrgn", nullptr};
const char* const n_mpu0_mptrgn[] = {"mpu0_mptrgn", nullptr};
const char* const n_mpu0_mca[] = {"mpu0_mca", nullptr};
const char* const n_mpu0_mcs[] = {"mpu0_mcs", nullptr};
const char* const n_mpu0_mcc[] = {"mpu0_mcc", nullptr};
const char* const n_mpu0_mcr[] = {"mpu0_mcr", nullptr};
const char* const n_mpu0_mpla0[] = {"mpu0_mpla0", nullptr};
const char* const n_mpu0_mpua0[] = {"mpu0_mpua0", nullptr};
const char* const n_mpu0_mpat0[] = {"mpu0_mpat0", nullptr};
const char* const n_mpu0_mpla1[] = {"mpu0_mpla1", nullptr};
const char* const n_mpu0_mpua1[] = {"mpu0_mpua1", nullptr};
const char* const n_mpu0_mpat1[] = {"mpu0_mpat1", nullptr};
const char* const n_mpu0_mpla2[] = {"mpu0_mpla2", nullptr};
const char* const n_mpu0_mpua2[] = {"mpu0_mpua2", nullptr};
const char* const n_mpu0_mpat2[] = {"mpu0_mpat2", nullptr};
const char* const n_mpu0_mpla3[] = {"mpu0_mpla3", nullptr};
const char* const n_mpu0_mpua3[] = {"mpu0_mpua3", nullptr};
const char* const n_mpu0_mpat3[] = {"mpu0_mpat3", nullptr};
const char* const n_mpu0_mpla4[] = {"mpu0_mpla4", nullptr};
const char* const n_mpu0_mpua4[] = {"mpu0_mpua4", nullptr};
const char* const n_mpu0_mpat4[] = {"mpu0_mpat4", nullptr};
const char* const n_mpu0_mpla5[] = {"mpu0_mpla5", nullptr};
const char* const n_mpu0_mpua5[] = {"mpu0_mpua5", nullptr};
const char* const n_mpu0_mpat5[] = {"mpu0_mpat5", nullptr};
const char* const n_mpu0_mpla6[] = {"mpu0_mpla6", nullptr};
const char* const n_mpu0_mpua6[] = {"mpu0_mpua6", nullptr};
const char* const n_mpu0_mpat6[] = {"mpu0_mpat6", nullptr};
const char* const n_mpu0_mpla7[] = {"mpu0_mpla7", nullptr};
const char* const n_mpu0_mpua7[] = {"mpu0_mpua7", nullptr};
const char* const n_mpu0_mpat7[] = {"mpu0_mpat7", nullptr};
const char* const n_mpu0_mpla8[] = {"mpu0_mpla8", nullptr};
const char* const n_mpu0_mpua8[] = {"mpu0_mpua8", nullptr};
const char* const n_mpu0_mpat8[] = {"mpu0_mpat8", nullptr};
const char* const n_mpu0_mpla9[] = {"mpu0_mpla9", nullptr};
const char* const n_mpu0_mpua9[] = {"mpu0_mpua9", nullptr};
const char* const n_mpu0_mpat9[] = {"mpu0_mpat9", nullptr};
const char* const n_mpu0_mpla10[] = {"mpu0_mpla10", nullptr};
const char* const n_mpu0_mpua10[] = {"mpu0_mpua10", nullptr};
const char* const n_mpu0_mpat10[] = {"mpu0_mpat10", nullptr};
const char* const n_mpu0_mpla11[] = {"mpu0_mpla11", nullptr};
const char* const n_mpu0_mpua11[] = {"mpu0_mpua11", nullptr};
const char* const n_mpu0_mpat11[] = {"mpu0_mpat11", nullptr};
const char* const n_mpu0_mpla12[] = {"mpu0_mpla12", nullptr};
const char* const n_mpu0_mpua12[] = {"mpu0_mpua12", nullptr};
const char* const n_mpu0_mpat12[] = {"mpu0_mpat12", nullptr};
const char* const n_mpu0_mpla13[] = {"mpu0_mpla13", nullptr};
const char* const n_mpu0_mpua13[] = {"mpu0_mpua13", nullptr};
const char* const n_mpu0_mpat13[] = {"mpu0_mpat13", nullptr};
const char* const n_mpu0_mpla14[] = {"mpu0_mpla14", nullptr};
const char* const n_mpu0_mpua14[] = {"mpu0_mpua14", nullptr};
const char* const n_mpu0_mpat14[] = {"mpu0_mpat14", nullptr};
const char* const n_mpu0_mpla15[] = {"mpu0_mpla15", nullptr};
const char* const n_mpu0_mpua15[] = {"mpu0_mpua15", nullptr};
const char* const n_mpu0_mpat15[] = {"mpu0_mpat15", nullptr};
const char* const n_mpu1_mpm[] = {"mpu1_mpm", nullptr};
const char* const n_mpu1_mpcfg[] = {"mpu1_mpcfg", nullptr};
const char* const n_mpu1_mpidx[] = {"mpu1_mpidx", nullptr};
const char* const n_mpu1_mpbk[] = {"mpu1_mpbk", nullptr};
const char* const n_mpu1_mca[] = {"mpu1_mca", nullptr};
const char* const n_mpu1_mcs[] = {"mpu1_mcs", nullptr};
const char* const n_mpu1_mcc[] = {"mpu1_mcc", nullptr};
const char* const n_mpu1_mcr[] = {"mpu1_mcr", nullptr};
const char* const n_mpu1_mci[] = {"mpu1_mci", nullptr};
const char* const n_mpu1_mpid0[] = {"mpu1_mpid0", nullptr};
const char* const n_mpu1_mpid1[] = {"mpu1_mpid1", nullptr};
const char* const n_mpu1_mpid2[] = {"mpu1_mpid2", nullptr};
const char* const n_mpu1_mpid3[] = {"mpu1_mpid3", nullptr};
const char* const n_mpu1_mpid4[] = {"mpu1_mpid4", nullptr};
const char* const n_mpu1_mpid5[] = {"mpu1_mpid5", nullptr};
const char* const n_mpu1_mpid6[] = {"mpu1_mpid6", nullptr};
const char* const n_mpu1_mpid7[] = {"mpu1_mpid7", nullptr};
const char* const n_mpu1_mpla0[] = {"mpu1_mpla0", nullptr};
const char* const n_mpu1_mpua0[] = {"mpu1_mpua0", nullptr};
const char* const n_mpu1_mpat0[] = {"mpu1_mpat0", nullptr};
const char* const n_mpu1_mpla1[] = {"mpu1_mpla1", nullptr};
const char* const n_mpu1_mpua1[] = {"mpu1_mpua1", nullptr};
const char* const n_mpu1_mpat1[] = {"mpu1_mpat1", nullptr};
const char* const n_mpu1_mpla2[] = {"mpu1_mpla2", nullptr};
const char* const n_mpu1_mpua2[] = {"mpu1_mpua2", nullptr};
const char* const n_mpu1_mpat2[] = {"mpu1_mpat2", nullptr};
const char* const n_mpu1_mpla3[] = {"mpu1_mpla3", nullptr};
const char* const n_mpu1_mpua3[] = {"mpu1_mpua3", nullptr};
const char* const n_mpu1_mpat3[] = {"mpu1_mpat3", nullptr};
const char* const n_mpu1_mpla4[] = {"mpu1_mpla4", nullptr};
const char* const n_mpu1_mpua4[] = {"mpu1_mpua4", nullptr};
const char* const n_mpu1_mpat4[] = {"mpu1_mpat4", nullptr};
const char* const n_mpu1_mpla5[] = {"mpu1_mpla5", nullptr};
const char* const n_mpu1_mpua5[] = {"mpu1_mpua5", nullptr};
const char* const n_mpu1_mpat5[] = {"mpu1_mpat5", nullptr};
const char* const n_mpu1_mpla6[] = {"mpu1_mpla6", nullptr};
const char* const n_mpu1_mpua6[] = {"mpu1_mpua6", nullptr};
const char* const n_mpu1_mpat6[] = {"mpu1_mpat6", nullptr};
const char* const n_mpu1_mpla7[] = {"mpu1_mpla7", nullptr};
const char* const n_mpu1_mpua7[] = {"mpu1_mpua7", nullptr};
const char* const n_mpu1_mpat7[] = {"mpu1_mpat7", nullptr};
const char* const n_mpu1_mpla8[] = {"mpu1_mpla8", nullptr};
const char* const n_mpu1_mpua8[] = {"mpu1_mpua8", nullptr};
const char* const n_mpu1_mpat8[] = {"mpu1_mpat8", nullptr};
const char* const n_mpu1_mpla9[] = {"mpu1_mpla9", nullptr};
const char* const n_mpu1_mpua9[] = {"mpu1_mpua9", nullptr};
const char* const n_mpu1_mpat9[] = {"mpu1_mpat9", nullptr};
const char* const n_mpu1_mpla10[] = {"mpu1_mpla10", nullptr};
const char* const n_mpu1_mpua10[] = {"mpu1_mpua10", nullptr};
const char* const n_mpu1_mpat10[] = {"mpu1_mpat10", nullptr};
const char* const n_mpu1_mpla11[] = {"mpu1_mpla11", nullptr};
const char* const n_mpu1_mpua11[] = {"mpu1_mpua11", nullptr};
const char* const n_mpu1_mpat11[] = {"mpu1_mpat11", nullptr};
const char* const n_mpu1_mpla12[] = {"mpu1_mpla12", nullptr};
const char* const n_mpu1_mpua12[] = {"mpu1_mpua12", nullptr};
const char* const n_mpu1_mpat12[] = {"mpu1_mpat12", nullptr};
const char* const n_mpu1_mpla13[] = {"mpu1_mpla13", nullptr};
const char* const n_mpu1_mpua13[] = {"mpu1_mpua13", nullptr};
const char* const n_mpu1_mpat13[] = {"mpu1_mpat13", nullptr};
const char* const n_mpu1_mpla14[] = {"mpu1_mpla14", nullptr};
const char* const n_mpu1_mpua14[] = {"mpu1_mpua14", nullptr};
const char* const n_mpu1_mpat14[] = {"mpu1_mpat14", nullptr};
const char* const n_mpu1_mpla15[] = {"mpu1_mpla15", nullptr};
const char* const n_mpu1_mpua15[] = {"mpu1_mpua15", nullptr};
const char* const n_mpu1_mpat15[] = {"mpu1_mpat15", nullptr};
const char* const n_mpu1_mpla16[] = {"mpu1_mpla16", nullptr};
const char* const n_mpu1_mpua16[] = {"mpu1_mpua16", nullptr};
const char* const n_mpu1_mpat16[] = {"mpu1_mpat16", nullptr};
const char* const n_mpu1_mpla17[] = {"mpu1_mpla17", nullptr};
const char* const n_mpu1_mpua17[] = {"mpu1_mpua17", nullptr};
const char* const n_mpu1_mpat17[] = {"mpu1_mpat17", nullptr};
const char* const n_mpu1_mpla18[] = {"mpu1_mpla18", nullptr};
const char* const n_mpu1_mpua18[] = {"mpu1_mpua18", nullptr};
const char* const n_mpu1_mpat18[] = {"mpu1_mpat18", nullptr};
const char* const n_mpu1_mpla19[] = {"mpu1_mpla19", nullptr};
const char* const n_mpu1_mpua19[] = {"mpu1_mpua19", nullptr};
const char* const n_mpu1_mpat19[] = {"mpu1_mpat19", nullptr};
const char* const n_mpu1_mpla20[] = {"mpu1_mpla20", nullptr};
const char* const n_mpu1_mpua20[] = {"mpu1_mpua20", nullptr};
const char* const n_mpu1_mpat20[] = {"mpu1_mpat20", nullptr};
const char* const n_mpu1_mpla21[] = {"mpu1_mpla21", nullptr};
const char* const n_mpu1_mpua21[] = {"mpu1_mpua21", nullptr};
const char* const n_mpu1_mpat21[] = {"mpu1_mpat21", nullptr};
const char* const n_mpu1_mpla22[] = {"mpu1_mpla22", nullptr};
const char* const n_mpu1_mpua22[] = {"mpu1_mpua22", nullptr};
const char* const n_mpu1_mpat22[] = {"mpu1_mpat22", nullptr};
const char* const n_mpu1_mpla23[] = {"mpu1_mpla23", nullptr};
const char* const n_mpu1_mpua23[] = {"mpu1_mpua23", nullptr};
const char* const n_mpu1_mpat23[] = {"mpu1_mpat23", nullptr};
const char* const n_mpu1_mpla24[] = {"mpu1_mpla24", nullptr};
const char* const n_mpu1_mpua24[] = {"mpu1_mpua24", nullptr};
const char* const n_mpu1_mpat24[] = {"mpu1_mpat24", nullptr};
const char* const n_mpu1_mpla25[] = {"mpu1_mpla25", nullptr};
const char* const n_mpu1_mpua25[] = {"mpu1_mpua25", nullptr};
const char* const n_mpu1_mpat25[] = {"mpu1_mpat25", nullptr};
const char* const n_mpu1_mpla26[] = {"mpu1_mpla26", nullptr};
const char* const n_mpu1_mpua26[] = {"mpu1_mpua26", nullptr};
const char* const n_mpu1_mpat26[] = {"mpu1_mpat26", nullptr};
const char* const n_mpu1_mpla27[] = {"mpu1_mpla27", nullptr};
const char* const n_mpu1_mpua27[] = {"mpu1_mpua27", nullptr};
const char* const n_mpu1_mpat27[] = {"mpu1_mpat27", nullptr};
const char* const n_mpu1_mpla28[] = {"mpu1_mpla28", nullptr};
const char* const n_mpu1_mpua28[] = {"mpu1_mpua28", nullptr};
const char* const n_mpu1_mpat28[] = {"mpu1_mpat28", nullptr};
const char* const n_mpu1_mpla29[] = {"mpu1_mpla29", nullptr};
const char* const n_mpu1_mpua29[] = {"mpu1_mpua29", nullptr};
const char* const n_mpu1_mpat29[] = {"mpu1_mpat29", nullptr};
const char* const n_mpu1_mpla30[] = {"mpu1_mpla30", nullptr};
const char* const n_mpu1_mpua30[] = {"mpu1_mpua30", nullptr};
const char* const n_mpu1_mpat30[] = {"mpu1_mpat30", nullptr};
const char* const n_mpu1_mpla31[] = {"mpu1_mpla31", nullptr};
const char* const n_mpu1_mpua31[] = {"mpu1_mpua31", nullptr};
const char* const n_mpu1_mpat31[] = {"mpu1_mpat31", nullptr};
const char* const n_pmu_pmctrl0[] = {"pmu_pmctrl0", nullptr};
const char* const n_pmu_pmctrl1[] = {"pmu_pmctrl1", nullptr};
const char* const n_pmu_pmctrl2[] = {"pmu_pmctrl2", nullptr};
const char* const n_pmu_pmctrl3[] = {"pmu_pmctrl3", nullptr};
const char* const n_pmu_pmctrl4[] = {"pmu_pmctrl4", nullptr};
const char* const n_pmu_pmctrl5[] = {"pmu_pmctrl5", nullptr};
const char* const n_pmu_pmctrl6[] = {"pmu_pmctrl6", nullptr};
const char* const n_pmu_pmctrl7[] = {"pmu_pmctrl7", nullptr};
const char* const n_pmu_pmcount0[] = {"pmu_pmcount0", nullptr};
const char* const n_pmu_pmcount1[] = {"pmu_pmcount1", nullptr};
const char* const n_pmu_pmcount2[] = {"pmu_pmcount2", nullptr};
const char* const n_pmu_pmcount3[] = {"pmu_pmcount3", nullptr};
const char* const n_pmu_pmcount4[] = {"pmu_pmcount4", nullptr};
const char* const n_pmu_pmcount5[] = {"pmu_pmcount5", nullptr};
const char* const n_pmu_pmcount6[] = {"pmu_pmcount6", nullptr};
const char* const n_pmu_pmcount7[] = {"pmu_pmcount7", nullptr};
const char* const n_pmu_pmsubcnd0[] = {"pmu_pmsubcnd0", nullptr};
const char* const n_pmu_pmsubcnd1[] = {"pmu_pmsubcnd1", nullptr};
const char* const n_pmu_pmsubcnd2[] = {"pmu_pmsubcnd2", nullptr};
const char* const n_pmu_pmsubcnd3[] = {"pmu_pmsubcnd3", nullptr};
const char* const n_pmu_pmsubcnd4[] = {"pmu_pmsubcnd4", nullptr};
const char* const n_pmu_pmsubcnd5[] = {"pmu_pmsubcnd5", nullptr};
const char* const n_pmu_pmsubcnd6[] = {"pmu_pmsubcnd6", nullptr};
const char* const n_pmu_pmsubcnd7[] = {"pmu_pmsubcnd7", nullptr};
const char* const n_pmu_pmgmctrl[] = {"pmu_pmgmctrl", nullptr};
const char* const n_dbg_dir0[] = {"dbg_dir0", nullptr};
const char* const n_dbg_dir1[] = {"dbg_dir1", nullptr};
const char* const n_dbg_dbcfg[] = {"dbg_dbcfg", nullptr};
const char* const n_dbg_dbwr[] = {"dbg_dbwr", nullptr};
const char* const n_dbg_bpc0[] = {"dbg_bpc0", nullptr};
const char* const n_dbg_bpav0[] = {"dbg_bpav0", nullptr};
const char* const n_dbg_bpam0[] = {"dbg_bpam0", nullptr};
const char* const n_dbg_bpdv0[] = {"dbg_bpdv0", nullptr};
const char* const n_dbg_bpdm0[] = {"dbg_bpdm0", nullptr};
const char* const n_dbg_bpc1[] = {"dbg_bpc1", nullptr};
const char* const n_dbg_bpav1[] = {"dbg_bpav1", nullptr};
const char* const n_dbg_bpam1[] = {"dbg_bpam1", nullptr};
const char* const n_dbg_bpdv1[] = {"dbg_bpdv1", nullptr};
const char* const n_dbg_bpdm1[] = {"dbg_bpdm1", nullptr};
const char* const n_dbg_bpc2[] = {"dbg_bpc2", nullptr};
const char* const n_dbg_bpav2[] = {"dbg_bpav2", nullptr};
const char* const n_dbg_bpam2[] = {"dbg_bpam2", nullptr};
const char* const n_dbg_bpdv2[] = {"dbg_bpdv2", nullptr};
const char* const n_dbg_bpdm2[] = {"dbg_bpdm2", nullptr};
const char* const n_dbg_bpc3[] = {"dbg_bpc3", nullptr};
const char* const n_dbg_bpav3[] = {"dbg_bpav3", nullptr};
const char* const n_dbg_bpam3[] = {"dbg_bpam3", nullptr};
const char* const n_dbg_bpdv3[] = {"dbg_bpdv3", nullptr};
const char* const n_dbg_bpdm3[] = {"dbg_bpdm3", nullptr};
const char* const n_dbg_bpc4[] = {"dbg_bpc4", nullptr};
const char* const n_dbg_bpav4[] = {"dbg_bpav4", nullptr};
const char* const n_dbg_bpam4[] = {"dbg_bpam4", nullptr};
const char* const n_dbg_bpdv4[] = {"dbg_bpdv4", nullptr};
const char* const n_dbg_bpdm4[] = {"dbg_bpdm4", nullptr};
const char* const n_dbg_bpc5[] = {"dbg_bpc5", nullptr};
const char* const n_dbg_bpav5[] = {"dbg_bpav5", nullptr};
const char* const n_dbg_bpam5[] = {"dbg_bpam5", nullptr};
const char* const n_dbg_bpdv5[] = {"dbg_bpdv5", nullptr};
const char* const n_dbg_bpdm5[] = {"dbg_bpdm5", nullptr};
const char* const n_dbg_bpc6[] = {"dbg_bpc6", nullptr};
const char* const n_dbg_bpav6[] = {"dbg_bpav6", nullptr};
const char* const n_dbg_bpam6[] = {"dbg_bpam6", nullptr};
const char* const n_dbg_bpdv6[] = {"dbg_bpdv6", nullptr};
const char* const n_dbg_bpdm6[] = {"dbg_bpdm6", nullptr};
const char* const n_dbg_bpc7[] = {"dbg_bpc7", nullptr};
const char* const n_dbg_bpav7[] = {"dbg_bpav7", nullptr};
const char* const n_dbg_bpam7[] = {"dbg_bpam7", nullptr};
const char* const n_dbg_bpdv7[] = {"dbg_bpdv7", nullptr};
const char* const n_dbg_bpdm7[] = {"dbg_bpdm7", nullptr};
const char* const n_dbg_bpc8[] = {"dbg_bpc8", nullptr};
const char* const n_dbg_bpav8[] = {"dbg_bpav8", nullptr};
const char* const n_dbg_bpam8[] = {"dbg_bpam8", nullptr};
const char* const n_dbg_bpdv8[] = {"dbg_bpdv8", nullptr};
const char* const n_dbg_bpdm8[] = {"dbg_bpdm8", nullptr};
const char* const n_dbg_bpc9[] = {"dbg_bpc9", nullptr};
const char* const n_dbg_bpav9[] = {"dbg_bpav9", nullptr};
const char* const n_dbg_bpam9[] = {"dbg_bpam9", nullptr};
const char* const n_dbg_bpdv9[] = {"dbg_bpdv9", nullptr};
const char* const n_dbg_bpdm9[] = {"dbg_bpdm9", nullptr};
const char* const n_dbg_bpc10[] = {"dbg_bpc10", nullptr};
const char* const n_dbg_bpav10[] = {"dbg_bpav10", nullptr};
const char* const n_dbg_bpam10[] = {"dbg_bpam10", nullptr};
const char* const n_dbg_bpdv10[] = {"dbg_bpdv10", nullptr};
const char* const n_dbg_bpdm10[] = {"dbg_bpdm10", nullptr};
const char* const n_dbg_bpc11[] = {"dbg_bpc11", nullptr};
const char* const n_dbg_bpav11[] = {"dbg_bpav11", nullptr};
const char* const n_dbg_bpam11[] = {"dbg_bpam11", nullptr};
const char* const n_dbg_bpdv11[] = {"dbg_bpdv11", nullptr};
const char* const n_dbg_bpdm11[] = {"dbg_bpdm11", nullptr};
const char* const n_intc_fnc[] = {"intc_fnc", nullptr};
const char* const n_intc_fic[] = {"intc_fic", nullptr};
const char* const n_intc_fnbd[] = {"intc_fnbd", nullptr};
const char* const n_intc_fibd[] = {"intc_fibd", nullptr};
const char* const n_intc_imr0[] = {"intc_imr0", nullptr};
const char* const n_intc_imr1[] = {"intc_imr1", nullptr};
const char* const n_intc_imr2[] = {"intc_imr2", nullptr};
const char* const n_intc_eic0[] = {"intc_eic0", nullptr};
const char* const n_intc_eic1[] = {"intc_eic1", nullptr};
const char* const n_intc_eic2[] = {"intc_eic2", nullptr};
const char* const n_intc_eic3[] = {"intc_eic3", nullptr};
const char* const n_intc_eic4[] = {"intc_eic4", nullptr};
const char* const n_intc_eic5[] = {"intc_eic5", nullptr};
const char* const n_intc_eic6[] = {"intc_eic6", nullptr};
const char* const n_intc_eic7[] = {"intc_eic7", nullptr};
const char* const n_intc_eic8[] = {"intc_eic8", nullptr};
const char* const n_intc_eic9[] = {"intc_eic9", nullptr};
const char* const n_intc_eic10[] = {"intc_eic10", nullptr};
const char* const n_intc_eic11[] = {"intc_eic11", nullptr};
const char* const n_intc_eic12[] = {"intc_eic12", nullptr};
const char* const n_intc_eic13[] = {"intc_eic13", nullptr};
const char* const n_intc_eic14[] = {"intc_eic14", nullptr};
const char* const n_intc_eic15[] = {"intc_eic15", nullptr};
const char* const n_intc_eic16[] = {"intc_eic16", nullptr};
const char* const n_intc_eic17[] = {"intc_eic17", nullptr};
const char* const n_intc_eic18[] = {"intc_eic18", nullptr};
const char* const n_intc_eic19[] = {"intc_eic19", nullptr};
const char* const n_intc_eic20[] = {"intc_eic20", nullptr};
const char* const n_intc_eic21[] = {"intc_eic21", nullptr};
const char* const n_intc_eic22[] = {"intc_eic22", nullptr};
const char* const n_intc_eic23[] = {"intc_eic23", nullptr};
const char* const n_intc_eic24[] = {"intc_eic24", nullptr};
const char* const n_intc_eic25[] = {"intc_eic25", nullptr};
const char* const n_intc_eic26[] = {"intc_eic26", nullptr};
const char* const n_intc_eic27[] = {"intc_eic27", nullptr};
const char* const n_intc_eic28[] = {"intc_eic28", nullptr};
const char* const n_intc_eic29[] = {"intc_eic29", nullptr};
const char* const n_intc_eic30[] = {"intc_eic30", nullptr};
const char* const n_intc_eic31[] = {"intc_eic31", nullptr};
const char* const n_intc_eic32[] = {"intc_eic32", nullptr};
const char* const n_intc_eic33[] = {"intc_eic33", nullptr};
const char* const n_intc_eic34[] = {"intc_eic34", nullptr};
const char* const n_intc_eic35[] = {"intc_eic35", nullptr};
const char* const n_intc_eic36[] = {"intc_eic36", nullptr};
const char* const n_intc_eic37[] = {"intc_eic37", nullptr};
const char* const n_intc_eic38[] = {"intc_eic38", nullptr};
const char* const n_intc_eic39[] = {"intc_eic39", nullptr};
const char* const n_intc_eic40[] = {"intc_eic40", nullptr};
const char* const n_intc_eic41[] = {"intc_eic41", nullptr};
const char* const n_intc_eic42[] = {"intc_eic42", nullptr};
const char* const n_intc_eic43[] = {"intc_eic43", nullptr};
const char* const n_intc_eic44[] = {"intc_eic44", nullptr};
const char* const n_intc_eic45[] = {"intc_eic45", nullptr};
const char* const n_intc_eic46[] = {"intc_eic46", nullptr};
const char* const n_intc_eic47[] = {"intc_eic47", nullptr};
const char* const n_intc_eic48[] = {"intc_eic48", nullptr};
const char* const n_intc_eic49[] = {"intc_eic49", nullptr};
const char* const n_intc_eic50[] = {"intc_eic50", nullptr};
const char* const n_intc_eic51[] = {"intc_eic51", nullptr};
const char* const n_intc_eic52[] = {"intc_eic52", nullptr};
const char* const n_intc_eic53[] = {"intc_eic53", nullptr};
const char* const n_intc_eic54[] = {"intc_eic54", nullptr};
const char* const n_intc_eic55[] = {"intc_eic55", nullptr};
const char* const n_intc_eic56[] = {"intc_eic56", nullptr};
const char* const n_intc_eic57[] = {"intc_eic57", nullptr};
const char* const n_intc_eic58[] = {"intc_eic58", nullptr};
const char* const n_intc_eic59[] = {"intc_eic59", nullptr};
const char* const n_intc_eic60[] = {"intc_eic60", nullptr};
const char* const n_intc_eic61[] = {"intc_eic61", nullptr};
const char* const n_intc_eic62[] = {"intc_eic62", nullptr};
const char* const n_intc_eic63[] = {"intc_eic63", nullptr};
const char* const n_intc_eic64[] = {"intc_eic64", nullptr};
const char* const n_intc_eic65[] = {"intc_eic65", nullptr};
const char* const n_intc_eic66[] = {"intc_eic66", nullptr};
const char* const n_intc_eic67[] = {"intc_eic67", nullptr};
const char* const n_intc_eic68[] = {"intc_eic68", nullptr};
const char* const n_intc_eic69[] = {"intc_eic69", nullptr};
const char* const n_intc_eic70[] = {"intc_eic70", nullptr};
const char* const n_intc_eic71[] = {"intc_eic71", nullptr};
const char* const n_intc_eic72[] = {"intc_eic72", nullptr};
const char* const n_intc_eic73[] = {"intc_eic73", nullptr};
const char* const n_intc_eic74[] = {"intc_eic74", nullptr};
const char* const n_intc_eic75[] = {"intc_eic75", nullptr};
const char* const n_intc_eic76[] = {"intc_eic76", nullptr};
const char* const n_intc_eic77[] = {"intc_eic77", nullptr};
const char* const n_intc_eic78[] = {"intc_eic78", nullptr};
const char* const n_intc_eic79[] = {"intc_eic79", nullptr};
const char* const n_intc_eic80[] = {"intc_eic80", nullptr};
const char* const n_intc_eic81[] = {"intc_eic81", nullptr};
const char* const n_intc_eic82[] = {"intc_eic82", nullptr};
const char* const n_intc_eic83[] = {"intc_eic83", nullptr};
const char* const n_intc_eic84[] = {"intc_eic84", nullptr};
const char* const n_intc_eic85[] = {"intc_eic85", nullptr};
const char* const n_intc_eic86[] = {"intc_eic86", nullptr};
const char* const n_intc_eic87[] = {"intc_eic87", nullptr};
const char* const n_intc_eic88[] = {"intc_eic88", nullptr};
const char* const n_intc_eic89[] = {"intc_eic89", nullptr};
const char* const n_intc_eic90[] = {"intc_eic90", nullptr};
const char* const n_intc_eic91[] = {"intc_eic91", nullptr};
const char* const n_intc_eic92[] = {"intc_eic92", nullptr};
const char* const n_intc_eic93[] = {"intc_eic93", nullptr};
const char* const n_intc_eic94[] = {"intc_eic94", nullptr};
const char* const n_intc_eic95[] = {"intc_eic95", nullptr};
const char* const n_intc_eibd0[] = {"intc_eibd0", nullptr};
const char* const n_intc_eibd1[] = {"intc_eibd1", nullptr};
const char* const n_intc_eibd2[] = {"intc_eibd2", nullptr};
const char* const n_intc_eibd3[] = {"intc_eibd3", nullptr};
const char* const n_intc_eibd4[] = {"intc_eibd4", nullptr};
const char* const n_intc_eibd5[] = {"intc_eibd5", nullptr};
const char* const n_intc_eibd6[] = {"intc_eibd6", nullptr};
const char* const n_intc_eibd7[] = {"intc_eibd7", nullptr};
const char* const n_intc_eibd8[] = {"intc_eibd8", nullptr};
const char* const n_intc_eibd9[] = {"intc_eibd9", nullptr};
const char* const n_intc_eibd10[] = {"intc_eibd10", nullptr};
const char* const n_intc_eibd11[] = {"intc_eibd11", nullptr};
const char* const n_intc_eibd12[] = {"intc_eibd12", nullptr};
const char* const n_intc_eibd13[] = {"intc_eibd13", nullptr};
const char* const n_intc_eibd14[] = {"intc_eibd14", nullptr};
const char* const n_intc_eibd15[] = {"intc_eibd15", nullptr};
const char* const n_intc_eibd16[] = {"intc_eibd16", nullptr};
const char* const n_intc_eibd17[] = {"intc_eibd17", nullptr};
const char* const n_intc_eibd18[] = {"intc_eibd18", nullptr};
const char* const n_intc_eibd19[] = {"intc_eibd19", nullptr};
const char* const n_intc_eibd20[] = {"intc_eibd20", nullptr};
const char* const n_intc_eibd21[] = {"intc_eibd21", nullptr};
const char* const n_intc_eibd22[] = {"intc_eibd22", nullptr};
const char* const n_intc_eibd23[] = {"intc_eibd23", nullptr};
const char* const n_intc_eibd24[] = {"intc_eibd24", nullptr};
const char* const n_intc_eibd25[] = {"intc_eibd25", nullptr};
const char* const n_intc_eibd26[] = {"intc_eibd26", nullptr};
const char* const n_intc_eibd27[] = {"intc_eibd27", nullptr};
const char* const n_intc_eibd28[] = {"intc_eibd28", nullptr};
const char* const n_intc_eibd29[] = {"intc_eibd29", nullptr};
const char* const n_intc_eibd30[] = {"intc_eibd30", nullptr};
const char* const n_intc_eibd31[] = {"intc_eibd31", nullptr};
const char* const n_intc_eibd32[] = {"intc_eibd32", nullptr};
const char* const n_intc_eibd33[] = {"intc_eibd33", nullptr};
const char* const n_intc_eibd34[] = {"intc_eibd34", nullptr};
const char* const n_intc_eibd35[] = {"intc_eibd35", nullptr};
const char* const n_intc_eibd36[] = {"intc_eibd36", nullptr};
const char* const n_intc_eibd37[] = {"intc_eibd37", nullptr};
const char* const n_intc_eibd38[] = {"intc_eibd38", nullptr};
const char* const n_intc_eibd39[] = {"intc_eibd39", nullptr};
const char* const n_intc_eibd40[] = {"intc_eibd40", nullptr};
const char* const n_intc_eibd41[] = {"intc_eibd41", nullptr};
const char* const n_intc_eibd42[] = {"intc_eibd42", nullptr};
const char* const n_intc_eibd43[] = {"intc_eibd43", nullptr};
const char* const n_intc_eibd44[] = {"intc_eibd44", nullptr};
const char* const n_intc_eibd45[] = {"intc_eibd45", nullptr};
const char* const n_intc_eibd46[] = {"intc_eibd46", nullptr};
const char* const n_intc_eibd47[] = {"intc_eibd47", nullptr};
const char* const n_intc_eibd48[] = {"intc_eibd48", nullptr};
const char* const n_intc_eibd49[] = {"intc_eibd49", nullptr};
const char* const n_intc_eibd50[] = {"intc_eibd50", nullptr};
const char* const n_intc_eibd51[] = {"intc_eibd51", nullptr};
const char* const n_intc_eibd52[] = {"intc_eibd52", nullptr};
const char* const n_intc_eibd53[] = {"intc_eibd53", nullptr};
const char* const n_intc_eibd54[] = {"intc_eibd54", nullptr};
const char* const n_intc_eibd55[] = {"intc_eibd55", nullptr};
const char* const n_intc_eibd56[] = {"intc_eibd56", nullptr};
const char* const n_intc_eibd57[] = {"intc_eibd57", nullptr};
const char* const n_intc_eibd58[] = {"intc_eibd58", nullptr};
const char* const n_intc_eibd59[] = {"intc_eibd59", nullptr};
const char* const n_intc_eibd60[] = {"intc_eibd60", nullptr};
const char* const n_intc_eibd61[] = {"intc_eibd61", nullptr};
const char* const n_intc_eibd62[] = {"intc_eibd62", nullptr};
const char* const n_intc_eibd63[] = {"intc_eibd63", nullptr};
const char* const n_intc_eibd64[] = {"intc_eibd64", nullptr};
const char* const n_intc_eibd65[] = {"intc_eibd65", nullptr};
const char* const n_intc_eibd66[] = {"intc_eibd66", nullptr};
const char* const n_intc_eibd67[] = {"intc_eibd67", nullptr};
const char* const n_intc_eibd68[] = {"intc_eibd68", nullptr};
const char* const n_intc_eibd69[] = {"intc_eibd69", nullptr};
const char* const n_intc_eibd70[] = {"intc_eibd70", nullptr};
const char* const n_intc_eibd71[] = {"intc_eibd71", nullptr};
const char* const n_intc_eibd72[] = {"intc_eibd72", nullptr};
const char* const n_intc_eibd73[] = {"intc_eibd73", nullptr};
const char* const n_intc_eibd74[] = {"intc_eibd74", nullptr};
const char* const n_intc_eibd75[] = {"intc_eibd75", nullptr};
const char* const n_intc_eibd76[] = {"intc_eibd76", nullptr};
const char* const n_intc_eibd77[] = {"intc_eibd77", nullptr};
const char* const n_intc_eibd78[] = {"intc_eibd78", nullptr};
const char* const n_intc_eibd79[] = {"intc_eibd79", nullptr};
const char* const n_intc_eibd80[] = {"intc_eibd80", nullptr};
const char* const n_intc_eibd81[] = {"intc_eibd81", nullptr};
const char* const n_intc_eibd82[] = {"intc_eibd82", nullptr};
const char* const n_intc_eibd83[] = {"intc_eibd83", nullptr};
const char* const n_intc_eibd84[] = {"intc_eibd84", nullptr};
const char* const n_intc_eibd85[] = {"intc_eibd85", nullptr};
const char* const n_intc_eibd86[] = {"intc_eibd86", nullptr};
const char* const n_intc_eibd87[] = {"intc_eibd87", nullptr};
const char* const n_intc_eibd88[] = {"intc_eibd88", nullptr};
const char* const n_intc_eibd89[] = {"intc_eibd89", nullptr};
const char* const n_intc_eibd90[] = {"intc_eibd90", nullptr};
const char* const n_intc_eibd91[] = {"intc_eibd91", nullptr};
const char* const n_intc_eibd92[] = {"intc_eibd92", nullptr};
const char* const n_intc_eibd93[] = {"intc_eibd93", nullptr};
const char* const n_intc_eibd94[] = {"intc_eibd94", nullptr};
const char* const n_intc_eibd95[] = {"intc_eibd95", nullptr};
const char* const n_wr0[] = {"wr0", nullptr};
const char* const n_wr0_1[] = {"wr0_1", nullptr};
const char* const n_wr0_2[] = {"wr0_2", nullptr};
const char* const n_wr0_3[] = {"wr0_3", nullptr};
const char* const n_wr1[] = {"wr1", nullptr};
const char* const n_wr1_1[] = {"wr1_1", nullptr};
const char* const n_wr1_2[] = {"wr1_2", nullptr};
const char* const n_wr1_3[] = {"wr1_3", nullptr};
const char* const n_wr2[] = {"wr2", nullptr};
const char* const n_wr2_1[] = {"wr2_1", nullptr};
const char* const n_wr2_2[] = {"wr2_2", nullptr};
const char* const n_wr2_3[] = {"wr2_3", nullptr};
const char* const n_wr3[] = {"wr3", nullptr};
const char* const n_wr3_1[] = {"wr3_1", nullptr};
const char* const n_wr3_2[] = {"wr3_2", nullptr};
const char* const n_wr3_3[] = {"wr3_3", nullptr};
const char* const n_wr4[] = {"wr4", nullptr};
const char* const n_wr4_1[] = {"wr4_1", nullptr};
const char* const n_wr4_2[] = {"wr4_2", nullptr};
const char* const n_wr4_3[] = {"wr4_3", nullptr};
const char* const n_wr5[] = {"wr5", nullptr};
const char* const n_wr5_1[] = {"wr5_1", nullptr};
const char* const n_wr5_2[] = {"wr5_2", nullptr};
const char* const n_wr5_3[] = {"wr5_3", nullptr};
const char* const n_wr6[] = {"wr6", nullptr};
const char* const n_wr6_1[] = {"wr6_1", nullptr};
const char* const n_wr6_2[] = {"wr6_2", nullptr};
const char* const n_wr6_3[] = {"wr6_3", nullptr};
const char* const n_wr7[] = {"wr7", nullptr};
const char* const n_wr7_1[] = {"wr7_1", nullptr};
const char* const n_wr7_2[] = {"wr7_2", nullptr};
const char* const n_wr7_3[] = {"wr7_3", nullptr};
const char* const n_wr8[] = {"wr8", nullptr};
const char* const n_wr8_1[] = {"wr8_1", nullptr};
const char* const n_wr8_2[] = {"wr8_2", nullptr};
const char* const n_wr8_3[] = {"wr8_3", nullptr};
const char* const n_wr9[] = {"wr9", nullptr};
const char* const n_wr9_1[] = {"wr9_1", nullptr};
const char* const n_wr9_2[] = {"wr9_2", nullptr};
const char* const n_wr9_3[] = {"wr9_3", nullptr};
const char* const n_wr10[] = {"wr10", nullptr};
const char* const n_wr10_1[] = {"wr10_1", nullptr};
const char* const n_wr10_2[] = {"wr10_2", nullptr};
const char* const n_wr10_3[] = {"wr10_3", nullptr};
const char* const n_wr11[] = {"wr11", nullptr};
const char* const n_wr11_1[] = {"wr11_1", nullptr};
const char* const n_wr11_2[] = {"wr11_2", nullptr};
const char* const n_wr11_3[] = {"wr11_3", nullptr};
const char* const n_wr12[] = {"wr12", nullptr};
const char* const n_wr12_1[] = {"wr12_1", nullptr};
const char* const n_wr12_2[] = {"wr12_2", nullptr};
const char* const n_wr12_3[] = {"wr12_3", nullptr};
const char* const n_wr13[] = {"wr13", nullptr};
const char* const n_wr13_1[] = {"wr13_1", nullptr};
const char* const n_wr13_2[] = {"wr13_2", nullptr};
const char* const n_wr13_3[] = {"wr13_3", nullptr};
const char* const n_wr14[] = {"wr14", nullptr};
const char* const n_wr14_1[] = {"wr14_1", nullptr};
const char* const n_wr14_2[] = {"wr14_2", nullptr};
const char* const n_wr14_3[] = {"wr14_3", nullptr};
const char* const n_wr15[] = {"wr15", nullptr};
const char* const n_wr15_1[] = {"wr15_1", nullptr};
const char* const n_wr15_2[] = {"wr15_2", nullptr};
const char* const n_wr15_3[] = {"wr15_3", nullptr};
const char* const n_wr16[] = {"wr16", nullptr};
const char* const n_wr16_1[] = {"wr16_1", nullptr};
const char* const n_wr16_2[] = {"wr16_2", nullptr};
const char* const n_wr16_3[] = {"wr16_3", nullptr};
const char* const n_wr17[] = {"wr17", nullptr};
const char* const n_wr17_1[] = {"wr17_1", nullptr};
const char* const n_wr17_2[] = {"wr17_2", nullptr};
const char* const n_wr17_3[] = {"wr17_3", nullptr};
const char* const n_wr18[] = {"wr18", nullptr};
const char* const n_wr18_1[] = {"wr18_1", nullptr};
const char* const n_wr18_2[] = {"wr18_2", nullptr};
const char* const n_wr18_3[] = {"wr18_3", nullptr};
const char* const n_wr19[] = {"wr19", nullptr};
const char* const n_wr19_1[] = {"wr19_1", nullptr};
const char* const n_wr19_2[] = {"wr19_2", nullptr};
const char* const n_wr19_3[] = {"wr19_3", nullptr};
const char* const n_wr20[] = {"wr20", nullptr};
const char* const n_wr20_1[] = {"wr20_1", nullptr};
const char* const n_wr20_2[] = {"wr20_2", nullptr};
const char* const n_wr20_3[] = {"wr20_3", nullptr};
const char* const n_wr21[] = {"wr21", nullptr};
const char* const n_wr21_1[] = {"wr21_1", nullptr};
const char* const n_wr21_2[] = {"wr21_2", nullptr};
const char* const n_wr21_3[] = {"wr21_3", nullptr};
const char* const n_wr22[] = {"wr22", nullptr};
const char* const n_wr22_1[] = {"wr22_1", nullptr};
const char* const n_wr22_2[] = {"wr22_2", nullptr};
const char* const n_wr22_3[] = {"wr22_3", nullptr};
const char* const n_wr23[] = {"wr23", nullptr};
const char* const n_wr23_1[] = {"wr23_1", nullptr};
const char* const n_wr23_2[] = {"wr23_2", nullptr};
const char* const n_wr23_3[] = {"wr23_3", nullptr};
const char* const n_wr24[] = {"wr24", nullptr};
const char* const n_wr24_1[] = {"wr24_1", nullptr};
const char* const n_wr24_2[] = {"wr24_2", nullptr};
const char* const n_wr24_3[] = {"wr24_3", nullptr};
const char* const n_wr25[] = {"wr25", nullptr};
const char* const n_wr25_1[] = {"wr25_1", nullptr};
const char* const n_wr25_2[] = {"wr25_2", nullptr};
const char* const n_wr25_3[] = {"wr25_3", nullptr};
const char* const n_wr26[] = {"wr26", nullptr};
const char* const n_wr26_1[] = {"wr26_1", nullptr};
const char* const n_wr26_2[] = {"wr26_2", nullptr};
const char* const n_wr26_3[] = {"wr26_3", nullptr};
const char* const n_wr27[] = {"wr27", nullptr};
const char* const n_wr27_1[] = {"wr27_1", nullptr};
const char* const n_wr27_2[] = {"wr27_2", nullptr};
const char* const n_wr27_3[] = {"wr27_3", nullptr};
const char* const n_wr28[] = {"wr28", nullptr};
const char* const n_wr28_1[] = {"wr28_1", nullptr};
const char* const n_wr28_2[] = {"wr28_2", nullptr};
const char* const n_wr28_3[] = {"wr28_3", nullptr};
const char* const n_wr29[] = {"wr29", nullptr};
const char* const n_wr29_1[] = {"wr29_1", nullptr};
const char* const n_wr29_2[] = {"wr29_2", nullptr};
const char* const n_wr29_3[] = {"wr29_3", nullptr};
const char* const n_wr30[] = {"wr30", nullptr};
const char* const n_wr30_1[] = {"wr30_1", nullptr};
const char* const n_wr30_2[] = {"wr30_2", nullptr};
const char* const n_wr30_3[] = {"wr30_3", nullptr};
const char* const n_wr31[] = {"wr31", nullptr};
const char* const n_wr31_1[] = {"wr31_1", nullptr};
const char* const n_wr31_2[] = {"wr31_2", nullptr};
const char* const n_wr31_3[] = {"wr31_3", nullptr};

const RegisterIdEntry kEntries[] = {
    // 0..31: general registers
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
    {16, n_r16},
    {17, n_r17},
    {18, n_r18},
    {19, n_r19},
    {20, n_r20},
    {21, n_r21},
    {22, n_r22},
    {23, n_r23},
    {24, n_r24},
    {25, n_r25},
    {26, n_r26},
    {27, n_r27},
    {28, n_r28},
    {29, n_r29},
    {30, n_r30},
    {31, n_r31},
    // 32: program counter
    {32, n_pc},
    // 33..64: system register bank 0, id = 33 + register number
    {33, n_sr0},
    {34, n_eipsw},
    {35, n_fepc},
    {36, n_fepsw},
    {37, n_ecr},
    {38, n_psw},
    {kUnmappedRegisterId, nullptr}, // 39
    {kUnmappedRegisterId, nullptr}, // 40
    {kUnmappedRegisterId, nullptr}, // 41
    {kUnmappedRegisterId, nullptr}, // 42
    {kUnmappedRegisterId, nullptr}, // 43
    {kUnmappedRegisterId, nullptr}, // 44
    {kUnmappedRegisterId, nullptr}, // 45
    {46, n_eiic},
    {47, n_feic},
    {48, n_dbic},
    {49, n_ctpc},
    {50, n_ctpsw},
    {51, n_dbpc},
    {52, n_dbpsw},
    {53, n_ctbp},
    {54, n_dir},
    {55, n_bpc},
    {56, n_asid},
    {57, n_bpav},
    {58, n_bpam},
    {59, n_bpdv},
    {60, n_bpdm},
    {61, n_eiwr},
    {62, n_fewr},
    {63, n_dbwr},
    {64, n_bsel},
    // 65..96: system register bank 1 (core configuration, exception bases), id = 65 + register
    // number
    {65, n_mcfg0},
    {66, n_mcfg1},
    {67, n_rbase},
    {68, n_ebase},
    {69, n_intbp},
    {70, n_mctl},
    {71, n_pid},
    {72, n_fpipr},
    {73, n_svlock},
    {74, n_peid},
    {75, n_bmid},
    {76, n_sccfg},
    {77, n_scbp},
    {kUnmappedRegisterId, nullptr}, // 78
    {kUnmappedRegisterId, nullptr}, // 79
    {kUnmappedRegisterId, nullptr}, // 80
    {81, n_hvcfg},
    {82, n_gmcfg},
    {kUnmappedRegisterId, nullptr}, // 83
    {kUnmappedRegisterId, nullptr}, // 84
    {85, n_hvsb},
    {kUnmappedRegisterId, nullptr}, // 86
    {kUnmappedRegisterId, nullptr}, // 87
    {kUnmappedRegisterId, nullptr}, // 88
    {kUnmappedRegisterId, nullptr}, // 89
    {kUnmappedRegisterId, nullptr}, // 90
    {kUnmappedRegisterId, nullptr}, // 91
    {kUnmappedRegisterId, nullptr}, // 92
    {kUnmappedRegisterId, nullptr}, // 93
    {kUnmappedRegisterId, nullptr}, // 94
    {kUnmappedRegisterId, nullptr}, // 95
    {kUnmappedRegisterId, nullptr}, // 96
    // 97..128: system register bank 2 (time stamp, interrupt status, memory errors), id = 97 +
    // register number
    {97, n_htcfg0},
    {98, n_tscountl},
    {99, n_tscounth},
    {100, n_tsctrl},
    {kUnmappedRegisterId, nullptr}, // 101
    {102, n_lscfg},
    {103, n_mea},
    {kUnmappedRegisterId, nullptr}, // 104
    {105, n_mei},
    {kUnmappedRegisterId, nullptr}, // 106
    {107, n_ispr},
    {108, n_pmr},
    {109, n_icsr},
    {110, n_intcfg},
    {111, n_plmr},
    {112, n_rbcr0},
    {113, n_rbcr1},
    {114, n_rbnr},
    {115, n_rbip},
    {kUnmappedRegisterId, nullptr}, // 116
    {kUnmappedRegisterId, nullptr}, // 117
    {kUnmappedRegisterId, nullptr}, // 118
    {kUnmappedRegisterId, nullptr}, // 119
    {kUnmappedRegisterId, nullptr}, // 120
    {kUnmappedRegisterId, nullptr}, // 121
    {kUnmappedRegisterId, nullptr}, // 122
    {kUnmappedRegisterId, nullptr}, // 123
    {kUnmappedRegisterId, nullptr}, // 124
    {kUnmappedRegisterId, nullptr}, // 125
    {kUnmappedRegisterId, nullptr}, // 126
    {kUnmappedRegisterId, nullptr}, // 127
    {kUnmappedRegisterId, nullptr}, // 128
    // 129..160: cache register bank, id = 129 + register number
    {kUnmappedRegisterId, nullptr}, // 129
    {kUnmappedRegisterId, nullptr}, // 130
    {kUnmappedRegisterId, nullptr}, // 131
    {kUnmappedRegisterId, nullptr}, // 132
    {kUnmappedRegisterId, nullptr}, // 133
    {kUnmappedRegisterId, nullptr}, // 134
    {kUnmappedRegisterId, nullptr}, // 135
    {kUnmappedRegisterId, nullptr}, // 136
    {kUnmappedRegisterId, nullptr}, // 137
    {kUnmappedRegisterId, nullptr}, // 138
    {kUnmappedRegisterId, nullptr}, // 139
    {kUnmappedRegisterId, nullptr}, // 140
    {kUnmappedRegisterId, nullptr}, // 141
    {kUnmappedRegisterId, nullptr}, // 142
    {kUnmappedRegisterId, nullptr}, // 143
    {kUnmappedRegisterId, nullptr}, // 144
    {145, n_ictagl},
    {146, n_ictagh},
    {147, n_icdatl},
    {148, n_icdath},
    {149, n_dctagl},
    {150, n_dctagh},
    {151, n_dcdatl},
    {152, n_dcdath},
    {153, n_icctrl},
    {154, n_dcctrl},
    {155, n_iccfg},
    {156, n_dccfg},
    {157, n_icerr},
    {158, n_dcerr},
    {kUnmappedRegisterId, nullptr}, // 159
    {kUnmappedRegisterId, nullptr}, // 160
    // 161..192: guest-context register bank, id = 161 + register number
    {161, n_gmeipc},
    {162, n_gmeipsw},
    {163, n_gmfepc},
    {164, n_gmfepsw},
    {kUnmappedRegisterId, nullptr}, // 165
    {166, n_gmpsw},
    {167, n_gmmea},
    {kUnmappedRegisterId, nullptr}, // 168
    {169, n_gmmei},
    {kUnmappedRegisterId, nullptr}, // 170
    {kUnmappedRegisterId, nullptr}, // 171
    {kUnmappedRegisterId, nullptr}, // 172
    {kUnmappedRegisterId, nullptr}, // 173
    {174, n_gmeiic},
    {175, n_gmfeic},
    {kUnmappedRegisterId, nullptr}, // 176
    {177, n_gmspid},
    {178, n_gmspidlist},
    {kUnmappedRegisterId, nullptr}, // 179
    {180, n_gmebase},
    {181, n_gmintbp},
    {182, n_gmintcfg},
    {183, n_gmplmr},
    {kUnmappedRegisterId, nullptr}, // 184
    {185, n_gmsvlock},
    {186, n_gmmpm},
    {kUnmappedRegisterId, nullptr}, // 187
    {kUnmappedRegisterId, nullptr}, // 188
    {189, n_gmeiwr},
    {190, n_gmfewr},
    {191, n_gmpeid},
    {kUnmappedRegisterId, nullptr}, // 192
    // 193..207: unmapped
    {kUnmappedRegisterId, nullptr}, // 193
    {kUnmappedRegisterId, nullptr}, // 194
    {kUnmappedRegisterId, nullptr}, // 195
    {kUnmappedRegisterId, nullptr}, // 196
    {kUnmappedRegisterId, nullptr}, // 197
    {kUnmappedRegisterId, nullptr}, // 198
    {kUnmappedRegisterId, nullptr}, // 199
    {kUnmappedRegisterId, nullptr}, // 200
    {kUnmappedRegisterId, nullptr}, // 201
    {kUnmappedRegisterId, nullptr}, // 202
    {kUnmappedRegisterId, nullptr}, // 203
    {kUnmappedRegisterId, nullptr}, // 204
    {kUnmappedRegisterId, nullptr}, // 205
    {kUnmappedRegisterId, nullptr}, // 206
    {kUnmappedRegisterId, nullptr}, // 207
    // 208..223: fpu_: floating-point unit, then the control registers of the extended (vector)
    // unit
    {208, n_fpu_fpsr},
    {209, n_fpu_fpepc},
    {210, n_fpu_fpst},
    {211, n_fpu_fpcc},
    {212, n_fpu_fpcfg},
    {213, n_fpu_fpec},
    {kUnmappedRegisterId, nullptr}, // 214
    {kUnmappedRegisterId, nullptr}, // 215
    {216, n_fpu_fxsr},
    {217, n_fpu_fxst},
    {218, n_fpu_fxinfo},
    {219, n_fpu_fxcfg},
    {220, n_fpu_fxxc},
    {221, n_fpu_fxxp},
    {kUnmappedRegisterId, nullptr}, // 222
    {kUnmappedRegisterId, nullptr}, // 223
    // 224..303: mpu0_: MPU with fixed region registers: control, then regions 0..15 with four ids
    // each (lower bound, upper bound, attributes, one reserved)
    {224, n_mpu0_mpm},
    {225, n_mpu0_mprc},
    {226, n_mpu0_mpbrgn},
    {227, n_mpu0_mptrgn},
    {kUnmappedRegisterId, nullptr}, // 228
    {kUnmappedRegisterId, nullptr}, // 229
    {kUnmappedRegisterId, nullptr}, // 230
    {kUnmappedRegisterId, nullptr}, // 231
    {232, n_mpu0_mca},
    {233, n_mpu0_mcs},
    {234, n_mpu0_mcc},
    {235, n_mpu0_mcr},
    {kUnmappedRegisterId, nullptr}, // 236
    {kUnmappedRegisterId, nullptr}, // 237
    {kUnmappedRegisterId, nullptr}, // 238
    {kUnmappedRegisterId, nullptr}, // 239
    {240, n_mpu0_mpla0},
    {241, n_mpu0_mpua0},
    {242, n_mpu0_mpat0},
    {kUnmappedRegisterId, nullptr}, // 243
    {244, n_mpu0_mpla1},
    {245, n_mpu0_mpua1},
    {246, n_mpu0_mpat1},
    {kUnmappedRegisterId, nullptr}, // 247
    {248, n_mpu0_mpla2},
    {249, n_mpu0_mpua2},
    {250, n_mpu0_mpat2},
    {kUnmappedRegisterId, nullptr}, // 251
    {252, n_mpu0_mpla3},
    {253, n_mpu0_mpua3},
    {254, n_mpu0_mpat3},
    {kUnmappedRegisterId, nullptr}, // 255
    {256, n_mpu0_mpla4},
    {257, n_mpu0_mpua4},
    {258, n_mpu0_mpat4},
    {kUnmappedRegisterId, nullptr}, // 259
    {260, n_mpu0_mpla5},
    {261, n_mpu0_mpua5},
    {262, n_mpu0_mpat5},
    {kUnmappedRegisterId, nullptr}, // 263
    {264, n_mpu0_mpla6},
    {265, n_mpu0_mpua6},
    {266, n_mpu0_mpat6},
    {kUnmappedRegisterId, nullptr}, // 267
    {268, n_mpu0_mpla7},
    {269, n_mpu0_mpua7},
    {270, n_mpu0_mpat7},
    {kUnmappedRegisterId, nullptr}, // 271
    {272, n_mpu0_mpla8},
    {273, n_mpu0_mpua8},
    {274, n_mpu0_mpat8},
    {kUnmappedRegisterId, nullptr}, // 275
    {276, n_mpu0_mpla9},
    {277, n_mpu0_mpua9},
    {278, n_mpu0_mpat9},
    {kUnmappedRegisterId, nullptr}, // 279
    {280, n_mpu0_mpla10},
    {281, n_mpu0_mpua10},
    {282, n_mpu0_mpat10},
    {kUnmappedRegisterId, nullptr}, // 283
    {284, n_mpu0_mpla11},
    {285, n_mpu0_mpua11},
    {286, n_mpu0_mpat11},
    {kUnmappedRegisterId, nullptr}, // 287
    {288, n_mpu0_mpla12},
    {289, n_mpu0_mpua12},
    {290, n_mpu0_mpat12},
    {kUnmappedRegisterId, nullptr}, // 291
    {292, n_mpu0_mpla13},
    {293, n_mpu0_mpua13},
    {294, n_mpu0_mpat13},
    {kUnmappedRegisterId, nullptr}, // 295
    {296, n_mpu0_mpla14},
    {297, n_mpu0_mpua14},
    {298, n_mpu0_mpat14},
    {kUnmappedRegisterId, nullptr}, // 299
    {300, n_mpu0_mpla15},
    {301, n_mpu0_mpua15},
    {302, n_mpu0_mpat15},
    {kUnmappedRegisterId, nullptr}, // 303
    // 304..455: mpu1_: MPU with indexed regions: control, protection ids, then regions 0..31 with
    // four ids each
    {304, n_mpu1_mpm},
    {305, n_mpu1_mpcfg},
    {306, n_mpu1_mpidx},
    {307, n_mpu1_mpbk},
    {308, n_mpu1_mca},
    {309, n_mpu1_mcs},
    {310, n_mpu1_mcc},
    {311, n_mpu1_mcr},
    {312, n_mpu1_mci},
    {kUnmappedRegisterId, nullptr}, // 313
    {kUnmappedRegisterId, nullptr}, // 314
    {kUnmappedRegisterId, nullptr}, // 315
    {kUnmappedRegisterId, nullptr}, // 316
    {kUnmappedRegisterId, nullptr}, // 317
    {kUnmappedRegisterId, nullptr}, // 318
    {kUnmappedRegisterId, nullptr}, // 319
    {320, n_mpu1_mpid0},
    {321, n_mpu1_mpid1},
    {322, n_mpu1_mpid2},
    {323, n_mpu1_mpid3},
    {324, n_mpu1_mpid4},
    {325, n_mpu1_mpid5},
    {326, n_mpu1_mpid6},
    {327, n_mpu1_mpid7},
    {328, n_mpu1_mpla0},
    {329, n_mpu1_mpua0},
    {330, n_mpu1_mpat0},
    {kUnmappedRegisterId, nullptr}, // 331
    {332, n_mpu1_mpla1},
    {333, n_mpu1_mpua1},
    {334, n_mpu1_mpat1},
    {kUnmappedRegisterId, nullptr}, // 335
    {336, n_mpu1_mpla2},
    {337, n_mpu1_mpua2},
    {338, n_mpu1_mpat2},
    {kUnmappedRegisterId, nullptr}, // 339
    {340, n_mpu1_mpla3},
    {341, n_mpu1_mpua3},
    {342, n_mpu1_mpat3},
    {kUnmappedRegisterId, nullptr}, // 343
    {344, n_mpu1_mpla4},
    {345, n_mpu1_mpua4},
    {346, n_mpu1_mpat4},
    {kUnmappedRegisterId, nullptr}, // 347
    {348, n_mpu1_mpla5},
    {349, n_mpu1_mpua5},
    {350, n_mpu1_mpat5},
    {kUnmappedRegisterId, nullptr}, // 351
    {352, n_mpu1_mpla6},
    {353, n_mpu1_mpua6},
    {354, n_mpu1_mpat6},
    {kUnmappedRegisterId, nullptr}, // 355
    {356, n_mpu1_mpla7},
    {357, n_mpu1_mpua7},
    {358, n_mpu1_mpat7},
    {kUnmappedRegisterId, nullptr}, // 359
    {360, n_mpu1_mpla8},
    {361, n_mpu1_mpua8},
    {362, n_mpu1_mpat8},
    {kUnmappedRegisterId, nullptr}, // 363
    {364, n_mpu1_mpla9},
    {365, n_mpu1_mpua9},
    {366, n_mpu1_mpat9},
    {kUnmappedRegisterId, nullptr}, // 367
    {368, n_mpu1_mpla10},
    {369, n_mpu1_mpua10},
    {370, n_mpu1_mpat10},
    {kUnmappedRegisterId, nullptr}, // 371
    {372, n_mpu1_mpla11},
    {373, n_mpu1_mpua11},
    {374, n_mpu1_mpat11},
    {kUnmappedRegisterId, nullptr}, // 375
    {376, n_mpu1_mpla12},
    {377, n_mpu1_mpua12},
    {378, n_mpu1_mpat12},
    {kUnmappedRegisterId, nullptr}, // 379
    {380, n_mpu1_mpla13},
    {381, n_mpu1_mpua13},
    {382, n_mpu1_mpat13},
    {kUnmappedRegisterId, nullptr}, // 383
    {384, n_mpu1_mpla14},
    {385, n_mpu1_mpua14},
    {386, n_mpu1_mpat14},
    {kUnmappedRegisterId, nullptr}, // 387
    {388, n_mpu1_mpla15},
    {389, n_mpu1_mpua15},
    {390, n_mpu1_mpat15},
    {kUnmappedRegisterId, nullptr}, // 391
    {392, n_mpu1_mpla16},
    {393, n_mpu1_mpua16},
    {394, n_mpu1_mpat16},
    {kUnmappedRegisterId, nullptr}, // 395
    {396, n_mpu1_mpla17},
    {397, n_mpu1_mpua17},
    {398, n_mpu1_mpat17},
    {kUnmappedRegisterId, nullptr}, // 399
    {400, n_mpu1_mpla18},
    {401, n_mpu1_mpua18},
    {402, n_mpu1_mpat18},
    {kUnmappedRegisterId, nullptr}, // 403
    {404, n_mpu1_mpla19},
    {405, n_mpu1_mpua19},
    {406, n_mpu1_mpat19},
    {kUnmappedRegisterId, nullptr}, // 407
    {408, n_mpu1_mpla20},
    {409, n_mpu1_mpua20},
    {410, n_mpu1_mpat20},
    {kUnmappedRegisterId, nullptr}, // 411
    {412, n_mpu1_mpla21},
    {413, n_mpu1_mpua21},
    {414, n_mpu1_mpat21},
    {kUnmappedRegisterId, nullptr}, // 415
    {416, n_mpu1_mpla22},
    {417, n_mpu1_mpua22},
    {418, n_mpu1_mpat22},
    {kUnmappedRegisterId, nullptr}, // 419
    {420, n_mpu1_mpla23},
    {421, n_mpu1_mpua23},
    {422, n_mpu1_mpat23},
    {kUnmappedRegisterId, nullptr}, // 423
    {424, n_mpu1_mpla24},
    {425, n_mpu1_mpua24},
    {426, n_mpu1_mpat24},
    {kUnmappedRegisterId, nullptr}, // 427
    {428, n_mpu1_mpla25},
    {429, n_mpu1_mpua25},
    {430, n_mpu1_mpat25},
    {kUnmappedRegisterId, nullptr}, // 431
    {432, n_mpu1_mpla26},
    {433, n_mpu1_mpua26},
    {434, n_mpu1_mpat26},
    {kUnmappedRegisterId, nullptr}, // 435
    {436, n_mpu1_mpla27},
    {437, n_mpu1_mpua27},
    {438, n_mpu1_mpat27},
    {kUnmappedRegisterId, nullptr}, // 439
    {440, n_mpu1_mpla28},
    {441, n_mpu1_mpua28},
    {442, n_mpu1_mpat28},
    {kUnmappedRegisterId, nullptr}, // 443
    {444, n_mpu1_mpla29},
    {445, n_mpu1_mpua29},
    {446, n_mpu1_mpat29},
    {kUnmappedRegisterId, nullptr}, // 447
    {448, n_mpu1_mpla30},
    {449, n_mpu1_mpua30},
    {450, n_mpu1_mpat30},
    {kUnmappedRegisterId, nullptr}, // 451
    {452, n_mpu1_mpla31},
    {453, n_mpu1_mpua31},
    {454, n_mpu1_mpat31},
    {kUnmappedRegisterId, nullptr}, // 455
    // 456..480: pmu_: performance monitor with eight counters
    {456, n_pmu_pmctrl0},
    {457, n_pmu_pmctrl1},
    {458, n_pmu_pmctrl2},
    {459, n_pmu_pmctrl3},
    {460, n_pmu_pmctrl4},
    {461, n_pmu_pmctrl5},
    {462, n_pmu_pmctrl6},
    {463, n_pmu_pmctrl7},
    {464, n_pmu_pmcount0},
    {465, n_pmu_pmcount1},
    {466, n_pmu_pmcount2},
    {467, n_pmu_pmcount3},
    {468, n_pmu_pmcount4},
    {469, n_pmu_pmcount5},
    {470, n_pmu_pmcount6},
    {471, n_pmu_pmcount7},
    {472, n_pmu_pmsubcnd0},
    {473, n_pmu_pmsubcnd1},
    {474, n_pmu_pmsubcnd2},
    {475, n_pmu_pmsubcnd3},
    {476, n_pmu_pmsubcnd4},
    {477, n_pmu_pmsubcnd5},
    {478, n_pmu_pmsubcnd6},
    {479, n_pmu_pmsubcnd7},
    {480, n_pmu_pmgmctrl},
    // 481..487: unmapped
    {kUnmappedRegisterId, nullptr}, // 481
    {kUnmappedRegisterId, nullptr}, // 482
    {kUnmappedRegisterId, nullptr}, // 483
    {kUnmappedRegisterId, nullptr}, // 484
    {kUnmappedRegisterId, nullptr}, // 485
    {kUnmappedRegisterId, nullptr}, // 486
    {kUnmappedRegisterId, nullptr}, // 487
    // 488..551: dbg_: debug control, then hardware breakpoint channels 0..11
    {488, n_dbg_dir0},
    {489, n_dbg_dir1},
    {490, n_dbg_dbcfg},
    {491, n_dbg_dbwr},
    {492, n_dbg_bpc0},
    {493, n_dbg_bpav0},
    {494, n_dbg_bpam0},
    {495, n_dbg_bpdv0},
    {496, n_dbg_bpdm0},
    {497, n_dbg_bpc1},
    {498, n_dbg_bpav1},
    {499, n_dbg_bpam1},
    {500, n_dbg_bpdv1},
    {501, n_dbg_bpdm1},
    {502, n_dbg_bpc2},
    {503, n_dbg_bpav2},
    {504, n_dbg_bpam2},
    {505, n_dbg_bpdv2},
    {506, n_dbg_bpdm2},
    {507, n_dbg_bpc3},
    {508, n_dbg_bpav3},
    {509, n_dbg_bpam3},
    {510, n_dbg_bpdv3},
    {511, n_dbg_bpdm3},
    {512, n_dbg_bpc4},
    {513, n_dbg_bpav4},
    {514, n_dbg_bpam4},
    {515, n_dbg_bpdv4},
    {516, n_dbg_bpdm4},
    {517, n_dbg_bpc5},
    {518, n_dbg_bpav5},
    {519, n_dbg_bpam5},
    {520, n_dbg_bpdv5},
    {521, n_dbg_bpdm5},
    {522, n_dbg_bpc6},
    {523, n_dbg_bpav6},
    {524, n_dbg_bpam6},
    {525, n_dbg_bpdv6},
    {526, n_dbg_bpdm6},
    {527, n_dbg_bpc7},
    {528, n_dbg_bpav7},
    {529, n_dbg_bpam7},
    {530, n_dbg_bpdv7},
    {531, n_dbg_bpdm7},
    {532, n_dbg_bpc8},
    {533, n_dbg_bpav8},
    {534, n_dbg_bpam8},
    {535, n_dbg_bpdv8},
    {536, n_dbg_bpdm8},
    {537, n_dbg_bpc9},
    {538, n_dbg_bpav9},
    {539, n_dbg_bpam9},
    {540, n_dbg_bpdv9},
    {541, n_dbg_bpdm9},
    {542, n_dbg_bpc10},
    {543, n_dbg_bpav10},
    {544, n_dbg_bpam10},
    {545, n_dbg_bpdv10},
    {546, n_dbg_bpdm10},
    {547, n_dbg_bpc11},
    {548, n_dbg_bpav11},
    {549, n_dbg_bpam11},
    {550, n_dbg_bpdv11},
    {551, n_dbg_bpdm11},
    // 552..599: unmapped
    {kUnmappedRegisterId, nullptr}, // 552
    {kUnmappedRegisterId, nullptr}, // 553
    {kUnmappedRegisterId, nullptr}, // 554
    {kUnmappedRegisterId, nullptr}, // 555
    {kUnmappedRegisterId, nullptr}, // 556
    {kUnmappedRegisterId, nullptr}, // 557
    {kUnmappedRegisterId, nullptr}, // 558
    {kUnmappedRegisterId, nullptr}, // 559
    {kUnmappedRegisterId, nullptr}, // 560
    {kUnmappedRegisterId, nullptr}, // 561
    {kUnmappedRegisterId, nullptr}, // 562
    {kUnmappedRegisterId, nullptr}, // 563
    {kUnmappedRegisterId, nullptr}, // 564
    {kUnmappedRegisterId, nullptr}, // 565
    {kUnmappedRegisterId, nullptr}, // 566
    {kUnmappedRegisterId, nullptr}, // 567
    {kUnmappedRegisterId, nullptr}, // 568
    {kUnmappedRegisterId, nullptr}, // 569
    {kUnmappedRegisterId, nullptr}, // 570
    {kUnmappedRegisterId, nullptr}, // 571
    {kUnmappedRegisterId, nullptr}, // 572
    {kUnmappedRegisterId, nullptr}, // 573
    {kUnmappedRegisterId, nullptr}, // 574
    {kUnmappedRegisterId, nullptr}, // 575
    {kUnmappedRegisterId, nullptr}, // 576
    {kUnmappedRegisterId, nullptr}, // 577
    {kUnmappedRegisterId, nullptr}, // 578
    {kUnmappedRegisterId, nullptr}, // 579
    {kUnmappedRegisterId, nullptr}, // 580
    {kUnmappedRegisterId, nullptr}, // 581
    {kUnmappedRegisterId, nullptr}, // 582
    {kUnmappedRegisterId, nullptr}, // 583
    {kUnmappedRegisterId, nullptr}, // 584
    {kUnmappedRegisterId, nullptr}, // 585
    {kUnmappedRegisterId, nullptr}, // 586
    {kUnmappedRegisterId, nullptr}, // 587
    {kUnmappedRegisterId, nullptr}, // 588
    {kUnmappedRegisterId, nullptr}, // 589
    {kUnmappedRegisterId, nullptr}, // 590
    {kUnmappedRegisterId, nullptr}, // 591
    {kUnmappedRegisterId, nullptr}, // 592
    {kUnmappedRegisterId, nullptr}, // 593
    {kUnmappedRegisterId, nullptr}, // 594
    {kUnmappedRegisterId, nullptr}, // 595
    {kUnmappedRegisterId, nullptr}, // 596
    {kUnmappedRegisterId, nullptr}, // 597
    {kUnmappedRegisterId, nullptr}, // 598
    {kUnmappedRegisterId, nullptr}, // 599
    // 600..799: intc_: interrupt controller: control and masks, then channel control and channel
    // binding of channels 0..95
    {600, n_intc_fnc},
    {601, n_intc_fic},
    {602, n_intc_fnbd},
    {603, n_intc_fibd},
    {604, n_intc_imr0},
    {605, n_intc_imr1},
    {606, n_intc_imr2},
    {kUnmappedRegisterId, nullptr}, // 607
    {608, n_intc_eic0},
    {609, n_intc_eic1},
    {610, n_intc_eic2},
    {611, n_intc_eic3},
    {612, n_intc_eic4},
    {613, n_intc_eic5},
    {614, n_intc_eic6},
    {615, n_intc_eic7},
    {616, n_intc_eic8},
    {617, n_intc_eic9},
    {618, n_intc_eic10},
    {619, n_intc_eic11},
    {620, n_intc_eic12},
    {621, n_intc_eic13},
    {622, n_intc_eic14},
    {623, n_intc_eic15},
    {624, n_intc_eic16},
    {625, n_intc_eic17},
    {626, n_intc_eic18},
    {627, n_intc_eic19},
    {628, n_intc_eic20},
    {629, n_intc_eic21},
    {630, n_intc_eic22},
    {631, n_intc_eic23},
    {632, n_intc_eic24},
    {633, n_intc_eic25},
    {634, n_intc_eic26},
    {635, n_intc_eic27},
    {636, n_intc_eic28},
    {637, n_intc_eic29},
    {638, n_intc_eic30},
    {639, n_intc_eic31},
    {640, n_intc_eic32},
    {641, n_intc_eic33},
    {642, n_intc_eic34},
    {643, n_intc_eic35},
    {644, n_intc_eic36},
    {645, n_intc_eic37},
    {646, n_intc_eic38},
    {647, n_intc_eic39},
    {648, n_intc_eic40},
    {649, n_intc_eic41},
    {650, n_intc_eic42},
    {651, n_intc_eic43},
    {652, n_intc_eic44},
    {653, n_intc_eic45},
    {654, n_intc_eic46},
    {655, n_intc_eic47},
    {656, n_intc_eic48},
    {657, n_intc_eic49},
    {658, n_intc_eic50},
    {659, n_intc_eic51},
    {660, n_intc_eic52},
    {661, n_intc_eic53},
    {662, n_intc_eic54},
    {663, n_intc_eic55},
    {664, n_intc_eic56},
    {665, n_intc_eic57},
    {666, n_intc_eic58},
    {667, n_intc_eic59},
    {668, n_intc_eic60},
    {669, n_intc_eic61},
    {670, n_intc_eic62},
    {671, n_intc_eic63},
    {672, n_intc_eic64},
    {673, n_intc_eic65},
    {674, n_intc_eic66},
    {675, n_intc_eic67},
    {676, n_intc_eic68},
    {677, n_intc_eic69},
    {678, n_intc_eic70},
    {679, n_intc_eic71},
    {680, n_intc_eic72},
    {681, n_intc_eic73},
    {682, n_intc_eic74},
    {683, n_intc_eic75},
    {684, n_intc_eic76},
    {685, n_intc_eic77},
    {686, n_intc_eic78},
    {687, n_intc_eic79},
    {688, n_intc_eic80},
    {689, n_intc_eic81},
    {690, n_intc_eic82},
    {691, n_intc_eic83},
    {692, n_intc_eic84},
    {693, n_intc_eic85},
    {694, n_intc_eic86},
    {695, n_intc_eic87},
    {696, n_intc_eic88},
    {697, n_intc_eic89},
    {698, n_intc_eic90},
    {699, n_intc_eic91},
    {700, n_intc_eic92},
    {701, n_intc_eic93},
    {702, n_intc_eic94},
    {703, n_intc_eic95},
    {704, n_intc_eibd0},
    {705, n_intc_eibd1},
    {706, n_intc_eibd2},
    {707, n_intc_eibd3},
    {708, n_intc_eibd4},
    {709, n_intc_eibd5},
    {710, n_intc_eibd6},
    {711, n_intc_eibd7},
    {712, n_intc_eibd8},
    {713, n_intc_eibd9},
    {714, n_intc_eibd10},
    {715, n_intc_eibd11},
    {716, n_intc_eibd12},
    {717, n_intc_eibd13},
    {718, n_intc_eibd14},
    {719, n_intc_eibd15},
    {720, n_intc_eibd16},
    {721, n_intc_eibd17},
    {722, n_intc_eibd18},
    {723, n_intc_eibd19},
    {724, n_intc_eibd20},
    {725, n_intc_eibd21},
    {726, n_intc_eibd22},
    {727, n_intc_eibd23},
    {728, n_intc_eibd24},
    {729, n_intc_eibd25},
    {730, n_intc_eibd26},
    {731, n_intc_eibd27},
    {732, n_intc_eibd28},
    {733, n_intc_eibd29},
    {734, n_intc_eibd30},
    {735, n_intc_eibd31},
    {736, n_intc_eibd32},
    {737, n_intc_eibd33},
    {738, n_intc_eibd34},
    {739, n_intc_eibd35},
    {740, n_intc_eibd36},
    {741, n_intc_eibd37},
    {742, n_intc_eibd38},
    {743, n_intc_eibd39},
    {744, n_intc_eibd40},
    {745, n_intc_eibd41},
    {746, n_intc_eibd42},
    {747, n_intc_eibd43},
    {748, n_intc_eibd44},
    {749, n_intc_eibd45},
    {750, n_intc_eibd46},
    {751, n_intc_eibd47},
    {752, n_intc_eibd48},
    {753, n_intc_eibd49},
    {754, n_intc_eibd50},
    {755, n_intc_eibd51},
    {756, n_intc_eibd52},
    {757, n_intc_eibd53},
    {758, n_intc_eibd54},
    {759, n_intc_eibd55},
    {760, n_intc_eibd56},
    {761, n_intc_eibd57},
    {762, n_intc_eibd58},
    {763, n_intc_eibd59},
    {764, n_intc_eibd60},
    {765, n_intc_eibd61},
    {766, n_intc_eibd62},
    {767, n_intc_eibd63},
    {768, n_intc_eibd64},
    {769, n_intc_eibd65},
    {770, n_intc_eibd66},
    {771, n_intc_eibd67},
    {772, n_intc_eibd68},
    {773, n_intc_eibd69},
    {774, n_intc_eibd70},
    {775, n_intc_eibd71},
    {776, n_intc_eibd72},
    {777, n_intc_eibd73},
    {778, n_intc_eibd74},
    {779, n_intc_eibd75},
    {780, n_intc_eibd76},
    {781, n_intc_eibd77},
    {782, n_intc_eibd78},
    {783, n_intc_eibd79},
    {784, n_intc_eibd80},
    {785, n_intc_eibd81},
    {786, n_intc_eibd82},
    {787, n_intc_eibd83},
    {788, n_intc_eibd84},
    {789, n_intc_eibd85},
    {790, n_intc_eibd86},
    {791, n_intc_eibd87},
    {792, n_intc_eibd88},
    {793, n_intc_eibd89},
    {794, n_intc_eibd90},
    {795, n_intc_eibd91},
    {796, n_intc_eibd92},
    {797, n_intc_eibd93},
    {798, n_intc_eibd94},
    {799, n_intc_eibd95},
    // 800..816: unmapped
    {kUnmappedRegisterId, nullptr}, // 800
    {kUnmappedRegisterId, nullptr}, // 801
    {kUnmappedRegisterId, nullptr}, // 802
    {kUnmappedRegisterId, nullptr}, // 803
    {kUnmappedRegisterId, nullptr}, // 804
    {kUnmappedRegisterId, nullptr}, // 805
    {kUnmappedRegisterId, nullptr}, // 806
    {kUnmappedRegisterId, nullptr}, // 807
    {kUnmappedRegisterId, nullptr}, // 808
    {kUnmappedRegisterId, nullptr}, // 809
    {kUnmappedRegisterId, nullptr}, // 810
    {kUnmappedRegisterId, nullptr}, // 811
    {kUnmappedRegisterId, nullptr}, // 812
    {kUnmappedRegisterId, nullptr}, // 813
    {kUnmappedRegisterId, nullptr}, // 814
    {kUnmappedRegisterId, nullptr}, // 815
    {kUnmappedRegisterId, nullptr}, // 816
    // 817..944: wr0..wr31: 128-bit vector registers, one id per 32-bit word
    {817, n_wr0},
    {818, n_wr0_1},
    {819, n_wr0_2},
    {820, n_wr0_3},
    {821, n_wr1},
    {822, n_wr1_1},
    {823, n_wr1_2},
    {824, n_wr1_3},
    {825, n_wr2},
    {826, n_wr2_1},
    {827, n_wr2_2},
    {828, n_wr2_3},
    {829, n_wr3},
    {830, n_wr3_1},
    {831, n_wr3_2},
    {832, n_wr3_3},
    {833, n_wr4},
    {834, n_wr4_1},
    {835, n_wr4_2},
    {836, n_wr4_3},
    {837, n_wr5},
    {838, n_wr5_1},
    {839, n_wr5_2},
    {840, n_wr5_3},
    {841, n_wr6},
    {842, n_wr6_1},
    {843, n_wr6_2},
    {844, n_wr6_3},
    {845, n_wr7},
    {846, n_wr7_1},
    {847, n_wr7_2},
    {848, n_wr7_3},
    {849, n_wr8},
    {850, n_wr8_1},
    {851, n_wr8_2},
    {852, n_wr8_3},
    {853, n_wr9},
    {854, n_wr9_1},
    {855, n_wr9_2},
    {856, n_wr9_3},
    {857, n_wr10},
    {858, n_wr10_1},
    {859, n_wr10_2},
    {860, n_wr10_3},
    {861, n_wr11},
    {862, n_wr11_1},
    {863, n_wr11_2},
    {864, n_wr11_3},
    {865, n_wr12},
    {866, n_wr12_1},
    {867, n_wr12_2},
    {868, n_wr12_3},
    {869, n_wr13},
    {870, n_wr13_1},
    {871, n_wr13_2},
    {872, n_wr13_3},
    {873, n_wr14},
    {874, n_wr14_1},
    {875, n_wr14_2},
    {876, n_wr14_3},
    {877, n_wr15},
    {878, n_wr15_1},
    {879, n_wr15_2},
    {880, n_wr15_3},
    {881, n_wr16},
    {882, n_wr16_1},
    {883, n_wr16_2},
    {884, n_wr16_3},
    {885, n_wr17},
    {886, n_wr17_1},
    {887, n_wr17_2},
    {888, n_wr17_3},
    {889, n_wr18},
    {890, n_wr18_1},
    {891, n_wr18_2},
    {892, n_wr18_3},
    {893, n_wr19},
    {894, n_wr19_1},
    {895, n_wr19_2},
    {896, n_wr19_3},
    {897, n_wr20},
    {898, n_wr20_1},
    {899, n_wr20_2},
    {900, n_wr20_3},
    {901, n_wr21},
    {902, n_wr21_1},
    {903, n_wr21_2},
    {904, n_wr21_3},
    {905, n_wr22},
    {906, n_wr22_1},
    {907, n_wr22_2},
    {908, n_wr22_3},
    {909, n_wr23},
    {910, n_wr23_1},
    {911, n_wr23_2},
    {912, n_wr23_3},
    {913, n_wr24},
    {914, n_wr24_1},
    {915, n_wr24_2},
    {916, n_wr24_3},
    {917, n_wr25},
    {918, n_wr25_1},
    {919, n_wr25_2},
    {920, n_wr25_3},
    {921, n_wr26},
    {922, n_wr26_1},
    {923, n_wr26_2},
    {924, n_wr26_3},
    {925, n_wr27},
    {926, n_wr27_1},
    {927, n_wr27_2},
    {928, n_wr27_3},
    {929, n_wr28},
    {930, n_wr28_1},
    {931, n_wr28_2},
    {932, n_wr28_3},
    {933, n_wr29},
    {934, n_wr29_1},
    {935, n_wr29_2},
    {936, n_wr29_3},
    {937, n_wr30},
    {938, n_wr30_1},
    {939, n_wr30_2},
    {940, n_wr30_3},
    {941, n_wr31},
    {942, n_wr31_1},
    {943, n_wr31_2},
    {944, n_wr31_3},
};

} // namespace

const RegisterIdTable kV850RegisterTable = {"V850/RH850", kEntries,
                                            static_cast<int32_t>(std::size(kEntries))};
