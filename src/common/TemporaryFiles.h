#pragma once
// Temporary files and folders that must not outlive the program: a file being written beside its
// target, the private folder a print job is drawn in. While they exist they are named here, so that
// a signal that ends the program removes them before the program ends as the signal would have
// ended it. Work that must not be cut off halfway (a file rewritten in place) holds the ending
// signals back while it runs.

#include <fcntl.h>

#include <string>

namespace quillon {

// Names a temporary file by its folder (an open descriptor, or AT_FDCWD) and its name in it; the
// descriptor must stay open until the file is forgotten. False when too many are named already
// (the file is then left to its owner alone) or the name is longer than a path can be.
bool RememberTemporaryFile(int folder, const char* name);
inline bool RememberTemporaryFile(const char* path) { return RememberTemporaryFile(AT_FDCWD, path); }
// The file is gone or has taken its target's name: a signal leaves it alone.
void ForgetTemporaryFile(int folder, const char* name);
inline void ForgetTemporaryFile(const char* path) { ForgetTemporaryFile(AT_FDCWD, path); }

// Names a private folder that a signal removes whole: the files in it, then the folder.
bool RememberTemporaryFolder(const char* path);
void ForgetTemporaryFolder(const char* path);

// Makes a new file "PREFIXxxxxxx" (six random letters and digits) in the folder, readable and
// writable by its owner only, and names it as above before any signal can come between: returns
// its descriptor and sets name, or -1 with errno set.
int CreateTemporaryFile(int folder, const char* prefix, std::string& name);
// Makes a new folder "PREFIXxxxxxx" in the parent (owner only, 0700) and names it as above;
// returns its path, or an empty string with errno set.
std::string CreateTemporaryFolder(const std::string& parent, const char* prefix);
// Removes a folder made so: the files in it, then itself, and forgets it.
void RemoveTemporaryFolder(const std::string& path);

// The folder for temporary files: $TMPDIR when it names one, else /tmp.
std::string TemporaryFolderPath();

// For every signal whose default action ends the program (HUP, INT, QUIT, PIPE, ALRM, TERM,
// USR1, USR2, XCPU, XFSZ, VTALRM, PROF, POLL) installs a handler that removes the named files and
// folders and then ends the program by the same signal, so that the caller sees it in the exit
// status. A signal that was ignored when the program started stays ignored (nohup, background
// jobs of scripts), as the shell's caller wanted.
void RemoveTemporaryFilesOnSignals();

// While an object of this class lives (in any thread), a signal that would end the program waits:
// it is taken, with its removals, when the last such object ends. A second signal meanwhile is
// the same wait. For short work only: the user is kept waiting for it.
class EndingSignalsHeld {
public:
    EndingSignalsHeld();
    ~EndingSignalsHeld();
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;
};

}  // namespace quillon
