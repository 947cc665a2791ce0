#pragma once

#include "platform/report/document.h"

class QPrinter;

namespace Brelvan {

// Prints the document on `printer`, each page at its own size and orientation; the
// printer's page range (from its print dialog) limits the pages. False when the printer
// could not be started.
bool printDocument(const Document &doc, QPrinter &printer);

} // namespace Brelvan
