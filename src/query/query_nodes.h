// The nodes of a parsed query: terms that find words by the forms of a line
// or by a user tag, and compounds that join two operands by union, or by
// intersect and except under a proximity window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "query/proximity.h"
#include "query/query_error.h"
#include "textdb/line.h"
#include "textdb/types.h"
#include "textdb/word_list.h"

namespace vorn {

class CQueryContext;
class CQRanges;
class CQToken;

enum QKind : int32_t {
  kQUnion = 0,
  kQIntersect = 1,
  kQExcept = 2,
};

class CQBit {
 public:
  // `start` and `end`: the first and last character index of the node's
  // text in the query.
  CQBit(int32_t start, int32_t end) : start_(start), end_(end) {}
  virtual ~CQBit() = default;
  CQBit(const CQBit&) = delete;
  CQBit& operator=(const CQBit&) = delete;

  // Fills the hit list. `ranges` (may be null) limits the hits of every
  // term. Prepare must have succeeded first. Operands give up their hit
  // lists to their compound, so only the root keeps one.
  virtual void Evaluate(const CQRanges* ranges) = 0;
  // Looks the terms up against the database and the context's user tags.
  // Returns the first error (owned by the caller) or null. `context` must
  // outlive the node.
  virtual QErrorPtr Prepare(CQueryContext* context) = 0;
  // Appends a description of the tree, one node a line, indented.
  virtual void Dump(int indent, std::string* out) const = 0;
  // The number of nodes on the longest path down from this one (1 for a term).
  virtual int32_t Levels() const { return 1; }

  int32_t GetStart() const { return start_; }
  int32_t GetEnd() const { return end_; }
  const CDBWordList& GetHits() const { return hits_; }
  CDBWordList* MutableHits() { return &hits_; }

 protected:
  int32_t start_;
  int32_t end_;
  CDBWordList hits_;
};

class CQCompound : public CQBit {
 public:
  // `proximity` is null for a union (and for the root).
  CQCompound(int32_t kind, std::unique_ptr<CQProximity> proximity, int32_t start, int32_t end);

  // Makes `left` the left operand and parses the rest of the chain as the
  // right operand: a term or group, then, when an operator follows, that
  // operator's compound with the term as its left operand. On a parse error
  // the token holds the error and the tree is incomplete.
  void ParseChain(CQToken* token, std::unique_ptr<CQBit> left);
  // Parses a group after its "(": the group's value, or null on an error.
  static std::unique_ptr<CQBit> ParseGroup(CQToken* token);

  void Evaluate(const CQRanges* ranges) override;
  QErrorPtr Prepare(CQueryContext* context) override;
  void Dump(int indent, std::string* out) const override;
  int32_t Levels() const override;

  int32_t GetKind() const { return kind_; }
  const CQBit* GetLeft() const { return left_.get(); }
  const CQBit* GetRight() const { return right_.get(); }
  const CQProximity* GetProximity() const { return proximity_.get(); }

 private:
  void Intersect(const CDBWordList& left, const CDBWordList& right);
  void Except(const CDBWordList& left, const CDBWordList& right);
  QWindow Window(uint32_t hit);

  int32_t kind_;
  std::unique_ptr<CQBit> left_;
  std::unique_ptr<CQBit> right_;
  std::unique_ptr<CQProximity> proximity_;
};

class CQSimple : public CQBit {
 public:
  // A term on `line` (borrowed; owned by the database) for `text`, the
  // search word as typed; a null line makes a user-tag term for the tag
  // named `text`. `position` may be null.
  CQSimple(CVornDBLine* line, std::u16string text, std::unique_ptr<CQPosition> position,
           int32_t start, int32_t end);

  void Evaluate(const CQRanges* ranges) override;
  QErrorPtr Prepare(CQueryContext* context) override;
  void Dump(int indent, std::string* out) const override;

  CVornDBLine* GetLine() const { return line_; }
  const std::u16string& GetText() const { return text_; }
  const CQPosition* GetPosition() const { return position_.get(); }
  // The matched forms after Prepare; empty when there were more than
  // kKeptForms (Evaluate then matches again).
  const FormList& GetForms() const { return forms_; }
  // A chain of hundreds of terms that each match most forms of a large text
  // would otherwise hold hundreds of form lists from Prepare to Evaluate.
  static constexpr size_t kKeptForms = 4096;
  const std::vector<WordSpan>& GetTagSpans() const { return tag_spans_; }

  // Matches the search word ignoring accents, points, breathings and case.
  void SetLoose(bool loose) { loose_ = loose; }
  bool IsLoose() const { return loose_; }
  // How the term was typed: its keyword, and where in the query text a '~'
  // would make the word loose. The message for a word that matches
  // nothing quotes the one and suggests the other; without them it is
  // plainer.
  void SetTyped(std::u16string keyword, int32_t mark_at) {
    keyword_ = std::move(keyword);
    mark_at_ = mark_at;
  }

 private:
  bool Match(FormList* forms) const;
  QErrorPtr NothingMatched() const;

  std::u16string text_;
  std::u16string keyword_;
  int32_t mark_at_ = -1;
  bool loose_ = false;
  std::unique_ptr<CQPosition> position_;
  CVornDBLine* line_;
  FormList forms_;
  bool match_again_ = false;
  std::vector<WordSpan> tag_spans_;
};

}  // namespace vorn
