// Feeds arbitrary bytes to the annotation file reader of the book "MAT"
// (three chapters of five verses of five words, word index = chapter,
// verse and word in order); every note kept must have text without
// trailing white space and name a word of the book, and writing the notes
// and reading them again must keep every word's note.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "markup/annotation_file.h"
#include "platform/u16.h"

using namespace vorn;

namespace {

WordIndex Resolve(int chapter, std::u16string_view verse, int word) {
  if (chapter < 1 || chapter > 3 || verse.size() != 1 || verse[0] < u'1' || verse[0] > u'5' ||
      word > 5) {
    return -1;
  }
  return static_cast<WordIndex>((chapter - 1) * 25 + (verse[0] - u'1') * 5 + word - 1);
}

std::u16string KeyOf(WordIndex w) {
  return u"MAT " + platform::ToU16(std::to_string(w / 25 + 1)) + u":" +
         platform::ToU16(std::to_string(w % 25 / 5 + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::map<WordIndex, Note> notes;
  ParseAnnotationFile(bytes, u"MAT", Resolve, &notes);
  std::string written;
  for (const auto& [word, note] : notes) {
    if (word < 0 || word >= 75 || note.text.empty()) std::abort();
    char16_t last = note.text.back();
    if (last == u' ' || last == u'\t' || last == u'\r' || last == u'\n') std::abort();
    written += FormatNote(KeyOf(word), word % 5 + 1, note);
  }
  std::map<WordIndex, Note> reread;
  ParseAnnotationFile(written, u"mat", Resolve, &reread);
  for (const auto& [word, note] : notes) {
    if (reread.find(word) == reread.end()) std::abort();
  }
  return 0;
}
