#include "shell/nav_bar.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "refs/bible_ref.h"
#include "shell/actions.h"
#include "shell/bcv.h"
#include "shell/child_frame.h"
#include "shell/exchange_link.h"
#include "shell/qt_device.h"
#include "shell/rich_query_box.h"

namespace vorn::shell {

namespace {

constexpr int kPromptGap = 2;

// Draws a prompt as the box will show it: its text in the text font, then
// its value (a word in the font of its line) a little after.
class CPromptDelegate : public QStyledItemDelegate {
 public:
  CPromptDelegate(const CQueryTool* tool, QObject* parent)
      : QStyledItemDelegate(parent), tool_(tool) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const CQueryPrompt* prompt = tool_->GetPrompt(static_cast<size_t>(index.row()));
    if (!prompt) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(option.rect,
                      option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QFont text_font = ToQFont(prompt->GetTextFormat());
    const QString text = ToQString(prompt->GetText());
    QRect r = option.rect.adjusted(kPromptGap, 0, 0, 0);
    painter->setFont(text_font);
    painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    if (!prompt->GetValue().empty()) {
      r.setLeft(r.left() + QFontMetrics(text_font).horizontalAdvance(text) + kPromptGap);
      painter->setFont(ToQFont(prompt->GetValueFormat()));
      painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                        ToQString(prompt->GetValue()));
    }
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const CQueryPrompt* prompt = tool_->GetPrompt(static_cast<size_t>(index.row()));
    if (!prompt) return QStyledItemDelegate::sizeHint(option, index);
    const QFontMetrics text(ToQFont(prompt->GetTextFormat()));
    int width = kPromptGap + text.horizontalAdvance(ToQString(prompt->GetText())) + kPromptGap;
    int height = text.height();
    if (!prompt->GetValue().empty()) {
      const QFontMetrics value(ToQFont(prompt->GetValueFormat()));
      width += value.horizontalAdvance(ToQString(prompt->GetValue())) + kPromptGap;
      height = std::max(height, value.height());
    }
    return {width, height + 2};
  }

 private:
  const CQueryTool* tool_;
};

}  // namespace

CNavBar::CNavBar(QWidget* parent, CActions& actions, platform::CMessageSink* messages)
    : QToolBar(tr("Navigation Bar"), parent) {
  setObjectName(QStringLiteral("NavBar"));
  addAction(actions.Get(kCmdGoBack));
  addAction(actions.Get(kCmdGoForward));
  addSeparator();

  bcv_ = new Cbcv(this);
  bcv_->SetMessageSink(messages);
  connect(bcv_, &Cbcv::RefChosen, this, &CNavBar::ReferenceChosen);
  addWidget(bcv_);
  addSeparator();

  box_ = new CRichQueryBox(this);
  box_->setToolTip(tr("Query"));
  box_->installEventFilter(this);
  addWidget(box_);
  // A narrow arrow beside the box drops the past queries under it.
  actions.Get(kCmdQueryHistory)->setIconText(QStringLiteral("\u25BE"));
  addAction(actions.Get(kCmdQueryHistory));
  prompts_ = new QComboBox(this);
  prompts_->setToolTip(tr("Query prompts"));
  prompts_->setPlaceholderText(tr("Prompts"));
  prompts_->setMinimumContentsLength(12);
  prompts_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  prompts_->view()->setMinimumWidth(kPromptsDroppedWidth);
  addWidget(prompts_);
  addAction(actions.Get(kCmdFind));
  addSeparator();
  addAction(actions.Get(kCmdPreviousMatch));
  addAction(actions.Get(kCmdNextMatch));
  addSeparator();
  // The bar names the exchange switches shortly; the menus keep the long texts.
  actions.Get(kCmdReceiveRefs)->setIconText(tr("Receive"));
  actions.Get(kCmdSendRefs)->setIconText(tr("Send"));
  addAction(actions.Get(kCmdReceiveRefs));
  addAction(actions.Get(kCmdSendRefs));

  tool_ = std::make_unique<CQueryTool>(box_, messages);
  tool_->SetPromptsChanged([this] { FillPrompts(); });
  prompts_->setItemDelegate(new CPromptDelegate(tool_.get(), prompts_));
  connect(prompts_, &QComboBox::activated, this, [this](int index) {
    tool_->ChoosePrompt(index, true);
    ShowChosenPrompt();
  });
  FillPrompts();
}

CNavBar::~CNavBar() {
  // The tool borrows the box; let it go first.
  tool_.reset();
}

void CNavBar::LoadStaticPrompts(const std::vector<std::string>& data_folders) {
  if (tool_->LoadStaticPrompts(QCoreApplication::applicationDirPath().toStdString())) return;
  for (const std::string& folder : data_folders) {
    if (tool_->LoadStaticPrompts(folder)) return;
  }
}

void CNavBar::LoadQueries(const CIniFile& settings) { tool_->LoadQueries(settings); }

void CNavBar::SaveQueries(CIniFile* settings) const { tool_->SaveQueries(settings); }

bool CNavBar::RunQuery() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool ran = tool_->RunQuery();
  QApplication::restoreOverrideCursor();
  return ran;
}

