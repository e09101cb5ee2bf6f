// The GDB remote serial protocol at the byte level: framing ("$payload#cs"), the encodings
// inside payloads (hexadecimal, binary escapes, run lengths), thread ids, and an incremental
// reader that cuts a byte stream into acknowledgements, interrupts and packets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace rsp {

// The modulo-256 sum of the payload's bytes.
uint8_t checksum(std::string_view payload);
// "$payload#cs" (or "%payload#cs" for a notification); payload is taken as it stands, so any
// escaping must have been done before.
std::string frame_packet(std::string_view payload, char lead = '$');

std::string hex_encode(std::string_view bytes);
// False on an odd length or a character that is not a hexadecimal digit.
bool hex_decode(std::string_view hex, std::string& bytes);
// A number written in hexadecimal digits only (no sign, no prefix); false when empty, on any
// other character or when it does not fit.
bool parse_hex(std::string_view text, uint64_t& value);
std::string hex_number(uint64_t value);

// Binary data as packets carry it: '$', '#', '}' and '*' become '}' followed by the byte XOR
// 0x20 ('*' too, so that a reader never takes it for a run length).
std::string escape_binary(std::string_view bytes);
// False when the data ends in the middle of an escape.
bool unescape_binary(std::string_view data, std::string& bytes);
// Expands the run-length encoding that a server may use in replies ("0*#" = '0' repeated 6
// more times). False for a run without a character before it or with a count byte out of range.
bool expand_run_lengths(std::string_view data, std::string& out);

// A thread as packets name it: "-1" (all), "0" (any) or a hexadecimal id, optionally in the
// multiprocess form "pPID.TID" (whose PID is then ignored).
struct ThreadId {
  enum Kind { All, Any, Id } kind = Any;
  uint64_t id = 0;
};
std::optional<ThreadId> parse_thread_id(std::string_view text);
std::string format_thread_id(const ThreadId& thread);

// One unit of what arrives on a link.
enum class ItemKind {
  Ack,          // '+'
  Nak,          // '-': the other side wants the last packet again
  Interrupt,    // the byte 0x03 outside a packet
  Packet,       // "$...#cs" with a good checksum
  Notification, // "%...#cs" with a good checksum
  BadChecksum,  // a packet whose checksum does not match its payload
  Oversize,     // a packet longer than the reader's limit; its payload is dropped
};

struct Item {
  ItemKind kind = ItemKind::Ack;
  std::string payload; // as received: escapes and run lengths not expanded
  std::string raw;     // the framed bytes as received (Packet and Notification only)
};

// Cuts a byte stream into items. Bytes outside packets other than '+', '-' and 0x03 are
// counted and dropped (a server may print noise before its first packet). A '$' in the middle
// of a payload starts a new packet: the cut one is reported as a bad checksum.
class PacketReader {
public:
  explicit PacketReader(std::size_t max_payload) : max_payload_(max_payload) {}

  void set_limit(std::size_t max_payload) { max_payload_ = max_payload; }
  std::size_t limit() const { return max_payload_; }

  void feed(const char* data, std::size_t size);
  // The oldest complete item, if any.
  bool next(Item& item);
  bool has_item() const { return !items_.empty(); }
  // Inside a packet that has not ended yet.
  bool in_packet() const { return state_ != State::Idle; }
  std::size_t stray_bytes() const { return stray_; }

private:
  enum class State { Idle, Payload, Check1, Check2 };

  void finish_packet();

  std::size_t max_payload_;
  State state_ = State::Idle;
  char lead_ = '$';
  bool oversize_ = false;
  std::string payload_;
  std::size_t length_ = 0; // payload bytes seen, kept or not
  uint8_t sum_ = 0;
  char check_[2] = {0, 0};
  std::size_t stray_ = 0;
  std::deque<Item> items_;
};

} // namespace rsp
