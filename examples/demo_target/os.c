/* The demo kernel: fully preemptive fixed-priority scheduling of basic and extended tasks,
 * resources with immediate ceiling priority, one counter driven by SysTick with alarms, and
 * queued messages. Tasks run in thread mode on their own process stack; the switch itself
 * happens in PendSV (os_port.S), which calls os_switch(). */
#include "os_cfg.h"

#define REG32(a) (*(volatile uint32_t *)(a))
#define REG8(a) (*(volatile uint8_t *)(a))

#define SCB_ICSR REG32(0xE000ED04u)
#define ICSR_PENDSVSET (1u << 28)
#define SCB_SHPR_PENDSV REG8(0xE000ED22u)
#define SCB_SHPR_SYSTICK REG8(0xE000ED23u)
#define SYST_CSR REG32(0xE000E010u)
#define SYST_RVR REG32(0xE000E014u)
#define SYST_CVR REG32(0xE000E018u)
#define SYST_CSR_CLKSOURCE_CPU 0x4u
#define SYST_CSR_TICKINT 0x2u
#define SYST_CSR_ENABLE 0x1u
#define NVIC_ISER0 REG32(0xE000E100u)
#define NVIC_IPR(irq) REG8(0xE000E400u + (irq))

/* The core clock the board model runs SysTick from after reset. */
#define OS_CPU_HZ 12000000u
#define OS_TICK_HZ 1000u

#define OS_XPSR_THUMB 0x01000000u

struct os_tcb *OsCurrentTcb;
uint8_t OsRunningId = OS_INVALID_TASK;
struct os_alarm *OsAlarmHead;
StatusType OsLastError;
uint8_t OsServiceTrace;
uint8_t OsAppMode;
uint32_t OsSwitchCount;

static uint32_t os_ready_seq;

static uint32_t os_lock(void)
{
    uint32_t mask;
    __asm volatile("mrs %0, primask\n\tcpsid i" : "=r"(mask)::"memory");
    return mask;
}

/* A switch pended while locked is taken right here, so a task that is preempted through a
 * service call is always switched out at the same instruction. */
static void os_unlock(uint32_t mask)
{
    __asm volatile("msr primask, %0\n\tisb" ::"r"(mask) : "memory");
}

static int os_in_handler(void)
{
    uint32_t ipsr;
    __asm volatile("mrs %0, ipsr" : "=r"(ipsr));
    return ipsr != 0u;
}

static void os_enter(uint8_t sid)
{
    OsServiceTrace = (uint8_t)((sid << 1) | 1u);
}

static StatusType os_leave(uint8_t sid, StatusType status)
{
    OsServiceTrace = (uint8_t)(sid << 1);
    if (status != E_OK) {
        OsLastError = status;
    }
    return status;
}

static void os_pend_switch(void)
{
    SCB_ICSR = ICSR_PENDSVSET;
}

/* Highest current priority wins; among equals the running task keeps the core, then the
 * task that became ready first (a preempted task keeps its place). */
static struct os_tcb *os_pick(void)
{
    struct os_tcb *best = 0;
    uint32_t i;

    for (i = 0; i < OS_NUM_TASKS; i++) {
        struct os_tcb *t = &OsTcb[i];
        if (t->state != READY && t->state != RUNNING) {
            continue;
        }
        if (best == 0 || t->cur_prio > best->cur_prio) {
            best = t;
        } else if (t->cur_prio == best->cur_prio && best->state != RUNNING &&
                   (t->state == RUNNING || t->ready_seq < best->ready_seq)) {
            best = t;
        }
    }
    return best;
}

static void os_schedule(void)
{
    if (os_pick() != OsCurrentTcb) {
        os_pend_switch();
    }
}

static void os_make_ready(struct os_tcb *t)
{
    t->state = READY;
    t->ready_seq = ++os_ready_seq;
}

/* The frame a fresh activation starts from, laid out as if the task had been switched out
 * just before its first instruction. Returning from the entry function lands in
 * os_task_exit_return, a Thumb address. */
