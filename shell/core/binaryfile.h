// The program's binary file: open without raising, then seek, read and write,
// each of which raises CFileException when it fails. The resource writer works
// on it; the file commands catch the exception and turn it into an alert.
//
// A cDiskFile is a file on disk; a cMemoryFile holds its bytes in memory (the
// build tool makes a resource section in one, tests and the fuzzer read one).
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

// Why a file operation failed; none means the content was not what we expected.
enum class cFileCause { none, fileNotFound, accessDenied, badSeek, hardIO, diskFull, endOfFile };

class CFileException : public std::exception {
 public:
  // message is a plain Danish sentence that says what is wrong with the file.
  CFileException(cFileCause cause, int osError, std::string message)
      : cause_(cause), osError_(osError), message_(std::move(message)) {}
  cFileCause cause() const { return cause_; }
  int osError() const { return osError_; }  // -1 when the system reported nothing
  const std::string& message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  cFileCause cause_;
  int osError_;
  std::string message_;
};

// What a system error number means, in a few Danish words for the user
// ("mappen findes ikke"); errors we do not expect keep the system's own text.
std::string describeSystemError(int error);

// Raises the file exception that says the file's content is not what we read:
// cause none, no system error, and the reason in words.
[[noreturn]] void throwFileFormat(std::string message);

enum class cSeekFrom { start, current, end };

class cBinaryFile {
 public:
  virtual ~cBinaryFile() = default;
  virtual uint64_t position() = 0;
  // Returns the new position.
  virtual uint64_t seek(int64_t offset, cSeekFrom from) = 0;
  // Reads exactly count bytes; a short read raises (end of file).
  virtual void read(void* out, size_t count) = 0;
  virtual void write(const void* data, size_t count) = 0;
  virtual uint64_t length() = 0;
  // Cuts the file (or lengthens it with zeros) to exactly bytes.
  virtual void setLength(uint64_t bytes) = 0;
  virtual void close() = 0;
};

class cDiskFile : public cBinaryFile {
 public:
  enum Mode { readOnly = 0, writeOnly = 1, readWrite = 2 };
  // Opening never raises: a file that did not open raises at its first use.
  cDiskFile(const std::string& path, Mode mode);
  ~cDiskFile() override;
  cDiskFile(const cDiskFile&) = delete;
  cDiskFile& operator=(const cDiskFile&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  uint64_t position() override;
  uint64_t seek(int64_t offset, cSeekFrom from) override;
  void read(void* out, size_t count) override;
  void write(const void* data, size_t count) override;
  uint64_t length() override;
  void setLength(uint64_t bytes) override;
  void close() override;

 private:
  [[noreturn]] void fail(int error) const;
  std::string path_;
  int fd_ = -1;
  int openError_ = 0;
};

class cMemoryFile : public cBinaryFile {
 public:
  cMemoryFile() = default;
  explicit cMemoryFile(std::vector<uint8_t> bytes, bool writable = true)
      : bytes_(std::move(bytes)), writable_(writable) {}

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  std::vector<uint8_t> release() { return std::move(bytes_); }

  uint64_t position() override { return pos_; }
  uint64_t seek(int64_t offset, cSeekFrom from) override;
  void read(void* out, size_t count) override;
  void write(const void* data, size_t count) override;
  uint64_t length() override { return bytes_.size(); }
  void setLength(uint64_t bytes) override;
  void close() override {}

 private:
  std::vector<uint8_t> bytes_;
  uint64_t pos_ = 0;
  bool writable_ = true;
};

// True when the path names something that exists (the design's access(path, 0)).
bool fileExists(const std::string& path);
