// The section analysis read plainly off its rules, for comparison with the text model's: one row
// per line with its depth, shade, six running counts and whether it is a header. Standard C++
// only; shared by the tests and the fuzz targets.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "textmodel/SectionShades.h"
#include "textmodel/TextModel.h"

namespace plain {

// One line's analysis: depth, shade, the six running counts and whether it is a header.
using Row = std::vector<long long>;

// The rows the model holds now (its per-line arrays must reach every line).
inline std::vector<Row> Rows(const CTextModel& m) {
  std::vector<Row> rows;
  for (std::size_t i = 0; i < m.lines.size(); ++i) {
    rows.push_back({m.braceDepth[i], m.lineBackground[i], m.conCount[i], m.varCount[i], m.objCount[i], m.pubCount[i],
                    m.priCount[i], m.datCount[i], std::count(m.sectionLines.begin(), m.sectionLines.end(), i)});
  }
  return rows;
}

// The analysis read straight off its rules.
inline std::vector<Row> Analyse(const std::vector<std::string>& lines) {
  std::vector<Row> rows;
  long long depth = 0, shade = kShadeBeforeFirstHeader, counts[6] = {};
  for (const std::string& line : lines) {
    const long long before = depth;
    for (char ch : line.substr(0, line.find('\''))) depth += (ch == '{') - (ch == '}');
    bool header = false;
    if (before <= 0 || depth <= 0) {  // not wholly inside a comment
      std::string text = line;
      std::size_t pos = 0;
      for (long long k = 0; before > 0 && depth == 0 && k < before && pos != std::string::npos; ++k)
        if ((pos = text.find('}', pos)) != std::string::npos) ++pos;
      if (pos != std::string::npos) text.erase(0, pos);
      text.erase(0, std::min(text.size(), text.find_first_not_of(" \t\n\v\f\r")));
      const std::size_t end = text.find_first_of(" '");
      std::string word = end == std::string::npos || end == 0 ? text : text.substr(0, end);
      for (char& ch : word) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
      for (int k = 0; k < 6; ++k) {
        if (word != kSectionKinds[k].word) continue;
        header = true;
        shade = ++counts[k] % 2 ? kSectionKinds[k].odd : kSectionKinds[k].even;
      }
    }
    rows.push_back({depth, shade, counts[0], counts[1], counts[2], counts[3], counts[4], counts[5], header});
  }
  return rows;
}

}  // namespace plain
