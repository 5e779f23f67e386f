// Random source lines for the model's randomized tests: a few pieces of
// Vorn picked from a list and joined, some with a blank after them.
#pragma once

#include <random>
#include <string>
#include <utility>
#include <vector>

class RandomLines {
 public:
  // Lines of up to maxPieces - 1 pieces of `pieces`.
  RandomLines(unsigned seed, std::vector<std::string> pieces, int maxPieces)
      : rng_(seed), pieces_(std::move(pieces)), maxPieces_(maxPieces) {}

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  std::string Line() {
    std::string line;
    for (int k = Pick(maxPieces_); k > 0; --k)
      line += pieces_[static_cast<std::size_t>(Pick(static_cast<int>(pieces_.size())))] + (Pick(2) ? " " : "");
    return line;
  }
  std::vector<std::string> Lines(int n) {
    std::vector<std::string> lines(static_cast<std::size_t>(n));
    for (std::string& line : lines) line = Line();
    return lines;
  }

 private:
  std::mt19937 rng_;
  std::vector<std::string> pieces_;
  int maxPieces_;
};
