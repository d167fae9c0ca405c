// Shared pieces of the layout-model tests: a test database shown through
// the text device, boxes of fixed sizes, and user tags with scripted
// line-break hints.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "device/text_device.h"
#include "layout/layout_box.h"
#include "layout/layout_test_util.h"
#include "metrics/view_metrics.h"
#include "metrics/word_markup.h"
#include "platform/u16.h"
#include "wordinfo/word_line_factories.h"

namespace vorn::testing {

// A box of a given size standing for a word, with a fixed text.
class FixedBox : public CLayoutBox {
 public:
  FixedBox(CViewMetrics* metrics, int width, WordIndex word, std::u16string text = u"",
           int height = 10)
      : CLayoutBox(metrics), text_(std::move(text)) {
    width_ = width;
    height_ = height;
    word_index_ = word;
  }
  std::u16string GetText() const override { return text_; }
  std::u16string GetRtf(bool) override { return text_; }
  std::u16string GetCellFormat(bool) const override { return cell_format; }
  void Draw(int x, int, bool right_to_left) override {
    drawn_at = x;
    drawn_rtl = right_to_left;
  }

  std::u16string cell_format;
  int drawn_at = -1;
  bool drawn_rtl = false;

 private:
  std::u16string text_;
};

inline std::unique_ptr<CLayoutBox> Fixed(CViewMetrics* m, int width, WordIndex word,
                                         std::u16string text = u"", int height = 10) {
  return std::make_unique<FixedBox>(m, width, word, std::move(text), height);
}

// User-tag hints for chosen words: a new line before a word at a level, or
// the end of the line after a word with the next line's level.
class HintTags : public CWordTags {
 public:
  HintTags(int new_line, int end_line) : new_line_(new_line), end_line_(end_line) {}
  int GetStyle() const override { return 0; }
  std::u16string GetBeginLabels() const override { return {}; }
  std::u16string GetEndLabels() const override { return {}; }
  int GetBeginMarkWidth() override { return 0; }
  int GetEndMarkWidth() override { return 0; }
  void DrawLabels(const Rect&, bool) override {}
  void DrawMarks(const Rect&, bool) override {}
  bool StartsNewLine(int* indent) const override {
    if (new_line_ < 0) return false;
    *indent = new_line_;
    return true;
  }
  bool EndsLine(int* indent_next) const override {
    if (end_line_ < 0) return false;
    *indent_next = end_line_;
    return true;
  }
  std::u16string GetCellFormat(bool) const override { return {}; }
  std::u16string GetDetailsText() const override { return {}; }

 private:
  int new_line_;
  int end_line_;
};

class HintMarkup : public CWordMarkupSource {
 public:
  // A new line before `word` at `level` levels.
  void NewLineBefore(WordIndex word, int level) { Hint(word).first = level; }
  // The line ends after `word`; the next starts at `level` levels.
  void EndLineAfter(WordIndex word, int level) { Hint(word).second = level; }

  bool IsWordTagged(WordIndex w) const override { return hints_.count(w) > 0; }
  void GetWordTags(WordIndex, std::vector<CTagDB*>*) const override {}
  std::unique_ptr<CWordTags> MakeWordTags(WordIndex w, const CViewMetrics&) override {
    auto it = hints_.find(w);
    if (it == hints_.end()) return nullptr;
    return std::make_unique<HintTags>(it->second.first, it->second.second);
  }

 private:
  // -1: no hint of that kind.
  std::pair<int, int>& Hint(WordIndex w) { return hints_.try_emplace(w, -1, -1).first->second; }

  std::map<WordIndex, std::pair<int, int>> hints_{};
};

// One of the test databases with a view onto it through the text device.
class TestView {
 public:
  explicit TestView(const DBSource& source, CWordMarkupSource* markup = nullptr)
      : db_(source), metrics_(db_.db(), markup) {
    InstallWordLineFactories(db_.db());
  }
  CVornDB* db() const { return db_.db(); }
  CViewMetrics* metrics() { return &metrics_; }
  CTextDevice& device() { return device_; }
  void Prepare(int width, int height) {
    metrics_.SetSize(width, height);
    metrics_.Prepare(&device_, 0);
  }
  // Only `line` stays visible (its font then decides the space unit).
  void ShowOnly(int line) {
    for (int i = 0; i < metrics_.GetLineCount(); ++i) metrics_.SetLineVisible(i, i == line);
    metrics_.Prepare(&device_, 0);
  }

 private:
  OpenedTestDB db_;
  CTextDevice device_;
  CViewMetrics metrics_;
};

inline std::vector<WordIndex> Words(WordIndex first, WordIndex end) {
  std::vector<WordIndex> out;
  for (WordIndex w = first; w < end; ++w) out.push_back(w);
  return out;
}

inline std::string Utf8(const std::u16string& s) { return platform::ToUtf8(s); }

// Greek test database: first words of its verses and its word count.
constexpr WordIndex kMat1v1 = 0, kMat1v2 = 5, kMat1v3 = 12, kMat2v1 = 17, kMat2v2a = 19,
                    kMat2v2b = 22, kMrk1v1 = 24, kJhn1v1 = 40, kJhn1v2 = 45, kJhn3v16 = 52,
                    kGreekWords = 56;
// Hebrew: GEN 1:1, 1:2, 1:3, 2:1, EXO 1:1, and the word count.
constexpr WordIndex kGen1v1 = 0, kGen1v2 = 7, kGen1v3 = 10, kGen2v1 = 14, kExo1v1 = 17,
                    kHebrewWords = 30;
// Lines of both databases.
constexpr int kFormLine = 0, kTlitLine = 1, kTagLine = 2, kGlossLine = 3;

}  // namespace vorn::testing
