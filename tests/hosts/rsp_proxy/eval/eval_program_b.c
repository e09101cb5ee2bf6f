/* The second compile unit of the evaluator's test program: a global that the first unit also
 * names as a static, a static of the same name as the first unit's, and definitions the first
 * unit declares. */
#include <stdint.h>

int Shared = 2;
static int Hidden = 20;
int Elsewhere = 30;
uint32_t Counter = 0xC0FFEEu;

int use_b(void) { return Shared + Hidden; }
