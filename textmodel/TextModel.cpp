// CTextModel: the line store, its colouring calls and the section hand-over.
#include "textmodel/TextModel.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <stdexcept>
#include <thread>
#include <typeinfo>
#include <utility>

#include "platform/CharClass.h"
#include "textmodel/SampleColorizer.h"

namespace {

// The brace depth at the start of `index`: the stored depth of the line above,
// 0 for the first line. Reading past the analysed lines is an invalid argument.
int DepthAtStart(const std::vector<std::int32_t>& braceDepth, std::int32_t index) {
  if (index == 0) return 0;
  if (static_cast<std::size_t>(index - 1) >= braceDepth.size())
    throw InvalidArgumentError("line not analysed yet");
  return braceDepth[index - 1];
}

COLORREF BackgroundOf(const std::vector<COLORREF>& lineBackground, std::int32_t index) {
  if (static_cast<std::size_t>(index) >= lineBackground.size())
    throw InvalidArgumentError("line not analysed yet");
  return lineBackground[index];
}

// Below this many lines to colour, one thread does it all.
constexpr std::size_t kLinesForThreads = 8192;
constexpr unsigned kMostThreads = 4;

}  // namespace

CTextModel::CTextModel()
    : maxLineLength(0), colorizer(&defaultColorizer), sectionsChanged(false) {}

CTextModel::~CTextModel() = default;

void CTextModel::InsertLine(const std::string& text, std::int32_t index, bool recolour) {
  if (index < 0 || index > LineCount()) throw InvalidArgumentError("line index out of range");

  EnsureLengthCounts();
  const bool stamped = StampsStillFollow();
  ForgetAnalysis();
  coloursChecked_ = false;
  lines.insert(lines.begin() + index, text);
  // The colour vector goes in at once so that lines and colours stay paired
  // even when the analysis or the colouring below throws.
  try {
    lineColours.insert(lineColours.begin() + index, std::vector<COLORREF>());
    if (stamped) stamps_.insert(stamps_.begin() + index, ColourStamp());
  } catch (...) {
    if (lineColours.size() > lines.size() - 1) lineColours.erase(lineColours.begin() + index);
    lines.erase(lines.begin() + index);
    throw;
  }
  CountLength(text.size(), +1);
  if (!recolour) return;

  maxLineLength = LongestCounted();
  bool listChanged = false;
  if (AnalyzeSectionsNotingList(listChanged) || listChanged) sectionsChanged = true;
  ColourLine(static_cast<std::size_t>(index), BackgroundOf(lineBackground, index),
             DepthAtStart(braceDepth, index));
}

void CTextModel::SetLine(const std::string& text, std::int32_t index) {
  if (index < 0 || index >= LineCount()) throw InvalidArgumentError("line index out of range");

  EnsureLengthCounts();
  const std::size_t oldLength = lines[index].size();
  NoteLinesChanged(index, index);
  if (static_cast<std::size_t>(index) == probe_) MoveProbe();
  lines[index] = text;
  if (StampsStillFollow()) stamps_[index].valid = false;
  // The new length first: a line that grows stays the longest, and the
  // longest is not looked for afresh below it.
  CountLength(text.size(), +1);
  CountLength(oldLength, -1);
  const COLORREF background = BackgroundOf(lineBackground, index);
  const int depth = DepthAtStart(braceDepth, index);
  if (static_cast<std::size_t>(index) >= lineColours.size())
    throw std::out_of_range("invalid vector<T> subscript");
  ColourLine(static_cast<std::size_t>(index), background, depth);
  maxLineLength = LongestCounted();
}

void CTextModel::RemoveLine(std::int32_t index) {
  if (index < 0 || index >= LineCount()) throw InvalidArgumentError("line index out of range");
  if (static_cast<std::size_t>(index) >= lineColours.size())
    throw std::out_of_range("invalid vector<T> subscript");

  EnsureLengthCounts();
  const bool stamped = StampsStillFollow();
  ForgetAnalysis();
  coloursChecked_ = false;
  const std::size_t length = lines[index].size();
  lines.erase(lines.begin() + index);
  lineColours.erase(lineColours.begin() + index);
  if (stamped) stamps_.erase(stamps_.begin() + index);
  CountLength(length, -1);
  maxLineLength = LongestCounted();
}

