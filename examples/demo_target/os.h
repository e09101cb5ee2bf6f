/* Kernel interface and data layout of the demo OSEK-style kernel.
 *
 * The layout of the structures below is read by the debugger through the formulas of
 * demo_target.ort: renaming a global or a member means changing that file too. */
#ifndef OS_H
#define OS_H

#include <stdint.h>

typedef uint8_t TaskType;
typedef uint8_t TaskStateType;
typedef uint8_t ResourceType;
typedef uint8_t AlarmType;
typedef uint8_t MessageType;
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
#define E_COM_NOMSG 9u
#define E_COM_LIMIT 10u

/* Task states as stored in os_tcb.state. */
#define SUSPENDED 0u
#define READY 1u
#define WAITING 2u
#define RUNNING 3u

/* os_tcb.id of no task: what OsRunningId holds before the first switch and what a free
 * resource has as locker. */
#define OS_INVALID_TASK 0xFFu

/* Numbers written to OsServiceTrace: (id << 1) | 1 while a service runs, id << 1 once it
 * has returned, so a trace shows both the entry and the exit. */
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
#define OS_SID_SENDMESSAGE 13u
#define OS_SID_RECEIVEMESSAGE 14u
#define OS_SID_STARTOS 15u

struct os_stack {
    uint32_t *base; /* lowest address; the stack grows down from base + size */
    uint32_t size;  /* bytes */
    const char *name;
};

struct os_tcb {
    /* Saved process stack pointer of a switched-out task: r4-r11 (8 words) lie at sp[0..7],
     * the frame the core pushed on exception entry (r0-r3, r12, lr, pc, xpsr) at sp[8..15].
     * 0 while the task runs or has no context (suspended). PendSV expects it at offset 0. */
    uint32_t *sp;
    const char *name;
    void (*entry)(void);
    const struct os_stack *stack;
    EventMaskType events_set;
    EventMaskType events_wait;
    uint32_t ready_seq;   /* order in which tasks of equal priority became ready */
    struct os_resource *resources; /* resources held, last taken first */
    uint8_t id;           /* index in OsTcb */
    uint8_t base_prio;    /* configured priority; higher number, higher priority */
    uint8_t cur_prio;     /* base_prio raised to the ceiling of the resources held */
    uint8_t state;
    uint8_t activations;  /* pending activations, the running one included */
    uint8_t max_activations;
    uint8_t extended;     /* may wait for events */
    uint8_t autostart;
};

struct os_resource {
    const char *name;
    struct os_resource *next_held; /* the locker's previously taken resource */
    uint8_t ceiling;
    uint8_t locker;       /* task id, OS_INVALID_TASK when free */
    uint8_t saved_prio;   /* locker's cur_prio before it took the resource */
};

struct os_counter {
    const char *name;
    TickType value;
    TickType maxallowedvalue;
    TickType ticksperbase;
    TickType mincycle;
};

#define OS_ALARM_STOPPED 0u
#define OS_ALARM_RUNNING 1u

#define OS_ACTION_ACTIVATETASK 0u
#define OS_ACTION_SETEVENT 1u
#define OS_ACTION_CALLBACK 2u

struct os_alarm {
    /* Running alarms form one list, OsAlarmHead, sorted by expiry; an alarm that expires
     * at the same tick as one already queued goes behind it. */
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

struct os_msg {
    const char *name;
    const char *type_name;
    uint8_t *buf;
    uint8_t elem_size; /* bytes */
    uint8_t size;      /* capacity, in elements */
    uint8_t count;
    uint8_t head;      /* index of the oldest element */
    uint32_t lost;     /* sends refused because the queue was full */
};

struct os_isr {
    const char *name;
    uint8_t exception; /* exception number: 15 SysTick, 16 + n external interrupt n */
    uint8_t priority;  /* value written to the priority register */
    uint32_t count;    /* times entered */
};

/* Configuration (os_cfg.c). */
#define OS_NUM_TASKS 6u
#define OS_NUM_STACKS 7u
#define OS_NUM_RESOURCES 2u
#define OS_NUM_ALARMS 4u
#define OS_NUM_MESSAGES 2u
#define OS_NUM_ISRS 2u

extern struct os_tcb OsTcb[OS_NUM_TASKS];
extern const struct os_stack OsStackCfg[OS_NUM_STACKS];
extern struct os_resource OsResource[OS_NUM_RESOURCES];
extern struct os_counter OsSysCounter;
extern struct os_alarm OsAlarm[OS_NUM_ALARMS];
extern struct os_msg OsMsg[OS_NUM_MESSAGES];
extern struct os_isr OsIsr[OS_NUM_ISRS];
extern uint32_t OsSystemStack[];
extern const char OsVersion[];

/* Kernel state (os.c). */
extern struct os_tcb *OsCurrentTcb;
extern uint8_t OsRunningId;
extern struct os_alarm *OsAlarmHead;
extern StatusType OsLastError;
extern uint8_t OsServiceTrace;
extern uint8_t OsAppMode;
extern uint32_t OsSwitchCount;

/* Services. */
void StartOS(uint8_t mode);
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
StatusType SendMessage(MessageType msg, const void *data);
StatusType ReceiveMessage(MessageType msg, void *data);

/* Interrupt entry bookkeeping for category 2 handlers. */
void os_isr_enter(uint8_t isr);

/* Called by the PendSV handler (os_port.S). */
uint32_t *os_switch(uint32_t *psp);
void os_task_returned(void);
void os_tick(void);

/* Port (os_port.S). */
extern const uint16_t os_task_exit_return[];

#endif
