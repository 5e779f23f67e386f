// Generates a deterministic Vorn source that looks like a real program: the
// six section kinds in turn, method bodies, comments of every form, strings,
// numbers in three bases and DAT sections with assembly.
#include "bench/SourceGenerator.h"

#include "textmodel/Colorizer.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

// A fixed-seed generator, so every run sees the same text.
class Dice {
 public:
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
  template <std::size_t N>
  const char* Pick(const char* const (&words)[N]) {
    return words[Below(static_cast<int>(N))];
  }

 private:
  std::uint32_t state_ = 0x2545F491u;
};

const char* const kNames[] = {"items", "index", "value", "buffer", "pin", "delay", "mask",
                              "total", "level", "speed", "limit", "offset", "state", "ticks"};
const char* const kConstNames[] = {"LED_PIN", "TX_PIN", "RX_PIN", "BAUD", "MAX_ITEMS",
                                   "BUF_SIZE", "STACK_LONGS", "SCL", "SDA", "PWM_FREQ"};
const char* const kMethods[] = {"start", "stop", "init", "update", "send_byte", "read_word",
                                "blink", "wait_ms", "set_level", "scan_keys", "fill", "checksum"};
const char* const kObjects[] = {"\"serial_port\"", "\"clock_util\"", "\"float_math\"",
                                "\"lcd_driver\"", "\"keypad\""};
const char* const kCompare[] = {"==", "<>", "<", ">", "<=", ">="};
const char* const kArith[] = {"+", "-", "*", "/", "&", "|", "<<", ">>"};
const char* const kAssign[] = {":=", "+=", "-=", "|=", "&="};
const char* const kMnemonics[] = {"mov", "add", "sub", "and", "or", "shiftl", "shiftr", "cmp",
                                  "test", "ld32", "st32", "ld8", "st8", "decjnz"};
const char* const kConditions[] = {"if_z", "if_nz", "if_c", "if_nc", "if_c_or_z", "if_nc_and_nz"};
const char* const kEffects[] = {"fz", "fc", "fz, fc", "nb"};
const char* const kRegisters[] = {"pindir0", "pinout0", "pinin0", "counter",
                                  "phs0",    "frq0",    "ctl0"};
const char* const kSizes[] = {"quadlet", "doublet", "octet"};

class Writer {
 public:
  explicit Writer(int lineCount) : limit_(lineCount) { lines_.reserve(lineCount); }

  bool Full() const { return static_cast<int>(lines_.size()) >= limit_; }
  void Line(std::string text) {
    if (!Full()) lines_.push_back(std::move(text));
  }
  std::vector<std::string> Take() { return std::move(lines_); }

 private:
  int limit_;
  std::vector<std::string> lines_;
};

const char* const kRemarks[] = {"wait for the pin to settle", "scaled to milliseconds",
                                "keep the old level", "one tick per loop", "clear the flags",
                                "next slot in the table", "checked by the caller"};

// A trailing apostrophe comment on most lines: none on one in `oneIn`.
std::string Remark(Dice& dice, int oneIn) {
  if (dice.Below(oneIn) == 0) return std::string();
  return std::string("        ' ") + dice.Pick(kRemarks);
}

// The word and blanks to `width` bytes, at least one blank.
std::string Padded(const char* word, std::size_t width) {
  std::string text = word;
  text.append(text.size() < width ? width - text.size() : 1, ' ');
  return text;
}

std::string Number(Dice& dice) {
  switch (dice.Below(4)) {
    case 0: {
      static const char* const kHex[] = {"$FF", "$1F_00", "$0001_0000", "$7FFF", "$3C"};
      return dice.Pick(kHex);
    }
    case 1: {
      static const char* const kBin[] = {"%1010_0101", "%0001", "%1111_0000", "%11"};
      return dice.Pick(kBin);
    }
    default:
      return std::to_string(dice.Below(3) == 0 ? 1000 + dice.Below(90000) : dice.Below(64));
  }
}

