// The block model of today's mail: what each line of a body is to the
// renderer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class LineKind : unsigned char {
  kEmpty,     // no text: ends the paragraph
  kProse,     // filled together with the lines of its paragraph
  kKept,      // has a structure (patch, diffstat, code, trailer, table, rule):
              // keeps its line, never wrapped or joined
  kItem,      // begins a list item
  kItemMore,  // an indented line that continues the list item above
};

struct LineBlock {
  LineKind kind = LineKind::kProse;
  // kItem: the bytes before the item's text (indentation, marker, blanks);
  // kItemMore: the bytes of indentation.
  uint32_t lead = 0;
  // kItem, kItemMore: the columns the item's continuation lines are indented by.
  uint32_t hang = 0;
};

// Classifies the texts (quote prefixes cut off) of a body, line by line; a
// line's depth is its quote depth.  Lines of one depth that follow each other
// form a run; only a patch's hunk reaches across other runs, because a
// reviewer's comments interrupt a quoted hunk.
void ClassifyLines(const std::vector<std::string>& lines, const std::vector<int32_t>& depths,
                   std::vector<LineBlock>& blocks);
