// Whether a print job sent without the print dialog has a printer to go to.
#pragma once

namespace platform {

// Whether the system offers a printer (not a file) for a print job without a
// dialog, the default one or any other. Looks for at most maxWaitMs
// milliseconds and runs the toolkit's event loop meanwhile (the caller keeps
// the user's input away); a printing system that has not answered by then
// counts as offering none. True where the toolkit's printers are not known
// here: its print job then reports a missing printer itself.
bool HasPrinter(int maxWaitMs);

}  // namespace platform
