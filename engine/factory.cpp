#include "engine/factory.h"

#include <new>

#include "shell/core/resources.h"

bool cGadgetFactory::add(cTypeCode code, const cKindMaker& maker) {
  const cKindInfo* kind = kindByCode(code);
  if (!kind || !maker.makeNew || !maker.fromRecord) return false;
  makers_[kind->number - 1] = maker;
  return true;
}

void cGadgetFactory::clear() {
  for (cKindMaker& m : makers_) m = {};
}

const cKindMaker* cGadgetFactory::maker(cTypeCode code) const {
  const cKindInfo* kind = kindByCode(code);
  if (!kind) return nullptr;
  const cKindMaker& m = makers_[kind->number - 1];
  return m.makeNew ? &m : nullptr;
}

cGadgetFactory& gadgetFactory() {
  static cGadgetFactory factory;
  return factory;
}

std::unique_ptr<cGadget> mNewGadget(cWorksheetPane*, cTypeCode typeCode, cPoint dropPoint,
                                    std::span<const uint8_t> record, bool fromRecord) {
  cGadgetFactory& factory = gadgetFactory();
  if (!fromRecord && factory.recordsOnly()) fatalExit("mNewGadget: failed");
  const cKindMaker* maker = factory.maker(typeCode);
  if (!maker) return nullptr;
  if (fromRecord && record.size() < size_t(maker->recordSize)) return nullptr;
  try {
    return fromRecord ? maker->fromRecord(cGadgetRecord{record}) : maker->makeNew(dropPoint);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
