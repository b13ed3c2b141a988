#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Database integers are stored most significant byte first. Each byte is widened before it is
// shifted, so the host's own byte order and the signedness of char play no part.

inline std::uint16_t readBigEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>((std::uint32_t{bytes[at]} << 8U) |
                                    std::uint32_t{bytes[at + 1]});
}

inline std::uint32_t readBigEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return (std::uint32_t{bytes[at]} << 24U) | (std::uint32_t{bytes[at + 1]} << 16U) |
         (std::uint32_t{bytes[at + 2]} << 8U) | std::uint32_t{bytes[at + 3]};
}
