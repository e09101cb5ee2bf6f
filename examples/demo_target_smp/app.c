/* The dual-core demo application. Both cores tick at 1 kHz from the same moment; what
 * happens up to demo_breakpoint() is the same in every run:
 *
 *   core 1, tick 150  The 15th cycle of Alarm_Cycle1: Task_Comm1 activates Task_Filter1,
 *                     which takes Spin_Mailbox deep in its call chain, posts a value and
 *                     activates Task_Sync1 (preempting itself). Task_Sync1 fails to send an
 *                     event to the basic task Task_Filter1 (E_OS_ACCESS) and then holds
 *                     core 1, interrupts masked, until core 0 lets it go.
 *   core 0, tick 200  The 20th cycle of Alarm_Cycle0: Task_Control0 activates Task_Logger0,
 *                     which takes Res_Log0 and activates Task_Monitor0 (preempting itself).
 *                     Task_Monitor0 tries to activate the still active Task_Logger0
 *                     (E_OS_LIMIT), activates Task_Report0, finds core 1 held and calls
 *                     demo_breakpoint().
 *
 * After the breakpoint core 0 releases core 1 and waits for Spin_Mailbox, which
 * Task_Filter1 gives back once Task_Sync1 has terminated. */
#include "os_cfg.h"

#define REG32(a) (*(volatile uint32_t *)(a))
#define UART_DR REG32(0x09000000u)
#define UART_FR REG32(0x09000018u)
#define UART_FR_TXFF (1u << 5)

#define DEMO_BREAK_CYCLE0 20u
#define DEMO_HOLD_CYCLE1 15u

uint32_t demo_cycles[OS_NUM_CORES];
uint32_t demo_timeouts[OS_NUM_CORES];
uint32_t demo_mailbox;     /* guarded by Spin_Mailbox */
uint32_t demo_mailbox_seq; /* values posted */
uint32_t demo_mailbox_seen;
volatile uint32_t demo_core1_held; /* Task_Sync1 is about to hold core 1 */
volatile uint32_t demo_core1_go;   /* core 0 lets core 1 go on */
uint32_t demo_breakpoint_hits;

