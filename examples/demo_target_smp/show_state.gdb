# What both cores of the kernel look like at demo_breakpoint(), read straight from its
# globals:
#   examples/demo_target_smp/run_qemu_gdb.sh -x examples/demo_target_smp/show_state.gdb
# The saved registers are computed with the same expressions as the CONTEXT objects of
# demo_target_smp.ort. GDB thread 1.(c+1) is core c.

set print pretty off

define demo_cores
  set $c = 0
  while $c < sizeof(OsCore) / sizeof(OsCore[0])
    printf "  core %u: running %s (id %u, prio %u), isr %u, last error %u, service trace %u, ticks %u, switches %u\n", $c, OsCore[$c].current ? OsCore[$c].current->name : "-", OsCore[$c].running_id, OsCore[$c].current ? OsCore[$c].current->cur_prio : 0, OsCore[$c].running_isr, OsCore[$c].last_error, OsCore[$c].service_trace, OsCore[$c].counter->value, OsCore[$c].switch_count
    set $c = $c + 1
  end
end
document demo_cores
One line per core: its entry of OsCore[].
end

define demo_tasks
  set $i = 0
  while $i < sizeof(OsTcb) / sizeof(OsTcb[0])
    printf "  [%2u] %-14s core %u state=%u prio=%u (base %u) act=%u/%u sp=0x%08x events set=0x%x wait=0x%x\n", $i, OsTcb[$i].name, OsTcb[$i].core, OsTcb[$i].state, OsTcb[$i].cur_prio, OsTcb[$i].base_prio, OsTcb[$i].activations, OsTcb[$i].max_activations, (unsigned int)OsTcb[$i].sp, OsTcb[$i].events_set, OsTcb[$i].events_wait
    set $i = $i + 1
  end
end
document demo_tasks
One line per task control block (state: 0 SUSPENDED, 1 READY, 2 WAITING, 3 RUNNING).
end

define demo_saved_regs
  set $f = (unsigned int *)OsTcb[$arg0].sp
  printf "  %s (core %u), saved sp 0x%08x:\n", OsTcb[$arg0].name, OsTcb[$arg0].core, (unsigned int)$f
  printf "    r0=0x%08x r1=0x%08x r2=0x%08x r3=0x%08x r4=0x%08x r5=0x%08x r6=0x%08x\n", $f[0], $f[1], $f[2], $f[3], $f[4], $f[5], $f[6]
  printf "    r7=0x%08x r8=0x%08x r9=0x%08x r10=0x%08x r11=0x%08x r12=0x%08x\n", $f[7], $f[8], $f[9], $f[10], $f[11], $f[12]
  printf "    sp=0x%08x lr=0x%08x pc=0x%08x cpsr=0x%08x\n", (unsigned int)$f + 64, $f[13], $f[14], $f[15]
  info symbol $f[14]
end
document demo_saved_regs
demo_saved_regs N: the registers task N had when it was switched out.
end

# Loads task N's saved registers into the thread of its core, shows its backtrace and puts
# that core's live registers back. r11 matters as much as pc/sp/lr: at -O0 it is the frame
# pointer the unwinder starts from.
define demo_task_bt
  set $f = (unsigned int *)OsTcb[$arg0].sp
  eval "thread %d", OsTcb[$arg0].core + 1
  set $k_r0 = $r0
  set $k_r1 = $r1
  set $k_r2 = $r2
  set $k_r3 = $r3
  set $k_r4 = $r4
  set $k_r5 = $r5
  set $k_r6 = $r6
  set $k_r7 = $r7
  set $k_r8 = $r8
  set $k_r9 = $r9
  set $k_r10 = $r10
  set $k_r11 = $r11
  set $k_r12 = $r12
  set $k_sp = $sp
  set $k_lr = $lr
  set $k_pc = $pc
  set $r0 = $f[0]
  set $r1 = $f[1]
  set $r2 = $f[2]
  set $r3 = $f[3]
  set $r4 = $f[4]
  set $r5 = $f[5]
  set $r6 = $f[6]
  set $r7 = $f[7]
  set $r8 = $f[8]
  set $r9 = $f[9]
  set $r10 = $f[10]
  set $r11 = $f[11]
  set $r12 = $f[12]
  set $lr = $f[13]
  set $sp = (unsigned int)$f + 64
  set $pc = $f[14]
  printf "  backtrace of %s:\n", OsTcb[$arg0].name
  bt
  set $r0 = $k_r0
  set $r1 = $k_r1
  set $r2 = $k_r2
  set $r3 = $k_r3
  set $r4 = $k_r4
  set $r5 = $k_r5
  set $r6 = $k_r6
  set $r7 = $k_r7
  set $r8 = $k_r8
  set $r9 = $k_r9
  set $r10 = $k_r10
  set $r11 = $k_r11
  set $r12 = $k_r12
  set $sp = $k_sp
  set $lr = $k_lr
  set $pc = $k_pc
end
document demo_task_bt
demo_task_bt N: backtrace of switched-out task N, by loading its saved registers into the thread of its core for a moment.
end

echo \n=== cores (GDB threads)\n
info threads
demo_cores
echo \n=== task control blocks\n
demo_tasks

echo \n=== saved contexts of the switched-out tasks\n
set $i = 0
while $i < sizeof(OsTcb) / sizeof(OsTcb[0])
  if OsTcb[$i].sp != 0
    demo_saved_regs $i
  end
  set $i = $i + 1
end

echo \n=== backtraces\n
echo   live, both cores:\n
thread apply all bt
set $i = 0
while $i < sizeof(OsTcb) / sizeof(OsTcb[0])
  if OsTcb[$i].sp != 0
    demo_task_bt $i
  end
  set $i = $i + 1
end
thread 1
echo   live again, registers restored:\n
thread apply all bt

echo \n=== running alarms per core\n
set $c = 0
while $c < sizeof(OsCore) / sizeof(OsCore[0])
  set $n = OsCore[$c].alarm_head
  while $n != 0
    printf "  core %u: %-16s expiry=%u remaining=%u cycle=%u action=%s\n", $c, $n->name, $n->expiry, $n->expiry - $n->counter->value, $n->cycle, $n->action_text
    set $n = $n->next
  end
  set $c = $c + 1
end
echo \n=== resources, spinlocks, interrupts\n
print OsResource
print OsSpinlock
print OsIsr