static void os_build_frame(struct os_tcb *t)
{
    uint32_t *top = t->stack->base + t->stack->size / sizeof(uint32_t);
    uint32_t *sp;
    uint32_t i;

    top = (uint32_t *)((uintptr_t)top & ~(uintptr_t)7u);
    sp = top - 16;
    for (i = 0; i < 13; i++) {
        sp[i] = 0;
    }
    sp[13] = (uint32_t)(uintptr_t)os_task_exit_return | 1u;
    sp[14] = (uint32_t)(uintptr_t)t->entry & ~1u;
    sp[15] = OS_XPSR_THUMB;
    t->sp = sp;
    t->events_set = 0;
    t->events_wait = 0;
}

static StatusType os_activate(struct os_tcb *t)
{
    if (t->activations >= t->max_activations) {
        return E_OS_LIMIT;
    }
    t->activations++;
    /* The current task may be suspended but still on its stack until PendSV has run: its
     * frame is built by os_switch() then. */
    if (t->state == SUSPENDED && t != OsCurrentTcb) {
        os_build_frame(t);
        os_make_ready(t);
    }
    return E_OK;
}

static StatusType os_set_event(struct os_tcb *t, EventMaskType mask)
{
    if (!t->extended) {
        return E_OS_ACCESS;
    }
    if (t->state == SUSPENDED) {
        return E_OS_STATE;
    }
    t->events_set |= mask;
    if (t->state == WAITING && (t->events_set & t->events_wait) != 0u) {
        t->events_wait = 0;
        if (t == OsCurrentTcb) {
            /* It asked to wait, but PendSV has not switched it out yet. */
            t->state = RUNNING;
        } else {
            os_make_ready(t);
        }
    }
    return E_OK;
}

uint32_t *os_switch(uint32_t *psp)
{
    struct os_tcb *out = OsCurrentTcb;
    struct os_tcb *in;

    if (out != 0) {
        if (out->state != SUSPENDED) {
            out->sp = psp;
        } else if (out->activations > 0u) {
            os_build_frame(out);
            os_make_ready(out);
        } else {
            out->sp = 0;
        }
    }
    in = os_pick();
    if (out != 0 && out != in && out->state == RUNNING) {
        out->state = READY;
    }
    if (in != out) {
        OsSwitchCount++;
    }
    in->state = RUNNING;
    psp = in->sp;
    in->sp = 0;
    OsCurrentTcb = in;
    OsRunningId = in->id;
    return psp;
}

void os_task_returned(void)
{
    /* A task that ends without TerminateTask is terminated for it. */
    OsLastError = E_OS_CALLEVEL;
    (void)TerminateTask();
}

void StartOS(uint8_t mode)
{
    uint32_t i;
    uint32_t w;

    (void)os_lock();
    os_enter(OS_SID_STARTOS);
    OsAppMode = mode;
    for (i = 0; i < OS_NUM_STACKS - 1u; i++) {
        for (w = 0; w < OsStackCfg[i].size / sizeof(uint32_t); w++) {
            OsStackCfg[i].base[w] = OS_STACK_FILL;
        }
    }
    for (i = 0; i < OS_NUM_TASKS; i++) {
        if (OsTcb[i].autostart) {
            (void)os_activate(&OsTcb[i]);
        }
    }
    SCB_SHPR_PENDSV = OS_PRIO_PENDSV;
    SCB_SHPR_SYSTICK = OS_PRIO_SYSTICK;
    NVIC_IPR(OS_IRQ_ADC) = OS_PRIO_ADC;
    NVIC_ISER0 = 1u << OS_IRQ_ADC;
    SYST_RVR = OS_CPU_HZ / OS_TICK_HZ - 1u;
    SYST_CVR = 0;
    SYST_CSR = SYST_CSR_CLKSOURCE_CPU | SYST_CSR_TICKINT | SYST_CSR_ENABLE;
    (void)os_leave(OS_SID_STARTOS, E_OK);
    os_pend_switch();
    os_unlock(0);
    for (;;) {
    }
}

StatusType ActivateTask(TaskType task)
{
    StatusType status;
    uint32_t m;

    os_enter(OS_SID_ACTIVATETASK);
    if (task >= OS_NUM_TASKS) {
        return os_leave(OS_SID_ACTIVATETASK, E_OS_ID);
    }
    m = os_lock();
    status = os_activate(&OsTcb[task]);
    os_schedule();
    (void)os_leave(OS_SID_ACTIVATETASK, status);
    os_unlock(m);
    return status;
}