static void uart_puts(const char *s)
{
    while (*s != '\0') {
        while ((UART_FR & UART_FR_TXFF) != 0u) {
        }
        UART_DR = (uint8_t)*s++;
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

/* One line on the console, which both cores share. */
static void demo_say(const char *text, uint32_t number)
{
    (void)GetSpinlock(Spin_Uart);
    uart_puts("core ");
    uart_putdec(GetCoreID());
    uart_puts(": ");
    uart_puts(text);
    if (number != 0xFFFFFFFFu) {
        uart_puts(" ");
        uart_putdec(number);
    }
    uart_puts("\n");
    (void)ReleaseSpinlock(Spin_Uart);
}

/* The place where a debugger script stops: every task of both cores is then in a known
 * state. Only core 0 comes here, and only once core 1 is held. */
__attribute__((noinline)) void demo_breakpoint(void)
{
    demo_breakpoint_hits++;
    __asm volatile("" ::: "memory");
}

/* ---- core 0 ------------------------------------------------------------------------- */

TASK(Task_Init0)
{
    (void)SetRelAlarm(Alarm_Cycle0, 10, 10);
    (void)SetRelAlarm(Alarm_Timeout0, 50, 0);
    (void)ActivateTask(Task_Control0);
    demo_say("started", 0xFFFFFFFFu);
    (void)TerminateTask();
}

TASK(Task_Control0)
{
    EventMaskType ev;

    for (;;) {
        (void)WaitEvent(EV_CYCLE | EV_TIMEOUT);
        (void)GetEvent(Task_Control0, &ev);
        (void)ClearEvent(ev);
        if ((ev & EV_TIMEOUT) != 0u) {
            demo_timeouts[0]++;
        }
        if ((ev & EV_CYCLE) != 0u) {
            demo_cycles[0]++;
            if (demo_cycles[0] == DEMO_BREAK_CYCLE0) {
                (void)ActivateTask(Task_Logger0);
            }
        }
    }
}

TASK(Task_Logger0)
{
    (void)GetResource(Res_Log0);
    demo_say("logger at cycle", demo_cycles[0]);
    (void)ActivateTask(Task_Monitor0);
    demo_say("logger done", 0xFFFFFFFFu);
    (void)ReleaseResource(Res_Log0);
    (void)TerminateTask();
}

/* Core 1 got to its hold 50 ticks earlier; the loop is only there for a run on the host's
 * clock that is very unevenly shared between the cores. */
static void demo_wait_for_core1(void)
{
    while (demo_core1_held == 0u) {
    }
}

TASK(Task_Monitor0)
{
    uint32_t value;

    (void)ActivateTask(Task_Logger0);
    (void)ActivateTask(Task_Report0);
    demo_wait_for_core1();
    demo_breakpoint();
    demo_core1_go = 1u;
    os_wake_core(OS_CORE_ID_1);
    (void)GetSpinlock(Spin_Mailbox);
    value = demo_mailbox;
    demo_mailbox_seen = demo_mailbox_seq;
    (void)ReleaseSpinlock(Spin_Mailbox);
    demo_say("mailbox holds", value);
    (void)TerminateTask();
}

TASK(Task_Report0)
{
    (void)GetResource(Res_Log0);
    demo_say("report, timeouts", demo_timeouts[0]);
    (void)ReleaseResource(Res_Log0);
    (void)TerminateTask();
}

TASK(Task_Idle0)
{
    for (;;) {
        __asm volatile("wfi");
    }
}

/* ---- core 1 ------------------------------------------------------------------------- */

TASK(Task_Init1)
{
    (void)SetRelAlarm(Alarm_Cycle1, 10, 10);
    (void)SetRelAlarm(Alarm_Watchdog1, 1000, 0);
    (void)ActivateTask(Task_Comm1);
    demo_say("started", 0xFFFFFFFFu);
    (void)TerminateTask();
}

TASK(Task_Comm1)
{
    EventMaskType ev;

    for (;;) {
        (void)WaitEvent(EV_CYCLE | EV_TIMEOUT);
        (void)GetEvent(Task_Comm1, &ev);
        (void)ClearEvent(ev);
        if ((ev & EV_TIMEOUT) != 0u) {
            demo_timeouts[1]++;
        }
        if ((ev & EV_CYCLE) != 0u) {
            (void)GetResource(Res_Filter1);
            demo_cycles[1]++;
            (void)ReleaseResource(Res_Filter1);
            if (demo_cycles[1] == DEMO_HOLD_CYCLE1) {
                (void)ActivateTask(Task_Filter1);
            }
        }
    }
}

/* Task_Filter1's call chain, a few frames deep when it is switched out in ActivateTask. */
static void filter_publish(uint32_t value)
{
    (void)GetSpinlock(Spin_Mailbox);
    demo_mailbox = value;
    demo_mailbox_seq++;
    (void)ActivateTask(Task_Sync1);
    (void)ReleaseSpinlock(Spin_Mailbox);
}

static uint32_t filter_block(const uint16_t *samples, uint32_t count)
{
    uint32_t sum = 0;
    uint32_t i;

    for (i = 0; i < count; i++) {
        sum += samples[i];
    }
    filter_publish(sum / count);
    return sum;
}

static void filter_run(void)
{
    static const uint16_t samples[4] = {0x100, 0x111, 0x122, 0x133};

    (void)GetResource(Res_Filter1);
    (void)ReleaseResource(Res_Filter1);
    (void)filter_block(samples, 4);
}

TASK(Task_Filter1)
{
    filter_run();
    demo_say("filter done", demo_mailbox_seq);
    (void)TerminateTask();
}

/* Tells core 0 that core 1 is held, and holds it until core 0 lets it go. */
static void demo_hold_for_core0(void)
{
    demo_core1_held = 1u;
    os_hold_core(&demo_core1_go);
}

TASK(Task_Sync1)
{
    /* A basic task cannot receive events: E_OS_ACCESS, core 1's last error. */
    (void)SetEvent(Task_Filter1, EV_WAKE);
    demo_say("holding for core 0", 0xFFFFFFFFu);
    demo_hold_for_core0();
    demo_say("released", 0xFFFFFFFFu);
    (void)TerminateTask();
}

TASK(Task_Idle1)
{
    for (;;) {
        __asm volatile("wfi");
    }
}

int main(void)
{
    StatusType status = E_OK;

    if (GetCoreID() == OS_CORE_ID_0) {
        StartCore(OS_CORE_ID_1, &status);
        if (status != E_OK) {
            uart_puts("core 0: core 1 did not start\n");
            return 1;
        }
        StartOS(OSDEFAULTAPPMODE);
    } else {
        StartOS(DONOTCARE);
    }
    return 0;
}
