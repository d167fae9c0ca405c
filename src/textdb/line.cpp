#include "textdb/line.h"

#include "platform/u16.h"
#include "textdb/db_stats.h"
#include "textdb/ini_file.h"

namespace vorn {

std::string CVornDBLineParams::GetKey(std::string_view sub_key) const {
  std::string key = "/InterlinearLines/" + name_ + "/";
  key.append(sub_key);
  return key;
}

std::u16string CVornDBLineParams::GetValue(std::string_view sub_key) const {
  return stats_ ? stats_->GetValue(GetKey(sub_key)) : std::u16string();
}

size_t CVornDBLineParams::GetList(std::string_view sub_key, std::vector<std::u16string>* out,
                                  std::u16string_view separators) const {
  if (!stats_) {
    out->clear();
    return 0;
  }
  return stats_->GetList(GetKey(sub_key), out, separators);
}

size_t CVornDBLineParams::GetChildren(std::string_view sub_key,
                                      std::vector<std::string>* out) const {
  if (!stats_) {
    out->clear();
    return 0;
  }
  return stats_->GetChildren(GetKey(sub_key), out);
}

void CVornDBLineParams::GetFont(CFontFormat* font) const {
  AttributeMap attributes;
  if (stats_) stats_->GetAttributes(GetKey("Font"), &attributes);
  font->LoadFromSettings(attributes);
}

const std::string& CVornDBLineParams::GetFolder() const {
  static const std::string kNone;
  return stats_ ? stats_->GetFolder() : kNone;
}

CVornDBLine::CVornDBLine(const CVornDBLineParams& params, WordLineFactory factory)
    : factory_(factory),
      db_(params.GetDB()),
      name_(params.GetName()),
      query_prompt_(params.GetQueryPrompt()),
      language_(params.GetLanguage()),
      settings_(params.GetSettings()) {
  params.GetFont(&default_font_);
  font_ = default_font_;
  params.GetList("QueryNames", &query_names_, u" ");
  query_names_.push_back(query_prompt_);
  if (params.GetStats()) db_name_ = params.GetStats()->GetName();
  if (settings_) {
    const std::u16string section = FontSection();
    std::u16string face;
    if (settings_->GetString(section, u"Face", &face)) font_.SetFace(face);
    int32_t size = 0;
    // The same sizes as a font description accepts; a larger number would
    // overflow the height in tenths of a point.
    if (settings_->GetInt(section, u"Size", &size) && size > 2 && size < 10000)
      font_.set_height(size * 10);
    std::u16string colour;
    if (settings_->GetString(section, u"Colour", &colour)) {
      int index = FindColourName(colour);
      if (index >= 0) font_.set_colour(static_cast<ColourValue>(index));
    }
  }
}

CVornDBLine::~CVornDBLine() = default;

std::u16string CVornDBLine::FontSection() const {
  return u"Font " + db_name_ + u":" + platform::ToU16(name_);
}

std::u16string CVornDBLine::GetFormText(uint32_t) const { return {}; }
void CVornDBLine::FillFormList(const FormList&, CFormListSink*, size_t, size_t) const {}
int CVornDBLine::FindAltIndex(std::u16string_view) const { return 0; }
void CVornDBLine::WordsOfForms(const FormList&, CDBWordList*) const {}
bool CVornDBLine::MatchForms(std::u16string_view, FormList*) const { return false; }

bool CVornDBLine::MatchFormsPrefix(std::u16string_view pattern, FormList* out) const {
  std::u16string p(pattern);
  p.push_back(u'*');
  return MatchForms(p, out);
}

bool CVornDBLine::MatchFormsLoose(std::u16string_view pattern, FormList* out) const {
  return MatchForms(pattern, out);
}

uint32_t CVornDBLine::GetWordCount() const { return 0; }
std::u16string CVornDBLine::GetAltName(int) const { return {}; }
uint32_t CVornDBLine::GetFormFrequency(WordIndex) const { return 0; }

bool CVornDBLine::MatchText(std::u16string_view pattern, std::u16string_view text) const {
  return MatchWildcardText(pattern, text);
}

std::unique_ptr<CWordLine> CVornDBLine::CreateWordLine(WordIndex word) {
  if (!factory_) return nullptr;
  return factory_(word, this);
}

void CVornDBLine::SetFont(std::u16string_view face, int size_points, ColourValue colour) {
  font_.SetFace(face);
  font_.set_height(size_points * 10);
  font_.set_colour(colour);
  if (!settings_) return;
  const std::u16string section = FontSection();
  settings_->RemoveSection(section);
  if (font_.face() != default_font_.face()) settings_->SetString(section, u"Face", font_.face());
  const int default_points = MulDiv(default_font_.height(), default_font_.magnification(), 1000);
  if (size_points != default_points) settings_->SetInt(section, u"Size", size_points);
  if (ColourIndex(colour) != ColourIndex(default_font_.colour()))
    settings_->SetString(section, u"Colour",
                         std::u16string(GetNamedColour(ColourIndex(colour)).name));
}

bool CVornDBLine::HasQueryName(std::u16string_view name) const {
  for (const std::u16string& n : query_names_)
    if (n == name) return true;
  return false;
}

bool MatchWildcardText(std::u16string_view pattern, std::u16string_view text) {
  size_t p = 0, t = 0;
  size_t star = std::u16string_view::npos, mark = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      mark = t;
    } else if (star != std::u16string_view::npos) {
      p = star + 1;
      t = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

std::u16string CVornDBLine::GetPartName(int part) const {
  if (part != 0) return {};
  return platform::ToU16(name_);
}

void CVornDBLine::CollectValueIds(const std::vector<uint32_t>& words, int part,
                                  std::vector<uint32_t>* out) const {
  out->clear();
  // Part 0 of a line is its forms: distinct forms are distinct texts.
  if (part == 0) CollectForms(words, 0, out);
}

std::u16string CVornDBLine::GetValueText(int part, uint32_t id) const {
  return part == 0 ? GetFormText(id) : std::u16string();
}

}  // namespace vorn
