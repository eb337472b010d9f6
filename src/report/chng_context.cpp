#include "report/chng_context.h"

#include <algorithm>
#include <string>
#include <utility>

#include "report/listing_lines.h"
#include "report/report_format.h"
#include "report/report_line_kind.h"
#include "report/report_lines.h"

namespace kelvarine {

namespace {

constexpr int kWindow = PairState::kChngWindow;
constexpr int kContext = kWindow - 1;  // unchanged lines shown on either side of a change

// The k-th oldest held line.
PairState::HeldLine& heldLine(PairState& pair, int k) {
  return pair.ChngHeldLines[static_cast<std::size_t>((pair.ChngFirst + k) % kWindow)];
}

// Writes the held lines first..last - 1, oldest first.
void writeHeld(CompareContext& context, int first, int last) {
  PairState& pair = context.pair();
  for (int i = first; i < last; ++i) {
    PairState::HeldLine& held = heldLine(pair, i);
    if (held.matched) {
      const ListingText text = held.at != nullptr
                                   ? ListingText{held.at, held.len}
                                   : ListingText{held.text.data(), static_cast<int>(held.text.size())};
      AppendListingLine(context, MatchedLine(text, context.options().Fscl, held.newRef, held.oldRef));
    } else {
      AppendListingLine(context, std::move(held.text));
    }
  }
}

// The place of the line about to be held.
PairState::HeldLine& nextSlot(PairState& pair) {
  pair.ChngHeld = std::clamp(pair.ChngHeld, 0, kWindow - 1);
  pair.ChngFirst = std::clamp(pair.ChngFirst, 0, kWindow - 1);
  return heldLine(pair, pair.ChngHeld++);
}

// The window after a line was added: a change shows the held lines; seven unchanged lines either end
// the trailing context of the last change or push the oldest out unshown.
void afterHold(CompareContext& context, bool change) {
  PairState& pair = context.pair();
  if (change) {
    if (pair.ChngGapPending && pair.ChngSkipped > 0) WriteNotShownLine(context);
    writeHeld(context, 0, pair.ChngHeld);
    pair.ChngHeld = 0;
    pair.ChngTrailing = true;
    pair.ChngGapPending = false;
    pair.ChngSkipped = 0;
    return;
  }
  if (pair.ChngHeld < kWindow) return;
  if (pair.ChngTrailing) {
    // The trailing context of the last change is complete; the 7th line may lead into a gap.
    writeHeld(context, 0, kContext);
    pair.ChngFirst = (pair.ChngFirst + kContext) % kWindow;
    pair.ChngHeld = 1;
    pair.ChngTrailing = false;
    pair.ChngGapPending = true;
  } else {
    // The oldest line drops out of the window unshown.
    pair.ChngFirst = (pair.ChngFirst + 1) % kWindow;
    pair.ChngHeld = kContext;
    ++pair.ChngSkipped;
  }
}

}  // namespace

void WriteNotShownLine(CompareContext& context) {
  PairState& pair = context.pair();
  AppendPrintLine(context, NotShownLine(pair.ChngSkipped));
  pair.ChngGapPending = false;
}

void HoldChngLine(CompareContext& context, std::string line) {
  if (!context.options().ListChng) {
    AppendListingLine(context, std::move(line));
    return;
  }
  const bool change = ChangeSideOf(ClassifyReportLine(line, false)) != ChangeSide::None;
  PairState::HeldLine& held = nextSlot(context.pair());
  held.text = std::move(line);
  held.at = nullptr;
  held.matched = false;
  afterHold(context, change);
}

void HoldChngMatchedLine(CompareContext& context, ListingText text, int newRef, int oldRef) {
  const bool fscl = context.options().Fscl;
  if (!context.options().ListChng) {
    AppendListingLine(context, MatchedLine(text, fscl, newRef, oldRef));
    return;
  }
  PairState::HeldLine& held = nextSlot(context.pair());
  // Only what the line can show.
  held.at = text.text == nullptr ? "" : text.text;
  held.len = text.text == nullptr ? 0 : std::clamp(text.len, 0, fscl ? kFullTextWidth : kPlainTextWidth);
  held.newRef = newRef;
  held.oldRef = oldRef;
  held.matched = true;
  afterHold(context, /*change=*/false);
}

int ChngLinesToPass(const CompareContext& context, int count) {
  const PairState& pair = context.app.pair;
  if (!context.app.options.ListChng || pair.ChngTrailing || pair.ChngHeld != kContext) return 0;
  return std::max(count - kContext, 0);
}

void PassChngLines(CompareContext& context, int count) {
  context.pair().ChngSkipped += count;
}

void KeepChngHeldLines(CompareContext& context) {
  PairState& pair = context.pair();
  for (int k = 0; k < std::clamp(pair.ChngHeld, 0, kWindow); ++k) {
    PairState::HeldLine& held = heldLine(pair, k);
    if (!held.matched || held.at == nullptr) continue;
    held.text.assign(held.at, static_cast<std::size_t>(held.len));
    held.at = nullptr;
  }
}

void FinishChngContext(CompareContext& context) {
  PairState& pair = context.pair();
  pair.ChngHeld = std::clamp(pair.ChngHeld, 0, kWindow);
  if (pair.ChngTrailing) {
    writeHeld(context, 0, pair.ChngHeld);
  } else if (pair.ChngGapPending) {
    pair.ChngSkipped += pair.ChngHeld;
    WriteNotShownLine(context);
  }
  pair.ChngHeld = 0;
  pair.ChngSkipped = 0;
}

}  // namespace kelvarine
