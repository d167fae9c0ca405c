// vorn-build: compiles open corpora, or a text in the plain interlinear
// format, into database folders the program opens.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "build_stamp.h"
#include "importers.h"
#include "interlinear.h"
#include "kjv_glosses.h"
#include "plain_format.h"
#include "platform/file_system.h"
#include "platform/u16.h"
#include "source_files.h"
#include "strongs_dict.h"
#include "sword_module.h"
#include "tag_coverage.h"
#include "textdb/table_writer.h"

namespace {

using namespace vorn;
using namespace vorn::build;

constexpr const char kUsage[] =
    "usage: vorn-build [options] COMMAND\n"
    "commands:\n"
    "  heb           Hebrew OT (HEB) from the npm packages morphhb and strongs\n"
    "  gnt           Greek NT (GNT) from MorphGNT and the npm package sblgnt\n"
    "                (from sblgnt alone when the corpora folder is missing)\n"
    "  byz           Byzantine NT (BYZ) from the Robinson-Pierpont corpus\n"
    "  all           every database whose sources are present (with the SWORD\n"
    "                modules KJV and WEB where installed)\n"
    "heb, gnt, byz and all compile a database only when it is missing or what it\n"
    "was compiled from changed (sources, compiler); they say which and why.\n"
    "  plain FILE    a text in the plain interlinear format\n"
    "  sword MODULE  a Bible module of a SWORD library (by name or abbreviation:\n"
    "                KJV), read through libsword; compiled again only when changed\n"
    "options:\n"
    "  --out DIR      folder that receives NAME.qyx and VerseMaps/ (default: " VORN_DEFAULT_DATA_DIR
    ")\n"
    "  --npm DIR      node_modules folder (default: " VORN_SOURCE_DIR
    "/node_modules)\n"
    "  --corpora DIR  corpora folder (default: " VORN_SOURCE_DIR
    "/corpora)\n"
    "  --sword-library DIR  the SWORD library to find MODULE in (default: the ones\n"
    "                 SWORD finds itself: SWORD_PATH, ~/.sword, /usr/share/sword)\n"
    "  --force        compile even when a database is up to date\n"
    "  --export FILE  also write the imported text in the plain interlinear format\n"
    "  --quiet        no progress lines\n"
    "  --gloss SOURCE glosses of heb, gnt and byz: kjv (the English words of the same\n"
    "                 verse of the KJV module of SWORD that carry the word's Strong's\n"
    "                 number, else its most frequent rendering, else the dictionary's\n"
    "                 first sense marked \u00B0) or strongs (the dictionary's first sense);\n"
    "                 default kjv when the KJV module is installed\n";

struct Options {
  std::string out = VORN_DEFAULT_DATA_DIR;
  std::string npm = std::string(VORN_SOURCE_DIR) + "/node_modules";
  std::string corpora = std::string(VORN_SOURCE_DIR) + "/corpora";
  std::string export_path;
  std::string sword_library;
  bool quiet = false;
  bool force = false;
  std::string gloss;  // "kjv", "strongs" or empty: kjv when the module is there
  std::string command;
  std::string file;
};

void Say(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void Complain(const std::string& line) {
  std::fputs(("vorn-build: " + line + "\n").c_str(), stderr);
}

std::string Percent(size_t part, size_t whole) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f%%",
                whole ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 100.0);
  return buf;
}

// The dictionary is read once for all databases; `inputs` receives the files
// it was read from, for the stamp of each database that uses it.
bool LoadStrongs(const Options& o, CStrongsDictionary* strongs, std::vector<SourceInput>* inputs,
                 std::string* error) {
  if (strongs->size() > 0) return true;
  CInputLog log;
  for (const char* file : {"strongs/hebrew/strongs-hebrew-dictionary.js",
                           "strongs/greek/strongs-greek-dictionary.js"}) {
    const std::string path = platform::JoinPath(o.npm, file);
    if (!platform::FileExists(path)) {
      *error = path + ": not found (run `npm ci` in the project folder)";
      return false;
    }
    if (!strongs->LoadFile(path, error)) return false;
  }
  *inputs = log.Inputs();
  return true;
}