void CTextModel::InsertLines(std::int32_t index, std::vector<std::string> texts) {
  if (index < 0 || index > LineCount()) throw InvalidArgumentError("line index out of range");
  if (texts.empty()) return;

  EnsureLengthCounts();
  const bool stamped = StampsStillFollow();
  ForgetAnalysis();
  coloursChecked_ = false;
  const std::size_t count = texts.size();
  std::vector<std::size_t> lengths(count);
  for (std::size_t k = 0; k < count; ++k) lengths[k] = texts[k].size();
  lines.insert(lines.begin() + index, std::make_move_iterator(texts.begin()),
               std::make_move_iterator(texts.end()));
  try {
    lineColours.insert(lineColours.begin() + index, count, std::vector<COLORREF>());
    if (stamped) stamps_.insert(stamps_.begin() + index, count, ColourStamp());
  } catch (...) {
    if (lineColours.size() > lines.size() - count)
      lineColours.erase(lineColours.begin() + index, lineColours.begin() + index + count);
    lines.erase(lines.begin() + index, lines.begin() + index + count);
    throw;
  }
  for (std::size_t length : lengths) CountLength(length, +1);
}

void CTextModel::InsertLinesBeforeRecolour(std::int32_t index, std::vector<std::string> texts) {
  if (index < 0 || index > LineCount()) throw InvalidArgumentError("line index out of range");

  // An analysis after an insertion reports a change whenever it has to
  // resize its arrays; once the flag is up nothing can lower it. So only an
  // insertion that finds the arrays one line short of the new count needs
  // its analysis run, to learn whether it raises the flag.
  const auto arraysFit = [this](std::size_t n) {
    for (const auto* a : {&braceDepth, &conCount, &varCount, &objCount, &pubCount, &priCount, &datCount})
      if (a->size() != n) return false;
    return lineBackground.size() == n;
  };
  while (!texts.empty() && !sectionsChanged && arraysFit(lines.size() + 1)) {
    InsertLine(texts.back(), index, true);
    texts.pop_back();
  }
  if (texts.empty()) return;
  sectionsChanged = true;
  InsertLines(index, std::move(texts));
  FitPerLineArrays();
  maxLineLength = LongestCounted();
}

void CTextModel::RemoveLines(std::int32_t index, std::int32_t count) {
  if (count <= 0) return;
  if (index < 0 || index >= LineCount()) throw InvalidArgumentError("line index out of range");
  if (static_cast<std::size_t>(index) >= lineColours.size())
    throw std::out_of_range("invalid vector<T> subscript");

  const std::int32_t possible =
      std::min({count, LineCount() - index, static_cast<std::int32_t>(lineColours.size()) - index});
  EnsureLengthCounts();
  const bool stamped = StampsStillFollow();
  ForgetAnalysis();
  coloursChecked_ = false;
  std::vector<std::size_t> lengths(static_cast<std::size_t>(possible));
  for (std::int32_t k = 0; k < possible; ++k) lengths[k] = lines[index + k].size();
  lines.erase(lines.begin() + index, lines.begin() + index + possible);
  lineColours.erase(lineColours.begin() + index, lineColours.begin() + index + possible);
  if (stamped) stamps_.erase(stamps_.begin() + index, stamps_.begin() + index + possible);
  for (std::size_t length : lengths) CountLength(length, -1);
  maxLineLength = LongestCounted();
  // The calls one by one would have failed at the first line past the end.
  if (possible < count) {
    if (index >= LineCount()) throw InvalidArgumentError("line index out of range");
    throw std::out_of_range("invalid vector<T> subscript");
  }
}

void CTextModel::RecolourAll() {
  // The lengths are counted afresh in the pass over the lines below; without
  // lines the analysis fails, with the longest line already 0.
  if (lines.empty()) UpdateMaxLineLength();
  if (!lines.empty() && AnalysisReusable() && ColoursFollowLines() && StampsFollowLines() &&
      CurrentContext() == stampContext_) {
    RecolourChangedLines();
    return;
  }
  coloursChecked_ = false;
  bool listChanged = false;
  if (AnalyzeSectionsNotingList(listChanged) || listChanged) sectionsChanged = true;

  if (lineColours.size() != lines.size()) {
    UpdateMaxLineLength();
    throw std::out_of_range("invalid vector<T> subscript");
  }
  // The analysis has sized the per-line arrays to the lines. A line is
  // coloured again only when what it was coloured with differs from what it
  // would be coloured with now.
  if (!StampsFollowLines()) stamps_.assign(lines.size(), ColourStamp());
  const ColouringContext context = CurrentContext();
  if (!(context == stampContext_)) {
    for (ColourStamp& stamp : stamps_) stamp.valid = false;
    stampContext_ = context;
  }
  std::vector<std::uint32_t> stale;
  const std::size_t n = lines.size();
  // The length counts are rebuilt from the lines as they are on the way.
  std::fill(lengthCounts_.begin(), lengthCounts_.end(), 0);
  std::size_t longest = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t length = lines[i].size();
    if (length >= lengthCounts_.size()) lengthCounts_.resize(length + 1, 0);
    ++lengthCounts_[length];
    longest = std::max(longest, length);
    const ColourStamp& stamp = stamps_[i];
    const std::int32_t depth = i == 0 ? 0 : braceDepth[i - 1];
    if (stamp.valid && stamp.shade == lineBackground[i] && stamp.depth == depth &&
        lineColours[i].size() == length)
      continue;
    stale.push_back(static_cast<std::uint32_t>(i));
  }
  countedLines_ = n;
  longestCounted_ = longest;
  maxLineLength = static_cast<std::int32_t>(longest);
  ColourLines(stale);
  NoteColoursChecked();
}

