#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "textdb/big_str.h"
#include "textdb/utf8.h"

namespace vorn {
namespace {

TEST(Utf8Test, EncodesAndDecodesEveryPlane) {
  const std::u16string text = u"Aλόγος בְּרֵאשִׁית \U0001D11E";
  Utf8 utf8(text);
  const char8_t* expected = u8"Aλόγος בְּרֵאשִׁית \U0001D11E";
  EXPECT_EQ(std::string(utf8.c_str()), std::string(reinterpret_cast<const char*>(expected)));
  EXPECT_EQ(utf8.capacity(), utf8.size() + 1);
  EXPECT_EQ(utf8.Decode(), text);

  // Re-encoding a shorter text into the larger buffer leaves no old tail.
  utf8.Encode(u"ab");
  EXPECT_EQ(utf8.size(), 2u);
  EXPECT_STREQ(utf8.c_str(), "ab");
  utf8.Encode(u"");
  EXPECT_EQ(utf8.Decode(), u"");

  // A lone surrogate cannot be written as UTF-8.
  utf8.Encode(std::u16string(1, char16_t{0xD800}) + u"x");
  EXPECT_EQ(utf8.Decode(), u"\uFFFDx");

  utf8.Assign("\xCE\xB1\xFF");
  EXPECT_EQ(utf8.Decode(), u"α\uFFFD");
  EXPECT_EQ(Utf8(std::string_view("plain")).Decode(), u"plain");
}

TEST(Utf8Test, ReadLineKeepsLongAndUnterminatedLines) {
  const std::string long_line(2000, 'z');
  std::istringstream in("ab\r\n\ncd\n" + long_line + "\nlast");
  Utf8 utf8;
  ASSERT_TRUE(utf8.ReadLine(in));
  EXPECT_GE(utf8.capacity(), 512u);
  EXPECT_EQ(utf8.Decode(), u"ab\r");
  ASSERT_TRUE(utf8.ReadLine(in));
  EXPECT_EQ(utf8.Decode(), u"");
  ASSERT_TRUE(utf8.ReadLine(in));
  EXPECT_EQ(utf8.Decode(), u"cd");
  ASSERT_TRUE(utf8.ReadLine(in));
  EXPECT_EQ(utf8.size(), long_line.size());
  ASSERT_TRUE(utf8.ReadLine(in));
  EXPECT_EQ(utf8.Decode(), u"last");
  EXPECT_FALSE(utf8.ReadLine(in));
  EXPECT_EQ(utf8.Decode(), u"");
}

TEST(Utf8Test, ReadBytesNeedsAStoredTerminator) {
  Utf8 utf8;
  std::istringstream with_zero(std::string("abcd\0rest", 9));
  EXPECT_TRUE(utf8.ReadBytes(with_zero, 5));
  EXPECT_EQ(utf8.Decode(), u"abcd");

  std::istringstream without_zero("abcd");
  EXPECT_FALSE(utf8.ReadBytes(without_zero, 4));
  EXPECT_STREQ(utf8.c_str(), "abcd");

  std::istringstream any("abcd");
  EXPECT_FALSE(utf8.ReadBytes(any, 0));

  // A stream shorter than asked fails even when its last byte is 0.
  std::istringstream short_stream(std::string("ab\0", 3));
  EXPECT_FALSE(utf8.ReadBytes(short_stream, 4));

  // A corrupt length does not make the buffer that large.
  std::istringstream tiny("x");
  EXPECT_FALSE(utf8.ReadBytes(tiny, size_t{1} << 40));
  EXPECT_LT(utf8.capacity(), size_t{1} << 20);
}

TEST(Utf8Test, WriteWithAndWithoutTerminator) {
  Utf8 utf8(u"é");
  std::ostringstream out;
  EXPECT_TRUE(utf8.Write(out, false));
  EXPECT_TRUE(utf8.Write(out, true));
  EXPECT_EQ(out.str(), std::string("\xC3\xA9\xC3\xA9\0", 5));

  // What Write stores with its terminator, ReadBytes takes back.
  std::istringstream in(out.str().substr(2));
  Utf8 back;
  EXPECT_TRUE(back.ReadBytes(in, 3));
  EXPECT_EQ(back.Decode(), u"é");

  std::ostringstream broken;
  broken.setstate(std::ios::badbit);
  EXPECT_FALSE(utf8.Write(broken, false));
}

// Heap memory whose growth can be made to fail.
class FailingStr : public CBigStr {
 public:
  explicit FailingStr(size_t capacity, bool fail_allocate = false)
      : CBigStr(capacity), fail_allocate_(fail_allocate) {
    Start();
  }
  ~FailingStr() override { Release(); }

  bool fail_reallocate = false;
  int frees = 0;

