/* Cortex-A15 port of the dual-core demo kernel for QEMU's virt board: the interrupt
 * controller (GICv2), the per-core virtual timer, starting a core through PSCI, and the
 * identity-mapped translation table that both cores share. */
#include "os_cfg.h"

#define REG32(a) (*(volatile uint32_t *)(a))
#define REG8(a) (*(volatile uint8_t *)(a))

#define GICD_BASE 0x08000000u
#define GICD_CTLR REG32(GICD_BASE + 0x000u)
#define GICD_ISENABLER(n) REG32(GICD_BASE + 0x100u + 4u * (n))
#define GICD_IPRIORITYR(n) REG8(GICD_BASE + 0x400u + (n))
#define GICD_SGIR REG32(GICD_BASE + 0xF00u)
#define GICD_SGIR_TO_SELF (2u << 24)
#define GICD_SGIR_TARGET(core) ((1u << (core)) << 16)

#define GICC_BASE 0x08010000u
#define GICC_CTLR REG32(GICC_BASE + 0x00u)
#define GICC_PMR REG32(GICC_BASE + 0x04u)
#define GICC_IAR REG32(GICC_BASE + 0x0Cu)
#define GICC_EOIR REG32(GICC_BASE + 0x10u)

#define PSCI_CPU_ON 0x84000003u

#define CNTV_CTL_ENABLE 1u

void os_port_init_shared(void)
{
    GICD_CTLR = 1u;
}

/* The enables and priorities of software-generated and private interrupts are banked: each
 * core sets its own. */
void os_port_init_core(void)
{
    GICD_IPRIORITYR(OS_SGI_SCHEDULE) = OS_PRIO_SCHEDULE;
    GICD_IPRIORITYR(OS_SGI_WAKE) = OS_PRIO_WAKE;
    GICD_IPRIORITYR(OS_INTID_VTIMER) = OS_PRIO_TICK;
    GICD_ISENABLER(0) = (1u << OS_SGI_SCHEDULE) | (1u << OS_SGI_WAKE) | (1u << OS_INTID_VTIMER);
    GICC_PMR = OS_PRIO_MASK_NONE;
    GICC_CTLR = 1u;
}

CoreIdType os_port_core_id(void)
{
    uint32_t mpidr;
    __asm volatile("mrc p15, 0, %0, c0, c0, 5" : "=r"(mpidr));
    return (CoreIdType)(mpidr & 0xFFu);
}

/* Each core keeps its own entry of OsCore[] in its privileged thread ID register, where the
 * kernel finds it in one instruction and a debugger sees which core a thread is. */
void os_port_set_core_state(struct os_core *c)
{
    __asm volatile("mcr p15, 0, %0, c13, c0, 4" ::"r"(c));
}

struct os_core *os_port_core_state(void)
{
    struct os_core *c;
    __asm volatile("mrc p15, 0, %0, c13, c0, 4" : "=r"(c));
    return c;
}

uint64_t os_port_time(void)
{
    uint32_t lo;
    uint32_t hi;
    __asm volatile("isb\n\tmrrc p15, 1, %0, %1, c14" : "=r"(lo), "=r"(hi));
    return ((uint64_t)hi << 32) | lo;
}

static void os_port_set_compare(uint64_t when)
{
    __asm volatile("mcrr p15, 3, %0, %1, c14" ::"r"((uint32_t)when), "r"((uint32_t)(when >> 32)));
    __asm volatile("isb");
}

/* Ticks are counted from the same epoch on both cores, one period apart each, so a tick that
 * is taken late does not shift the ones after it. */
void os_port_start_tick(struct os_core *c, uint64_t epoch)
{
    uint32_t freq;

    __asm volatile("mrc p15, 0, %0, c14, c0, 0" : "=r"(freq));
    c->tick_period = freq / OS_TICK_HZ;
    c->next_tick = epoch + c->tick_period;
    os_port_set_compare(c->next_tick);
    __asm volatile("mcr p15, 0, %0, c14, c3, 1" ::"r"(CNTV_CTL_ENABLE));
    __asm volatile("isb");
}

void os_port_next_tick(struct os_core *c)
{
    c->next_tick += c->tick_period;
    os_port_set_compare(c->next_tick);
}

void os_port_send_sgi(uint32_t sgi, CoreIdType core)
{
    __asm volatile("dsb" ::: "memory");
    GICD_SGIR = GICD_SGIR_TARGET(core) | sgi;
    __asm volatile("dsb" ::: "memory");
}

void os_port_send_sgi_self(uint32_t sgi)
{
    GICD_SGIR = GICD_SGIR_TO_SELF | sgi;
    __asm volatile("dsb" ::: "memory");
}

uint32_t os_port_ack_irq(void)
{
    return GICC_IAR;
}

void os_port_end_irq(uint32_t iar)
{
    GICC_EOIR = iar;
}