// Writes the database, its stamp and its verse map; reports what was written.
bool WriteDatabase(const Options& o, const InterlinearText& text, const ImportStats* stats,
                   const BuildStamp& stamp, std::chrono::steady_clock::time_point start) {
  std::string error;
  if (!o.export_path.empty()) {
    if (!platform::WriteFileAtomically(o.export_path, WritePlainInterlinear(text), &error)) {
      Complain(o.export_path + ": " + error);
      return false;
    }
    Say("  exported the text to " + o.export_path);
  }
  TagCoverage coverage;
  if (MeasureTagCoverage(text, &coverage)) {
    Say("  tags (" + platform::ToUtf8(coverage.scheme) +
        "): " + std::to_string(coverage.distinct_ok) + " of " + std::to_string(coverage.distinct) +
        " distinct tags decode (" + Percent(coverage.distinct_ok, coverage.distinct) + "), " +
        std::to_string(coverage.words_ok) + " of " + std::to_string(coverage.words) + " words (" +
        Percent(coverage.words_ok, coverage.words) + ")");
    for (const std::u16string& t : coverage.failures)
      Say("    does not decode: " + platform::ToUtf8(t));
  }
  DBSource source;
  if (!MakeDatabaseSource(text, &source, &error)) {
    Complain(platform::ToUtf8(text.description.name) + ": " + error);
    return false;
  }
  if (source.versification.empty()) source.versification = source.name;
  // Both names become file names under --out, and a description is input
  // like any other: it must not choose where we write.
  for (const std::u16string* name : {&source.name, &source.versification}) {
    if (!platform::IsPlainFileName(platform::ToUtf8(*name))) {
      Complain(platform::ToUtf8(text.description.name) + ": \"" + platform::ToUtf8(*name) +
               "\" is not a plain file name");
      return false;
    }
  }
  if (!platform::CreateFolder(o.out, &error)) {
    Complain(o.out + ": " + error);
    return false;
  }
  const std::string folder = platform::JoinPath(o.out, platform::ToUtf8(source.name) + ".qyx");
  CDBWriter writer(source);
  if (!writer.Write(folder, &error)) {
    Complain(folder + ": " + error);
    return false;
  }
  // Written last: a database without its stamp is compiled again next time.
  const std::string stamp_path = platform::JoinPath(folder, kStampFile);
  if (!platform::WriteFileAtomically(stamp_path, FormatStamp(stamp), &error)) {
    Complain(stamp_path + ": " + error);
    return false;
  }
  // Every database needs its verse map file, even an empty one: the program
  // complains about a missing one each time it opens the database.
  const std::string maps = platform::JoinPath(o.out, "VerseMaps");
  const std::string vrs = platform::JoinPath(maps, platform::ToUtf8(source.versification) + ".vrs");
  if (!platform::IsInsideFolder(o.out, vrs)) {
    Complain(vrs + ": outside " + o.out);
    return false;
  }
  std::string map_text = text.verse_map;
  if (map_text.empty())
    map_text =
        "# " + platform::ToUtf8(source.versification) + ": numbered like the common scheme\n";
  if (!platform::CreateFolder(maps, &error) ||
      !platform::WriteFileAtomically(vrs, map_text, &error)) {
    Complain(vrs + ": " + error);
    return false;
  }
  size_t bytes = 0;
  for (const auto& [path, contents] : writer.GetFiles()) bytes += contents.size();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char buf[256];
  std::snprintf(buf, sizeof buf, "  wrote %s: %zu words, %zu books, %.1f MB in %.1f s",
                folder.c_str(), text.words.size(), source.books.size(),
                static_cast<double>(bytes) / 1e6, seconds);
  Say(buf);
  if (stats && text.ValueIndex("Glos") >= 0) {
    Say("  with lemma " + Percent(stats->with_lemma, stats->words) + ", gloss " +
        Percent(stats->with_gloss, stats->words) + ", Strong's number " +
        Percent(stats->with_strongs, stats->words));
  }
  if (stats) {
    for (const auto& [what, result] : stats->checks) Say("  " + what + result);
  }
  return true;
}

enum class Corpus { kHebrew, kGreek, kByzantine };

struct CorpusInfo {
  const char* name;   // the database's name
  bool uses_corpora;  // reads the corpora folder (beside the npm packages)
};

constexpr CorpusInfo kCorpora[] = {{"HEB", false}, {"GNT", true}, {"BYZ", true}};

// The SWORD module whose English words gloss the corpora.
constexpr char kGlossModule[] = "KJV";

