#include "export/lzexpand.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr uint8_t kSignature[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr size_t kWindow = 4096;
constexpr size_t kWindowStart = kWindow - 16;
// No program template is this large; a header that claims more is damaged.
constexpr uint32_t kLargestFile = 256u << 20;

}  // namespace

bool isLzCompressed(std::span<const uint8_t> bytes) {
  return bytes.size() >= sizeof kSignature && std::memcmp(bytes.data(), kSignature, sizeof kSignature) == 0;
}

std::optional<std::vector<uint8_t>> expandLz(std::span<const uint8_t> bytes) {
  if (!isLzCompressed(bytes) || bytes.size() < kLzHeaderBytes || bytes[8] != 'A') return std::nullopt;
  const uint32_t length = uint32_t(bytes[10]) | uint32_t(bytes[11]) << 8 | uint32_t(bytes[12]) << 16 |
                          uint32_t(bytes[13]) << 24;
  if (length > kLargestFile) return std::nullopt;
  std::vector<uint8_t> out;
  out.reserve(length);
  std::array<uint8_t, kWindow> window;
  window.fill(' ');
  size_t pos = kWindowStart;
  size_t in = kLzHeaderBytes;
  auto put = [&](uint8_t b) {
    out.push_back(b);
    window[pos] = b;
    pos = (pos + 1) % kWindow;
  };
  while (out.size() < length && in < bytes.size()) {
    const uint8_t control = bytes[in++];
    for (int bit = 0; bit < 8 && out.size() < length && in < bytes.size(); ++bit) {
      if (control & (1 << bit)) {
        put(bytes[in++]);
        continue;
      }
      if (in + 1 >= bytes.size()) return std::nullopt;
      const uint8_t b1 = bytes[in++], b2 = bytes[in++];
      size_t from = size_t(b1) | size_t(b2 & 0xF0) << 4;
      const size_t count = std::min<size_t>((b2 & 0x0F) + 3, length - out.size());
      for (size_t i = 0; i < count; ++i) {
        put(window[from]);
        from = (from + 1) % kWindow;
      }
    }
  }
  if (out.size() != length) return std::nullopt;
  return out;
}
