#include "windows/report/ReportSurroundings.h"

#include "platform/Regional.h"

namespace quillon {

ReportEnvironment ReportSurroundings::Environment() {
    ReportEnvironment environment;
    environment.locale = &locale_;
    environment.scratch = &scratch_.Get();
    environment.progress = &progress_;
    environment.now = [] { return Now(); };
    return environment;
}

}  // namespace quillon