// Strong's dictionary and the files it was read from, loaded on first use,
// and the English renderings when the glosses come from the KJV.
struct Dictionary {
  CStrongsDictionary strongs;
  std::vector<SourceInput> inputs;
  std::unique_ptr<CKjvRenderings> kjv;
};

// Decides the gloss source once (an explicit `--gloss kjv` without the
// module is an error; the default falls back to the dictionary with a note).
bool ChooseGlossSource(Options* o) {
  if (o->gloss == "strongs") return true;
  SwordModuleInfo info;
  std::string error;
  if (SwordSupported() && DescribeSwordModule(kGlossModule, &info, &error, o->sword_library)) {
    o->gloss = "kjv";
    return true;
  }
  if (!SwordSupported()) error = "this vorn-build cannot read SWORD modules (no libsword)";
  if (o->gloss == "kjv") {
    Complain("--gloss kjv: " + error);
    return false;
  }
  Say("note: glosses from Strong's dictionary, not the KJV: " + error);
  o->gloss = "strongs";
  return true;
}

bool LoadKjv(const Options& o, Dictionary* dictionary, std::string* error) {
  if (o.gloss != "kjv" || dictionary->kjv) return true;
  auto kjv = std::make_unique<CKjvRenderings>(dictionary->strongs);
  if (!ReadSwordModule(
          kGlossModule,
          [&](const SwordVerse& verse) {
            for (const TaggedVerse& v : TaggedVersesOf(verse)) kjv->AddVerse(v);
          },
          error, o.sword_library))
    return false;
  Say(std::string(kGlossModule) + ": " + std::to_string(kjv->VerseCount()) +
      " verses read for the glosses");
  dictionary->kjv = std::move(kjv);
  return true;
}

// Glosses the text from the KJV and reports where the glosses came from,
// with examples spread over the text.
bool GlossFromKjv(const Options& o, const Dictionary& dictionary, InterlinearText* text,
                  std::string* error) {
  if (text->ValueIndex("Glos") < 0) return true;  // a text without glosses
  std::function<VerseKey(const VerseKey&)> to_kjv;
  if (text->description.name == u"HEB") {
    std::vector<VerseMapping> mappings;
    if (!ReadWlcVerseMap(platform::JoinPath(o.npm, "morphhb/wlc/VerseMap.xml"), &mappings, error))
      return false;
    to_kjv = MakeWlcToKjv(mappings);
  }
  const int glos = text->ValueIndex("Glos"), form = text->ValueIndex("Form");
  std::vector<std::u16string> before;
  for (const InterlinearWord& w : text->words) before.push_back(w.values[glos]);
  const GlossCoverage c = dictionary.kjv->Apply(to_kjv, text);
  const size_t all = c.same_verse + c.most_frequent + c.dictionary + c.none;
  Say("  glosses from the KJV: same verse " + Percent(c.same_verse, all) + ", most frequent " +
      Percent(c.most_frequent, all) + ", dictionary " + Percent(c.dictionary, all) + ", none " +
      Percent(c.none, all) + " of " + std::to_string(all) + " words with a Strong's number");
  if (!o.quiet) {
    const size_t step = std::max<size_t>(1, text->words.size() / 10);
    for (size_t i = 0; i < text->words.size(); i += step) {
      const InterlinearWord& w = text->words[i];
      Say("    " + ReferenceOf(w) + " " + platform::ToUtf8(w.values[form]) + ": " +
          platform::ToUtf8(w.values[glos]) + " (dictionary: " + platform::ToUtf8(before[i]) + ")");
    }
  }
  text->description.copyrights.push_back(
      u"Glosses: the King James Version with Strong's numbers (public domain), SWORD module " +
      platform::ToU16(kGlossModule) + u".");
  return true;
}