void ConSection(Writer& out, Dice& dice, int serial) {
  out.Line(serial % 3 == 0 ? "CON" : "CON  ' pins and timing");
  if (serial == 0) {
    out.Line("  _tickmode = xthigh + mul16");
    out.Line("  _crystalrate = 5_000_000");
  }
  const int n = 3 + dice.Below(6);
  for (int i = 0; i < n; ++i) {
    std::string line = "  ";
    line += dice.Pick(kConstNames);
    line += "_" + std::to_string(i) + " = " + Number(dice);
    line += Remark(dice, 4);
    out.Line(line);
  }
  out.Line("");
}

void VarSection(Writer& out, Dice& dice) {
  out.Line("VAR");
  const int n = 2 + dice.Below(5);
  for (int i = 0; i < n; ++i) {
    std::string line = "  ";
    line += dice.Pick(kSizes);
    line += "  ";
    line += dice.Pick(kNames);
    line += std::to_string(i);
    if (dice.Below(2) == 0) line += "[" + std::to_string(8 << dice.Below(4)) + "]";
    if (dice.Below(3) == 0) line += "         ' shared with the driver cog";
    out.Line(line);
  }
  out.Line("");
}

void ObjSection(Writer& out, Dice& dice) {
  out.Line("OBJ");
  const int n = 1 + dice.Below(4);
  for (int i = 0; i < n; ++i) {
    std::string line = "  ";
    line += dice.Pick(kNames);
    line += std::to_string(i) + "  : ";
    line += dice.Pick(kObjects);
    out.Line(line);
  }
  out.Line("");
}

std::string Expression(Dice& dice) {
  std::string e = dice.Pick(kNames);
  e += ' ';
  e += dice.Pick(kArith);
  e += ' ';
  e += dice.Below(2) == 0 ? Number(dice) : std::string(dice.Pick(kNames));
  return e;
}

void MethodSection(Writer& out, Dice& dice, bool isPublic, int serial) {
  std::string header = isPublic ? "PUB " : "PRI ";
  header += dice.Pick(kMethods);
  header += "_" + std::to_string(serial) + "(";
  header += dice.Pick(kNames);
  header += ", ";
  header += dice.Pick(kNames);
  header += ") : okay | i, t, ";
  header += dice.Pick(kNames);
  out.Line(header);
  out.Line("'' " + std::string(isPublic ? "Starts" : "Updates") + " the " + dice.Pick(kNames) +
           " of the driver");

  if (dice.Below(3) == 0) {
    // A brace comment over several lines, sometimes a doc comment.
    const bool doc = dice.Below(2) == 0;
    out.Line(doc ? "{{" : "{");
    const int n = 2 + dice.Below(4);
    for (int i = 0; i < n; ++i)
      out.Line("  Note " + std::to_string(i) + ": the " + dice.Pick(kNames) + " must stay below " +
               Number(dice) + ".");
    out.Line(doc ? "}}" : "}");
  }

  const int blocks = 2 + dice.Below(4);
  for (int b = 0; b < blocks; ++b) {
    switch (dice.Below(5)) {
      case 0:
        out.Line("  loop i from 0 upto " + std::to_string(dice.Below(32)));
        out.Line("    " + std::string(dice.Pick(kNames)) + "[i] " + dice.Pick(kAssign) + " " +
                 Expression(dice) + Remark(dice, 4));
        out.Line("    waittick(tickrate / 1_000 + counter)" + Remark(dice, 4));
        break;
      case 1:
        out.Line("  when (" + std::string(dice.Pick(kNames)) + " " + dice.Pick(kCompare) + " " +
                 Number(dice) + ") and okay");
        out.Line("    pinout0[" + std::string(dice.Pick(kNames)) + "] := !pinout0[pin]" +
                 Remark(dice, 4));
        out.Line("  orwhen t > 0          ' keep the old level");
        out.Line("    t -= 1" + Remark(dice, 4));
        out.Line("  otherwise");
        out.Line("    giveback false" + Remark(dice, 4));
        break;
      case 2:
        out.Line("  select " + std::string(dice.Pick(kNames)));
        out.Line("    0: okay := textlit(\"idle\", 13, 10)");
        out.Line("    1..9: " + std::string(dice.Pick(kNames)) + " := choose0(i : 1, 2, 4, 8)" +
                 Remark(dice, 4));
        out.Line("    others: bail -1");
        break;
      case 3:
        out.Line("  loop while " + std::string(dice.Pick(kNames)) + " < " + Number(dice));
        out.Line("    t := " + Expression(dice) + Remark(dice, 4));
        out.Line("    when t == 0 { not ready }" + Remark(dice, 4));
        out.Line("      leave");
        out.Line("    leave" + Remark(dice, 4));
        break;
      default:
        out.Line("  " + std::string(dice.Pick(kNames)) + " " + dice.Pick(kAssign) + " " +
                 Expression(dice) + Remark(dice, 4));
        out.Line("  copy8(@buffer, textlit(\"Vorn " + std::to_string(dice.Below(100)) +
                 "\"), 8)");
        break;
    }
  }
  out.Line("  answer := okay" + Remark(dice, 4));
  out.Line("");
}

