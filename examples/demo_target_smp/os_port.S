/* Cortex-A15 port of the dual-core demo kernel: reset entry of both cores, the exception
 * vectors, the interrupt entry that is also the context switch, and the landing pad of a task
 * whose entry function returns. A32 code only; no floating point, so a task's context is its
 * core registers and its status register. */
    .syntax unified
    .arch armv7-a
    .arm
    .cfi_sections .debug_frame

    .equ MODE_IRQ, 0x12
    .equ MODE_SVC, 0x13
    .equ MODE_ABT, 0x17
    .equ MODE_UND, 0x1B
    .equ MODE_SYS, 0x1F
    /* OS_SYSTEM_STACK_WORDS and OS_IRQ_STACK_WORDS of os_cfg.h, in bytes. */
    .equ CORE_STACK_BYTES, 1024
    .equ STACK_FILL, 0xAAAAAAAA

    .section .text.boot, "ax"

/* Core 0 comes here from reset, core 1 when core 0 starts it (StartCore); both in Supervisor
 * mode with interrupts masked. The core's own stacks are filled with the pattern before
 * anything is pushed on them; every mode but IRQ uses the system stack, which after StartOS
 * holds nothing live. The C code runs in System mode, the mode of the tasks. */
    .global _start
    .global os_secondary_entry
    .type _start, %function
_start:
os_secondary_entry:
    .cfi_startproc
    .cfi_undefined lr
    cpsid aif
    mrc p15, 0, r4, c0, c0, 5
    and r4, r4, #0xFF
    ldr r2, =STACK_FILL
    ldr r0, =OsSystemStack
    add r0, r0, r4, lsl #10
    add r5, r0, #CORE_STACK_BYTES
1:  str r2, [r0], #4
    cmp r0, r5
    blo 1b
    ldr r0, =OsIrqStack
    add r0, r0, r4, lsl #10
    add r6, r0, #CORE_STACK_BYTES
2:  str r2, [r0], #4
    cmp r0, r6
    blo 2b
    cps #MODE_IRQ
    mov sp, r6
    cps #MODE_ABT
    mov sp, r5
    cps #MODE_UND
    mov sp, r5
    cps #MODE_SVC
    mov sp, r5
    cps #MODE_SYS
    mov sp, r5
    ldr r0, =os_vectors
    mcr p15, 0, r0, c12, c0, 0
    isb
    mov r0, r4
    bl os_boot
    b .
    .cfi_endproc
    .size _start, . - _start
    .ltorg

    .text

/* Exceptions other than IRQ are faults of the program: each stops in a loop of its own, where
 * a debugger finds it. */
    .balign 32
os_vectors:
    b os_reset_trap
    b os_undefined_trap
    b os_svc_trap
    b os_prefetch_abort_trap
    b os_data_abort_trap
    b os_unused_trap
    b os_irq_entry
    b os_fiq_trap

    .macro trap name
    .global \name
    .type \name, %function
\name:
    b \name
    .size \name, . - \name
    .endm
    trap os_reset_trap
    trap os_undefined_trap
    trap os_svc_trap
    trap os_prefetch_abort_trap
    trap os_data_abort_trap
    trap os_unused_trap
    trap os_fiq_trap

/* The return address and status of the interrupted code go onto its own System-mode stack
 * (srsdb), then r0-r12 and its lr: a task's whole context lies on its stack, sixteen words,
 * where os_irq() keeps it or swaps it for another task's. os_irq() runs on this core's IRQ
 * stack; interrupts stay masked throughout, so handlers never nest. clrex keeps an exclusive
 * access of the task switched out from succeeding in the task switched in. */
    .global os_irq_entry
    .type os_irq_entry, %function
os_irq_entry:
    .cfi_startproc
    .cfi_undefined lr
    sub lr, lr, #4
    srsdb sp!, #MODE_SYS
    cps #MODE_SYS
    push {r0-r12, lr}
    mov r0, sp
    cps #MODE_IRQ
    bl os_irq
    cps #MODE_SYS
    mov sp, r0
    clrex
    pop {r0-r12, lr}
    rfeia sp!
    .cfi_endproc
    .size os_irq_entry, . - os_irq_entry

/* Return address of every task's entry function (os_task_exit_return). The return address is
 * undefined here so that a debugger's backtrace of a task ends at its entry function. The nop
 * before it keeps the address that an unwinder looks up for a caller (return address - 1)
 * inside os_task_exit, so that the outermost frame carries this name. */
    .global os_task_exit
    .type os_task_exit, %function
os_task_exit:
    .cfi_startproc
    .cfi_undefined lr
    nop
    .global os_task_exit_return
os_task_exit_return:
    bl os_task_returned
    b .
    .cfi_endproc
    .size os_task_exit, . - os_task_exit
