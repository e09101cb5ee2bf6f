/* Vector table and C runtime setup for the LM3S6965. */
#include "os_cfg.h"

extern uint32_t __data_load[], __data_start[], __data_end[];
extern uint32_t __bss_start[], __bss_end[];

void Reset_Handler(void);
void PendSV_Handler(void);
void SysTick_Handler(void);
void ADC0SS0_Handler(void);
int main(void);
void os_startup(void);

/* Faults and unexpected interrupts stop here, where a debugger finds them. */
void os_unexpected(void)
{
    for (;;) {
    }
}

void os_startup(void)
{
    uint32_t *src = __data_load;
    uint32_t *dst;

    for (dst = __data_start; dst < __data_end; dst++) {
        *dst = *src++;
    }
    for (dst = __bss_start; dst < __bss_end; dst++) {
        *dst = 0;
    }
    (void)main();
    os_unexpected();
}

union os_vector {
    uint32_t *stack;
    void (*handler)(void);
};

#define OS_NUM_IRQS 48

__attribute__((section(".isr_vector"), used)) const union os_vector OsVectors[16 + OS_NUM_IRQS] = {
    [0] = {.stack = &OsSystemStack[OS_SYSTEM_STACK_WORDS]},
    [1] = {.handler = Reset_Handler},
    [2 ... 13] = {.handler = os_unexpected},
    [14] = {.handler = PendSV_Handler},
    [15] = {.handler = SysTick_Handler},
    [16 ... 16 + OS_IRQ_ADC - 1] = {.handler = os_unexpected},
    [16 + OS_IRQ_ADC] = {.handler = ADC0SS0_Handler},
    [16 + OS_IRQ_ADC + 1 ... 16 + OS_NUM_IRQS - 1] = {.handler = os_unexpected},
};
