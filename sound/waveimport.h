// Turning a WAV file into the program's sample format (8-bit unsigned mono
// at 11025 Hz). Only 8-bit files are taken; stereo keeps its second
// channel; 22050, 32000 and 44100 Hz files keep every 2nd, 3rd and 4th frame
// (rates from 22000, 30000 and 44000 up); any other rate is taken as 11025.
//
// The header the file must start with (little-endian):
//
//   offset  size  field
//   0       4     "RIFF"
//   4       4     size of the rest
//   8       4     "WAVE"
//   12      4     "fmt "
//   16      4     format chunk size
//   20      2     format (not checked)
//   22      2     channels
//   24      4     samples per second
//   28      4     bytes per second (not read)
//   32      2     block alignment (not read)
//   34      2     bits per sample: must be 8
//   36 ...        further chunks; the samples are in the "data" chunk, which
//                 in the usual file starts at 36 so that its samples start at 44
#pragma once

#include <cstdint>
#include <string>

enum class cWaveImportResult { ok, cantOpen, badFormat, not8Bit };

// Converts the file into the buffer and fills the rest of it with 128.
cWaveImportResult convertWaveFile(const std::string& path, uint8_t* buffer, uint32_t capacity);

// The message importWave shows for a failed conversion of this file.
std::string waveImportMessage(cWaveImportResult result, const std::string& path);

// The folder the import dialog starts in: the working folder at program
// start, then the folder of the last file chosen.
const std::string& waveImportFolder();
