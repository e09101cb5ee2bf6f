/* Object identifiers of the demo application, as an OS configuration tool would emit them
 * for demo_target.ort. The numbers index the tables of os_cfg.c. */
#ifndef OS_CFG_H
#define OS_CFG_H

#include "os.h"

#define Task_Init 0u
#define Task_Control 1u
#define Task_Logger 2u
#define Task_Sampler 3u
#define Task_Report 4u
#define Task_Idle 5u

#define Res_Uart 0u
#define Res_Scheduler 1u

#define Alarm_Cycle 0u
#define Alarm_Blink 1u
#define Alarm_Watchdog 2u
#define Alarm_Timeout 3u

#define Msg_Samples 0u
#define Msg_Commands 1u

#define Isr_SysTick 0u
#define Isr_Adc 1u

#define EV_CYCLE 0x01u
#define EV_TIMEOUT 0x02u

/* Priority register values: SysTick and the ADC interrupt preempt task code; PendSV is the
 * lowest so that a switch waits until every interrupt has returned. */
#define OS_PRIO_SYSTICK 0x40u
#define OS_PRIO_ADC 0x80u
#define OS_PRIO_PENDSV 0xFFu

/* External interrupt number of ADC sample sequence 0 on this part. */
#define OS_IRQ_ADC 14u

#define OS_TASK_STACK_WORDS 256u
#define OS_SYSTEM_STACK_WORDS 256u
#define OS_STACK_FILL 0xAAAAAAAAu

#define TASK(name) void OsTask_##name(void)
TASK(Task_Init);
TASK(Task_Control);
TASK(Task_Logger);
TASK(Task_Sampler);
TASK(Task_Report);
TASK(Task_Idle);

void demo_blink(void);

#endif
