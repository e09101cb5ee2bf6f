/* C runtime set-up of both cores, after os_port.S has given them their stacks. */
#include "os_cfg.h"

extern uint32_t __bss_start[], __bss_end[];

int main(void);
void os_boot(uint32_t core);

_Static_assert(sizeof(OsSystemStack[0]) == 1024u && sizeof(OsIrqStack[0]) == 1024u,
               "os_port.S sets the cores' stacks up for 1 KiB each");

/* A main() that returns stops here, where a debugger finds it. */
void os_unexpected(void)
{
    for (;;) {
    }
}

/* The program is loaded straight into RAM, .data included; only .bss is cleared, by core 0,
 * before it starts core 1 (from main). Core 1 finds the translation table already built. */
void os_boot(uint32_t core)
{
    uint32_t *p;

    os_port_set_core_state(&OsCore[core]);
    if (core == OS_CORE_ID_0) {
        os_port_build_translation_table();
    }
    os_port_enable_mmu();
    if (core == OS_CORE_ID_0) {
        for (p = __bss_start; p < __bss_end; p++) {
            *p = 0;
        }
        os_port_init_shared();
    }
    (void)main();
    os_unexpected();
}
