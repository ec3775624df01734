#pragma once
// Temporary files that must not outlive the program: a file being written beside its target, the
// private file a print job is drawn into. While they exist they are named here, so that a signal
// that ends the program removes them before the program ends as the signal would have ended it.

namespace quillon {

// Names a temporary file; false when too many are named already (it is then left to its
// owner alone). Paths longer than the system's longest path are not taken.
bool RememberTemporaryFile(const char* path);
// The file is gone or has taken its target's name: a signal leaves it alone.
void ForgetTemporaryFile(const char* path);

// For every signal whose default action ends the program (HUP, INT, QUIT, PIPE, ALRM, TERM,
// USR1, USR2, XCPU, XFSZ, VTALRM, PROF, POLL) installs a handler that removes the named files and
// then ends the program by the same signal, so that the caller sees it in the exit status. A
// signal that was ignored when the program started stays ignored (nohup, background jobs of
// scripts), as the shell's caller wanted.
void RemoveTemporaryFilesOnSignals();

}  // namespace quillon