void DatSection(Writer& out, Dice& dice, int serial) {
  out.Line(serial % 2 == 0 ? "DAT" : "DAT  ' driver loop");
  out.Line("                origin  0");
  out.Line(Padded(("entry" + std::to_string(serial)).c_str(), 16) + "mov     pindir0, pin_mask");
  const int n = 4 + dice.Below(8);
  for (int i = 0; i < n; ++i) {
    std::string line;
    if (dice.Below(4) == 0) {
      line = "        ";
      line += Padded(dice.Pick(kConditions), 8);
    } else {
      line = i == 0 ? ":loop           " : "                ";
    }
    line += Padded(dice.Pick(kMnemonics), 8);
    line += dice.Pick(kNames);
    line += ", ";
    line += dice.Below(2) == 0 ? "#" + Number(dice) : std::string(dice.Pick(kRegisters));
    if (dice.Below(3) == 0) {
      line += "   ";
      line += dice.Pick(kEffects);
    }
    line += Remark(dice, 4);
    out.Line(line);
  }
  out.Line("        if_nz   jump    #:loop");
  out.Line("pin_mask        quadlet " + Number(dice));
  out.Line("table           octet   1, 2, 3, 4, 5, 6, 7, 8");
  out.Line("msg             octet   \"ready\", 13, 10, 0   ' reply text");
  out.Line("");
}

}  // namespace

std::vector<std::string> GenerateVornSource(int lineCount) {
  Writer out(lineCount < 0 ? 0 : lineCount);
  Dice dice;
  out.Line("' Generated driver module");
  out.Line("{{ Module notes:");
  out.Line("   timing and pin assignments are in the CON sections. }}");

  // One round of sections; several of each kind, so that shades alternate.
  int serial = 0;
  while (!out.Full()) {
    ConSection(out, dice, serial);
    VarSection(out, dice);
    ObjSection(out, dice);
    for (int m = 0; m < 3; ++m) MethodSection(out, dice, true, serial * 10 + m);
    MethodSection(out, dice, false, serial * 10 + 3);
    DatSection(out, dice, serial);
    ConSection(out, dice, serial + 1);
    MethodSection(out, dice, false, serial * 10 + 4);
    MethodSection(out, dice, true, serial * 10 + 5);
    MethodSection(out, dice, false, serial * 10 + 6);
    DatSection(out, dice, serial + 1);
    ++serial;
  }
  return out.Take();
}

std::wstring GenerateVornText(int lineCount) {
  std::wstring text;
  bool first = true;
  for (const std::string& line : GenerateVornSource(lineCount)) {
    if (!first) text += L'\n';
    first = false;
    for (const char ch : line) text += static_cast<wchar_t>(static_cast<unsigned char>(ch));
  }
  return text;
}

void LoadAllSets(CColorizer& colorizer) {
  colorizer.LoadKeywords(L"Keywords.ini");
  colorizer.LoadOperators();
  colorizer.LoadFlowKeywords();
}
