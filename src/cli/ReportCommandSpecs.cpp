// The commands of the reports: prepare, export, template, printers and print (analyse and compare
// are in cli/AnalyseCommandSpecs.cpp). Each definition carries its usage, its options and its part
// of the man page (troff).

#include "cli/CommandSpecs.h"
#include "cli/Options.h"
#include "cli/PrintCommands.h"
#include "cli/ReportCommands.h"
#include "cli/TemplateCommands.h"

namespace quillon {

// The sentence that ends the manual paragraph of every command that reads a text as analyse does.
// A macro, so that it joins the paragraphs' literals when they are compiled.
#define QUILLON_TAKES_ANALYSE_OPTIONS  \
    "\nIt takes the analyse options\n" \
    ".BR \\-\\-system ,\n"             \
    ".BR \\-\\-vowel\\-y ,\n"          \
    ".B \\-\\-fold\\-accents\n"        \
    "and\n"                            \
    ".B \\-\\-date\n"                  \
    "as\n"                             \
    ".B analyse\n"                     \
    "does."

namespace {

constexpr OptionSpec kPrepareOptions[] = {
    InSynopsis(kSystemOption, kAmongAnalyseOptions),
    InSynopsis(kVowelYOption, kAmongAnalyseOptions),
    InSynopsis(WithManual(kFoldAccentsOption, ""), kAmongAnalyseOptions),
    InSynopsis(kDateOption, kAmongAnalyseOptions),
    WithManual(kTemplateOption, R"man(Lays out a report template stream of your own (as
.B template save
writes one) instead of the report Quillon carries; its bracketed names are answered as in the
window. A template of more than 10,000 lines in a memo, 100,000 lines or 4 MiB of text in all,
10,000 objects or 256 pages is refused, as is one whose pages would hold more than a million
lines or 32 MiB; the message says what is too large.)man"),
    Described(kJsonOption, "Prints the pages as JSON, as prepare always does.",
              R"man(Prints the pages as JSON, which is what
.B prepare
always does.)man"),
};

constexpr OptionSpec kExportOptions[] = {
    InSynopsis(kSystemOption, kAmongAnalyseOptions),
    InSynopsis(kVowelYOption, kAmongAnalyseOptions),
    InSynopsis(WithManual(kFoldAccentsOption, ""), kAmongAnalyseOptions),
    InSynopsis(kDateOption, kAmongAnalyseOptions),
    WithManual(kTemplateOption, R"man(Lays out a report template stream of your own, as for
.BR prepare .)man"),
    InSynopsis(WithManual(kOutputOption, R"man(The file to write; required.
.B \-o \-
writes to standard output.
A file is written beside its target and renamed over it only when it is complete; a symbolic
link is written through (the link stays), and a device, pipe or terminal is written to
directly.)man"),
               {.required = true}),
};

constexpr OptionSpec kTemplateOptions[] = {
    InSynopsis(Described(kOutputOption, "The file save writes; - is standard output.", R"man(The file that
.B template save
writes;
.B \-
is standard output.)man"),
               {.required = true}),
};

constexpr OptionSpec kPrintersOptions[] = {
    Described(kJsonOption, "Prints the printers and the current one as JSON.", R"man(Prints
.B {\(dqprinters\(dq: [{\(dqname\(dq, \(dqdefault\(dq}], \(dqcurrent\(dq}
instead, where
.B current
is the printer Quillon starts on (the default one), or null.)man"),
};

constexpr OptionSpec kPrintOptions[] = {
    Described(kPrinterOption, "The printer to print on instead of the default one.", R"man(Prints on the printer
.I NAME
(as
.B quillon printers
lists it) instead of the default one; it wins over a printer that the template names.
An unknown name is a usage error.)man"),
    Described(kPagesOption, "The pages to print, such as 1,3,5-12.", R"man(Prints only the pages of
.IR LIST :
page numbers and ranges separated by commas, such as
.BR 1,3,5\-12 ;
a list that ends in
.B \-
runs to the last page, and blanks are ignored.)man"),
    Described(kCopiesOption, "The number of copies; 1 by default.", R"man(The number of copies; 1 by default.)man"),
    Described(kNoCollateOption, "Prints the copies of each page together.",
              R"man(Prints the copies of each page together instead of whole sets one after the other.)man"),
    InSynopsis(Described(kOddOption, "Prints only the odd pages.",
                         "Prints only the odd pages; not together with\n.BR \\-\\-even ."),
               {.orNext = true}),
    Described(kEvenOption, "Prints only the even pages.",
              "Prints only the even pages; not together with\n.BR \\-\\-odd ."),
    WithManual(kTemplateOption, R"man(Prints a report template stream of your own, as for
.BR prepare .)man"),
    Described(kPdfOption, "Writes the sheets to a PDF file instead.", R"man(Writes the sheets to the PDF file
.I FILE
instead of sending them to a printer.)man"),
    InSynopsis(kSystemOption, kAmongAnalyseOptions),
    InSynopsis(kVowelYOption, kAmongAnalyseOptions),
    InSynopsis(WithManual(kFoldAccentsOption, ""), kAmongAnalyseOptions),
    InSynopsis(kDateOption, kAmongAnalyseOptions),
};

}  // namespace

const CommandSpec kPrepareCommand{
    .name = "prepare",
    .before = "print|export",
    .after = "[--] TEXT",
    .description =
        "      Prepares the print or the export report for TEXT and prints its pages as\n"
        "      JSON: paper, margins, page metrics and every object with its final text.\n",
    .options = kPrepareOptions,
    .needsWidgets = false,
    .run = RunPrepareCommand,
    .manualSynopsis = R"man(.B quillon prepare
.BR print | export
.RI [ "analyse options" ]
.RB [ \-\-template
.IR FILE ]
.RB [ \-\-json ]
.RB [ \-\- ]
.I TEXT)man",
    .manual = R"man(Prepares the print report or the export report for
.I TEXT
(and the date of
.BR \-\-date )
and prints its pages as JSON: the paper, the margins and the page metrics of each page, and
every object with its final place and text.
Text is measured with fixed metrics here, so the pages do not depend on the fonts installed.
The output is JSON with or without
.BR \-\-json .)man" QUILLON_TAKES_ANALYSE_OPTIONS,
    .completeWords = R"sh(((${#positional[@]} == 0)) && _quillon_offer print export)sh",
};

const CommandSpec kExportCommand{
    .name = "export",
    .after = "[--] TEXT",
    .description =
        "      Writes the RTF file the Export button writes (the date group with --date).\n"
        "      -o - writes it to standard output.\n",
    .options = kExportOptions,
    .needsWidgets = true,
    .run = RunExportCommand,
    .manualSynopsis = R"man(.B quillon export
.RI [ "analyse options" ]
.RB [ \-\-template
.IR FILE ]
.B \-o
.I FILE
.RB [ \-\- ]
.I TEXT)man",
    .manual = R"man(Writes the RTF file that the window's Export button writes, with the date group when
.B \-\-date
is given.)man" QUILLON_TAKES_ANALYSE_OPTIONS,
};

const CommandSpec kTemplateCommand{
    .name = "template",
    .before = "save print|export",
    // "template show FILE" takes no options: it stands in the description.
    .description =
        "      Writes the report stream of a template as the program carries it\n"
        "      (-o - to standard output).\n"
        "  template show FILE\n"
        "      Reads a report template stream and prints what it holds as JSON.\n",
    .options = kTemplateOptions,
    .needsWidgets = false,
    .run = RunTemplateCommand,
    .manualSynopsis = R"man(.B quillon template save
.BR print | export
.B \-o
.I FILE
.br
.B quillon template show
.I FILE)man",
    .manual = R"man(.B template save
writes the report template stream of the print or the export report as Quillon carries it;
.B \-o \-
writes it to standard output, and a file is replaced safely as with
.BR export .
.B template show
reads a report template stream and prints what it holds as JSON: the pages and every object
with its record's fields.)man",
    .completeWords = R"sh(case ${#positional[@]}:${positional[0]} in
    0:) _quillon_offer save show ;;
    1:save) _quillon_offer print export ;;
    1:show) _filedir ;;
esac)sh",
};

