#include "query/fmt_str.h"

#include "textdb/line.h"

namespace vorn {

namespace {

constexpr std::u16string_view kRtlSuffix = u",R2L";

std::u16string TagName(std::u16string_view face, bool right_to_left) {
  std::u16string name(face);
  if (right_to_left) name += kRtlSuffix;
  return name;
}

}  // namespace

void CFmtStr::AddPiece(std::u16string_view text, const CVornDBLine* line) {
  if (!line) {
    AddPlain(text);
    return;
  }
  const CFontFormat& font = line->GetFont();
  AddFormatted(text, font.face(), font.right_to_left());
}

void CFmtStr::AddPlain(std::u16string_view text) {
  if (text.empty()) return;
  text_ += text;
  // Consecutive plain pieces are one piece, as reading the text back gives.
  if (!pieces_.empty() && pieces_.back().face.empty()) {
    pieces_.back().text += text;
  } else {
    pieces_.push_back({std::u16string(text), {}, false});
  }
}

void CFmtStr::AddFormatted(std::u16string_view text, std::u16string_view face, bool right_to_left) {
  if (face.empty()) {
    AddPlain(text);
    return;
  }
  const std::u16string name = TagName(face, right_to_left);
  text_ += u"<" + name + u">";
  text_ += text;
  text_ += u"</" + name + u">";
  pieces_.push_back({std::u16string(text), std::u16string(face), right_to_left});
}

void CFmtStr::Parse(std::u16string_view formatted) {
  text_ = formatted;
  pieces_.clear();
  std::u16string open;  // the open tag's name; empty while none is open
  std::u16string pending;
  auto flush = [&] {
    if (pending.empty()) return;
    Piece piece{pending, {}, false};
    if (!open.empty()) {
      std::u16string_view name = open;
      if (name.size() > kRtlSuffix.size() &&
          name.substr(name.size() - kRtlSuffix.size()) == kRtlSuffix) {
        name.remove_suffix(kRtlSuffix.size());
        piece.right_to_left = true;
      }
      piece.face = name;
    }
    if (piece.face.empty() && !pieces_.empty() && pieces_.back().face.empty()) {
      pieces_.back().text += piece.text;
    } else {
      pieces_.push_back(std::move(piece));
    }
    pending.clear();
  };

  size_t i = 0;
  while (i < formatted.size()) {
    const size_t lt = formatted.find(u'<', i);
    if (lt == std::u16string_view::npos) break;
    const size_t gt = formatted.find(u'>', lt + 1);
    if (gt == std::u16string_view::npos) break;
    const std::u16string_view tag = formatted.substr(lt + 1, gt - lt - 1);
    bool counted = false;
    if (open.empty()) {
      counted = !tag.empty() && tag[0] != u'/';
    } else {
      counted = tag.size() == open.size() + 1 && tag[0] == u'/' && tag.substr(1) == open;
    }
    if (!counted) {
      // Ordinary text; a tag may still begin inside it.
      pending += formatted.substr(i, lt + 1 - i);
      i = lt + 1;
      continue;
    }
    pending += formatted.substr(i, lt - i);
    flush();
    open = open.empty() ? std::u16string(tag) : std::u16string();
    i = gt + 1;
  }
  pending += formatted.substr(i);
  flush();
}

std::u16string CFmtStr::GetPlainText() const {
  std::u16string out;
  for (const Piece& p : pieces_) out += p.text;
  return out;
}

CFontFormat CFmtStr::PieceFormat(const Piece& piece, const CFontFormat& base) {
  CFontFormat f(base);
  if (!piece.face.empty()) {
    f.SetFace(piece.face);
    f.set_right_to_left(piece.right_to_left);
  }
  return f;
}

}  // namespace vorn
