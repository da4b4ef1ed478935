#include "shell/core/binaryfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>

namespace {

cFileCause causeOf(int error) {
  switch (error) {
    case ENOENT: return cFileCause::fileNotFound;
    case EACCES: case EPERM: case EROFS: case ETXTBSY: return cFileCause::accessDenied;
    case ENOSPC: case EDQUOT: return cFileCause::diskFull;
    case EINVAL: case ESPIPE: case EOVERFLOW: return cFileCause::badSeek;
    default: return cFileCause::hardIO;
  }
}

std::string describe(const std::string& path, int error) {
  if (error == ETXTBSY) return "Programmet " + path + " kører lige nu og kan ikke ændres.";
  switch (causeOf(error)) {
    case cFileCause::fileNotFound: return "Filen " + path + " findes ikke.";
    case cFileCause::accessDenied: return "Du har ikke lov til at bruge filen " + path + " på den måde.";
    case cFileCause::diskFull: return "Der er ikke plads på disken til filen " + path + ".";
    case cFileCause::badSeek: return "Filen " + path + " er kortere end dens indhold siger.";
    default: return "Filen " + path + " kunne ikke læses eller skrives (" + describeSystemError(error) + ").";
  }
}

[[noreturn]] void endOfFile() {
  throw CFileException(cFileCause::endOfFile, -1, "Filen slutter før dens indhold siger.");
}

}  // namespace

std::string describeSystemError(int error) {
  switch (error) {
    case ENOENT: return "filen eller mappen findes ikke";
    case ENOTDIR: return "en del af stien er ikke en mappe";
    case EISDIR: return "det er en mappe, ikke en fil";
    case EEXIST: return "der er allerede en fil med det navn";
    case EACCES: case EPERM: return "du har ikke lov til det";
    case EROFS: return "disken kan kun læses";
    case ETXTBSY: return "programmet kører lige nu";
    case ENOSPC: case EDQUOT: return "der er ikke mere plads på disken";
    case ENAMETOOLONG: return "navnet er for langt";
    case EMFILE: case ENFILE: return "der er for mange åbne filer";
    case ENOMEM: return "der er for lidt hukommelse";
    case EIO: return "disken svarer ikke rigtigt";
    case EXDEV: return "filen kan ikke flyttes til en anden disk";
    default: return std::string("systemfejl ") + std::to_string(error) + ": " + std::strerror(error);
  }
}

void throwFileFormat(std::string message) {
  throw CFileException(cFileCause::none, -1, std::move(message));
}

bool fileExists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

cDiskFile::cDiskFile(const std::string& path, Mode mode) : path_(path) {
  const int flags = mode == readOnly ? O_RDONLY : mode == writeOnly ? O_WRONLY : O_RDWR;
  fd_ = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd_ < 0) openError_ = errno;
}

cDiskFile::~cDiskFile() {
  if (fd_ >= 0) ::close(fd_);
}

void cDiskFile::fail(int error) const { throw CFileException(causeOf(error), error, describe(path_, error)); }

uint64_t cDiskFile::position() {
  if (fd_ < 0) fail(openError_);
  const off_t at = ::lseek(fd_, 0, SEEK_CUR);
  if (at < 0) fail(errno);
  return static_cast<uint64_t>(at);
}

uint64_t cDiskFile::seek(int64_t offset, cSeekFrom from) {
  if (fd_ < 0) fail(openError_);
  const int whence = from == cSeekFrom::start ? SEEK_SET : from == cSeekFrom::current ? SEEK_CUR : SEEK_END;
  const off_t at = ::lseek(fd_, static_cast<off_t>(offset), whence);
  if (at < 0) fail(errno);
  return static_cast<uint64_t>(at);
}

void cDiskFile::read(void* out, size_t count) {
  if (fd_ < 0) fail(openError_);
  auto* p = static_cast<uint8_t*>(out);
  while (count > 0) {
    const ssize_t n = ::read(fd_, p, count);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) fail(errno);
    if (n == 0) endOfFile();
    p += n;
    count -= static_cast<size_t>(n);
  }
}

void cDiskFile::write(const void* data, size_t count) {
  if (fd_ < 0) fail(openError_);
  const auto* p = static_cast<const uint8_t*>(data);
  while (count > 0) {
    const ssize_t n = ::write(fd_, p, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail(n < 0 ? errno : ENOSPC);
    p += n;
    count -= static_cast<size_t>(n);
  }
}

uint64_t cDiskFile::length() {
  if (fd_ < 0) fail(openError_);
  struct stat st;
  if (::fstat(fd_, &st) != 0) fail(errno);
  return static_cast<uint64_t>(st.st_size);
}

void cDiskFile::setLength(uint64_t bytes) {
  if (fd_ < 0) fail(openError_);
  if (::ftruncate(fd_, static_cast<off_t>(bytes)) != 0) fail(errno);
}

void cDiskFile::close() {
  if (fd_ >= 0 && ::close(fd_) != 0) {
    fd_ = -1;
    fail(errno);
  }
  fd_ = -1;
  openError_ = EBADF;
}

uint64_t cMemoryFile::seek(int64_t offset, cSeekFrom from) {
  const int64_t base = from == cSeekFrom::start ? 0 : from == cSeekFrom::current ? int64_t(pos_) : int64_t(bytes_.size());
  // Like a disk file, a position past the end is allowed; one before the start is not.
  if ((offset < 0 && base + offset < 0) || (offset > 0 && base > std::numeric_limits<int64_t>::max() - offset))
    throw CFileException(cFileCause::badSeek, EINVAL, "Der blev søgt uden for filen.");
  pos_ = static_cast<uint64_t>(base + offset);
  return pos_;
}

void cMemoryFile::read(void* out, size_t count) {
  if (pos_ > bytes_.size() || count > bytes_.size() - pos_) endOfFile();
  if (count) std::memcpy(out, bytes_.data() + pos_, count);
  pos_ += count;
}

void cMemoryFile::write(const void* data, size_t count) {
  if (!writable_) throw CFileException(cFileCause::accessDenied, EBADF, "Filen må kun læses.");
  if (count == 0) return;
  if (pos_ + count > bytes_.size()) bytes_.resize(pos_ + count, 0);
  std::memcpy(bytes_.data() + pos_, data, count);
  pos_ += count;
}

void cMemoryFile::setLength(uint64_t bytes) {
  if (!writable_) throw CFileException(cFileCause::accessDenied, EBADF, "Filen må kun læses.");
  bytes_.resize(bytes, 0);
}
