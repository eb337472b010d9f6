#include "report/chng_context.h"

#include <algorithm>
#include <string>
#include <utility>

#include "report/listing_body.h"
#include "report/listing_lines.h"
#include "report/report_lines.h"

namespace kelvarine {

namespace {

constexpr int kWindow = PairState::kChngWindow;
constexpr int kContext = kWindow - 1;  // unchanged lines shown on either side of a change

// Writes held lines first..last - 1 in order.
void writeHeld(CompareContext& context, int first, int last) {
  PairState& pair = context.pair();
  for (int i = first; i < last; ++i)
    AppendListingLine(context, std::move(pair.ChngHeldLines[static_cast<std::size_t>(i)]));
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
  PairState& pair = context.pair();
  auto& held = pair.ChngHeldLines;
  pair.ChngHeld = std::clamp(pair.ChngHeld, 0, kWindow - 1);
  const bool change = !line.empty() && line[0] != ' ';
  held[static_cast<std::size_t>(pair.ChngHeld++)] = std::move(line);

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
    held[0] = std::move(held[kContext]);
    pair.ChngHeld = 1;
    pair.ChngTrailing = false;
    pair.ChngGapPending = true;
  } else {
    std::rotate(held.begin(), held.begin() + 1, held.end());
    pair.ChngHeld = kContext;
    ++pair.ChngSkipped;
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
