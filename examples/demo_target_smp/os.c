/* The dual-core demo kernel: one fully preemptive fixed-priority scheduler per core over
 * that core's basic and extended tasks, resources with immediate ceiling priority, one
 * counter per core driven by the core's tick with alarms, and spinlocks between the cores.
 * Tasks run in System mode on their own stacks; a switch always happens on the way out of
 * an interrupt (os_port.S), which calls os_irq(). A service that makes another task run
 * sends the core a software interrupt to itself, taken as soon as the service unmasks. */
#include "os_cfg.h"

#define OS_CPSR_MODE_MASK 0x1Fu
#define OS_CPSR_MODE_SYS 0x1Fu
#define OS_CPSR_MODE_IRQ 0x12u
#define OS_CPSR_IRQ_MASKED 0x80u
#define OS_CPSR_THUMB 0x20u

/* Running, the first switch of each core not yet made. */
struct os_core OsCore[OS_NUM_CORES] = {
    {.counter = &OsCounter[Counter_Sys0],
     .id = OS_CORE_ID_0,
     .running_id = OS_INVALID_TASK,
     .running_isr = OS_INVALID_ISR},
    {.counter = &OsCounter[Counter_Sys1],
     .id = OS_CORE_ID_1,
     .running_id = OS_INVALID_TASK,
     .running_isr = OS_INVALID_ISR},
};
AppModeType OsAppMode;

/* Cores that have reached the end of StartOS's set-up, and the timer value both start their
 * ticks from, so that the two counters advance together. */
static uint32_t os_cores_arrived;
static volatile uint64_t os_tick_epoch;

static struct os_core *os_this_core(void)
{
    return os_port_core_state();
}

static uint32_t os_lock(void)
{
    uint32_t cpsr;
    __asm volatile("mrs %0, cpsr\n\tcpsid i" : "=r"(cpsr)::"memory");
    return cpsr & OS_CPSR_IRQ_MASKED;
}

/* A switch requested while locked is taken right here, so a task that is preempted through a
 * service call is always switched out at the same instruction. */
static void os_unlock(uint32_t was_masked)
{
    if (was_masked == 0u) {
        __asm volatile("cpsie i" ::: "memory");
    }
}

static int os_in_handler(void)
{
    uint32_t cpsr;
    __asm volatile("mrs %0, cpsr" : "=r"(cpsr));
    return (cpsr & OS_CPSR_MODE_MASK) == OS_CPSR_MODE_IRQ;
}

static void os_enter(struct os_core *c, uint8_t sid)
{
    c->service_trace = (uint8_t)((sid << 1) | 1u);
}

static StatusType os_leave(struct os_core *c, uint8_t sid, StatusType status)
{
    c->service_trace = (uint8_t)(sid << 1);
    if (status != E_OK) {
        c->last_error = status;
    }
    return status;
}

static void os_pend_switch(void)
{
    os_port_send_sgi_self(OS_SGI_SCHEDULE);
}

/* Highest current priority among the core's tasks wins; among equals the running task keeps
 * the core, then the task that became ready first (a preempted task keeps its place). */
static struct os_tcb *os_pick(struct os_core *c)
{
    struct os_tcb *best = 0;
    uint32_t i;

