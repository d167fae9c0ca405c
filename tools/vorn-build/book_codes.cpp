#include "book_codes.h"

#include <array>
#include <utility>

namespace vorn::build {
namespace {

struct BookRow {
  std::string_view name;
  std::string_view code;
};

// Canonical order: the Hebrew canon in English order, the deuterocanonical
// and Septuagint books, then the New Testament.
constexpr std::array<BookRow, 94> kBooks = {{
    {"Genesis", "GEN"},
    {"Exodus", "EXO"},
    {"Leviticus", "LEV"},
    {"Numbers", "NUM"},
    {"Deuteronomy", "DEU"},
    {"Joshua", "JOS"},
    {"Judges", "JDG"},
    {"Ruth", "RUT"},
    {"1 Samuel", "1SA"},
    {"2 Samuel", "2SA"},
    {"1 Kings", "1KI"},
    {"2 Kings", "2KI"},
    {"1 Chronicles", "1CH"},
    {"2 Chronicles", "2CH"},
    {"Ezra", "EZR"},
    {"Nehemiah", "NEH"},
    {"Esther", "EST"},
    {"Job", "JOB"},
    {"Psalms", "PSA"},
    {"Proverbs", "PRO"},
    {"Ecclesiastes", "ECC"},
    {"Song of Songs", "SNG"},
    {"Isaiah", "ISA"},
    {"Jeremiah", "JER"},
    {"Lamentations", "LAM"},
    {"Ezekiel", "EZK"},
    {"Daniel", "DAN"},
    {"Hosea", "HOS"},
    {"Joel", "JOL"},
    {"Amos", "AMO"},
    {"Obadiah", "OBA"},
    {"Jonah", "JON"},
    {"Micah", "MIC"},
    {"Nahum", "NAM"},
    {"Habakkuk", "HAB"},
    {"Zephaniah", "ZEP"},
    {"Haggai", "HAG"},
    {"Zechariah", "ZEC"},
    {"Malachi", "MAL"},
    {"2 Esdras", "2ES"},
    {"Tobit", "TOB"},
    {"Judith", "JDT"},
    {"Wisdom of Solomon", "WIS"},
    {"Sirach", "SIR"},
    {"Baruch", "BAR"},
    {"Epistle of Jeremiah", "LJE"},
    {"Susanna", "SUS"},
    {"Bel and the Dragon", "BEL"},
    {"1 Maccabees", "1MA"},
    {"2 Maccabees", "2MA"},
    {"3 Maccabees", "3MA"},
    {"4 Maccabees", "4MA"},
    {"1 Esdras", "1ES"},
    {"Esdras A", "ESA"},
    {"Esdras B", "ESB"},
    {"Odes", "ODA"},
    {"Enoch", "ENO"},
    {"Psalms of Solomon", "PSS"},
    {"Esther (Greek)", "ESG"},
    {"Song of the three Young Men", "S3Y"},
    {"Prayer of Manasseh", "MAN"},
    {"Joshua (A)", "JSA"},
    {"Judges (B)", "JDB"},
    {"Tobit (S)", "TBS"},
    {"Susanna (T)", "SST"},
    {"Daniel (T)", "DNT"},
    {"Bel and the Dragon (T)", "BLT"},
    {"Matthew", "MAT"},
    {"Mark", "MRK"},
    {"Luke", "LUK"},
    {"John", "JHN"},
    {"Acts", "ACT"},
    {"Romans", "ROM"},
    {"1 Corinthians", "1CO"},
    {"2 Corinthians", "2CO"},
    {"Galatians", "GAL"},
    {"Ephesians", "EPH"},
    {"Philippians", "PHP"},
    {"Colossians", "COL"},
    {"1 Thessalonians", "1TH"},
    {"2 Thessalonians", "2TH"},
    {"1 Timothy", "1TI"},
    {"2 Timothy", "2TI"},
    {"Titus", "TIT"},
    {"Philemon", "PHM"},
    {"Hebrews", "HEB"},
    {"James", "JAS"},
    {"1 Peter", "1PE"},
    {"2 Peter", "2PE"},
    {"1 John", "1JN"},
    {"2 John", "2JN"},
    {"3 John", "3JN"},
    {"Jude", "JUD"},
    {"Revelation", "REV"},
}};

constexpr int kFirstNtBook = 67;  // Matthew

using NamePair = std::pair<std::string_view, std::string_view>;

constexpr NamePair kOsisNames[] = {
    {"Gen", "GEN"},  {"Exod", "EXO"},  {"Lev", "LEV"},  {"Num", "NUM"},  {"Deut", "DEU"},
    {"Josh", "JOS"}, {"Judg", "JDG"},  {"Ruth", "RUT"}, {"1Sam", "1SA"}, {"2Sam", "2SA"},
    {"1Kgs", "1KI"}, {"2Kgs", "2KI"},  {"1Chr", "1CH"}, {"2Chr", "2CH"}, {"Ezra", "EZR"},
    {"Neh", "NEH"},  {"Esth", "EST"},  {"Job", "JOB"},  {"Ps", "PSA"},   {"Prov", "PRO"},
    {"Eccl", "ECC"}, {"Song", "SNG"},  {"Isa", "ISA"},  {"Jer", "JER"},  {"Lam", "LAM"},
    {"Ezek", "EZK"}, {"Dan", "DAN"},   {"Hos", "HOS"},  {"Joel", "JOL"}, {"Amos", "AMO"},
    {"Obad", "OBA"}, {"Jonah", "JON"}, {"Mic", "MIC"},  {"Nah", "NAM"},  {"Hab", "HAB"},
    {"Zeph", "ZEP"}, {"Hag", "HAG"},   {"Zech", "ZEC"}, {"Mal", "MAL"},
};

constexpr NamePair kByzantineNames[] = {
    {"MAT", "MAT"}, {"MAR", "MRK"}, {"LUK", "LUK"}, {"JOH", "JHN"}, {"ACT", "ACT"}, {"ROM", "ROM"},
    {"1CO", "1CO"}, {"2CO", "2CO"}, {"GAL", "GAL"}, {"EPH", "EPH"}, {"PHP", "PHP"}, {"COL", "COL"},
    {"1TH", "1TH"}, {"2TH", "2TH"}, {"1TI", "1TI"}, {"2TI", "2TI"}, {"TIT", "TIT"}, {"PHM", "PHM"},
    {"HEB", "HEB"}, {"JAM", "JAS"}, {"1PE", "1PE"}, {"2PE", "2PE"}, {"1JO", "1JN"}, {"2JO", "2JN"},
    {"3JO", "3JN"}, {"JUD", "JUD"}, {"REV", "REV"},
};

constexpr NamePair kSblgntNames[] = {
    {"Matt", "MAT"}, {"Mark", "MRK"}, {"Luke", "LUK"},   {"John", "JHN"},   {"Acts", "ACT"},
    {"Rom", "ROM"},  {"1Cor", "1CO"}, {"2Cor", "2CO"},   {"Gal", "GAL"},    {"Eph", "EPH"},
    {"Phil", "PHP"}, {"Col", "COL"},  {"1Thess", "1TH"}, {"2Thess", "2TH"}, {"1Tim", "1TI"},
    {"2Tim", "2TI"}, {"Tit", "TIT"},  {"Phlm", "PHM"},   {"Heb", "HEB"},    {"Jas", "JAS"},
    {"1Pet", "1PE"}, {"2Pet", "2PE"}, {"1John", "1JN"},  {"2John", "2JN"},  {"3John", "3JN"},
    {"Jude", "JUD"}, {"Rev", "REV"},
};

template <size_t N>
std::string_view Find(const NamePair (&table)[N], std::string_view key) {
  for (const auto& [name, code] : table) {
    if (name == key) return code;
  }
  return {};
}

template <size_t N>
std::string_view FindName(const NamePair (&table)[N], std::string_view code) {
  for (const auto& [name, c] : table) {
    if (c == code) return name;
  }
  return {};
}

}  // namespace

int CanonicalBookIndex(std::string_view code) {
  for (size_t i = 0; i < kBooks.size(); ++i) {
    if (kBooks[i].code == code) return static_cast<int>(i);
  }
  return -1;
}

std::string_view BookCodeAt(int index) {
  if (index < 0 || index >= static_cast<int>(kBooks.size())) return {};
  return kBooks[index].code;
}

std::string_view BookNameOf(std::string_view code) {
  const int i = CanonicalBookIndex(code);
  return i < 0 ? std::string_view() : kBooks[i].name;
}

std::string_view CodeFromOsisName(std::string_view osis) { return Find(kOsisNames, osis); }
std::string_view OsisNameOf(std::string_view code) { return FindName(kOsisNames, code); }

std::string_view CodeFromNtNumber(int number) {
  if (number < 1 || number > 27) return {};
  return kBooks[kFirstNtBook + number - 1].code;
}

std::string_view CodeFromByzantineName(std::string_view name) {
  return Find(kByzantineNames, name);
}
std::string_view ByzantineNameOf(std::string_view code) { return FindName(kByzantineNames, code); }

std::string_view CodeFromSblgntName(std::string_view name) { return Find(kSblgntNames, name); }
std::string_view SblgntNameOf(std::string_view code) { return FindName(kSblgntNames, code); }

}  // namespace vorn::build
