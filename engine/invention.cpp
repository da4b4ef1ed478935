#include "engine/invention.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "engine/connection.h"
#include "engine/factory.h"
#include "engine/gadget.h"
#include "engine/memoryprobe.h"
#include "engine/undo.h"
#include "engine/worksheet.h"
#include "shell/core/alert.h"
#include "shell/core/byteio.h"

namespace {

constexpr size_t kChunkHeader = 8;

// Chunk ids as the four bytes lie in the file.
bool idIs(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

cTypeCode codeAt(const uint8_t* p) { return makeTypeCode(char(p[0]), char(p[1]), char(p[2]), char(p[3])); }

void putId(uint8_t* p, cTypeCode code) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(typeCodeChar(code, i));
}

size_t wireRecordSize(const cConnection& w) { return kWireRecordBase + 4 * size_t(w.knots.count()); }

bool knownBackground(uint16_t n) {
  return n == kBackgroundNone || n == kBackgroundSand || n == kBackgroundWaves || n == kBackgroundSteel;
}

class cReader {
 public:
  cReader(cWorksheetPane& ws, std::span<const uint8_t> image, bool quiet, cReadReport* report)
      : ws_(ws), image_(image), quiet_(quiet), report_(report) {}

  size_t read();

 private:
  void note(cReadNote::Kind kind, size_t offset, cTypeCode id, uint32_t detail = 0, uint32_t detail2 = 0) {
    if (report_) report_->notes.push_back({kind, offset, id, detail, detail2});
  }
  void alert(int n) {
    if (!quiet_) cAlert().show(n);
  }
  void readGadget(size_t at, cTypeCode code, std::span<const uint8_t> body);
  void readWire(size_t at, std::span<const uint8_t> body);
  // The gadget and pin a wire end names, or null when it stays unattached.
  cGadget* wireEnd(size_t at, uint32_t key, uint16_t pin, uint32_t end);

