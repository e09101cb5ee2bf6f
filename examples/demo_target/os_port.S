/* Cortex-M3 port of the demo kernel: reset entry, the context switch and the landing pad of
 * a task whose entry function returns. No FPU, so every frame is the basic 8-word one and
 * EXC_RETURN is always "thread mode, process stack". */
    .syntax unified
    .cpu cortex-m3
    .thumb
    .cfi_sections .debug_frame

    .text

/* Fills the handler stack with the pattern up to the current stack pointer, before any C
 * code has pushed anything, then hands over to the C runtime setup. */
    .global Reset_Handler
    .type Reset_Handler, %function
    .thumb_func
Reset_Handler:
    .cfi_startproc
    .cfi_undefined lr
    ldr r0, =OsSystemStack
    mov r1, sp
    ldr r2, =0xAAAAAAAA
1:  cmp r0, r1
    bhs 2f
    str r2, [r0], #4
    b 1b
2:  bl os_startup
    b .
    .cfi_endproc
    .size Reset_Handler, . - Reset_Handler

/* Saves r4-r11 of the outgoing task below the frame the core pushed on its process stack,
 * lets os_switch() store that stack pointer and choose the next task, and resumes the next
 * task from the stack pointer it returns. Before the first task starts there is no
 * outgoing task and nothing to save. Interrupts stay off so that no handler sees the
 * kernel halfway through a switch. */
    .global PendSV_Handler
    .type PendSV_Handler, %function
    .thumb_func
PendSV_Handler:
    .cfi_startproc
    cpsid i
    mrs r0, psp
    ldr r1, =OsCurrentTcb
    ldr r1, [r1]
    cbz r1, 1f
    stmdb r0!, {r4-r11}
1:  bl os_switch
    ldmia r0!, {r4-r11}
    msr psp, r0
    cpsie i
    ldr r0, =0xFFFFFFFD
    bx r0
    .cfi_endproc
    .size PendSV_Handler, . - PendSV_Handler

/* Return address of every task's entry function (os_task_exit_return). The return address
 * is undefined here so that a debugger's backtrace of a task ends at its entry function. The
 * nop before it keeps the address that an unwinder looks up for a caller (return address
 * - 1) inside os_task_exit, so that the outermost frame carries this name. */
    .global os_task_exit
    .type os_task_exit, %function
    .thumb_func
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
