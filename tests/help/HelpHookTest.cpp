#include <cerrno>
#include <gtest/gtest.h>

#include "help/DLogFile.h"
#include "help/HelpAddress.h"
#include "help/HelpEnvironment.h"
#include "help/hh_funcs.h"
#include "support/HelpTestSupport.h"
#include "support/RecordingMessages.h"

namespace quillon {
namespace {

using test::FixedClock;
using test::LogLines;
using test::TempFolder;
using test::WriteFile;

class RecordingViewer final : public HtmlHelpControl {
public:
    struct Call {
        std::string address;
        HtmlHelpCommand command;
        std::uint32_t data;
    };
    bool HtmlHelp(std::string_view address, HtmlHelpCommand command, std::uint32_t data) override {
        calls.push_back({std::string(address), command, data});
        return true;
    }
    std::vector<Call> calls;
};

class RecordingStarter final : public ProgramStarter {
public:
    int Start(const std::filesystem::path& program, const std::vector<std::string>& parameters) override {
        started.emplace_back(program, parameters);
        return answer;
    }
    int answer = 0;
    std::vector<std::pair<std::filesystem::path, std::vector<std::string>>> started;
};

class Hook : public ::testing::Test {
protected:
    Hook() : log_(temp / "HHDebug.txt", DebugOn(), clock, temp.Path()) {
        environment.viewerInstalled = true;
        environment.systemProgramFolder = temp.Path();
    }

    static LogSwitches DebugOn() {
        LogSwitches switches;
        switches.debug = true;
        return switches;
    }

    // The log's lines after its first n, without their time stamps.
    std::vector<std::string> Logged(std::size_t from = 0) const {
        std::vector<std::string> lines;
        const std::vector<std::string> all = LogLines(log_.FileName());
        for (std::size_t i = from; i < all.size(); ++i)
            lines.push_back(all[i].substr(std::string("12:34:56   ").size()));
        return lines;
    }

