// Register ids of the Power Architecture (PowerPC) family (major CPU type 16): 1619 ids, 909 of
// them mapped.
//
// Entry i describes register id i. A mapped entry lists the register's own name first, then the
// other names it answers to; an unmapped id has kUnmappedRegisterId and no name list.
//
// r3 is both the first-argument and the return-value register of the calling convention
// (fstargreg, rtnreg); r13 is the small-data base (rctoc).
//
// Layout:
//   0..31      general registers
//   32..95     64-bit general registers as word pairs: low word (plain name), high word (x
//              suffix)
//   96..101    program counter, condition, link and count registers, fixed- and floating-point
//              status
//   102..133   floating-point registers
//   134..165   identification and implementation registers
//   166        unmapped
//   167..200   machine state, segment and supervisor registers
//   201..232   block address translation, instruction then data
//   233..242   software table search
//   243        unmapped
//   244..275   performance monitor: supervisor registers, then the user-readable copies
//   276..321   64-bit server registers
//   322..323   unmapped
//   324..402   embedded exception, timer and debug registers; interrupt vector offsets 0..15,
//              then 32..47 (43..47 reserved)
//   403..407   unmapped
//   408..439   embedded memory management
//   440..447   unmapped
//   448..479   embedded hypervisor: guest copies, external proxy and logical partition
//   480..511   unmapped
//   512..575   embedded performance monitor, eight ids per kind (user copies first)
//   576..599   level-1 and level-2 cache control
//   600..607   unmapped
//   608..623   registers of single classic cores (breakpoint masks, memory base, quantisation)
//   624..661   unmapped
//   662..667   signal-processing unit and branch unit
//   668..671   unmapped
//   672..695   embedded core configuration, power and thread management
//   696..703   unmapped
//   704..719   64-bit server registers, second block (the first block is full)
//   720..767   unmapped
//   768..1025  vector-scalar registers vs0..vs63, one id per 32-bit word (vs32..vs63 also answer
//              to vr0..vr31), then vscr and vrsave
//   1026..1087 unmapped
//   1088..1111 as_: development support (comparators, counters, debug enable, port data)
//   1112..1215 unmapped
//   1216..1250 as_: cache and MMU control of the cores with the development-support interface
//   1251..1343 unmapped
//   1344..1363 as_: memory protection and bus control of the same cores
//   1364..1575 unmapped
//   1576..1618 cache debug, TLB victim limits and core configuration
//
// Ids 32..95 give cores with 64-bit general registers a word view of them: the low word keeps the
// plain register name, so r0..r31 appear twice in this table (ids 0..31 and the even ids 32..94),
// and the high word adds x. The same rule splits each 128-bit vector-scalar register into four
// word ids with the suffixes _1.._3.
//
// Holes inside a group are numbers the architecture reserves (interrupt vector offsets 43..47) or
// padding that starts the next kind of register on a boundary of eight or sixteen ids (the
// embedded monitor has six registers of each kind in eight ids). From 1088 on every as_ group
// owns a block of 128 ids, and its unused ids stay unmapped so that the group can grow without
// moving the ids after it; the ids between the last as_ block and the final group are not given
// out. The as_ prefix keeps these registers apart from same-named ones of other cores (as_ictrl
// is not ictrl).

#include "awareness/register_tables.h"

#include <iterator>

