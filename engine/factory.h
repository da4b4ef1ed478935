// The gadget factory: a type code in, a live gadget of that kind out.
//
// It is the one place that knows how to make every kind. The kinds are
// entered into it by one explicit list (registerGadgetKinds, in gadgets/);
// a kind of the table that is not entered yet yields null, as an unknown
// code does, so a file that holds it loads without it.
#pragma once

#include <memory>
#include <span>

#include "engine/gadget.h"
#include "engine/kinds.h"

class cWorksheetPane;

using cMakeNewGadget = std::unique_ptr<cGadget> (*)(cPoint dropPoint);
using cMakeRecordGadget = std::unique_ptr<cGadget> (*)(const cGadgetRecord& record);

struct cKindMaker {
  cMakeNewGadget makeNew = nullptr;
  cMakeRecordGadget fromRecord = nullptr;
  // The shortest chunk body the kind reads (the common body, unless the kind
  // stores more).
  int recordSize = kGadgetRecordSize;
};

class cGadgetFactory {
 public:
  // Enters a kind of the table; false for a code the table does not have.
  bool add(cTypeCode code, const cKindMaker& maker);
  // A kind class with the two constructors Kind(cPoint) and Kind(const cGadgetRecord&).
  template <class Kind>
  bool add(cTypeCode code, int recordSize = kGadgetRecordSize) {
    return add(code, {[](cPoint p) -> std::unique_ptr<cGadget> { return std::make_unique<Kind>(p); },
                      [](const cGadgetRecord& r) -> std::unique_ptr<cGadget> {
                        return std::make_unique<Kind>(r);
                      },
                      recordSize});
  }
  void clear();

  // The kind can be made.
  bool knows(cTypeCode code) const { return maker(code) != nullptr; }
  const cKindMaker* maker(cTypeCode code) const;

  // The player makes gadgets only from records: any other request ends the
  // program with "mNewGadget: failed".
  void setRecordsOnly(bool on) { recordsOnly_ = on; }
  bool recordsOnly() const { return recordsOnly_; }

 private:
  cKindMaker makers_[kKindCount];
  bool recordsOnly_ = false;
};

// The program's factory.
cGadgetFactory& gadgetFactory();

// A new gadget of the kind: centred on dropPoint, or (fromRecord) read from
// the chunk body. Null for a code that names no kind the factory can make,
// for a record shorter than the kind reads, and when memory runs out. The
// caller owns the result.
std::unique_ptr<cGadget> mNewGadget(cWorksheetPane* worksheet, cTypeCode typeCode, cPoint dropPoint,
                                    std::span<const uint8_t> record, bool fromRecord);
