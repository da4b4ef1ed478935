#include "shell/core/byteio.h"

#include <bit>

using namespace byteio;

bool cByteReader::seek(size_t offset) {
  if (!ok_ || offset > data_.size()) {
    ok_ = false;
    return false;
  }
  pos_ = offset;
  return true;
}

bool cByteReader::skip(size_t count) {
  if (!has(count)) {
    ok_ = false;
    return false;
  }
  pos_ += count;
  return true;
}

const uint8_t* cByteReader::need(size_t count) {
  if (!has(count)) {
    ok_ = false;
    return nullptr;
  }
  const uint8_t* p = data_.data() + pos_;
  pos_ += count;
  return p;
}

uint8_t cByteReader::u8() {
  const uint8_t* p = need(1);
  return p ? *p : 0;
}
uint16_t cByteReader::u16() {
  const uint8_t* p = need(2);
  if (!p) return 0;
  return endian_ == cEndian::little ? getU16LE(p) : getU16BE(p);
}
uint32_t cByteReader::u32() {
  const uint8_t* p = need(4);
  if (!p) return 0;
  return endian_ == cEndian::little ? getU32LE(p) : getU32BE(p);
}
uint64_t cByteReader::u64() {
  const uint8_t* p = need(8);
  if (!p) return 0;
  return endian_ == cEndian::little ? getU64LE(p) : getU64BE(p);
}
double cByteReader::f64() { return std::bit_cast<double>(u64()); }

bool cByteReader::bytes(void* out, size_t count) {
  const uint8_t* p = need(count);
  if (!p) {
    if (count) std::memset(out, 0, count);
    return false;
  }
  if (count) std::memcpy(out, p, count);
  return true;
}

std::span<const uint8_t> cByteReader::take(size_t count) {
  const uint8_t* p = need(count);
  return p ? std::span<const uint8_t>(p, count) : std::span<const uint8_t>();
}

void cByteWriter::u16(uint16_t v) {
  uint8_t b[2];
  endian_ == cEndian::little ? putU16LE(b, v) : putU16BE(b, v);
  bytes(b, 2);
}
void cByteWriter::u32(uint32_t v) {
  uint8_t b[4];
  endian_ == cEndian::little ? putU32LE(b, v) : putU32BE(b, v);
  bytes(b, 4);
}
void cByteWriter::u64(uint64_t v) {
  uint8_t b[8];
  endian_ == cEndian::little ? putU64LE(b, v) : putU64BE(b, v);
  bytes(b, 8);
}
void cByteWriter::f64(double v) { u64(std::bit_cast<uint64_t>(v)); }

void cByteWriter::bytes(const void* p, size_t n) {
  const auto* b = static_cast<const uint8_t*>(p);
  out_.insert(out_.end(), b, b + n);
}

bool cByteWriter::patchU16(size_t at, uint16_t v) {
  if (at > out_.size() || out_.size() - at < 2) return false;
  endian_ == cEndian::little ? putU16LE(&out_[at], v) : putU16BE(&out_[at], v);
  return true;
}
bool cByteWriter::patchU32(size_t at, uint32_t v) {
  if (at > out_.size() || out_.size() - at < 4) return false;
  endian_ == cEndian::little ? putU32LE(&out_[at], v) : putU32BE(&out_[at], v);
  return true;
}
