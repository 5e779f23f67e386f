// A realistic generated Vorn source for benchmarks: every section kind,
// brace and apostrophe comments, strings, numbers and assembly.
#pragma once

#include <string>
#include <vector>

class CColorizer;

std::vector<std::string> GenerateVornSource(int lineCount);

// The same lines joined with LF, as a wide text (for text insertion).
std::wstring GenerateVornText(int lineCount);

// Loads every keyword set, operator and flow keyword the way the views do.
void LoadAllSets(CColorizer& colorizer);
