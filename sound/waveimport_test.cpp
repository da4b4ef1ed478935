#include "sound/waveimport.h"

#include <filesystem>
#include <fstream>

#include "sound/soundtest.h"

namespace {

void put16(std::vector<uint8_t>& v, uint16_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void put32(std::vector<uint8_t>& v, uint32_t x) {
  put16(v, static_cast<uint16_t>(x));
  put16(v, static_cast<uint16_t>(x >> 16));
}
void putId(std::vector<uint8_t>& v, const char* id) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(id[i]));
}
void putBytes(std::vector<uint8_t>& v, const std::vector<uint8_t>& bytes) {
  for (uint8_t b : bytes) v.push_back(b);
}

struct cWavFile {
  uint16_t channels = 1;
  uint32_t rate = 11025;
  uint16_t bits = 8;
  std::vector<uint8_t> data;
  std::vector<uint8_t> before;  // a chunk between "fmt " and "data"
  std::vector<uint8_t> after;   // a chunk after "data"
};

std::vector<uint8_t> build(const cWavFile& f) {
  std::vector<uint8_t> v;
  putId(v, "RIFF");
  put32(v, 0);
  putId(v, "WAVE");
  putId(v, "fmt ");
  put32(v, 16);
  put16(v, 1);
  put16(v, f.channels);
  put32(v, f.rate);
  put32(v, f.rate * f.channels * f.bits / 8);
  put16(v, static_cast<uint16_t>(f.channels * f.bits / 8));
  put16(v, f.bits);
  if (!f.before.empty()) {
    putId(v, "LIST");
    put32(v, static_cast<uint32_t>(f.before.size()));
    putBytes(v, f.before);
  }
  putId(v, "data");
  put32(v, static_cast<uint32_t>(f.data.size()));
  putBytes(v, f.data);
  if (!f.after.empty()) {
    putId(v, "LIST");
    put32(v, static_cast<uint32_t>(f.after.size()));
    putBytes(v, f.after);
  }
  const uint32_t riff = static_cast<uint32_t>(v.size() - 8);
  for (int i = 0; i < 4; ++i) v[4 + i] = static_cast<uint8_t>(riff >> (8 * i));
  return v;
}

class WaveImportTest : public cSoundTest {
 public:
  void SetUp() override {
    cSoundTest::SetUp();
    dir_ = std::filesystem::temp_directory_path() / ("zanbel-wav-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    cSoundTest::TearDown();
  }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  std::filesystem::path dir_;
};

std::vector<uint8_t> counting(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i);
  return v;
}

TEST(WaveImportFolder, StartsInTheWorkingFolder) {
  // Nothing in this program changes the working folder, so it is still the one at start.
  EXPECT_EQ(waveImportFolder(), std::filesystem::current_path().string());
}

TEST_F(WaveImportTest, Conversion) {
  struct Case {
    const char* what;
    cWavFile file;
    uint32_t capacity;
    std::vector<uint8_t> want;
  } cases[] = {
      {"mono 11025 as it is", {1, 11025, 8, {10, 20, 30}}, 3, {10, 20, 30}},
      {"stereo keeps the second channel", {2, 11025, 8, {1, 2, 3, 4, 5, 6}}, 3, {2, 4, 6}},
      {"22050: every second", {1, 22050, 8, counting(8)}, 4, {1, 3, 5, 7}},
      {"32000: every third", {1, 32000, 8, counting(9)}, 3, {2, 5, 8}},
      {"44100: every fourth", {1, 44100, 8, counting(12)}, 3, {3, 7, 11}},
      {"44100 stereo", {2, 44100, 8, counting(16)}, 2, {7, 15}},
      {"8000 is taken as 11025", {1, 8000, 8, {9, 8, 7}}, 3, {9, 8, 7}},
      {"a short file is padded with silence", {1, 11025, 8, {1, 2}}, 5, {1, 2, 128, 128, 128}},
      {"a long file fills the buffer", {1, 11025, 8, counting(10)}, 4, {0, 1, 2, 3}},
      {"an unfinished frame is not taken", {2, 11025, 8, {1, 2, 3}}, 3, {2, 128, 128}},
      {"a chunk before the samples is skipped", {1, 11025, 8, {50, 60}, {'I', 'N', 'F', 'O', 1, 2}}, 3, {50, 60, 128}},
      {"a chunk after the samples is no sound", {1, 11025, 8, {50, 60}, {}, {'I', 'N', 'F', 'O'}}, 4, {50, 60, 128, 128}},
  };
  for (const Case& c : cases) {
    const std::string path = write("a.wav", build(c.file));
    std::vector<uint8_t> buffer(c.capacity, 0);
    EXPECT_EQ(convertWaveFile(path, buffer.data(), c.capacity), cWaveImportResult::ok) << c.what;
    EXPECT_EQ(buffer, c.want) << c.what;
  }
}

