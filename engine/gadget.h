// cGadget: the base of every part that stands on the worksheet.
//
// It holds what every kind shares: identity, position and bounds, the pin
// table through which wires attach, the settings block that the property
// dialog edits and the file stores, the three typed outputs that wires read,
// the input cache by which a kind notices a change, and the common file body.
//
// Common body of a gadget record in the invention file (big-endian):
//
//   offset  size  content
//   0       4     key: top byte 0xFF, low 24 bits unique in the file
//   4       2     position v (signed)
//   6       2     position h (signed)
//   8       4     flags32
//   12      4     bools[0..3], one byte each
//   16      16    values[0..3], signed 32-bit each
//   32      240   texts, bytes as they lie (Windows-1252)
//   272     1     locked
//   273     63    reserved: written as zero, ignored when read
//   336           end
//
// Pin table, resource type 1014 (little-endian):
//
//   offset  size  content
//   0       2     count n (unsigned)
//   2 + 6i  2     pin i: v (signed), relative to the gadget's position
//   4 + 6i  2     pin i: h (signed)
//   6 + 6i  2     pin i: direction, 0 = input, 1 = output
//
// Kinds override the 21 virtual operations below (in this slot order) and
// add none of their own.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "shell/core/liveobjects.h"
#include "shell/core/types.h"

class cConnection;
class cFrameSet;
class CWinGDib;
class cGadgetDialog;
struct cSoundRecord;

inline constexpr int kGadgetRecordSize = 336;
inline constexpr uint16_t kPinTableResourceType = 1014;
inline constexpr uint16_t kLockMarkerArtwork = 800;
inline constexpr uint16_t kErrorMarkerArtwork = 101;
inline constexpr int kTextCount = 4;
inline constexpr int kTextLength = 60;
inline constexpr int kSingleTextLength = 240;

// The input cache starts with this value after Run when a kind asks for a
// fresh start; no input ever equals it.
inline constexpr uint64_t kInputSentinelBits = 0xADDC4A11FF61B241ull;
double inputSentinel();

enum : int16_t { kPinInput = 0, kPinOutput = 1 };

struct cPin {
  cConnection* wire = nullptr;
  cPoint offset;
  int16_t direction = kPinInput;
};

// Everything the kind's property dialog edits; the same order in the file.
struct cSettingsBlock {
  uint32_t flags32 = 0;
  uint8_t bools[4] = {};
  int32_t values[4] = {};
  char texts[kSingleTextLength] = {};

  // Text i of four (60 bytes each), or the single 240-byte text for i = 0.
  char* text(int i) { return texts + i * kTextLength; }
  const char* text(int i) const { return texts + i * kTextLength; }
  bool flag(int bit) const { return (flags32 >> bit) & 1u; }
  void setFlag(int bit, bool on) {
    if (on) flags32 |= 1u << bit; else flags32 &= ~(1u << bit);
  }
};
static_assert(sizeof(cSettingsBlock) == 264);

// The answer of the nearest-pin family: a pin number (-1 = none) and its direction.
struct cPinChoice {
  int pin = -1;
  int16_t direction = kPinInput;
  bool found() const { return pin >= 0; }
};

class cGadget;
// Dialog hook: a routine that loadDialog attaches to one control.
using cDialogHook = void (*)(cGadgetDialog& dialog, cGadget& gadget);
// Live preview in the property dialog.
using cPreviewCallback = void (*)(cGadgetDialog& dialog, cGadget& gadget);

// The base preview of the property dialog: applies the controls to the
// settings for a moment, lets the kind react, redraws the dialog's picture,
// then puts the settings back.
void basePreview(cGadgetDialog& dialog, cGadget& gadget);

// A gadget record read from a file: the chunk body, at least the common body long.
struct cGadgetRecord {
  std::span<const uint8_t> body;
};

class cGadget : public cLiveObject {
 public:
  // ---- the 21 virtual operations, in slot order ----
  virtual ~cGadget();                                                      // 1
  virtual void draw(CWinGDib& surface, const cRect& clip) = 0;             // 2
  virtual void drawSelection(const cRect& clip, CWinGDib& surface);        // 3
  virtual void invalidate();                                               // 4
  virtual void drawErrorMarker(CWinGDib& surface, const cRect& clip);      // 5
  virtual void mouseDown(cPoint point, uint16_t keys, bool flag);          // 6
  virtual bool hitTest(cPoint point);                                      // 7
  virtual void reset();                                                    // 8
  virtual void readInputs();                                               // 9
  virtual bool hasBoolOutput(int pin);                                     // 10
  virtual bool boolOutput(int pin);                                        // 11
  virtual bool hasNumberOutput(int pin);                                   // 12
  virtual double numberOutput(int pin);                                    // 13
  virtual bool hasSoundOutput(int pin);                                    // 14
  virtual const cSoundRecord* soundOutput(int pin);                        // 15
  virtual int recordSize();                                                // 16
  virtual int writeRecord(std::span<uint8_t> buffer);                      // 17
  virtual void step();                                                     // 18
  virtual void loadDialog(cGadgetDialog& dialog);                          // 19
  virtual void saveDialog(cGadgetDialog& dialog);                          // 20
  virtual void settingsChanged(cGadgetDialog& dialog);                     // 21

