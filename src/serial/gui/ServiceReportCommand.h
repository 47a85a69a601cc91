#pragma once

#include "serial/ServiceReport.h"

#include <functional>
#include <optional>

// The program's two service-report modes, neither of which opens the program itself:
//   --service-report FILE    writes the report to FILE ("-": standard output) with no
//                            window; exit status 2 and one line on standard error naming
//                            the file and the reason when it cannot be written;
//   --service-report-dialog  asks where to save it (the desktop entry's action).
// Empty when the arguments ask for neither. `sources` is called once the application
// object exists.
std::optional<int> RunServiceReportMode(int argc, char** argv,
                                        const std::function<ServiceReportSources()>& sources);
