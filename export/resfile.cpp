#include "export/resfile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "shell/core/byteio.h"

namespace {

// A type or name field: 0xFFFF and an id, or a UTF-16 name.
bool readId(cByteReader& r, uint16_t& id, bool& named) {
  const uint16_t first = r.u16();
  if (!r.ok()) return false;
  if (first == 0xFFFF) {
    id = r.u16();
    named = false;
    return r.ok();
  }
  named = true;
  for (uint16_t c = first; c != 0 && r.ok(); c = r.u16()) {}
  return r.ok();
}

}  // namespace

cResReadResult readResFile(const std::vector<uint8_t>& bytes) {
  cResReadResult result;
  cByteReader r(bytes, cEndian::little);
  bool first = true;
  while (r.remaining() > 0) {
    const size_t start = r.position();
    if (r.remaining() < 32) {
      result.error = "the entry at offset " + std::to_string(start) + " is cut off";
      return result;
    }
    const uint32_t dataSize = r.u32();
    const uint32_t headerSize = r.u32();
    if (headerSize < 32 || headerSize > r.size() - start) {
      result.error = "the entry at offset " + std::to_string(start) + " has a bad header size";
      return result;
    }
    cResEntry e;
    bool typeNamed = false, nameNamed = false;
    if (!readId(r, e.type, typeNamed) || !readId(r, e.name, nameNamed) ||
        r.position() > start + headerSize) {
      result.error = "the entry at offset " + std::to_string(start) + " has a broken type or name";
      return result;
    }
    // The fixed tail of the header is its last 16 bytes.
    r.seek(start + headerSize - 16);
    r.u32();  // DataVersion
    e.memoryFlags = r.u16();
    e.language = r.u16();
    if (dataSize > r.size() - (start + headerSize)) {
      result.error = "the data of the entry at offset " + std::to_string(start) + " runs past the end";
      return result;
    }
    r.seek(start + headerSize);
    auto data = r.take(dataSize);
    e.data.assign(data.begin(), data.end());
    // Entries are aligned to 4 bytes; the padding may be missing at the very end.
    const size_t next = (r.position() + 3) & ~size_t(3);
    r.seek(next < r.size() ? next : r.size());
    if (typeNamed || nameNamed) {
      result.error = "the entry at offset " + std::to_string(start) +
                     " has a name instead of a number; only numbered resources are supported";
      return result;
    }
    if (first && dataSize == 0 && e.type == 0 && e.name == 0) {
      first = false;
      continue;
    }
    first = false;
    result.entries.push_back(std::move(e));
  }
  return result;
}

std::vector<uint8_t> writeResFile(const std::vector<cResEntry>& entries) {
  cByteWriter w(cEndian::little);
  auto entry = [&](const cResEntry& e, bool empty) {
    w.u32(static_cast<uint32_t>(e.data.size()));
    w.u32(32);
    w.u16(0xFFFF);
    w.u16(e.type);
    w.u16(0xFFFF);
    w.u16(e.name);
    w.u32(0);  // DataVersion
    w.u16(empty ? 0 : e.memoryFlags);
    w.u16(e.language);
    w.u32(0);  // Version
    w.u32(0);  // Characteristics
    w.bytes(e.data.data(), e.data.size());
    w.padTo(4);
  };
  entry(cResEntry{0, 0, 0, 0, {}}, true);
  for (const cResEntry& e : entries) entry(e, false);
  return w.release();
}

bool loadFileBytes(const std::string& path, std::vector<uint8_t>& out, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  out.assign(std::istreambuf_iterator<char>(in), {});
  if (in.bad()) {
    error = path + ": read error";
    return false;
  }
  return true;
}

bool saveFileBytes(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) {
    error = path + ": write error";
    return false;
  }
  return true;
}
