// Looking for a printer through GTK's print backends. A job printed without
// the dialog waits in GTK until a backend names a printer or every backend
// has finished its list; the CUPS backend finishes none while no CUPS server
// answers (it marks itself unavailable and asks again and again), so that
// wait lasts for ever. GTK's listing of printers used here counts an
// unavailable backend as finished, and the look ends after a time limit too,
// for a server that accepts a connection but does not answer.
#include "platform/Printers.h"

#if defined(QM_HAVE_GTK_PRINT)
#include <gtk/gtk.h>
#include <gtk/gtkunixprint.h>
#endif

namespace platform {

#if defined(QM_HAVE_GTK_PRINT)

namespace {

// Shared by the look and GTK's listing of printers, which goes on after the
// look gives up while a backend has not finished: the later of the two frees it.
struct PrinterSearch {
  bool found = false;
  bool ended = false;      // GTK ended the listing
  bool abandoned = false;  // the look gave up first
};

gboolean OnPrinter(GtkPrinter* printer, gpointer data) {
  auto* search = static_cast<PrinterSearch*>(data);
  if (search->abandoned) return TRUE;  // ends the listing
  if (!gtk_printer_is_virtual(printer)) search->found = true;
  return search->found;
}

void OnListingEnded(gpointer data) {
  auto* search = static_cast<PrinterSearch*>(data);
  if (search->abandoned)
    delete search;
  else
    search->ended = true;
}

}  // namespace

bool HasPrinter(int maxWaitMs) {
  auto* search = new PrinterSearch;
  gtk_enumerate_printers(OnPrinter, search, OnListingEnded, FALSE);
  const gint64 deadline = g_get_monotonic_time() + static_cast<gint64>(maxWaitMs) * 1000;
  while (!search->found && !search->ended && g_get_monotonic_time() < deadline) {
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(5000);
  }
  const bool found = search->found;
  if (search->ended)
    delete search;
  else
    search->abandoned = true;
  return found;
}

#else

bool HasPrinter(int) { return true; }

#endif

}  // namespace platform
