#include "refs/book_table.h"

namespace vorn {

namespace {

const BookRow kBooks[kBookCount + 1] = {
    {u"Genesis", u"GEN"},
    {u"Exodus", u"EXO"},
    {u"Leviticus", u"LEV"},
    {u"Numbers", u"NUM"},
    {u"Deuteronomy", u"DEU"},
    {u"Joshua", u"JOS"},
    {u"Judges", u"JDG"},
    {u"Ruth", u"RUT"},
    {u"1 Samuel", u"1SA"},
    {u"2 Samuel", u"2SA"},
    {u"1 Kings", u"1KI"},
    {u"2 Kings", u"2KI"},
    {u"1 Chronicles", u"1CH"},
    {u"2 Chronicles", u"2CH"},
    {u"Ezra", u"EZR"},
    {u"Nehemiah", u"NEH"},
    {u"Esther", u"EST"},
    {u"Job", u"JOB"},
    {u"Psalms", u"PSA"},
    {u"Proverbs", u"PRO"},
    {u"Ecclesiastes", u"ECC"},
    {u"Song of Songs", u"SNG"},
    {u"Isaiah", u"ISA"},
    {u"Jeremiah", u"JER"},
    {u"Lamentations", u"LAM"},
    {u"Ezekiel", u"EZK"},
    {u"Daniel", u"DAN"},
    {u"Hosea", u"HOS"},
    {u"Joel", u"JOL"},
    {u"Amos", u"AMO"},
    {u"Obadiah", u"OBA"},
    {u"Jonah", u"JON"},
    {u"Micah", u"MIC"},
    {u"Nahum", u"NAM"},
    {u"Habakkuk", u"HAB"},
    {u"Zephaniah", u"ZEP"},
    {u"Haggai", u"HAG"},
    {u"Zechariah", u"ZEC"},
    {u"Malachi", u"MAL"},
    {u"2 Esdras", u"2ES"},
    {u"Tobit", u"TOB"},
    {u"Judith", u"JDT"},
    {u"Wisdom of Solomon", u"WIS"},
    {u"Sirach", u"SIR"},
    {u"Baruch", u"BAR"},
    {u"Epistle of Jeremiah", u"LJE"},
    {u"Susanna", u"SUS"},
    {u"Bel and the Dragon", u"BEL"},
    {u"1 Maccabees", u"1MA"},
    {u"2 Maccabees", u"2MA"},
    {u"3 Maccabees", u"3MA"},
    {u"4 Maccabees", u"4MA"},
    {u"1 Esdras", u"1ES"},
    {u"Esdras A", u"ESA"},
    {u"Esdras B", u"ESB"},
    {u"Odes", u"ODA"},
    {u"Enoch", u"ENO"},
    {u"Psalms of Solomon", u"PSS"},
    {u"Esther (Greek)", u"ESG"},
    {u"Song of the three Young Men", u"S3Y"},
    {u"Prayer of Manasseh", u"MAN"},
    {u"Joshua (A)", u"JSA"},
    {u"Judges (B)", u"JDB"},
    {u"Tobit (S)", u"TBS"},
    {u"Susanna (T)", u"SST"},
    {u"Daniel (T)", u"DNT"},
    {u"Bel and the Dragon (T)", u"BLT"},
    {u"Matthew", u"MAT"},
    {u"Mark", u"MRK"},
    {u"Luke", u"LUK"},
    {u"John", u"JHN"},
    {u"Acts", u"ACT"},
    {u"Romans", u"ROM"},
    {u"1 Corinthians", u"1CO"},
    {u"2 Corinthians", u"2CO"},
    {u"Galatians", u"GAL"},
    {u"Ephesians", u"EPH"},
    {u"Philippians", u"PHP"},
    {u"Colossians", u"COL"},
    {u"1 Thessalonians", u"1TH"},
    {u"2 Thessalonians", u"2TH"},
    {u"1 Timothy", u"1TI"},
    {u"2 Timothy", u"2TI"},
    {u"Titus", u"TIT"},
    {u"Philemon", u"PHM"},
    {u"Hebrews", u"HEB"},
    {u"James", u"JAS"},
    {u"1 Peter", u"1PE"},
    {u"2 Peter", u"2PE"},
    {u"1 John", u"1JN"},
    {u"2 John", u"2JN"},
    {u"3 John", u"3JN"},
    {u"Jude", u"JUD"},
    {u"Revelation", u"REV"},
    {u"No Book!", u""},
};

// Names and codes are plain ASCII, so ASCII folding is all "ignoring case"
// needs; other characters compare as they are.
char16_t FoldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

}  // namespace

const BookRow& GetBookRow(int index) {
  if (index < 0 || index >= kBookCount) return kBooks[kBookCount];
  return kBooks[index];
}

int BookIndexFromCode(std::u16string_view code) {
  // The empty code of the terminator is not a book.
  if (code.empty()) return -1;
  for (int i = 0; i < kBookCount; ++i) {
    if (EqualsIgnoringCase(code, kBooks[i].code)) return i;
  }
  return -1;
}

int BookIndexFromName(std::u16string_view text) {
  if (text.empty()) return -1;
  for (int i = 0; i < kBookCount; ++i) {
    if (EqualsIgnoringCase(text, kBooks[i].name)) return i;
  }
  return BookIndexFromCode(text);
}

std::u16string BookNameFromCode(std::u16string_view code) {
  return GetBookRow(BookIndexFromCode(code)).name;
}

std::u16string BookCodeFromName(std::u16string_view text) {
  return GetBookRow(BookIndexFromName(text)).code;
}

std::u16string BookCodeFromIndex(int index) { return GetBookRow(index).code; }

std::u16string ShortBookName(std::u16string_view code) {
  std::u16string out(code);
  for (char16_t& c : out) c = FoldAscii(c);
  if (out.empty()) return out;
  size_t cap = (out[0] >= u'0' && out[0] <= u'9') ? 1 : 0;
  if (cap < out.size() && out[cap] >= u'a' && out[cap] <= u'z')
    out[cap] = static_cast<char16_t>(out[cap] - 32);
  return out;
}

}  // namespace vorn
