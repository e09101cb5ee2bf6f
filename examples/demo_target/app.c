/* The demo application. Its run up to demo_breakpoint() is the same every time:
 *
 *   tick 0    Task_Init arms the alarms, activates Task_Control and terminates.
 *   tick 50   Alarm_Timeout (single shot) wakes Task_Control with EV_TIMEOUT.
 *   every 10  Alarm_Cycle wakes Task_Control with EV_CYCLE; every 10th cycle it sends a
 *             command to Msg_Commands.
 *   tick 200  The 20th cycle: Task_Control activates Task_Logger and waits again.
 *             Task_Logger takes Res_Uart and activates Task_Sampler, which preempts it.
 *             Task_Sampler starts three ADC conversions (the ADC interrupt queues each
 *             sample in Msg_Samples), tries to activate the still active Task_Logger
 *             (E_OS_LIMIT), activates Task_Report and calls demo_breakpoint(). */
#include "os_cfg.h"

#define REG32(a) (*(volatile uint32_t *)(a))
#define UART0_DR REG32(0x4000C000u)
#define UART0_FR REG32(0x4000C018u)
#define UART_FR_TXFF (1u << 5)
#define NVIC_ISPR0 REG32(0xE000E200u)

#define DEMO_BREAK_CYCLE 20u

uint32_t demo_cycles;
uint32_t demo_timeouts;
uint32_t demo_blinks;
uint8_t demo_led;
uint16_t demo_adc_next = 0x0100;
uint32_t demo_breakpoint_hits;

static void uart_puts(const char *s)
{
    while (*s != '\0') {
        while ((UART0_FR & UART_FR_TXFF) != 0u) {
        }
        UART0_DR = (uint8_t)*s++;
    }
}

static void uart_putdec(uint32_t v)
{
    char buf[11];
    int i = 10;

    buf[i] = '\0';
    do {
        buf[--i] = (char)('0' + v % 10u);
        v /= 10u;
    } while (v != 0u && i > 0);
    uart_puts(&buf[i]);
}

/* The place where a debugger script stops: every task is then in a known state. */
__attribute__((noinline)) void demo_breakpoint(void)
{
    demo_breakpoint_hits++;
    __asm volatile("" ::: "memory");
}

/* Alarm_Blink: toggles the (imaginary) status LED. */
void demo_blink(void)
{
    demo_led ^= 1u;
    demo_blinks++;
}

/* ADC sample sequence 0 done: queue the sample for Task_Report. This board has no analog
 * input wired, so the conversion result is simulated. */
void ADC0SS0_Handler(void)
{
    uint16_t sample;

    os_isr_enter(Isr_Adc);
    sample = demo_adc_next;
    demo_adc_next = (uint16_t)(demo_adc_next + 0x11u);
    (void)SendMessage(Msg_Samples, &sample);
}

TASK(Task_Init)
{
    (void)GetResource(Res_Scheduler);
    (void)SetRelAlarm(Alarm_Cycle, 10, 10);
    (void)SetRelAlarm(Alarm_Blink, 25, 25);
    (void)SetRelAlarm(Alarm_Watchdog, 1000, 0);
    (void)SetRelAlarm(Alarm_Timeout, 50, 0);
    (void)ActivateTask(Task_Control);
    (void)ReleaseResource(Res_Scheduler);
    uart_puts("demo_target: started\n");
    (void)TerminateTask();
}

TASK(Task_Control)
{
    EventMaskType ev;
    uint8_t cmd;

    for (;;) {
        (void)WaitEvent(EV_CYCLE | EV_TIMEOUT);
        (void)GetEvent(Task_Control, &ev);
        (void)ClearEvent(ev);
        if ((ev & EV_TIMEOUT) != 0u) {
            demo_timeouts++;
        }
        if ((ev & EV_CYCLE) != 0u) {
            demo_cycles++;
            if (demo_cycles % 10u == 0u) {
                cmd = (uint8_t)(demo_cycles / 10u);
                (void)SendMessage(Msg_Commands, &cmd);
            }
            if (demo_cycles == DEMO_BREAK_CYCLE) {
                (void)ActivateTask(Task_Logger);
            }
        }
    }
}

TASK(Task_Logger)
{
    (void)GetResource(Res_Uart);
    uart_puts("logger: cycle ");
    uart_putdec(demo_cycles);
    uart_puts("\n");
    (void)ActivateTask(Task_Sampler);
    uart_puts("logger: done\n");
    (void)ReleaseResource(Res_Uart);
    (void)TerminateTask();
}

TASK(Task_Sampler)
{
    uint32_t i;

    for (i = 0; i < 3u; i++) {
        /* Stands in for starting a conversion: the interrupt is taken at once. */
        NVIC_ISPR0 = 1u << OS_IRQ_ADC;
        __asm volatile("dsb\n\tisb" ::: "memory");
    }
    (void)ActivateTask(Task_Logger);
    (void)ActivateTask(Task_Report);
    demo_breakpoint();
    (void)TerminateTask();
}

TASK(Task_Report)
{
    uint16_t sample;

    (void)GetResource(Res_Uart);
    while (ReceiveMessage(Msg_Samples, &sample) == E_OK) {
        uart_puts("report: sample ");
        uart_putdec(sample);
        uart_puts("\n");
    }
    (void)ReleaseResource(Res_Uart);
    (void)TerminateTask();
}

TASK(Task_Idle)
{
    for (;;) {
        __asm volatile("wfi");
    }
}

int main(void)
{
    StartOS(0);
    return 0;
}
