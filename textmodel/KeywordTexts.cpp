// The built-in word texts: the language's keywords, both chip generations'
// assembly vocabulary, the operators and the flow keywords.
#include "textmodel/KeywordTexts.h"

namespace keywordtexts {

// Section keywords, built-in constants, clock sources and clock multipliers.
const char kSectionAndClockWords[] =
    "con var obj pub pri dat true false maxint minint pival osclow oschigh oscext xtlow xtmid"
    " xthigh mul1 mul2 mul4 mul8 mul16";

// Leaving loops and methods, the method result, data sizes, memory fill and copy.
const char kControlAndMemoryWords[] =
    " leave giveback bail answer octet doublet quadlet fill8 fill16 fill32 copy8 copy16 copy32";

// Table lookups, strings and constant folding, float conversions, file embedding, locks.
const char kLookupStringFloatAndLockWords[] =
    " choose choose0 locate locate0 textlen textsame textlit fold asreal roundreal cutreal"
    " embed latchget latchfree latchtake latchdrop";

// Chip version, clock and memory set-up, hardware registers.
const char kChipSetupAndRegisterWords[] =
    " coreversion tickmode tickrate tickset _tickmode _tickrate _crystalrate _stackroom"
    " _spareroom param counter pinin0 pinin1 pinout0 pinout1 pindir0 pindir1 ctl0 ctl1 frq0"
    " frq1 phs0 phs1 vidcfg vidscl regs";

// Waits, processor cores, restart.
const char kWaitAndCoreWords[] =
    " waittick waitmatch waitdiffer waitvideo corespawn corestart corehalt coreid restart";

// The float conversions, for constant and variable sections.
const char kFloatConversionWords[] =
    " asreal roundreal cutreal";

// The underscore-prefixed system constants.
const char kSystemConstantWords[] =
    " _tickmode _tickrate _crystalrate _stackroom _spareroom";

// The built-in constants.
const char kConstantWords[] =
    " true false maxint minint pival";

// The float conversions, for object sections.
const char kObjectWords[] =
    "asreal roundreal cutreal";

// First generation: reserve and fit directives, mnemonics, condition prefixes, effect suffixes.
const char* const kAsm1MnemonicTexts[18] = {
    "reserve fitcheck",
    " add addcy addsg addsgcy addabs",
    " sub subcy subsg subsgcy subabs",
    " cmp cmpcy cmpsg cmpsgcy cmpsub",
    " lowu highu lows highs absv absnv negv",
    " negc negnc negz negnz sumc sumnc sumz sumnz",
    " and andn or xor test testn",
    " muxc muxnc muxz muxnz mulu muls sx zx",
    " shiftl shiftr shifta rotl rotr rotlc rotrc revb",
    " mov setdst setsrc setins",
    " jump jumplink call return decjnz tstjz tstjnz nop",
    " ld8 ld16 ld32 st8 st16 st32 hubctl",
    " cid cstart cstop lkget lkfree lktake lkdrop clkwr",
    " wtick wpeq wpne wvid",
    " if_always if_never if_c if_nc if_z if_nz",
    " if_c_and_z if_c_and_nz if_nc_and_z if_nc_and_nz if_c_or_z if_c_or_nz if_nc_or_z"
    " if_nc_or_nz if_c_same_z if_c_diff_z",
    " if_z_and_c if_nz_and_c if_z_and_nc if_nz_and_nc if_z_same_c if_z_diff_c if_equal"
    " if_unequal if_below if_notbelow if_above if_notabove if_never",
    " fc fz wb nb",
};

// First generation: directives, data sizes, registers.
const char* const kAsm1DirectiveTexts[3] = {
    "origin embed reserve fitcheck",
    " octet doublet quadlet",
    " param counter pinin0 pinin1 pinout0 pinout1 pindir0 pindir1 ctl0 ctl1 frq0 frq1 phs0 phs1"
    " vidcfg vidscl",
};

// Second generation: mnemonics by unit, then the condition prefixes.
const char* const kAsm2MnemonicTexts[9] = {
    "ADDW ADDWC ADDSG ADDSGC SUBW SUBWC SUBSG SUBSGC RSUBW RSUBSG CMPW CMPWC CMPSG CMPSGC"
    " CMPREV CMPMSB CMPSUBW MINW MAXW MINSG MAXSG ABSW ABSNW NEGW NEGIFC NEGIFNC NEGIFZ NEGIFNZ"
    " SUMIFC SUMIFNC SUMIFZ SUMIFNZ ANDW ANDNW ORW XORW XNORW NOTW MUXIFC MUXIFNC MUXIFZ"
    " MUXIFNZ MUXNIB",
    " SHLW SHRW SARW SALW ROTLW ROTRW ROTLCW ROTRCW SIGNXT ZEROXT REVW ENCW DECW ONESW BITCLR"
    " BITSET BITC BITNC BITZ BITNZ BITRND BITINV TSTBC TSTBZ TSTBANDC TSTBANDZ TSTBORC TSTBORZ"
    " TSTBXORC TSTBXORZ TSTNBC TSTNBZ TSTNBANDC TSTNBANDZ TSTNBORC TSTNBORZ TSTNBXORC TSTNBXORZ",
    " PDRVLO PDRVHI PDRVC PDRVNC PDRVZ PDRVNZ PDRVRND PDRVINV PFLTLO PFLTHI PFLTC PFLTNC PFLTZ"
    " PFLTNZ PFLTRND PFLTINV POUTLO POUTHI POUTC POUTNC POUTZ POUTNZ POUTRND POUTINV PDIRLO"
    " PDIRHI PDIRC PDIRNC PDIRZ PDIRNZ PDIRRND PDIRINV TSTPHC TSTPHZ TSTPHANDC TSTPHANDZ"
    " TSTPHORC TSTPHORZ TSTPHXORC TSTPHXORZ TSTPLC TSTPLZ TSTPLANDC TSTPLANDZ TSTPLORC TSTPLORZ"
    " TSTPLXORC TSTPLXORZ SMODE SMWRX SMRDQ SMACK BITC PDRVC POUTC",
    " PUTNIB PUTBYTE PUTHALF GETNIB GETBYTE GETHALF ROTNIB ROTBYTE ROTHALF SPLITB MERGEB SWAPB"
    " HRD8 HRD16 HRD32 HWR8 HWR16 HWR32 HWRMASK HFILL8 HFILL16 HFILL32 HCOPYIN HCOPYOUT FFSTRD"
    " FFSTWR FFRD8 FFRD16 FFRD32 FFWR8 FFWR16 FFWR32 FFFLUSH FFPTR",
    " JMPABS JMPREL JMPIND JMPTBL CALLABS CALLREL CALLSTK CALLX CALLY CALLLNK CALLPA CALLPB"
    " RETSTK RETX RETY RETLNK RETINT1 RETINT2 RETINT3 RESUMEI1 RESUMEI2 RESUMEI3 EXECR SKIPN"
    " SKIPF SKIPX JLUT JHUB BRANCH LOOPN DECJZ DECJNZ INCJZ INCJNZ TSTJZ TSTJNZ TSTJNEG TSTJPOS"
    " TSTJFULL TSTJEMPT",
    " JEVTM1 JEVTM2 JEVTM3 JEVED1 JEVED2 JEVED3 JEVED4 JEVPAT JEVFWB JEVFWE JEVSTX JEVSTR"
    " JEVSTL JEVATN JEVQEM JEVIRQ JNEVTM1 JNEVTM2 JNEVTM3 JNEVED1 JNEVED2 JNEVED3 JNEVED4"
    " JNEVPAT JNEVFWB JNEVFWE JNEVSTX JNEVSTR JNEVSTL JNEVATN JNEVQEM JNEVIRQ WEVTM1 WEVTM2"
    " WEVTM3 WEVED1 WEVED2 WEVED3 WEVED4 WEVPAT WEVFWB WEVFWE WEVSTX WEVSTR WEVSTL WEVATN"
    " WEVQEM WEVIRQ PEVTM1 PEVTM2 PEVTM3 PEVED1 PEVED2 PEVED3 PEVED4 PEVPAT PEVFWB PEVFWE"
    " PEVSTX PEVSTR PEVSTL PEVATN PEVQEM PEVIRQ SETEDGE SETPATN SETINT1 SETINT2 SETINT3"
    " ALLOWINT STALLINT TRIGINT1 TRIGINT2 TRIGINT3 NIXINT1 NIXINT2 RETINT1 RETINT2 RETINT3"
    " RESUMEI1 RESUMEI2 RESUMEI3",
    " MULU16 MULS16 SCALEU SCALES QMULU QDIVU QFRACU QSQRTU QROT QVEC QLOG2 QEXP2 QRESX QRESY"
    " XORO32 RNDGEN CORENEW CORESTOP COREID CORECHK LATCHNEW LATCHRET LATCHTRY LATCHREL"
    " LATCHCHK HUBCTL CLKCTL GETTICK GETTICKH GETRANDOM SETQ SETQ2 NOP HALTWAIT WAITX MODFLAGS"
    " MODC MODZ WRFC WRFNC WRFZ WRFNZ PUSHFL POPFL GETFL SETFL CLRFL",
    " STRMGO STRMNOW STRMQUE STRMWAIT STRMCFG LUTRD LUTWR LUTSHARE LUTUNSHARE REGRD REGWR MOVW"
    " MOVIFC MOVIFNC MOVIFZ MOVIFNZ LDIMM LDPTRX LDPTRY EXTD EXTS SWAPW MIRROR NOP GETTICK"
    " WAITX SETQ MODC MODZ JMPABS CALLABS RETSTK PDRVHI HRD32 HWR32",
    " IF_ALWAYS IF_NEVER IF_C IF_NC IF_Z IF_NZ IF_C_AND_Z IF_C_AND_NZ IF_NC_AND_Z IF_NC_AND_NZ"
    " IF_C_OR_Z IF_C_OR_NZ IF_NC_OR_Z IF_NC_OR_NZ IF_C_SAME_Z IF_C_DIFF_Z IF_Z_AND_C"
    " IF_NZ_AND_C IF_Z_AND_NC IF_NZ_AND_NC IF_Z_OR_C IF_NZ_OR_C IF_Z_OR_NC IF_NZ_OR_NC"
    " IF_Z_SAME_C IF_Z_DIFF_C IF_EQUAL IF_UNEQUAL IF_BELOW IF_NOTBELOW IF_ABOVE IF_NOTABOVE"
    " IF_CZ_00 IF_CZ_01 IF_CZ_10 IF_CZ_11 IF_CZ_NOT00 IF_CZ_NOT01 IF_CZ_NOT10 IF_CZ_NOT11"
    " IF_CARRY IF_NOCARRY IF_ZERO IF_NONZERO WITH_RET",
};

// Second generation: directives and data sizes, condition suffixes, registers.
const char* const kAsm2DirectiveTexts[3] = {
    "origin originhub originlut embed reserve fitcheck alignw alignl octet doublet quadlet",
    " _SET _CLR _C _NC _Z _NZ _C_AND_Z _C_AND_NZ _NC_AND_Z _NC_AND_NZ _C_OR_Z _C_OR_NZ _NC_OR_Z"
    " _NC_OR_NZ _C_SAME_Z _C_DIFF_Z _Z_AND_C _NZ_AND_C _Z_AND_NC _NZ_AND_NC _Z_OR_C _NZ_OR_C"
    " _Z_OR_NC _NZ_OR_NC _Z_SAME_C _Z_DIFF_C _EQUAL _UNEQUAL _BELOW _NOTBELOW _ABOVE _NOTABOVE",
    " IntJmp1 IntRet1 IntJmp2 IntRet2 IntJmp3 IntRet3 ArgA ArgB PtrX PtrY DirLo DirHi OutLo"
    " OutHi InLo InHi",
};

// Symbolic operators, then the word operators in both cases.
const char* const kOperatorTexts[3] = {
    "+   -   *   /   %   &   |   ^   ~   !   <   >   =   ?   :   @   -   =",
    "   ++   --   **   //   <<   >>   &&   ||   ^^   <>   ->   <-   ..   ::   @@   ~~   ><"
    "   <<<   >>>   +=   -=   *=   /=   %=   &=   |=   ^=   ~=   !=   <=   >=   ==   ?=   :="
    "   **=   //=   <<=   >>=   &&=   ||=   ^^=   ..=   ><=",
    " and AND or OR not NOT xor XOR mod MOD",
};

// Conditions, the case statement, loops.
const char kFlowWords[] =
    "when unless orwhen orunless otherwise select others loop from upto step until while count";

}  // namespace keywordtexts
