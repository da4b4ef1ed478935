#include <algorithm>

#include "sound/soundtest.h"

namespace {

class RecordingTest : public cSoundTest {
 public:
  void SetUp() override {
    cSoundTest::SetUp();
    smallRing(2, 2048);
    devices().followClock = false;  // the input records a fixed amount per look at its position
    devices().inputBytesPerQuery = 100;
    devices().inputSignal = [](uint64_t n) { return static_cast<uint8_t>(n % 200); };
  }
};

TEST_F(RecordingTest, SynchronousRecordingAndItsProgressAnswers) {
  struct Case {
    int answerAfter;  // calls answered 2 before the final answer
    int finalAnswer;
    int32_t want;
    std::vector<int> percents;
  } cases[] = {
      {100, 2, 1000, {11, 21, 32, 42, 53, 63, 74, 84, 95}},  // goes on to the end
      {2, 0, 300, {11, 21, 32}},                               // 0: stop, keep what there is
      {2, 1, -1, {11, 21, 32}},                                // anything else: cancelled
  };
  for (const Case& c : cases) {
    SetUp();
    std::vector<uint8_t> buffer(1000, 7);
    std::vector<int> seen;
    const int32_t got = recordInto(buffer.data(), 1000, [&](int percent) {
      seen.push_back(percent);
      return static_cast<int>(seen.size()) > c.answerAfter ? c.finalAnswer : 2;
    });
    EXPECT_EQ(got, c.want);
    EXPECT_EQ(seen, c.percents);
    for (int32_t i = 0; i < std::max(got, 0); ++i) ASSERT_EQ(buffer[static_cast<size_t>(i)], i % 200) << i;
    EXPECT_EQ(devices().inputCloses, devices().inputOpens);
    TearDown();
  }
}

TEST_F(RecordingTest, NothingToRecord) {
  std::vector<uint8_t> buffer(10, 7);
  EXPECT_EQ(recordInto(buffer.data(), 0, nullptr), 0);
  devices().failInputOpen = true;
  EXPECT_EQ(recordInto(buffer.data(), 10, nullptr), 0);
  devices().inputPresent = false;
  EXPECT_EQ(recordInto(buffer.data(), 10, nullptr), 0);
  EXPECT_FALSE(startRecording(buffer.data(), 10));
  EXPECT_EQ(recordingPosition(), -1);
  hp.setWaveDevices(nullptr);
  EXPECT_EQ(recordInto(buffer.data(), 10, nullptr), 0);
}

TEST_F(RecordingTest, OutputIsClosedWhileRecordingAndOpenedAfter) {
  cSoundEngine engine;
  engine.startEngine();
  cSoundOut out(engine);
  bool closedDuring = false;
  std::vector<uint8_t> buffer(500);
  EXPECT_EQ(recordInto(buffer.data(), 500, [&](int) {
              closedDuring = !engine.isOpen() && devices().openOut == nullptr;
              return 2;
            }),
            500);
  EXPECT_TRUE(closedDuring);
  EXPECT_TRUE(engine.isOpen());

  ASSERT_TRUE(startRecording(buffer.data(), 500));
  EXPECT_FALSE(engine.isOpen());
  stopRecording();
  EXPECT_TRUE(engine.isOpen());
  // Output that was closed before stays closed.
  engine.closeOutput();
  EXPECT_EQ(recordInto(buffer.data(), 500, nullptr), 500);
  EXPECT_FALSE(engine.isOpen());
}

TEST_F(RecordingTest, ContinuousRecordingRestartsFromTheStart) {
  std::vector<uint8_t> buffer(1000, 7);
  ASSERT_TRUE(startRecording(buffer.data(), 1000));
  EXPECT_EQ(buffer[999], 128);  // filled with silence at the start
  EXPECT_EQ(recordingPosition(), 100);
  EXPECT_EQ(recordingPosition(), 200);
  ASSERT_TRUE(startRecording(buffer.data(), 1000));
  EXPECT_EQ(devices().inputOpens, 1);  // the same input, started again
  EXPECT_EQ(recordingPosition(), 100);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(buffer[150], 128);
  for (int i = 0; i < 20; ++i) recordingPosition();
  EXPECT_EQ(recordingPosition(), 1000);  // no further than the buffer
  stopRecording();
  EXPECT_FALSE(devices().inputOpen);
  EXPECT_EQ(recordingPosition(), -1);
}

}  // namespace
