// The first-generation chip commands: Find Tarn, Compile, Load RAM and Load
// EEPROM all run Galvect.exe from the program's folder and (but for Find)
// show what it printed in the Build list.
#pragma once

#include "chip/ChipInterfaces.h"

#include <string>

// The four modes, compared exactly.
inline constexpr const wchar_t* kGalvectFind = L"ID";
inline constexpr const wchar_t* kGalvectCompile = L"Compile";
inline constexpr const wchar_t* kGalvectLoadRam = L"LoadRam";
inline constexpr const wchar_t* kGalvectLoadEeprom = L"LoadEeprom";

// Runs one first-generation command in `mode` (one of the four names above).
// Everything it reports goes to `list` or into a message box.
void RunGalvect(std::wstring mode, ChipDocument& doc, BuildList& list);
