// Register ids of the SuperH family (major CPU type 17): 163 ids, all mapped.
//
// Entry i describes register id i. A mapped entry lists the register's own name first, then the
// other names it answers to; an unmapped id has kUnmappedRegisterId and no name list.
//
// r4 is the first-argument register (fstargreg) and r0 the return-value register (rtnreg) of the
// calling convention.
//
// Layout:
//   0..15      general registers
//   16..24     control and system registers, saved status and program counter
//   25..40     banked general registers r0..r7 of bank 0, then of bank 1
//   41..54     DSP unit
//   55..88     floating-point registers, status and communication register, then the second bank
//   89..91     saved general register, debug base, jump table base
//   92..102    MMU and exception event registers
//   103..110   cache, store queue and local memory control
//   111..112   processor and product version
//   113..134   user break controller: the two-channel layout, then the newer layout
//   135..140   performance counters
//   141..142   interrupt register bank control
//   143..162   vectors fv0..fv12, then the double-precision pairs xd0..xd14 and fdr0..fdr14
//
// The table has no holes: its groups were laid end to end, and registers that only some cores
// have (the DSP unit, the floating-point unit, the newer break controller) still own their ids on
// the others. fdrN is the double-precision pair frN/frN+1 and xdN the pair xfN/xfN+1.

#include "awareness/register_tables.h"

#include <iterator>

