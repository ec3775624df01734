#pragma once
// How a run of the report engine ended: done, cancelled by the user, or failed with the message the
// program shows. The engine shows nothing itself; windows turn a failure into a message box and
// the command line into a line on standard error and an exit code.

#include <string>
#include <utility>

namespace quillon {

enum class RunOutcome { Done, Cancelled, Failed };

struct RunResult {
    RunOutcome outcome = RunOutcome::Done;
    std::string message;  // the failure's text, for a box captioned "Error"

    static RunResult Done() { return {}; }
    static RunResult Cancelled() { return {RunOutcome::Cancelled, {}}; }
    static RunResult Failed(std::string text) { return {RunOutcome::Failed, std::move(text)}; }

    bool IsDone() const { return outcome == RunOutcome::Done; }
    bool IsFailed() const { return outcome == RunOutcome::Failed; }
};

// The caption of the engine's error boxes.
inline constexpr const char* kErrorCaption = "Error";

}  // namespace quillon
