/* Static configuration of the dual-core demo application: every OS object lives in one of
 * the tables below, in the order of the identifiers of os_cfg.h and of demo_target_smp.ort. */
#include "os_cfg.h"

const char OsVersion[] = "demo kernel 1.0 (dual cortex-a15)";

#define STACK(name) __attribute__((aligned(8))) uint32_t OsStack_##name[OS_TASK_STACK_WORDS]
STACK(Task_Init0);
STACK(Task_Control0);
STACK(Task_Logger0);
STACK(Task_Monitor0);
STACK(Task_Report0);
STACK(Task_Idle0);
STACK(Task_Init1);
STACK(Task_Comm1);
STACK(Task_Filter1);
STACK(Task_Sync1);
STACK(Task_Idle1);

/* The cores' own stacks have a section of their own so that each core can fill them with the
 * pattern at reset, before anything runs on them, and the C runtime's clearing of .bss (done
 * by core 0 while core 1 may not be up yet) leaves them alone. */
__attribute__((section(".os_stack"), aligned(8)))
uint32_t OsSystemStack[OS_NUM_CORES][OS_SYSTEM_STACK_WORDS];
__attribute__((section(".os_stack"), aligned(8)))
uint32_t OsIrqStack[OS_NUM_CORES][OS_IRQ_STACK_WORDS];

#define TASK_STACK(name) {OsStack_##name, sizeof(OsStack_##name), "Stack_" #name}

const struct os_stack OsStackCfg[OS_NUM_STACKS] = {
    TASK_STACK(Task_Init0),
    TASK_STACK(Task_Control0),
    TASK_STACK(Task_Logger0),
    TASK_STACK(Task_Monitor0),
    TASK_STACK(Task_Report0),
    TASK_STACK(Task_Idle0),
    TASK_STACK(Task_Init1),
    TASK_STACK(Task_Comm1),
    TASK_STACK(Task_Filter1),
    TASK_STACK(Task_Sync1),
    TASK_STACK(Task_Idle1),
    {OsSystemStack[0], sizeof(OsSystemStack[0]), "Stack_System0"},
    {OsIrqStack[0], sizeof(OsIrqStack[0]), "Stack_Irq0"},
    {OsSystemStack[1], sizeof(OsSystemStack[1]), "Stack_System1"},
    {OsIrqStack[1], sizeof(OsIrqStack[1]), "Stack_Irq1"},
};

#define TCB(task, on_core, prio, maxact, ext, autost)                                         \
    {.sp = 0,                                                                                 \
     .name = #task,                                                                           \
     .entry = OsTask_##task,                                                                  \
     .stack = &OsStackCfg[task],                                                              \
     .id = task,                                                                              \
     .core = on_core,                                                                         \
     .base_prio = prio,                                                                       \
     .cur_prio = prio,                                                                        \
     .state = SUSPENDED,                                                                      \
     .max_activations = maxact,                                                               \
     .extended = ext,                                                                         \
     .autostart = autost}

struct os_tcb OsTcb[OS_NUM_TASKS] = {
    TCB(Task_Init0, OS_CORE_ID_0, 5, 1, 0, 1),
    TCB(Task_Control0, OS_CORE_ID_0, 4, 1, 1, 0),
    TCB(Task_Logger0, OS_CORE_ID_0, 1, 1, 0, 0),
    TCB(Task_Monitor0, OS_CORE_ID_0, 3, 1, 0, 0),
    TCB(Task_Report0, OS_CORE_ID_0, 2, 2, 0, 0),
    TCB(Task_Idle0, OS_CORE_ID_0, 0, 1, 0, 1),
    TCB(Task_Init1, OS_CORE_ID_1, 6, 1, 0, 1),
    TCB(Task_Comm1, OS_CORE_ID_1, 5, 1, 1, 0),
    TCB(Task_Filter1, OS_CORE_ID_1, 2, 1, 0, 0),
    TCB(Task_Sync1, OS_CORE_ID_1, 4, 1, 0, 0),
    TCB(Task_Idle1, OS_CORE_ID_1, 0, 1, 0, 1),
};

/* Ceilings: the highest priority of the tasks that use the resource. */
struct os_resource OsResource[OS_NUM_RESOURCES] = {
    {.name = "Res_Log0", .core = OS_CORE_ID_0, .ceiling = 2, .locker = OS_INVALID_TASK},
    {.name = "Res_Filter1", .core = OS_CORE_ID_1, .ceiling = 5, .locker = OS_INVALID_TASK},
};

struct os_spinlock OsSpinlock[OS_NUM_SPINLOCKS] = {
    {.name = "Spin_Uart", .owner = OS_INVALID_TASK},
    {.name = "Spin_Mailbox", .owner = OS_INVALID_TASK},
};

struct os_counter OsCounter[OS_NUM_COUNTERS] = {
    {.name = "Counter_Sys0",
     .maxallowedvalue = 0xFFFFFFFFu,
     .ticksperbase = 1,
     .mincycle = 1,
     .core = OS_CORE_ID_0},
    {.name = "Counter_Sys1",
     .maxallowedvalue = 0xFFFFFFFFu,
     .ticksperbase = 1,
     .mincycle = 1,
     .core = OS_CORE_ID_1},
};

struct os_alarm OsAlarm[OS_NUM_ALARMS] = {
    {.name = "Alarm_Cycle0",
     .counter = &OsCounter[Counter_Sys0],
     .action = OS_ACTION_SETEVENT,
     .task = Task_Control0,
     .event = EV_CYCLE,
     .action_text = "SetEvent Task_Control0 EV_CYCLE"},
    {.name = "Alarm_Timeout0",
     .counter = &OsCounter[Counter_Sys0],
     .action = OS_ACTION_SETEVENT,
     .task = Task_Control0,
     .event = EV_TIMEOUT,
     .action_text = "SetEvent Task_Control0 EV_TIMEOUT"},
    {.name = "Alarm_Cycle1",
     .counter = &OsCounter[Counter_Sys1],
     .action = OS_ACTION_SETEVENT,
     .task = Task_Comm1,
     .event = EV_CYCLE,
     .action_text = "SetEvent Task_Comm1 EV_CYCLE"},
    {.name = "Alarm_Watchdog1",
     .counter = &OsCounter[Counter_Sys1],
     .action = OS_ACTION_SETEVENT,
     .task = Task_Comm1,
     .event = EV_TIMEOUT,
     .action_text = "SetEvent Task_Comm1 EV_TIMEOUT"},
};

/* The virtual timer is a private interrupt: the same number on each core, one source each. */
struct os_isr OsIsr[OS_NUM_ISRS] = {
    {.name = "Isr_Tick0", .intid = OS_INTID_VTIMER, .core = OS_CORE_ID_0, .priority = OS_PRIO_TICK},
    {.name = "Isr_Tick1", .intid = OS_INTID_VTIMER, .core = OS_CORE_ID_1, .priority = OS_PRIO_TICK},
};
