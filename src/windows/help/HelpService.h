#pragma once
// The help service of the running program: started before any window, it loads the library that
// reads help files, records the environment, resets the diagnostic log and owns the help viewer
// windows. Windows ask it to show a topic; the analysis window creates the help hook with it.

#include <QString>
#include <QStringList>
#include <memory>

#include "common/Scoped.h"
#include "help/ChmFile.h"
#include "help/DLogFile.h"
#include "help/HelpEnvironment.h"
#include "help/hh_funcs.h"
#include "windows/help/HelpViewer.h"

namespace quillon {

struct HelpStartup {
    explicit HelpStartup(QStringList givenArguments = {}) : arguments(std::move(givenArguments)) {}

    QStringList arguments;  // as given to the program, its name first
    QString modulePath;     // the running executable; empty: this process's
    QString viewerLibrary = QString::fromLatin1(kChmLibraryName.data(), kChmLibraryName.size());
    // The folder where the external viewer programs of host types 1 and 2 would be.
    QString systemProgramFolder = QStringLiteral("/usr/bin");
    QString temporaryFolder;  // empty: the system's
};

class HelpService {
public:
    explicit HelpService(const HelpStartup& startup);
    ~HelpService();
    HelpService(const HelpService&) = delete;
    HelpService& operator=(const HelpService&) = delete;

    const HelpEnvironment& Environment() const { return environment_; }
    const TDLogFile& Log() const { return *log_; }
    HelpSystem& System() { return *system_; }
    ApplicationHelp& Application() { return application_; }
    HelpViewers& Viewers() { return viewers_; }
    const ChmLibrary& Library() const { return library_; }

    // The help file for a program started in that folder: the first that opens as a help file of
    // the folder's own quill.chm, the one beside the program and the installed one. When none
    // opens, the first that exists, else the folder's own, so that a message names it.
    QString FindHelpFile(const QString& currentFolder) const;

    // The help hook for a help file, installed until it is destroyed.
    std::unique_ptr<THookHelpSystem> CreateHook(const QString& helpFile);

    // The windows' topic display: shows the page at the address (a help file, optionally followed
    // by "::" and a page) in the viewer. When the viewer library is missing or the help file
    // cannot be opened, a message says so and the result is false.
    bool ShowTopic(const QString& address);
    // Asks the application's help to jump to the named topic, as F1 in the math calculator does.
    // The request goes through the help hook and the log; no page is shown for it.
    bool HelpJump(const QString& topic);
    // Closes every viewer window.
    void CloseAll();

private:
    ChmLibrary library_;
    HelpEnvironment environment_;
    std::unique_ptr<LogClock> clock_;
    std::unique_ptr<TDLogFile> log_;
    SpawnProgramStarter programs_;
    HelpViewers viewers_;
    std::unique_ptr<HelpSystem> system_;
    ApplicationHelp application_;
};

// The service the program started; a service for this process, started on first use, when none was.
HelpService& CurrentHelp();

// Makes a service the current one (null: none yet) and returns the one current before.
HelpService* SwapInstalled(HelpService* service);
// Makes a service the current one for its lifetime.
using ScopedHelpService = Scoped<HelpService>;

// The arguments without "-debug" and "/debug", which every command and the window accept.
QStringList WithoutDebugSwitches(const QStringList& arguments);

}  // namespace quillon
