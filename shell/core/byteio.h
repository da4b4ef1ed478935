// Readers and writers of big- and little-endian numbers in byte buffers.
//
// Invention files are big-endian; resource tables, PE and ELF headers and
// puzzle records are little-endian. A cByteReader never reads outside its
// buffer: a read past the end yields zeros and marks the reader failed, and
// the failure sticks, so a caller can read a whole record and check once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace byteio {

inline uint16_t getU16LE(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint16_t getU16BE(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline uint32_t getU32LE(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint32_t getU32BE(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
inline uint64_t getU64LE(const uint8_t* p) { return getU32LE(p) | (uint64_t(getU32LE(p + 4)) << 32); }
inline uint64_t getU64BE(const uint8_t* p) { return (uint64_t(getU32BE(p)) << 32) | getU32BE(p + 4); }

inline void putU16LE(uint8_t* p, uint16_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
inline void putU16BE(uint8_t* p, uint16_t v) { p[0] = uint8_t(v >> 8); p[1] = uint8_t(v); }
inline void putU32LE(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
inline void putU32BE(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * (3 - i)));
}
inline void putU64LE(uint8_t* p, uint64_t v) { putU32LE(p, uint32_t(v)); putU32LE(p + 4, uint32_t(v >> 32)); }
inline void putU64BE(uint8_t* p, uint64_t v) { putU32BE(p, uint32_t(v >> 32)); putU32BE(p + 4, uint32_t(v)); }

}  // namespace byteio

enum class cEndian { little, big };

class cByteReader {
 public:
  cByteReader(std::span<const uint8_t> data, cEndian endian) : data_(data), endian_(endian) {}
  cByteReader(const void* data, size_t size, cEndian endian)
      : data_(static_cast<const uint8_t*>(data), size), endian_(endian) {}

  size_t size() const { return data_.size(); }
  size_t position() const { return pos_; }
  size_t remaining() const { return pos_ <= data_.size() ? data_.size() - pos_ : 0; }
  bool ok() const { return ok_; }
  bool failed() const { return !ok_; }
  bool atEnd() const { return pos_ >= data_.size(); }

  // Moves to an absolute offset; an offset past the end fails the reader.
  bool seek(size_t offset);
  bool skip(size_t count);
  bool has(size_t count) const { return ok_ && count <= remaining(); }

  uint8_t u8();
  uint16_t u16();
  uint32_t u32();
  uint64_t u64();
  int8_t s8() { return static_cast<int8_t>(u8()); }
  int16_t s16() { return static_cast<int16_t>(u16()); }
  int32_t s32() { return static_cast<int32_t>(u32()); }
  double f64();  // IEEE double in the reader's byte order

  // Copies count bytes; on a short buffer copies nothing, zero-fills and fails.
  bool bytes(void* out, size_t count);
  // A view of the next count bytes (empty and failed when too short).
  std::span<const uint8_t> take(size_t count);

 private:
  const uint8_t* need(size_t count);

  std::span<const uint8_t> data_;
  cEndian endian_;
  size_t pos_ = 0;
  bool ok_ = true;
};

// Appends numbers to a growing byte vector, or patches them at an offset.
class cByteWriter {
 public:
  explicit cByteWriter(cEndian endian) : endian_(endian) {}

  const std::vector<uint8_t>& data() const { return out_; }
  std::vector<uint8_t> release() { return std::move(out_); }
  size_t size() const { return out_.size(); }

  void u8(uint8_t v) { out_.push_back(v); }
  void u16(uint16_t v);
  void u32(uint32_t v);
  void u64(uint64_t v);
  void s16(int16_t v) { u16(static_cast<uint16_t>(v)); }
  void s32(int32_t v) { u32(static_cast<uint32_t>(v)); }
  void f64(double v);
  void bytes(const void* p, size_t n);
  void zeros(size_t n) { out_.insert(out_.end(), n, 0); }
  void padTo(size_t multiple) {
    while (multiple && out_.size() % multiple) out_.push_back(0);
  }

  // Overwrite an already written number; false when it does not fit.
  bool patchU16(size_t at, uint16_t v);
  bool patchU32(size_t at, uint32_t v);

 private:
  cEndian endian_;
  std::vector<uint8_t> out_;
};
