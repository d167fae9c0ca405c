// One interlinear line of a database: the common interface for display,
// search, analysis and word details.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "textdb/font_format.h"
#include "textdb/types.h"
#include "textdb/word_line.h"
#include "textdb/word_list.h"

namespace vorn {

class CVornDB;
class CVornDBStats;
class CVornDBLine;
class CIniFile;

// Makes the word-details object of `word` for `line`; the caller owns it.
using WordLineFactory = std::unique_ptr<CWordLine> (*)(WordIndex word, CVornDBLine* line);

// Form numbers of a line, or link numbers of the links line.
using FormList = std::vector<uint32_t>;

// What a line needs to know about itself: its name and the database it
// belongs to. Borrowed pointers; both outlive the line.
class CVornDBLineParams {
 public:
  CVornDBLineParams(std::string name, const CVornDBStats* stats, CVornDB* db,
                    CIniFile* settings = nullptr)
      : name_(std::move(name)), stats_(stats), db_(db), settings_(settings) {}

  const std::string& GetName() const { return name_; }
  const CVornDBStats* GetStats() const { return stats_; }
  CVornDB* GetDB() const { return db_; }
  CIniFile* GetSettings() const { return settings_; }

  // "/InterlinearLines/" + name + "/" + sub_key.
  std::string GetKey(std::string_view sub_key) const;
  std::u16string GetValue(std::string_view sub_key) const;
  size_t GetList(std::string_view sub_key, std::vector<std::u16string>* out,
                 std::u16string_view separators) const;
  size_t GetChildren(std::string_view sub_key, std::vector<std::string>* out) const;
  std::u16string GetQueryPrompt() const { return GetValue("QueryPrompt"); }
  std::u16string GetLanguage() const { return GetValue("Language"); }
  // Applies the "Font" description to `font`.
  void GetFont(CFontFormat* font) const;
  const std::string& GetFolder() const;

 private:
  std::string name_;
  const CVornDBStats* stats_;
  CVornDB* db_;
  CIniFile* settings_;
};

// Something that shows a list of texts (the query dialogs' form lists).
class CFormListSink {
 public:
  virtual ~CFormListSink() = default;
  virtual void SetRedraw(bool on) = 0;
  virtual void Clear() = 0;
  virtual void AddString(const std::u16string& text) = 0;
};

class CVornDBLine {
 public:
  CVornDBLine(const CVornDBLineParams& params, WordLineFactory factory);
  virtual ~CVornDBLine();
  CVornDBLine(const CVornDBLine&) = delete;
  CVornDBLine& operator=(const CVornDBLine&) = delete;

  virtual std::u16string GetFormText(uint32_t form) const;
  // The form numbers of `words`, in order, duplicates kept.
  virtual void CollectForms(const std::vector<uint32_t>& words, int variant,
                            FormList* out) const = 0;
  virtual void FillFormList(const FormList& forms, CFormListSink* list, size_t first,
                            size_t count) const;
  virtual int FindAltIndex(std::u16string_view name) const;
  virtual void WordsOfForms(const FormList& forms, CDBWordList* out) const;
  virtual bool MatchForms(std::u16string_view pattern, FormList* out) const;
  virtual bool MatchFormsPrefix(std::u16string_view pattern, FormList* out) const;
  // The forms that match `pattern` ignoring accents, points, breathings and
  // case, in form order; false (and `out` empty) when none does. A line
  // that keeps no such distinctions matches as MatchForms does.
  virtual bool MatchFormsLoose(std::u16string_view pattern, FormList* out) const;
  virtual uint32_t GetWordCount() const;
  virtual std::u16string GetAltName(int index) const;
  virtual uint32_t GetFormFrequency(WordIndex word) const;
  // Opens the line's tables. False when any is missing or malformed.
  [[nodiscard]] virtual bool Open() = 0;
  // '*' and '?' wildcard match over UTF-16 code units.
  virtual bool MatchText(std::u16string_view pattern, std::u16string_view text) const;
  virtual std::u16string_view GetWildcards() const { return u"*?"; }

  // Hit analysis counts the values of one part of a line over a hit list.
  // The name of analysable part `part`: 0 is the line itself (its name);
  // 1, 2, ... are sub-parts (a grammar tag's character positions); "" past
  // the last part and for a negative number.
  virtual std::u16string GetPartName(int part) const;
  // Empties `out`, then appends the value identifier of `part` for each of
  // `words`, in their order. Two identifiers of a part are equal exactly
  // when their values are. A word with several values of the part (links)
  // gives one identifier per value, a word without any gives none; an
  // unknown part gives nothing at all.
  virtual void CollectValueIds(const std::vector<uint32_t>& words, int part,
                               std::vector<uint32_t>* out) const;
  // The text of value identifier `id` of `part`, written so that a query on
  // this line for that text finds the words that carry the value; "" for an
  // identifier the part does not hand out.
  virtual std::u16string GetValueText(int part, uint32_t id) const;

  // The word-details object of `word`; null when the line has no factory.
  std::unique_ptr<CWordLine> CreateWordLine(WordIndex word);
  WordLineFactory GetFactory() const { return factory_; }
  void SetFactory(WordLineFactory f) { factory_ = f; }

  CVornDB* GetDB() const { return db_; }
  const std::string& GetName() const { return name_; }
  const CFontFormat& GetFont() const { return font_; }
  const CFontFormat& GetDefaultFont() const { return default_font_; }
  // Sets the current font and records the user's choice in the settings
  // section "Font <db>:<line>", keeping only what differs from the default.
  void SetFont(std::u16string_view face, int size_points, ColourValue colour);
  const std::u16string& GetQueryPrompt() const { return query_prompt_; }
  const std::vector<std::u16string>& GetQueryNames() const { return query_names_; }
  bool HasQueryName(std::u16string_view name) const;
  const std::u16string& GetLanguage() const { return language_; }

 protected:
  std::u16string FontSection() const;

  WordLineFactory factory_;
  CVornDB* db_;
  std::string name_;
  CFontFormat font_;
  CFontFormat default_font_;
  std::u16string query_prompt_;
  std::vector<std::u16string> query_names_;
  std::u16string language_;
  std::u16string db_name_;
  CIniFile* settings_;
};

// The wildcard match shared by every line: '?' one code unit, '*' any run.
bool MatchWildcardText(std::u16string_view pattern, std::u16string_view text);

}  // namespace vorn
