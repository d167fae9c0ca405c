// How the hits pane's navigation keys move: between hits, never onto a word
// that is not one, by the same verse, chapter and book steps as the text
// pane uses between words.
#pragma once

#include <cstdint>
#include <vector>

#include "textdb/types.h"

namespace vorn {
class CVornDB;
}

namespace vorn::shell {

enum class HitMove {
  kFirst,        // Home: the first hit of the list
  kLast,         // End: the last hit of the list
  kNextVerse,    // Ctrl+Down: the first hit after the focus's verse
  kPrevVerse,    // Ctrl+Up: the first hit of the focus's verse, or of the
                 // previous verse with hits when the focus is already there
  kNextChapter,  // Ctrl+Page Down
  kPrevChapter,  // Ctrl+Page Up
  kEndOfBook,    // Ctrl+End: the last hit of the focus's book
  kStartOfBook,  // Ctrl+Home: as kPrevVerse, by books
};

// The hit `move` leads to from `focus`; -1 when there is none (no hits, the
// focus outside every verse, or nothing in that direction). `hits` is the
// ascending hit list; `db` must be the database the hits belong to.
WordIndex HitMoveTarget(CVornDB* db, const std::vector<uint32_t>& hits, WordIndex focus,
                        HitMove move);

}  // namespace vorn::shell