// Only the lines changed since the last analysis, and those below them until
// the analysis repeats what is stored, are analysed again; only the lines it
// passed over can have a new shade or depth, so only they are looked at for
// a stale colouring. Every other line is as the last whole recolouring (or a
// later colouring of its own) left it.
void CTextModel::RecolourChangedLines() {
  coloursChecked_ = false;
  const std::int32_t first = changedFrom_;
  const std::int32_t last = changedTo_;
  std::vector<std::uint32_t> stale;
  if (first <= last) {
    bool listChanged = false;
    std::int32_t end = 0;
    if (AnalyzeChangedLines(first, last, listChanged, end) || listChanged) sectionsChanged = true;
    for (std::int32_t i = first; i < end; ++i) {
      const ColourStamp& stamp = stamps_[i];
      const std::int32_t depth = i == 0 ? 0 : braceDepth[i - 1];
      if (stamp.valid && stamp.shade == lineBackground[i] && stamp.depth == depth &&
          lineColours[i].size() == lines[i].size())
        continue;
      stale.push_back(static_cast<std::uint32_t>(i));
    }
  }
  maxLineLength = LongestCounted();
  ColourLines(stale);
  NoteColoursChecked();
}

// The lines are known to hold what the model last coloured when the line
// store and the colour store are the same vectors, as many as then, and one
// coloured line (the probe) still has its colours: lines replaced wholesale
// come with their colours emptied or replaced.
bool CTextModel::ColoursFollowLines() const {
  return coloursChecked_ && probe_ < lines.size() && lines.data() == linesData_ &&
         lineColours.data() == coloursData_ && lineColours.size() == lines.size() &&
         lineColours[probe_].size() == probeLength_ && lines[probe_].size() == probeLength_;
}

void CTextModel::NoteColoursChecked() {
  const std::size_t n = lines.size();
  if (probe_ >= n || lineColours[probe_].size() != probeLength_ || lines[probe_].size() != probeLength_) {
    probe_ = kNoProbe;
    for (std::size_t i = 0; i < n; ++i) {
      if (!lineColours[i].empty() && lineColours[i].size() == lines[i].size()) {
        probe_ = i;
        probeLength_ = lines[i].size();
        break;
      }
    }
  }
  linesData_ = lines.data();
  coloursData_ = lineColours.data();
  coloursChecked_ = probe_ != kNoProbe;
}

// The probe's line is about to be replaced: another coloured line takes its
// place, when the lines still hold what the model coloured.
void CTextModel::MoveProbe() {
  const std::size_t n = lines.size();
  const std::size_t from = probe_;
  if (!ColoursFollowLines()) {
    coloursChecked_ = false;
    return;
  }
  probe_ = kNoProbe;
  for (std::size_t k = 1; k < n && probe_ == kNoProbe; ++k) {
    const std::size_t i = (from + k) % n;
    if (!lineColours[i].empty() && lineColours[i].size() == lines[i].size()) {
      probe_ = i;
      probeLength_ = lines[i].size();
    }
  }
  if (probe_ == kNoProbe) coloursChecked_ = false;
}

void CTextModel::NoteAnalysedAll() {
  // Shades and depths may have changed anywhere: colourings are checked by
  // the next whole recolouring (one run by RecolourAll checks them itself).
  coloursChecked_ = false;
  analysisKnown_ = true;
  analysedLines_ = lines.size();
  analysedClasses_ = &platform::CurrentCharClasses();
  changedFrom_ = 0;
  changedTo_ = -1;
}

void CTextModel::NoteLinesChanged(std::int32_t first, std::int32_t last) {
  if (changedTo_ < changedFrom_) {
    changedFrom_ = first;
    changedTo_ = last;
    return;
  }
  changedFrom_ = std::min(changedFrom_, first);
  changedTo_ = std::max(changedTo_, last);
}

bool CTextModel::AnalysisReusable() const {
  const std::size_t n = lines.size();
  if (!analysisKnown_ || analysedLines_ != n || analysedClasses_ != &platform::CurrentCharClasses())
    return false;
  for (const auto* a : {&braceDepth, &conCount, &varCount, &objCount, &pubCount, &priCount, &datCount})
    if (a->size() != n) return false;
  return lineBackground.size() == n;
}

