#include "textdb/utf8.h"

#include <unicode/ustring.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace vorn {
namespace {

// Line reads start with room for the longest line the program's own files
// hold (511 bytes and the terminator); longer lines grow the buffer.
constexpr size_t kLineBufferBytes = 512;

// ReadBytes takes a length from the file it reads; growing in steps of this
// size means a corrupt length costs at most one step more than the stream
// really holds.
constexpr size_t kReadChunkBytes = 64 * 1024;

// ICU counts in int32_t.
constexpr size_t kMaxIcuLength = static_cast<size_t>(std::numeric_limits<int32_t>::max());

}  // namespace

Utf8::Utf8() : buffer_(1, '\0') {}

Utf8::Utf8(std::u16string_view text) : buffer_(1, '\0') { Encode(text); }

Utf8::Utf8(std::string_view bytes) : buffer_(1, '\0') { Assign(bytes); }

Utf8::~Utf8() = default;

void Utf8::Grow(size_t bytes) {
  if (buffer_.size() < bytes) buffer_.resize(bytes, '\0');
}

void Utf8::SetLength(size_t length) {
  Grow(length + 1);
  buffer_[length] = '\0';
  length_ = length;
}

void Utf8::Encode(std::u16string_view text) {
  if (text.empty() || text.size() > kMaxIcuLength) {
    SetLength(0);
    return;
  }
  const int32_t units = static_cast<int32_t>(text.size());
  UErrorCode status = U_ZERO_ERROR;
  int32_t bytes = 0;
  u_strToUTF8WithSub(nullptr, 0, &bytes, text.data(), units, 0xFFFD, nullptr, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) {
    SetLength(0);
    return;
  }
  Grow(static_cast<size_t>(bytes) + 1);
  status = U_ZERO_ERROR;
  u_strToUTF8WithSub(buffer_.data(), static_cast<int32_t>(buffer_.size()), &bytes, text.data(),
                     units, 0xFFFD, nullptr, &status);
  SetLength(U_FAILURE(status) ? 0 : static_cast<size_t>(bytes));
}

void Utf8::Assign(std::string_view bytes) {
  Grow(bytes.size() + 1);
  if (!bytes.empty()) std::memmove(buffer_.data(), bytes.data(), bytes.size());
  SetLength(bytes.size());
}

std::u16string Utf8::Decode() const {
  std::u16string out;
  if (length_ == 0 || length_ > kMaxIcuLength) return out;
  const int32_t bytes = static_cast<int32_t>(length_);
  UErrorCode status = U_ZERO_ERROR;
  int32_t units = 0;
  u_strFromUTF8WithSub(nullptr, 0, &units, buffer_.data(), bytes, 0xFFFD, nullptr, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return out;
  out.resize(static_cast<size_t>(units));
  status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(out.data(), units, &units, buffer_.data(), bytes, 0xFFFD, nullptr, &status);
  if (U_FAILURE(status)) out.clear();
  return out;
}

bool Utf8::ReadLine(std::istream& in) {
  Grow(kLineBufferBytes);
  std::string line;
  std::getline(in, line);
  Assign(line);
  // getline fails only when it extracted nothing at all; an unterminated
  // last line leaves the stream at its end but not failed.
  return !in.fail();
}

bool Utf8::ReadBytes(std::istream& in, size_t n) {
  SetLength(0);
  if (n == 0) return false;
  size_t read = 0;
  while (read < n) {
    const size_t step = std::min(n - read, kReadChunkBytes);
    Grow(read + step + 1);
    in.read(buffer_.data() + read, static_cast<std::streamsize>(step));
    read += static_cast<size_t>(in.gcount());
    if (!in.good()) break;
  }
  buffer_[read] = '\0';
  length_ = ::strnlen(buffer_.data(), read);
  return read == n && in.good() && buffer_[n - 1] == '\0';
}

bool Utf8::Write(std::ostream& out, bool with_terminator) const {
  out.write(buffer_.data(), static_cast<std::streamsize>(length_ + (with_terminator ? 1 : 0)));
  return out.good();
}

}  // namespace vorn
