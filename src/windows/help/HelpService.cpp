#include "windows/help/HelpService.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QSysInfo>
#include <QVersionNumber>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "common/Messages.h"
#include "common/Version.h"
#include "help/HelpAddress.h"
#include "help/HelpVersions.h"
#include "help/LocaleIds.h"
#include "platform/QtReportLocale.h"

namespace quillon {
namespace {

// Time stamps in the locale's time format with seconds, as the report's time values are written.
class QtLogClock final : public LogClock {
public:
    std::string TimeText() const override {
        const QTime now = QTime::currentTime();
        return QtReportLocale().Time({now.hour(), now.minute(), now.second()});
    }
    std::string DateTimeText() const override {
        const QDateTime now = QDateTime::currentDateTime();
        return QLocale().toString(now.date(), QLocale::ShortFormat).toStdString() + " " + TimeText();
    }
};

std::filesystem::path ThisExecutable() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

std::string ProgramVersion() {
    const QVersionNumber version = QVersionNumber::fromString(QString::fromLatin1(kVersion));
    return VersionText({static_cast<std::uint16_t>(version.majorVersion()),
                        static_cast<std::uint16_t>(version.minorVersion()),
                        static_cast<std::uint16_t>(version.microVersion()), 0});
}

std::vector<std::string> StdStrings(const QStringList& list) {
    std::vector<std::string> strings;
    for (const QString& text : list) strings.push_back(text.toStdString());
    return strings;
}

// The variable that decides the locale's messages and formats, and its value.
std::pair<std::string, std::string> LocaleVariable() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* value = std::getenv(name); value && *value) return {value, name};
    }
    return {"C", "default"};
}

LogHeader HeaderFor(const HelpEnvironment& environment, const TDLogFile& log, const LogClock& clock) {
    LogHeader header;
    header.logFile = log.FileName().string();
    header.dateTime = clock.DateTimeText();
    header.systemName =
        QSysInfo::kernelType() == QLatin1String("linux") ? "Linux" : QSysInfo::kernelType().toStdString();
    const QVersionNumber kernel = QVersionNumber::fromString(QSysInfo::kernelVersion());
    header.systemMajor = kernel.majorVersion();
    header.systemMinor = kernel.minorVersion();
    header.systemBuild = kernel.microVersion();
    header.systemDetail = QSysInfo::prettyProductName().toStdString();
    std::tie(header.locale, header.localeSource) = LocaleVariable();
    const QLocale locale;
    header.language = QLocale::languageToCode(locale.language()).toStdString();
    header.languageName = QLocale::languageToString(locale.language()).toStdString();
    header.territory = QLocale::territoryToCode(locale.territory()).toStdString();
    header.territoryName = QLocale::territoryToString(locale.territory()).toStdString();
    header.localeId = LocaleIdentifier(header.language, header.territory);
    header.decimalSeparator = locale.decimalPoint().toStdString();
    header.exePath = environment.modulePath.string();
    header.exeVersion = environment.moduleVersion;
    header.parameters = environment.parameters;
    header.commandLine = environment.commandLine;
    header.runFolder = environment.runFolder.string();
    header.moduleName = environment.moduleName;
    header.moduleFolder = environment.moduleFolder.string();
    header.modulePath = environment.modulePath.string();
    header.moduleVersion = environment.moduleVersion;
    header.viewerInstalled = environment.viewerInstalled;
    header.viewerVersion = environment.viewerVersion;
    header.viewerFriendlyVersion = environment.viewerFriendlyVersion;
    header.browserInstalled = environment.browserInstalled;
    header.browserVersion = environment.browserVersion;
    header.browserFriendlyVersion = environment.browserFriendlyVersion;
    return header;
}

HelpService*& Installed() {
    static HelpService* installed = nullptr;
    return installed;
}

}  // namespace

HelpService::HelpService(const HelpStartup& startup)
    : library_(startup.viewerLibrary.toStdString()), clock_(std::make_unique<QtLogClock>()), viewers_(library_) {
    HelpEnvironmentInputs inputs;
    inputs.arguments = StdStrings(startup.arguments);
    inputs.modulePath =
        startup.modulePath.isEmpty() ? ThisExecutable() : std::filesystem::path(startup.modulePath.toStdString());
    inputs.moduleVersion = ProgramVersion();
    std::error_code error;
    inputs.currentFolder = std::filesystem::current_path(error);
    inputs.temporaryFolder = startup.temporaryFolder.isEmpty()
                                 ? SystemTemporaryFolder()
                                 : std::filesystem::path(startup.temporaryFolder.toStdString());
    inputs.userName = CurrentUserName();
    if (const char* path = std::getenv("PATH")) inputs.searchPath = path;
    inputs.systemProgramFolder = startup.systemProgramFolder.toStdString();
    inputs.viewerPath = library_.Path();
    inputs.viewerVersion = SharedLibraryVersionText(std::filesystem::path(library_.Path()).filename().string());
    environment_ = ProbeHelpEnvironment(inputs);

    LogSwitches switches;
    switches.debug = environment_.debugMode;
    log_ = std::make_unique<TDLogFile>(environment_.logFile, switches, *clock_, environment_.temporaryLogFile);
    if (environment_.debugMode) log_->WriteHeader(HeaderFor(environment_, *log_, *clock_));
    system_ = std::make_unique<HelpSystem>(
        HelpSystem{environment_, *log_, library_.Loaded() ? &viewers_ : nullptr, programs_});
}

HelpService::~HelpService() {
    if (Installed() == this) Installed() = nullptr;
}

QString HelpService::FindHelpFile(const QString& currentFolder) const {
    const std::filesystem::path folder = currentFolder.toStdString();
    // An empty or damaged file in the folder started from does not hide a good one further on.
    for (const std::filesystem::path& candidate : HelpFileCandidates(folder, environment_.moduleFolder)) {
        if (ChmFile::Open(library_, candidate.string())) return QString::fromStdString(candidate.string());
    }
    return QString::fromStdString(quillon::FindHelpFile(folder, environment_.moduleFolder).string());
}

std::unique_ptr<THookHelpSystem> HelpService::CreateHook(const QString& helpFile) {
    return std::make_unique<THookHelpSystem>(*system_, application_, helpFile.toStdString(), std::string(),
                                             HelpHostType::HtmlHelpControl);
}

bool HelpService::ShowTopic(const QString& address) {
    if (!library_.Loaded()) {
        log_->ShowMessage("The help viewer cannot be started: " + library_.Error() +
                          ". It needs the library chmlib (Debian package libchm1).");
        return false;
    }
    return viewers_.HtmlHelp(address.toStdString(), HtmlHelpCommand::DisplayTopic, 0);
}

bool HelpService::HelpJump(const QString& topic) { return application_.HelpJump(topic.toStdString()); }

void HelpService::CloseAll() { viewers_.CloseAll(); }

HelpService& CurrentHelp() {
    if (!Installed()) {
        static HelpService ofThisProcess(HelpStartup{QCoreApplication::arguments()});
        Installed() = &ofThisProcess;
    }
    return *Installed();
}

HelpService* SwapInstalled(HelpService* service) { return std::exchange(Installed(), service); }

QStringList WithoutDebugSwitches(const QStringList& arguments) {
    QStringList kept;
    bool text = false;  // after "--" everything is text, "-debug" too
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        text = text || arguments[i] == QLatin1String("--");
        if (i == 0 || text || !IsDebugSwitch(arguments[i].toStdString())) kept << arguments[i];
    }
    return kept;
}

}  // namespace quillon
