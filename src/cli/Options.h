#pragma once
// Every option of the commands and of --screenshot, each defined once: the names it is typed by
// and the name of its value. The command tables (cli/*CommandSpecs.cpp) list these constants,
// adding the help and the man page's paragraph where a command means the option its own way, and
// the commands look them up by the same constants (arguments.IsSet(kJsonOption)), so that a
// misspelt option is a compile error rather than an option that is never set.

#include "cli/CommandTable.h"

namespace quillon {

// The options of the analysis, which the report commands, batch and --screenshot share; their
// readers are in cli/OptionReaders.h.
inline constexpr OptionSpec kSystemOption{"system", "pythagorean|chaldean",
                                          "The letter-value system; Pythagorean by default."};
inline constexpr OptionSpec kVowelYOption{"vowel-y", "all|N[,N...]",
                                          "Reads the Ys at these positions (from 1), or every Y, as vowels."};
inline constexpr OptionSpec kDateOption{"date", "TEXT", "Day, month and year, in the regional short date format."};
inline constexpr OptionSpec kFoldAccentsOption{"fold-accents", nullptr,
                                               "Values accented letters as their base letters: É as E, Æ as A and E.",
                                               R"man(Values accented letters as their base letters:
.B \['E]
and
.B \['e]
as E,
.B \(AE
as A and E,
.B \(ss
as S and S; the text keeps its letters as typed.
An accented small y is read as a vowel as y is, an accented capital Y as a consonant as Y is, and
.B \-\-vowel\-y
turns the accented Ys as well.
Letters of other scripts stay outside the totals, as without the option.)man"};
inline constexpr OptionSpec kTemplateOption{"template", "FILE", "Lays out a report template stream of your own."};
inline constexpr OptionSpec kOutputOption{"o,output", "FILE", "The file to write; - is standard output."};

// In the synopsis of prepare, export and print the options above stand as one placeholder.
inline constexpr SynopsisForm kAmongAnalyseOptions{.among = "analyse's options"};

// Options that each command describes in its own words.
inline constexpr OptionSpec kJsonOption{"json"};

// print
inline constexpr OptionSpec kPrinterOption{"printer", "NAME", "", "", ValueCompletion::Printers};
inline constexpr OptionSpec kPagesOption{"pages", "LIST"};
inline constexpr OptionSpec kCopiesOption{"copies", "N"};
inline constexpr OptionSpec kNoCollateOption{"no-collate"};
inline constexpr OptionSpec kOddOption{"odd"};
inline constexpr OptionSpec kEvenOption{"even"};
inline constexpr OptionSpec kPdfOption{"pdf", "FILE"};

// calc
inline constexpr OptionSpec kClipboardOption{"clipboard", "TEXT"};

// batch
inline constexpr OptionSpec kColumnOption{"column", "NAME|N"};
inline constexpr OptionSpec kDateColumnOption{"date-column", "NAME|N"};
inline constexpr OptionSpec kCoreOption{"core"};
inline constexpr OptionSpec kWhereOption{"where", "KEY=DIGIT", "", "", ValueCompletion::WhereClauses};
inline constexpr OptionSpec kFormatOption{"format", "csv|tsv|jsonl"};
inline constexpr OptionSpec kNoHeaderOption{"no-header"};
inline constexpr OptionSpec kThreadsOption{"threads", "N"};

// help
inline constexpr OptionSpec kTextOption{"text"};
inline constexpr OptionSpec kListOption{"list"};

// --screenshot DIR and the text it pastes into the analysis window.
inline constexpr OptionSpec kScreenshotOption{"screenshot", "DIR"};
inline constexpr OptionSpec kDataOption{"data", "TEXT"};

}  // namespace quillon
