// Stack coverage: how much of each stack has ever been used, told by the fill pattern the OS
// wrote into the stack before its task first ran.
//
// A STACK object gives SIZE (bytes), BASEADDRESS (the lowest address of the stack's memory),
// STACKDIRECTION (UP: it grows from BASEADDRESS upwards; DOWN: from BASEADDRESS + SIZE
// downwards) and FILLPATTERN. The memory is compared word by word (a word being as wide as the
// pattern) from the far end of the stack, where it would overflow, towards its start; the first
// word that no longer holds the pattern is the high-water mark. Everything between it and the
// start counts as used, also bytes at the end of the memory that make no whole word. When
// already the word at the far end differs, the stack has probably overflowed.
//
// Words are laid from BASEADDRESS, as a fill loop writes them, and hold the pattern in the
// target's byte order (the context record's bigEndianTarget). The pattern's width is how the
// file writes it: a hexadecimal number has one byte per two digits, rounded up to 1, 2 or 4
// bytes ("0xAA" one byte, "0x00AA" two, "0xAAAAAAAA" four); any other formula is as wide as its
// value needs (1, 2 or 4 bytes; a value the debugger sign-extended as wide as it was before).
// The memory is read with MemoryRead in pieces of at most kStackReadPiece bytes, and the
// reading stops at the first word that differs.
//
// A stack that cannot be measured still gets its row, with everything that could be read and a
// note that says why not: an attribute the file does not give or the debugger cannot evaluate,
// a size of 0, memory past the end of the address space, a direction other than UP or DOWN, a
// fill pattern that is empty or wider than 4 bytes, a read that failed.
#pragma once

#include "awareness/awareness_state.h"
#include "osa/service_context.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Most bytes asked for by one MemoryRead: a debugger answers with two characters per byte in
// one message, which must stay small.
inline constexpr uint64_t kStackReadPiece = 1024;
// Most bytes of one stack that are read: larger stacks do not occur in the OS configurations
// this plug-in is for, and reading more would hold the debugger for minutes.
inline constexpr uint64_t kMaxStackScanBytes = uint64_t{1} << 20;

enum class StackDirection { Up, Down };

enum class StackStatus {
  Measured,   // used and free are known
  Overflowed, // the word at the far end does not hold the pattern: used is the whole size
  Unmeasured, // see the note
};

struct StackUsage {
  std::string name;
  // What the file gives, as far as it could be read.
  std::optional<uint64_t> size;
  std::optional<uint64_t> base;
  std::optional<StackDirection> direction;
  std::optional<uint64_t> pattern;
  uint32_t pattern_width = 0; // bytes, with the pattern
  StackStatus status = StackStatus::Unmeasured;
  uint64_t used = 0; // bytes, when measured or overflowed
  std::string note;  // why the stack is unmeasured, or the overflow warning
};

// Bytes never used, and the used share in percent rounded up (so that any use shows); 0 for a
// stack that is unmeasured.
uint64_t stack_free_bytes(const StackUsage& usage);
uint32_t stack_percent_used(const StackUsage& usage);

// One row per STACK object in file order (a list object gives one per element in target
// memory); with a name, only the objects of that name (compared exactly). No rows without a
// model or when no stack has the name. The walk state of the object lists is left as it was.
std::vector<StackUsage> stack_usage(AwarenessState& state, OSA_ServiceCntx* ctx,
                                    const char* name = nullptr);