StatusType TerminateTask(void)
{
    struct os_tcb *t = OsCurrentTcb;

    os_enter(OS_SID_TERMINATETASK);
    if (os_in_handler()) {
        return os_leave(OS_SID_TERMINATETASK, E_OS_CALLEVEL);
    }
    if (t->resources != 0) {
        return os_leave(OS_SID_TERMINATETASK, E_OS_RESOURCE);
    }
    (void)os_lock();
    t->activations--;
    t->state = SUSPENDED;
    (void)os_leave(OS_SID_TERMINATETASK, E_OK);
    os_pend_switch();
    os_unlock(0);
    for (;;) {
    }
}

StatusType ChainTask(TaskType task)
{
    struct os_tcb *t = OsCurrentTcb;
    StatusType status;

    os_enter(OS_SID_CHAINTASK);
    if (task >= OS_NUM_TASKS) {
        return os_leave(OS_SID_CHAINTASK, E_OS_ID);
    }
    if (os_in_handler()) {
        return os_leave(OS_SID_CHAINTASK, E_OS_CALLEVEL);
    }
    if (t->resources != 0) {
        return os_leave(OS_SID_CHAINTASK, E_OS_RESOURCE);
    }
    (void)os_lock();
    t->activations--;
    t->state = SUSPENDED;
    status = os_activate(&OsTcb[task]);
    if (status != E_OK) {
        t->activations++;
        t->state = RUNNING;
        (void)os_leave(OS_SID_CHAINTASK, status);
        os_unlock(0);
        return status;
    }
    (void)os_leave(OS_SID_CHAINTASK, E_OK);
    os_pend_switch();
    os_unlock(0);
    for (;;) {
    }
}

StatusType Schedule(void)
{
    uint32_t m;

    os_enter(OS_SID_SCHEDULE);
    if (os_in_handler()) {
        return os_leave(OS_SID_SCHEDULE, E_OS_CALLEVEL);
    }
    m = os_lock();
    os_schedule();
    (void)os_leave(OS_SID_SCHEDULE, E_OK);
    os_unlock(m);
    return E_OK;
}

StatusType SetEvent(TaskType task, EventMaskType mask)
{
    StatusType status;
    uint32_t m;

    os_enter(OS_SID_SETEVENT);
    if (task >= OS_NUM_TASKS) {
        return os_leave(OS_SID_SETEVENT, E_OS_ID);
    }
    m = os_lock();
    status = os_set_event(&OsTcb[task], mask);
    os_schedule();
    (void)os_leave(OS_SID_SETEVENT, status);
    os_unlock(m);
    return status;
}

StatusType ClearEvent(EventMaskType mask)
{
    struct os_tcb *t = OsCurrentTcb;
    uint32_t m;

    os_enter(OS_SID_CLEAREVENT);
    if (os_in_handler()) {
        return os_leave(OS_SID_CLEAREVENT, E_OS_CALLEVEL);
    }
    if (!t->extended) {
        return os_leave(OS_SID_CLEAREVENT, E_OS_ACCESS);
    }
    m = os_lock();
    t->events_set &= ~mask;
    os_unlock(m);
    return os_leave(OS_SID_CLEAREVENT, E_OK);
}

StatusType GetEvent(TaskType task, EventMaskType *mask)
{
    os_enter(OS_SID_GETEVENT);
    if (task >= OS_NUM_TASKS) {
        return os_leave(OS_SID_GETEVENT, E_OS_ID);
    }
    if (!OsTcb[task].extended) {
        return os_leave(OS_SID_GETEVENT, E_OS_ACCESS);
    }
    if (OsTcb[task].state == SUSPENDED) {
        return os_leave(OS_SID_GETEVENT, E_OS_STATE);
    }
    *mask = OsTcb[task].events_set;
    return os_leave(OS_SID_GETEVENT, E_OK);
}