const CommandSpec kPrintersCommand{
    .name = "printers",
    .description =
        "      Lists the installed printers in the system's order, the default one marked\n"
        "      with \"* \"; --json gives {\"printers\": [{\"name\", \"default\"}], \"current\"}.\n",
    .options = kPrintersOptions,
    .needsWidgets = true,
    .run = RunPrintersCommand,
    .manualSynopsis = R"man(.B quillon printers
.RB [ \-\-json ])man",
    .manual = R"man(Lists the installed printers in the system's order, one a line, the default one marked with
.RB \(lq *\~ \(rq
and the others indented by two blanks.
With no printer installed it says
.RB \(lq "No printer is installed." \(rq
on standard error and exits with status 0.)man",
};

const CommandSpec kPrintCommand{
    .name = "print",
    .after = "[--] TEXT",
    .description =
        "      Prepares the print report for TEXT and prints it as the print dialog's OK\n"
        "      would: on the default printer (or NAME), all pages (or LIST such as\n"
        "      1,3,5-12), 1 copy, collated. --pdf writes the sheets to FILE instead;\n"
        "      --template prints a report template stream of your own.\n",
    .options = kPrintOptions,
    .needsWidgets = true,
    .run = RunPrintCommand,
    .manualSynopsis = R"man(.B quillon print
.RI [ options ]
.RI [ "analyse options" ]
.RB [ \-\- ]
.I TEXT)man",
    .manual = R"man(Prepares the print report for
.I TEXT
and prints it as the print dialog's OK button would: on the default printer, every page, one
copy, collated.
Without an installed printer and without
.B \-\-pdf
it fails with the message
.RB \(lq "No printer is installed." \(rq)man" QUILLON_TAKES_ANALYSE_OPTIONS,
};

#undef QUILLON_TAKES_ANALYSE_OPTIONS

}  // namespace quillon
