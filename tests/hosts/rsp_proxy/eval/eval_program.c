/* The program the evaluator's tests read: globals of every kind a formula meets, with known
 * initial values (the tests read them from the ELF's initialised data, never run it). */
#include <stdint.h>

typedef uint8_t TaskType;
typedef unsigned int Word;
typedef struct tcb Tcb;

enum colour { RED, GREEN = 5, BLUE };
enum sign { MINUS = -2, ZERO = 0, PLUS = 2 };
enum flags { F_READ = 1, F_WRITE = 2, F_EXEC = 4 };

struct bits {
    unsigned int low : 3;
    signed int mid : 5;
    unsigned int wide : 20;
    uint8_t byte;
    signed char neg : 4;
    enum colour hue : 4;
    _Bool flag : 1;
};

struct tcb {
    uint32_t *sp;
    const char *name;
    void (*entry)(void);
    struct tcb *next;
    uint8_t state;
    uint8_t prio;
    int16_t delta;
    union {
        uint32_t word;
        uint8_t bytes[4];
    };
    struct {
        uint16_t count;
        uint16_t limit;
    } quota;
};

union cell {
    uint32_t u;
    int32_t i;
    uint8_t b[4];
    float f;
};

void task_a(void) {}
void task_b(void) {}
int add(int a, int b) { return a + b; }

uint32_t stack_a[16] = {0xAAAAAAAAu, 1, 2, 3};
uint32_t stack_b[16] = {5, 6, 7, 8};

struct tcb Tasks[3] = {
    {stack_a + 2, "alpha", task_a, &Tasks[1], 1, 5, -3, {.word = 0x11223344u}, {7, 9}},
    {stack_b, "beta", task_b, &Tasks[2], 2, 200, 300, {.word = 0xFFFFFFFFu}, {0, 1}},
    {0, "gamma", 0, 0, 3, 0, -32768, {.word = 0}, {65535, 2}},
};
struct tcb *TaskTable[3] = {&Tasks[2], &Tasks[0], &Tasks[1]};
struct tcb *Current = &Tasks[1];
Tcb *NullTask = 0;
struct bits Bits = {5, -7, 0xABCDE, 0x5A, -3, BLUE, 1};
union cell Cell = {.u = 0x3FC00000u};

const char Version[] = "eval 1.0";
const char *Greeting = "hello";
char Empty[4] = "";
/* Longer than any text the debugger hands over (4096 characters). */
char LongText[5000] = {[0 ... 4998] = 'x'};
uint8_t Bytes[4] = {0x00, 0x7F, 0x80, 0xFF};
const uint8_t *BytePtr = Bytes + 1;

char c_char = 'A';
signed char c_schar = -5;
unsigned char c_uchar = 250;
short c_short = -1234;
unsigned short c_ushort = 65000;
int c_int = -100000;
unsigned int c_uint = 4000000000u;
long c_long = -7;
unsigned long c_ulong = 0xFFFFFFF0ul;
long long c_llong = -5000000000ll;
unsigned long long c_ullong = 0xFEDCBA9876543210ull;
_Bool c_bool = 1;
float c_float = 2.75f;
double c_double = -1234.5;
TaskType c_task = 4;
Word c_word = 0x12345678u;
enum colour c_colour = GREEN;
enum sign c_sign = MINUS;
enum flags c_flags = F_READ | F_EXEC;
enum flags c_flags_odd = 8 | F_WRITE;
int *IntPtr = &c_int;
void *VoidPtr = &Tasks[1];
int (*AddPtr)(int, int) = add;

/* The same name in two compile units: this unit's is static, the other unit's global. */
static int Shared = 1;
/* Static in both units. */
static int Hidden = 10;
/* Defined in the other unit. */
extern int Elsewhere;
extern uint32_t Counter;

/* Not in the file image: reads of it fail until a target supplies memory. */
uint32_t Uninitialised[8];

int use_a(void) { return Shared + Hidden + Elsewhere + (int)Counter; }
void _start(void) { use_a(); }
