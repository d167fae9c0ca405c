// Helpers for the tests of the auxiliary, tags and links lines: a scratch
// database folder, UTF-16 string tables and the tables of an ordinary line.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "temp_folder.h"
#include "textdb/collation.h"
#include "textdb/db_stats.h"
#include "textdb/records.h"
#include "textdb_test_util.h"

namespace vorn::aux_testing {

using testing::WriteRecords;

// A database folder that is removed with the object.
using ScratchFolder = testing::TempFolder;

// A description read from `body` (Stats.txt lines) for `folder`.
inline std::unique_ptr<CVornDBStats> MakeStats(const std::string& folder, std::string_view body) {
  auto stats = std::make_unique<CVornDBStats>(folder);
  EXPECT_TRUE(stats->LoadFromText("Version: 4.01\nName: T\n" + std::string(body)));
  return stats;
}

// Appends `text` and a 0 to `units`; returns where the text starts.
inline uint32_t AddString(std::vector<char16_t>* units, std::u16string_view text) {
  const uint32_t pos = static_cast<uint32_t>(units->size());
  units->insert(units->end(), text.begin(), text.end());
  units->push_back(0);
  return pos;
}

// Writes the four tables of an ordinary line `name` in `folder` for words
// carrying `word_texts`, with the distinct forms in the order of the form
// collator, as a database compiler would.
inline void WriteOrdinaryLine(const std::string& folder, const std::string& name,
                              const std::vector<std::u16string>& word_texts) {
  std::vector<std::u16string> forms = word_texts;
  auto collator = MakeFormCollator();
  ASSERT_NE(collator, nullptr);
  std::sort(forms.begin(), forms.end(), [&](const std::u16string& a, const std::u16string& b) {
    UErrorCode status = U_ZERO_ERROR;
    return collator->compare(reinterpret_cast<const UChar*>(a.data()), a.size(),
                             reinterpret_cast<const UChar*>(b.data()), b.size(),
                             status) == UCOL_LESS;
  });
  forms.erase(std::unique(forms.begin(), forms.end()), forms.end());
  std::map<std::u16string, uint32_t> number;
  for (uint32_t f = 0; f < forms.size(); ++f) number[forms[f]] = f;

  std::vector<char16_t> strings;
  std::vector<uint32_t> word_forms, lists;
  std::vector<XndxxT> records;
  for (const std::u16string& w : word_texts) word_forms.push_back(number[w]);
  for (uint32_t f = 0; f < forms.size(); ++f) {
    XndxxT r;
    r.string_pos = AddString(&strings, forms[f]);
    r.list_pos = static_cast<uint32_t>(lists.size());
    records.push_back(r);
    lists.push_back(0);
    for (uint32_t w = 0; w < word_forms.size(); ++w) {
      if (word_forms[w] == f) {
        lists.push_back(w);
        ++lists[r.list_pos];
      }
    }
  }
  WriteRecords(folder + "/" + name + "s.db", strings);
  WriteRecords(folder + "/" + name + "db.ndx", word_forms);
  WriteRecords(folder + "/" + name + "ndx.ndx", lists);
  WriteRecords(folder + "/" + name + "ndxx.ndx", records);
}

}  // namespace vorn::aux_testing