  cWorksheetPane& ws_;
  std::span<const uint8_t> image_;
  bool quiet_;
  cReadReport* report_;
  uint16_t version_ = 0;
  // The gadgets of this image by key; the first gadget with a key keeps it.
  std::unordered_map<uint32_t, cGadget*> byKey_;
};

size_t cReader::read() {
  if (!isInventionImage(image_, &version_)) {
    note(cReadNote::notAnInvention, 0, 0);
    alert(7);
    return 0;
  }
  ws_.fileVersion = version_;
  if (report_) report_->version = version_;
  if (version_ == 0 || version_ > kFileVersion) {
    note(cReadNote::unknownVersion, 12, "fver"_tc, version_);
    alert(7);
  }
  bool memoryGone = false;
  cChunkView pastEnd;
  pastEnd.offset = 0;
  const size_t reached = walkChunks(image_, [&](const cChunkView& c) {
    if (!memoryProbe(undoStore().size())) {
      note(cReadNote::outOfMemory, c.offset, c.id);
      memoryGone = true;
      return false;
    }
    if (c.is("numG")) {
      if (c.body.size() < 2 || c.body.size() < 2 + 6 * size_t(byteio::getU16BE(c.body.data())))
        note(cReadNote::shortChunk, c.offset, c.id);
      ws_.limits.read(c.body);
    } else if (c.is("back")) {
      if (c.body.size() < 2) {
        note(cReadNote::shortChunk, c.offset, c.id);
      } else {
        const uint16_t number = byteio::getU16BE(c.body.data());
        if (!knownBackground(number)) note(cReadNote::badBackground, c.offset, c.id, number);
        ws_.setBackgroundQuietly(knownBackground(number) ? number : uint16_t(kBackgroundNone));
      }
    } else if (c.is("conn")) {
      readWire(c.offset, c.body);
    } else {
      readGadget(c.offset, c.id, c.body);
    }
    return true;
  }, &pastEnd);
  if (memoryGone) {
    alert(10);
    ws_.removeEverything();
    if (report_) report_->gadgets = report_->wires = 0;
    return 0;
  }
  if (pastEnd.offset) {
    // A file cut short: what was whole stays, and the user hears that the
    // file could not be read to its end.
    note(cReadNote::chunkPastEnd, pastEnd.offset, pastEnd.id, uint32_t(pastEnd.body.size()));
    alert(3);
  }
  return reached;
}

void cReader::readGadget(size_t at, cTypeCode code, std::span<const uint8_t> body) {
  if (!kindByCode(code)) {
    note(cReadNote::unknownKind, at, code);
    return;
  }
  const cKindMaker* maker = gadgetFactory().maker(code);
  const uint32_t key = body.size() >= 4 ? byteio::getU32BE(body.data()) : 0;
  const size_t needed = maker ? size_t(maker->recordSize) : size_t(kGadgetRecordSize);
  if (body.size() < needed) {
    note(cReadNote::gadgetTooShort, at, code, uint32_t(body.size()), uint32_t(needed));
    return;
  }
  if (!maker) {
    note(cReadNote::kindNotAvailable, at, code, key);
    return;
  }
  std::unique_ptr<cGadget> g = mNewGadget(&ws_, code, cPoint(), body, true);
  if (!g) {
    note(cReadNote::kindNotAvailable, at, code, key);
    return;
  }
  if (!byKey_.emplace(g->id, g.get()).second) note(cReadNote::duplicateKey, at, code, g->id);
  ws_.addGadget(std::move(g));
  if (report_) ++report_->gadgets;
}

cGadget* cReader::wireEnd(size_t at, uint32_t key, uint16_t pin, uint32_t end) {
  auto it = byKey_.find(key);
  if (it == byKey_.end()) {
    note(cReadNote::wireEndMissing, at, "conn"_tc, end, key);
    return nullptr;
  }
  cGadget* g = it->second;
  if (!g->validPin(pin)) {
    note(cReadNote::wirePinInvalid, at, "conn"_tc, end, pin);
    return nullptr;
  }
  // One wire to a pin: a second one would leave the first pointing at a pin
  // that no longer knows it.
  if (g->wireAt(pin)) {
    note(cReadNote::wirePinTaken, at, "conn"_tc, end, pin);
    return nullptr;
  }
  return g;
}

void cReader::readWire(size_t at, std::span<const uint8_t> body) {
  const bool old = version_ <= 2;
  const size_t base = old ? kWireRecordOld : kWireRecordBase;
  if (body.size() < base) {
    note(cReadNote::wireTooShort, at, "conn"_tc, uint32_t(body.size()), uint32_t(base));
    return;
  }
  const uint8_t* b = body.data();
  const uint16_t knotCount = old ? 0 : byteio::getU16BE(b + 14);
  if (body.size() < base + 4 * size_t(knotCount)) {
    note(cReadNote::wireTooShort, at, "conn"_tc, uint32_t(body.size()), uint32_t(base + 4 * size_t(knotCount)));
    return;
  }
  const uint16_t sourcePin = byteio::getU16BE(b + 8), targetPin = byteio::getU16BE(b + 10);
  cGadget* source = wireEnd(at, byteio::getU32BE(b), sourcePin, 0);
  cGadget* target = wireEnd(at, byteio::getU32BE(b + 4), targetPin, 1);
  if (source && source == target && sourcePin == targetPin) {
    note(cReadNote::wirePinTaken, at, "conn"_tc, 1, targetPin);
    target = nullptr;
  }
  auto wire = std::make_unique<cConnection>(source, source ? sourcePin : uint16_t(0), target,
                                            target ? targetPin : uint16_t(0));
  if (!old) {
    wire->locked = b[12] != 0;
    for (uint16_t i = 0; i < knotCount; ++i) {
      const uint8_t* k = b + kWireRecordBase + 4 * size_t(i);
      wire->appendKnot(cPoint(int16_t(byteio::getU16BE(k)), int16_t(byteio::getU16BE(k + 2))));
    }
  }
  wire->attachEnds();
  // A loose end is drawn where the wire still is: at its nearest knot, or at
  // the other end, rather than at the worksheet's corner.
  if (!source || !target) {
    const bool knots = !wire->knots.isEmpty();
    if (!source) wire->freeEnd = knots ? wire->knots.head()->data->point : wire->targetPoint();
    if (!target) wire->freeEnd = knots ? wire->knots.tail()->data->point : wire->sourcePoint();
  }
  ws_.addWire(std::move(wire));
  if (report_) ++report_->wires;
}

}  // namespace

bool cChunkView::is(const char* fourLetters) const { return id == makeTypeCode(std::string_view(fourLetters, 4)); }

bool isInventionImage(std::span<const uint8_t> image, uint16_t* version) {
  const uint8_t* p = image.data();
  if (image.size() < 22 || !idIs(p, "FORM") || !idIs(p + 8, "Gadf") || !idIs(p + 12, "fver")) return false;
  if (version) *version = byteio::getU16BE(p + 20);
  return true;
}

