/* Object identifiers of the dual-core demo application, as an OS configuration tool would
 * emit them for demo_target_smp.ort. The numbers index the tables of os_cfg.c; task ids are
 * unique over both cores. */
#ifndef OS_CFG_H
#define OS_CFG_H

#include "os.h"

/* Core 0. */
#define Task_Init0 0u
#define Task_Control0 1u
#define Task_Logger0 2u
#define Task_Monitor0 3u
#define Task_Report0 4u
#define Task_Idle0 5u
/* Core 1. */
#define Task_Init1 6u
#define Task_Comm1 7u
#define Task_Filter1 8u
#define Task_Sync1 9u
#define Task_Idle1 10u

#define Res_Log0 0u
#define Res_Filter1 1u

#define Spin_Uart 0u
#define Spin_Mailbox 1u

#define Counter_Sys0 0u
#define Counter_Sys1 1u

#define Alarm_Cycle0 0u
#define Alarm_Timeout0 1u
#define Alarm_Cycle1 2u
#define Alarm_Watchdog1 3u

#define Isr_Tick0 0u
#define Isr_Tick1 1u

#define EV_CYCLE 0x01u
#define EV_TIMEOUT 0x02u
#define EV_WAKE 0x04u

#define OSDEFAULTAPPMODE 0u
#define DONOTCARE 0xFFu

/* Interrupt numbers of the interrupt controller: two software-generated interrupts of the
 * kernel and the per-core virtual timer. */
#define OS_SGI_SCHEDULE 0u
#define OS_SGI_WAKE 1u
#define OS_INTID_VTIMER 27u

/* Priority register values (lower is more urgent). A held core masks everything at or above
 * OS_PRIO_HOLD_MASK, which lets only the wake-up interrupt through. */
#define OS_PRIO_WAKE 0x80u
#define OS_PRIO_HOLD_MASK 0x90u
#define OS_PRIO_TICK 0xA0u
#define OS_PRIO_SCHEDULE 0xC0u
#define OS_PRIO_MASK_NONE 0xF0u

#define OS_TICK_HZ 1000u

#define OS_TASK_STACK_WORDS 256u
#define OS_SYSTEM_STACK_WORDS 256u
#define OS_IRQ_STACK_WORDS 256u
#define OS_STACK_FILL 0xAAAAAAAAu

#define TASK(name) void OsTask_##name(void)
TASK(Task_Init0);
TASK(Task_Control0);
TASK(Task_Logger0);
TASK(Task_Monitor0);
TASK(Task_Report0);
TASK(Task_Idle0);
TASK(Task_Init1);
TASK(Task_Comm1);
TASK(Task_Filter1);
TASK(Task_Sync1);
TASK(Task_Idle1);

/* Stacks of the cores themselves (os_cfg.c): the boot and exception stack, and the stack the
 * interrupt handlers run on. os_port.S sets them up from these arrays. */
extern uint32_t OsSystemStack[OS_NUM_CORES][OS_SYSTEM_STACK_WORDS];
extern uint32_t OsIrqStack[OS_NUM_CORES][OS_IRQ_STACK_WORDS];

#endif
