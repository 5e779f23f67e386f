// The first-generation chip commands: Galvect.exe from the program's folder,
// run through the command processor in that folder, its report redirected
// into galvect.out there and copied into the Build list.
#include "chip/GalvectRunner.h"

#include "chip/ToolRun.h"
#include "platform/ProcessRunner.h"

namespace {

// The tool's library folder: a fixed text, passed to the tool byte for byte.
const char kLibraryFolder[] = "C:\\Program Files (x86)\\Veltrane Inc\\Tarnwick Tool v1.3.2\\Library";

std::string Quoted(const std::string& bytes) { return platform::QuoteForCommandProcessor(bytes); }

}  // namespace

void RunGalvect(std::wstring mode, ChipDocument& doc, BuildList& list) {
  const bool isFind = mode == kGalvectFind;
  const bool savesFirst = mode == kGalvectLoadRam || mode == kGalvectCompile || mode == kGalvectLoadEeprom;

  if (savesFirst) {
    // A refused save ends the command with the Build list as it was.
    if (!doc.Save()) return;
    list.ResetContent();
    list.AddString(L"Creating output files in temp directory.");
    list.AddString(L"Invoking Galvect to compile program.");
  }

  const std::string folder = chip::FileBytes(chip::ProgramFolder());
  const std::string outputFile = chip::FileInFolder(folder, "galvect.out");
  const std::string tool = Quoted(chip::FileInFolder(folder, "Galvect.exe"));

  // Every path is one quoted word of the command line; the options, their
  // order and the redirection are fixed texts.
  std::string command;
  if (isFind) {
    command = tool + " /ID";
  } else {
    const std::string library = Quoted(kLibraryFolder);
    std::string options;
    if (mode == kGalvectLoadRam)
      options = " /LIB " + library + " /GUI ON ";
    else if (mode == kGalvectCompile)
      options = " /COMPILE /LIB " + library + " /GUI ON ";
    else if (mode == kGalvectLoadEeprom)
      options = " /LIB " + library + " /GUI ON /EEPROM ";
    command = tool + options + Quoted(chip::FileBytes(doc.PathName())) + " > " + Quoted(outputFile);
  }

  platform::ProcessSpec process;
  process.program = platform::CommandProcessor();
  process.args = {process.program, platform::CommandSwitch(), command};
  process.workFolder = folder;
  if (const int error = chip::RunToolAndWait(process)) {
    chip::ShowStartFailure(L"Galvect.exe", error);
    return;
  }

  if (savesFirst) {
    list.AddString(L"Galvect output:");
    chip::ShowOutputFile(outputFile, list);
  }
}
