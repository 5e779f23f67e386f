// CColorizer: the keyword sets of both language generations and the base
// colouring of one source line by section kind and language mode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "textmodel/Types.h"

class CColorizer {
 public:
  // Membership of one word in every set at once, for the colouring loops.
  enum SetBit : std::uint16_t {
    kInKeywords = 1 << 0,
    kInConVarKeywords = 1 << 1,
    kInObjKeywords = 1 << 2,
    kInDatMnemonics1 = 1 << 3,
    kInDatDirectives1 = 1 << 4,
    kInDatMnemonics2 = 1 << 5,
    kInDatDirectives2 = 1 << 6,
    kInOperators = 1 << 7,
    kInFlowKeywords = 1 << 8,
  };

  CColorizer();
  virtual ~CColorizer();

  // Rewrites `colours` to one colour per byte of `line`.
  virtual void ColorLine(const std::string& line, std::vector<COLORREF>& colours,
                         COLORREF background, int braceDepth);

  // Fills the seven keyword sets from the built-in texts; does nothing when
  // `name` is empty. No file is read.
  virtual void LoadKeywords(const std::wstring& name);

  virtual bool IsDatMnemonic1(const std::string& word);
  virtual bool IsKeyword(const std::string& word);
  virtual bool IsDatDirective1(const std::string& word);
  virtual bool IsDatMnemonic2(const std::string& word);
  virtual bool IsDatDirective2(const std::string& word);
  virtual bool IsOperator(const std::string& word);
  virtual bool IsFlowKeyword(const std::string& word);
  virtual bool IsConVarKeyword(const std::string& word);
  virtual bool IsObjKeyword(const std::string& word);

  void LoadOperators();
  void LoadFlowKeywords();

  // The SetBit mask of the sets holding `word` (upper-cased first while
  // caseInsensitive is non-zero), answered without allocating. Gives the same
  // answers as the predicates.
  std::uint16_t SetsHolding(const char* word, std::size_t length) const;

  std::int32_t caseInsensitive;
  std::set<std::string> keywords;
  std::set<std::string> conVarKeywords;
  std::set<std::string> objKeywords;
  std::set<std::string> datMnemonics1;
  std::set<std::string> datMnemonics2;
  std::set<std::string> datDirectives1;
  std::set<std::string> datDirectives2;
  std::set<std::string> operators;
  std::set<std::string> flowKeywords;
  std::wstring mode;

 protected:
  // The base colouring of the bytes before `end`. The words and runs that
  // begin there are looked up and coloured whole, so some bytes from `end`
  // on may be written too; the caller overwrites those. With `plainDigit`
  // non-zero, a digit that the colouring leaves plain takes that colour
  // instead. `colours` holds at least line.size() elements.
  void ColorWordsAndRuns(const std::string& line, COLORREF* colours, COLORREF background,
                         std::size_t end, COLORREF plainDigit) const;

 private:
  // One slot of the hash index behind SetsHolding: an element's bytes in
  // m_wordPool and the SetBit mask of the sets holding it; length 0 is empty.
  struct WordSlot {
    std::uint32_t offset = 0;
    std::uint16_t length = 0;
    std::uint16_t sets = 0;
  };
  void RebuildWordIndex();

  std::vector<WordSlot> m_wordSlots;
  std::string m_wordPool;
  std::size_t m_longestWord = 0;
};