 protected:
  size_t GetCapacity(Handle block) const override { return block ? bytes_ : 0; }
  Handle Allocate(size_t bytes) override {
    if (fail_allocate_) return nullptr;
    bytes_ = bytes;
    return std::calloc(bytes, 1);
  }
  void* Lock(Handle block) override { return block; }
  void Unlock(Handle) override {}
  Handle Reallocate(Handle block, size_t bytes) override {
    if (fail_reallocate) return nullptr;
    void* grown = std::realloc(block, bytes);
    if (grown) bytes_ = bytes;
    return grown;
  }
  void Free(Handle block) override {
    ++frees;
    std::free(block);
  }

 private:
  bool fail_allocate_;
  size_t bytes_ = 0;
};

TEST(BigStrTest, StartsAtLeastAt1024BytesAndDoubles) {
  CGlobalStr str(10);
  EXPECT_EQ(str.GetCapacityBytes(), 1024u);
  ASSERT_NE(str.GetText(), nullptr);
  EXPECT_EQ(str.GetText()[0], 0);

  // 1499 code units and the terminator need 3000 bytes.
  const std::u16string text(1499, u'x');
  EXPECT_EQ(std::u16string(str.Append(text)), text);
  EXPECT_EQ(str.GetCapacityBytes(), 4096u);
  EXPECT_EQ(str.GetLength(), 1499u);

  EXPECT_EQ(CGlobalStr(5000).GetCapacityBytes(), 5000u);
}

TEST(BigStrTest, AppendAndAssignBuildTheText) {
  CGlobalStr str;
  std::u16string expected;
  for (int i = 0; i < 5000; ++i) {
    const std::u16string piece = i % 2 ? u"αβγ" : u"line\r\n";
    str.Append(piece);
    expected += piece;
  }
  ASSERT_EQ(str.GetLength(), expected.size());
  EXPECT_EQ(std::u16string(str.GetText()), expected);
  EXPECT_FALSE(str.IsFailed());

  // The text itself may be appended although growing moves it.
  str.Assign(u"ab");
  for (int i = 0; i < 12; ++i) str.Append(std::u16string_view(str.GetText(), str.GetLength()));
  EXPECT_EQ(str.GetLength(), 2u << 12);
  EXPECT_EQ(std::u16string(str.GetText()), [] {
    std::u16string s;
    for (int i = 0; i < 4096; ++i) s += u"ab";
    return s;
  }());

  str.Assign(u"short");
  EXPECT_EQ(std::u16string(str.GetText()), u"short");
  EXPECT_EQ(str.GetLength(), 5u);
}

TEST(BigStrTest, FailedGrowthKeepsTheTextSoFarAndIgnoresLaterChanges) {
  FailingStr str(10);
  str.Append(u"kept");
  str.fail_reallocate = true;
  str.Append(std::u16string(600, u'x'));
  EXPECT_TRUE(str.IsFailed());
  ASSERT_NE(str.GetText(), nullptr);
  EXPECT_EQ(std::u16string(str.GetText()), u"kept");

  // Even changes that would fit are ignored once failed.
  str.fail_reallocate = false;
  str.Append(u"!");
  str.Assign(u"new");
  EXPECT_EQ(std::u16string(str.GetText()), u"kept");

  str.Release();
  EXPECT_FALSE(str.IsFailed());
  EXPECT_EQ(str.GetText(), nullptr);
  str.Append(u"again");
  EXPECT_EQ(std::u16string(str.GetText()), u"again");
  EXPECT_EQ(str.GetCapacityBytes(), 1024u);
}

TEST(BigStrTest, FailedAllocationLeavesNoText) {
  FailingStr str(0, /*fail_allocate=*/true);
  EXPECT_TRUE(str.IsFailed());
  EXPECT_EQ(str.GetText(), nullptr);
  EXPECT_EQ(str.Append(u"x"), nullptr);
  EXPECT_EQ(str.Assign(u"x"), nullptr);
  EXPECT_EQ(str.Detach(false), nullptr);
}

TEST(BigStrTest, DetachHandsOverTheBlock) {
  CGlobalStr str;
  str.Assign(u"AB");
  CBigStr::Handle narrow = str.Detach(/*to_8bit=*/true);
  ASSERT_NE(narrow, nullptr);
  EXPECT_EQ(std::memcmp(narrow, "AB", 3), 0);
  std::free(narrow);
  EXPECT_EQ(str.GetText(), nullptr);
  EXPECT_EQ(str.GetLength(), 0u);

  // The buffer starts over after handing its block away.
  str.Append(u"Ā\u0142z");
  CBigStr::Handle wide = str.Detach(false);
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(std::u16string(static_cast<const char16_t*>(wide)), u"Ā\u0142z");
  std::free(wide);

  // Narrowing keeps only the low byte of each code unit.
  str.Append(u"Ā\u0142z");
  CBigStr::Handle low = str.Detach(true);
  EXPECT_EQ(std::memcmp(low, "\x00\x42z\0", 4), 0);
  std::free(low);

  FailingStr counted(10);
  std::free(counted.Detach(false));
  counted.Release();
  EXPECT_EQ(counted.frees, 0);
}

}  // namespace
}  // namespace vorn
