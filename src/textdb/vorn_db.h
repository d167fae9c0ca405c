// One open database: the owner of its verse index, lines, headings, formats
// and sentences.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "textdb/font_format.h"
#include "textdb/line.h"
#include "textdb/types.h"

namespace vorn {

class CVornDBStats;
class CVornDBHeadings;
class CVornDBVerses;
class CVornDBFormats;
class CVornDBSent;
class CHeading;
class CIniFile;
namespace platform {
class CMessageSink;
}

// An object that a higher layer attaches to a database and that lives as
// long as the database: its verse map, its user tags, its annotations.
class CVornDBAttachment {
 public:
  virtual ~CVornDBAttachment() = default;
};

enum class DBAttachment { kVerseMap, kUserTags, kAnnotations, kCount };

class CVornDB {
 public:
  // `stats`, `sink` and `settings` are borrowed and must outlive the
  // database; `settings` may be null (no user font choices).
  CVornDB(const CVornDBStats* stats, platform::CMessageSink* sink, CIniFile* settings);
  virtual ~CVornDB();
  CVornDB(const CVornDB&) = delete;
  CVornDB& operator=(const CVornDB&) = delete;

  // Opens headings, verses, formats and every line. False at the first
  // failure; what was made stays in the object until it is destroyed.
  [[nodiscard]] virtual bool Open();
  // Makes the line object for `name`, appends it and returns it (not opened).
  virtual CVornDBLine* CreateLine(const std::string& name);

  const CVornDBStats* GetStats() const { return stats_; }
  platform::CMessageSink* GetSink() const { return sink_; }
  CIniFile* GetSettings() const { return settings_; }
  std::u16string GetName() const;
  std::u16string GetTitle() const;
  std::u16string GetBookCode(int book) const;
  int GetBookNumber(std::u16string_view code) const;

  int GetLineCount() const { return static_cast<int>(lines_.size()); }
  CVornDBLine* GetLine(int index) const { return lines_[index].get(); }
  std::string GetLineName(int index) const;
  CVornDBLine* FindLineByQueryName(std::u16string_view name) const;
  uint32_t GetWordCount() const;
  bool IsRightToLeft() const;
  std::unique_ptr<CWordLine> CreateWordLine(WordIndex word, int line);
  int FindAltIndex(int line, std::u16string_view name) const;

  // Indexes of the special lines; -1 when the database has none.
  int GetFormLineIndex() const { return form_line_; }
  int GetTlitLineIndex() const { return tlit_line_; }
  int GetGlossLineIndex() const { return gloss_line_; }
  int GetLemmaLineIndex() const { return lemma_line_; }
  int GetTagLineIndex() const { return tag_line_; }
  int GetLinksLineIndex() const { return links_line_; }

  void GetLineFonts(std::vector<CFontFormat>* fonts) const;
  void GetHeadingFonts(std::vector<CFontFormat>* fonts) const { *fonts = heading_fonts_; }
  void GetVerseFonts(std::vector<CFontFormat>* fonts) const { *fonts = verse_fonts_; }
  CFontFormat GetTagLabelFont() const;

  // The attachment in `slot`, made by `make` on first use (a lazy cache,
  // hence const). The database owns it.
  template <typename T, typename Make>
  T* GetAttachment(DBAttachment slot, Make make) const {
    auto& a = attachments_[static_cast<size_t>(slot)];
    if (!a) a = make();
    return static_cast<T*>(a.get());
  }
  CVornDBAttachment* FindAttachment(DBAttachment slot) const {
    return attachments_[static_cast<size_t>(slot)].get();
  }
  void SetAttachment(DBAttachment slot, std::unique_ptr<CVornDBAttachment> a) {
    attachments_[static_cast<size_t>(slot)] = std::move(a);
  }

  // Null when the database has no verse index.
  CVornDBVerses* GetVerses() const { return verses_.get(); }
  CVornDBHeadings* GetHeadings() const { return headings_.get(); }
  CVornDBFormats* GetFormats() const { return formats_.get(); }

  // The heading chain that starts at `word`, or null; the caller owns it.
  std::unique_ptr<CHeading> GetHeading(WordIndex word) const;
  std::u16string GetFormatCode(WordIndex word) const;
  // The intersection of the format unit and the heading unit of `word`.
  WordSpan GetUnitBounds(WordIndex word) const;
  // The sentence that holds `word`, skipping the starts listed in `merged`
  // (ascending; may be null). (0, -1) when the sentence data cannot be read,
  // after a warning.
  WordSpan GetSentenceRange(WordIndex word, const std::vector<uint32_t>* merged = nullptr);

 private:
  const CVornDBStats* stats_;
  platform::CMessageSink* sink_;
  CIniFile* settings_;
  int form_line_ = -1, tlit_line_ = -1, gloss_line_ = -1, lemma_line_ = -1, tag_line_ = -1,
      links_line_ = -1;
  std::vector<std::unique_ptr<CVornDBLine>> lines_;
  std::unique_ptr<CVornDBHeadings> headings_;
  std::vector<CFontFormat> heading_fonts_;
  std::unique_ptr<CVornDBVerses> verses_;
  std::vector<CFontFormat> verse_fonts_;
  std::unique_ptr<CVornDBFormats> formats_;
  std::unique_ptr<CVornDBSent> sentences_;
  mutable std::unique_ptr<CVornDBAttachment>
      attachments_[static_cast<size_t>(DBAttachment::kCount)];
};

}  // namespace vorn
