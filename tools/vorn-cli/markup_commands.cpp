// The user's markup from a terminal: usertag and props, working on the same
// files as the desktop program (the databases' user folders in the user's
// data folder, or beside a Vorn.ini of the portable layout), and
// the markup session that lets queries see user tags and propositions.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "cli.h"
#include "markup/annotation.h"
#include "markup/markup_context.h"
#include "markup/user_folder.h"
#include "platform/file_system.h"
#include "platform/string_table.h"
#include "platform/u16.h"
#include "platform/user_places.h"
#include "refs/bible_ref.h"
#include "textdb/ordinary_line.h"
#include "textdb/verses.h"

namespace vorn::cli {

namespace {

using platform::ToU16;
using platform::ToUtf8;

// The folder that holds the databases' user folders: --work when given,
// else where the desktop program keeps them.
std::string WorkingFolder(const Args& args) {
  if (args.Has("--work")) return args.Get("--work", ".");
  return platform::FindUserPlaces(".", platform::ProgramFolder()).data_folder;
}

std::string RefOf(CVornDB* db, WordIndex w) {
  if (!db->GetVerses() || !db->GetVerses()->VerseOfWord(w)) return "";
  return ToUtf8(CBibleRef(db, w).GetKeyString());
}

std::string WordText(CVornDB* db, WordIndex w) {
  auto* line =
      db->GetLineCount() > 0 ? dynamic_cast<CVornDBOrdinaryLine*>(db->GetLine(0)) : nullptr;
  return line ? ToUtf8(line->GetWordString(w)) : std::to_string(w);
}

bool ParseIndex(const std::string& s, WordIndex* out) {
  if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos)
    return false;
  *out = static_cast<WordIndex>(std::atol(s.c_str()));
  return true;
}

// Appends the words of one piece of a selection: "N", "N-M" (inclusive) or
// a verse reference ("JHN 1:1", any printed form).
bool AddWords(CVornDB* db, const std::string& piece, std::vector<WordIndex>* words) {
  const WordIndex n = static_cast<WordIndex>(db->GetWordCount());
  WordIndex a = 0, b = 0;
  size_t dash = piece.find('-');
  if (ParseIndex(piece, &a)) {
    b = a;
  } else if (dash != std::string::npos && ParseIndex(piece.substr(0, dash), &a) &&
             ParseIndex(piece.substr(dash + 1), &b)) {
  } else {
    CBibleRef parsed;
    if (!CBibleRef::Parse(ToU16(piece), &parsed)) return false;
    int book = db->GetBookNumber(parsed.GetBookCode());
    if (book == 0) return false;
    CBibleRef bound(db, book, parsed.GetChapter(), parsed.GetVerseLabel());
    if (!bound.HasEntry() || bound.GetChapter() != parsed.GetChapter() ||
        bound.GetVerseLabel() != parsed.GetVerseLabel()) {
      return false;
    }
    WordSpan span = bound.GetWordSpan();
    a = span.first;
    b = span.end - 1;
  }
  if (b < a || b >= n) return false;
  for (WordIndex w = a; w <= b; ++w) words->push_back(w);
  return true;
}

// The selection given by the positional arguments from `first` on: word
// indexes, ranges and references, some of which may be written as several
// arguments ("JHN 1:1"). Sorted, without duplicates.
bool ParseSelection(CVornDB* db, const std::vector<std::string>& p, size_t first,
                    std::vector<WordIndex>* words) {
  std::string pending;
  for (size_t i = first; i < p.size(); ++i) {
    pending = pending.empty() ? p[i] : pending + " " + p[i];
    if (AddWords(db, pending, words)) pending.clear();
  }
  if (!pending.empty() || words->empty()) {
    std::fprintf(stderr, "Not a word, word range or verse of the database: %s\n",
                 pending.empty() ? "(nothing)" : pending.c_str());
    return false;
  }
  std::sort(words->begin(), words->end());
  words->erase(std::unique(words->begin(), words->end()), words->end());
  return true;
}

// "SET/NAME" or "NAME".
void SplitTagName(const std::string& text, std::u16string* set, std::u16string* name) {
  size_t slash = text.find('/');
  if (slash == std::string::npos) {
    set->clear();
    *name = ToU16(text);
  } else {
    *set = ToU16(text.substr(0, slash));
    *name = ToU16(text.substr(slash + 1));
  }
}

CTagDB* FindTag(CTagsDB* tags, const std::string& text) {
  std::u16string set, name;
  SplitTagName(text, &set, &name);
  CTagDB* tag =
      text.find('/') == std::string::npos ? tags->FindTag(name) : tags->FindTag(set, name);
  if (!tag) std::fprintf(stderr, "No user tag \"%s\"\n", text.c_str());
  return tag;
}

void PrintRanges(CVornDB* db, CTagDB* tag) {
  for (const WordSpan& s : tag->GetSpans()) {
    std::printf("%d\t%d\t%s\n", s.first, s.end - 1, RefOf(db, s.first).c_str());
  }
}

// The database's own tag list, so that every user of the database in this
// process sees the same tags.
CTagsDB* OpenTags(const Args& args, CVornDB* db) { return GetTagsDB(db, WorkingFolder(args)); }

}  // namespace