size_t walkChunks(std::span<const uint8_t> image, const std::function<bool(const cChunkView&)>& visit,
                  cChunkView* pastEnd) {
  if (!isInventionImage(image)) return 0;
  const uint8_t* p = image.data();
  const size_t length = image.size();
  size_t offset = 12 + kChunkHeader + size_t(byteio::getU32BE(p + 16));
  while (offset < length) {
    const uint8_t* chunk = p + offset;
    if (length - offset < kChunkHeader) {
      // Bytes left over that cannot even hold a chunk's header.
      if (pastEnd) *pastEnd = {offset, 0, image.subspan(offset)};
      break;
    }
    const size_t bodyLength = byteio::getU32BE(chunk + 4);
    cChunkView view{offset, codeAt(chunk), {}};
    if (bodyLength > length - offset - kChunkHeader) {
      // The chunk runs past the end: it and whatever follows are not read.
      if (pastEnd) {
        *pastEnd = view;
        pastEnd->body = image.subspan(offset + kChunkHeader);
      }
      break;
    }
    view.body = image.subspan(offset + kChunkHeader, bodyLength);
    if (!visit(view)) return offset;
    offset += kChunkHeader + bodyLength;
  }
  return std::min(offset, length);
}

bool cReadReport::has(cReadNote::Kind k) const {
  return std::any_of(notes.begin(), notes.end(), [k](const cReadNote& n) { return n.kind == k; });
}

size_t inventionSize(const cWorksheetPane& ws) {
  size_t size = kEmptyInventionSize;
  for (cGadget* g : ws.gadgets) size += kChunkHeader + size_t(std::max(g->recordSize(), 0));
  for (const cConnection* w : ws.wires) size += kChunkHeader + wireRecordSize(*w);
  if (ws.limits.limitCount() > 0) size += kChunkHeader + ws.limits.chunkSize();
  return size;
}

size_t writeInvention(cWorksheetPane& ws, std::span<uint8_t> buffer) {
  const size_t size = inventionSize(ws);
  if (buffer.size() < size) return 0;
  uint8_t* p = buffer.data();
  std::memcpy(p, "FORM", 4);
  std::memcpy(p + 8, "Gadf", 4);
  std::memcpy(p + 12, "fver", 4);
  byteio::putU32BE(p + 16, 2);
  byteio::putU16BE(p + 20, kFileVersion);
  std::memcpy(p + 22, "back", 4);
  byteio::putU32BE(p + 26, 2);
  byteio::putU16BE(p + 30, ws.backgroundNumber());
  size_t at = kEmptyInventionSize;

  // Every gadget of the file needs a key of its own, with the top byte 0xFF.
  std::unordered_set<uint32_t> used;
  used.reserve(ws.gadgets.count());
  for (auto* n = ws.gadgets.tail(); n; n = n->previous) {
    cGadget* g = n->data;
    while ((g->id >> 24) != 0xFF || !used.insert(g->id).second) g->id = cGadget::freshKey();
    const int record = std::max(g->recordSize(), 0);
    putId(p + at, g->typeCode);
    byteio::putU32BE(p + at + 4, uint32_t(record));
    const std::span<uint8_t> body(p + at + kChunkHeader, size_t(record));
    std::memset(body.data(), 0, body.size());
    g->writeRecord(body);
    at += kChunkHeader + size_t(record);
  }
  for (auto* n = ws.wires.tail(); n; n = n->previous) {
    const cConnection& w = *n->data;
    const size_t record = wireRecordSize(w);
    uint8_t* b = p + at + kChunkHeader;
    std::memcpy(p + at, "conn", 4);
    byteio::putU32BE(p + at + 4, uint32_t(record));
    byteio::putU32BE(b, w.source ? w.source->id : 0);
    byteio::putU32BE(b + 4, w.target ? w.target->id : 0);
    byteio::putU16BE(b + 8, w.source ? w.sourcePin : 0);
    byteio::putU16BE(b + 10, w.target ? w.targetPin : 0);
    b[12] = w.locked ? 1 : 0;
    b[13] = 0;
    byteio::putU16BE(b + 14, w.knots.count());
    size_t k = kWireRecordBase;
    for (const cKnot* knot : w.knots) {
      byteio::putU16BE(b + k, uint16_t(knot->point.v));
      byteio::putU16BE(b + k + 2, uint16_t(knot->point.h));
      k += 4;
    }
    at += kChunkHeader + record;
  }
  if (ws.limits.limitCount() > 0) {
    std::memcpy(p + at, "numG", 4);
    byteio::putU32BE(p + at + 4, uint32_t(ws.limits.chunkSize()));
    ws.limits.write(std::span<uint8_t>(p + at + kChunkHeader, ws.limits.chunkSize()));
    at += kChunkHeader + ws.limits.chunkSize();
  }
  byteio::putU32BE(p + 4, uint32_t(at - 8));
  return at;
}

std::vector<uint8_t> writeInvention(cWorksheetPane& ws) {
  std::vector<uint8_t> out(inventionSize(ws));
  out.resize(writeInvention(ws, out));
  return out;
}

size_t readInvention(cWorksheetPane& ws, std::span<const uint8_t> image, bool quiet, cReadReport* report) {
  return cReader(ws, image, quiet, report).read();
}
