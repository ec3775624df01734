// The commands of the analysis and its reports: analyse, prepare, export, template, printers and
// print. Each definition carries its usage, its options and its part of the man page (troff).

#include "cli/AnalyseCommand.h"
#include "cli/CommandSpecs.h"
#include "cli/CompareCommand.h"
#include "cli/OptionReaders.h"
#include "cli/PrintCommands.h"
#include "cli/ReportCommands.h"
#include "cli/TemplateCommands.h"

namespace quillon {

// The sentence that ends the manual paragraph of every command that reads a text as analyse does.
// A macro, so that it joins the paragraphs' literals when they are compiled.
#define QUILLON_TAKES_ANALYSE_OPTIONS \
    "\nIt takes the analyse options\n" \
    ".BR \\-\\-system ,\n" \
    ".BR \\-\\-vowel\\-y ,\n" \
    ".B \\-\\-fold\\-accents\n" \
    "and\n" \
    ".B \\-\\-date\n" \
    "as\n" \
    ".B analyse\n" \
    "does."

namespace {

constexpr OptionSpec kAnalyseOptions[] = {
    WithManual(kSystemOption, R"man(The letter-value system; Pythagorean unless Chaldean is chosen.)man"),
    WithManual(kVowelYOption, R"man(Answers the Y question in advance.
The Ys at the given positions (counted from 1 in the text as analysed) are read as vowels, or
every Y with
.BR all ;
the other Ys stay consonants.
A vowel Y is written as a small
.BR y .
A position that holds no Y is a usage error.)man"),
    kFoldAccentsOption,
    WithManual(kDateOption,
               R"man(Reduces a date as the date calculator does (the whole date, month plus day, and the day) and
combines the date's total with the name's.
.I TEXT
is read in the short date format of the regional settings (see
.BR ENVIRONMENT ):
the day, the month and the year, each a run of digits, in the order of that format (day first
in the C and en_GB locales, month first in en_US), separated by any other characters; the month
may be given by its short name, and a year of one or two digits is 1900 plus that number.
.B /
is today.
Unlike the date field of the window, which completes a date from today and shows what it read,
the command line reads strictly: a part that is missing or out of range, more than three parts,
a year outside 1600 to 3999 or a date that is not on the calendar is a usage error that says
what is wrong, such as
.RB \(lq "Invalid date \(dq12/29/1985\(dq: there is no month 29" \(rq
under en_GB.)man"),
    {"json", nullptr, "Prints the report's values as JSON.",
     R"man(Prints, instead of the layout, one JSON object with the values that a report would show, keyed
by the report's variable names (such as
.BR Vowels ,
.BR VTot ,
.BR CTot ,
.BR Total ,
.BR V1 " to " V9 ,
.BR DateTotal ,
.BR NameDate ),
and the numbers
.BR VowelSum ,
.BR ConsonantSum ,
.BR NumberSum ,
.BR GrandTotal ,
.B DateDigitSum
and
.B DataText
(the text as analysed, vowel Ys in small letters), and the object
.B core
with the core numbers by
.BR expression ,
.BR soulurge ,
.B personality
and, with a date,
.BR lifepath ,
.B birthday
and
.BR maturity ,
each as
.BR {\(dqchain\(dq,\~\(dqdigit\(dq,\~\(dqmaster\(dq} ,
master being null without a master number.)man"},
};

constexpr OptionSpec kCompareOptions[] = {
    WithManual(kDateOption, R"man(A date of birth, read as for
.BR analyse ;
the first
.B \-\-date
belongs to the first name, the second to the second, and so on.
Names without a date have no life path, birthday and maturity.)man"),
    WithManual(kSystemOption, R"man(The letter-value system, as for
.BR analyse .)man"),
    WithManual(kFoldAccentsOption, ""),
    {"json", nullptr, "Prints the core numbers of each name and the shared ones as JSON.",
     R"man(Prints
.B {\(dqnames\(dq: [...], \(dqshared\(dq: [...]}
instead: for each name the object
.B core
of
.B analyse \-\-json
with the keys
.B name
(the name as analysed) and, when it has one,
.BR date ;
then the keys of the numbers that every name has with the same final digit.)man"},
};

constexpr OptionSpec kPrepareOptions[] = {
    kSystemOption,
    kVowelYOption,
    WithManual(kFoldAccentsOption, ""),
    kDateOption,
    WithManual(kTemplateOption, R"man(Lays out a report template stream of your own (as
.B template save
writes one) instead of the report Quillon carries; its bracketed names are answered as in the
window. A template of more than 10,000 lines in a memo, 100,000 lines or 4 MiB of text in all,
10,000 objects or 256 pages is refused, as is one whose pages would hold more than a million
lines or 32 MiB; the message says what is too large.)man"),
    {"json", nullptr, "Prints the pages as JSON, as prepare always does.", R"man(Prints the pages as JSON, which is what
.B prepare
always does.)man"},
};

constexpr OptionSpec kExportOptions[] = {
    kSystemOption,
    kVowelYOption,
    WithManual(kFoldAccentsOption, ""),
    kDateOption,
    WithManual(kTemplateOption, R"man(Lays out a report template stream of your own, as for
.BR prepare .)man"),
    WithManual(kOutputOption, R"man(The file to write; required.
.B \-o \-
writes to standard output.
A file is written beside its target and renamed over it only when it is complete; a symbolic
link is written through (the link stays), and a device, pipe or terminal is written to
directly.)man"),
};

constexpr OptionSpec kTemplateOptions[] = {
    {"o,output", "FILE", "The file save writes; - is standard output.", R"man(The file that
.B template save
writes;
.B \-
is standard output.)man"},
};

constexpr OptionSpec kPrintersOptions[] = {
    {"json", nullptr, "Prints the printers and the current one as JSON.", R"man(Prints
.B {\(dqprinters\(dq: [{\(dqname\(dq, \(dqdefault\(dq}], \(dqcurrent\(dq}
instead, where
.B current
is the printer Quillon starts on (the default one), or null.)man"},
};

constexpr OptionSpec kPrintOptions[] = {
    {"printer", "NAME", "The printer to print on instead of the default one.", R"man(Prints on the printer
.I NAME
(as
.B quillon printers
lists it) instead of the default one; it wins over a printer that the template names.
An unknown name is a usage error.)man",
     ValueCompletion::Printers},
    {"pages", "LIST", "The pages to print, such as 1,3,5-12.", R"man(Prints only the pages of
.IR LIST :
page numbers and ranges separated by commas, such as
.BR 1,3,5\-12 ;
a list that ends in
.B \-
runs to the last page, and blanks are ignored.)man"},
    {"copies", "N", "The number of copies; 1 by default.", R"man(The number of copies; 1 by default.)man"},
    {"no-collate", nullptr, "Prints the copies of each page together.",
     R"man(Prints the copies of each page together instead of whole sets one after the other.)man"},
    {"odd", nullptr, "Prints only the odd pages.", "Prints only the odd pages; not together with\n.BR \\-\\-even ."},
    {"even", nullptr, "Prints only the even pages.", "Prints only the even pages; not together with\n.BR \\-\\-odd ."},
    WithManual(kTemplateOption, R"man(Prints a report template stream of your own, as for
.BR prepare .)man"),
    {"pdf", "FILE", "Writes the sheets to a PDF file instead.", R"man(Writes the sheets to the PDF file
.I FILE
instead of sending them to a printer.)man"},
    kSystemOption,
    kVowelYOption,
    WithManual(kFoldAccentsOption, ""),
    kDateOption,
};

}  // namespace

const CommandSpec kAnalyseCommand{
    .name = "analyse",
    .summary =
        "analyse [--system pythagorean|chaldean] [--vowel-y all|N[,N...]] [--date TEXT]\n"
        "          [--json] [--fold-accents] [--] TEXT\n"
        "      Analyses TEXT as the window would after pasting it: trimmed, composed, at\n"
        "      most 40 characters, a to z upper-cased. --vowel-y reads the Ys at those\n"
        "      1-based positions (or every Y) as vowels. --date reduces a date given in\n"
        "      the short date format of your regional settings (LANG, LC_TIME): day, month\n"
        "      and year, each given and in range, or / for today; it combines the date\n"
        "      with the name. --fold-accents values accented letters as their base letters.\n"
        "      The core numbers follow; --json prints the report's values as JSON.\n",
    .options = kAnalyseOptions,
    .needsWidgets = false,
    .run = RunAnalyseCommand,
    .manualSynopsis = R"man(.B quillon analyse
.RI [ options ]
.RB [ \-\- ]
.I TEXT)man",
    .manual = R"man(Analyses
.I TEXT
as the window would after pasting it and prints what the window shows: the letter system,
then the vowel row, the text and the consonant row, each framed by bars so that their blanks
show and followed by its total, then the digit chart (vowels, consonants and their total for
each value 1 to 9).
With
.B \-\-date
the date, its total, month plus day, day, and name plus date follow.
Then come the core numbers, one a line with its chain and its master number (11, 22 or 33)
when the chain passes through one: expression (the whole name), soul urge (its vowels),
personality (its consonants) and, with a date, life path (the whole date), birthday (its day)
and maturity (expression and life path added, a master number counted as it stands).
.PP
.BR \-\-system ,
.BR \-\-vowel\-y ,
.B \-\-fold\-accents
and
.B \-\-date
are the
.IR "analyse options" ,
which
.BR prepare ,
.B export
and
.B print
take as well.)man",
};

const CommandSpec kCompareCommand{
    .name = "compare",
    .summary =
        "compare [--date DATE]... [--system pythagorean|chaldean] [--fold-accents] [--json]\n"
        "          [--] NAME NAME...\n"
        "      Sets two to ten names side by side: their core numbers in columns, a * after\n"
        "      those that every name shares, and the digit chart of each. The first --date\n"
        "      is the first name's, and so on. Quote a name with blanks.\n",
    .options = kCompareOptions,
    .needsWidgets = false,
    .run = RunCompareCommand,
    .manualSynopsis = R"man(.B quillon compare
.RI [ options ]
.RB [ \-\- ]
.IR "NAME NAME" ...)man",
    .manual = R"man(Sets two to ten names side by side, each analysed as
.B analyse
analyses its
.I TEXT
(every Y a consonant): the core numbers in columns, one column per name, a
.B *
after the title of each number that every name has with the same final digit, and then the
digit chart of each name.
Each
.I NAME
is one argument; quote a name with blanks.
Fewer than two names, more than ten, an empty name or more dates than names are usage errors.
.B \-\-fold\-accents
values accented letters as for
.BR analyse .)man",
};

const CommandSpec kPrepareCommand{
    .name = "prepare",
    .summary =
        "prepare print|export [analyse's options] [--template FILE] [--json] [--] TEXT\n"
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
    .summary =
        "export [analyse's options] [--template FILE] -o FILE [--] TEXT\n"
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
    .summary =
        "template save print|export -o FILE\n"
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
    .summary =
        "printers [--json]\n"
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
    .summary =
        "print [--printer NAME] [--pages LIST] [--copies N] [--no-collate] [--odd | --even]\n"
        "        [--template FILE] [--pdf FILE] [analyse's options] [--] TEXT\n"
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