bool BuildCorpus(const Options& o, Corpus corpus, Dictionary* dictionary) {
  const auto start = std::chrono::steady_clock::now();
  const CorpusInfo& info = kCorpora[static_cast<int>(corpus)];
  SourcePaths paths{o.npm, platform::DirectoryExists(o.corpora) ? o.corpora : std::string()};
  BuildStamp stamp;
  stamp.compiler = VORN_COMPILER_ID;
  stamp.roots = "npm=" + paths.npm;
  if (info.uses_corpora)
    stamp.roots += " corpora=" + (paths.corpora.empty() ? "(none)" : paths.corpora);
  stamp.roots += " gloss=" + o.gloss;
  const std::string folder = platform::JoinPath(o.out, std::string(info.name) + ".qyx");
  if (!o.force) {
    const std::string why = WhyRecompile(folder, stamp.compiler, stamp.roots);
    if (why.empty()) {
      Say(std::string(info.name) + ": up to date (" + folder + ")");
      return true;
    }
    Say(std::string(info.name) + ": compiling: " + why);
  }
  std::string error;
  if (!LoadStrongs(o, &dictionary->strongs, &dictionary->inputs, &error)) {
    Complain(error);
    return false;
  }
  if (!LoadKjv(o, dictionary, &error)) {
    Complain(std::string(kGlossModule) + ": " + error);
    return false;
  }
  CStrongsDictionary* strongs = &dictionary->strongs;
  const ProgressFn progress = o.quiet ? ProgressFn() : ProgressFn(Say);
  InterlinearText text;
  ImportStats stats;
  bool ok = false;
  CInputLog log;
  switch (corpus) {
    case Corpus::kHebrew:
      Say("HEB: Hebrew OT");
      ok = ImportHebrew(paths, *strongs, progress, &text, &stats, &error);
      break;
    case Corpus::kGreek:
      Say(paths.corpora.empty()
              ? "GNT: Greek NT (text of the sblgnt package alone: no corpora folder)"
              : "GNT: Greek NT");
      ok = ImportGreekNt(paths, *strongs, progress, &text, &stats, &error);
      break;
    case Corpus::kByzantine:
      Say("BYZ: Byzantine NT");
      ok = ImportByzantine(paths, *strongs, progress, &text, &stats, &error);
      break;
  }
  if (!ok || (dictionary->kjv && !GlossFromKjv(o, *dictionary, &text, &error))) {
    Complain(error);
    return false;
  }
  stamp.inputs = dictionary->inputs;
  stamp.inputs.insert(stamp.inputs.end(), log.Inputs().begin(), log.Inputs().end());
  return WriteDatabase(o, text, &stats, stamp, start);
}

bool BuildPlain(const Options& o) {
  const auto start = std::chrono::steady_clock::now();
  InterlinearText text;
  std::string error;
  CInputLog log;
  if (!ReadPlainInterlinearFile(o.file, &text, &error)) {
    Complain(error);
    return false;
  }
  Say(platform::ToUtf8(text.description.name) + ": " + platform::ToUtf8(text.description.title));
  BuildStamp stamp{VORN_COMPILER_ID, "plain", log.Inputs()};
  return WriteDatabase(o, text, nullptr, stamp, start);
}

// A SWORD module, compiled again when its data files or the compiler
// changed. Strong's dictionary gives word links when the npm packages are
// there; the module is compiled without them otherwise.
// The SWORD modules `all` compiles when they are installed (Debian's
// sword-text-kjv and sword-text-web).
constexpr const char* kSwordModules[] = {"KJV", "WEB"};

bool BuildSword(const Options& o, const std::string& module, Dictionary* dictionary) {
  const auto start = std::chrono::steady_clock::now();
  std::string error;
  SwordModuleInfo info;
  if (!DescribeSwordModule(module, &info, &error, o.sword_library)) {
    Complain(error);
    return false;
  }
  BuildStamp stamp;
  stamp.compiler = VORN_COMPILER_ID;
  stamp.roots = "sword=" + info.name + (o.sword_library.empty() ? "" : " in " + o.sword_library);
  const bool have_strongs = LoadStrongs(o, &dictionary->strongs, &dictionary->inputs, &error);
  if (have_strongs) stamp.roots += " npm=" + o.npm;
  const std::string name = info.abbreviation;
  const std::string folder = platform::JoinPath(o.out, name + ".qyx");
  if (!o.force && platform::IsPlainFileName(name)) {
    const std::string why = WhyRecompile(folder, stamp.compiler, stamp.roots);
    if (why.empty()) {
      Say(name + ": up to date (" + folder + ")");
      return true;
    }
    Say(name + ": compiling: " + why);
  }
  Say(name + ": " + info.description + " (SWORD module " + info.name + ", versification " +
      info.versification + ")");
  if (!have_strongs) Say("  without Strong's dictionary links: " + error);
  // The module's data files are the inputs of the stamp; libsword reads them
  // itself, so they are read here once more to be recorded.
  CInputLog log;
  std::vector<std::string> files =
      platform::ListDirectory(info.data_path, "*", platform::EntryKind::kFile);
  std::sort(files.begin(), files.end());
  for (const std::string& file : files) {
    std::string bytes;
    if (!ReadSourceFile(platform::JoinPath(info.data_path, file), &bytes, &error)) {
      Complain(error);
      return false;
    }
  }
  InterlinearText text;
  ImportStats stats;
  const ProgressFn progress = o.quiet ? ProgressFn() : ProgressFn(Say);
  if (!ImportSword(info.name, o.sword_library, dictionary->strongs, progress, &text, &stats,
                   &error)) {
    Complain(error);
    return false;
  }
  if (!stats.words) stats.words = text.words.size();
  Say("  with Strong's number " + Percent(stats.with_strongs, stats.words));
  stamp.inputs = log.Inputs();
  if (have_strongs)
    stamp.inputs.insert(stamp.inputs.begin(), dictionary->inputs.begin(), dictionary->inputs.end());
  return WriteDatabase(o, text, &stats, stamp, start);
}

