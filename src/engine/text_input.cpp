#include "engine/text_input.h"

namespace kelvarine {

void TextInput::clear(bool keepCcol) {
  TextInput fresh;
  if (keepCcol) {
    fresh.CcolTwoRanges = CcolTwoRanges;
    fresh.CcolStart1 = CcolStart1;
    fresh.CcolEnd1 = CcolEnd1;
    fresh.CcolStart2 = CcolStart2;
    fresh.CcolEnd2 = CcolEnd2;
  }
  // The buffers' memory is kept for the next pair; their bytes are never read before being written.
  fresh.ReadBuf = std::move(ReadBuf);
  fresh.LineBuf = std::move(LineBuf);
  Feed.reset();
  fresh.Feed = std::move(Feed);
  *this = std::move(fresh);
}

}  // namespace kelvarine
