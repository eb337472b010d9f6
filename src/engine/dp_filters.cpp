#include "engine/dp_filters.h"

#include <algorithm>
#include <cstring>

#include "engine/compare_key.h"
#include "engine/engine_fault.h"

namespace kelvarine {
namespace {

constexpr char kBlank = ' ';

// One line under a filter's walk: exactly Len characters, with a blank standing for the character
// after the last one.
struct LineView {
  const char* text;
  int len;

  char at(int i) const { return i < len ? text[i] : kBlank; }
};

LineView viewOf(const LineRecord& record) {
  return {record.Text, record.Len};
}

bool firstBlanksOnly(const char* text, int count) {
  for (int i = 0; i < count; ++i) {
    if (text[i] != kBlank) return false;
  }
  return true;
}

bool isBlankLine(const LineRecord& record, const std::string& blankLine) {
  if (record.Len <= 0) return true;
  if (record.Len == 1 && record.Text[0] == kBlank) return true;
  if (static_cast<std::size_t>(record.Len) > blankLine.size())
    return firstBlanksOnly(record.Text, record.Len);
  return std::memcmp(record.Text, blankLine.data(), static_cast<std::size_t>(record.Len)) == 0;
}

// Dsem and Drem: a line whose first non-blank character starts the comment is a Dp line.
void leadingLineTest(LineRecord& record, bool rem) {
  const LineView line = viewOf(record);
  int first = 0;
  while (first < line.len && line.text[first] == kBlank)
    ++first;
  if (first == line.len) return;
  if (rem) {
    if (first + 3 > line.len || std::memcmp(line.text + first, "rem", 3) != 0) return;
  } else if (line.text[first] != ';') {
    return;
  }
  CutToEnd(record, first + 1);
}

// Ends a Pascal-style line: a comment still open is carried to the next line and cut from its start.
void carryPascalComment(TextInput& input, LineRecord& record, bool paren, bool brace, int start) {
  if (paren) {
    input.CarryParenComment = true;
  } else if (brace) {
    input.CarryBraceComment = true;
  } else {
    return;
  }
  CutToEnd(record, start);
}

// Ddlc, and Ddl2 with `slashes`: "{...}" (not "{$") and "(*...*)" comments; Ddl2 adds "//" to the
// end of the line and "/*" as a second opener of a "*)"-closed comment. Apostrophes quote.
void pascalFilter(TextInput& input, LineRecord& record, bool slashes) {
  const LineView line = viewOf(record);
  bool quote = false, paren = false, brace = false;
  int start = 0;  // 1-based position of the open comment's first character
  if (input.CarryParenComment) {
    input.CarryParenComment = false;
    paren = true;
    start = 1;
  } else if (input.CarryBraceComment) {
    input.CarryBraceComment = false;
    brace = true;
    start = 1;
  }
  for (int i = 0; i < line.len; ++i) {
    const char c = line.text[i];
    const char next = line.at(i + 1);
    if (quote) {
      if (c == '\'') quote = false;
      continue;
    }
    if (c == '\'') {
      quote = true;
      continue;
    }
    if (!paren && !brace) {
      if (slashes && c == '/' && next == '/') {
        CutToEnd(record, i + 1);
        return;
      }
      if (c == '{' && next != '$') {
        brace = true;
        start = i + 1;
      } else if ((c == '(' || (slashes && c == '/')) && next == '*') {
        paren = true;
        start = i + 1;
        ++i;
      }
    } else if (brace && c == '}') {
      CutSpan(record, start, i + 1);
      brace = false;
    } else if (paren && c == '*' && next == ')') {
      CutSpan(record, start, i + 2);
      paren = false;
      ++i;
    }
  }
  if (slashes && quote) return;
  carryPascalComment(input, record, paren, brace, start);
}

// Dcpp: "//" to the end of the line and "/*" to "*/", with double-quoted strings, backslash escapes
// and the character literal '"'. A string or comment open at the end of the line is carried.
void cppFilter(TextInput& input, LineRecord& record) {
  const LineView line = viewOf(record);
  bool inString = false, inComment = false;
  int start = 0;
  if (input.CarryCppString) {
    input.CarryCppString = false;
    inString = true;
  } else if (input.CarryCppComment) {
    input.CarryCppComment = false;
    inComment = true;
    start = 1;
  }
  for (int i = 0; i < line.len; ++i) {
    const char c = line.text[i];
    const char next = line.at(i + 1);
    if (c == '/') {
      if (inString) continue;
      if (next == '/') {
        CutToEnd(record, i + 1);
        return;
      }
      if (next == '*') {
        inComment = true;
        start = i + 1;
        ++i;
      }
    } else if (c == '*') {
      if (next == '/' && !inString && inComment) {
        CutSpan(record, start, i + 2);
        inComment = false;
        ++i;
      }
    } else if (c == '\\') {
      if (i + 1 < line.len) ++i;
    } else if (c == '"') {
      if (next == '\'') {
        ++i;
      } else {
        inString = !inString;
      }
    }
  }
  if (inComment) {
    CutToEnd(record, start);
    input.CarryCppComment = true;
  } else if (inString) {
    input.CarryCppString = true;
  }
}

// Dhtm: "<!--" to "-->"; quotes play no part. An open comment is carried until its closer.
void htmlFilter(TextInput& input, LineRecord& record) {
  const LineView line = viewOf(record);
  bool inComment = input.CarryHtmlComment;
  int start = inComment ? 1 : 0;
  int i = 0;
  while (i < line.len) {
    if (inComment) {
      if (i + 3 <= line.len && std::memcmp(line.text + i, "-->", 3) == 0) {
        CutSpan(record, start, i + 3);
        inComment = false;
        input.CarryHtmlComment = false;
        i += 3;
        continue;
      }
    } else if (i + 4 <= line.len && std::memcmp(line.text + i, "<!--", 4) == 0) {
      inComment = true;
      start = i + 1;
      input.CarryHtmlComment = true;
      i += 4;
      continue;
    }
    ++i;
  }
  if (inComment) CutToEnd(record, start);
}

// Dvbc: an apostrophe anywhere, or a backslash outside a double-quoted string, starts a comment to
// the end of the line. Nothing is carried.
void vbFilter(LineRecord& record) {
  const LineView line = viewOf(record);
  bool inString = false;
  for (int i = 0; i < line.len; ++i) {
    const char c = line.text[i];
    if (c == '"') {
      inString = !inString;
    } else if (c == '\'' || (c == '\\' && !inString)) {
      CutToEnd(record, i + 1);
      return;
    }
  }
}

// Dudc: the first character of the tag text starts a comment to the end of the line. With "No" an
// embedded comment is blanked without making the line a part-Dp line.
void userTagFilter(LineRecord& record, const CompareOptions& options) {
  if (options.DudcTag.empty()) throw EngineFault("Dudc comment tag is empty");
  const LineView line = viewOf(record);
  const void* found = std::memchr(line.text, options.DudcTag[0], static_cast<std::size_t>(line.len));
  if (found == nullptr) return;
  CutToEnd(record, static_cast<int>(static_cast<const char*>(found) - line.text) + 1);
  if (record.PartDp && options.DudcYesNo == "No") record.PartDp = false;
}

}  // namespace

void CutToEnd(LineRecord& record, int p) {
  const int from = std::max(p, 1);
  if (from <= record.Len)
    std::memset(record.Text + from - 1, kBlank, static_cast<std::size_t>(record.Len - from + 1));
  const bool blank = firstBlanksOnly(record.Text, std::min(from - 1, record.Len));
  record.DpLine = blank;
  record.PartDp = !blank;
}

void CutSpan(LineRecord& record, int p, int q) {
  const int from = std::max(p, 1);
  const int to = std::min(q, record.Len);
  if (from <= to) std::memset(record.Text + from - 1, kBlank, static_cast<std::size_t>(to - from + 1));
  if (firstBlanksOnly(record.Text, record.Len)) {
    // The whole line is comment now: a whole Dp line, no longer also a part-Dp line (it would
    // otherwise be counted as both).
    record.DpLine = true;
    record.PartDp = false;
  } else {
    record.PartDp = true;
  }
}

void ClassifyDpLine(TextInput& input, LineRecord& record, const CompareOptions& options,
                    const std::string& blankLine) {
  if (isBlankLine(record, blankLine)) {
    record.DpLine = true;
    return;
  }
  if (options.Dsem || options.Drem) {
    leadingLineTest(record, options.Drem);
  } else if (options.Ddlc || options.Ddl2) {
    pascalFilter(input, record, options.Ddl2);
  } else if (options.Dcpp) {
    cppFilter(input, record);
  } else if (options.Dhtm) {
    htmlFilter(input, record);
  } else if (options.Dvbc) {
    vbFilter(record);
  } else if (options.Dudc) {
    userTagFilter(record, options);
  }
  // Dblk needs nothing beyond the blank test; the reader marks Dcob lines itself.
}

void PrepareLines(CompareContext& context) {
  context.host.setStatusText("Processing Data.");
  const CompareOptions& options = context.options();
  const auto prepareSide = [&](TextInput& input, LineTable& table) {
    for (int i = options.DpActive ? 1 : input.KeysMade + 1; i <= input.Count; ++i) {
      LineRecord& record = table[i];
      if (options.DpActive) ClassifyDpLine(input, record, options, context.blankLine);
      if (!record.DpLine) PrepareCompareKey(record, options.Icas, options.Ccol);
    }
  };
  prepareSide(context.newInput, context.newTable);
  prepareSide(context.oldInput, context.oldTable);
}

}  // namespace kelvarine
