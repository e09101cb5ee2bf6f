// The remote protocol's byte level: what the reader makes of byte streams however they are
// split, and the encodings inside payloads.
#include "rsp_packet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using rsp::Item;
using rsp::ItemKind;
using rsp::PacketReader;

std::string describe(const std::vector<Item>& items) {
  std::string out;
  for (const Item& i : items) {
    switch (i.kind) {
    case ItemKind::Ack:
      out += "+ ";
      break;
    case ItemKind::Nak:
      out += "- ";
      break;
    case ItemKind::Interrupt:
      out += "^C ";
      break;
    case ItemKind::Packet:
      out += "[" + i.payload + "] ";
      break;
    case ItemKind::Notification:
      out += "%[" + i.payload + "] ";
      break;
    case ItemKind::BadChecksum:
      out += "bad ";
      break;
    case ItemKind::Oversize:
      out += "oversize ";
      break;
    }
  }
  return out;
}

std::vector<Item> read_all(PacketReader& reader) {
  std::vector<Item> items;
  Item item;
  while (reader.next(item)) {
    items.push_back(item);
  }
  return items;
}

struct StreamCase {
  const char* name;
  std::string bytes;
  std::string expected; // describe() of the items
};

// Invariant: the items a stream holds do not depend on how the stream is cut into reads.
TEST(PacketReader, ItemsDoNotDependOnHowTheStreamIsSplit) {
  const std::string good = rsp::frame_packet("qSupported:swbreak+");
  const std::string binary = rsp::frame_packet(std::string("X0,3:\x03}\x03", 9));
  const std::vector<StreamCase> cases = {
      {"one packet", good, "[qSupported:swbreak+] "},
      {"acks and interrupts around packets", "+" + good + "-\x03" + rsp::frame_packet("g"),
       "+ [qSupported:swbreak+] - ^C [g] "},
      {"bad checksum", "$g#00" + rsp::frame_packet("m0,4"), "bad [m0,4] "},
      {"checksum digits that are not hex", "$g#zz", "bad "},
      {"a new packet before the end of one", "$m0,4" + good, "bad [qSupported:swbreak+] "},
      {"noise before the first packet is dropped", "Hello\r\n" + good, "[qSupported:swbreak+] "},
      {"0x03 inside a payload is data", binary, "[" + binary.substr(1, binary.size() - 4) + "] "},
      {"notification", rsp::frame_packet("Stop:T05", '%') + good,
       "%[Stop:T05] [qSupported:swbreak+] "},
      {"upper-case checksum digits", "$g#67", "[g] "},
      {"oversize packet, then a good one", "$" + std::string(100, 'a') + "#00" + good,
       "oversize [qSupported:swbreak+] "},
  };
  for (const StreamCase& c : cases) {
    for (std::size_t step : {c.bytes.size(), std::size_t{1}, std::size_t{3}}) {
      PacketReader reader(64);
      for (std::size_t i = 0; i < c.bytes.size(); i += step) {
        const std::string piece = c.bytes.substr(i, step);
        reader.feed(piece.data(), piece.size());
      }
      EXPECT_EQ(describe(read_all(reader)), c.expected) << c.name << ", reads of " << step;
      EXPECT_FALSE(reader.in_packet()) << c.name;
    }
  }
}

TEST(PacketReader, KeepsTheFramedBytesOfAPacketForPassingOn) {
  PacketReader reader(1024);
  const std::string framed = rsp::frame_packet("T05thread:1;");
  reader.feed(framed.data(), framed.size());
  Item item;
  ASSERT_TRUE(reader.next(item));
  EXPECT_EQ(item.raw, framed);
}

TEST(PacketReader, CountsTheNoiseItDrops) {
  PacketReader reader(64);
  reader.feed("abc$g#67", 8);
  EXPECT_EQ(reader.stray_bytes(), 3u);
  EXPECT_EQ(describe(read_all(reader)), "[g] ");
}

