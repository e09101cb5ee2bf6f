// One end of a remote-protocol connection (GDB's or the server's): the socket, the reader,
// acknowledgements in both directions while the link is in acknowledgement mode, and the
// retransmission that a '-' asks for.
#pragma once

#include "net.h"
#include "rsp_packet.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace rsp {

class RspLink {
public:
  RspLink(Fd fd, std::size_t max_payload) : fd_(std::move(fd)), reader_(max_payload) {}

  int fd() const { return fd_.get(); }
  bool open() const { return fd_.valid() && !closed_; }
  void close() {
    closed_ = true;
    fd_.reset();
  }

  bool ack_mode() const { return ack_mode_; }
  void set_ack_mode(bool on) { ack_mode_ = on; }
  void set_limit(std::size_t max_payload) { reader_.set_limit(max_payload); }
  std::size_t limit() const { return reader_.limit(); }

  // Frames and sends a payload (already escaped as the packet needs it).
  bool send_payload(std::string_view payload);
  // Sends a packet that is already framed.
  bool send_raw(std::string_view framed);
  bool send_interrupt();

  // Reads whatever has arrived; false once the other end has closed or failed.
  bool pump();
  // The next item that the caller has to act on. Acknowledgements are consumed here: a '+'
  // is dropped, a '-' resends the last packet, and in acknowledgement mode every packet is
  // answered with '+' (or '-' for a bad checksum, which the caller still sees).
  bool next(Item& item);
  // Waits for the next item until the deadline; false on timeout, a stop signal or when the
  // link is gone (see open()).
  bool wait_item(Item& item, Clock::time_point deadline);

  uint64_t packets_sent() const { return packets_sent_; }
  uint64_t packets_received() const { return packets_received_; }

private:
  bool write(std::string_view bytes);

  Fd fd_;
  PacketReader reader_;
  bool ack_mode_ = true;
  bool closed_ = false;
  std::string last_sent_;
  int resends_ = 0;
  uint64_t packets_sent_ = 0;
  uint64_t packets_received_ = 0;
};

} // namespace rsp
