/* Kernel interface and data layout of the dual-core demo OSEK-style kernel.
 *
 * Every core runs its own scheduler over its own tasks; what a core's scheduler needs lives
 * in its entry of OsCore[]. Kernel data of a core is only ever touched by that core, with its
 * interrupts masked, so the cores share nothing but the spinlocks (and the task table, each
 * entry of which belongs to one core).
 *
 * The layout of the structures below is read by the debugger through the formulas of
 * demo_target_smp.ort: renaming a global or a member means changing that file too. */
#ifndef OS_H
#define OS_H

#include <stdint.h>

typedef uint8_t TaskType;
typedef uint8_t TaskStateType;
typedef uint8_t ResourceType;
typedef uint8_t AlarmType;
typedef uint8_t SpinlockIdType;
typedef uint8_t CoreIdType;
typedef uint8_t AppModeType;
typedef uint8_t StatusType;
typedef uint32_t EventMaskType;
typedef uint32_t TickType;

/* Status codes, numbered as OSEK applications expect them. */
#define E_OK 0u
#define E_OS_ACCESS 1u
#define E_OS_CALLEVEL 2u
#define E_OS_ID 3u
#define E_OS_LIMIT 4u
#define E_OS_NOFUNC 5u
#define E_OS_RESOURCE 6u
#define E_OS_STATE 7u
#define E_OS_VALUE 8u
#define E_OS_CORE 9u

/* Task states as stored in os_tcb.state. */
#define SUSPENDED 0u
#define READY 1u
#define WAITING 2u
#define RUNNING 3u

/* os_tcb.id of no task: what a core's running_id holds before its first switch and what a
 * free resource or spinlock has as owner. */
#define OS_INVALID_TASK 0xFFu
/* os_core.running_isr while no category 2 interrupt runs on the core. */
#define OS_INVALID_ISR 0xFFu

#define OS_NUM_CORES 2u
#define OS_CORE_ID_0 0u
#define OS_CORE_ID_1 1u

/* Numbers written to a core's service_trace: (id << 1) | 1 while a service runs, id << 1
 * once it has returned, so a trace shows both the entry and the exit. */
#define OS_SID_ACTIVATETASK 1u
#define OS_SID_TERMINATETASK 2u
#define OS_SID_CHAINTASK 3u
#define OS_SID_SCHEDULE 4u
#define OS_SID_SETEVENT 5u
#define OS_SID_CLEAREVENT 6u
#define OS_SID_GETEVENT 7u
#define OS_SID_WAITEVENT 8u
#define OS_SID_GETRESOURCE 9u
#define OS_SID_RELEASERESOURCE 10u
#define OS_SID_SETRELALARM 11u
#define OS_SID_CANCELALARM 12u
#define OS_SID_GETSPINLOCK 13u
#define OS_SID_RELEASESPINLOCK 14u
#define OS_SID_STARTOS 15u
#define OS_SID_STARTCORE 16u

struct os_stack {
    uint32_t *base; /* lowest address; the stack grows down from base + size */
    uint32_t size;  /* bytes */
    const char *name;
};

/* What the interrupt entry (os_port.S) pushes on the stack of the task it interrupts, lowest
 * address first: r0-r12, lr, then the return address and the status register of the
 * interrupted code. A switched-out task's sp was the address just above it. */
#define OS_FRAME_WORDS 16u
#define OS_FRAME_LR 13u
#define OS_FRAME_PC 14u
#define OS_FRAME_CPSR 15u

struct os_tcb {
    /* Saved stack pointer of a switched-out task: the frame above, at sp[0..15]. 0 while the
     * task runs or has no context (suspended). */
    uint32_t *sp;
    const char *name;
    void (*entry)(void);
    const struct os_stack *stack;
    EventMaskType events_set;
    EventMaskType events_wait;
    uint32_t ready_seq;            /* order in which tasks of equal priority became ready */
    struct os_resource *resources; /* resources held, last taken first */
    uint8_t id;                    /* index in OsTcb */
    uint8_t core;                  /* the core whose scheduler runs it */
    uint8_t base_prio;             /* configured priority; higher number, higher priority */
    uint8_t cur_prio;              /* base_prio raised to the ceiling of the resources held */
    uint8_t state;
    uint8_t activations; /* pending activations, the running one included */
    uint8_t max_activations;
    uint8_t extended; /* may wait for events */
    uint8_t autostart;
};

/* An OSEK resource belongs to one core: only tasks of that core may take it. */
struct os_resource {
    const char *name;
    struct os_resource *next_held; /* the locker's previously taken resource */
    uint8_t core;
    uint8_t ceiling;
    uint8_t locker;     /* task id, OS_INVALID_TASK when free */
    uint8_t saved_prio; /* locker's cur_prio before it took the resource */
};

/* A spinlock is what the cores share: a task takes it by spinning until the other core has
 * let go. A task that holds one may still be preempted by a task of its own core. */
struct os_spinlock {
    uint32_t lock; /* the word the cores exchange: 0 free, else 1 + the core that holds it */
    const char *name;
    uint32_t contended; /* times a task found it taken and had to spin */
    uint8_t owner;      /* task id, OS_INVALID_TASK when free */
};

struct os_counter {
    const char *name;
    TickType value;
    TickType maxallowedvalue;
    TickType ticksperbase;
    TickType mincycle;
    uint8_t core; /* the core whose tick drives it */
};