CTextModel::ColouringContext CTextModel::CurrentContext() const {
  ColouringContext context;
  context.colorizer = colorizer;
  context.wordIndex = colorizer->WordIndexStamp();
  context.mode = colorizer->mode;
  context.fold = colorizer->caseInsensitive != 0;
  context.classes = &platform::CurrentCharClasses();
  return context;
}

void CTextModel::ColourLine(std::size_t index, COLORREF shade, std::int32_t depth) {
  const bool stamped = StampsFollowLines();
  if (stamped) {
    // A stamp made under another context than the others would pass for one
    // of theirs: a change of context first makes every line stale.
    const ColouringContext context = CurrentContext();
    if (!(context == stampContext_)) {
      for (ColourStamp& stamp : stamps_) stamp.valid = false;
      stampContext_ = context;
      coloursChecked_ = false;
    }
    stamps_[index].valid = false;
  }
  colorizer->ColorLine(lines[index], lineColours[index], shade, depth);
  if (stamped) stamps_[index] = ColourStamp{shade, depth, true};
}

void CTextModel::ColourLines(const std::vector<std::uint32_t>& which) {
  CColorizer& c = *colorizer;
  const auto colourOne = [this, &c](std::size_t i) {
    const COLORREF shade = lineBackground[i];
    const std::int32_t depth = i == 0 ? 0 : braceDepth[i - 1];
    stamps_[i].valid = false;
    c.ColorLine(lines[i], lineColours[i], shade, depth);
    stamps_[i] = ColourStamp{shade, depth, true};
  };

  // This library's colorizers colour a line from the line, its inputs and
  // their own read-only tables alone, so lines can be coloured side by side.
  const std::type_info& kind = typeid(c);
  const bool ownKind = kind == typeid(CColorizer) || kind == typeid(CSampleColorizer);
  const unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), kMostThreads));
  if (!ownKind || cores < 2 || which.size() < kLinesForThreads) {
    for (std::uint32_t i : which) colourOne(i);
    return;
  }

  // Each thread takes one contiguous share of the lines; the first failure
  // is passed on once all have stopped.
  std::vector<std::exception_ptr> failures(cores);
  const auto share = [&](unsigned part) {
    const std::size_t from = which.size() * part / cores;
    const std::size_t to = which.size() * (part + 1) / cores;
    try {
      for (std::size_t k = from; k < to; ++k) colourOne(which[k]);
    } catch (...) {
      failures[part] = std::current_exception();
    }
  };
  std::vector<std::thread> helpers;
  try {
    for (unsigned part = 1; part < cores; ++part) helpers.emplace_back(share, part);
  } catch (...) {
    // Without a further thread the parts left are coloured here.
    for (unsigned part = static_cast<unsigned>(helpers.size()) + 1; part < cores; ++part) share(part);
  }
  share(0);
  for (std::thread& helper : helpers) helper.join();
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
}

void CTextModel::UpdateMaxLineLength() {
  RebuildLengthCounts();
  maxLineLength = static_cast<std::int32_t>(longestCounted_);
}

void CTextModel::RebuildLengthCounts() {
  lengthCounts_.clear();
  countedLines_ = 0;
  longestCounted_ = 0;
  for (const std::string& line : lines) CountLength(line.size(), +1);
}

void CTextModel::EnsureLengthCounts() {
  if (countedLines_ != lines.size()) RebuildLengthCounts();
}

std::int32_t CTextModel::LongestCounted() {
  EnsureLengthCounts();
  return static_cast<std::int32_t>(longestCounted_);
}

void CTextModel::CountLength(std::size_t length, int delta) {
  if (delta > 0) {
    if (length >= lengthCounts_.size()) lengthCounts_.resize(length + 1, 0);
    ++lengthCounts_[length];
    ++countedLines_;
    longestCounted_ = std::max(longestCounted_, length);
    return;
  }
  if (length >= lengthCounts_.size() || lengthCounts_[length] == 0) {
    // The counts missed a change of the lines: they no longer match any line
    // count, so the next use counts the lines afresh.
    countedLines_ = kCountsLost;
    return;
  }
  --lengthCounts_[length];
  --countedLines_;
  while (longestCounted_ > 0 && lengthCounts_[longestCounted_] == 0) --longestCounted_;
}

void CTextModel::FitPerLineArrays() {
  const std::size_t n = lines.size();
  lineBackground.resize(n, 0);
  for (auto* a : {&braceDepth, &conCount, &varCount, &objCount, &pubCount, &priCount, &datCount})
    a->resize(n, 0);
}

void CTextModel::UpdateSectionView() {
  if (!sectionViewFiller_) return;
  sectionViewFiller_(sectionNames, sectionLines, title);
}

void CTextModel::SetSectionViewFiller(SectionViewFiller filler) {
  sectionViewFiller_ = std::move(filler);
}