    for (i = 0; i < OS_NUM_TASKS; i++) {
        struct os_tcb *t = &OsTcb[i];
        if (t->core != c->id || (t->state != READY && t->state != RUNNING)) {
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

static void os_schedule(struct os_core *c)
{
    if (os_pick(c) != c->current) {
        os_pend_switch();
    }
}

static void os_make_ready(struct os_core *c, struct os_tcb *t)
{
    t->state = READY;
    t->ready_seq = ++c->ready_seq;
}

/* The frame a fresh activation starts from, laid out as if the task had been interrupted just
 * before its first instruction. Returning from the entry function lands in
 * os_task_exit_return. */
static void os_build_frame(struct os_tcb *t)
{
    uint32_t *top = t->stack->base + t->stack->size / sizeof(uint32_t);
    uint32_t entry = (uint32_t)(uintptr_t)t->entry;
    uint32_t *sp;
    uint32_t i;

    top = (uint32_t *)((uintptr_t)top & ~(uintptr_t)7u);
    sp = top - OS_FRAME_WORDS;
    for (i = 0; i < OS_FRAME_LR; i++) {
        sp[i] = 0;
    }
    sp[OS_FRAME_LR] = (uint32_t)(uintptr_t)os_task_exit_return;
    sp[OS_FRAME_PC] = entry & ~1u;
    sp[OS_FRAME_CPSR] = OS_CPSR_MODE_SYS | ((entry & 1u) != 0u ? OS_CPSR_THUMB : 0u);
    t->sp = sp;
    t->events_set = 0;
    t->events_wait = 0;
}

static StatusType os_activate(struct os_core *c, struct os_tcb *t)
{
    if (t->core != c->id) {
        return E_OS_CORE;
    }
    if (t->activations >= t->max_activations) {
        return E_OS_LIMIT;
    }
    t->activations++;
    /* The current task may be suspended but still on its stack until the switch has been
     * made: its frame is built by os_switch() then. */
    if (t->state == SUSPENDED && t != c->current) {
        os_build_frame(t);
        os_make_ready(c, t);
    }
    return E_OK;
}

static StatusType os_set_event(struct os_core *c, struct os_tcb *t, EventMaskType mask)
{
    if (t->core != c->id) {
        return E_OS_CORE;
    }
    if (!t->extended) {
        return E_OS_ACCESS;
    }
    if (t->state == SUSPENDED) {
        return E_OS_STATE;
    }
    t->events_set |= mask;
    if (t->state == WAITING && (t->events_set & t->events_wait) != 0u) {
        t->events_wait = 0;
        if (t == c->current) {
            /* It asked to wait, but the switch has not been made yet. */
            t->state = RUNNING;
        } else {
            os_make_ready(c, t);
        }
    }
    return E_OK;
}

/* Keeps the interrupted frame for the task that was running and gives the frame of the task
 * that runs next, which may be the same. */
static uint32_t *os_switch(struct os_core *c, uint32_t *frame)
{
    struct os_tcb *out = c->current;
    struct os_tcb *in;

    if (out != 0) {
        if (out->state != SUSPENDED) {
            out->sp = frame;
        } else if (out->activations > 0u) {
            os_build_frame(out);
            os_make_ready(c, out);
        } else {
            out->sp = 0;
        }
    }
    in = os_pick(c);
    if (out != 0 && out != in && out->state == RUNNING) {
        out->state = READY;
    }
    if (in != out) {
        c->switch_count++;
    }
    in->state = RUNNING;
    frame = in->sp;
    in->sp = 0;
    c->current = in;
    c->running_id = in->id;
    return frame;
}

void os_task_returned(void)
{
    /* A task that ends without TerminateTask is terminated for it. */
    os_this_core()->last_error = E_OS_CALLEVEL;
    (void)TerminateTask();
}

CoreIdType GetCoreID(void)
{
    return os_port_core_id();
}

void StartCore(CoreIdType core, StatusType *status)
{
    struct os_core *c = os_this_core();

    os_enter(c, OS_SID_STARTCORE);
    if (core >= OS_NUM_CORES || core == c->id || OsCore[core].started) {
        *status = os_leave(c, OS_SID_STARTCORE, E_OS_ID);
        return;
    }
    *status = os_leave(c, OS_SID_STARTCORE,
                       os_port_cpu_on(core, os_secondary_entry) == 0 ? E_OK : E_OS_STATE);
}

/* Both cores wait here for each other before their first task runs; the last to arrive
 * takes the time from which both count their ticks. */
static void os_start_barrier(void)
{
    if (__atomic_add_fetch(&os_cores_arrived, 1u, __ATOMIC_ACQ_REL) == OS_NUM_CORES) {
        os_tick_epoch = os_port_time();
        __atomic_store_n(&os_cores_arrived, OS_NUM_CORES + 1u, __ATOMIC_RELEASE);
    }
    while (__atomic_load_n(&os_cores_arrived, __ATOMIC_ACQUIRE) <= OS_NUM_CORES) {
        __asm volatile("wfe");
    }
    __asm volatile("sev");
}

void StartOS(AppModeType mode)
{
    struct os_core *c;
    uint32_t i;
    uint32_t w;

    (void)os_lock();
    c = os_this_core();
    os_enter(c, OS_SID_STARTOS);
    if (c->id == OS_CORE_ID_0) {
        OsAppMode = mode;
    }
    for (i = 0; i < OS_NUM_TASKS; i++) {
        struct os_tcb *t = &OsTcb[i];
        if (t->core != c->id) {
            continue;
        }
        for (w = 0; w < t->stack->size / sizeof(uint32_t); w++) {
            t->stack->base[w] = OS_STACK_FILL;
        }
    }
    for (i = 0; i < OS_NUM_TASKS; i++) {
        if (OsTcb[i].core == c->id && OsTcb[i].autostart) {
            (void)os_activate(c, &OsTcb[i]);
        }
    }
    os_port_init_core();
    c->started = 1;
    os_start_barrier();
    os_port_start_tick(c, os_tick_epoch);
    (void)os_leave(c, OS_SID_STARTOS, E_OK);
    os_pend_switch();
    os_unlock(0);
    for (;;) {
    }
}

StatusType ActivateTask(TaskType task)
{
    struct os_core *c = os_this_core();
    StatusType status;
    uint32_t m;

    os_enter(c, OS_SID_ACTIVATETASK);
    if (task >= OS_NUM_TASKS) {
        return os_leave(c, OS_SID_ACTIVATETASK, E_OS_ID);
    }
    m = os_lock();
    status = os_activate(c, &OsTcb[task]);
    os_schedule(c);
    (void)os_leave(c, OS_SID_ACTIVATETASK, status);
    os_unlock(m);
    return status;
}

StatusType TerminateTask(void)
{
    struct os_core *c = os_this_core();
    struct os_tcb *t = c->current;

    os_enter(c, OS_SID_TERMINATETASK);
    if (os_in_handler()) {
        return os_leave(c, OS_SID_TERMINATETASK, E_OS_CALLEVEL);
    }
    if (t->resources != 0) {
        return os_leave(c, OS_SID_TERMINATETASK, E_OS_RESOURCE);
    }
    (void)os_lock();
    t->activations--;
    t->state = SUSPENDED;
    (void)os_leave(c, OS_SID_TERMINATETASK, E_OK);
    os_pend_switch();
    os_unlock(0);
    for (;;) {
    }
}

StatusType ChainTask(TaskType task)
{
    struct os_core *c = os_this_core();
    struct os_tcb *t = c->current;
    StatusType status;

    os_enter(c, OS_SID_CHAINTASK);
    if (task >= OS_NUM_TASKS) {
        return os_leave(c, OS_SID_CHAINTASK, E_OS_ID);
    }
    if (os_in_handler()) {
        return os_leave(c, OS_SID_CHAINTASK, E_OS_CALLEVEL);
    }
    if (t->resources != 0) {
        return os_leave(c, OS_SID_CHAINTASK, E_OS_RESOURCE);
    }
    (void)os_lock();
    t->activations--;
    t->state = SUSPENDED;
    status = os_activate(c, &OsTcb[task]);
    if (status != E_OK) {
        t->activations++;
        t->state = RUNNING;
        (void)os_leave(c, OS_SID_CHAINTASK, status);
        os_unlock(0);
        return status;
    }
    (void)os_leave(c, OS_SID_CHAINTASK, E_OK);
    os_pend_switch();
    os_unlock(0);
    for (;;) {
    }
}

StatusType Schedule(void)
{
    struct os_core *c = os_this_core();
    uint32_t m;

    os_enter(c, OS_SID_SCHEDULE);
    if (os_in_handler()) {
        return os_leave(c, OS_SID_SCHEDULE, E_OS_CALLEVEL);
    }
    m = os_lock();
    os_schedule(c);
    (void)os_leave(c, OS_SID_SCHEDULE, E_OK);
    os_unlock(m);
    return E_OK;
}

StatusType SetEvent(TaskType task, EventMaskType mask)
{
    struct os_core *c = os_this_core();
    StatusType status;
    uint32_t m;

    os_enter(c, OS_SID_SETEVENT);
    if (task >= OS_NUM_TASKS) {
        return os_leave(c, OS_SID_SETEVENT, E_OS_ID);
    }
    m = os_lock();
    status = os_set_event(c, &OsTcb[task], mask);
    os_schedule(c);
    (void)os_leave(c, OS_SID_SETEVENT, status);
    os_unlock(m);
    return status;
}

StatusType ClearEvent(EventMaskType mask)
{
    struct os_core *c = os_this_core();
    struct os_tcb *t = c->current;
    uint32_t m;

    os_enter(c, OS_SID_CLEAREVENT);
    if (os_in_handler()) {
        return os_leave(c, OS_SID_CLEAREVENT, E_OS_CALLEVEL);
    }
    if (!t->extended) {
        return os_leave(c, OS_SID_CLEAREVENT, E_OS_ACCESS);
    }
    m = os_lock();
    t->events_set &= ~mask;
    os_unlock(m);
    return os_leave(c, OS_SID_CLEAREVENT, E_OK);
}

StatusType GetEvent(TaskType task, EventMaskType *mask)
{
    struct os_core *c = os_this_core();

    os_enter(c, OS_SID_GETEVENT);
    if (task >= OS_NUM_TASKS) {
        return os_leave(c, OS_SID_GETEVENT, E_OS_ID);
    }
    if (OsTcb[task].core != c->id) {
        return os_leave(c, OS_SID_GETEVENT, E_OS_CORE);
    }
    if (!OsTcb[task].extended) {
        return os_leave(c, OS_SID_GETEVENT, E_OS_ACCESS);
    }
    if (OsTcb[task].state == SUSPENDED) {
        return os_leave(c, OS_SID_GETEVENT, E_OS_STATE);
    }
    *mask = OsTcb[task].events_set;
    return os_leave(c, OS_SID_GETEVENT, E_OK);
}

StatusType WaitEvent(EventMaskType mask)
{
    struct os_core *c = os_this_core();
    struct os_tcb *t = c->current;
    uint32_t m;

    os_enter(c, OS_SID_WAITEVENT);
    if (os_in_handler()) {
        return os_leave(c, OS_SID_WAITEVENT, E_OS_CALLEVEL);
    }
    if (!t->extended) {
        return os_leave(c, OS_SID_WAITEVENT, E_OS_ACCESS);
    }
    if (t->resources != 0) {
        return os_leave(c, OS_SID_WAITEVENT, E_OS_RESOURCE);
    }
    m = os_lock();
    if ((t->events_set & mask) == 0u) {
        t->events_wait = mask;
        t->state = WAITING;
        os_pend_switch();
    }
    (void)os_leave(c, OS_SID_WAITEVENT, E_OK);
    os_unlock(m);
    return E_OK;
}

StatusType GetResource(ResourceType res)
{
    struct os_core *c = os_this_core();
    struct os_tcb *t = c->current;
    struct os_resource *r;
    uint32_t m;

    os_enter(c, OS_SID_GETRESOURCE);
    if (res >= OS_NUM_RESOURCES) {
        return os_leave(c, OS_SID_GETRESOURCE, E_OS_ID);
    }
    if (os_in_handler()) {
        return os_leave(c, OS_SID_GETRESOURCE, E_OS_CALLEVEL);
    }
    r = &OsResource[res];
    if (r->core != c->id) {
        return os_leave(c, OS_SID_GETRESOURCE, E_OS_CORE);
    }
    if (r->locker != OS_INVALID_TASK || r->ceiling < t->base_prio) {
        return os_leave(c, OS_SID_GETRESOURCE, E_OS_ACCESS);
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
    return os_leave(c, OS_SID_GETRESOURCE, E_OK);
}

StatusType ReleaseResource(ResourceType res)
{
    struct os_core *c = os_this_core();
    struct os_tcb *t = c->current;
    struct os_resource *r;
    uint32_t m;

    os_enter(c, OS_SID_RELEASERESOURCE);
    if (res >= OS_NUM_RESOURCES) {
        return os_leave(c, OS_SID_RELEASERESOURCE, E_OS_ID);
    }
    if (os_in_handler()) {
        return os_leave(c, OS_SID_RELEASERESOURCE, E_OS_CALLEVEL);
    }
    r = &OsResource[res];
    /* Resources are released in the reverse order of taking them. */
    if (t->resources != r) {
        return os_leave(c, OS_SID_RELEASERESOURCE, E_OS_NOFUNC);
    }
    m = os_lock();
    t->resources = r->next_held;
    r->next_held = 0;
    r->locker = OS_INVALID_TASK;
    t->cur_prio = r->saved_prio;
    os_schedule(c);
    (void)os_leave(c, OS_SID_RELEASERESOURCE, E_OK);
    os_unlock(m);
    return E_OK;
}

static int os_spin_try(struct os_core *c, struct os_spinlock *s)
{
    uint32_t expected = 0;
    return __atomic_compare_exchange_n(&s->lock, &expected, c->id + 1u, 0, __ATOMIC_ACQUIRE,
                                       __ATOMIC_RELAXED);
}

StatusType GetSpinlock(SpinlockIdType lock)
{
    struct os_core *c = os_this_core();
    struct os_tcb *t = c->current;
    struct os_spinlock *s;

    os_enter(c, OS_SID_GETSPINLOCK);
    if (lock >= OS_NUM_SPINLOCKS) {
        return os_leave(c, OS_SID_GETSPINLOCK, E_OS_ID);
    }
    if (os_in_handler()) {
        return os_leave(c, OS_SID_GETSPINLOCK, E_OS_CALLEVEL);
    }
    s = &OsSpinlock[lock];
    /* Held on this core, it could only be let go by a task that this one keeps from running. */
    if (__atomic_load_n(&s->lock, __ATOMIC_RELAXED) == c->id + 1u) {
        return os_leave(c, OS_SID_GETSPINLOCK, E_OS_ACCESS);
    }
    if (!os_spin_try(c, s)) {
        __atomic_add_fetch(&s->contended, 1u, __ATOMIC_RELAXED);
        while (!os_spin_try(c, s)) {
            __asm volatile("wfe");
        }
    }
    s->owner = t->id;
    return os_leave(c, OS_SID_GETSPINLOCK, E_OK);
}

StatusType ReleaseSpinlock(SpinlockIdType lock)
{
    struct os_core *c = os_this_core();
    struct os_spinlock *s;

    os_enter(c, OS_SID_RELEASESPINLOCK);
    if (lock >= OS_NUM_SPINLOCKS) {
        return os_leave(c, OS_SID_RELEASESPINLOCK, E_OS_ID);
    }
    s = &OsSpinlock[lock];
    if (__atomic_load_n(&s->lock, __ATOMIC_RELAXED) != c->id + 1u || s->owner != c->running_id) {
        return os_leave(c, OS_SID_RELEASESPINLOCK, E_OS_STATE);
    }
    s->owner = OS_INVALID_TASK;
    __atomic_store_n(&s->lock, 0u, __ATOMIC_RELEASE);
    __asm volatile("dsb\n\tsev" ::: "memory");
    return os_leave(c, OS_SID_RELEASESPINLOCK, E_OK);
}

static void os_alarm_insert(struct os_core *c, struct os_alarm *a)
{
    struct os_alarm **link = &c->alarm_head;
    TickType now = a->counter->value;
    TickType left = a->expiry - now;

    while (*link != 0 && (*link)->expiry - now <= left) {
        link = &(*link)->next;
    }
    a->next = *link;
    *link = a;
}

static void os_alarm_remove(struct os_core *c, struct os_alarm *a)
{
    struct os_alarm **link = &c->alarm_head;

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
    struct os_core *c = os_this_core();
    struct os_alarm *a;
    uint32_t m;

    os_enter(c, OS_SID_SETRELALARM);
    if (alarm >= OS_NUM_ALARMS) {
        return os_leave(c, OS_SID_SETRELALARM, E_OS_ID);
    }
    a = &OsAlarm[alarm];
    if (a->counter->core != c->id) {
        return os_leave(c, OS_SID_SETRELALARM, E_OS_CORE);
    }
    if (increment == 0u || increment > a->counter->maxallowedvalue ||
        (cycle != 0u && cycle < a->counter->mincycle)) {
        return os_leave(c, OS_SID_SETRELALARM, E_OS_VALUE);
    }
    m = os_lock();
    if (a->state == OS_ALARM_RUNNING) {
        os_unlock(m);
        return os_leave(c, OS_SID_SETRELALARM, E_OS_STATE);
    }
    a->expiry = a->counter->value + increment;
    a->cycle = cycle;
    a->state = OS_ALARM_RUNNING;
    os_alarm_insert(c, a);
    os_unlock(m);
    return os_leave(c, OS_SID_SETRELALARM, E_OK);
}

StatusType CancelAlarm(AlarmType alarm)
{
    struct os_core *c = os_this_core();
    struct os_alarm *a;
    uint32_t m;

    os_enter(c, OS_SID_CANCELALARM);
    if (alarm >= OS_NUM_ALARMS) {
        return os_leave(c, OS_SID_CANCELALARM, E_OS_ID);
    }
    a = &OsAlarm[alarm];
    if (a->counter->core != c->id) {
        return os_leave(c, OS_SID_CANCELALARM, E_OS_CORE);
    }
    m = os_lock();
    if (a->state != OS_ALARM_RUNNING) {
        os_unlock(m);
        return os_leave(c, OS_SID_CANCELALARM, E_OS_NOFUNC);
    }
    os_alarm_remove(c, a);
    a->state = OS_ALARM_STOPPED;
    os_unlock(m);
    return os_leave(c, OS_SID_CANCELALARM, E_OK);
}

/* One tick of the core's counter, in its timer interrupt. */
static void os_tick(struct os_core *c)
{
    struct os_counter *k = c->counter;

    k->value++;
    while (c->alarm_head != 0 && c->alarm_head->expiry == k->value) {
        struct os_alarm *a = c->alarm_head;
        StatusType status = E_OK;

        c->alarm_head = a->next;
        a->next = 0;
        if (a->cycle != 0u) {
            a->expiry += a->cycle;
            os_alarm_insert(c, a);
        } else {
            a->state = OS_ALARM_STOPPED;
        }
        switch (a->action) {
        case OS_ACTION_ACTIVATETASK:
            status = os_activate(c, &OsTcb[a->task]);
            break;
        case OS_ACTION_SETEVENT:
            status = os_set_event(c, &OsTcb[a->task], a->event);
            break;
        default:
            a->callback();
            break;
        }
        if (status != E_OK) {
            c->last_error = status;
        }
    }
}

static void os_isr_run(struct os_core *c, uint8_t isr)
{
    OsIsr[isr].count++;
    c->running_isr = isr;
    os_port_next_tick(c);
    os_tick(c);
    c->running_isr = OS_INVALID_ISR;
}

uint32_t *os_irq(uint32_t *frame)
{
    struct os_core *c = os_this_core();
    uint32_t iar = os_port_ack_irq();
    uint32_t intid = iar & 0x3FFu;

    if (intid == 1023u) {
        /* Spurious: nothing was acknowledged, nothing is to be ended. */
        return frame;
    }
    if (intid == OS_INTID_VTIMER) {
        os_isr_run(c, c->id == OS_CORE_ID_0 ? Isr_Tick0 : Isr_Tick1);
    }
    /* OS_SGI_SCHEDULE asks for nothing but the switch below; OS_SGI_WAKE only ends a wait
     * in os_hold_core(). */
    os_port_end_irq(iar);
    return c->started ? os_switch(c, frame) : frame;
}

void os_hold_core(const volatile uint32_t *go)
{
    uint32_t m = os_lock();
    uint32_t mask = os_port_set_priority_mask(OS_PRIO_HOLD_MASK);

    while (*go == 0u) {
        __asm volatile("wfi" ::: "memory");
    }
    (void)os_port_set_priority_mask(mask);
    os_unlock(m);
}

void os_wake_core(CoreIdType core)
{
    os_port_send_sgi(OS_SGI_WAKE, core);
}