MarkupSession::MarkupSession(const Args& args, CVornDB* db, platform::CMessageSink* sink)
    : ok_(true) {
  CTagsDB* tags = OpenTags(args, db);
  props_ = std::make_unique<CPropositionsList>(WorkingFolder(args), sink);
  context_ = std::make_unique<CMarkupContext>(db, tags, props_.get());
  for (CTagDB* t : tags->GetTags()) context_->GetViewTags().ToggleTag(t);
  std::string name = args.Get("--props");
  if (!name.empty()) ok_ = context_->LoadPropositions(ToU16(name));
}

MarkupSession::~MarkupSession() = default;

CQueryContext* MarkupSession::context() { return context_.get(); }

int RunUserTag(const Args& args) {
  Context ctx(args);
  CVornDB* db = ctx.OpenDb(args);
  if (!db) return kBadInput;
  const auto& p = args.positional();
  const std::string verb = p.empty() ? "" : p[0];
  CTagsDB* tags = OpenTags(args, db);

  if (verb == "list" && p.size() == 1) {
    for (CTagDB* t : tags->GetTags()) {
      std::string row;
      for (const std::u16string& cell : t->GetListRow(false))
        row += (row.empty() ? "" : "\t") + ToUtf8(cell);
      std::printf("%s\n", row.c_str());
    }
    // Files that are there but could not be taken as tags are shown too: a
    // user must see them before creating the tag again.
    for (const CTagsDB::UnreadableFile& u : tags->GetUnreadable()) {
      std::printf("%s\t%s\t%s\t%s\n", ToUtf8(u.name).c_str(),
                  ToUtf8(u.set.empty() ? std::u16string(kDefaultSetName) : u.set).c_str(),
                  ToUtf8(platform::FormatString(platform::kIdsTagUnreadable, u.reason)).c_str(),
                  u.path.c_str());
    }
    return tags->GetCount() || !tags->GetUnreadable().empty() ? kOk : kNothingFound;
  }
  if (verb == "create" && p.size() == 2) {
    std::u16string set, name;
    SplitTagName(p[1], &set, &name);
    CTagDB* t = tags->CreateTag(set, name);
    if (!t) return kBadInput;
    std::printf("%s\n", t->GetFilePath().c_str());
    return kOk;
  }
  if (verb == "show" && p.size() == 2) {
    CTagDB* t = FindTag(tags, p[1]);
    if (!t) return kNothingFound;
    const TagStyle& s = t->GetStyle();
    std::printf(
        "# %s\tlabel \"%s\"\tforeground %s\tbackground %s\tfont %s\tbrackets %s %s %s\t%s\n",
        ToUtf8(t->GetRelativeName()).c_str(), ToUtf8(t->GetLabel()).c_str(),
        ToUtf8(TagColourName(s.foreground)).c_str(), ToUtf8(TagColourName(s.background)).c_str(),
        ToUtf8(FontStyleName(s.font_style)).c_str(),
        ToUtf8(BracketPositionName(s.bracket_position)).c_str(),
        ToUtf8(BracketStyleName(s.bracket_style)).c_str(),
        ToUtf8(TagColourName(s.bracket_colour)).c_str(), t->GetFilePath().c_str());
    if (!t->LoadWords()) return kBadInput;
    PrintRanges(db, t);
    return kOk;
  }
  if (verb == "toggle" && p.size() >= 3) {
    CTagDB* t = FindTag(tags, p[1]);
    if (!t) return kNothingFound;
    if (!t->LoadWords()) return kBadInput;
    std::vector<WordIndex> selection;
    if (!ParseSelection(db, p, 2, &selection)) return kBadInput;
    WordIndex current = selection.front();
    std::string given = args.Get("--current");
    if (!given.empty() && !ParseIndex(given, &current)) {
      std::fprintf(stderr, "--current needs a word index\n");
      return kBadInput;
    }
    CViewTags view;
    view.ToggleSelection(t, selection, current);
    if (t->IsModified() && !t->Save()) return kBadInput;
    view.ReleaseTags();
    PrintRanges(db, t);
    return kOk;
  }
  std::fprintf(stderr,
               "usage: vorn-cli usertag --db NAME [--work DIR] list | show TAG | "
               "toggle TAG WORDS-OR-RANGE [--current WORD] | create [SET/]NAME\n");
  return kBadInput;
}