TEST_F(WaveImportTest, RefusedFilesAndTheirMessages) {
  cWavFile sixteen{1, 11025, 16, {0, 0, 1, 0}};
  std::vector<uint8_t> notRiff = build(cWavFile{1, 11025, 8, {1}});
  notRiff[0] = 'X';
  std::vector<uint8_t> shortFile = build(cWavFile{1, 11025, 8, {}});
  shortFile.resize(43);
  struct Case {
    std::string path;
    cWaveImportResult want;
    std::string message;
  } cases[] = {
      {write("s.wav", build(sixteen)), cWaveImportResult::not8Bit, "\nCan't import non-8 bit sound"},
      {write("r.wav", notRiff), cWaveImportResult::badFormat, "\nBad file format"},
      {write("t.wav", shortFile), cWaveImportResult::badFormat, "\nBad file format"},
      {(dir_ / "missing.wav").string(), cWaveImportResult::cantOpen, "\nCan`t open file"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> buffer(4, 7);
    EXPECT_EQ(convertWaveFile(c.path, buffer.data(), 4), c.want) << c.path;
    EXPECT_EQ(buffer, std::vector<uint8_t>(4, 7)) << "a refused file leaves the buffer alone";
    // importWave shows the file name, then the reason.
    hp.scriptedUi().forget();
    hp.scriptedUi().chooseNext(c.path);
    std::string name;
    EXPECT_FALSE(importWave(buffer.data(), 4, name));
    ASSERT_EQ(hp.scriptedUi().messages().size(), 1u);
    EXPECT_EQ(hp.scriptedUi().messages()[0].request.text, c.path + c.message);
    EXPECT_EQ(hp.scriptedUi().messages()[0].request.caption, "Zanbel");
  }
}

TEST_F(WaveImportTest, TheDialogStartsWhereTheLastFileWas) {
  const std::string startFolder = waveImportFolder();
  std::vector<uint8_t> buffer(3, 0);
  std::string name = "unchanged";
  EXPECT_FALSE(importWave(buffer.data(), 3, name));  // cancelled
  EXPECT_EQ(name, "unchanged");
  std::filesystem::create_directories(dir_ / "sub");
  const std::string path = write("sub/b.wav", build(cWavFile{1, 11025, 8, {5, 6, 7}}));
  hp.scriptedUi().chooseNext(path);
  EXPECT_TRUE(importWave(buffer.data(), 3, name));
  EXPECT_EQ(name, path);
  EXPECT_EQ(buffer, (std::vector<uint8_t>{5, 6, 7}));
  importWave(buffer.data(), 3, name);
  const auto& dialogs = hp.scriptedUi().dialogs();
  ASSERT_EQ(dialogs.size(), 3u);
  EXPECT_EQ(dialogs[0].title, "Import from Wave format file");
  EXPECT_EQ(dialogs[0].initialFolder, startFolder);
  ASSERT_EQ(dialogs[0].filters.size(), 1u);
  EXPECT_EQ(dialogs[0].filters[0].description, "Wave files (*.wav)");
  EXPECT_EQ(dialogs[0].defaultExtension, "WAV");
  EXPECT_EQ(dialogs[1].initialFolder, startFolder);
  EXPECT_EQ(dialogs[2].initialFolder, (dir_ / "sub").string());
}

}  // namespace