StatusType WaitEvent(EventMaskType mask)
{
    struct os_tcb *t = OsCurrentTcb;
    uint32_t m;

    os_enter(OS_SID_WAITEVENT);
    if (os_in_handler()) {
        return os_leave(OS_SID_WAITEVENT, E_OS_CALLEVEL);
    }
    if (!t->extended) {
        return os_leave(OS_SID_WAITEVENT, E_OS_ACCESS);
    }
    if (t->resources != 0) {
        return os_leave(OS_SID_WAITEVENT, E_OS_RESOURCE);
    }
    m = os_lock();
    if ((t->events_set & mask) == 0u) {
        t->events_wait = mask;
        t->state = WAITING;
        os_pend_switch();
    }
    (void)os_leave(OS_SID_WAITEVENT, E_OK);
    os_unlock(m);
    return E_OK;
}

StatusType GetResource(ResourceType res)
{
    struct os_tcb *t = OsCurrentTcb;
    struct os_resource *r;
    uint32_t m;

    os_enter(OS_SID_GETRESOURCE);
    if (res >= OS_NUM_RESOURCES) {
        return os_leave(OS_SID_GETRESOURCE, E_OS_ID);
    }
    if (os_in_handler()) {
        return os_leave(OS_SID_GETRESOURCE, E_OS_CALLEVEL);
    }
    r = &OsResource[res];
    if (r->locker != OS_INVALID_TASK || r->ceiling < t->base_prio) {
        return os_leave(OS_SID_GETRESOURCE, E_OS_ACCESS);
    }
    m = os_lock();
    r->locker = t->id;
    r->saved_prio = t->cur_prio;
    r->next_held = t->resources;
    t->resources = r;
    if (r->ceiling > t->cur_prio) {
        t->cur_prio = r->ceiling;
    }
    os_unlock(m);
    return os_leave(OS_SID_GETRESOURCE, E_OK);
}

StatusType ReleaseResource(ResourceType res)
{
    struct os_tcb *t = OsCurrentTcb;
    struct os_resource *r;
    uint32_t m;

    os_enter(OS_SID_RELEASERESOURCE);
    if (res >= OS_NUM_RESOURCES) {
        return os_leave(OS_SID_RELEASERESOURCE, E_OS_ID);
    }
    if (os_in_handler()) {
        return os_leave(OS_SID_RELEASERESOURCE, E_OS_CALLEVEL);
    }
    r = &OsResource[res];
    /* Resources are released in the reverse order of taking them. */
    if (t->resources != r) {
        return os_leave(OS_SID_RELEASERESOURCE, E_OS_NOFUNC);
    }
    m = os_lock();
    t->resources = r->next_held;
    r->next_held = 0;
    r->locker = OS_INVALID_TASK;
    t->cur_prio = r->saved_prio;
    os_schedule();
    (void)os_leave(OS_SID_RELEASERESOURCE, E_OK);
    os_unlock(m);
    return E_OK;
}

static void os_alarm_insert(struct os_alarm *a)
{
    struct os_alarm **link = &OsAlarmHead;
    TickType now = a->counter->value;
    TickType left = a->expiry - now;

    while (*link != 0 && (*link)->expiry - now <= left) {
        link = &(*link)->next;
    }
    a->next = *link;
    *link = a;
}

static void os_alarm_remove(struct os_alarm *a)
{
    struct os_alarm **link = &OsAlarmHead;

    while (*link != 0 && *link != a) {
        link = &(*link)->next;
    }
    if (*link == a) {
        *link = a->next;
    }
    a->next = 0;
}

StatusType SetRelAlarm(AlarmType alarm, TickType increment, TickType cycle)
{
    struct os_alarm *a;
    uint32_t m;

    os_enter(OS_SID_SETRELALARM);
    if (alarm >= OS_NUM_ALARMS) {
        return os_leave(OS_SID_SETRELALARM, E_OS_ID);
    }
    a = &OsAlarm[alarm];
    if (increment == 0u || increment > a->counter->maxallowedvalue ||
        (cycle != 0u && cycle < a->counter->mincycle)) {
        return os_leave(OS_SID_SETRELALARM, E_OS_VALUE);
    }
    m = os_lock();
    if (a->state == OS_ALARM_RUNNING) {
        os_unlock(m);
        return os_leave(OS_SID_SETRELALARM, E_OS_STATE);
    }
    a->expiry = a->counter->value + increment;
    a->cycle = cycle;
    a->state = OS_ALARM_RUNNING;
    os_alarm_insert(a);
    os_unlock(m);
    return os_leave(OS_SID_SETRELALARM, E_OK);
}

