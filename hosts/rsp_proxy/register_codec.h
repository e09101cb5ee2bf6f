// Register values as the 'g', 'p', 'G' and 'P' packets write them: hexadecimal in the target's
// byte order, "xx" per byte for a register whose value is not available.
#pragma once

#include "target_description.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rsp {

std::string encode_register(std::optional<uint64_t> value, unsigned bits, bool big_endian);
// The value of hex digits in the target's byte order; nullopt for "xx" digits (not available),
// for bad digits and for more than 64 bits.
std::optional<uint64_t> decode_register(std::string_view hex, bool big_endian);

// A whole 'g' reply of g_bytes bytes: the registers of the layout that fit, each from value
// (nullopt: not available); bytes that no register covers are not available either.
std::string build_g_reply(const RegisterLayout& layout, std::size_t g_bytes, bool big_endian,
                          const std::function<std::optional<uint64_t>(const RegisterInfo&)>& value);

// The registers of a 'G' packet's data: each register of the layout that the data covers
// with the hex digits of its value.
std::vector<std::pair<const RegisterInfo*, std::string_view>>
split_g_data(const RegisterLayout& layout, std::string_view hex);

} // namespace rsp