#define OS_ALARM_STOPPED 0u
#define OS_ALARM_RUNNING 1u

#define OS_ACTION_ACTIVATETASK 0u
#define OS_ACTION_SETEVENT 1u
#define OS_ACTION_CALLBACK 2u

struct os_alarm {
    /* The running alarms of a core form one list, os_core.alarm_head, sorted by expiry; an
     * alarm that expires at the same tick as one already queued goes behind it. */
    struct os_alarm *next;
    const char *name;
    struct os_counter *counter;
    TickType expiry; /* counter value at which it expires */
    TickType cycle;  /* 0 for a single shot */
    uint8_t state;
    uint8_t action;
    uint8_t task;
    EventMaskType event;
    void (*callback)(void);
    const char *action_text;
};

struct os_isr {
    const char *name;
    uint16_t intid;   /* the interrupt controller's number for it */
    uint8_t core;     /* the core that takes it */
    uint8_t priority; /* value written to its priority register */
    uint32_t count;   /* times entered */
};

/* One core's scheduler state. */
struct os_core {
    struct os_tcb *current; /* running task; 0 before the first switch */
    struct os_alarm *alarm_head;
    struct os_counter *counter; /* driven by this core's tick */
    uint32_t switch_count;      /* switches from one task to another since start */
    uint32_t ready_seq;
    uint32_t tick_period; /* timer counts per tick */
    uint64_t next_tick;   /* timer compare value of the next tick */
    uint8_t id;
    uint8_t running_id;  /* current->id, OS_INVALID_TASK before the first switch */
    uint8_t running_isr; /* OsIsr index of the category 2 interrupt in progress */
    uint8_t last_error;  /* last status other than E_OK of a service on this core */
    uint8_t service_trace;
    uint8_t started; /* StartOS has run on this core */
};

/* Configuration (os_cfg.c). */
#define OS_NUM_TASKS 11u
#define OS_NUM_STACKS 15u
#define OS_NUM_RESOURCES 2u
#define OS_NUM_SPINLOCKS 2u
#define OS_NUM_COUNTERS 2u
#define OS_NUM_ALARMS 4u
#define OS_NUM_ISRS 2u

extern struct os_tcb OsTcb[OS_NUM_TASKS];
extern const struct os_stack OsStackCfg[OS_NUM_STACKS];
extern struct os_resource OsResource[OS_NUM_RESOURCES];
extern struct os_spinlock OsSpinlock[OS_NUM_SPINLOCKS];
extern struct os_counter OsCounter[OS_NUM_COUNTERS];
extern struct os_alarm OsAlarm[OS_NUM_ALARMS];
extern struct os_isr OsIsr[OS_NUM_ISRS];
extern const char OsVersion[];

/* Kernel state (os.c). */
extern struct os_core OsCore[OS_NUM_CORES];
extern AppModeType OsAppMode;

/* Services. */
void StartOS(AppModeType mode);
void StartCore(CoreIdType core, StatusType *status);
CoreIdType GetCoreID(void);
StatusType ActivateTask(TaskType task);
StatusType TerminateTask(void);
StatusType ChainTask(TaskType task);
StatusType Schedule(void);
StatusType SetEvent(TaskType task, EventMaskType mask);
StatusType ClearEvent(EventMaskType mask);
StatusType GetEvent(TaskType task, EventMaskType *mask);
StatusType WaitEvent(EventMaskType mask);
StatusType GetResource(ResourceType res);
StatusType ReleaseResource(ResourceType res);
StatusType SetRelAlarm(AlarmType alarm, TickType increment, TickType cycle);
StatusType CancelAlarm(AlarmType alarm);
StatusType GetSpinlock(SpinlockIdType lock);
StatusType ReleaseSpinlock(SpinlockIdType lock);

/* Holds the calling core with its interrupts masked until *go is non-zero. Only the wake-up
 * interrupt that os_wake_core() sends gets through meanwhile, so nothing of the core's kernel
 * state changes while it is held. */
void os_hold_core(const volatile uint32_t *go);
void os_wake_core(CoreIdType core);

/* Called from the interrupt entry (os_port.S): handles one interrupt and returns the frame of
 * the task to resume, the one given or another task's. */
uint32_t *os_irq(uint32_t *frame);
void os_task_returned(void);

/* Port (os_port.c, os_port.S). */
extern const uint32_t os_task_exit_return[];
void os_secondary_entry(void);
void os_port_build_translation_table(void);
void os_port_enable_mmu(void);
void os_port_init_shared(void);
void os_port_init_core(void);
void os_port_start_tick(struct os_core *c, uint64_t epoch);
void os_port_next_tick(struct os_core *c);
uint64_t os_port_time(void);
void os_port_send_sgi(uint32_t sgi, CoreIdType core);
void os_port_send_sgi_self(uint32_t sgi);
uint32_t os_port_ack_irq(void);
void os_port_end_irq(uint32_t iar);
uint32_t os_port_set_priority_mask(uint32_t mask);
int32_t os_port_cpu_on(CoreIdType core, void (*entry)(void));
CoreIdType os_port_core_id(void);
void os_port_set_core_state(struct os_core *c);
struct os_core *os_port_core_state(void);

#endif
