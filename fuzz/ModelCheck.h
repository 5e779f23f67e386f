// The text model's invariants and its agreement with the plain readings of the
// section analysis and the colouring, for the fuzz targets.
#pragma once

#include <string>
#include <vector>

#include "FuzzInput.h"
#include "support/PlainAnalysis.h"
#include "support/PlainColouring.h"
#include "textmodel/SampleColorizer.h"
#include "textmodel/TextModel.h"

namespace fuzz {

// What the colorizer in use gives the line, read plainly.
inline std::vector<COLORREF> PlainColours(CColorizer& c, const std::string& line, COLORREF shade, int depth) {
  if (dynamic_cast<CSampleColorizer*>(&c) != nullptr) return plain::Sample(c, line, shade, depth);
  return plain::Base(c, line, shade);
}

inline std::string LineNote(const CTextModel& m, std::size_t i) {
  return " (line " + std::to_string(i) + " of " + std::to_string(m.lines.size()) + ": \"" + Escaped(m.lines[i]) +
         "\")";
}

// The invariants that hold between any two calls: lines and colour vectors
// paired, every colour vector empty or one colour per byte (`coloured` says
// which), the per-line arrays of one length, the section lists of one length.
// `colourSizes` holds, per line, kOwnSize for a coloured line, else the number
// of colours its vector keeps (0 for a line never coloured).
constexpr long kOwnSize = -1;
inline void CheckPairing(const CTextModel& m, const std::vector<long>& colourSizes) {
  if (m.lineColours.size() != m.lines.size()) Fail("colour vectors and lines out of step");
  if (colourSizes.size() != m.lines.size()) Fail("line count differs from the lines inserted and removed");
  for (std::size_t i = 0; i < m.lines.size(); ++i) {
    const std::size_t expected =
        colourSizes[i] == kOwnSize ? m.lines[i].size() : static_cast<std::size_t>(colourSizes[i]);
    if (m.lineColours[i].size() != expected)
      Fail("colour vector of " + std::to_string(m.lineColours[i].size()) + " for " + std::to_string(expected) +
           " expected" + LineNote(m, i));
  }
  const std::size_t n = m.lineBackground.size();
  for (const auto* a : {&m.braceDepth, &m.conCount, &m.varCount, &m.objCount, &m.pubCount, &m.priCount, &m.datCount})
    if (a->size() != n) Fail("per-line arrays of different lengths");
  if (m.sectionNames.size() != m.sectionLines.size()) Fail("section names and lines out of step");
}

inline std::size_t LongestLine(const CTextModel& m) {
  std::size_t longest = 0;
  for (const std::string& line : m.lines) longest = std::max(longest, line.size());
  return longest;
}

// After a full analysis: every per-line array, the section list and the names
// are those of an analysis from scratch.
inline void CheckAnalysis(const CTextModel& m) {
  if (m.lineBackground.size() != m.lines.size()) Fail("per-line arrays do not reach every line after an analysis");
  const std::vector<plain::Row> expected = plain::Analyse(m.lines);
  const std::vector<plain::Row> rows = plain::Rows(m);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i] != expected[i]) {
      std::string got, want;
      for (long long v : rows[i]) got += std::to_string(v) + " ";
      for (long long v : expected[i]) want += std::to_string(v) + " ";
      Fail("analysis differs from one from scratch" + LineNote(m, i) + "\nstored   " + got + "\nexpected " + want);
    }
  }
  auto name = m.sectionNames.begin();
  for (std::int32_t line : m.sectionLines) {
    const std::string& text = m.lines.at(static_cast<std::size_t>(line));
    std::wstring wide(text.begin(), text.end());
    for (std::size_t k = 0; k < text.size(); ++k) wide[k] = static_cast<unsigned char>(text[k]);
    if (*name++ != wide) Fail("section name is not its line" + LineNote(m, static_cast<std::size_t>(line)));
  }
}

// Line i's colours against the plain colouring at the shade and depth given.
inline void CheckLineColours(const CTextModel& m, std::size_t i, COLORREF shade, int depth) {
  if (m.lineColours[i] != PlainColours(*m.colorizer, m.lines[i], shade, depth))
    Fail("line coloured differently from the plain colouring" + LineNote(m, i));
}

// After a full recolouring: every line coloured at its analysed shade and the
// depth at its start.
inline void CheckAllColours(const CTextModel& m) {
  const std::vector<plain::Row> rows = plain::Analyse(m.lines);
  for (std::size_t i = 0; i < m.lines.size(); ++i)
    CheckLineColours(m, i, static_cast<COLORREF>(rows[i][1]), i == 0 ? 0 : static_cast<int>(rows[i - 1][0]));
}

}  // namespace fuzz
