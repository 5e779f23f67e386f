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

  // Changes whenever the word index is rebuilt (every load), and differs
  // between colorizers built apart: two colourings under the same stamp,
  // mode, folding and character table give the same colours.
  std::uint64_t WordIndexStamp() const { return m_indexStamp; }

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
  // The line's bytes by kind (textmodel/LineMasks.h).
  struct LineMasks;

  // The base colouring of the bytes before `end`. The words and runs that
  // begin there are looked up and coloured whole, so some bytes from `end`
  // on may be written too; the caller overwrites those. `colours` holds at
  // least line.size() elements.
  void ColorWordsAndRuns(const std::string& line, const LineMasks& masks, COLORREF* colours,
                         COLORREF background, std::size_t end) const;

 private:
  // One slot of the hash index behind SetsHolding (textmodel/WordIndex.h):
  // an element's first eight bytes packed into one value, the first byte
  // lowest; where its further bytes start in m_wordPool; its length; and the
  // SetBit mask of the sets holding it. Length 0 is an empty slot.
  struct WordSlot {
    std::uint64_t head = 0;
    std::uint32_t rest = 0;
    std::uint16_t length = 0;
    std::uint16_t sets = 0;
  };
  void RebuildWordIndex();
  // SetsHolding with the byte map of the query's folding given: the quick
  // rejections inline, then the hashed lookup.
  std::uint16_t SetsHoldingMapped(const unsigned char* word, std::size_t length,
                                  const unsigned char* map) const;
  std::uint16_t SetsHoldingHashed(const unsigned char* word, std::size_t length,
                                  const unsigned char* map) const;
  // The hashed lookup of a word of `length` bytes whose first sixteen,
  // folded, are packed into `head0` and `head1` (textmodel/WordIndex.h).
  std::uint16_t SetsOfPacked(std::uint64_t head0, std::uint64_t head1, std::size_t length,
                             const unsigned char* word, const unsigned char* map) const;
  // SetsHoldingMapped for the bytes [start, start + length) of a line of `n`
  // bytes; with `fast`, read eight bytes at a time and folded by arithmetic
  // (textmodel/BaseColouring.cpp).
  std::uint16_t SetsOfLineWord(const unsigned char* text, std::size_t n, std::size_t start,
                               std::size_t length, const unsigned char* map, bool fold,
                               bool fast) const;

  std::uint64_t m_indexStamp;
  std::vector<WordSlot> m_wordSlots;
  // The bytes after the first eight of the elements longer than that,
  // packed in the same way, padded with zero bytes.
  std::vector<std::uint64_t> m_wordPool;
  std::size_t m_longestWord = 0;
  // The sets holding each one-byte element, by its byte.
  std::uint16_t m_byteSets[256] = {};
  // One bit per filter key (textmodel/WordIndex.h) that some element of two
  // bytes or more has; a query whose key is clear is in no set.
  std::uint64_t m_keyFilter[(1 << 14) / 64] = {};
  // Whether some element begins with a digit, and whether some operator
  // holds "_", "'", '"', "{", "}" or "#"; when not, the colouring passes over
  // numbers and such runs without looking them up.
  bool m_elementLedByDigit = false;
  bool m_operatorHoldsMark = false;
};
