#include "register_codec.h"

#include "rsp_packet.h"

namespace rsp {

std::string encode_register(std::optional<uint64_t> value, unsigned bits, bool big_endian) {
  const std::size_t bytes = bits / 8;
  if (!value || bytes == 0) {
    return std::string(bytes * 2, 'x');
  }
  std::string raw(bytes, '\0');
  for (std::size_t i = 0; i < bytes && i < 8; ++i) {
    const char b = static_cast<char>((*value >> (8 * i)) & 0xFF);
    raw[big_endian ? bytes - 1 - i : i] = b;
  }
  return hex_encode(raw);
}

std::optional<uint64_t> decode_register(std::string_view hex, bool big_endian) {
  std::string raw;
  if (hex.size() > 16 || !hex_decode(hex, raw)) {
    return std::nullopt;
  }
  uint64_t value = 0;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const uint64_t b = static_cast<uint8_t>(raw[big_endian ? i : raw.size() - 1 - i]);
    value = value << 8 | b;
  }
  return value;
}

std::string
build_g_reply(const RegisterLayout& layout, std::size_t g_bytes, bool big_endian,
              const std::function<std::optional<uint64_t>(const RegisterInfo&)>& value) {
  std::string out;
  out.reserve(g_bytes * 2);
  for (const RegisterInfo& r : layout.registers) {
    const std::size_t size = r.bits / 8;
    if (r.offset + size > g_bytes) {
      break;
    }
    out += encode_register(value(r), r.bits, big_endian);
  }
  if (out.size() < g_bytes * 2) {
    out.append(g_bytes * 2 - out.size(), 'x');
  }
  return out;
}

std::vector<std::pair<const RegisterInfo*, std::string_view>>
split_g_data(const RegisterLayout& layout, std::string_view hex) {
  std::vector<std::pair<const RegisterInfo*, std::string_view>> out;
  for (const RegisterInfo& r : layout.registers) {
    const std::size_t from = r.offset * 2;
    const std::size_t length = r.bits / 4;
    if (from + length > hex.size()) {
      break;
    }
    out.emplace_back(&r, hex.substr(from, length));
  }
  return out;
}

} // namespace rsp
