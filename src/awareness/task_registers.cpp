// Task register access. Not built yet: every register of every task answers 1 (failure).
#include "awareness/task_registers.h"

int32_t readreg(AwarenessState&, OSA_ServiceCntx*, uint64_t, int32_t, uint64_t*) {
  return 1;
}
int32_t writereg(AwarenessState&, OSA_ServiceCntx*, uint64_t, int32_t, uint64_t) {
  return 1;
}
