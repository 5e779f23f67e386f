// The look for a printer that Quick Print makes before it prints: it ends
// within its time limit, gives the same answer when asked again, and finds
// no printer where no CUPS server runs (printing to a file is no printer).
#include <gtest/gtest.h>
#include <wx/time.h>

#include <cstdlib>
#include <sys/stat.h>

#include "platform/Printers.h"
#include "support/WxFixture.h"

namespace {

class PrintersTest : public WxFixture {};

bool CupsServerRuns() {
  struct stat info;
  return std::getenv("CUPS_SERVER") != nullptr || stat("/run/cups/cups.sock", &info) == 0 ||
         stat("/var/run/cups/cups.sock", &info) == 0;
}

TEST_F(PrintersTest, LookEndsWithinItsLimit) {
  bool answers[2] = {false, false};
  for (bool& answer : answers) {
    const wxLongLong start = wxGetLocalTimeMillis();
    answer = platform::HasPrinter(1000);
    const long elapsed = (wxGetLocalTimeMillis() - start).ToLong();
    EXPECT_LT(elapsed, 3000) << "the look for a printer outlasted its limit";
    Pump();
  }
  EXPECT_EQ(answers[0], answers[1]);
  if (!CupsServerRuns()) {
    EXPECT_FALSE(answers[0]) << "a printer was found with no CUPS server";
  }
}

}  // namespace
