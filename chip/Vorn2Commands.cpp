// The second-generation chip commands: t2asm.exe run through the command
// processor in the document's folder with the document's title, and
// loadt2.exe started directly with the chosen COM port.
#include "chip/Vorn2Commands.h"

#include "chip/PortDialog.h"
#include "chip/ToolRun.h"
#include "platform/ProcessRunner.h"

#include <string>

namespace {

// The compile step. true when the compiler ran; false when the save was
// refused or the command processor could not be started (already reported).
bool CompileStep(ChipDocument& doc, BuildList& list) {
  if (!doc.Save()) return false;
  list.ResetContent();
  list.AddString(L"Creating output files in temp directory.");
  list.AddString(L"Invoking T2ASM to compile program.");

  const std::string folder = chip::FileBytes(chip::RemoveLastComponent(doc.PathName()));
  // The title is one quoted word: blanks and shell characters in a file name
  // reach the compiler as part of its one argument.
  const std::string command =
      "t2asm.exe " + platform::QuoteForCommandProcessor(chip::FileBytes(doc.Title())) + " > t2asm.out";

  platform::ProcessSpec process;
  process.program = platform::CommandProcessor();
  process.args = {process.program, platform::CommandSwitch(), command};
  process.workFolder = folder;
  process.searchWorkFolder = true;  // the compiler may lie in the document's folder
  if (const int error = chip::RunToolAndWait(process)) {
    chip::ShowStartFailure(L"t2asm.exe", error);
    return false;
  }

  list.AddString(L"T2ASM output:");
  chip::ShowOutputFile(chip::FileInFolder(folder, "t2asm.out"), list);
  return true;
}

}  // namespace

void Vorn2Compile(ChipDocument& doc, BuildList& list) { CompileStep(doc, list); }

void Vorn2LoadRam(int& comPort, ChipDocument& doc, BuildList& list, wxWindow* dialogParent) {
  {
    PortDialog dialog(dialogParent);
    dialog.m_nPort = comPort;
    dialog.m_strPort.clear();
    if (dialog.ShowModal() != wxID_OK) return;
    comPort = dialog.m_nPort;
  }

  // Loading is pointless when nothing was compiled: a cancelled save (the
  // user backed out) or a command processor that did not start (the user has
  // just been told) ends Load RAM as well.
  if (!CompileStep(doc, list)) return;

  const std::string folder = chip::FileBytes(chip::RemoveLastComponent(doc.PathName()));
  list.AddString(L"Invoking LoadT2 to load T2.");

  const std::wstring binary = chip::RemoveExtension(doc.Title()) + L".bin";
  const std::wstring port = L"COM" + std::to_wstring(comPort);

  // Started directly, each parameter its own argument; the loader is looked
  // up in the search path and then in the document's folder.
  platform::ProcessSpec process;
  process.program = "loadt2.exe";
  process.args = {"loadt2.exe", "-p", chip::FileBytes(port), chip::FileBytes(binary)};
  process.workFolder = folder;
  if (const int error = chip::RunToolAndWait(process)) chip::ShowStartFailure(L"loadt2.exe", error);
}