TEST(PacketEncodings, FramingComputesTheModulo256Sum) {
  EXPECT_EQ(rsp::frame_packet("g"), "$g#67");
  EXPECT_EQ(rsp::frame_packet(""), "$#00");
  EXPECT_EQ(rsp::frame_packet("OK"), "$OK#9a");
}

TEST(PacketEncodings, BinaryEscapesSurviveARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) {
    all += static_cast<char>(b);
  }
  const std::string escaped = rsp::escape_binary(all);
  EXPECT_EQ(escaped.find_first_of("$#*"), std::string::npos);
  std::string back;
  ASSERT_TRUE(rsp::unescape_binary(escaped, back));
  EXPECT_EQ(back, all);
  EXPECT_FALSE(rsp::unescape_binary("abc}", back));
}

TEST(PacketEncodings, RunLengthsExpandAndBadOnesAreRefused) {
  std::string out;
  ASSERT_TRUE(rsp::expand_run_lengths("0* 1", out)); // ' ' is 32: three more '0'
  EXPECT_EQ(out, "00001");
  ASSERT_TRUE(rsp::expand_run_lengths("x*}", out)); // '}' is 125: 96 more
  EXPECT_EQ(out, std::string(97, 'x'));
  EXPECT_FALSE(rsp::expand_run_lengths("*#", out));     // nothing to repeat
  EXPECT_FALSE(rsp::expand_run_lengths("0*", out));     // no count
  EXPECT_FALSE(rsp::expand_run_lengths("0*\x10", out)); // count out of range
}

TEST(PacketEncodings, HexNumbersAndBytes) {
  uint64_t v = 0;
  EXPECT_TRUE(rsp::parse_hex("20001fff", v));
  EXPECT_EQ(v, 0x20001fffu);
  EXPECT_TRUE(rsp::parse_hex("ffffffffffffffff", v));
  EXPECT_FALSE(rsp::parse_hex("1ffffffffffffffff", v));
  EXPECT_FALSE(rsp::parse_hex("", v));
  EXPECT_FALSE(rsp::parse_hex("-1", v));
  EXPECT_EQ(rsp::hex_number(0), "0");
  EXPECT_EQ(rsp::hex_number(0x10000), "10000");
  std::string bytes;
  EXPECT_TRUE(rsp::hex_decode("00FFa5", bytes));
  EXPECT_EQ(bytes, std::string("\x00\xff\xa5", 3));
  EXPECT_FALSE(rsp::hex_decode("abc", bytes));
  EXPECT_FALSE(rsp::hex_decode("zz", bytes));
  EXPECT_EQ(rsp::hex_encode(std::string("\x00\xff", 2)), "00ff");
}

TEST(PacketEncodings, ThreadIdsInEitherForm) {
  struct Case {
    const char* text;
    bool valid;
    rsp::ThreadId::Kind kind;
    uint64_t id;
  };
  const Case cases[] = {
      {"-1", true, rsp::ThreadId::All, 0},    {"0", true, rsp::ThreadId::Any, 0},
      {"1a", true, rsp::ThreadId::Id, 0x1a},  {"p1.2", true, rsp::ThreadId::Id, 2},
      {"p01.01", true, rsp::ThreadId::Id, 1}, {"p1.-1", true, rsp::ThreadId::All, 0},
      {"p1", true, rsp::ThreadId::All, 0},    {"", false, rsp::ThreadId::Any, 0},
      {"x", false, rsp::ThreadId::Any, 0},    {"p1.", false, rsp::ThreadId::Any, 0},
  };
  for (const Case& c : cases) {
    const auto t = rsp::parse_thread_id(c.text);
    ASSERT_EQ(t.has_value(), c.valid) << c.text;
    if (t) {
      EXPECT_EQ(t->kind, c.kind) << c.text;
      EXPECT_EQ(t->id, c.id) << c.text;
    }
  }
  EXPECT_EQ(rsp::format_thread_id({rsp::ThreadId::Id, 0x10000}), "10000");
  EXPECT_EQ(rsp::format_thread_id({rsp::ThreadId::All, 0}), "-1");
}

} // namespace
