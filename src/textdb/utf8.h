// UTF-8 bytes for the program's UTF-16 text, and their way in and out of
// streams. Every text file the program writes itself goes through this.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// A byte buffer holding either UTF-8 text or the raw bytes last read. The
// buffer always keeps a 0 byte after its text, so c_str() is safe to use.
class Utf8 {
 public:
  Utf8();
  explicit Utf8(std::u16string_view text);
  // Copies 8-bit text as it is (no conversion).
  explicit Utf8(std::string_view bytes);
  virtual ~Utf8();

  // Unpaired surrogates become U+FFFD; encoding never fails.
  void Encode(std::u16string_view text);
  void Assign(std::string_view bytes);
  // The text up to its end (or up to the first 0 byte after ReadBytes);
  // ill-formed UTF-8 becomes U+FFFD.
  std::u16string Decode() const;

  // Reads one line up to a line feed, which is consumed but not stored (a
  // carriage return before it is kept). Lines of any length are read whole,
  // the buffer growing as needed. Returns true when a line was read: the
  // stream is still good, or it ended just after an unterminated last line
  // (so a read loop keeps that line). Returns false at the end of the stream.
  [[nodiscard]] bool ReadLine(std::istream& in);
  // Reads exactly `n` bytes. True only when the stream is still good, n > 0
  // and the last byte read is 0, i.e. the bytes were a string stored with its
  // terminator. A corrupt length never allocates more than the stream holds.
  [[nodiscard]] bool ReadBytes(std::istream& in, size_t n);
  // Writes the text, followed by a 0 byte when `with_terminator`. Returns
  // whether the stream is still good.
  [[nodiscard]] bool Write(std::ostream& out, bool with_terminator) const;

  const char* c_str() const { return buffer_.data(); }
  // Bytes of text, without the terminating 0.
  size_t size() const { return length_; }
  // Bytes the buffer holds, the terminating 0 included.
  size_t capacity() const { return buffer_.size(); }

 private:
  // Makes the buffer at least `bytes` long; never shrinks it.
  void Grow(size_t bytes);
  void SetLength(size_t length);

  std::vector<char> buffer_;  // its size is the capacity
  size_t length_ = 0;
};

}  // namespace vorn
