#include "cli/CalcCommand.h"

#include <QApplication>
#include <QClipboard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <gtest/gtest.h>

#include "cli/CommandLine.h"
#include "support/CommandOutcome.h"
#include "support/QtPrint.h"

namespace quillon {
namespace {

Outcome Calc(QStringList arguments) {
    arguments.prepend(QStringLiteral("calc"));
    return Quillon(arguments);
}

QJsonObject Json(const Outcome& run) {
    EXPECT_EQ(run.exitCode, kExitOk) << run.err.toStdString();
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

TEST(CalcCommand, JsonContract) {
    const QJsonObject reduced = Json(Calc({QStringLiteral("--json"), QStringLiteral("1234.00{Reduce}{Reduce}")}));
    EXPECT_EQ(reduced, (QJsonObject{{"display", "19.00"},
                                    {"entry", "19.00"},
                                    {"memory", "0.00"},
                                    {"error", false},
                                    {"pending", "none"},
                                    {"beeps", 0},
                                    {"clipboard", "19.00"},
                                    {"messages", QJsonArray()}}));

    const QJsonObject failed = Json(Calc({QStringLiteral("--json"), QStringLiteral("7{Ctrl+M}1/0=+")}));
    EXPECT_EQ(failed.value("display"), QStringLiteral("****** "));
    EXPECT_EQ(failed.value("entry"), QString());
    EXPECT_EQ(failed.value("memory"), QStringLiteral("7.00"));
    EXPECT_EQ(failed.value("error"), true);
    EXPECT_EQ(failed.value("beeps"), 2);
    EXPECT_EQ(failed.value("clipboard"), QString()) << "the clipboard starts empty";

    const QJsonObject message =
        Json(Calc({QStringLiteral("--json"), QStringLiteral("123456789012345678901{Reduce}2{click:+}3")}));
    EXPECT_EQ(message.value("messages"), QJsonArray{QStringLiteral("Number must be twenty (20) integers or less.")});
    EXPECT_EQ(message.value("pending"), QStringLiteral("add"));
}

TEST(CalcCommand, KeysActAsInTheWindow) {
    const struct {
        const char* name;
        QStringList arguments;
        const char* out;
        const char* err;
    } rows[] = {
        {"plain keys", {"2+3*4="}, "20.00\n", ""},
        {"several arguments", {"2+3", "*4", "{Enter}"}, "20.00\n", ""},
        {"error display", {"1/0="}, "****** \n", ""},
        {"leading minus after --", {"--", "-5="}, "-5.00\n", ""},
        {"named keys", {"12{Back}{F9}{Enter}"}, "-1.00\n", ""},
        {"delete is CE", {"5+3{Delete}4="}, "9.00\n", ""},
        {"clicks", {"{click:7}{click:.}{click:5}{click:+/-}{click:*}{click:2}{click:=}"}, "-15.00\n", ""},
        {"click functions", {"{click:9}{click:Sqrt}{click:1/x}"}, "0.33\n", ""},
        {"MR click ignored while memory is zero", {"5{click:MR}"}, "5\n", ""},
        {"memory keys", {"5{Ctrl+M}{Ctrl+P}{click:C}{click:MR}"}, "10.00\n", ""},
        {"Esc hides and keeps the state", {"12+3{Esc}={Esc}"}, "15.00\n", ""},
        {"F1 shows nothing", {"4{F1}"}, "4\n", ""},
        {"Sum", {"1234.56{Sum}"}, "10.56\n", ""},
        {"message on standard error", {"127{F9}{Sum}"}, "-127\n", "quillon: '-' is not a valid integer value\n"},
        {"negative reduce typed back", {"127{F9}{Reduce}"}, "5\n", ""},
    };
    for (const auto& row : rows) {
        const Outcome run = Calc(row.arguments);
        EXPECT_EQ(run.exitCode, kExitOk) << row.name;
        EXPECT_EQ(run.out, QString::fromLatin1(row.out)) << row.name;
        EXPECT_EQ(run.err, QString::fromLatin1(row.err)) << row.name;
    }
}

TEST(CalcCommand, Clipboard) {
    EXPECT_EQ(Calc({QStringLiteral("--clipboard"), QStringLiteral("6 x 7 ="), QStringLiteral("{Ctrl+V}")}).out,
              QStringLiteral("67.00\n"));
    const QJsonObject copied = Json(Calc({QStringLiteral("--json"), QStringLiteral("--clipboard"),
                                          QStringLiteral("old"), QStringLiteral("2+3={Ctrl+C}")}));
    EXPECT_EQ(copied.value("clipboard"), QStringLiteral("5.00  "));
}

TEST(CalcCommand, UsageErrors) {
    const struct {
        QStringList arguments;
        const char* err;
    } rows[] = {
        {{"1{Bogus}"}, "quillon: unknown key {Bogus}; see quillon calc --help\n"},
        {{"{click:MX}"}, "quillon: unknown key {click:MX}; see quillon calc --help\n"},
        {{"1{Enter"}, "quillon: a { without its } in \"1{Enter\"\n"},
        {{"--colour", "1"}, "quillon: calc has no option \"--colour\"; see quillon calc --help\n"},
    };
    for (const auto& row : rows) {
        QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
        const Outcome run = Calc(row.arguments);
        EXPECT_EQ(run.exitCode, kExitUsage);
        EXPECT_EQ(run.out, QString());
        EXPECT_EQ(run.err, QString::fromLatin1(row.err));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("untouched")) << "nothing ran";
    }

    for (const char* help : {"--help", "-h"}) {
        const Outcome run = Calc({QString::fromLatin1(help)});
        EXPECT_EQ(run.exitCode, kExitOk);
        EXPECT_TRUE(run.out.startsWith(QStringLiteral("Usage: quillon calc"))) << help;
        EXPECT_TRUE(run.out.contains(QStringLiteral("{click:1/x}")));
    }
}

}  // namespace
}  // namespace quillon
