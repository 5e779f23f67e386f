// Out-of-line destructors of the chip commands' interfaces.
#include "chip/ChipInterfaces.h"

BuildList::~BuildList() = default;
ChipDocument::~ChipDocument() = default;