uint32_t os_port_set_priority_mask(uint32_t mask)
{
    uint32_t old = GICC_PMR;
    GICC_PMR = mask;
    __asm volatile("dsb" ::: "memory");
    return old;
}

/* The board's firmware interface: the hypervisor call is taken by the emulator itself. */
int32_t os_port_cpu_on(CoreIdType core, void (*entry)(void))
{
    register uint32_t r0 __asm("r0") = PSCI_CPU_ON;
    register uint32_t r1 __asm("r1") = core;
    register uint32_t r2 __asm("r2") = (uint32_t)(uintptr_t)entry;
    register uint32_t r3 __asm("r3") = 0;

    __asm volatile(".arch_extension virt\n\thvc #0"
                   : "+r"(r0)
                   : "r"(r1), "r"(r2), "r"(r3)
                   : "memory");
    return (int32_t)r0;
}

/* Short-descriptor translation table, 1 MiB sections, identity map: RAM as normal shareable
 * write-back memory, so that the spinlocks' exclusive accesses are defined on it, and the
 * rest (the board's devices) as shareable device memory that is never executed. */
#define OS_MMU_SECTIONS 4096u
#define OS_MMU_SECTION 0x2u
#define OS_MMU_B (1u << 2)
#define OS_MMU_C (1u << 3)
#define OS_MMU_XN (1u << 4)
#define OS_MMU_AP_RW (3u << 10)
#define OS_MMU_TEX1 (1u << 12)
#define OS_MMU_S (1u << 16)
#define OS_MMU_NORMAL (OS_MMU_TEX1 | OS_MMU_C | OS_MMU_B | OS_MMU_S)
#define OS_MMU_DEVICE (OS_MMU_B | OS_MMU_XN)
#define OS_RAM_FIRST_SECTION 0x400u /* 0x40000000 */
#define OS_RAM_LAST_SECTION 0x7FFu
/* TTBR0 walk attributes: inner write-back write-allocate (IRGN 01), shareable, outer
 * write-back write-allocate (RGN 01). */
#define OS_MMU_TTBR_WALK_WB_SHARED 0x4Au
#define OS_ACTLR_SMP (1u << 6)
#define OS_SCTLR_M (1u << 0)
#define OS_SCTLR_C (1u << 2)
#define OS_SCTLR_Z (1u << 11)
#define OS_SCTLR_I (1u << 12)

__attribute__((section(".os_mmu"), aligned(16384))) uint32_t OsTranslationTable[OS_MMU_SECTIONS];

void os_port_build_translation_table(void)
{
    uint32_t i;

    for (i = 0; i < OS_MMU_SECTIONS; i++) {
        uint32_t attr = (i >= OS_RAM_FIRST_SECTION && i <= OS_RAM_LAST_SECTION) ? OS_MMU_NORMAL
                                                                                : OS_MMU_DEVICE;
        OsTranslationTable[i] = (i << 20) | attr | OS_MMU_AP_RW | OS_MMU_SECTION;
    }
    __asm volatile("dsb" ::: "memory");
}

/* Coherent with the other core (ACTLR.SMP) before the caches are on; table walks inner and
 * outer write-back, shareable. The emulator keeps no cache contents, so none are invalidated
 * by set and way first, as silicon would need. */
void os_port_enable_mmu(void)
{
    uint32_t ttbr0 = (uint32_t)(uintptr_t)OsTranslationTable | OS_MMU_TTBR_WALK_WB_SHARED;
    uint32_t r;

    __asm volatile("mrc p15, 0, %0, c1, c0, 1" : "=r"(r)); /* ACTLR */
    r |= OS_ACTLR_SMP;
    __asm volatile("mcr p15, 0, %0, c1, c0, 1" ::"r"(r));
    __asm volatile("mcr p15, 0, %0, c2, c0, 2" ::"r"(0u)); /* TTBCR: TTBR0 only */
    __asm volatile("mcr p15, 0, %0, c2, c0, 0" ::"r"(ttbr0));
    __asm volatile("mcr p15, 0, %0, c3, c0, 0" ::"r"(1u)); /* DACR: domain 0 client */
    __asm volatile("mcr p15, 0, %0, c8, c7, 0" ::"r"(0u)); /* TLBIALL */
    __asm volatile("mcr p15, 0, %0, c7, c5, 0" ::"r"(0u)); /* ICIALLU */
    __asm volatile("dsb\n\tisb" ::: "memory");
    __asm volatile("mrc p15, 0, %0, c1, c0, 0" : "=r"(r)); /* SCTLR */
    r |= OS_SCTLR_M | OS_SCTLR_C | OS_SCTLR_Z | OS_SCTLR_I;
    __asm volatile("mcr p15, 0, %0, c1, c0, 0" ::"r"(r));
    __asm volatile("isb" ::: "memory");
}