bool ParseOptions(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](std::string* target) {
      if (i + 1 >= argc) return false;
      *target = argv[++i];
      return true;
    };
    if (a == "--out") {
      if (!value(&o->out)) return false;
    } else if (a == "--npm") {
      if (!value(&o->npm)) return false;
    } else if (a == "--corpora") {
      if (!value(&o->corpora)) return false;
    } else if (a == "--sword-library") {
      if (!value(&o->sword_library)) return false;
    } else if (a == "--export") {
      if (!value(&o->export_path)) return false;
    } else if (a == "--gloss") {
      if (!value(&o->gloss) || (o->gloss != "kjv" && o->gloss != "strongs")) return false;
    } else if (a == "--force") {
      o->force = true;
    } else if (a == "--quiet") {
      o->quiet = true;
    } else if (a == "-h" || a == "--help") {
      return false;
    } else if (o->command.empty()) {
      o->command = a;
    } else if ((o->command == "plain" || o->command == "sword") && o->file.empty()) {
      o->file = a;
    } else {
      return false;
    }
  }
  if (o->command == "plain" || o->command == "sword") return !o->file.empty();
  return o->command == "heb" || o->command == "gnt" || o->command == "byz" || o->command == "all";
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, &o)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  Dictionary strongs;
  if (o.command != "plain" && o.command != "sword" && !ChooseGlossSource(&o)) return 1;
  if (o.command == "plain") return BuildPlain(o) ? 0 : 1;
  if (o.command == "sword") return BuildSword(o, o.file, &strongs) ? 0 : 1;
  if (o.command == "heb") return BuildCorpus(o, Corpus::kHebrew, &strongs) ? 0 : 1;
  if (o.command == "gnt") return BuildCorpus(o, Corpus::kGreek, &strongs) ? 0 : 1;
  if (o.command == "byz") {
    if (!platform::DirectoryExists(platform::JoinPath(o.corpora, "byzantine-rp2018"))) {
      Complain(o.corpora + "/byzantine-rp2018: not found");
      return 1;
    }
    return BuildCorpus(o, Corpus::kByzantine, &strongs) ? 0 : 1;
  }
  if (!o.export_path.empty()) {
    Complain("--export names one file: use it with heb, gnt or byz");
    return 2;
  }
  // all
  bool ok = BuildCorpus(o, Corpus::kHebrew, &strongs);
  ok = BuildCorpus(o, Corpus::kGreek, &strongs) && ok;
  if (platform::DirectoryExists(platform::JoinPath(o.corpora, "byzantine-rp2018"))) {
    ok = BuildCorpus(o, Corpus::kByzantine, &strongs) && ok;
  } else {
    Say("BYZ: skipped, the Byzantine corpus is not at " +
        platform::JoinPath(o.corpora, "byzantine-rp2018"));
  }
  // The English Bibles of Debian's SWORD packages, where they are installed.
  for (const char* module : kSwordModules) {
    SwordModuleInfo info;
    std::string why;
    if (!SwordSupported()) {
      Say(std::string(module) + ": skipped, vorn-build was built without SWORD support");
    } else if (!DescribeSwordModule(module, &info, &why, o.sword_library)) {
      Say(std::string(module) + ": skipped, " + why);
    } else {
      ok = BuildSword(o, module, &strongs) && ok;
    }
  }
  return ok ? 0 : 1;
}