void CNavBar::ShowWindow(CVornChildFrame* window) {
  if (window) {
    const CBibleRef ref(window->GetDatabase(), window->GetFocusWord());
    db_ = window->GetDatabase();
    bcv_->SetRef(ref);
    // A failed send is told by the link's SendFailed, once.
    if (exchange_ && ref.HasEntry()) static_cast<void>(exchange_->PassageChanged(ref));
  }
  tool_->UpdateWordPrompts();
}

void CNavBar::InitExchange(const std::string& folder) {
  exchange_ = new CExchangeLink(this, folder);
  exchange_->SetReceiver([this](const CBibleRef& received) {
    // The picker may show an unbound reference (a book its database lacks):
    // the database is the one of the window it last showed.
    const CBibleRef mapped = db_ ? CBibleRef(received, db_) : received;
    if (!mapped.HasEntry()) {
      // A book the database lacks: the picker shows the reference alone.
      bcv_->SetRef(received);
      return;
    }
    bcv_->SetRef(mapped);
    emit ReferenceReceived(mapped);
  });
}

bool CNavBar::OnExchangeCommand(int id) {
  if (!exchange_ || (id != kCmdSendRefs && id != kCmdReceiveRefs)) return false;
  if (id == kCmdSendRefs) {
    exchange_->SetSending(!exchange_->IsSending());
  } else {
    exchange_->SetReceiving(!exchange_->IsReceiving());
  }
  return true;
}

bool CNavBar::UpdateExchangeCommand(int id, bool* enabled, bool* checked) const {
  if (id != kCmdSendRefs && id != kCmdReceiveRefs) return false;
  *enabled = exchange_ && !exchange_->GetStore().GetFolder().empty();
  *checked = exchange_ && (id == kCmdSendRefs ? exchange_->IsSending() : exchange_->IsReceiving());
  return true;
}

bool CNavBar::OnCommand(int id) {
  switch (id) {
    case kCmdPreviousQuery:
      tool_->PreviousQuery();
      return true;
    case kCmdNextQuery:
      tool_->NextQuery();
      return true;
    default:
      return false;
  }
}

bool CNavBar::UpdateCommand(int id, bool* enabled) const {
  switch (id) {
    case kCmdPreviousQuery:
      *enabled = tool_->CanGoPrevious();
      return true;
    case kCmdNextQuery:
      *enabled = tool_->CanGoNext();
      return true;
    default:
      return false;
  }
}

CNavBar::BoxKey CNavBar::BoxKeyOf(int key, Qt::KeyboardModifiers modifiers) {
  const bool ctrl = modifiers & Qt::ControlModifier;
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return BoxKey::kRun;
    case Qt::Key_Up:
      return ctrl ? BoxKey::kNone : BoxKey::kPreviousQuery;
    case Qt::Key_Down:
      return ctrl ? BoxKey::kNone : BoxKey::kNextQuery;
    case Qt::Key_Q:
      if (!ctrl) return BoxKey::kNone;
      return modifiers & Qt::ShiftModifier ? BoxKey::kPreviousPrompt : BoxKey::kNextPrompt;
    default:
      return BoxKey::kNone;
  }
}

bool CNavBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched != box_ || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
    return QToolBar::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (event->type() == QEvent::KeyPress) {
    const BoxKey action = BoxKeyOf(key->key(), key->modifiers());
    if (action == BoxKey::kNone) return false;
    // Decided at the press: Ctrl may be let go before the Q.
    pending_key_ = key->key();
    pending_ = action;
    return true;
  }
  if (key->key() != pending_key_ || pending_ == BoxKey::kNone) return false;
  const BoxKey action = pending_;
  // A held Enter repeats its release; the query runs once.
  if (key->isAutoRepeat() && action == BoxKey::kRun) return true;
  if (!key->isAutoRepeat()) pending_ = BoxKey::kNone;
  ActOnBoxKey(action);
  return true;
}

void CNavBar::ActOnBoxKey(BoxKey key) {
  switch (key) {
    case BoxKey::kRun:
      emit QueryWanted();
      break;
    case BoxKey::kPreviousQuery:
      emit CommandWanted(kCmdPreviousQuery);
      break;
    case BoxKey::kNextQuery:
      emit CommandWanted(kCmdNextQuery);
      break;
    case BoxKey::kNextPrompt:
      tool_->NextPrompt();
      ShowChosenPrompt();
      break;
    case BoxKey::kPreviousPrompt:
      tool_->PreviousPrompt();
      ShowChosenPrompt();
      break;
    case BoxKey::kNone:
      break;
  }
}

void CNavBar::FillPrompts() {
  const QSignalBlocker quiet(prompts_);
  prompts_->clear();
  for (size_t i = 0; i < tool_->GetPromptCount(); ++i) {
    const CQueryPrompt* prompt = tool_->GetPrompt(i);
    QString text = ToQString(prompt->GetText());
    if (!prompt->GetValue().empty()) text += QLatin1Char(' ') + ToQString(prompt->GetValue());
    prompts_->addItem(text);
  }
  ShowChosenPrompt();
  prompts_->view()->update();
}

void CNavBar::ShowChosenPrompt() {
  const QSignalBlocker quiet(prompts_);
  const int chosen = tool_->GetComboSelection();
  prompts_->setCurrentIndex(chosen < prompts_->count() ? chosen : -1);
}

}  // namespace vorn::shell
