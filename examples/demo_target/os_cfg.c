/* Static configuration of the demo application: every OS object lives in one of the tables
 * below, in the order of the identifiers of os_cfg.h and of demo_target.ort. */
#include "os_cfg.h"

const char OsVersion[] = "demo kernel 1.0 (cortex-m3)";

__attribute__((aligned(8))) uint32_t OsStack_Task_Init[OS_TASK_STACK_WORDS];
__attribute__((aligned(8))) uint32_t OsStack_Task_Control[OS_TASK_STACK_WORDS];
__attribute__((aligned(8))) uint32_t OsStack_Task_Logger[OS_TASK_STACK_WORDS];
__attribute__((aligned(8))) uint32_t OsStack_Task_Sampler[OS_TASK_STACK_WORDS];
__attribute__((aligned(8))) uint32_t OsStack_Task_Report[OS_TASK_STACK_WORDS];
__attribute__((aligned(8))) uint32_t OsStack_Task_Idle[OS_TASK_STACK_WORDS];

/* The handler stack. It has a section of its own so that startup can fill it with the
 * pattern before the C runtime clears .bss, while running on it. */
__attribute__((section(".os_stack"), aligned(8))) uint32_t OsSystemStack[OS_SYSTEM_STACK_WORDS];

const struct os_stack OsStackCfg[OS_NUM_STACKS] = {
    {OsStack_Task_Init, sizeof(OsStack_Task_Init), "Stack_Task_Init"},
    {OsStack_Task_Control, sizeof(OsStack_Task_Control), "Stack_Task_Control"},
    {OsStack_Task_Logger, sizeof(OsStack_Task_Logger), "Stack_Task_Logger"},
    {OsStack_Task_Sampler, sizeof(OsStack_Task_Sampler), "Stack_Task_Sampler"},
    {OsStack_Task_Report, sizeof(OsStack_Task_Report), "Stack_Task_Report"},
    {OsStack_Task_Idle, sizeof(OsStack_Task_Idle), "Stack_Task_Idle"},
    {OsSystemStack, OS_SYSTEM_STACK_WORDS * 4u, "Stack_System"},
};

#define TCB(task, prio, maxact, ext, autost)                                                  \
    {.sp = 0,                                                                                 \
     .name = #task,                                                                           \
     .entry = OsTask_##task,                                                                  \
     .stack = &OsStackCfg[task],                                                              \
     .id = task,                                                                              \
     .base_prio = prio,                                                                       \
     .cur_prio = prio,                                                                        \
     .state = SUSPENDED,                                                                      \
     .max_activations = maxact,                                                               \
     .extended = ext,                                                                         \
     .autostart = autost}

struct os_tcb OsTcb[OS_NUM_TASKS] = {
    TCB(Task_Init, 5, 1, 0, 1),
    TCB(Task_Control, 4, 1, 1, 0),
    TCB(Task_Logger, 1, 1, 0, 0),
    TCB(Task_Sampler, 3, 1, 0, 0),
    TCB(Task_Report, 2, 2, 0, 0),
    TCB(Task_Idle, 0, 1, 0, 1),
};

/* Ceilings: the highest priority of the tasks that use the resource. */
struct os_resource OsResource[OS_NUM_RESOURCES] = {
    {.name = "Res_Uart", .ceiling = 2, .locker = OS_INVALID_TASK},
    {.name = "Res_Scheduler", .ceiling = 5, .locker = OS_INVALID_TASK},
};

struct os_counter OsSysCounter = {
    .name = "SystemTimer",
    .value = 0,
    .maxallowedvalue = 0xFFFFFFFFu,
    .ticksperbase = 1,
    .mincycle = 1,
};

struct os_alarm OsAlarm[OS_NUM_ALARMS] = {
    {.name = "Alarm_Cycle",
     .counter = &OsSysCounter,
     .action = OS_ACTION_SETEVENT,
     .task = Task_Control,
     .event = EV_CYCLE,
     .action_text = "SetEvent Task_Control EV_CYCLE"},
    {.name = "Alarm_Blink",
     .counter = &OsSysCounter,
     .action = OS_ACTION_CALLBACK,
     .callback = demo_blink,
     .action_text = "AlarmCallback demo_blink"},
    {.name = "Alarm_Watchdog",
     .counter = &OsSysCounter,
     .action = OS_ACTION_ACTIVATETASK,
     .task = Task_Report,
     .action_text = "ActivateTask Task_Report"},
    {.name = "Alarm_Timeout",
     .counter = &OsSysCounter,
     .action = OS_ACTION_SETEVENT,
     .task = Task_Control,
     .event = EV_TIMEOUT,
     .action_text = "SetEvent Task_Control EV_TIMEOUT"},
};

uint16_t OsMsgBuf_Samples[8];
uint8_t OsMsgBuf_Commands[4];

struct os_msg OsMsg[OS_NUM_MESSAGES] = {
    {.name = "Msg_Samples",
     .type_name = "uint16_t",
     .buf = (uint8_t *)OsMsgBuf_Samples,
     .elem_size = sizeof(OsMsgBuf_Samples[0]),
     .size = sizeof(OsMsgBuf_Samples) / sizeof(OsMsgBuf_Samples[0])},
    {.name = "Msg_Commands",
     .type_name = "uint8_t",
     .buf = OsMsgBuf_Commands,
     .elem_size = sizeof(OsMsgBuf_Commands[0]),
     .size = sizeof(OsMsgBuf_Commands)},
};

struct os_isr OsIsr[OS_NUM_ISRS] = {
    {.name = "Isr_SysTick", .exception = 15, .priority = OS_PRIO_SYSTICK},
    {.name = "Isr_Adc", .exception = 16 + OS_IRQ_ADC, .priority = OS_PRIO_ADC},
};