namespace {

const char* const n_r0[] = {"r0", "rtnreg", nullptr};
const char* const n_r1[] = {"r1", nullptr};
const char* const n_r2[] = {"r2", nullptr};
const char* const n_r3[] = {"r3", nullptr};
const char* const n_r4[] = {"r4", "fstargreg", nullptr};
const char* const n_r5[] = {"r5", nullptr};
const char* const n_r6[] = {"r6", nullptr};
const char* const n_r7[] = {"r7", nullptr};
const char* const n_r8[] = {"r8", nullptr};
const char* const n_r9[] = {"r9", nullptr};
const char* const n_r10[] = {"r10", nullptr};
const char* const n_r11[] = {"r11", nullptr};
const char* const n_r12[] = {"r12", nullptr};
const char* const n_r13[] = {"r13", nullptr};
const char* const n_r14[] = {"r14", nullptr};
const char* const n_r15[] = {"r15", "sp", nullptr};
const char* const n_sr[] = {"sr", nullptr};
const char* const n_gbr[] = {"gbr", nullptr};
const char* const n_vbr[] = {"vbr", nullptr};
const char* const n_mach[] = {"mach", nullptr};
const char* const n_macl[] = {"macl", nullptr};
const char* const n_pr[] = {"pr", nullptr};
const char* const n_pc[] = {"pc", nullptr};
const char* const n_ssr[] = {"ssr", nullptr};
const char* const n_spc[] = {"spc", nullptr};
const char* const n_r0bank0[] = {"r0bank0", nullptr};
const char* const n_r1bank0[] = {"r1bank0", nullptr};
const char* const n_r2bank0[] = {"r2bank0", nullptr};
const char* const n_r3bank0[] = {"r3bank0", nullptr};
const char* const n_r4bank0[] = {"r4bank0", nullptr};
const char* const n_r5bank0[] = {"r5bank0", nullptr};
const char* const n_r6bank0[] = {"r6bank0", nullptr};
const char* const n_r7bank0[] = {"r7bank0", nullptr};
const char* const n_r0bank1[] = {"r0bank1", nullptr};
const char* const n_r1bank1[] = {"r1bank1", nullptr};
const char* const n_r2bank1[] = {"r2bank1", nullptr};
const char* const n_r3bank1[] = {"r3bank1", nullptr};
const char* const n_r4bank1[] = {"r4bank1", nullptr};
const char* const n_r5bank1[] = {"r5bank1", nullptr};
const char* const n_r6bank1[] = {"r6bank1", nullptr};
const char* const n_r7bank1[] = {"r7bank1", nullptr};
const char* const n_dsr[] = {"dsr", nullptr};
const char* const n_a0[] = {"a0", nullptr};
const char* const n_a0g[] = {"a0g", nullptr};
const char* const n_a1[] = {"a1", nullptr};
const char* const n_a1g[] = {"a1g", nullptr};
const char* const n_m0[] = {"m0", nullptr};
const char* const n_m1[] = {"m1", nullptr};
const char* const n_x0[] = {"x0", nullptr};
const char* const n_x1[] = {"x1", nullptr};
const char* const n_y0[] = {"y0", nullptr};
const char* const n_y1[] = {"y1", nullptr};
const char* const n_mod[] = {"mod", nullptr};
const char* const n_rs[] = {"rs", nullptr};
const char* const n_re[] = {"re", nullptr};
const char* const n_fr0[] = {"fr0", nullptr};
const char* const n_fr1[] = {"fr1", nullptr};
const char* const n_fr2[] = {"fr2", nullptr};
const char* const n_fr3[] = {"fr3", nullptr};
const char* const n_fr4[] = {"fr4", nullptr};
const char* const n_fr5[] = {"fr5", nullptr};
const char* const n_fr6[] = {"fr6", nullptr};
const char* const n_fr7[] = {"fr7", nullptr};
const char* const n_fr8[] = {"fr8", nullptr};
const char* const n_fr9[] = {"fr9", nullptr};
const char* const n_fr10[] = {"fr10", nullptr};
const char* const n_fr11[] = {"fr11", nullptr};
const char* const n_fr12[] = {"fr12", nullptr};
const char* const n_fr13[] = {"fr13", nullptr};
const char* const n_fr14[] = {"fr14", nullptr};
const char* const n_fr15[] = {"fr15", nullptr};
const char* const n_fpscr[] = {"fpscr", nullptr};
const char* const n_fpul[] = {"fpul", nullptr};
const char* const n_xf0[] = {"xf0", nullptr};
const char* const n_xf1[] = {"xf1", nullptr};
const char* const n_xf2[] = {"xf2", nullptr};
const char* const n_xf3[] = {"xf3", nullptr};
const char* const n_xf4[] = {"xf4", nullptr};
const char* const n_xf5[] = {"xf5", nullptr};
const char* const n_xf6[] = {"xf6", nullptr};
const char* const n_xf7[] = {"xf7", nullptr};
const char* const n_xf8[] = {"xf8", nullptr};
const char* const n_xf9[] = {"xf9", nullptr};
const char* const n_xf10[] = {"xf10", nullptr};
const char* const n_xf11[] = {"xf11", nullptr};
const char* const n_xf12[] = {"xf12", nullptr};
const char* const n_xf13[] = {"xf13", nullptr};
const char* const n_xf14[] = {"xf14", nullptr};
const char* const n_xf15[] = {"xf15", nullptr};
const char* const n_sgr[] = {"sgr", nullptr};
const char* const n_dbr[] = {"dbr", nullptr};
const char* const n_tbr[] = {"tbr", nullptr};
const char* const n_pteh[] = {"pteh", nullptr};
const char* const n_ptel[] = {"ptel", nullptr};
const char* const n_ptea[] = {"ptea", nullptr};
const char* const n_ttb[] = {"ttb", nullptr};
const char* const n_tea[] = {"tea", nullptr};
const char* const n_mmucr[] = {"mmucr", nullptr};
const char* const n_pascr[] = {"pascr", nullptr};
const char* const n_irmcr[] = {"irmcr", nullptr};
const char* const n_tra[] = {"tra", nullptr};
const char* const n_expevt[] = {"expevt", nullptr};
const char* const n_intevt[] = {"intevt", nullptr};
const char* const n_ccr[] = {"ccr", nullptr};
const char* const n_qacr0[] = {"qacr0", nullptr};
const char* const n_qacr1[] = {"qacr1", nullptr};
const char* const n_ramcr[] = {"ramcr", nullptr};
const char* const n_lsa0[] = {"lsa0", nullptr};
const char* const n_lsa1[] = {"lsa1", nullptr};
const char* const n_lda0[] = {"lda0", nullptr};
const char* const n_lda1[] = {"lda1", nullptr};
const char* const n_pvr[] = {"pvr", nullptr};
const char* const n_prr[] = {"prr", nullptr};
const char* const n_bara[] = {"bara", nullptr};
const char* const n_bamra[] = {"bamra", nullptr};
const char* const n_bbra[] = {"bbra", nullptr};
const char* const n_barb[] = {"barb", nullptr};
const char* const n_bamrb[] = {"bamrb", nullptr};
const char* const n_bbrb[] = {"bbrb", nullptr};
const char* const n_bdrb[] = {"bdrb", nullptr};
const char* const n_bdmrb[] = {"bdmrb", nullptr};
const char* const n_brcr[] = {"brcr", nullptr};
const char* const n_cbr0[] = {"cbr0", nullptr};
const char* const n_crr0[] = {"crr0", nullptr};
const char* const n_car0[] = {"car0", nullptr};
const char* const n_camr0[] = {"camr0", nullptr};
const char* const n_cbr1[] = {"cbr1", nullptr};
const char* const n_crr1[] = {"crr1", nullptr};
const char* const n_car1[] = {"car1", nullptr};
const char* const n_camr1[] = {"camr1", nullptr};
const char* const n_cdr1[] = {"cdr1", nullptr};
const char* const n_cdmr1[] = {"cdmr1", nullptr};
const char* const n_cetr1[] = {"cetr1", nullptr};
const char* const n_ccmfr[] = {"ccmfr", nullptr};
const char* const n_cbcr[] = {"cbcr", nullptr};
const char* const n_pmcr1[] = {"pmcr1", nullptr};
const char* const n_pmcr2[] = {"pmcr2", nullptr};
const char* const n_pmctr1h[] = {"pmctr1h", nullptr};
const char* const n_pmctr1l[] = {"pmctr1l", nullptr};
const char* const n_pmctr2h[] = {"pmctr2h", nullptr};
const char* const n_pmctr2l[] = {"pmctr2l", nullptr};
const char* const n_ibcr[] = {"ibcr", nullptr};
const char* const n_ibnr[] = {"ibnr", nullptr};
const char* const n_fv0[] = {"fv0", nullptr};
const char* const n_fv4[] = {"fv4", nullptr};
const char* const n_fv8[] = {"fv8", nullptr};
const char* const n_fv12[] = {"fv12", nullptr};
const char* const n_xd0[] = {"xd0", nullptr};
const char* const n_xd2[] = {"xd2", nullptr};
const char* const n_xd4[] = {"xd4", nullptr};
const char* const n_xd6[] = {"xd6", nullptr};
const char* const n_xd8[] = {"xd8", nullptr};
const char* const n_xd10[] = {"xd10", nullptr};
const char* const n_xd12[] = {"xd12", nullptr};
const char* const n_xd14[] = {"xd14", nullptr};
const char* const n_fdr0[] = {"fdr0", nullptr};
const char* const n_fdr2[] = {"fdr2", nullptr};
const char* const n_fdr4[] = {"fdr4", nullptr};
const char* const n_fdr6[] = {"fdr6", nullptr};
const char* const n_fdr8[] = {"fdr8", nullptr};
const char* const n_fdr10[] = {"fdr10", nullptr};
const char* const n_fdr12[] = {"fdr12", nullptr};
const char* const n_fdr14[] = {"fdr14", nullptr};

const RegisterIdEntry kEntries[] = {
    // 0..15: general registers
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
    // 16..24: control and system registers, saved status and program counter
    {16, n_sr},
    {17, n_gbr},
    {18, n_vbr},
    {19, n_mach},
    {20, n_macl},
    {21, n_pr},
    {22, n_pc},
    {23, n_ssr},
    {24, n_spc},
    // 25..40: banked general registers r0..r7 of bank 0, then of bank 1
    {25, n_r0bank0},
    {26, n_r1bank0},
    {27, n_r2bank0},
    {28, n_r3bank0},
    {29, n_r4bank0},
    {30, n_r5bank0},
    {31, n_r6bank0},
    {32, n_r7bank0},
    {33, n_r0bank1},
    {34, n_r1bank1},
    {35, n_r2bank1},
    {36, n_r3bank1},
    {37, n_r4bank1},
    {38, n_r5bank1},
    {39, n_r6bank1},
    {40, n_r7bank1},
    // 41..54: DSP unit
    {41, n_dsr},
    {42, n_a0},
    {43, n_a0g},
    {44, n_a1},
    {45, n_a1g},
    {46, n_m0},
    {47, n_m1},
    {48, n_x0},
    {49, n_x1},
    {50, n_y0},
    {51, n_y1},
    {52, n_mod},
    {53, n_rs},
    {54, n_re},
    // 55..88: floating-point registers, status and communication register, then the second bank
    {55, n_fr0},
    {56, n_fr1},
    {57, n_fr2},
    {58, n_fr3},
    {59, n_fr4},
    {60, n_fr5},
    {61, n_fr6},
    {62, n_fr7},
    {63, n_fr8},
    {64, n_fr9},
    {65, n_fr10},
    {66, n_fr11},
    {67, n_fr12},
    {68, n_fr13},
    {69, n_fr14},
    {70, n_fr15},
    {71, n_fpscr},
    {72, n_fpul},
    {73, n_xf0},
    {74, n_xf1},
    {75, n_xf2},
    {76, n_xf3},
    {77, n_xf4},
    {78, n_xf5},
    {79, n_xf6},
    {80, n_xf7},
    {81, n_xf8},
    {82, n_xf9},
    {83, n_xf10},
    {84, n_xf11},
    {85, n_xf12},
    {86, n_xf13},
    {87, n_xf14},
    {88, n_xf15},
    // 89..91: saved general register, debug base, jump table base
    {89, n_sgr},
    {90, n_dbr},
    {91, n_tbr},
    // 92..102: MMU and exception event registers
    {92, n_pteh},
    {93, n_ptel},
    {94, n_ptea},
    {95, n_ttb},
    {96, n_tea},
    {97, n_mmucr},
    {98, n_pascr},
    {99, n_irmcr},
    {100, n_tra},
    {101, n_expevt},
    {102, n_intevt},
    // 103..110: cache, store queue and local memory control
    {103, n_ccr},
    {104, n_qacr0},
    {105, n_qacr1},
    {106, n_ramcr},
    {107, n_lsa0},
    {108, n_lsa1},
    {109, n_lda0},
    {110, n_lda1},
    // 111..112: processor and product version
    {111, n_pvr},
    {112, n_prr},
    // 113..134: user break controller: the two-channel layout, then the newer layout
    {113, n_bara},
    {114, n_bamra},
    {115, n_bbra},
    {116, n_barb},
    {117, n_bamrb},
    {118, n_bbrb},
    {119, n_bdrb},
    {120, n_bdmrb},
    {121, n_brcr},
    {122, n_cbr0},
    {123, n_crr0},
    {124, n_car0},
    {125, n_camr0},
    {126, n_cbr1},
    {127, n_crr1},
    {128, n_car1},
    {129, n_camr1},
    {130, n_cdr1},
    {131, n_cdmr1},
    {132, n_cetr1},
    {133, n_ccmfr},
    {134, n_cbcr},
    // 135..140: performance counters
    {135, n_pmcr1},
    {136, n_pmcr2},
    {137, n_pmctr1h},
    {138, n_pmctr1l},
    {139, n_pmctr2h},
    {140, n_pmctr2l},
    // 141..142: interrupt register bank control
    {141, n_ibcr},
    {142, n_ibnr},
    // 143..162: vectors fv0..fv12, then the double-precision pairs xd0..xd14 and fdr0..fdr14
    {143, n_fv0},
    {144, n_fv4},
    {145, n_fv8},
    {146, n_fv12},
    {147, n_xd0},
    {148, n_xd2},
    {149, n_xd4},
    {150, n_xd6},
    {151, n_xd8},
    {152, n_xd10},
    {153, n_xd12},
    {154, n_xd14},
    {155, n_fdr0},
    {156, n_fdr2},
    {157, n_fdr4},
    {158, n_fdr6},
    {159, n_fdr8},
    {160, n_fdr10},
    {161, n_fdr12},
    {162, n_fdr14},
};

} // namespace

const RegisterIdTable kSuperHRegisterTable = {"SuperH", kEntries,
                                              static_cast<int32_t>(std::size(kEntries))};