    TempFolder temp;
    FixedClock clock;
    HelpEnvironment environment;
    TDLogFile log_;
    RecordingViewer viewer;
    RecordingStarter starter;
    HelpSystem help{environment, log_, &viewer, starter};
    ApplicationHelp application;
    RecordingMessages messages;
};

TEST_F(Hook, InstallsItselfAndPutsThePreviousHandlerBack) {
    int previousCalls = 0;
    application.OnHelp = [&previousCalls](std::uint16_t, std::intptr_t, bool&) { return ++previousCalls > 0; };
    {
        THookHelpSystem hook(help, application, "/h/quill.chm", "", HelpHostType::HtmlHelpControl);
        application.HelpCommand(kHelpContents, 0);
        EXPECT_EQ(previousCalls, 0) << "the hook does not chain by default";
        hook.chain = true;
        application.HelpCommand(kHelpContents, 0);
        EXPECT_EQ(previousCalls, 1);
    }
    application.HelpCommand(kHelpContents, 0);
    EXPECT_EQ(previousCalls, 2);
    EXPECT_EQ(Logged(), (std::vector<std::string>{
                            "THookHelpSystem.Create(\"/h/quill.chm\",\"\", 0)",
                            "THookHelpSystem.HelpHook(3 (HELP_INDEX or HELP_CONTENTS), 0)",
                            "THookHelpSystem.HelpHook(3 (HELP_INDEX or HELP_CONTENTS), 0)",
                            "THookHelpSystem.Destroy",
                        }));
    ASSERT_EQ(viewer.calls.size(), 1u);
    EXPECT_EQ(viewer.calls[0].command, HtmlHelpCommand::CloseAll);
}

TEST_F(Hook, AContextRequestShowsTheHelpFileInTheViewer) {
    THookHelpSystem hook(help, application, "/h/quill.chm", "", HelpHostType::HtmlHelpControl);
    EXPECT_TRUE(application.HelpContext(42));
    ASSERT_EQ(viewer.calls.size(), 1u);
    EXPECT_EQ(viewer.calls[0].address, "/h/quill.chm");
    EXPECT_EQ(viewer.calls[0].command, HtmlHelpCommand::HelpContext);
    EXPECT_EQ(viewer.calls[0].data, 42u);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(application.ClassicHelpRequests(), 0);
    EXPECT_EQ(Logged(1), (std::vector<std::string>{
                             "THookHelpSystem.HelpHook(1 (HELP_CONTEXT), 42)",
                             "HHHelpContext(\"/h/quill.chm\", 42, \"\", 0)",
                             "ShowContext(\"/h/quill.chm\", 42)",
                             "  returned - 0",
                         }));
}

TEST_F(Hook, WithoutTheViewerAContextRequestSaysSo) {
    environment.viewerInstalled = false;
    THookHelpSystem hook(help, application, "/h/quill.chm", "", HelpHostType::HtmlHelpControl);
    application.HelpContext(7);
    EXPECT_TRUE(viewer.calls.empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Quillon");
    EXPECT_EQ(messages.shown[0].text, "MS Html Help is not installed on this PC.");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    const std::vector<std::string> lines = Logged();
    EXPECT_EQ(lines[lines.size() - 2], "  returned - 1");
    EXPECT_EQ(lines.back(), "HHShowError(1), \"MS Html Help is not installed on this PC.\"");
}

TEST_F(Hook, ExternalViewerProgramsGetTheNumberAndTheAddress) {
    struct Row {
        HelpHostType host;
        const char* program;
        std::vector<std::string> parameters;
        const char* missing;
    };
    const Row rows[] = {
        {HelpHostType::KeyHH,
         "KeyHH.EXE",
         {"-win", "-#mapid", "7", "/h/quill.chm"},
         "System file KeyHH.EXE was not found in the Windows folder."},
        {HelpHostType::HH,
         "HH.EXE",
         {"-mapid", "7", "mk:@MSITStore:/h/quill.chm"},
         "System file HH.EXE was not found in the Windows folder."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.program);
        messages.shown.clear();
        starter.started.clear();
        EXPECT_EQ(HHHelpContext(help, "/h/quill.chm", 7, "", row.host), row.host == HelpHostType::KeyHH ? 2 : 3);
        EXPECT_TRUE(starter.started.empty());

        WriteFile(temp / row.program, "");
        EXPECT_EQ(HHHelpContext(help, "/h/quill.chm", 7, "", row.host), 0);
        ASSERT_EQ(starter.started.size(), 1u);
        EXPECT_EQ(starter.started[0].first, temp / row.program);
        EXPECT_EQ(starter.started[0].second, row.parameters);

        HHShowError(help, row.host == HelpHostType::KeyHH ? 2 : 3);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, row.missing);
    }
}

TEST_F(Hook, AProgramThatCannotStartIsReportedWithThePlatformError) {
    WriteFile(temp / "HH.EXE", "");
    starter.answer = EACCES;
    EXPECT_EQ(ShowContext(help, "mk:@MSITStore:/h/quill.chm", 7, HelpHostType::HH), 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    const std::string expected = "Function ShellExecute(" + (temp / "HH.EXE").string() +
                                 ", -mapid 7 mk:@MSITStore:/h/quill.chm)\rReturned: [Error:13] Access Denied";
    EXPECT_EQ(messages.shown[0].text, expected);
    EXPECT_EQ(Logged()[1], expected);
}

TEST_F(Hook, PopUpsUseTheRememberedPosition) {
    THookHelpSystem hook(help, application, "/h/quill.chm", "", HelpHostType::HtmlHelpControl);
    // x in the low half, y in the high half, both signed.
    const std::intptr_t packed = static_cast<std::intptr_t>((300u << 16) | 0xFFFBu);
    application.HelpCommand(kHelpSetPopupPos, packed);
    EXPECT_EQ(hook.PopupX(), -5);
    EXPECT_EQ(hook.PopupY(), 300);
    EXPECT_TRUE(viewer.calls.empty());

    application.HelpCommand(kHelpContextPopup, 9);
    ASSERT_EQ(viewer.calls.size(), 1u) << "without a pop-up callback a pop-up is a context request";
    std::vector<int> popup;
    hook.popupCallback = [&popup](int context, int x, int y) { popup = {context, x, y}; };
    application.HelpCommand(kHelpContextPopup, 9);
    EXPECT_EQ(popup, (std::vector<int>{9, -5, 300}));
    int context = 0;
    hook.contextCallback = [&context](int number) { context = number; };
    application.HelpContext(11);
    EXPECT_EQ(context, 11);
    EXPECT_EQ(viewer.calls.size(), 1u);
}

TEST_F(Hook, AJumpToANamedTopicIsLoggedAndPassedToTheClassicHelp) {
    THookHelpSystem hook(help, application, "/h/quill.chm", "", HelpHostType::HtmlHelpControl);
    EXPECT_TRUE(application.HelpJump("IDH_CALCULATOR"));
    EXPECT_EQ(application.ClassicHelpRequests(), 2);
    EXPECT_TRUE(viewer.calls.empty());
    EXPECT_TRUE(messages.shown.empty());
    const std::vector<std::string> lines = Logged(1);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "THookHelpSystem.HelpHook(3 (HELP_INDEX or HELP_CONTENTS), 0)");
    EXPECT_TRUE(lines[1].starts_with("THookHelpSystem.HelpHook(258 (HELP_COMMAND), ")) << lines[1];
}

TEST(SpawnProgramStarter, ReportsWhyAProgramDidNotStart) {
    TempFolder temp;
    SpawnProgramStarter starter;
    EXPECT_EQ(starter.Start(temp / "missing", {}), ENOENT);
    WriteFile(temp / "not-executable", "#!/bin/sh\n");
    EXPECT_EQ(starter.Start(temp / "not-executable", {}), EACCES);
    EXPECT_EQ(starter.Start("/bin/true", {"-mapid", "1"}), 0);
}

}  // namespace
}  // namespace quillon
