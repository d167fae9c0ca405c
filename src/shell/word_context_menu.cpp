#include "shell/word_context_menu.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QProcess>
#include <QUrl>
#include <functional>
#include <vector>

#include "markup/annotation.h"
#include "markup/tags_db.h"
#include "platform/string_table.h"
#include "querystate/lookup_command.h"
#include "querystate/query_thing.h"
#include "querystate/query_tool.h"
#include "refs/bible_ref.h"
#include "shell/actions.h"
#include "shell/child_frame.h"
#include "shell/note_dialog.h"
#include "shell/qt_device.h"
#include "shell/user_tag_menus.h"
#include "shell/vorn_view.h"
#include "shell/window_host.h"
#include "textdb/ini_file.h"
#include "textdb/link_params.h"
#include "textdb/vorn_db.h"
#include "wordinfo/word.h"
#include "wordinfo/word_menu.h"

namespace vorn::shell {

namespace {

// The most characters a menu entry shows.
constexpr int kMaxItemChars = 72;

// The word's Form text on its own, as the clipboard gets it.
std::u16string FormText(CVornDB* db, WordIndex word) {
  CWord w(db, word);
  CWordLine* form = w.GetLine(db->GetFormLineIndex());
  return form ? form->GetPlainText() : std::u16string();
}

struct LookupTarget {
  int id;
  const char* text;  // %1: the verse
  const char16_t* section;
  const char16_t* command_key;
  const char16_t* uri_key;          // null: commands only
  const char16_t* program_command;  // the command when only the program is located
};

// Where each target's program is kept ("ExePath" of its section), where it
// is looked for when the key is missing, and its name in the locate dialog.
constexpr char16_t kExePathKey[] = u"ExePath";
struct TargetProgram {
  const char16_t* section;
  const char16_t* default_path;
  const char16_t* file_name;
};
constexpr TargetProgram kPrograms[] = {
    {u"WORDsearch", u"c:\\NavPress\\Winws.exe", u"Winws.exe"},
    {u"Logos", u"c:\\LOGOS20\\Logos.exe", u"Logos.exe"},
};

constexpr LookupTarget kLookups[] = {
    {kCmdLookupVerse, "Show %1 in WORDsearch", u"WORDsearch", u"VerseCommand", nullptr,
     u"%p \"%r\""},
    {kCmdLookupWord, "By Word in Bibles...", u"WORDsearch", u"WordCommand", nullptr, u"%p %w"},
    {kCmdLookupLemma, "&Logos Lemma Search", u"Logos", u"LemmaCommand", u"LemmaUri", u"%p %l"},
};

// The look-up's template from the settings; `uri` tells which kind it is.
// With neither a command nor an address but the program's "ExePath" set,
// the program is run with the look-up's value as its one argument.
std::u16string LookupTemplate(CIniFile& settings, const LookupTarget& target, bool* uri) {
  std::u16string value;
  *uri = false;
  if (settings.GetString(target.section, target.command_key, &value) && !value.empty())
    return value;
  value.clear();
  if (target.uri_key && settings.GetString(target.section, target.uri_key, &value) &&
      !value.empty()) {
    *uri = true;
    return value;
  }
  value.clear();
  if (settings.GetString(target.section, kExePathKey, &value) && !value.empty())
    return target.program_command;
  return {};
}

const TargetProgram* ProgramOf(const LookupTarget& target) {
  for (const TargetProgram& p : kPrograms)
    if (std::u16string_view(p.section) == target.section) return &p;
  return nullptr;
}

LookupValues ValuesOf(CVornDB* db, WordIndex word) {
  LookupValues v;
  CWord w(db, word);
  if (CWordLine* form = w.GetLine(db->GetFormLineIndex())) v.word = form->GetPlainText();
  if (CWordLine* lemma = w.GetLine(db->GetLemmaLineIndex())) v.lemma = lemma->GetPlainText();
  v.reference = CBibleRef(db, word).FormatLong();
  return v;
}

bool HasScheme(const QString& text) {
  const QUrl url(text);
  return url.isValid() && url.scheme().size() > 1;  // "C:" is a drive, not a scheme
}

}  // namespace

std::u16string LinkDocument(const CPVLink& link) {
  if (!link.GetKind()) return {};
  const std::u16string text = link.ExpandSetting("Link");
  if (text.empty()) return {};
  const QString name = ToQString(text);
  if (HasScheme(name) || QDir::isAbsolutePath(name)) return text;
  const QString dir = ToQString(link.GetKind()->GetSetting("Dir"));
  return dir.isEmpty() ? text : FromQString(QDir(dir).filePath(name));
}

CWordContextMenu::CWordContextMenu(CWindowHost* host)
    : QObject(host->GetMainWindow()), host_(host) {
  locate_program_ = [this](const QString& title, const QString& filter) {
    return QFileDialog::getOpenFileName(host_->GetMainWindow(), title, QDir::rootPath(), filter);
  };
}

std::u16string CWordContextMenu::LocateProgram(std::u16string_view section) {
  const TargetProgram* program = nullptr;
  for (const TargetProgram& p : kPrograms)
    if (section == p.section) program = &p;
  if (!program) return {};
  CIniFile& settings = host_->GetSettings();
  std::u16string path;
  if (!settings.GetString(section, kExePathKey, &path) || path.empty())
    path = program->default_path;
  if (QFileInfo(ToQString(path)).isFile()) return path;
  const QString name = ToQString(program->file_name);
  const QString located =
      locate_program_(tr("Please locate the %1 program \"%2\"").arg(ToQString(section), name),
                      tr("%1 program (%2);;All files (*)").arg(ToQString(section), name));
  if (located.isEmpty()) return {};
  path = FromQString(located);
  settings.SetString(section, kExePathKey, path);
  return path;
}

CWordContextMenu::~CWordContextMenu() = default;

void CWordContextMenu::Build(QMenu* menu, CVornChildFrame* window) {
  menu->clear();
  CQueryThing* state = window ? &window->GetQueryThing() : nullptr;
  const WordIndex word = state ? state->GetCurrentWordIndex() : -1;
  if (word < 0) {
    menu->addAction(tr("No word"))->setEnabled(false);
    return;
  }
  auto add = [this, menu](QMenu* to, const QString& text, int id) {
    QAction* item = to->addAction(text);
    item->setData(id);
    connect(item, &QAction::triggered, this, [this, id] { host_->Dispatch(id); });
    return item;
  };
  // The core's entries, nested as they come.
  std::function<void(QMenu*, const std::vector<WordMenuItem>&)> fill;
  fill = [&](QMenu* to, const std::vector<WordMenuItem>& items) {
    for (const WordMenuItem& item : items) {
      switch (item.kind) {
        case WordMenuItem::Kind::kCommand: {
          // A dictionary entry is long: the menu shows its start, the status tip all of it.
          QString text = ToQString(item.text);
          const QString whole = text;
          if (text.size() > kMaxItemChars) text = text.left(kMaxItemChars - 1) + u'…';
          QAction* a = add(to, text, static_cast<int>(item.command));
          a->setStatusTip(whole);
          a->setToolTip(whole);
          if (item.checked) {
            a->setCheckable(true);
            a->setChecked(true);
          }
          break;
        }
        case WordMenuItem::Kind::kTitle:
          to->addSection(ToQString(item.text));
          break;
        case WordMenuItem::Kind::kFiller:
          to->addAction(QString())->setEnabled(false);
          break;
        case WordMenuItem::Kind::kSeparator:
          to->addSeparator();
          break;
        case WordMenuItem::Kind::kSubmenu:
          fill(to->addMenu(ToQString(item.text)), item.items);
          break;
      }
    }
  };
  CWord current(window->GetDatabase(), word);
  fill(menu, MakeLinkMenus(current));
  const int variant = window->GetActivePane()->GetMetrics().GetTextVariant();
  const std::vector<WordMenuItem> variants =
      MakeVariantItems(current, kCmdWordVariantFirst, variant);
  if (!variants.empty()) fill(menu->addMenu(tr("Text &Variants")), variants);

  // The searches are the word prompts, made for this word.
  CQueryTool& tool = host_->GetQueryTool();
  tool.UpdateWordPrompts();
  const CQueryPrompts& prompts = tool.GetWordPrompts();
  if (!menu->isEmpty()) menu->addSeparator();
  for (size_t i = 0; i < prompts.GetCount() && i <= kCmdWordSearchLast - kCmdWordSearchFirst; ++i) {
    const CQueryPrompt* p = prompts.Get(i);
    add(menu, tr("Search %1 %2").arg(ToQString(p->GetText()), ToQString(p->GetValue())),
        kCmdWordSearchFirst + static_cast<int>(i));
  }

  // Look-ups in other programs; those with nothing configured say how to configure them.
  QMenu* lookups = menu->addMenu(tr("&Look Up"));
  lookups->setToolTipsVisible(true);
  const QString verse = ToQString(CBibleRef(window->GetDatabase(), word).FormatLong());
  for (const LookupTarget& target : kLookups) {
    QString text = QString::fromUtf8(target.text);
    if (text.contains(QLatin1String("%1"))) text = text.arg(verse);
    QAction* a = add(lookups, text, target.id);
    bool uri = false;
    if (LookupTemplate(host_->GetSettings(), target, &uri).empty()) {
      a->setEnabled(false);
      a->setToolTip(tr("Not configured: set %1= in the [%2] section of Vorn.ini to a program and "
                       "its arguments (%w the word, %l the base form, %r the reference, %p the "
                       "program of ExePath=), or set ExePath= alone")
                        .arg(ToQString(target.command_key), ToQString(target.section)));
    }
  }

  host_->UpdateActions();
  menu->addSeparator();
  CActions& actions = host_->GetActions();
  if (QAction* note = actions.Get(kCmdEditNote)) {
    CAnnotation* notes = GetAnnotation(window->GetDatabase());
    note->setText(notes && notes->HasNote(word) ? tr("Edit &Note...") : tr("Add &Note..."));
    menu->addAction(note);
  }
  for (int id : {kCmdNotesList, kCmdAddBookmark, kCmdCopyWord, kCmdCopyVerse})
    if (QAction* a = actions.Get(id)) menu->addAction(a);
  // The hits pane's menu also offers the analyses of the hit list.
  if (window->GetActivePane() && window->GetActivePane()->IsHitsPane()) {
    menu->addSeparator();
    for (int id : {kCmdAnalyse, kCmdHitChart})
      if (QAction* a = actions.Get(id)) menu->addAction(a);
  }

  // The toggles of the tags the window shows, checked where the word has the tag.
  CTagsDB* tags = TagsOfWindow(window);
  const std::vector<CTagDB*> list = tags ? tags->GetTags() : std::vector<CTagDB*>();
  bool separated = false;
  for (size_t i = 0; i < list.size() && i < static_cast<size_t>(kMaxMenuTags); ++i) {
    if (!state->IsTagDisplayed(list[i])) continue;
    if (!separated) menu->addSeparator();
    separated = true;
    QAction* item =
        add(menu, ToQString(list[i]->GetName()), kCmdToggleTagFirst + static_cast<int>(i));
    item->setCheckable(true);
    item->setChecked(list[i]->IsTagged(word));
  }
}

void CWordContextMenu::Show(CVornChildFrame* window, const QPoint& global) {
  QMenu menu(window);
  menu.setToolTipsVisible(true);
  Build(&menu, window);
  menu.exec(global);
}

bool CWordContextMenu::OnCommand(CVornChildFrame* window, int id) {
  const bool ours = (id >= kCmdWordLinkFirst && id <= kCmdWordLinkLast) ||
                    (id >= kCmdWordVariantFirst && id <= kCmdWordVariantLast) ||
                    (id >= kCmdWordSearchFirst && id <= kCmdWordSearchLast) || id == kCmdEditNote ||
                    id == kCmdCopyWord || id == kCmdCopyVerse || id == kCmdNotesList ||
                    id == kCmdLookupVerse || id == kCmdLookupWord || id == kCmdLookupLemma;
  if (!ours) return false;
  const WordIndex word = window ? window->GetQueryThing().GetCurrentWordIndex() : -1;
  if (word < 0) return true;
  CVornDB* db = window->GetDatabase();
  if (id >= kCmdWordLinkFirst && id <= kCmdWordLinkLast) {
    OpenLink(window, static_cast<size_t>(id - kCmdWordLinkFirst));
  } else if (id >= kCmdWordVariantFirst && id <= kCmdWordVariantLast) {
    CVornView* pane = window->GetActivePane();
    pane->GetMetrics().SetTextVariant(id - kCmdWordVariantFirst);
    pane->Invalidate();
  } else if (id == kCmdLookupVerse || id == kCmdLookupWord || id == kCmdLookupLemma) {
    RunLookup(window, id);
  } else if (id >= kCmdWordSearchFirst) {
    RunSearch(window, static_cast<size_t>(id - kCmdWordSearchFirst));
  } else if (id == kCmdEditNote) {
    if (EditNote(GetAnnotation(db), word, window)) window->RepaintPanes();
  } else if (id == kCmdNotesList) {
    CNotesListDialog dialog(GetAnnotation(db), db, word, window);
    if (dialog.exec() == QDialog::Accepted && dialog.GetChosenWord() >= 0)
      window->GetActivePane()->SetCaret(dialog.GetChosenWord());
  } else if (id == kCmdCopyWord) {
    QApplication::clipboard()->setText(ToQString(FormText(db, word)));
  } else {
    // The verse's words in reading order, with its reference before them.
    const CBibleRef ref(db, word);
    const WordSpan span = ref.GetWordSpan();
    std::u16string text = ref.FormatLong();
    for (WordIndex w = span.first; w >= 0 && w < span.end; ++w) text += u' ' + FormText(db, w);
    QApplication::clipboard()->setText(ToQString(text));
  }
  return true;
}

bool CWordContextMenu::UpdateCommand(CVornChildFrame* window, int id, bool* enabled) const {
  if (id != kCmdEditNote && id != kCmdCopyWord && id != kCmdCopyVerse && id != kCmdNotesList)
    return false;
  const WordIndex word = window ? window->GetQueryThing().GetCurrentWordIndex() : -1;
  *enabled = word >= 0 && ((id != kCmdEditNote && id != kCmdNotesList) ||
                           GetAnnotation(window->GetDatabase())->BookOfWord(word) > 0);
  return true;
}

void CWordContextMenu::OpenLink(CVornChildFrame* window, size_t n) {
  CQueryThing& state = window->GetQueryThing();
  CWord word(window->GetDatabase(), state.GetCurrentWordIndex());
  const CPVLink* link = word.GetLink(n);
  if (!link) return;
  platform::CMessageSink* sink = host_->GetMessageSink();
  // The reference library, Logos and BibleWorks have no counterpart on this
  // system: such a link says so rather than doing nothing.
  const CLinkParams* kind = link->GetKind();
  for (const char* program : {"Nfo", "Logos", "BW7"}) {
    if (kind && !kind->GetSetting(program).empty()) {
      sink->ShowInformation(u"\"" + link->GetText() + u"\" opens in " +
                            (program[0] == 'N'
                                 ? u"the reference library \"" + kind->GetSetting(program) + u"\""
                             : program[0] == 'L' ? std::u16string(u"Logos")
                                                 : std::u16string(u"BibleWorks")) +
                            u", which is not available on this system.");
      return;
    }
  }
  const std::u16string document = LinkDocument(*link);
  if (document.empty()) {
    // Nothing outside to open: the entry itself is what the link holds.
    const std::u16string tip = link->GetKind() ? link->ExpandSetting("Tip") : std::u16string();
    sink->ShowInformation(tip.empty() ? link->GetText() : tip);
    return;
  }
  const QString name = ToQString(document);
  const bool web = HasScheme(name) && !name.startsWith(QStringLiteral("file:"));
  const QUrl url = web ? QUrl(name) : HasScheme(name) ? QUrl(name) : QUrl::fromLocalFile(name);
  if ((!web && !QFileInfo::exists(url.toLocalFile())) || !QDesktopServices::openUrl(url))
    sink->ShowWarning(platform::FormatString(platform::kIdsCantOpenLinkedDoc, document));
}

void CWordContextMenu::RunSearch(CVornChildFrame* window, size_t prompt) {
  CQueryTool& tool = host_->GetQueryTool();
  tool.UpdateWordPrompts();
  if (prompt >= tool.GetWordPrompts().GetCount()) return;
  tool.ReplaceWithPrompt(static_cast<int32_t>(prompt));
  static_cast<void>(window);
  static_cast<void>(host_->RunQueryFromBox());
}

void CWordContextMenu::RunLookup(CVornChildFrame* window, int id) {
  const LookupTarget* target = nullptr;
  for (const LookupTarget& t : kLookups)
    if (t.id == id) target = &t;
  bool uri = false;
  const std::u16string pattern =
      target ? LookupTemplate(host_->GetSettings(), *target, &uri) : std::u16string();
  if (pattern.empty()) return;
  LookupValues values =
      ValuesOf(window->GetDatabase(), window->GetQueryThing().GetCurrentWordIndex());
  if (!uri && UsesLocatedProgram(pattern)) {
    // A cancelled locate dialog sends nothing.
    const TargetProgram* program = ProgramOf(*target);
    values.program = program ? LocateProgram(program->section) : std::u16string();
    if (values.program.empty()) return;
  }
  platform::CMessageSink* sink = host_->GetMessageSink();
  if (uri) {
    const std::u16string address = ExpandLookupUri(pattern, values);
    if (!QDesktopServices::openUrl(QUrl(ToQString(address))))
      sink->ShowWarning(platform::FormatString(platform::kIdsCantStart, address));
    return;
  }
  const std::vector<std::u16string> command = ExpandLookupCommand(pattern, values);
  if (command.empty()) return;
  QStringList arguments;
  for (size_t i = 1; i < command.size(); ++i) arguments << ToQString(command[i]);
  if (!QProcess::startDetached(ToQString(command[0]), arguments))
    sink->ShowWarning(platform::FormatString(platform::kIdsCantStart, command[0]));
}

}  // namespace vorn::shell