int RunProps(const Args& args) {
  Context ctx(args);
  CVornDB* db = ctx.OpenDb(args);
  if (!db) return kBadInput;
  const auto& p = args.positional();
  const std::string verb = p.empty() ? "" : p[0];
  const std::u16string name = ToU16(args.Get("--name"));
  static const char* const kVerbs[] = {"split",       "join", "shift-left",
                                       "shift-right", "show", "merge"};
  if (name.empty() || p.size() < 2 ||
      std::find_if(std::begin(kVerbs), std::end(kVerbs),
                   [&](const char* v) { return verb == v; }) == std::end(kVerbs)) {
    std::fprintf(
        stderr,
        "usage: vorn-cli props --db NAME [--work DIR] --name NAME "
        "split|join|shift-left|shift-right|show [--level N] WORDS-OR-RANGE | merge OTHER\n");
    return kBadInput;
  }
  CPropositionsList list(WorkingFolder(args), &ctx.sink());
  CMarkupContext markup(db, nullptr, &list);
  CPropositions* props = markup.GetPropositions();
  const std::vector<std::u16string> files = list.ListFiles(db);
  const bool exists = std::find(files.begin(), files.end(), name) != files.end();
  if (exists) {
    if (!markup.LoadPropositions(name)) return kBadInput;
    props = markup.GetPropositions();
  }

  if (verb == "merge") {
    if (!props->Merge(ToU16(p[1]))) return kBadInput;
  } else {
    std::vector<WordIndex> selection;
    if (!ParseSelection(db, p, 1, &selection)) return kBadInput;
    if (verb == "show") {
      int level = kAllLevels;
      std::string given = args.Get("--level");
      if (!given.empty()) level = std::atoi(given.c_str());
      if (level != kAllLevels && (level < 1 || level > 4)) {
        std::fprintf(stderr, "--level is 1 to 4, or -1 for all levels\n");
        return kBadInput;
      }
      WordSpan shown;
      for (WordIndex w : selection) {
        if (!shown.IsNone() && w < shown.end) continue;
        int prop_level = 0;
        shown = props->GetProposition(w, level, &prop_level);
        std::string text;
        for (WordIndex x = shown.first; x < shown.end; ++x)
          text += (x == shown.first ? "" : " ") + WordText(db, x);
        std::printf("%d\t%d\t%d\t%s\t%s%s\n", shown.first, shown.end - 1, prop_level,
                    RefOf(db, shown.first).c_str(),
                    std::string(2 * std::max(prop_level, 0), ' ').c_str(), text.c_str());
      }
      return kOk;
    }
    if (verb == "split") props->Split(selection);
    if (verb == "join") props->Join(selection);
    if (verb == "shift-left") props->ShiftLeft(selection);
    if (verb == "shift-right") props->ShiftRight(selection);
  }
  if (props->GetName() == name) {
    if (props->IsModified() && !props->Save()) return kBadInput;
  } else if (!markup.SavePropositionsAs(name)) {
    return kBadInput;
  }
  props = markup.GetPropositions();
  for (const PropEntry& e : props->GetEntries()) {
    if (e.start < props->GetWordCount())
      std::printf("%u\t%d\t%s\n", e.start, e.level, RefOf(db, e.start).c_str());
  }
  return kOk;
}

int RunNotes(const Args& args) {
  Context ctx(args);
  CVornDB* db = ctx.OpenDb(args);
  if (!db) return kBadInput;
  const auto& p = args.positional();
  const std::string verb = p.empty() ? "" : p[0];
  CAnnotation* notes = GetAnnotation(db, WorkingFolder(args));
  auto print = [&](WordIndex word, const Note& note) {
    std::printf("%d\t%s\t%s\n", word, ToUtf8(notes->GetNoteTitle(word)).c_str(),
                ToUtf8(note.text).c_str());
  };
  if (verb == "list" && p.size() == 1) {
    bool any = false;
    Note note;
    for (WordIndex w = 0; w < static_cast<WordIndex>(db->GetWordCount()); ++w) {
      if (!notes->GetNote(w, &note)) continue;
      print(w, note);
      any = true;
    }
    return any ? kOk : kNothingFound;
  }
  WordIndex word = -1;
  if (p.size() < 2 || !ParseIndex(p[1], &word) || notes->BookOfWord(word) <= 0) {
    std::fprintf(stderr, "notes %s needs the index of a word in a book\n", verb.c_str());
    return kBadInput;
  }
  if (verb == "show" && p.size() == 2) {
    Note note;
    if (!notes->GetNote(word, &note)) return kNothingFound;
    print(word, note);
    return kOk;
  }
  if ((verb == "add" && p.size() >= 3) || (verb == "delete" && p.size() == 2)) {
    if (verb == "add") {
      std::string text;
      for (size_t i = 2; i < p.size(); ++i) text += (i > 2 ? " " : "") + p[i];
      Note note;
      static_cast<void>(notes->GetNote(word, &note));  // keeps its placement
      note.text = ToU16(text);
      if (!notes->StoreNote(word, note)) return kBadInput;
    } else if (!notes->HasNote(word)) {
      return kNothingFound;
    } else {
      notes->RemoveNote(word);
    }
    return notes->SaveBook(notes->BookOfWord(word)) ? kOk : kBadInput;
  }
  std::fprintf(stderr, "notes: add WORD TEXT | show WORD | list | delete WORD\n");
  return kBadInput;
}

}  // namespace vorn::cli
