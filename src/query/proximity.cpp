#include "query/proximity.h"

#include "platform/u16.h"
#include "query/query_context.h"

namespace vorn {

namespace {

int32_t UnitOfPosition(int32_t unit) {
  switch (unit) {
    case kQPosSentence:
      return kQUnitSentence;
    case kQPosParagraph:
      return kQUnitParagraph;
    case kQPosVerse:
      return kQUnitVerse;
    default:
      return kQUnitProposition;
  }
}

const char* UnitName(int32_t unit) {
  static const char* const kNames[] = {"word",    "sentence", "paragraph",  "verse",
                                       "chapter", "usertag",  "proposition"};
  return unit >= 0 && unit <= 6 ? kNames[unit] : "?";
}

}  // namespace

QErrorPtr LookUpUserTag(CQueryContext* context, const std::u16string& name, int32_t start,
                        int32_t end, std::vector<WordSpan>* spans) {
  spans->clear();
  switch (context->FindUserTag(name, spans)) {
    case CQueryContext::TagLookup::kUnknown:
      return MakeQError(u"Unknown user tag", start, end);
    case CQueryContext::TagLookup::kNotDisplayed:
      return MakeQError(u"User tag not displayed", start, end);
    case CQueryContext::TagLookup::kFound:
      break;
  }
  if (spans->empty()) return MakeQError(u"No words marked with this user tag", start, end);
  return nullptr;
}

CQProximity::CQProximity(int32_t direction, int32_t amount, int32_t unit, CQueryContext* context)
    : direction_(direction), amount_(amount), unit_(unit), context_(context) {
  if (unit_ != kQUnitWord && unit_ >= kQUnitSentence && unit_ <= kQUnitProposition)
    units_ = std::make_unique<CQUnitSpans>(unit_, context_);
}

void CQProximity::SetTagName(std::u16string name, int32_t start, int32_t end) {
  tag_name_ = std::move(name);
  tag_start_ = start;
  tag_end_ = end;
}

QErrorPtr CQProximity::Prepare(CQueryContext* context) {
  if (unit_ != kQUnitUserTag) return nullptr;
  QErrorPtr error = LookUpUserTag(context, tag_name_, tag_start_, tag_end_, &tag_spans_);
  if (!error && units_) units_->SetTagSpans(tag_spans_);
  return error;
}

QWindow CQProximity::Window(uint32_t hit) {
  const int64_t h = hit;
  const int64_t amount = amount_ < 0 ? 0 : amount_;
  QWindow w;
  switch (unit_) {
    case kQUnitWord:
      w.start = amount >= h ? 0 : h - amount;
      w.end = h + amount + 1;
      break;
    case kQUnitUserTag: {
      CQUnitSpans::Unit u = units_->UnitOf(hit);
      if (u.IsNone()) {
        w.start = w.end = h;  // outside every span: nothing can qualify
      } else if (direction_ == kQPreceding) {
        w.start = h;
        w.end = u.span.end;
      } else if (direction_ == kQFollowing) {
        w.start = u.span.first;
        w.end = h + 1;
      } else {
        w.start = u.span.first;
        w.end = u.span.end;
      }
      break;
    }
    case kQUnitSentence:
    case kQUnitParagraph:
    case kQUnitVerse:
    case kQUnitChapter:
    case kQUnitProposition: {
      CQUnitSpans::Unit u = units_->UnitOf(hit);
      if (u.IsNone()) {
        // A word outside every unit (no verse index, a proposition gap) has
        // no unit to share with anything.
        w.start = w.end = h;
        break;
      }
      const int64_t back = direction_ == kQEitherSide || direction_ == kQFollowing ? amount : 0;
      const int64_t forward = direction_ == kQEitherSide || direction_ == kQPreceding ? amount : 0;
      WordSpan s = units_->Widen(u, back, forward);
      w.start = s.first;
      w.end = s.end;
      break;
    }
    default:
      return QWindow{0, -1};
  }
  // A direction never lets the hit's own word count.
  if (direction_ == kQPreceding) {
    w.start = h + 1;
  } else if (direction_ == kQFollowing) {
    w.end = h;
  }
  return w;
}

std::string CQProximity::Describe() const {
  std::string s;
  if (direction_ == kQPreceding) s = "preceding ";
  if (direction_ == kQFollowing) s = "following ";
  s += "within " + std::to_string(amount_) + " " + UnitName(unit_);
  if (unit_ == kQUnitUserTag) s += " " + platform::ToUtf8(tag_name_);
  return s;
}

CQPosition::CQPosition(int32_t kind, int32_t unit, CQueryContext* context)
    : kind_(kind), unit_(unit), units_(UnitOfPosition(unit), context) {}

bool CQPosition::Rejects(uint32_t hit) {
  CQUnitSpans::Unit u = units_.UnitOf(hit);
  const int64_t h = hit;
  const int64_t s = u.span.first;
  const int64_t e = u.span.end;
  const bool found = !u.IsNone();
  const bool first = found && h == s;
  const bool last = found && h + 1 == e;
  switch (kind_) {
    case kQInitial:
      return !first;
    case kQNonInitial:
      return first;
    case kQMedial:
      return !(found && s < h && (e == -1 || h < e - 1));
    case kQNonMedial:
      return !(first || last);
    case kQFinal:
      return !last;
    case kQNonFinal:
      return last;
    default:
      return false;
  }
}

std::string CQPosition::Describe() const {
  static const char* const kKinds[] = {"initial",    "non-initial", "medial",
                                       "non-medial", "final",       "non-final"};
  static const char* const kUnits[] = {"sentence", "paragraph", "verse", "proposition"};
  std::string s = kind_ >= 0 && kind_ <= 5 ? kKinds[kind_] : "?";
  s += " in a ";
  s += unit_ >= 0 && unit_ <= 3 ? kUnits[unit_] : "?";
  return s;
}

}  // namespace vorn
