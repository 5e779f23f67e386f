// The built-in texts the colorizer's word sets are filled from. Each text
// holds words separated by blanks; a text that is joined behind another
// begins with a blank, so that words never run together.
#pragma once

namespace keywordtexts {

// General keywords, joined in this order.
extern const char kSectionAndClockWords[];
extern const char kControlAndMemoryWords[];
extern const char kLookupStringFloatAndLockWords[];
extern const char kChipSetupAndRegisterWords[];
extern const char kWaitAndCoreWords[];

// Joined behind kSectionAndClockWords for constant and variable sections.
extern const char kFloatConversionWords[];
extern const char kSystemConstantWords[];
extern const char kConstantWords[];  // also joined behind kAsm1MnemonicTexts

// Object sections; stands alone.
extern const char kObjectWords[];

// Assembly of both chip generations, each array joined in its order.
extern const char* const kAsm1MnemonicTexts[18];
extern const char* const kAsm1DirectiveTexts[3];
extern const char* const kAsm2MnemonicTexts[9];
extern const char* const kAsm2DirectiveTexts[3];

// Operators, kept in their own letter case; two texts space entries widely.
extern const char* const kOperatorTexts[3];

// Block and loop keywords.
extern const char kFlowWords[];

}  // namespace keywordtexts