namespace {

const char* const n_r0[] = {"r0", nullptr};
const char* const n_r1[] = {"r1", "sp", nullptr};
const char* const n_r2[] = {"r2", nullptr};
const char* const n_r3[] = {"r3", "fstargreg", "rtnreg", nullptr};
const char* const n_r4[] = {"r4", nullptr};
const char* const n_r5[] = {"r5", nullptr};
const char* const n_r6[] = {"r6", nullptr};
const char* const n_r7[] = {"r7", nullptr};
const char* const n_r8[] = {"r8", nullptr};
const char* const n_r9[] = {"r9", nullptr};
const char* const n_r10[] = {"r10", nullptr};
const char* const n_r11[] = {"r11", nullptr};
const char* const n_r12[] = {"r12", nullptr};
const char* const n_r13[] = {"r13", "rctoc", nullptr};
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
const char* const n_r30[] = {"r30", nullptr};
const char* const n_r31[] = {"r31", nullptr};
const char* const n_r0_id32[] = {"r0", nullptr};
const char* const n_r0x[] = {"r0x", nullptr};
const char* const n_r1_id34[] = {"r1", nullptr};
const char* const n_r1x[] = {"r1x", nullptr};
const char* const n_r2_id36[] = {"r2", nullptr};
const char* const n_r2x[] = {"r2x", nullptr};
const char* const n_r3_id38[] = {"r3", nullptr};
const char* const n_r3x[] = {"r3x", nullptr};
const char* const n_r4_id40[] = {"r4", nullptr};
const char* const n_r4x[] = {"r4x", nullptr};
const char* const n_r5_id42[] = {"r5", nullptr};
const char* const n_r5x[] = {"r5x", nullptr};
const char* const n_r6_id44[] = {"r6", nullptr};
const char* const n_r6x[] = {"r6x", nullptr};
const char* const n_r7_id46[] = {"r7", nullptr};
const char* const n_r7x[] = {"r7x", nullptr};
const char* const n_r8_id48[] = {"r8", nullptr};
const char* const n_r8x[] = {"r8x", nullptr};
const char* const n_r9_id50[] = {"r9", nullptr};
const char* const n_r9x[] = {"r9x", nullptr};
const char* const n_r10_id52[] = {"r10", nullptr};
const char* const n_r10x[] = {"r10x", nullptr};
const char* const n_r11_id54[] = {"r11", nullptr};
const char* const n_r11x[] = {"r11x", nullptr};
const char* const n_r12_id56[] = {"r12", nullptr};
const char* const n_r12x[] = {"r12x", nullptr};
const char* const n_r13_id58[] = {"r13", nullptr};
const char* const n_r13x[] = {"r13x", nullptr};
const char* const n_r14_id60[] = {"r14", nullptr};
const char* const n_r14x[] = {"r14x", nullptr};
const char* const n_r15_id62[] = {"r15", nullptr};
const char* const n_r15x[] = {"r15x", nullptr};
const char* const n_r16_id64[] = {"r16", nullptr};
const char* const n_r16x[] = {"r16x", nullptr};
const char* const n_r17_id66[] = {"r17", nullptr};
const char* const n_r17x[] = {"r17x", nullptr};
const char* const n_r18_id68[] = {"r18", nullptr};
const char* const n_r18x[] = {"r18x", nullptr};
const char* const n_r19_id70[] = {"r19", nullptr};
const char* const n_r19x[] = {"r19x", nullptr};
const char* const n_r20_id72[] = {"r20", nullptr};
const char* const n_r20x[] = {"r20x", nullptr};
const char* const n_r21_id74[] = {"r21", nullptr};
const char* const n_r21x[] = {"r21x", nullptr};
const char* const n_r22_id76[] = {"r22", nullptr};
const char* const n_r22x[] = {"r22x", nullptr};
const char* const n_r23_id78[] = {"r23", nullptr};
const char* const n_r23x[] = {"r23x", nullptr};
const char* const n_r24_id80[] = {"r24", nullptr};
const char* const n_r24x[] = {"r24x", nullptr};
const char* const n_r25_id82[] = {"r25", nullptr};
const char* const n_r25x[] = {"r25x", nullptr};
const char* const n_r26_id84[] = {"r26", nullptr};
const char* const n_r26x[] = {"r26x", nullptr};
const char* const n_r27_id86[] = {"r27", nullptr};
const char* const n_r27x[] = {"r27x", nullptr};
const char* const n_r28_id88[] = {"r28", nullptr};
const char* const n_r28x[] = {"r28x", nullptr};
const char* const n_r29_id90[] = {"r29", nullptr};
const char* const n_r29x[] = {"r29x", nullptr};
const char* const n_r30_id92[] = {"r30", nullptr};
const char* const n_r30x[] = {"r30x", nullptr};
const char* const n_r31_id94[] = {"r31", nullptr};
const char* const n_r31x[] = {"r31x", nullptr};
const char* const n_pc[] = {"pc", nullptr};
const char* const n_cr[] = {"cr", nullptr};
const char* const n_lr[] = {"lr", nullptr};
const char* const n_ctr[] = {"ctr", nullptr};
const char* const n_xer[] = {"xer", nullptr};
const char* const n_fpscr[] = {"fpscr", nullptr};
const char* const n_f0[] = {"f0", nullptr};
const char* const n_f1[] = {"f1", nullptr};
const char* const n_f2[] = {"f2", nullptr};
const char* const n_f3[] = {"f3", nullptr};
const char* const n_f4[] = {"f4", nullptr};
const char* const n_f5[] = {"f5", nullptr};
const char* const n_f6[] = {"f6", nullptr};
const char* const n_f7[] = {"f7", nullptr};
const char* const n_f8[] = {"f8", nullptr};
const char* const n_f9[] = {"f9", nullptr};
const char* const n_f10[] = {"f10", nullptr};
const char* const n_f11[] = {"f11", nullptr};
const char* const n_f12[] = {"f12", nullptr};
const char* const n_f13[] = {"f13", nullptr};
const char* const n_f14[] = {"f14", nullptr};
const char* const n_f15[] = {"f15", nullptr};
const char* const n_f16[] = {"f16", nullptr};
const char* const n_f17[] = {"f17", nullptr};
const char* const n_f18[] = {"f18", nullptr};
const char* const n_f19[] = {"f19", nullptr};
const char* const n_f20[] = {"f20", nullptr};
const char* const n_f21[] = {"f21", nullptr};
const char* const n_f22[] = {"f22", nullptr};
const char* const n_f23[] = {"f23", nullptr};
const char* const n_f24[] = {"f24", nullptr};
const char* const n_f25[] = {"f25", nullptr};
const char* const n_f26[] = {"f26", nullptr};
const char* const n_f27[] = {"f27", nullptr};
const char* const n_f28[] = {"f28", nullptr};
const char* const n_f29[] = {"f29", nullptr};
const char* const n_f30[] = {"f30", nullptr};
const char* const n_f31[] = {"f31", nullptr};
const char* const n_pvr[] = {"pvr", nullptr};
const char* const n_svr[] = {"svr", nullptr};
const char* const n_hid0[] = {"hid0", nullptr};
const char* const n_hid1[] = {"hid1", nullptr};
const char* const n_hid2[] = {"hid2", nullptr};
const char* const n_hid4[] = {"hid4", nullptr};
const char* const n_hid5[] = {"hid5", nullptr};
const char* const n_hid6[] = {"hid6", nullptr};
const char* const n_pir[] = {"pir", nullptr};
const char* const n_iabr[] = {"iabr", nullptr};
const char* const n_iabr2[] = {"iabr2", nullptr};
const char* const n_dabr[] = {"dabr", nullptr};
const char* const n_dabr2[] = {"dabr2", nullptr};
const char* const n_dabrx[] = {"dabrx", nullptr};
const char* const n_ictc[] = {"ictc", nullptr};
const char* const n_thrm1[] = {"thrm1", nullptr};
const char* const n_thrm2[] = {"thrm2", nullptr};
const char* const n_thrm3[] = {"thrm3", nullptr};
const char* const n_l2cr[] = {"l2cr", nullptr};
const char* const n_l3cr[] = {"l3cr", nullptr};
const char* const n_l2pmcr[] = {"l2pmcr", nullptr};
const char* const n_l3pm[] = {"l3pm", nullptr};
const char* const n_l3itcr0[] = {"l3itcr0", nullptr};
const char* const n_l3itcr1[] = {"l3itcr1", nullptr};
const char* const n_l3itcr2[] = {"l3itcr2", nullptr};
const char* const n_l3itcr3[] = {"l3itcr3", nullptr};
const char* const n_l3ohcr[] = {"l3ohcr", nullptr};
const char* const n_msscr0[] = {"msscr0", nullptr};
const char* const n_msscr1[] = {"msscr1", nullptr};
const char* const n_ldstcr[] = {"ldstcr", nullptr};
const char* const n_ictrl[] = {"ictrl", nullptr};
const char* const n_ldstdb[] = {"ldstdb", nullptr};
const char* const n_msr[] = {"msr", nullptr};
const char* const n_sr0[] = {"sr0", nullptr};
const char* const n_sr1[] = {"sr1", nullptr};
const char* const n_sr2[] = {"sr2", nullptr};
const char* const n_sr3[] = {"sr3", nullptr};
const char* const n_sr4[] = {"sr4", nullptr};
const char* const n_sr5[] = {"sr5", nullptr};
const char* const n_sr6[] = {"sr6", nullptr};
const char* const n_sr7[] = {"sr7", nullptr};
const char* const n_sr8[] = {"sr8", nullptr};
const char* const n_sr9[] = {"sr9", nullptr};
const char* const n_sr10[] = {"sr10", nullptr};
const char* const n_sr11[] = {"sr11", nullptr};
const char* const n_sr12[] = {"sr12", nullptr};
const char* const n_sr13[] = {"sr13", nullptr};
const char* const n_sr14[] = {"sr14", nullptr};
const char* const n_sr15[] = {"sr15", nullptr};
const char* const n_sdr1[] = {"sdr1", nullptr};
const char* const n_dar[] = {"dar", nullptr};
const char* const n_dsisr[] = {"dsisr", nullptr};
const char* const n_srr0[] = {"srr0", nullptr};
const char* const n_srr1[] = {"srr1", nullptr};
const char* const n_sprg0[] = {"sprg0", nullptr};
const char* const n_sprg1[] = {"sprg1", nullptr};
const char* const n_sprg2[] = {"sprg2", nullptr};
const char* const n_sprg3[] = {"sprg3", nullptr};
const char* const n_sprg4[] = {"sprg4", nullptr};
const char* const n_sprg5[] = {"sprg5", nullptr};
const char* const n_sprg6[] = {"sprg6", nullptr};
const char* const n_sprg7[] = {"sprg7", nullptr};
const char* const n_dec[] = {"dec", nullptr};
const char* const n_tbl[] = {"tbl", nullptr};
const char* const n_tbu[] = {"tbu", nullptr};
const char* const n_ear[] = {"ear", nullptr};
const char* const n_ibat0u[] = {"ibat0u", nullptr};
const char* const n_ibat0l[] = {"ibat0l", nullptr};
const char* const n_ibat1u[] = {"ibat1u", nullptr};
const char* const n_ibat1l[] = {"ibat1l", nullptr};
const char* const n_ibat2u[] = {"ibat2u", nullptr};
const char* const n_ibat2l[] = {"ibat2l", nullptr};
const char* const n_ibat3u[] = {"ibat3u", nullptr};
const char* const n_ibat3l[] = {"ibat3l", nullptr};
const char* const n_ibat4u[] = {"ibat4u", nullptr};
const char* const n_ibat4l[] = {"ibat4l", nullptr};
const char* const n_ibat5u[] = {"ibat5u", nullptr};
const char* const n_ibat5l[] = {"ibat5l", nullptr};
const char* const n_ibat6u[] = {"ibat6u", nullptr};
const char* const n_ibat6l[] = {"ibat6l", nullptr};
const char* const n_ibat7u[] = {"ibat7u", nullptr};
const char* const n_ibat7l[] = {"ibat7l", nullptr};
const char* const n_dbat0u[] = {"dbat0u", nullptr};
const char* const n_dbat0l[] = {"dbat0l", nullptr};
const char* const n_dbat1u[] = {"dbat1u", nullptr};
const char* const n_dbat1l[] = {"dbat1l", nullptr};
const char* const n_dbat2u[] = {"dbat2u", nullptr};
const char* const n_dbat2l[] = {"dbat2l", nullptr};
const char* const n_dbat3u[] = {"dbat3u", nullptr};
const char* const n_dbat3l[] = {"dbat3l", nullptr};
const char* const n_dbat4u[] = {"dbat4u", nullptr};
const char* const n_dbat4l[] = {"dbat4l", nullptr};
const char* const n_dbat5u[] = {"dbat5u", nullptr};
const char* const n_dbat5l[] = {"dbat5l", nullptr};
const char* const n_dbat6u[] = {"dbat6u", nullptr};
const char* const n_dbat6l[] = {"dbat6l", nullptr};
const char* const n_dbat7u[] = {"dbat7u", nullptr};
const char* const n_dbat7l[] = {"dbat7l", nullptr};
const char* const n_dmiss[] = {"dmiss", nullptr};
const char* const n_dcmp[] = {"dcmp", nullptr};
const char* const n_hash1[] = {"hash1", nullptr};
const char* const n_hash2[] = {"hash2", nullptr};
const char* const n_imiss[] = {"imiss", nullptr};
const char* const n_icmp[] = {"icmp", nullptr};
const char* const n_rpa[] = {"rpa", nullptr};
const char* const n_tlbmiss[] = {"tlbmiss", nullptr};
const char* const n_ptehi[] = {"ptehi", nullptr};
const char* const n_ptelo[] = {"ptelo", nullptr};
const char* const n_mmcr0[] = {"mmcr0", nullptr};
const char* const n_mmcr1[] = {"mmcr1", nullptr};
const char* const n_mmcr2[] = {"mmcr2", nullptr};
const char* const n_pmc1[] = {"pmc1", nullptr};
const char* const n_pmc2[] = {"pmc2", nullptr};
const char* const n_pmc3[] = {"pmc3", nullptr};
const char* const n_pmc4[] = {"pmc4", nullptr};
const char* const n_pmc5[] = {"pmc5", nullptr};
const char* const n_pmc6[] = {"pmc6", nullptr};
const char* const n_sia[] = {"sia", nullptr};
const char* const n_sda[] = {"sda", nullptr};
const char* const n_ummcr0[] = {"ummcr0", nullptr};
const char* const n_ummcr1[] = {"ummcr1", nullptr};
const char* const n_ummcr2[] = {"ummcr2", nullptr};
const char* const n_upmc1[] = {"upmc1", nullptr};
const char* const n_upmc2[] = {"upmc2", nullptr};
const char* const n_upmc3[] = {"upmc3", nullptr};
const char* const n_upmc4[] = {"upmc4", nullptr};
const char* const n_upmc5[] = {"upmc5", nullptr};
const char* const n_upmc6[] = {"upmc6", nullptr};
const char* const n_usia[] = {"usia", nullptr};
const char* const n_usda[] = {"usda", nullptr};
const char* const n_asr[] = {"asr", nullptr};
const char* const n_ctrl[] = {"ctrl", nullptr};
const char* const n_hsprg0[] = {"hsprg0", nullptr};
const char* const n_hsprg1[] = {"hsprg1", nullptr};
const char* const n_hdec[] = {"hdec", nullptr};
const char* const n_hior[] = {"hior", nullptr};
const char* const n_hrmor[] = {"hrmor", nullptr};
const char* const n_lpcr[] = {"lpcr", nullptr};
const char* const n_lpidr[] = {"lpidr", nullptr};
const char* const n_hsrr0[] = {"hsrr0", nullptr};
const char* const n_hsrr1[] = {"hsrr1", nullptr};
const char* const n_hdsisr[] = {"hdsisr", nullptr};
const char* const n_hdar[] = {"hdar", nullptr};
const char* const n_purr[] = {"purr", nullptr};
const char* const n_spurr[] = {"spurr", nullptr};
const char* const n_cfar[] = {"cfar", nullptr};
const char* const n_ppr[] = {"ppr", nullptr};
const char* const n_dscr[] = {"dscr", nullptr};
const char* const n_amr[] = {"amr", nullptr};
const char* const n_iamr[] = {"iamr", nullptr};
const char* const n_uamor[] = {"uamor", nullptr};
const char* const n_amor[] = {"amor", nullptr};
const char* const n_tar[] = {"tar", nullptr};
const char* const n_fscr[] = {"fscr", nullptr};
const char* const n_hfscr[] = {"hfscr", nullptr};
const char* const n_vtb[] = {"vtb", nullptr};
const char* const n_pcr[] = {"pcr", nullptr};
const char* const n_heir[] = {"heir", nullptr};
const char* const n_hmer[] = {"hmer", nullptr};
const char* const n_hmeer[] = {"hmeer", nullptr};
const char* const n_tfhar[] = {"tfhar", nullptr};
const char* const n_tfiar[] = {"tfiar", nullptr};
const char* const n_texasr[] = {"texasr", nullptr};
const char* const n_texasru[] = {"texasru", nullptr};
const char* const n_ebbhr[] = {"ebbhr", nullptr};
const char* const n_ebbrr[] = {"ebbrr", nullptr};
const char* const n_bescr[] = {"bescr", nullptr};
const char* const n_mmcra[] = {"mmcra", nullptr};
const char* const n_siar[] = {"siar", nullptr};
const char* const n_sdar[] = {"sdar", nullptr};
const char* const n_sier[] = {"sier", nullptr};
const char* const n_dawr0[] = {"dawr0", nullptr};
const char* const n_dawrx0[] = {"dawrx0", nullptr};
const char* const n_ciabr[] = {"ciabr", nullptr};
const char* const n_psscr[] = {"psscr", nullptr};
const char* const n_ptcr[] = {"ptcr", nullptr};
const char* const n_srr2[] = {"srr2", "csrr0", nullptr};
const char* const n_srr3[] = {"srr3", "csrr1", nullptr};
const char* const n_dear[] = {"dear", nullptr};
const char* const n_esr[] = {"esr", nullptr};
const char* const n_ivpr[] = {"ivpr", "evpr", nullptr};
const char* const n_ivor0[] = {"ivor0", nullptr};
const char* const n_ivor1[] = {"ivor1", nullptr};
const char* const n_ivor2[] = {"ivor2", nullptr};
const char* const n_ivor3[] = {"ivor3", nullptr};
const char* const n_ivor4[] = {"ivor4", nullptr};
const char* const n_ivor5[] = {"ivor5", nullptr};
const char* const n_ivor6[] = {"ivor6", nullptr};
const char* const n_ivor7[] = {"ivor7", nullptr};
const char* const n_ivor8[] = {"ivor8", nullptr};
const char* const n_ivor9[] = {"ivor9", nullptr};
const char* const n_ivor10[] = {"ivor10", nullptr};
const char* const n_ivor11[] = {"ivor11", nullptr};
const char* const n_ivor12[] = {"ivor12", nullptr};
const char* const n_ivor13[] = {"ivor13", nullptr};
const char* const n_ivor14[] = {"ivor14", nullptr};
const char* const n_ivor15[] = {"ivor15", nullptr};
const char* const n_ivor32[] = {"ivor32", nullptr};
const char* const n_ivor33[] = {"ivor33", nullptr};
const char* const n_ivor34[] = {"ivor34", nullptr};
const char* const n_ivor35[] = {"ivor35", nullptr};
const char* const n_ivor36[] = {"ivor36", nullptr};
const char* const n_ivor37[] = {"ivor37", nullptr};
const char* const n_ivor38[] = {"ivor38", nullptr};
const char* const n_ivor39[] = {"ivor39", nullptr};
const char* const n_ivor40[] = {"ivor40", nullptr};
const char* const n_ivor41[] = {"ivor41", nullptr};
const char* const n_ivor42[] = {"ivor42", nullptr};
const char* const n_mcsrr0[] = {"mcsrr0", nullptr};
const char* const n_mcsrr1[] = {"mcsrr1", nullptr};
const char* const n_mcsr[] = {"mcsr", nullptr};
const char* const n_mcar[] = {"mcar", nullptr};
const char* const n_mcaru[] = {"mcaru", nullptr};
const char* const n_dsrr0[] = {"dsrr0", nullptr};
const char* const n_dsrr1[] = {"dsrr1", nullptr};
const char* const n_tcr[] = {"tcr", nullptr};
const char* const n_tsr[] = {"tsr", nullptr};
const char* const n_decar[] = {"decar", nullptr};
const char* const n_pit[] = {"pit", nullptr};
const char* const n_usprg0[] = {"usprg0", nullptr};
const char* const n_sprg8[] = {"sprg8", nullptr};
const char* const n_sprg9[] = {"sprg9", nullptr};
const char* const n_dbcr0[] = {"dbcr0", nullptr};
const char* const n_dbcr1[] = {"dbcr1", nullptr};
const char* const n_dbcr2[] = {"dbcr2", nullptr};
const char* const n_dbcr3[] = {"dbcr3", nullptr};
const char* const n_dbcr4[] = {"dbcr4", nullptr};
const char* const n_dbcr5[] = {"dbcr5", nullptr};
const char* const n_dbcr6[] = {"dbcr6", nullptr};
const char* const n_dbsr[] = {"dbsr", nullptr};
const char* const n_dbsrwr[] = {"dbsrwr", nullptr};
const char* const n_dbcnt[] = {"dbcnt", nullptr};
const char* const n_devent[] = {"devent", nullptr};
const char* const n_ddam[] = {"ddam", nullptr};
const char* const n_iac1[] = {"iac1", nullptr};
const char* const n_iac2[] = {"iac2", nullptr};
const char* const n_iac3[] = {"iac3", nullptr};
const char* const n_iac4[] = {"iac4", nullptr};
const char* const n_iac5[] = {"iac5", nullptr};
const char* const n_iac6[] = {"iac6", nullptr};
const char* const n_iac7[] = {"iac7", nullptr};
const char* const n_iac8[] = {"iac8", nullptr};
const char* const n_dac1[] = {"dac1", nullptr};
const char* const n_dac2[] = {"dac2", nullptr};
const char* const n_dvc1[] = {"dvc1", nullptr};
const char* const n_dvc2[] = {"dvc2", nullptr};
const char* const n_nspd[] = {"nspd", nullptr};
const char* const n_nspc[] = {"nspc", nullptr};
const char* const n_pid0[] = {"pid0", "pid", nullptr};
const char* const n_pid1[] = {"pid1", nullptr};
const char* const n_pid2[] = {"pid2", nullptr};
const char* const n_mmucr[] = {"mmucr", nullptr};
const char* const n_zpr[] = {"zpr", nullptr};
const char* const n_lpid[] = {"lpid", nullptr};
const char* const n_mas0[] = {"mas0", nullptr};
const char* const n_mas1[] = {"mas1", nullptr};
const char* const n_mas2[] = {"mas2", nullptr};
const char* const n_mas3[] = {"mas3", nullptr};
const char* const n_mas4[] = {"mas4", nullptr};
const char* const n_mas5[] = {"mas5", nullptr};
const char* const n_mas6[] = {"mas6", nullptr};
const char* const n_mas7[] = {"mas7", nullptr};
const char* const n_mas8[] = {"mas8", nullptr};
const char* const n_mmucfg[] = {"mmucfg", nullptr};
const char* const n_mmucsr0[] = {"mmucsr0", nullptr};
const char* const n_eptcfg[] = {"eptcfg", nullptr};
const char* const n_tlb0cfg[] = {"tlb0cfg", nullptr};
const char* const n_tlb1cfg[] = {"tlb1cfg", nullptr};
const char* const n_tlb2cfg[] = {"tlb2cfg", nullptr};
const char* const n_tlb3cfg[] = {"tlb3cfg", nullptr};
const char* const n_tlb0ps[] = {"tlb0ps", nullptr};
const char* const n_tlb1ps[] = {"tlb1ps", nullptr};
const char* const n_tlb2ps[] = {"tlb2ps", nullptr};
const char* const n_tlb3ps[] = {"tlb3ps", nullptr};
const char* const n_gsprg0[] = {"gsprg0", nullptr};
const char* const n_gsprg1[] = {"gsprg1", nullptr};
const char* const n_gsprg2[] = {"gsprg2", nullptr};
const char* const n_gsprg3[] = {"gsprg3", nullptr};
const char* const n_gsrr0[] = {"gsrr0", nullptr};
const char* const n_gsrr1[] = {"gsrr1", nullptr};
const char* const n_gepr[] = {"gepr", nullptr};
const char* const n_gdear[] = {"gdear", nullptr};
const char* const n_gpir[] = {"gpir", nullptr};
const char* const n_gesr[] = {"gesr", nullptr};
const char* const n_givpr[] = {"givpr", nullptr};
const char* const n_givor2[] = {"givor2", nullptr};
const char* const n_givor3[] = {"givor3", nullptr};
const char* const n_givor4[] = {"givor4", nullptr};
const char* const n_givor8[] = {"givor8", nullptr};
const char* const n_givor13[] = {"givor13", nullptr};
const char* const n_givor14[] = {"givor14", nullptr};
const char* const n_eplc[] = {"eplc", nullptr};
const char* const n_epsc[] = {"epsc", nullptr};
const char* const n_epr[] = {"epr", nullptr};
const char* const n_msrp[] = {"msrp", nullptr};
const char* const n_lper[] = {"lper", nullptr};
const char* const n_lperu[] = {"lperu", nullptr};
const char* const n_pmr_upmc0[] = {"pmr_upmc0", nullptr};
const char* const n_pmr_upmc1[] = {"pmr_upmc1", nullptr};
const char* const n_pmr_upmc2[] = {"pmr_upmc2", nullptr};
const char* const n_pmr_upmc3[] = {"pmr_upmc3", nullptr};
const char* const n_pmr_upmc4[] = {"pmr_upmc4", nullptr};
const char* const n_pmr_upmc5[] = {"pmr_upmc5", nullptr};
const char* const n_pmr_pmc0[] = {"pmr_pmc0", nullptr};
const char* const n_pmr_pmc1[] = {"pmr_pmc1", nullptr};
const char* const n_pmr_pmc2[] = {"pmr_pmc2", nullptr};
const char* const n_pmr_pmc3[] = {"pmr_pmc3", nullptr};
const char* const n_pmr_pmc4[] = {"pmr_pmc4", nullptr};
const char* const n_pmr_pmc5[] = {"pmr_pmc5", nullptr};
const char* const n_pmr_upmlca0[] = {"pmr_upmlca0", nullptr};
const char* const n_pmr_upmlca1[] = {"pmr_upmlca1", nullptr};
const char* const n_pmr_upmlca2[] = {"pmr_upmlca2", nullptr};
const char* const n_pmr_upmlca3[] = {"pmr_upmlca3", nullptr};
const char* const n_pmr_upmlca4[] = {"pmr_upmlca4", nullptr};
const char* const n_pmr_upmlca5[] = {"pmr_upmlca5", nullptr};
const char* const n_pmr_pmlca0[] = {"pmr_pmlca0", nullptr};
const char* const n_pmr_pmlca1[] = {"pmr_pmlca1", nullptr};
const char* const n_pmr_pmlca2[] = {"pmr_pmlca2", nullptr};
const char* const n_pmr_pmlca3[] = {"pmr_pmlca3", nullptr};
const char* const n_pmr_pmlca4[] = {"pmr_pmlca4", nullptr};
const char* const n_pmr_pmlca5[] = {"pmr_pmlca5", nullptr};
const char* const n_pmr_upmlcb0[] = {"pmr_upmlcb0", nullptr};
const char* const n_pmr_upmlcb1[] = {"pmr_upmlcb1", nullptr};
const char* const n_pmr_upmlcb2[] = {"pmr_upmlcb2", nullptr};
const char* const n_pmr_upmlcb3[] = {"pmr_upmlcb3", nullptr};
const char* const n_pmr_upmlcb4[] = {"pmr_upmlcb4", nullptr};
const char* const n_pmr_upmlcb5[] = {"pmr_upmlcb5", nullptr};
const char* const n_pmr_pmlcb0[] = {"pmr_pmlcb0", nullptr};
const char* const n_pmr_pmlcb1[] = {"pmr_pmlcb1", nullptr};
const char* const n_pmr_pmlcb2[] = {"pmr_pmlcb2", nullptr};
const char* const n_pmr_pmlcb3[] = {"pmr_pmlcb3", nullptr};
const char* const n_pmr_pmlcb4[] = {"pmr_pmlcb4", nullptr};
const char* const n_pmr_pmlcb5[] = {"pmr_pmlcb5", nullptr};
const char* const n_pmr_upmgc0[] = {"pmr_upmgc0", nullptr};
const char* const n_pmr_pmgc0[] = {"pmr_pmgc0", nullptr};
const char* const n_l1cfg0[] = {"l1cfg0", nullptr};
const char* const n_l1cfg1[] = {"l1cfg1", nullptr};
const char* const n_l1csr0[] = {"l1csr0", nullptr};
const char* const n_l1csr1[] = {"l1csr1", nullptr};
const char* const n_l1csr2[] = {"l1csr2", nullptr};
const char* const n_l1finv0[] = {"l1finv0", nullptr};
const char* const n_l1finv1[] = {"l1finv1", nullptr};
const char* const n_l2cfg0[] = {"l2cfg0", nullptr};
const char* const n_l2csr0[] = {"l2csr0", nullptr};
const char* const n_l2csr1[] = {"l2csr1", nullptr};
const char* const n_l2errdis[] = {"l2errdis", nullptr};
const char* const n_l2errinten[] = {"l2errinten", nullptr};
const char* const n_l2errattr[] = {"l2errattr", nullptr};
const char* const n_l2erraddr[] = {"l2erraddr", nullptr};
const char* const n_l2erreaddr[] = {"l2erreaddr", nullptr};
const char* const n_l2errctl[] = {"l2errctl", nullptr};
const char* const n_l2errdet[] = {"l2errdet", nullptr};
const char* const n_l2errinjhi[] = {"l2errinjhi", nullptr};
const char* const n_l2errinjlo[] = {"l2errinjlo", nullptr};
const char* const n_l2errinjctl[] = {"l2errinjctl", nullptr};
const char* const n_l2captdatahi[] = {"l2captdatahi", nullptr};
const char* const n_l2captdatalo[] = {"l2captdatalo", nullptr};
const char* const n_l2captecc[] = {"l2captecc", nullptr};
const char* const n_bamr[] = {"bamr", nullptr};
const char* const n_ibcr[] = {"ibcr", nullptr};
const char* const n_dbcr[] = {"dbcr", nullptr};
const char* const n_mbar[] = {"mbar", nullptr};
const char* const n_wpar[] = {"wpar", nullptr};
const char* const n_dmau[] = {"dmau", nullptr};
const char* const n_dmal[] = {"dmal", nullptr};
const char* const n_gqr0[] = {"gqr0", nullptr};
const char* const n_gqr1[] = {"gqr1", nullptr};
const char* const n_gqr2[] = {"gqr2", nullptr};
const char* const n_gqr3[] = {"gqr3", nullptr};
const char* const n_gqr4[] = {"gqr4", nullptr};
const char* const n_gqr5[] = {"gqr5", nullptr};
const char* const n_gqr6[] = {"gqr6", nullptr};
const char* const n_gqr7[] = {"gqr7", nullptr};
const char* const n_sscr[] = {"sscr", "spefscr", nullptr};
const char* const n_acc[] = {"acc", nullptr};
const char* const n_accx[] = {"accx", nullptr};
const char* const n_bucsr[] = {"bucsr", nullptr};
const char* const n_bbear[] = {"bbear", nullptr};
const char* const n_bbtar[] = {"bbtar", nullptr};
const char* const n_dmemcfg0[] = {"dmemcfg0", nullptr};
const char* const n_imemcfg0[] = {"imemcfg0", nullptr};
const char* const n_mpu0cfg[] = {"mpu0cfg", nullptr};
const char* const n_mpu0csr0[] = {"mpu0csr0", nullptr};
const char* const n_cdcsr0[] = {"cdcsr0", nullptr};
const char* const n_pwrmgtcr0[] = {"pwrmgtcr0", nullptr};
const char* const n_edbrac0[] = {"edbrac0", nullptr};
const char* const n_hdbcr0[] = {"hdbcr0", nullptr};
const char* const n_hdbcr1[] = {"hdbcr1", nullptr};
const char* const n_hdbcr2[] = {"hdbcr2", nullptr};
const char* const n_hdbcr3[] = {"hdbcr3", nullptr};
const char* const n_hdbcr4[] = {"hdbcr4", nullptr};
const char* const n_hdbcr5[] = {"hdbcr5", nullptr};
const char* const n_hdbcr6[] = {"hdbcr6", nullptr};
const char* const n_hdbcr7[] = {"hdbcr7", nullptr};
const char* const n_tens[] = {"tens", nullptr};
const char* const n_tenc[] = {"tenc", nullptr};
const char* const n_tensr[] = {"tensr", nullptr};
const char* const n_tir[] = {"tir", nullptr};
const char* const n_ppr32[] = {"ppr32", nullptr};
const char* const n_asdr[] = {"asdr", nullptr};
const char* const n_pidr[] = {"pidr", nullptr};
const char* const n_dpdes[] = {"dpdes", nullptr};
const char* const n_dhdes[] = {"dhdes", nullptr};
const char* const n_rpr[] = {"rpr", nullptr};
const char* const n_pspb[] = {"pspb", nullptr};
const char* const n_tscr[] = {"tscr", nullptr};
const char* const n_ttr[] = {"ttr", nullptr};
const char* const n_trig0[] = {"trig0", nullptr};
const char* const n_trig1[] = {"trig1", nullptr};
const char* const n_trig2[] = {"trig2", nullptr};
const char* const n_ic[] = {"ic", nullptr};
const char* const n_mmcrh[] = {"mmcrh", nullptr};
const char* const n_lmrr[] = {"lmrr", nullptr};
const char* const n_lmser[] = {"lmser", nullptr};
const char* const n_dexcr[] = {"dexcr", nullptr};
const char* const n_vs0[] = {"vs0", nullptr};
const char* const n_vs0_1[] = {"vs0_1", nullptr};
const char* const n_vs0_2[] = {"vs0_2", nullptr};
const char* const n_vs0_3[] = {"vs0_3", nullptr};
const char* const n_vs1[] = {"vs1", nullptr};
const char* const n_vs1_1[] = {"vs1_1", nullptr};
const char* const n_vs1_2[] = {"vs1_2", nullptr};
const char* const n_vs1_3[] = {"vs1_3", nullptr};
const char* const n_vs2[] = {"vs2", nullptr};
const char* const n_vs2_1[] = {"vs2_1", nullptr};
const char* const n_vs2_2[] = {"vs2_2", nullptr};
const char* const n_vs2_3[] = {"vs2_3", nullptr};
const char* const n_vs3[] = {"vs3", nullptr};
const char* const n_vs3_1[] = {"vs3_1", nullptr};
const char* const n_vs3_2[] = {"vs3_2", nullptr};
const char* const n_vs3_3[] = {"vs3_3", nullptr};
const char* const n_vs4[] = {"vs4", nullptr};
const char* const n_vs4_1[] = {"vs4_1", nullptr};
const char* const n_vs4_2[] = {"vs4_2", nullptr};
const char* const n_vs4_3[] = {"vs4_3", nullptr};
const char* const n_vs5[] = {"vs5", nullptr};
const char* const n_vs5_1[] = {"vs5_1", nullptr};
const char* const n_vs5_2[] = {"vs5_2", nullptr};
const char* const n_vs5_3[] = {"vs5_3", nullptr};
const char* const n_vs6[] = {"vs6", nullptr};
const char* const n_vs6_1[] = {"vs6_1", nullptr};
const char* const n_vs6_2[] = {"vs6_2", nullptr};
const char* const n_vs6_3[] = {"vs6_3", nullptr};
const char* const n_vs7[] = {"vs7", nullptr};
const char* const n_vs7_1[] = {"vs7_1", nullptr};
const char* const n_vs7_2[] = {"vs7_2", nullptr};
const char* const n_vs7_3[] = {"vs7_3", nullptr};
const char* const n_vs8[] = {"vs8", nullptr};
const char* const n_vs8_1[] = {"vs8_1", nullptr};
const char* const n_vs8_2[] = {"vs8_2", nullptr};
const char* const n_vs8_3[] = {"vs8_3", nullptr};
const char* const n_vs9[] = {"vs9", nullptr};
const char* const n_vs9_1[] = {"vs9_1", nullptr};
const char* const n_vs9_2[] = {"vs9_2", nullptr};
const char* const n_vs9_3[] = {"vs9_3", nullptr};
const char* const n_vs10[] = {"vs10", nullptr};
const char* const n_vs10_1[] = {"vs10_1", nullptr};
const char* const n_vs10_2[] = {"vs10_2", nullptr};
const char* const n_vs10_3[] = {"vs10_3", nullptr};
const char* const n_vs11[] = {"vs11", nullptr};
const char* const n_vs11_1[] = {"vs11_1", nullptr};
const char* const n_vs11_2[] = {"vs11_2", nullptr};
const char* const n_vs11_3[] = {"vs11_3", nullptr};
const char* const n_vs12[] = {"vs12", nullptr};
const char* const n_vs12_1[] = {"vs12_1", nullptr};
const char* const n_vs12_2[] = {"vs12_2", nullptr};
const char* const n_vs12_3[] = {"vs12_3", nullptr};
const char* const n_vs13[] = {"vs13", nullptr};
const char* const n_vs13_1[] = {"vs13_1", nullptr};
const char* const n_vs13_2[] = {"vs13_2", nullptr};
const char* const n_vs13_3[] = {"vs13_3", nullptr};
const char* const n_vs14[] = {"vs14", nullptr};
const char* const n_vs14_1[] = {"vs14_1", nullptr};
const char* const n_vs14_2[] = {"vs14_2", nullptr};
const char* const n_vs14_3[] = {"vs14_3", nullptr};
const char* const n_vs15[] = {"vs15", nullptr};
const char* const n_vs15_1[] = {"vs15_1", nullptr};
const char* const n_vs15_2[] = {"vs15_2", nullptr};
const char* const n_vs15_3[] = {"vs15_3", nullptr};
const char* const n_vs16[] = {"vs16", nullptr};
const char* const n_vs16_1[] = {"vs16_1", nullptr};
const char* const n_vs16_2[] = {"vs16_2", nullptr};
const char* const n_vs16_3[] = {"vs16_3", nullptr};
const char* const n_vs17[] = {"vs17", nullptr};
const char* const n_vs17_1[] = {"vs17_1", nullptr};
const char* const n_vs17_2[] = {"vs17_2", nullptr};
const char* const n_vs17_3[] = {"vs17_3", nullptr};
const char* const n_vs18[] = {"vs18", nullptr};
const char* const n_vs18_1[] = {"vs18_1", nullptr};
const char* const n_vs18_2[] = {"vs18_2", nullptr};
const char* const n_vs18_3[] = {"vs18_3", nullptr};
const char* const n_vs19[] = {"vs19", nullptr};
const char* const n_vs19_1[] = {"vs19_1", nullptr};
const char* const n_vs19_2[] = {"vs19_2", nullptr};
const char* const n_vs19_3[] = {"vs19_3", nullptr};
const char* const n_vs20[] = {"vs20", nullptr};
const char* const n_vs20_1[] = {"vs20_1", nullptr};
const char* const n_vs20_2[] = {"vs20_2", nullptr};
const char* const n_vs20_3[] = {"vs20_3", nullptr};
const char* const n_vs21[] = {"vs21", nullptr};
const char* const n_vs21_1[] = {"vs21_1", nullptr};
const char* const n_vs21_2[] = {"vs21_2", nullptr};
const char* const n_vs21_3[] = {"vs21_3", nullptr};
const char* const n_vs22[] = {"vs22", nullptr};
const char* const n_vs22_1[] = {"vs22_1", nullptr};
const char* const n_vs22_2[] = {"vs22_2", nullptr};
const char* const n_vs22_3[] = {"vs22_3", nullptr};
const char* const n_vs23[] = {"vs23", nullptr};
const char* const n_vs23_1[] = {"vs23_1", nullptr};
const char* const n_vs23_2[] = {"vs23_2", nullptr};
const char* const n_vs23_3[] = {"vs23_3", nullptr};
const char* const n_vs24[] = {"vs24", nullptr};
const char* const n_vs24_1[] = {"vs24_1", nullptr};
const char* const n_vs24_2[] = {"vs24_2", nullptr};
const char* const n_vs24_3[] = {"vs24_3", nullptr};
const char* const n_vs25[] = {"vs25", nullptr};
const char* const n_vs25_1[] = {"vs25_1", nullptr};
const char* const n_vs25_2[] = {"vs25_2", nullptr};
const char* const n_vs25_3[] = {"vs25_3", nullptr};
const char* const n_vs26[] = {"vs26", nullptr};
const char* const n_vs26_1[] = {"vs26_1", nullptr};
const char* const n_vs26_2[] = {"vs26_2", nullptr};
const char* const n_vs26_3[] = {"vs26_3", nullptr};
const char* const n_vs27[] = {"vs27", nullptr};
const char* const n_vs27_1[] = {"vs27_1", nullptr};
const char* const n_vs27_2[] = {"vs27_2", nullptr};
const char* const n_vs27_3[] = {"vs27_3", nullptr};
const char* const n_vs28[] = {"vs28", nullptr};
const char* const n_vs28_1[] = {"vs28_1", nullptr};
const char* const n_vs28_2[] = {"vs28_2", nullptr};
const char* const n_vs28_3[] = {"vs28_3", nullptr};
const char* const n_vs29[] = {"vs29", nullptr};
const char* const n_vs29_1[] = {"vs29_1", nullptr};
const char* const n_vs29_2[] = {"vs29_2", nullptr};
const char* const n_vs29_3[] = {"vs29_3", nullptr};
const char* const n_vs30[] = {"vs30", nullptr};
const char* const n_vs30_1[] = {"vs30_1", nullptr};
const char* const n_vs30_2[] = {"vs30_2", nullptr};
const char* const n_vs30_3[] = {"vs30_3", nullptr};
const char* const n_vs31[] = {"vs31", nullptr};
const char* const n_vs31_1[] = {"vs31_1", nullptr};
const char* const n_vs31_2[] = {"vs31_2", nullptr};
const char* const n_vs31_3[] = {"vs31_3", nullptr};
const char* const n_vs32[] = {"vs32", "vr0", nullptr};
const char* const n_vs32_1[] = {"vs32_1", "vr0_1", nullptr};
const char* const n_vs32_2[] = {"vs32_2", "vr0_2", nullptr};
const char* const n_vs32_3[] = {"vs32_3", "vr0_3", nullptr};
const char* const n_vs33[] = {"vs33", "vr1", nullptr};
const char* const n_vs33_1[] = {"vs33_1", "vr1_1", nullptr};
const char* const n_vs33_2[] = {"vs33_2", "vr1_2", nullptr};
const char* const n_vs33_3[] = {"vs33_3", "vr1_3", nullptr};
const char* const n_vs34[] = {"vs34", "vr2", nullptr};
const char* const n_vs34_1[] = {"vs34_1", "vr2_1", nullptr};
const char* const n_vs34_2[] = {"vs34_2", "vr2_2", nullptr};
const char* const n_vs34_3[] = {"vs34_3", "vr2_3", nullptr};
const char* const n_vs35[] = {"vs35", "vr3", nullptr};
const char* const n_vs35_1[] = {"vs35_1", "vr3_1", nullptr};
const char* const n_vs35_2[] = {"vs35_2", "vr3_2", nullptr};
const char* const n_vs35_3[] = {"vs35_3", "vr3_3", nullptr};
const char* const n_vs36[] = {"vs36", "vr4", nullptr};
const char* const n_vs36_1[] = {"vs36_1", "vr4_1", nullptr};
const char* const n_vs36_2[] = {"vs36_2", "vr4_2", nullptr};
const char* const n_vs36_3[] = {"vs36_3", "vr4_3", nullptr};
const char* const n_vs37[] = {"vs37", "vr5", nullptr};
const char* const n_vs37_1[] = {"vs37_1", "vr5_1", nullptr};
const char* const n_vs37_2[] = {"vs37_2", "vr5_2", nullptr};
const char* const n_vs37_3[] = {"vs37_3", "vr5_3", nullptr};
const char* const n_vs38[] = {"vs38", "vr6", nullptr};
const char* const n_vs38_1[] = {"vs38_1", "vr6_1", nullptr};
const char* const n_vs38_2[] = {"vs38_2", "vr6_2", nullptr};
const char* const n_vs38_3[] = {"vs38_3", "vr6_3", nullptr};
const char* const n_vs39[] = {"vs39", "vr7", nullptr};
const char* const n_vs39_1[] = {"vs39_1", "vr7_1", nullptr};
const char* const n_vs39_2[] = {"vs39_2", "vr7_2", nullptr};
const char* const n_vs39_3[] = {"vs39_3", "vr7_3", nullptr};
const char* const n_vs40[] = {"vs40", "vr8", nullptr};
const char* const n_vs40_1[] = {"vs40_1", "vr8_1", nullptr};
const char* const n_vs40_2[] = {"vs40_2", "vr8_2", nullptr};
const char* const n_vs40_3[] = {"vs40_3", "vr8_3", nullptr};
const char* const n_vs41[] = {"vs41", "vr9", nullptr};
const char* const n_vs41_1[] = {"vs41_1", "vr9_1", nullptr};
const char* const n_vs41_2[] = {"vs41_2", "vr9_2", nullptr};
const char* const n_vs41_3[] = {"vs41_3", "vr9_3", nullptr};
const char* const n_vs42[] = {"vs42", "vr10", nullptr};
const char* const n_vs42_1[] = {"vs42_1", "vr10_1", nullptr};
const char* const n_vs42_2[] = {"vs42_2", "vr10_2", nullptr};
const char* const n_vs42_3[] = {"vs42_3", "vr10_3", nullptr};
const char* const n_vs43[] = {"vs43", "vr11", nullptr};
const char* const n_vs43_1[] = {"vs43_1", "vr11_1", nullptr};
const char* const n_vs43_2[] = {"vs43_2", "vr11_2", nullptr};
const char* const n_vs43_3[] = {"vs43_3", "vr11_3", nullptr};
const char* const n_vs44[] = {"vs44", "vr12", nullptr};
const char* const n_vs44_1[] = {"vs44_1", "vr12_1", nullptr};
const char* const n_vs44_2[] = {"vs44_2", "vr12_2", nullptr};
const char* const n_vs44_3[] = {"vs44_3", "vr12_3", nullptr};
const char* const n_vs45[] = {"vs45", "vr13", nullptr};
const char* const n_vs45_1[] = {"vs45_1", "vr13_1", nullptr};
const char* const n_vs45_2[] = {"vs45_2", "vr13_2", nullptr};
const char* const n_vs45_3[] = {"vs45_3", "vr13_3", nullptr};
const char* const n_vs46[] = {"vs46", "vr14", nullptr};
const char* const n_vs46_1[] = {"vs46_1", "vr14_1", nullptr};
const char* const n_vs46_2[] = {"vs46_2", "vr14_2", nullptr};
const char* const n_vs46_3[] = {"vs46_3", "vr14_3", nullptr};
const char* const n_vs47[] = {"vs47", "vr15", nullptr};
const char* const n_vs47_1[] = {"vs47_1", "vr15_1", nullptr};
const char* const n_vs47_2[] = {"vs47_2", "vr15_2", nullptr};
const char* const n_vs47_3[] = {"vs47_3", "vr15_3", nullptr};
const char* const n_vs48[] = {"vs48", "vr16", nullptr};
const char* const n_vs48_1[] = {"vs48_1", "vr16_1", nullptr};
const char* const n_vs48_2[] = {"vs48_2", "vr16_2", nullptr};
const char* const n_vs48_3[] = {"vs48_3", "vr16_3", nullptr};
const char* const n_vs49[] = {"vs49", "vr17", nullptr};
const char* const n_vs49_1[] = {"vs49_1", "vr17_1", nullptr};
const char* const n_vs49_2[] = {"vs49_2", "vr17_2", nullptr};
const char* const n_vs49_3[] = {"vs49_3", "vr17_3", nullptr};
const char* const n_vs50[] = {"vs50", "vr18", nullptr};
const char* const n_vs50_1[] = {"vs50_1", "vr18_1", nullptr};
const char* const n_vs50_2[] = {"vs50_2", "vr18_2", nullptr};
const char* const n_vs50_3[] = {"vs50_3", "vr18_3", nullptr};
const char* const n_vs51[] = {"vs51", "vr19", nullptr};
const char* const n_vs51_1[] = {"vs51_1", "vr19_1", nullptr};
const char* const n_vs51_2[] = {"vs51_2", "vr19_2", nullptr};
const char* const n_vs51_3[] = {"vs51_3", "vr19_3", nullptr};
const char* const n_vs52[] = {"vs52", "vr20", nullptr};
const char* const n_vs52_1[] = {"vs52_1", "vr20_1", nullptr};
const char* const n_vs52_2[] = {"vs52_2", "vr20_2", nullptr};
const char* const n_vs52_3[] = {"vs52_3", "vr20_3", nullptr};
const char* const n_vs53[] = {"vs53", "vr21", nullptr};
const char* const n_vs53_1[] = {"vs53_1", "vr21_1", nullptr};
const char* const n_vs53_2[] = {"vs53_2", "vr21_2", nullptr};
const char* const n_vs53_3[] = {"vs53_3", "vr21_3", nullptr};
const char* const n_vs54[] = {"vs54", "vr22", nullptr};
const char* const n_vs54_1[] = {"vs54_1", "vr22_1", nullptr};
const char* const n_vs54_2[] = {"vs54_2", "vr22_2", nullptr};
const char* const n_vs54_3[] = {"vs54_3", "vr22_3", nullptr};
const char* const n_vs55[] = {"vs55", "vr23", nullptr};
const char* const n_vs55_1[] = {"vs55_1", "vr23_1", nullptr};
const char* const n_vs55_2[] = {"vs55_2", "vr23_2", nullptr};
const char* const n_vs55_3[] = {"vs55_3", "vr23_3", nullptr};
const char* const n_vs56[] = {"vs56", "vr24", nullptr};
const char* const n_vs56_1[] = {"vs56_1", "vr24_1", nullptr};
const char* const n_vs56_2[] = {"vs56_2", "vr24_2", nullptr};
const char* const n_vs56_3[] = {"vs56_3", "vr24_3", nullptr};
const char* const n_vs57[] = {"vs57", "vr25", nullptr};
const char* const n_vs57_1[] = {"vs57_1", "vr25_1", nullptr};
const char* const n_vs57_2[] = {"vs57_2", "vr25_2", nullptr};
const char* const n_vs57_3[] = {"vs57_3", "vr25_3", nullptr};
const char* const n_vs58[] = {"vs58", "vr26", nullptr};
const char* const n_vs58_1[] = {"vs58_1", "vr26_1", nullptr};
const char* const n_vs58_2[] = {"vs58_2", "vr26_2", nullptr};
const char* const n_vs58_3[] = {"vs58_3", "vr26_3", nullptr};
const char* const n_vs59[] = {"vs59", "vr27", nullptr};
const char* const n_vs59_1[] = {"vs59_1", "vr27_1", nullptr};
const char* const n_vs59_2[] = {"vs59_2", "vr27_2", nullptr};
const char* const n_vs59_3[] = {"vs59_3", "vr27_3", nullptr};
const char* const n_vs60[] = {"vs60", "vr28", nullptr};
const char* const n_vs60_1[] = {"vs60_1", "vr28_1", nullptr};
const char* const n_vs60_2[] = {"vs60_2", "vr28_2", nullptr};
const char* const n_vs60_3[] = {"vs60_3", "vr28_3", nullptr};
const char* const n_vs61[] = {"vs61", "vr29", nullptr};
const char* const n_vs61_1[] = {"vs61_1", "vr29_1", nullptr};
const char* const n_vs61_2[] = {"vs61_2", "vr29_2", nullptr};
const char* const n_vs61_3[] = {"vs61_3", "vr29_3", nullptr};
const char* const n_vs62[] = {"vs62", "vr30", nullptr};
const char* const n_vs62_1[] = {"vs62_1", "vr30_1", nullptr};
const char* const n_vs62_2[] = {"vs62_2", "vr30_2", nullptr};
const char* const n_vs62_3[] = {"vs62_3", "vr30_3", nullptr};
const char* const n_vs63[] = {"vs63", "vr31", nullptr};
const char* const n_vs63_1[] = {"vs63_1", "vr31_1", nullptr};
const char* const n_vs63_2[] = {"vs63_2", "vr31_2", nullptr};
const char* const n_vs63_3[] = {"vs63_3", "vr31_3", nullptr};
const char* const n_vscr[] = {"vscr", nullptr};
const char* const n_vrsave[] = {"vrsave", nullptr};
const char* const n_as_cmpa[] = {"as_cmpa", nullptr};
const char* const n_as_cmpb[] = {"as_cmpb", nullptr};
const char* const n_as_cmpc[] = {"as_cmpc", nullptr};
const char* const n_as_cmpd[] = {"as_cmpd", nullptr};
const char* const n_as_cmpe[] = {"as_cmpe", nullptr};
const char* const n_as_cmpf[] = {"as_cmpf", nullptr};
const char* const n_as_cmpg[] = {"as_cmpg", nullptr};
const char* const n_as_cmph[] = {"as_cmph", nullptr};
const char* const n_as_ecr[] = {"as_ecr", nullptr};
const char* const n_as_der[] = {"as_der", nullptr};
const char* const n_as_counta[] = {"as_counta", nullptr};
const char* const n_as_countb[] = {"as_countb", nullptr};
const char* const n_as_lctrl1[] = {"as_lctrl1", nullptr};
const char* const n_as_lctrl2[] = {"as_lctrl2", nullptr};
const char* const n_as_ictrl[] = {"as_ictrl", nullptr};
const char* const n_as_bar[] = {"as_bar", nullptr};
const char* const n_as_dpdr[] = {"as_dpdr", nullptr};
const char* const n_as_dpir[] = {"as_dpir", nullptr};
const char* const n_as_eie[] = {"as_eie", nullptr};
const char* const n_as_eid[] = {"as_eid", nullptr};
const char* const n_as_nri[] = {"as_nri", nullptr};
const char* const n_as_fpecr[] = {"as_fpecr", nullptr};
const char* const n_as_ic_cst[] = {"as_ic_cst", nullptr};
const char* const n_as_ic_adr[] = {"as_ic_adr", nullptr};
const char* const n_as_ic_dat[] = {"as_ic_dat", nullptr};
const char* const n_as_dc_cst[] = {"as_dc_cst", nullptr};
const char* const n_as_dc_adr[] = {"as_dc_adr", nullptr};
const char* const n_as_dc_dat[] = {"as_dc_dat", nullptr};
const char* const n_as_immr[] = {"as_immr", nullptr};
const char* const n_as_mi_ctr[] = {"as_mi_ctr", nullptr};
const char* const n_as_mi_ap[] = {"as_mi_ap", nullptr};
const char* const n_as_mi_epn[] = {"as_mi_epn", nullptr};
const char* const n_as_mi_twc[] = {"as_mi_twc", nullptr};
const char* const n_as_mi_rpn[] = {"as_mi_rpn", nullptr};
const char* const n_as_mi_cam[] = {"as_mi_cam", nullptr};
const char* const n_as_mi_ram0[] = {"as_mi_ram0", nullptr};
const char* const n_as_mi_ram1[] = {"as_mi_ram1", nullptr};
const char* const n_as_md_ctr[] = {"as_md_ctr", nullptr};
const char* const n_as_m_casid[] = {"as_m_casid", nullptr};
const char* const n_as_md_ap[] = {"as_md_ap", nullptr};
const char* const n_as_md_epn[] = {"as_md_epn", nullptr};
const char* const n_as_m_twb[] = {"as_m_twb", nullptr};
const char* const n_as_md_twc[] = {"as_md_twc", nullptr};
const char* const n_as_md_rpn[] = {"as_md_rpn", nullptr};
const char* const n_as_m_tw[] = {"as_m_tw", nullptr};
const char* const n_as_md_cam[] = {"as_md_cam", nullptr};
const char* const n_as_md_ram0[] = {"as_md_ram0", nullptr};
const char* const n_as_md_ram1[] = {"as_md_ram1", nullptr};
const char* const n_as_mi_gra[] = {"as_mi_gra", nullptr};
const char* const n_as_l2u_gra[] = {"as_l2u_gra", nullptr};
const char* const n_as_bbcmcr[] = {"as_bbcmcr", nullptr};
const char* const n_as_l2u_mcr[] = {"as_l2u_mcr", nullptr};
const char* const n_as_mi_rba0[] = {"as_mi_rba0", nullptr};
const char* const n_as_mi_rba1[] = {"as_mi_rba1", nullptr};
const char* const n_as_mi_rba2[] = {"as_mi_rba2", nullptr};
const char* const n_as_mi_rba3[] = {"as_mi_rba3", nullptr};
const char* const n_as_mi_ra0[] = {"as_mi_ra0", nullptr};
const char* const n_as_mi_ra1[] = {"as_mi_ra1", nullptr};
const char* const n_as_mi_ra2[] = {"as_mi_ra2", nullptr};
const char* const n_as_mi_ra3[] = {"as_mi_ra3", nullptr};
const char* const n_as_l2u_rba0[] = {"as_l2u_rba0", nullptr};
const char* const n_as_l2u_rba1[] = {"as_l2u_rba1", nullptr};
const char* const n_as_l2u_rba2[] = {"as_l2u_rba2", nullptr};
const char* const n_as_l2u_rba3[] = {"as_l2u_rba3", nullptr};
const char* const n_as_l2u_ra0[] = {"as_l2u_ra0", nullptr};
const char* const n_as_l2u_ra1[] = {"as_l2u_ra1", nullptr};
const char* const n_as_l2u_ra2[] = {"as_l2u_ra2", nullptr};
const char* const n_as_l2u_ra3[] = {"as_l2u_ra3", nullptr};
const char* const n_dccr[] = {"dccr", nullptr};
const char* const n_iccr[] = {"iccr", nullptr};
const char* const n_dcwr[] = {"dcwr", nullptr};
const char* const n_sgr[] = {"sgr", nullptr};
const char* const n_sler[] = {"sler", nullptr};
const char* const n_su0r[] = {"su0r", nullptr};
const char* const n_cdbcr[] = {"cdbcr", nullptr};
const char* const n_icdbdr[] = {"icdbdr", nullptr};
const char* const n_icdbtrh[] = {"icdbtrh", nullptr};
const char* const n_icdbtrl[] = {"icdbtrl", nullptr};
const char* const n_dcdbtrh[] = {"dcdbtrh", nullptr};
const char* const n_dcdbtrl[] = {"dcdbtrl", nullptr};
const char* const n_dnv0[] = {"dnv0", nullptr};
const char* const n_dnv1[] = {"dnv1", nullptr};
const char* const n_dnv2[] = {"dnv2", nullptr};
const char* const n_dnv3[] = {"dnv3", nullptr};
const char* const n_dtv0[] = {"dtv0", nullptr};
const char* const n_dtv1[] = {"dtv1", nullptr};
const char* const n_dtv2[] = {"dtv2", nullptr};
const char* const n_dtv3[] = {"dtv3", nullptr};
const char* const n_inv0[] = {"inv0", nullptr};
const char* const n_inv1[] = {"inv1", nullptr};
const char* const n_inv2[] = {"inv2", nullptr};
const char* const n_inv3[] = {"inv3", nullptr};
const char* const n_itv0[] = {"itv0", nullptr};
const char* const n_itv1[] = {"itv1", nullptr};
const char* const n_itv2[] = {"itv2", nullptr};
const char* const n_itv3[] = {"itv3", nullptr};
const char* const n_dvlim[] = {"dvlim", nullptr};
const char* const n_ivlim[] = {"ivlim", nullptr};
const char* const n_rstcfg[] = {"rstcfg", nullptr};
const char* const n_ccr0[] = {"ccr0", nullptr};
const char* const n_ccr1[] = {"ccr1", nullptr};
const char* const n_ccr2[] = {"ccr2", nullptr};

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
    // 32..95: 64-bit general registers as word pairs: low word (plain name), high word (x suffix)
    {32, n_r0_id32},
    {33, n_r0x},
    {34, n_r1_id34},
    {35, n_r1x},
    {36, n_r2_id36},
    {37, n_r2x},
    {38, n_r3_id38},
    {39, n_r3x},
    {40, n_r4_id40},
    {41, n_r4x},
    {42, n_r5_id42},
    {43, n_r5x},
    {44, n_r6_id44},
    {45, n_r6x},
    {46, n_r7_id46},
    {47, n_r7x},
    {48, n_r8_id48},
    {49, n_r8x},
    {50, n_r9_id50},
    {51, n_r9x},
    {52, n_r10_id52},
    {53, n_r10x},
    {54, n_r11_id54},
    {55, n_r11x},
    {56, n_r12_id56},
    {57, n_r12x},
    {58, n_r13_id58},
    {59, n_r13x},
    {60, n_r14_id60},
    {61, n_r14x},
    {62, n_r15_id62},
    {63, n_r15x},
    {64, n_r16_id64},
    {65, n_r16x},
    {66, n_r17_id66},
    {67, n_r17x},
    {68, n_r18_id68},
    {69, n_r18x},
    {70, n_r19_id70},
    {71, n_r19x},
    {72, n_r20_id72},
    {73, n_r20x},
    {74, n_r21_id74},
    {75, n_r21x},
    {76, n_r22_id76},
    {77, n_r22x},
    {78, n_r23_id78},
    {79, n_r23x},
    {80, n_r24_id80},
    {81, n_r24x},
    {82, n_r25_id82},
    {83, n_r25x},
    {84, n_r26_id84},
    {85, n_r26x},
    {86, n_r27_id86},
    {87, n_r27x},
    {88, n_r28_id88},
    {89, n_r28x},
    {90, n_r29_id90},
    {91, n_r29x},
    {92, n_r30_id92},
    {93, n_r30x},
    {94, n_r31_id94},
    {95, n_r31x},
    // 96..101: program counter, condition, link and count registers, fixed- and floating-point
    // status
    {96, n_pc},
    {97, n_cr},
    {98, n_lr},
    {99, n_ctr},
    {100, n_xer},
    {101, n_fpscr},
    // 102..133: floating-point registers
    {102, n_f0},
    {103, n_f1},
    {104, n_f2},
    {105, n_f3},
    {106, n_f4},
    {107, n_f5},
    {108, n_f6},
    {109, n_f7},
    {110, n_f8},
    {111, n_f9},
    {112, n_f10},
    {113, n_f11},
    {114, n_f12},
    {115, n_f13},
    {116, n_f14},
    {117, n_f15},
    {118, n_f16},
    {119, n_f17},
    {120, n_f18},
    {121, n_f19},
    {122, n_f20},
    {123, n_f21},
    {124, n_f22},
    {125, n_f23},
    {126, n_f24},
    {127, n_f25},
    {128, n_f26},
    {129, n_f27},
    {130, n_f28},
    {131, n_f29},
    {132, n_f30},
    {133, n_f31},
    // 134..165: identification and implementation registers
    {134, n_pvr},
    {135, n_svr},
    {136, n_hid0},
    {137, n_hid1},
    {138, n_hid2},
    {139, n_hid4},
    {140, n_hid5},
    {141, n_hid6},
    {142, n_pir},
    {143, n_iabr},
    {144, n_iabr2},
    {145, n_dabr},
    {146, n_dabr2},
    {147, n_dabrx},
    {148, n_ictc},
    {149, n_thrm1},
    {150, n_thrm2},
    {151, n_thrm3},
    {152, n_l2cr},
    {153, n_l3cr},
    {154, n_l2pmcr},
    {155, n_l3pm},
    {156, n_l3itcr0},
    {157, n_l3itcr1},
    {158, n_l3itcr2},
    {159, n_l3itcr3},
    {160, n_l3ohcr},
    {161, n_msscr0},
    {162, n_msscr1},
    {163, n_ldstcr},
    {164, n_ictrl},
    {165, n_ldstdb},
    // 166: unmapped
    {kUnmappedRegisterId, nullptr}, // 166
    // 167..200: machine state, segment and supervisor registers
    {167, n_msr},
    {168, n_sr0},
    {169, n_sr1},
    {170, n_sr2},
    {171, n_sr3},
    {172, n_sr4},
    {173, n_sr5},
    {174, n_sr6},
    {175, n_sr7},
    {176, n_sr8},
    {177, n_sr9},
    {178, n_sr10},
    {179, n_sr11},
    {180, n_sr12},
    {181, n_sr13},
    {182, n_sr14},
    {183, n_sr15},
    {184, n_sdr1},
    {185, n_dar},
    {186, n_dsisr},
    {187, n_srr0},
    {188, n_srr1},
    {189, n_sprg0},
    {190, n_sprg1},
    {191, n_sprg2},
    {192, n_sprg3},
    {193, n_sprg4},
    {194, n_sprg5},
    {195, n_sprg6},
    {196, n_sprg7},
    {197, n_dec},
    {198, n_tbl},
    {199, n_tbu},
    {200, n_ear},
    // 201..232: block address translation, instruction then data
    {201, n_ibat0u},
    {202, n_ibat0l},
    {203, n_ibat1u},
    {204, n_ibat1l},
    {205, n_ibat2u},
    {206, n_ibat2l},
    {207, n_ibat3u},
    {208, n_ibat3l},
    {209, n_ibat4u},
    {210, n_ibat4l},
    {211, n_ibat5u},
    {212, n_ibat5l},
    {213, n_ibat6u},
    {214, n_ibat6l},
    {215, n_ibat7u},
    {216, n_ibat7l},
    {217, n_dbat0u},
    {218, n_dbat0l},
    {219, n_dbat1u},
    {220, n_dbat1l},
    {221, n_dbat2u},
    {222, n_dbat2l},
    {223, n_dbat3u},
    {224, n_dbat3l},
    {225, n_dbat4u},
    {226, n_dbat4l},
    {227, n_dbat5u},
    {228, n_dbat5l},
    {229, n_dbat6u},
    {230, n_dbat6l},
    {231, n_dbat7u},
    {232, n_dbat7l},
    // 233..242: software table search
    {233, n_dmiss},
    {234, n_dcmp},
    {235, n_hash1},
    {236, n_hash2},
    {237, n_imiss},
    {238, n_icmp},
    {239, n_rpa},
    {240, n_tlbmiss},
    {241, n_ptehi},
    {242, n_ptelo},
    // 243: unmapped
    {kUnmappedRegisterId, nullptr}, // 243
    // 244..275: performance monitor: supervisor registers, then the user-readable copies
    {244, n_mmcr0},
    {245, n_mmcr1},
    {246, n_mmcr2},
    {247, n_pmc1},
    {248, n_pmc2},
    {249, n_pmc3},
    {250, n_pmc4},
    {251, n_pmc5},
    {252, n_pmc6},
    {253, n_sia},
    {254, n_sda},
    {kUnmappedRegisterId, nullptr}, // 255
    {kUnmappedRegisterId, nullptr}, // 256
    {kUnmappedRegisterId, nullptr}, // 257
    {kUnmappedRegisterId, nullptr}, // 258
    {kUnmappedRegisterId, nullptr}, // 259
    {260, n_ummcr0},
    {261, n_ummcr1},
    {262, n_ummcr2},
    {263, n_upmc1},
    {264, n_upmc2},
    {265, n_upmc3},
    {266, n_upmc4},
    {267, n_upmc5},
    {268, n_upmc6},
    {269, n_usia},
    {270, n_usda},
    {kUnmappedRegisterId, nullptr}, // 271
    {kUnmappedRegisterId, nullptr}, // 272
    {kUnmappedRegisterId, nullptr}, // 273
    {kUnmappedRegisterId, nullptr}, // 274
    {kUnmappedRegisterId, nullptr}, // 275
    // 276..321: 64-bit server registers
    {276, n_asr},
    {277, n_ctrl},
    {278, n_hsprg0},
    {279, n_hsprg1},
    {280, n_hdec},
    {281, n_hior},
    {282, n_hrmor},
    {283, n_lpcr},
    {284, n_lpidr},
    {285, n_hsrr0},
    {286, n_hsrr1},
    {287, n_hdsisr},
    {288, n_hdar},
    {289, n_purr},
    {290, n_spurr},
    {291, n_cfar},
    {292, n_ppr},
    {293, n_dscr},
    {294, n_amr},
    {295, n_iamr},
    {296, n_uamor},
    {297, n_amor},
    {298, n_tar},
    {299, n_fscr},
    {300, n_hfscr},
    {301, n_vtb},
    {302, n_pcr},
    {303, n_heir},
    {304, n_hmer},
    {305, n_hmeer},
    {306, n_tfhar},
    {307, n_tfiar},
    {308, n_texasr},
    {309, n_texasru},
    {310, n_ebbhr},
    {311, n_ebbrr},
    {312, n_bescr},
    {313, n_mmcra},
    {314, n_siar},
    {315, n_sdar},
    {316, n_sier},
    {317, n_dawr0},
    {318, n_dawrx0},
    {319, n_ciabr},
    {320, n_psscr},
    {321, n_ptcr},
    // 322..323: unmapped
    {kUnmappedRegisterId, nullptr}, // 322
    {kUnmappedRegisterId, nullptr}, // 323
    // 324..402: embedded exception, timer and debug registers; interrupt vector offsets 0..15,
    // then 32..47 (43..47 reserved)
    {324, n_srr2},
    {325, n_srr3},
    {326, n_dear},
    {327, n_esr},
    {328, n_ivpr},
    {329, n_ivor0},
    {330, n_ivor1},
    {331, n_ivor2},
    {332, n_ivor3},
    {333, n_ivor4},
    {334, n_ivor5},
    {335, n_ivor6},
    {336, n_ivor7},
    {337, n_ivor8},
    {338, n_ivor9},
    {339, n_ivor10},
    {340, n_ivor11},
    {341, n_ivor12},
    {342, n_ivor13},
    {343, n_ivor14},
    {344, n_ivor15},
    {345, n_ivor32},
    {346, n_ivor33},
    {347, n_ivor34},
    {348, n_ivor35},
    {349, n_ivor36},
    {350, n_ivor37},
    {351, n_ivor38},
    {352, n_ivor39},
    {353, n_ivor40},
    {354, n_ivor41},
    {355, n_ivor42},
    {kUnmappedRegisterId, nullptr}, // 356
    {kUnmappedRegisterId, nullptr}, // 357
    {kUnmappedRegisterId, nullptr}, // 358
    {kUnmappedRegisterId, nullptr}, // 359
    {kUnmappedRegisterId, nullptr}, // 360
    {361, n_mcsrr0},
    {362, n_mcsrr1},
    {363, n_mcsr},
    {364, n_mcar},
    {365, n_mcaru},
    {366, n_dsrr0},
    {367, n_dsrr1},
    {368, n_tcr},
    {369, n_tsr},
    {370, n_decar},
    {371, n_pit},
    {372, n_usprg0},
    {373, n_sprg8},
    {374, n_sprg9},
    {kUnmappedRegisterId, nullptr}, // 375
    {kUnmappedRegisterId, nullptr}, // 376
    {377, n_dbcr0},
    {378, n_dbcr1},
    {379, n_dbcr2},
    {380, n_dbcr3},
    {381, n_dbcr4},
    {382, n_dbcr5},
    {383, n_dbcr6},
    {384, n_dbsr},
    {385, n_dbsrwr},
    {386, n_dbcnt},
    {387, n_devent},
    {388, n_ddam},
    {389, n_iac1},
    {390, n_iac2},
    {391, n_iac3},
    {392, n_iac4},
    {393, n_iac5},
    {394, n_iac6},
    {395, n_iac7},
    {396, n_iac8},
    {397, n_dac1},
    {398, n_dac2},
    {399, n_dvc1},
    {400, n_dvc2},
    {401, n_nspd},
    {402, n_nspc},
    // 403..407: unmapped
    {kUnmappedRegisterId, nullptr}, // 403
    {kUnmappedRegisterId, nullptr}, // 404
    {kUnmappedRegisterId, nullptr}, // 405
    {kUnmappedRegisterId, nullptr}, // 406
    {kUnmappedRegisterId, nullptr}, // 407
    // 408..439: embedded memory management
    {408, n_pid0},
    {409, n_pid1},
    {410, n_pid2},
    {411, n_mmucr},
    {412, n_zpr},
    {413, n_lpid},
    {kUnmappedRegisterId, nullptr}, // 414
    {kUnmappedRegisterId, nullptr}, // 415
    {416, n_mas0},
    {417, n_mas1},
    {418, n_mas2},
    {419, n_mas3},
    {420, n_mas4},
    {421, n_mas5},
    {422, n_mas6},
    {423, n_mas7},
    {424, n_mas8},
    {425, n_mmucfg},
    {426, n_mmucsr0},
    {427, n_eptcfg},
    {kUnmappedRegisterId, nullptr}, // 428
    {kUnmappedRegisterId, nullptr}, // 429
    {kUnmappedRegisterId, nullptr}, // 430
    {kUnmappedRegisterId, nullptr}, // 431
    {432, n_tlb0cfg},
    {433, n_tlb1cfg},
    {434, n_tlb2cfg},
    {435, n_tlb3cfg},
    {436, n_tlb0ps},
    {437, n_tlb1ps},
    {438, n_tlb2ps},
    {439, n_tlb3ps},
    // 440..447: unmapped
    {kUnmappedRegisterId, nullptr}, // 440
    {kUnmappedRegisterId, nullptr}, // 441
    {kUnmappedRegisterId, nullptr}, // 442
    {kUnmappedRegisterId, nullptr}, // 443
    {kUnmappedRegisterId, nullptr}, // 444
    {kUnmappedRegisterId, nullptr}, // 445
    {kUnmappedRegisterId, nullptr}, // 446
    {kUnmappedRegisterId, nullptr}, // 447
    // 448..479: embedded hypervisor: guest copies, external proxy and logical partition
    {448, n_gsprg0},
    {449, n_gsprg1},
    {450, n_gsprg2},
    {451, n_gsprg3},
    {452, n_gsrr0},
    {453, n_gsrr1},
    {454, n_gepr},
    {455, n_gdear},
    {456, n_gpir},
    {457, n_gesr},
    {458, n_givpr},
    {kUnmappedRegisterId, nullptr}, // 459
    {kUnmappedRegisterId, nullptr}, // 460
    {kUnmappedRegisterId, nullptr}, // 461
    {kUnmappedRegisterId, nullptr}, // 462
    {kUnmappedRegisterId, nullptr}, // 463
    {464, n_givor2},
    {465, n_givor3},
    {466, n_givor4},
    {467, n_givor8},
    {468, n_givor13},
    {469, n_givor14},
    {470, n_eplc},
    {471, n_epsc},
    {472, n_epr},
    {473, n_msrp},
    {474, n_lper},
    {475, n_lperu},
    {kUnmappedRegisterId, nullptr}, // 476
    {kUnmappedRegisterId, nullptr}, // 477
    {kUnmappedRegisterId, nullptr}, // 478
    {kUnmappedRegisterId, nullptr}, // 479
    // 480..511: unmapped
    {kUnmappedRegisterId, nullptr}, // 480
    {kUnmappedRegisterId, nullptr}, // 481
    {kUnmappedRegisterId, nullptr}, // 482
    {kUnmappedRegisterId, nullptr}, // 483
    {kUnmappedRegisterId, nullptr}, // 484
    {kUnmappedRegisterId, nullptr}, // 485
    {kUnmappedRegisterId, nullptr}, // 486
    {kUnmappedRegisterId, nullptr}, // 487
    {kUnmappedRegisterId, nullptr}, // 488
    {kUnmappedRegisterId, nullptr}, // 489
    {kUnmappedRegisterId, nullptr}, // 490
    {kUnmappedRegisterId, nullptr}, // 491
    {kUnmappedRegisterId, nullptr}, // 492
    {kUnmappedRegisterId, nullptr}, // 493
    {kUnmappedRegisterId, nullptr}, // 494
    {kUnmappedRegisterId, nullptr}, // 495
    {kUnmappedRegisterId, nullptr}, // 496
    {kUnmappedRegisterId, nullptr}, // 497
    {kUnmappedRegisterId, nullptr}, // 498
    {kUnmappedRegisterId, nullptr}, // 499
    {kUnmappedRegisterId, nullptr}, // 500
    {kUnmappedRegisterId, nullptr}, // 501
    {kUnmappedRegisterId, nullptr}, // 502
    {kUnmappedRegisterId, nullptr}, // 503
    {kUnmappedRegisterId, nullptr}, // 504
    {kUnmappedRegisterId, nullptr}, // 505
    {kUnmappedRegisterId, nullptr}, // 506
    {kUnmappedRegisterId, nullptr}, // 507
    {kUnmappedRegisterId, nullptr}, // 508
    {kUnmappedRegisterId, nullptr}, // 509
    {kUnmappedRegisterId, nullptr}, // 510
    {kUnmappedRegisterId, nullptr}, // 511
    // 512..575: embedded performance monitor, eight ids per kind (user copies first)
    {512, n_pmr_upmc0},
    {513, n_pmr_upmc1},
    {514, n_pmr_upmc2},
    {515, n_pmr_upmc3},
    {516, n_pmr_upmc4},
    {517, n_pmr_upmc5},
    {kUnmappedRegisterId, nullptr}, // 518
    {kUnmappedRegisterId, nullptr}, // 519
    {520, n_pmr_pmc0},
    {521, n_pmr_pmc1},
    {522, n_pmr_pmc2},
    {523, n_pmr_pmc3},
    {524, n_pmr_pmc4},
    {525, n_pmr_pmc5},
    {kUnmappedRegisterId, nullptr}, // 526
    {kUnmappedRegisterId, nullptr}, // 527
    {528, n_pmr_upmlca0},
    {529, n_pmr_upmlca1},
    {530, n_pmr_upmlca2},
    {531, n_pmr_upmlca3},
    {532, n_pmr_upmlca4},
    {533, n_pmr_upmlca5},
    {kUnmappedRegisterId, nullptr}, // 534
    {kUnmappedRegisterId, nullptr}, // 535
    {536, n_pmr_pmlca0},
    {537, n_pmr_pmlca1},
    {538, n_pmr_pmlca2},
    {539, n_pmr_pmlca3},
    {540, n_pmr_pmlca4},
    {541, n_pmr_pmlca5},
    {kUnmappedRegisterId, nullptr}, // 542
    {kUnmappedRegisterId, nullptr}, // 543
    {544, n_pmr_upmlcb0},
    {545, n_pmr_upmlcb1},
    {546, n_pmr_upmlcb2},
    {547, n_pmr_upmlcb3},
    {548, n_pmr_upmlcb4},
    {549, n_pmr_upmlcb5},
    {kUnmappedRegisterId, nullptr}, // 550
    {kUnmappedRegisterId, nullptr}, // 551
    {552, n_pmr_pmlcb0},
    {553, n_pmr_pmlcb1},
    {554, n_pmr_pmlcb2},
    {555, n_pmr_pmlcb3},
    {556, n_pmr_pmlcb4},
    {557, n_pmr_pmlcb5},
    {kUnmappedRegisterId, nullptr}, // 558
    {kUnmappedRegisterId, nullptr}, // 559
    {560, n_pmr_upmgc0},
    {kUnmappedRegisterId, nullptr}, // 561
    {kUnmappedRegisterId, nullptr}, // 562
    {kUnmappedRegisterId, nullptr}, // 563
    {kUnmappedRegisterId, nullptr}, // 564
    {kUnmappedRegisterId, nullptr}, // 565
    {kUnmappedRegisterId, nullptr}, // 566
    {kUnmappedRegisterId, nullptr}, // 567
    {568, n_pmr_pmgc0},
    {kUnmappedRegisterId, nullptr}, // 569
    {kUnmappedRegisterId, nullptr}, // 570
    {kUnmappedRegisterId, nullptr}, // 571
    {kUnmappedRegisterId, nullptr}, // 572
    {kUnmappedRegisterId, nullptr}, // 573
    {kUnmappedRegisterId, nullptr}, // 574
    {kUnmappedRegisterId, nullptr}, // 575
    // 576..599: level-1 and level-2 cache control
    {576, n_l1cfg0},
    {577, n_l1cfg1},
    {578, n_l1csr0},
    {579, n_l1csr1},
    {580, n_l1csr2},
    {581, n_l1finv0},
    {582, n_l1finv1},
    {kUnmappedRegisterId, nullptr}, // 583
    {584, n_l2cfg0},
    {585, n_l2csr0},
    {586, n_l2csr1},
    {587, n_l2errdis},
    {588, n_l2errinten},
    {589, n_l2errattr},
    {590, n_l2erraddr},
    {591, n_l2erreaddr},
    {592, n_l2errctl},
    {593, n_l2errdet},
    {594, n_l2errinjhi},
    {595, n_l2errinjlo},
    {596, n_l2errinjctl},
    {597, n_l2captdatahi},
    {598, n_l2captdatalo},
    {599, n_l2captecc},
    // 600..607: unmapped
    {kUnmappedRegisterId, nullptr}, // 600
    {kUnmappedRegisterId, nullptr}, // 601
    {kUnmappedRegisterId, nullptr}, // 602
    {kUnmappedRegisterId, nullptr}, // 603
    {kUnmappedRegisterId, nullptr}, // 604
    {kUnmappedRegisterId, nullptr}, // 605
    {kUnmappedRegisterId, nullptr}, // 606
    {kUnmappedRegisterId, nullptr}, // 607
    // 608..623: registers of single classic cores (breakpoint masks, memory base, quantisation)
    {608, n_bamr},
    {609, n_ibcr},
    {610, n_dbcr},
    {611, n_mbar},
    {612, n_wpar},
    {613, n_dmau},
    {614, n_dmal},
    {kUnmappedRegisterId, nullptr}, // 615
    {616, n_gqr0},
    {617, n_gqr1},
    {618, n_gqr2},
    {619, n_gqr3},
    {620, n_gqr4},
    {621, n_gqr5},
    {622, n_gqr6},
    {623, n_gqr7},
    // 624..661: unmapped
    {kUnmappedRegisterId, nullptr}, // 624
    {kUnmappedRegisterId, nullptr}, // 625
    {kUnmappedRegisterId, nullptr}, // 626
    {kUnmappedRegisterId, nullptr}, // 627
    {kUnmappedRegisterId, nullptr}, // 628
    {kUnmappedRegisterId, nullptr}, // 629
    {kUnmappedRegisterId, nullptr}, // 630
    {kUnmappedRegisterId, nullptr}, // 631
    {kUnmappedRegisterId, nullptr}, // 632
    {kUnmappedRegisterId, nullptr}, // 633
    {kUnmappedRegisterId, nullptr}, // 634
    {kUnmappedRegisterId, nullptr}, // 635
    {kUnmappedRegisterId, nullptr}, // 636
    {kUnmappedRegisterId, nullptr}, // 637
    {kUnmappedRegisterId, nullptr}, // 638
    {kUnmappedRegisterId, nullptr}, // 639
    {kUnmappedRegisterId, nullptr}, // 640
    {kUnmappedRegisterId, nullptr}, // 641
    {kUnmappedRegisterId, nullptr}, // 642
    {kUnmappedRegisterId, nullptr}, // 643
    {kUnmappedRegisterId, nullptr}, // 644
    {kUnmappedRegisterId, nullptr}, // 645
    {kUnmappedRegisterId, nullptr}, // 646
    {kUnmappedRegisterId, nullptr}, // 647
    {kUnmappedRegisterId, nullptr}, // 648
    {kUnmappedRegisterId, nullptr}, // 649
    {kUnmappedRegisterId, nullptr}, // 650
    {kUnmappedRegisterId, nullptr}, // 651
    {kUnmappedRegisterId, nullptr}, // 652
    {kUnmappedRegisterId, nullptr}, // 653
    {kUnmappedRegisterId, nullptr}, // 654
    {kUnmappedRegisterId, nullptr}, // 655
    {kUnmappedRegisterId, nullptr}, // 656
    {kUnmappedRegisterId, nullptr}, // 657
    {kUnmappedRegisterId, nullptr}, // 658
    {kUnmappedRegisterId, nullptr}, // 659
    {kUnmappedRegisterId, nullptr}, // 660
    {kUnmappedRegisterId, nullptr}, // 661
    // 662..667: signal-processing unit and branch unit
    {662, n_sscr},
    {663, n_acc},
    {664, n_accx},
    {665, n_bucsr},
    {666, n_bbear},
    {667, n_bbtar},
    // 668..671: unmapped
    {kUnmappedRegisterId, nullptr}, // 668
    {kUnmappedRegisterId, nullptr}, // 669
    {kUnmappedRegisterId, nullptr}, // 670
    {kUnmappedRegisterId, nullptr}, // 671
    // 672..695: embedded core configuration, power and thread management
    {672, n_dmemcfg0},
    {673, n_imemcfg0},
    {674, n_mpu0cfg},
    {675, n_mpu0csr0},
    {676, n_cdcsr0},
    {677, n_pwrmgtcr0},
    {678, n_edbrac0},
    {kUnmappedRegisterId, nullptr}, // 679
    {680, n_hdbcr0},
    {681, n_hdbcr1},
    {682, n_hdbcr2},
    {683, n_hdbcr3},
    {684, n_hdbcr4},
    {685, n_hdbcr5},
    {686, n_hdbcr6},
    {687, n_hdbcr7},
    {688, n_tens},
    {689, n_tenc},
    {690, n_tensr},
    {691, n_tir},
    {692, n_ppr32},
    {kUnmappedRegisterId, nullptr}, // 693
    {kUnmappedRegisterId, nullptr}, // 694
    {kUnmappedRegisterId, nullptr}, // 695
    // 696..703: unmapped
    {kUnmappedRegisterId, nullptr}, // 696
    {kUnmappedRegisterId, nullptr}, // 697
    {kUnmappedRegisterId, nullptr}, // 698
    {kUnmappedRegisterId, nullptr}, // 699
    {kUnmappedRegisterId, nullptr}, // 700
    {kUnmappedRegisterId, nullptr}, // 701
    {kUnmappedRegisterId, nullptr}, // 702
    {kUnmappedRegisterId, nullptr}, // 703
    // 704..719: 64-bit server registers, second block (the first block is full)
    {704, n_asdr},
    {705, n_pidr},
    {706, n_dpdes},
    {707, n_dhdes},
    {708, n_rpr},
    {709, n_pspb},
    {710, n_tscr},
    {711, n_ttr},
    {712, n_trig0},
    {713, n_trig1},
    {714, n_trig2},
    {715, n_ic},
    {716, n_mmcrh},
    {717, n_lmrr},
    {718, n_lmser},
    {719, n_dexcr},
    // 720..767: unmapped
    {kUnmappedRegisterId, nullptr}, // 720
    {kUnmappedRegisterId, nullptr}, // 721
    {kUnmappedRegisterId, nullptr}, // 722
    {kUnmappedRegisterId, nullptr}, // 723
    {kUnmappedRegisterId, nullptr}, // 724
    {kUnmappedRegisterId, nullptr}, // 725
    {kUnmappedRegisterId, nullptr}, // 726
    {kUnmappedRegisterId, nullptr}, // 727
    {kUnmappedRegisterId, nullptr}, // 728
    {kUnmappedRegisterId, nullptr}, // 729
    {kUnmappedRegisterId, nullptr}, // 730
    {kUnmappedRegisterId, nullptr}, // 731
    {kUnmappedRegisterId, nullptr}, // 732
    {kUnmappedRegisterId, nullptr}, // 733
    {kUnmappedRegisterId, nullptr}, // 734
    {kUnmappedRegisterId, nullptr}, // 735
    {kUnmappedRegisterId, nullptr}, // 736
    {kUnmappedRegisterId, nullptr}, // 737
    {kUnmappedRegisterId, nullptr}, // 738
    {kUnmappedRegisterId, nullptr}, // 739
    {kUnmappedRegisterId, nullptr}, // 740
    {kUnmappedRegisterId, nullptr}, // 741
    {kUnmappedRegisterId, nullptr}, // 742
    {kUnmappedRegisterId, nullptr}, // 743
    {kUnmappedRegisterId, nullptr}, // 744
    {kUnmappedRegisterId, nullptr}, // 745
    {kUnmappedRegisterId, nullptr}, // 746
    {kUnmappedRegisterId, nullptr}, // 747
    {kUnmappedRegisterId, nullptr}, // 748
    {kUnmappedRegisterId, nullptr}, // 749
    {kUnmappedRegisterId, nullptr}, // 750
    {kUnmappedRegisterId, nullptr}, // 751
    {kUnmappedRegisterId, nullptr}, // 752
    {kUnmappedRegisterId, nullptr}, // 753
    {kUnmappedRegisterId, nullptr}, // 754
    {kUnmappedRegisterId, nullptr}, // 755
    {kUnmappedRegisterId, nullptr}, // 756
    {kUnmappedRegisterId, nullptr}, // 757
    {kUnmappedRegisterId, nullptr}, // 758
    {kUnmappedRegisterId, nullptr}, // 759
    {kUnmappedRegisterId, nullptr}, // 760
    {kUnmappedRegisterId, nullptr}, // 761
    {kUnmappedRegisterId, nullptr}, // 762
    {kUnmappedRegisterId, nullptr}, // 763
    {kUnmappedRegisterId, nullptr}, // 764
    {kUnmappedRegisterId, nullptr}, // 765
    {kUnmappedRegisterId, nullptr}, // 766
    {kUnmappedRegisterId, nullptr}, // 767
    // 768..1025: vector-scalar registers vs0..vs63, one id per 32-bit word (vs32..vs63 also
    // answer to vr0..vr31), then vscr and vrsave
    {768, n_vs0},
    {769, n_vs0_1},
    {770, n_vs0_2},
    {771, n_vs0_3},
    {772, n_vs1},
    {773, n_vs1_1},
    {774, n_vs1_2},
    {775, n_vs1_3},
    {776, n_vs2},
    {777, n_vs2_1},
    {778, n_vs2_2},
    {779, n_vs2_3},
    {780, n_vs3},
    {781, n_vs3_1},
    {782, n_vs3_2},
    {783, n_vs3_3},
    {784, n_vs4},
    {785, n_vs4_1},
    {786, n_vs4_2},
    {787, n_vs4_3},
    {788, n_vs5},
    {789, n_vs5_1},
    {790, n_vs5_2},
    {791, n_vs5_3},
    {792, n_vs6},
    {793, n_vs6_1},
    {794, n_vs6_2},
    {795, n_vs6_3},
    {796, n_vs7},
    {797, n_vs7_1},
    {798, n_vs7_2},
    {799, n_vs7_3},
    {800, n_vs8},
    {801, n_vs8_1},
    {802, n_vs8_2},
    {803, n_vs8_3},
    {804, n_vs9},
    {805, n_vs9_1},
    {806, n_vs9_2},
    {807, n_vs9_3},
    {808, n_vs10},
    {809, n_vs10_1},
    {810, n_vs10_2},
    {811, n_vs10_3},
    {812, n_vs11},
    {813, n_vs11_1},
    {814, n_vs11_2},
    {815, n_vs11_3},
    {816, n_vs12},
    {817, n_vs12_1},
    {818, n_vs12_2},
    {819, n_vs12_3},
    {820, n_vs13},
    {821, n_vs13_1},
    {822, n_vs13_2},
    {823, n_vs13_3},
    {824, n_vs14},
    {825, n_vs14_1},
    {826, n_vs14_2},
    {827, n_vs14_3},
    {828, n_vs15},
    {829, n_vs15_1},
    {830, n_vs15_2},
    {831, n_vs15_3},
    {832, n_vs16},
    {833, n_vs16_1},
    {834, n_vs16_2},
    {835, n_vs16_3},
    {836, n_vs17},
    {837, n_vs17_1},
    {838, n_vs17_2},
    {839, n_vs17_3},
    {840, n_vs18},
    {841, n_vs18_1},
    {842, n_vs18_2},
    {843, n_vs18_3},
    {844, n_vs19},
    {845, n_vs19_1},
    {846, n_vs19_2},
    {847, n_vs19_3},
    {848, n_vs20},
    {849, n_vs20_1},
    {850, n_vs20_2},
    {851, n_vs20_3},
    {852, n_vs21},
    {853, n_vs21_1},
    {854, n_vs21_2},
    {855, n_vs21_3},
    {856, n_vs22},
    {857, n_vs22_1},
    {858, n_vs22_2},
    {859, n_vs22_3},
    {860, n_vs23},
    {861, n_vs23_1},
    {862, n_vs23_2},
    {863, n_vs23_3},
    {864, n_vs24},
    {865, n_vs24_1},
    {866, n_vs24_2},
    {867, n_vs24_3},
    {868, n_vs25},
    {869, n_vs25_1},
    {870, n_vs25_2},
    {871, n_vs25_3},
    {872, n_vs26},
    {873, n_vs26_1},
    {874, n_vs26_2},
    {875, n_vs26_3},
    {876, n_vs27},
    {877, n_vs27_1},
    {878, n_vs27_2},
    {879, n_vs27_3},
    {880, n_vs28},
    {881, n_vs28_1},
    {882, n_vs28_2},
    {883, n_vs28_3},
    {884, n_vs29},
    {885, n_vs29_1},
    {886, n_vs29_2},
    {887, n_vs29_3},
    {888, n_vs30},
    {889, n_vs30_1},
    {890, n_vs30_2},
    {891, n_vs30_3},
    {892, n_vs31},
    {893, n_vs31_1},
    {894, n_vs31_2},
    {895, n_vs31_3},
    {896, n_vs32},
    {897, n_vs32_1},
    {898, n_vs32_2},
    {899, n_vs32_3},
    {900, n_vs33},
    {901, n_vs33_1},
    {902, n_vs33_2},
    {903, n_vs33_3},
    {904, n_vs34},
    {905, n_vs34_1},
    {906, n_vs34_2},
    {907, n_vs34_3},
    {908, n_vs35},
    {909, n_vs35_1},
    {910, n_vs35_2},
    {911, n_vs35_3},
    {912, n_vs36},
    {913, n_vs36_1},
    {914, n_vs36_2},
    {915, n_vs36_3},
    {916, n_vs37},
    {917, n_vs37_1},
    {918, n_vs37_2},
    {919, n_vs37_3},
    {920, n_vs38},
    {921, n_vs38_1},
    {922, n_vs38_2},
    {923, n_vs38_3},
    {924, n_vs39},
    {925, n_vs39_1},
    {926, n_vs39_2},
    {927, n_vs39_3},
    {928, n_vs40},
    {929, n_vs40_1},
    {930, n_vs40_2},
    {931, n_vs40_3},
    {932, n_vs41},
    {933, n_vs41_1},
    {934, n_vs41_2},
    {935, n_vs41_3},
    {936, n_vs42},
    {937, n_vs42_1},
    {938, n_vs42_2},
    {939, n_vs42_3},
    {940, n_vs43},
    {941, n_vs43_1},
    {942, n_vs43_2},
    {943, n_vs43_3},
    {944, n_vs44},
    {945, n_vs44_1},
    {946, n_vs44_2},
    {947, n_vs44_3},
    {948, n_vs45},
    {949, n_vs45_1},
    {950, n_vs45_2},
    {951, n_vs45_3},
    {952, n_vs46},
    {953, n_vs46_1},
    {954, n_vs46_2},
    {955, n_vs46_3},
    {956, n_vs47},
    {957, n_vs47_1},
    {958, n_vs47_2},
    {959, n_vs47_3},
    {960, n_vs48},
    {961, n_vs48_1},
    {962, n_vs48_2},
    {963, n_vs48_3},
    {964, n_vs49},
    {965, n_vs49_1},
    {966, n_vs49_2},
    {967, n_vs49_3},
    {968, n_vs50},
    {969, n_vs50_1},
    {970, n_vs50_2},
    {971, n_vs50_3},
    {972, n_vs51},
    {973, n_vs51_1},
    {974, n_vs51_2},
    {975, n_vs51_3},
    {976, n_vs52},
    {977, n_vs52_1},
    {978, n_vs52_2},
    {979, n_vs52_3},
    {980, n_vs53},
    {981, n_vs53_1},
    {982, n_vs53_2},
    {983, n_vs53_3},
    {984, n_vs54},
    {985, n_vs54_1},
    {986, n_vs54_2},
    {987, n_vs54_3},
    {988, n_vs55},
    {989, n_vs55_1},
    {990, n_vs55_2},
    {991, n_vs55_3},
    {992, n_vs56},
    {993, n_vs56_1},
    {994, n_vs56_2},
    {995, n_vs56_3},
    {996, n_vs57},
    {997, n_vs57_1},
    {998, n_vs57_2},
    {999, n_vs57_3},
    {1000, n_vs58},
    {1001, n_vs58_1},
    {1002, n_vs58_2},
    {1003, n_vs58_3},
    {1004, n_vs59},
    {1005, n_vs59_1},
    {1006, n_vs59_2},
    {1007, n_vs59_3},
    {1008, n_vs60},
    {1009, n_vs60_1},
    {1010, n_vs60_2},
    {1011, n_vs60_3},
    {1012, n_vs61},
    {1013, n_vs61_1},
    {1014, n_vs61_2},
    {1015, n_vs61_3},
    {1016, n_vs62},
    {1017, n_vs62_1},
    {1018, n_vs62_2},
    {1019, n_vs62_3},
    {1020, n_vs63},
    {1021, n_vs63_1},
    {1022, n_vs63_2},
    {1023, n_vs63_3},
    {1024, n_vscr},
    {1025, n_vrsave},
    // 1026..1087: unmapped
    {kUnmappedRegisterId, nullptr}, // 1026
    {kUnmappedRegisterId, nullptr}, // 1027
    {kUnmappedRegisterId, nullptr}, // 1028
    {kUnmappedRegisterId, nullptr}, // 1029
    {kUnmappedRegisterId, nullptr}, // 1030
    {kUnmappedRegisterId, nullptr}, // 1031
    {kUnmappedRegisterId, nullptr}, // 1032
    {kUnmappedRegisterId, nullptr}, // 1033
    {kUnmappedRegisterId, nullptr}, // 1034
    {kUnmappedRegisterId, nullptr}, // 1035
    {kUnmappedRegisterId, nullptr}, // 1036
    {kUnmappedRegisterId, nullptr}, // 1037
    {kUnmappedRegisterId, nullptr}, // 1038
    {kUnmappedRegisterId, nullptr}, // 1039
    {kUnmappedRegisterId, nullptr}, // 1040
    {kUnmappedRegisterId, nullptr}, // 1041
    {kUnmappedRegisterId, nullptr}, // 1042
    {kUnmappedRegisterId, nullptr}, // 1043
    {kUnmappedRegisterId, nullptr}, // 1044
    {kUnmappedRegisterId, nullptr}, // 1045
    {kUnmappedRegisterId, nullptr}, // 1046
    {kUnmappedRegisterId, nullptr}, // 1047
    {kUnmappedRegisterId, nullptr}, // 1048
    {kUnmappedRegisterId, nullptr}, // 1049
    {kUnmappedRegisterId, nullptr}, // 1050
    {kUnmappedRegisterId, nullptr}, // 1051
    {kUnmappedRegisterId, nullptr}, // 1052
    {kUnmappedRegisterId, nullptr}, // 1053
    {kUnmappedRegisterId, nullptr}, // 1054
    {kUnmappedRegisterId, nullptr}, // 1055
    {kUnmappedRegisterId, nullptr}, // 1056
    {kUnmappedRegisterId, nullptr}, // 1057
    {kUnmappedRegisterId, nullptr}, // 1058
    {kUnmappedRegisterId, nullptr}, // 1059
    {kUnmappedRegisterId, nullptr}, // 1060
    {kUnmappedRegisterId, nullptr}, // 1061
    {kUnmappedRegisterId, nullptr}, // 1062
    {kUnmappedRegisterId, nullptr}, // 1063
    {kUnmappedRegisterId, nullptr}, // 1064
    {kUnmappedRegisterId, nullptr}, // 1065
    {kUnmappedRegisterId, nullptr}, // 1066
    {kUnmappedRegisterId, nullptr}, // 1067
    {kUnmappedRegisterId, nullptr}, // 1068
    {kUnmappedRegisterId, nullptr}, // 1069
    {kUnmappedRegisterId, nullptr}, // 1070
    {kUnmappedRegisterId, nullptr}, // 1071
    {kUnmappedRegisterId, nullptr}, // 1072
    {kUnmappedRegisterId, nullptr}, // 1073
    {kUnmappedRegisterId, nullptr}, // 1074
    {kUnmappedRegisterId, nullptr}, // 1075
    {kUnmappedRegisterId, nullptr}, // 1076
    {kUnmappedRegisterId, nullptr}, // 1077
    {kUnmappedRegisterId, nullptr}, // 1078
    {kUnmappedRegisterId, nullptr}, // 1079
    {kUnmappedRegisterId, nullptr}, // 1080
    {kUnmappedRegisterId, nullptr}, // 1081
    {kUnmappedRegisterId, nullptr}, // 1082
    {kUnmappedRegisterId, nullptr}, // 1083
    {kUnmappedRegisterId, nullptr}, // 1084
    {kUnmappedRegisterId, nullptr}, // 1085
    {kUnmappedRegisterId, nullptr}, // 1086
    {kUnmappedRegisterId, nullptr}, // 1087
    // 1088..1111: as_: development support (comparators, counters, debug enable, port data)
    {1088, n_as_cmpa},
    {1089, n_as_cmpb},
    {1090, n_as_cmpc},
    {1091, n_as_cmpd},
    {1092, n_as_cmpe},
    {1093, n_as_cmpf},
    {1094, n_as_cmpg},
    {1095, n_as_cmph},
    {1096, n_as_ecr},
    {1097, n_as_der},
    {1098, n_as_counta},
    {1099, n_as_countb},
    {1100, n_as_lctrl1},
    {1101, n_as_lctrl2},
    {1102, n_as_ictrl},
    {1103, n_as_bar},
    {1104, n_as_dpdr},
    {1105, n_as_dpir},
    {1106, n_as_eie},
    {1107, n_as_eid},
    {1108, n_as_nri},
    {1109, n_as_fpecr},
    {kUnmappedRegisterId, nullptr}, // 1110
    {kUnmappedRegisterId, nullptr}, // 1111
    // 1112..1215: unmapped
    {kUnmappedRegisterId, nullptr}, // 1112
    {kUnmappedRegisterId, nullptr}, // 1113
    {kUnmappedRegisterId, nullptr}, // 1114
    {kUnmappedRegisterId, nullptr}, // 1115
    {kUnmappedRegisterId, nullptr}, // 1116
    {kUnmappedRegisterId, nullptr}, // 1117
    {kUnmappedRegisterId, nullptr}, // 1118
    {kUnmappedRegisterId, nullptr}, // 1119
    {kUnmappedRegisterId, nullptr}, // 1120
    {kUnmappedRegisterId, nullptr}, // 1121
    {kUnmappedRegisterId, nullptr}, // 1122
    {kUnmappedRegisterId, nullptr}, // 1123
    {kUnmappedRegisterId, nullptr}, // 1124
    {kUnmappedRegisterId, nullptr}, // 1125
    {kUnmappedRegisterId, nullptr}, // 1126
    {kUnmappedRegisterId, nullptr}, // 1127
    {kUnmappedRegisterId, nullptr}, // 1128
    {kUnmappedRegisterId, nullptr}, // 1129
    {kUnmappedRegisterId, nullptr}, // 1130
    {kUnmappedRegisterId, nullptr}, // 1131
    {kUnmappedRegisterId, nullptr}, // 1132
    {kUnmappedRegisterId, nullptr}, // 1133
    {kUnmappedRegisterId, nullptr}, // 1134
    {kUnmappedRegisterId, nullptr}, // 1135
    {kUnmappedRegisterId, nullptr}, // 1136
    {kUnmappedRegisterId, nullptr}, // 1137
    {kUnmappedRegisterId, nullptr}, // 1138
    {kUnmappedRegisterId, nullptr}, // 1139
    {kUnmappedRegisterId, nullptr}, // 1140
    {kUnmappedRegisterId, nullptr}, // 1141
    {kUnmappedRegisterId, nullptr}, // 1142
    {kUnmappedRegisterId, nullptr}, // 1143
    {kUnmappedRegisterId, nullptr}, // 1144
    {kUnmappedRegisterId, nullptr}, // 1145
    {kUnmappedRegisterId, nullptr}, // 1146
    {kUnmappedRegisterId, nullptr}, // 1147
    {kUnmappedRegisterId, nullptr}, // 1148
    {kUnmappedRegisterId, nullptr}, // 1149
    {kUnmappedRegisterId, nullptr}, // 1150
    {kUnmappedRegisterId, nullptr}, // 1151
    {kUnmappedRegisterId, nullptr}, // 1152
    {kUnmappedRegisterId, nullptr}, // 1153
    {kUnmappedRegisterId, nullptr}, // 1154
    {kUnmappedRegisterId, nullptr}, // 1155
    {kUnmappedRegisterId, nullptr}, // 1156
    {kUnmappedRegisterId, nullptr}, // 1157
    {kUnmappedRegisterId, nullptr}, // 1158
    {kUnmappedRegisterId, nullptr}, // 1159
    {kUnmappedRegisterId, nullptr}, // 1160
    {kUnmappedRegisterId, nullptr}, // 1161
    {kUnmappedRegisterId, nullptr}, // 1162
    {kUnmappedRegisterId, nullptr}, // 1163
    {kUnmappedRegisterId, nullptr}, // 1164
    {kUnmappedRegisterId, nullptr}, // 1165
    {kUnmappedRegisterId, nullptr}, // 1166
    {kUnmappedRegisterId, nullptr}, // 1167
    {kUnmappedRegisterId, nullptr}, // 1168
    {kUnmappedRegisterId, nullptr}, // 1169
    {kUnmappedRegisterId, nullptr}, // 1170
    {kUnmappedRegisterId, nullptr}, // 1171
    {kUnmappedRegisterId, nullptr}, // 1172
    {kUnmappedRegisterId, nullptr}, // 1173
    {kUnmappedRegisterId, nullptr}, // 1174
    {kUnmappedRegisterId, nullptr}, // 1175
    {kUnmappedRegisterId, nullptr}, // 1176
    {kUnmappedRegisterId, nullptr}, // 1177
    {kUnmappedRegisterId, nullptr}, // 1178
    {kUnmappedRegisterId, nullptr}, // 1179
    {kUnmappedRegisterId, nullptr}, // 1180
    {kUnmappedRegisterId, nullptr}, // 1181
    {kUnmappedRegisterId, nullptr}, // 1182
    {kUnmappedRegisterId, nullptr}, // 1183
    {kUnmappedRegisterId, nullptr}, // 1184
    {kUnmappedRegisterId, nullptr}, // 1185
    {kUnmappedRegisterId, nullptr}, // 1186
    {kUnmappedRegisterId, nullptr}, // 1187
    {kUnmappedRegisterId, nullptr}, // 1188
    {kUnmappedRegisterId, nullptr}, // 1189
    {kUnmappedRegisterId, nullptr}, // 1190
    {kUnmappedRegisterId, nullptr}, // 1191
    {kUnmappedRegisterId, nullptr}, // 1192
    {kUnmappedRegisterId, nullptr}, // 1193
    {kUnmappedRegisterId, nullptr}, // 1194
    {kUnmappedRegisterId, nullptr}, // 1195
    {kUnmappedRegisterId, nullptr}, // 1196
    {kUnmappedRegisterId, nullptr}, // 1197
    {kUnmappedRegisterId, nullptr}, // 1198
    {kUnmappedRegisterId, nullptr}, // 1199
    {kUnmappedRegisterId, nullptr}, // 1200
    {kUnmappedRegisterId, nullptr}, // 1201
    {kUnmappedRegisterId, nullptr}, // 1202
    {kUnmappedRegisterId, nullptr}, // 1203
    {kUnmappedRegisterId, nullptr}, // 1204
    {kUnmappedRegisterId, nullptr}, // 1205
    {kUnmappedRegisterId, nullptr}, // 1206
    {kUnmappedRegisterId, nullptr}, // 1207
    {kUnmappedRegisterId, nullptr}, // 1208
    {kUnmappedRegisterId, nullptr}, // 1209
    {kUnmappedRegisterId, nullptr}, // 1210
    {kUnmappedRegisterId, nullptr}, // 1211
    {kUnmappedRegisterId, nullptr}, // 1212
    {kUnmappedRegisterId, nullptr}, // 1213
    {kUnmappedRegisterId, nullptr}, // 1214
    {kUnmappedRegisterId, nullptr}, // 1215
    // 1216..1250: as_: cache and MMU control of the cores with the development-support interface
    {1216, n_as_ic_cst},
    {1217, n_as_ic_adr},
    {1218, n_as_ic_dat},
    {kUnmappedRegisterId, nullptr}, // 1219
    {1220, n_as_dc_cst},
    {1221, n_as_dc_adr},
    {1222, n_as_dc_dat},
    {kUnmappedRegisterId, nullptr}, // 1223
    {1224, n_as_immr},
    {1225, n_as_mi_ctr},
    {1226, n_as_mi_ap},
    {1227, n_as_mi_epn},
    {1228, n_as_mi_twc},
    {1229, n_as_mi_rpn},
    {1230, n_as_mi_cam},
    {1231, n_as_mi_ram0},
    {1232, n_as_mi_ram1},
    {kUnmappedRegisterId, nullptr}, // 1233
    {kUnmappedRegisterId, nullptr}, // 1234
    {kUnmappedRegisterId, nullptr}, // 1235
    {kUnmappedRegisterId, nullptr}, // 1236
    {kUnmappedRegisterId, nullptr}, // 1237
    {kUnmappedRegisterId, nullptr}, // 1238
    {kUnmappedRegisterId, nullptr}, // 1239
    {1240, n_as_md_ctr},
    {1241, n_as_m_casid},
    {1242, n_as_md_ap},
    {1243, n_as_md_epn},
    {1244, n_as_m_twb},
    {1245, n_as_md_twc},
    {1246, n_as_md_rpn},
    {1247, n_as_m_tw},
    {1248, n_as_md_cam},
    {1249, n_as_md_ram0},
    {1250, n_as_md_ram1},
    // 1251..1343: unmapped
    {kUnmappedRegisterId, nullptr}, // 1251
    {kUnmappedRegisterId, nullptr}, // 1252
    {kUnmappedRegisterId, nullptr}, // 1253
    {kUnmappedRegisterId, nullptr}, // 1254
    {kUnmappedRegisterId, nullptr}, // 1255
    {kUnmappedRegisterId, nullptr}, // 1256
    {kUnmappedRegisterId, nullptr}, // 1257
    {kUnmappedRegisterId, nullptr}, // 1258
    {kUnmappedRegisterId, nullptr}, // 1259
    {kUnmappedRegisterId, nullptr}, // 1260
    {kUnmappedRegisterId, nullptr}, // 1261
    {kUnmappedRegisterId, nullptr}, // 1262
    {kUnmappedRegisterId, nullptr}, // 1263
    {kUnmappedRegisterId, nullptr}, // 1264
    {kUnmappedRegisterId, nullptr}, // 1265
    {kUnmappedRegisterId, nullptr}, // 1266
    {kUnmappedRegisterId, nullptr}, // 1267
    {kUnmappedRegisterId, nullptr}, // 1268
    {kUnmappedRegisterId, nullptr}, // 1269
    {kUnmappedRegisterId, nullptr}, // 1270
    {kUnmappedRegisterId, nullptr}, // 1271
    {kUnmappedRegisterId, nullptr}, // 1272
    {kUnmappedRegisterId, nullptr}, // 1273
    {kUnmappedRegisterId, nullptr}, // 1274
    {kUnmappedRegisterId, nullptr}, // 1275
    {kUnmappedRegisterId, nullptr}, // 1276
    {kUnmappedRegisterId, nullptr}, // 1277
    {kUnmappedRegisterId, nullptr}, // 1278
    {kUnmappedRegisterId, nullptr}, // 1279
    {kUnmappedRegisterId, nullptr}, // 1280
    {kUnmappedRegisterId, nullptr}, // 1281
    {kUnmappedRegisterId, nullptr}, // 1282
    {kUnmappedRegisterId, nullptr}, // 1283
    {kUnmappedRegisterId, nullptr}, // 1284
    {kUnmappedRegisterId, nullptr}, // 1285
    {kUnmappedRegisterId, nullptr}, // 1286
    {kUnmappedRegisterId, nullptr}, // 1287
    {kUnmappedRegisterId, nullptr}, // 1288
    {kUnmappedRegisterId, nullptr}, // 1289
    {kUnmappedRegisterId, nullptr}, // 1290
    {kUnmappedRegisterId, nullptr}, // 1291
    {kUnmappedRegisterId, nullptr}, // 1292
    {kUnmappedRegisterId, nullptr}, // 1293
    {kUnmappedRegisterId, nullptr}, // 1294
    {kUnmappedRegisterId, nullptr}, // 1295
    {kUnmappedRegisterId, nullptr}, // 1296
    {kUnmappedRegisterId, nullptr}, // 1297
    {kUnmappedRegisterId, nullptr}, // 1298
    {kUnmappedRegisterId, nullptr}, // 1299
    {kUnmappedRegisterId, nullptr}, // 1300
    {kUnmappedRegisterId, nullptr}, // 1301
    {kUnmappedRegisterId, nullptr}, // 1302
    {kUnmappedRegisterId, nullptr}, // 1303
    {kUnmappedRegisterId, nullptr}, // 1304
    {kUnmappedRegisterId, nullptr}, // 1305
    {kUnmappedRegisterId, nullptr}, // 1306
    {kUnmappedRegisterId, nullptr}, // 1307
    {kUnmappedRegisterId, nullptr}, // 1308
    {kUnmappedRegisterId, nullptr}, // 1309
    {kUnmappedRegisterId, nullptr}, // 1310
    {kUnmappedRegisterId, nullptr}, // 1311
    {kUnmappedRegisterId, nullptr}, // 1312
    {kUnmappedRegisterId, nullptr}, // 1313
    {kUnmappedRegisterId, nullptr}, // 1314
    {kUnmappedRegisterId, nullptr}, // 1315
    {kUnmappedRegisterId, nullptr}, // 1316
    {kUnmappedRegisterId, nullptr}, // 1317
    {kUnmappedRegisterId, nullptr}, // 1318
    {kUnmappedRegisterId, nullptr}, // 1319
    {kUnmappedRegisterId, nullptr}, // 1320
    {kUnmappedRegisterId, nullptr}, // 1321
    {kUnmappedRegisterId, nullptr}, // 1322
    {kUnmappedRegisterId, nullptr}, // 1323
    {kUnmappedRegisterId, nullptr}, // 1324
    {kUnmappedRegisterId, nullptr}, // 1325
    {kUnmappedRegisterId, nullptr}, // 1326
    {kUnmappedRegisterId, nullptr}, // 1327
    {kUnmappedRegisterId, nullptr}, // 1328
    {kUnmappedRegisterId, nullptr}, // 1329
    {kUnmappedRegisterId, nullptr}, // 1330
    {kUnmappedRegisterId, nullptr}, // 1331
    {kUnmappedRegisterId, nullptr}, // 1332
    {kUnmappedRegisterId, nullptr}, // 1333
    {kUnmappedRegisterId, nullptr}, // 1334
    {kUnmappedRegisterId, nullptr}, // 1335
    {kUnmappedRegisterId, nullptr}, // 1336
    {kUnmappedRegisterId, nullptr}, // 1337
    {kUnmappedRegisterId, nullptr}, // 1338
    {kUnmappedRegisterId, nullptr}, // 1339
    {kUnmappedRegisterId, nullptr}, // 1340
    {kUnmappedRegisterId, nullptr}, // 1341
    {kUnmappedRegisterId, nullptr}, // 1342
    {kUnmappedRegisterId, nullptr}, // 1343
    // 1344..1363: as_: memory protection and bus control of the same cores
    {1344, n_as_mi_gra},
    {1345, n_as_l2u_gra},
    {1346, n_as_bbcmcr},
    {1347, n_as_l2u_mcr},
    {1348, n_as_mi_rba0},
    {1349, n_as_mi_rba1},
    {1350, n_as_mi_rba2},
    {1351, n_as_mi_rba3},
    {1352, n_as_mi_ra0},
    {1353, n_as_mi_ra1},
    {1354, n_as_mi_ra2},
    {1355, n_as_mi_ra3},
    {1356, n_as_l2u_rba0},
    {1357, n_as_l2u_rba1},
    {1358, n_as_l2u_rba2},
    {1359, n_as_l2u_rba3},
    {1360, n_as_l2u_ra0},
    {1361, n_as_l2u_ra1},
    {1362, n_as_l2u_ra2},
    {1363, n_as_l2u_ra3},
    // 1364..1575: unmapped
    {kUnmappedRegisterId, nullptr}, // 1364
    {kUnmappedRegisterId, nullptr}, // 1365
    {kUnmappedRegisterId, nullptr}, // 1366
    {kUnmappedRegisterId, nullptr}, // 1367
    {kUnmappedRegisterId, nullptr}, // 1368
    {kUnmappedRegisterId, nullptr}, // 1369
    {kUnmappedRegisterId, nullptr}, // 1370
    {kUnmappedRegisterId, nullptr}, // 1371
    {kUnmappedRegisterId, nullptr}, // 1372
    {kUnmappedRegisterId, nullptr}, // 1373
    {kUnmappedRegisterId, nullptr}, // 1374
    {kUnmappedRegisterId, nullptr}, // 1375
    {kUnmappedRegisterId, nullptr}, // 1376
    {kUnmappedRegisterId, nullptr}, // 1377
    {kUnmappedRegisterId, nullptr}, // 1378
    {kUnmappedRegisterId, nullptr}, // 1379
    {kUnmappedRegisterId, nullptr}, // 1380
    {kUnmappedRegisterId, nullptr}, // 1381
    {kUnmappedRegisterId, nullptr}, // 1382
    {kUnmappedRegisterId, nullptr}, // 1383
    {kUnmappedRegisterId, nullptr}, // 1384
    {kUnmappedRegisterId, nullptr}, // 1385
    {kUnmappedRegisterId, nullptr}, // 1386
    {kUnmappedRegisterId, nullptr}, // 1387
    {kUnmappedRegisterId, nullptr}, // 1388
    {kUnmappedRegisterId, nullptr}, // 1389
    {kUnmappedRegisterId, nullptr}, // 1390
    {kUnmappedRegisterId, nullptr}, // 1391
    {kUnmappedRegisterId, nullptr}, // 1392
    {kUnmappedRegisterId, nullptr}, // 1393
    {kUnmappedRegisterId, nullptr}, // 1394
    {kUnmappedRegisterId, nullptr}, // 1395
    {kUnmappedRegisterId, nullptr}, // 1396
    {kUnmappedRegisterId, nullptr}, // 1397
    {kUnmappedRegisterId, nullptr}, // 1398
    {kUnmappedRegisterId, nullptr}, // 1399
    {kUnmappedRegisterId, nullptr}, // 1400
    {kUnmappedRegisterId, nullptr}, // 1401
    {kUnmappedRegisterId, nullptr}, // 1402
    {kUnmappedRegisterId, nullptr}, // 1403
    {kUnmappedRegisterId, nullptr}, // 1404
    {kUnmappedRegisterId, nullptr}, // 1405
    {kUnmappedRegisterId, nullptr}, // 1406
    {kUnmappedRegisterId, nullptr}, // 1407
    {kUnmappedRegisterId, nullptr}, // 1408
    {kUnmappedRegisterId, nullptr}, // 1409
    {kUnmappedRegisterId, nullptr}, // 1410
    {kUnmappedRegisterId, nullptr}, // 1411
    {kUnmappedRegisterId, nullptr}, // 1412
    {kUnmappedRegisterId, nullptr}, // 1413
    {kUnmappedRegisterId, nullptr}, // 1414
    {kUnmappedRegisterId, nullptr}, // 1415
    {kUnmappedRegisterId, nullptr}, // 1416
    {kUnmappedRegisterId, nullptr}, // 1417
    {kUnmappedRegisterId, nullptr}, // 1418
    {kUnmappedRegisterId, nullptr}, // 1419
    {kUnmappedRegisterId, nullptr}, // 1420
    {kUnmappedRegisterId, nullptr}, // 1421
    {kUnmappedRegisterId, nullptr}, // 1422
    {kUnmappedRegisterId, nullptr}, // 1423
    {kUnmappedRegisterId, nullptr}, // 1424
    {kUnmappedRegisterId, nullptr}, // 1425
    {kUnmappedRegisterId, nullptr}, // 1426
    {kUnmappedRegisterId, nullptr}, // 1427
    {kUnmappedRegisterId, nullptr}, // 1428
    {kUnmappedRegisterId, nullptr}, // 1429
    {kUnmappedRegisterId, nullptr}, // 1430
    {kUnmappedRegisterId, nullptr}, // 1431
    {kUnmappedRegisterId, nullptr}, // 1432
    {kUnmappedRegisterId, nullptr}, // 1433
    {kUnmappedRegisterId, nullptr}, // 1434
    {kUnmappedRegisterId, nullptr}, // 1435
    {kUnmappedRegisterId, nullptr}, // 1436
    {kUnmappedRegisterId, nullptr}, // 1437
    {kUnmappedRegisterId, nullptr}, // 1438
    {kUnmappedRegisterId, nullptr}, // 1439
    {kUnmappedRegisterId, nullptr}, // 1440
    {kUnmappedRegisterId, nullptr}, // 1441
    {kUnmappedRegisterId, nullptr}, // 1442
    {kUnmappedRegisterId, nullptr}, // 1443
    {kUnmappedRegisterId, nullptr}, // 1444
    {kUnmappedRegisterId, nullptr}, // 1445
    {kUnmappedRegisterId, nullptr}, // 1446
    {kUnmappedRegisterId, nullptr}, // 1447
    {kUnmappedRegisterId, nullptr}, // 1448
    {kUnmappedRegisterId, nullptr}, // 1449
    {kUnmappedRegisterId, nullptr}, // 1450
    {kUnmappedRegisterId, nullptr}, // 1451
    {kUnmappedRegisterId, nullptr}, // 1452
    {kUnmappedRegisterId, nullptr}, // 1453
    {kUnmappedRegisterId, nullptr}, // 1454
    {kUnmappedRegisterId, nullptr}, // 1455
    {kUnmappedRegisterId, nullptr}, // 1456
    {kUnmappedRegisterId, nullptr}, // 1457
    {kUnmappedRegisterId, nullptr}, // 1458
    {kUnmappedRegisterId, nullptr}, // 1459
    {kUnmappedRegisterId, nullptr}, // 1460
    {kUnmappedRegisterId, nullptr}, // 1461
    {kUnmappedRegisterId, nullptr}, // 1462
    {kUnmappedRegisterId, nullptr}, // 1463
    {kUnmappedRegisterId, nullptr}, // 1464
    {kUnmappedRegisterId, nullptr}, // 1465
    {kUnmappedRegisterId, nullptr}, // 1466
    {kUnmappedRegisterId, nullptr}, // 1467
    {kUnmappedRegisterId, nullptr}, // 1468
    {kUnmappedRegisterId, nullptr}, // 1469
    {kUnmappedRegisterId, nullptr}, // 1470
    {kUnmappedRegisterId, nullptr}, // 1471
    {kUnmappedRegisterId, nullptr}, // 1472
    {kUnmappedRegisterId, nullptr}, // 1473
    {kUnmappedRegisterId, nullptr}, // 1474
    {kUnmappedRegisterId, nullptr}, // 1475
    {kUnmappedRegisterId, nullptr}, // 1476
    {kUnmappedRegisterId, nullptr}, // 1477
    {kUnmappedRegisterId, nullptr}, // 1478
    {kUnmappedRegisterId, nullptr}, // 1479
    {kUnmappedRegisterId, nullptr}, // 1480
    {kUnmappedRegisterId, nullptr}, // 1481
    {kUnmappedRegisterId, nullptr}, // 1482
    {kUnmappedRegisterId, nullptr}, // 1483
    {kUnmappedRegisterId, nullptr}, // 1484
    {kUnmappedRegisterId, nullptr}, // 1485
    {kUnmappedRegisterId, nullptr}, // 1486
    {kUnmappedRegisterId, nullptr}, // 1487
    {kUnmappedRegisterId, nullptr}, // 1488
    {kUnmappedRegisterId, nullptr}, // 1489
    {kUnmappedRegisterId, nullptr}, // 1490
    {kUnmappedRegisterId, nullptr}, // 1491
    {kUnmappedRegisterId, nullptr}, // 1492
    {kUnmappedRegisterId, nullptr}, // 1493
    {kUnmappedRegisterId, nullptr}, // 1494
    {kUnmappedRegisterId, nullptr}, // 1495
    {kUnmappedRegisterId, nullptr}, // 1496
    {kUnmappedRegisterId, nullptr}, // 1497
    {kUnmappedRegisterId, nullptr}, // 1498
    {kUnmappedRegisterId, nullptr}, // 1499
    {kUnmappedRegisterId, nullptr}, // 1500
    {kUnmappedRegisterId, nullptr}, // 1501
    {kUnmappedRegisterId, nullptr}, // 1502
    {kUnmappedRegisterId, nullptr}, // 1503
    {kUnmappedRegisterId, nullptr}, // 1504
    {kUnmappedRegisterId, nullptr}, // 1505
    {kUnmappedRegisterId, nullptr}, // 1506
    {kUnmappedRegisterId, nullptr}, // 1507
    {kUnmappedRegisterId, nullptr}, // 1508
    {kUnmappedRegisterId, nullptr}, // 1509
    {kUnmappedRegisterId, nullptr}, // 1510
    {kUnmappedRegisterId, nullptr}, // 1511
    {kUnmappedRegisterId, nullptr}, // 1512
    {kUnmappedRegisterId, nullptr}, // 1513
    {kUnmappedRegisterId, nullptr}, // 1514
    {kUnmappedRegisterId, nullptr}, // 1515
    {kUnmappedRegisterId, nullptr}, // 1516
    {kUnmappedRegisterId, nullptr}, // 1517
    {kUnmappedRegisterId, nullptr}, // 1518
    {kUnmappedRegisterId, nullptr}, // 1519
    {kUnmappedRegisterId, nullptr}, // 1520
    {kUnmappedRegisterId, nullptr}, // 1521
    {kUnmappedRegisterId, nullptr}, // 1522
    {kUnmappedRegisterId, nullptr}, // 1523
    {kUnmappedRegisterId, nullptr}, // 1524
    {kUnmappedRegisterId, nullptr}, // 1525
    {kUnmappedRegisterId, nullptr}, // 1526
    {kUnmappedRegisterId, nullptr}, // 1527
    {kUnmappedRegisterId, nullptr}, // 1528
    {kUnmappedRegisterId, nullptr}, // 1529
    {kUnmappedRegisterId, nullptr}, // 1530
    {kUnmappedRegisterId, nullptr}, // 1531
    {kUnmappedRegisterId, nullptr}, // 1532
    {kUnmappedRegisterId, nullptr}, // 1533
    {kUnmappedRegisterId, nullptr}, // 1534
    {kUnmappedRegisterId, nullptr}, // 1535
    {kUnmappedRegisterId, nullptr}, // 1536
    {kUnmappedRegisterId, nullptr}, // 1537
    {kUnmappedRegisterId, nullptr}, // 1538
    {kUnmappedRegisterId, nullptr}, // 1539
    {kUnmappedRegisterId, nullptr}, // 1540
    {kUnmappedRegisterId, nullptr}, // 1541
    {kUnmappedRegisterId, nullptr}, // 1542
    {kUnmappedRegisterId, nullptr}, // 1543
    {kUnmappedRegisterId, nullptr}, // 1544
    {kUnmappedRegisterId, nullptr}, // 1545
    {kUnmappedRegisterId, nullptr}, // 1546
    {kUnmappedRegisterId, nullptr}, // 1547
    {kUnmappedRegisterId, nullptr}, // 1548
    {kUnmappedRegisterId, nullptr}, // 1549
    {kUnmappedRegisterId, nullptr}, // 1550
    {kUnmappedRegisterId, nullptr}, // 1551
    {kUnmappedRegisterId, nullptr}, // 1552
    {kUnmappedRegisterId, nullptr}, // 1553
    {kUnmappedRegisterId, nullptr}, // 1554
    {kUnmappedRegisterId, nullptr}, // 1555
    {kUnmappedRegisterId, nullptr}, // 1556
    {kUnmappedRegisterId, nullptr}, // 1557
    {kUnmappedRegisterId, nullptr}, // 1558
    {kUnmappedRegisterId, nullptr}, // 1559
    {kUnmappedRegisterId, nullptr}, // 1560
    {kUnmappedRegisterId, nullptr}, // 1561
    {kUnmappedRegisterId, nullptr}, // 1562
    {kUnmappedRegisterId, nullptr}, // 1563
    {kUnmappedRegisterId, nullptr}, // 1564
    {kUnmappedRegisterId, nullptr}, // 1565
    {kUnmappedRegisterId, nullptr}, // 1566
    {kUnmappedRegisterId, nullptr}, // 1567
    {kUnmappedRegisterId, nullptr}, // 1568
    {kUnmappedRegisterId, nullptr}, // 1569
    {kUnmappedRegisterId, nullptr}, // 1570
    {kUnmappedRegisterId, nullptr}, // 1571
    {kUnmappedRegisterId, nullptr}, // 1572
    {kUnmappedRegisterId, nullptr}, // 1573
    {kUnmappedRegisterId, nullptr}, // 1574
    {kUnmappedRegisterId, nullptr}, // 1575
    // 1576..1618: cache debug, TLB victim limits and core configuration
    {1576, n_dccr},
    {1577, n_iccr},
    {1578, n_dcwr},
    {1579, n_sgr},
    {1580, n_sler},
    {1581, n_su0r},
    {1582, n_cdbcr},
    {kUnmappedRegisterId, nullptr}, // 1583
    {1584, n_icdbdr},
    {1585, n_icdbtrh},
    {1586, n_icdbtrl},
    {1587, n_dcdbtrh},
    {1588, n_dcdbtrl},
    {kUnmappedRegisterId, nullptr}, // 1589
    {kUnmappedRegisterId, nullptr}, // 1590
    {kUnmappedRegisterId, nullptr}, // 1591
    {1592, n_dnv0},
    {1593, n_dnv1},
    {1594, n_dnv2},
    {1595, n_dnv3},
    {1596, n_dtv0},
    {1597, n_dtv1},
    {1598, n_dtv2},
    {1599, n_dtv3},
    {1600, n_inv0},
    {1601, n_inv1},
    {1602, n_inv2},
    {1603, n_inv3},
    {1604, n_itv0},
    {1605, n_itv1},
    {1606, n_itv2},
    {1607, n_itv3},
    {1608, n_dvlim},
    {1609, n_ivlim},
    {1610, n_rstcfg},
    {kUnmappedRegisterId, nullptr}, // 1611
    {kUnmappedRegisterId, nullptr}, // 1612
    {kUnmappedRegisterId, nullptr}, // 1613
    {kUnmappedRegisterId, nullptr}, // 1614
    {kUnmappedRegisterId, nullptr}, // 1615
    {1616, n_ccr0},
    {1617, n_ccr1},
    {1618, n_ccr2},
};

} // namespace

const RegisterIdTable kPowerPcRegisterTable = {"PowerPC", kEntries,
                                               static_cast<int32_t>(std::size(kEntries))};