StatusType CancelAlarm(AlarmType alarm)
{
    struct os_alarm *a;
    uint32_t m;

    os_enter(OS_SID_CANCELALARM);
    if (alarm >= OS_NUM_ALARMS) {
        return os_leave(OS_SID_CANCELALARM, E_OS_ID);
    }
    a = &OsAlarm[alarm];
    m = os_lock();
    if (a->state != OS_ALARM_RUNNING) {
        os_unlock(m);
        return os_leave(OS_SID_CANCELALARM, E_OS_NOFUNC);
    }
    os_alarm_remove(a);
    a->state = OS_ALARM_STOPPED;
    os_unlock(m);
    return os_leave(OS_SID_CANCELALARM, E_OK);
}

/* One tick of the system counter, from the SysTick handler. */
void os_tick(void)
{
    uint32_t m = os_lock();

    OsSysCounter.value++;
    while (OsAlarmHead != 0 && OsAlarmHead->expiry == OsSysCounter.value) {
        struct os_alarm *a = OsAlarmHead;
        StatusType status = E_OK;

        OsAlarmHead = a->next;
        a->next = 0;
        if (a->cycle != 0u) {
            a->expiry += a->cycle;
            os_alarm_insert(a);
        } else {
            a->state = OS_ALARM_STOPPED;
        }
        switch (a->action) {
        case OS_ACTION_ACTIVATETASK:
            status = os_activate(&OsTcb[a->task]);
            break;
        case OS_ACTION_SETEVENT:
            status = os_set_event(&OsTcb[a->task], a->event);
            break;
        default:
            a->callback();
            break;
        }
        if (status != E_OK) {
            OsLastError = status;
        }
    }
    os_schedule();
    os_unlock(m);
}

StatusType SendMessage(MessageType msg, const void *data)
{
    struct os_msg *q;
    const uint8_t *src = data;
    uint8_t *dst;
    uint32_t i;
    uint32_t m;

    os_enter(OS_SID_SENDMESSAGE);
    if (msg >= OS_NUM_MESSAGES) {
        return os_leave(OS_SID_SENDMESSAGE, E_OS_ID);
    }
    q = &OsMsg[msg];
    m = os_lock();
    if (q->count >= q->size) {
        q->lost++;
        os_unlock(m);
        return os_leave(OS_SID_SENDMESSAGE, E_COM_LIMIT);
    }
    dst = q->buf + (uint32_t)((q->head + q->count) % q->size) * q->elem_size;
    for (i = 0; i < q->elem_size; i++) {
        dst[i] = src[i];
    }
    q->count++;
    os_unlock(m);
    return os_leave(OS_SID_SENDMESSAGE, E_OK);
}

StatusType ReceiveMessage(MessageType msg, void *data)
{
    struct os_msg *q;
    const uint8_t *src;
    uint8_t *dst = data;
    uint32_t i;
    uint32_t m;

    os_enter(OS_SID_RECEIVEMESSAGE);
    if (msg >= OS_NUM_MESSAGES) {
        return os_leave(OS_SID_RECEIVEMESSAGE, E_OS_ID);
    }
    q = &OsMsg[msg];
    m = os_lock();
    if (q->count == 0u) {
        os_unlock(m);
        return os_leave(OS_SID_RECEIVEMESSAGE, E_COM_NOMSG);
    }
    src = q->buf + (uint32_t)q->head * q->elem_size;
    for (i = 0; i < q->elem_size; i++) {
        dst[i] = src[i];
    }
    q->head = (uint8_t)((q->head + 1u) % q->size);
    q->count--;
    os_unlock(m);
    return os_leave(OS_SID_RECEIVEMESSAGE, E_OK);
}

void os_isr_enter(uint8_t isr)
{
    OsIsr[isr].count++;
}

void SysTick_Handler(void)
{
    os_isr_enter(Isr_SysTick);
    os_tick();
}
