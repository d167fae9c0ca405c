// The proximity clause of an intersect or except ("preceding within 2
// verses of") and the position qualifier of a term ("initial in a verse").
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "query/query_error.h"
#include "query/unit_spans.h"
#include "textdb/types.h"

namespace vorn {

class CQueryContext;

enum QDirection : int32_t {
  kQEitherSide = 0,
  kQPreceding = 1,  // the other operand must come after the hit
  kQFollowing = 2,  // the other operand must come before the hit
};

// The word span in which the other operand must have a hit: words
// start .. end-1; an end of -1 means no upper bound. Wide enough for any
// amount a query can give.
struct QWindow {
  int64_t start = 0;
  int64_t end = -1;
};

class CQProximity {
 public:
  // `direction` a QDirection, `amount` the number of units beyond the hit's
  // own, `unit` a QUnit. `context` is borrowed and must outlive this object.
  CQProximity(int32_t direction, int32_t amount, int32_t unit, CQueryContext* context);

  // For the user-tag unit: the tag's name (lower case) and the character
  // positions of its token in the query.
  void SetTagName(std::u16string name, int32_t start, int32_t end);

  // Only the user-tag unit needs preparing: it takes the tag's spans from
  // the context. Returns the error (positions of the name token) or null.
  QErrorPtr Prepare(CQueryContext* context);

  // The window of `hit`. Calls must come with ascending hits for speed (any
  // order gives the right answer).
  QWindow Window(uint32_t hit);

  int32_t GetDirection() const { return direction_; }
  int32_t GetAmount() const { return amount_; }
  int32_t GetUnit() const { return unit_; }
  const std::u16string& GetTagName() const { return tag_name_; }
  int32_t GetTagNameStart() const { return tag_start_; }
  int32_t GetTagNameEnd() const { return tag_end_; }
  const std::vector<WordSpan>& GetTagSpans() const { return tag_spans_; }

  // "preceding within 2 verse", "within 0 usertag theme"...
  std::string Describe() const;

 private:
  int32_t direction_;
  int32_t amount_;
  int32_t unit_;
  CQueryContext* context_;
  std::u16string tag_name_;
  int32_t tag_start_ = 0;
  int32_t tag_end_ = 0;
  std::vector<WordSpan> tag_spans_;
  std::unique_ptr<CQUnitSpans> units_;
};

enum QPositionKind : int32_t {
  kQInitial = 0,
  kQNonInitial = 1,
  kQMedial = 2,
  kQNonMedial = 3,
  kQFinal = 4,
  kQNonFinal = 5,
};

// Units of a position qualifier; the values are those a qualifier stores.
enum QPositionUnit : int32_t {
  kQPosSentence = 0,
  kQPosParagraph = 1,
  kQPosVerse = 2,
  kQPosProposition = 3,
};

class CQPosition {
 public:
  // `kind` a QPositionKind, `unit` a QPositionUnit. `context` is borrowed
  // and must outlive this object.
  CQPosition(int32_t kind, int32_t unit, CQueryContext* context);

  // Whether `hit` fails the qualifier. A word that no unit holds is neither
  // first nor last nor medial. Ascending hits are fastest.
  bool Rejects(uint32_t hit);

  int32_t GetKind() const { return kind_; }
  int32_t GetUnit() const { return unit_; }
  std::string Describe() const;

 private:
  int32_t kind_;
  int32_t unit_;
  CQUnitSpans units_;
};

// Looks a user tag up for a term or a proximity: the three messages of a tag
// that cannot be used, with the given positions; on success fills `spans`.
QErrorPtr LookUpUserTag(CQueryContext* context, const std::u16string& name, int32_t start,
                        int32_t end, std::vector<WordSpan>* spans);

}  // namespace vorn
