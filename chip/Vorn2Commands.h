// The second-generation chip commands: Compile runs t2asm.exe in the
// document's folder and shows its output; Load RAM asks for a COM port,
// compiles, and then starts loadt2.exe with that port.
#pragma once

#include "chip/ChipInterfaces.h"

class wxWindow;

// Compile: save, clear the Build list, run the compiler, show its output.
void Vorn2Compile(ChipDocument& doc, BuildList& list);

// Load RAM. `comPort` is the view's 1-based port (its m_nComPort): offered
// first in the port dialog and replaced by the user's choice when the dialog
// ends with OK. `dialogParent` parents the port dialog (may be nullptr).
void Vorn2LoadRam(int& comPort, ChipDocument& doc, BuildList& list, wxWindow* dialogParent);