  cGadget(const cGadget&) = delete;
  cGadget& operator=(const cGadget&) = delete;

  // ---- pins ----
  // Reads pin table `tableId` (type 1014); replaces the pins.
  void loadPins(uint16_t tableId);
  // The same from the bytes of a table (tests, tools).
  void setPinsFromTable(std::span<const uint8_t> table);
  cPoint pinPosition(int pin) const;
  void attachWire(cConnection* wire, int pin);
  void detachWire(int pin);
  cConnection* wireAt(int pin) const { return validPin(pin) ? pins[size_t(pin)].wire : nullptr; }
  bool validPin(int pin) const { return pin >= 0 && pin < pinCount; }

  // ---- values arriving on input pins ----
  double inputValue(int pin);
  bool inputChanged(int pin);
  bool signalPin(int pin);
  bool takeSignal(int pin);
  void clearSignal(int pin);
  bool intervalElapsed(uint32_t ticks);
  bool copyInputToOutputs(int pin);

  bool isLocked() const { return locked; }
  void setLocked(bool on);

  cPinChoice nearestPin(cPoint point) const;
  cPinChoice nearestFreePin(cPoint point) const;
  int nearestFreeInput(cPoint point) const;
  int nearestFreeOutput(cPoint point) const;

  // Moves the gadget and its wires, repainting both places.
  void moveBy(cPoint delta);
  // Draws the gadget as if it stood at `point` (previews, drag pictures).
  void drawAt(CWinGDib& surface, cPoint point, bool withSelection);

  // bounds offset by position: where the gadget is on the worksheet.
  cRect worksheetRect() const { return bounds.offsetBy(position); }
  // Places a new gadget so that the centre of its bounds lies on the point.
  void centreOn(cPoint point);

  // The run clock of the worksheet (0 without one).
  static uint32_t runClock();
  // Gadgets alive now, of every kind.
  static int liveGadgets() { return liveCount_; }
  // A key no gadget made in this process has had.
  static uint32_t freshKey();
  // Frees the error marker (program exit); it is made again when next needed.
  static void releaseSharedPictures();

  // ---- fields ----
  cTypeCode typeCode = 0;
  uint32_t id = 0;
  bool locked = false;
  bool visible = true;
  std::vector<cPin> pins;
  uint16_t pinCount = 0;
  cPoint position;
  cRect bounds;
  cRect secondRect{0, 0, 35, 70};
  int16_t textNumber = 0;
  bool hasDialog = true;
  cPreviewCallback previewCallback = basePreview;
  cDialogHook dialogHook = nullptr;
  uint8_t dialogHookControl = 0;
  bool singleText = false;
  cSettingsBlock settings;
  bool startFresh = false;
  bool boolOut = false;        // what the base boolOutput returns
  bool firstStep = false;
  bool inputError = false;
  uint8_t animationStep = 0;
  int32_t integerValue = 0;
  double numberOut = 0.0;      // what the base numberOutput returns
  const cSoundRecord* soundOut = nullptr;  // what the base soundOutput returns; not owned
  uint32_t lastChange = 0;
  // One entry per pin, and never fewer than eight.
  std::vector<double> inputCache;
  uint8_t kindByte = 0;

 protected:
  // A new gadget: settings cleared, a fresh key, then reset.
  cGadget();
  // A gadget from its file record (the common body; the caller has checked
  // that it is at least kGadgetRecordSize long).
  explicit cGadget(const cGadgetRecord& record);

  // Writes the common body into the first kGadgetRecordSize bytes.
  void writeCommonBody(std::span<uint8_t> buffer) const;

 private:
  void constructed();
  cPinChoice nearest(cPoint point, bool freeOnly, int direction) const;
  void invalidateWires();
  static cFrameSet& lockMarker();
  static cFrameSet& errorMarker();

  static inline int liveCount_ = 0;
};
