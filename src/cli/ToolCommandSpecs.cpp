// The commands of the other windows and the batch run: links, calc, batch and help. Each
// definition carries its usage, its options and its part of the man page (troff).

#include "cli/BatchCommand.h"
#include "cli/CalcCommand.h"
#include "cli/CommandSpecs.h"
#include "cli/HelpCommand.h"
#include "cli/LinksCommand.h"
#include "cli/Options.h"

namespace quillon {
namespace {

constexpr OptionSpec kLinksOptions[] = {
    Described(kJsonOption, "Prints the links as JSON.", R"man(Prints an array of objects with
.BR caption ,
.B url
and
.B group
(one of
.BR maker ,
.B other
and
.BR donation ).)man"),
};

constexpr OptionSpec kCalcOptions[] = {
    Described(kJsonOption, "Prints the calculator's state as JSON.", R"man(Prints a JSON object with
.BR display ,
.BR entry ,
.BR memory ,
.BR error ,
.BR pending ,
.BR beeps ,
.B clipboard
and
.B messages
(the texts of the message boxes shown) instead.)man"),
    Described(kClipboardOption, "The clipboard's text before the first key.",
              R"man(The clipboard's text before the first key; empty by default.)man"),
};

constexpr OptionSpec kBatchOptions[] = {
    Described(kColumnOption, "The CSV column of the names.", R"man(Reads
.I INPUT
as CSV and takes the names from this column, given by its header text or by its number counted
from 1.
A column named by its header text makes the first row the header; a column given by number
reads every row as data.
Quoted fields may hold commas, quotes and line ends.)man"),
    Described(kDateColumnOption, "The column of each row's date.", R"man(The column of each row's date (needs
.BR \-\-column ),
read strictly as
.B analyse \-\-date
reads a date; an empty cell means the row has no date, and a date that does not read skips
its row.)man"),
    {kDateOption.names, "DATE", "One date for every row.", R"man(One date for every row, read as
.B analyse \-\-date
reads it; not together with
.BR \-\-date\-column .)man"},
    InSynopsis(WithManual(kSystemOption, R"man(The letter-value system, as for
.BR analyse .)man"),
               {.value = "..."}),
    {kVowelYOption.names, "none|all", "Every Y a consonant (the default) or a vowel.",
     R"man(Every Y a consonant (the default) or every Y a vowel.)man"},
    WithManual(kFoldAccentsOption, R"man(Values accented letters as their base letters, as for
.BR analyse .)man"),
    Described(kCoreOption, "Adds the core numbers: a column of the digit and one of the master number each.",
              R"man(Adds the core numbers after the other columns: for each of
.BR expression ,
.BR soulurge ,
.B personality
and, with a date,
.BR lifepath ,
.B birthday
and
.B maturity
a column of its final digit and one of its master number
.RB ( expression_master
and so on), empty when there is none.
A JSON line gets the object
.B core
as
.B analyse \-\-json
has it.)man"),
    InSynopsis(Described(kWhereOption, "Keeps the rows whose chain ends in DIGIT.",
                         R"man(Keeps only the rows whose chain ends in
.IR DIGIT ;
.I KEY
is
.BR vowels ,
.BR consonants ,
.BR total ,
.B date
or
.B namedate
(the last two need a date), or a core number:
.BR expression ,
.BR soulurge ,
.BR personality ,
.BR lifepath ,
.B birthday
or
.B maturity
(the last three need a date), whose
.I DIGIT
may also be the master number
.BR 11 ,
.B 22
or
.BR 33 .
Given several times, every condition must hold.)man"),
               {.repeated = true}),
    InSynopsis(WithManual(kOutputOption, R"man(The file to write;
.B \-
or none is standard output.
A file is written beside its target under a hidden temporary name and replaces it only when
the run gets to its end, so that a failed or interrupted run leaves an existing file as it was.)man"),
               {.order = -1, .value = "OUTPUT"}),
    InSynopsis(Described(kFormatOption, "The output format; CSV by default.", R"man(The output format; CSV by default.
TSV writes tabs, line ends and backslashes in a name as
.BR \(rst ,
.BR \(rsn ,
.B \(rsr
and
.BR \(rs\(rs .)man"),
               {.order = -1}),
    InSynopsis(Described(kNoHeaderOption, "No header row in CSV and TSV.",
                         R"man(Leaves out the header row of CSV and TSV.)man"),
               {.order = 1}),
    Described(kThreadsOption, "Worker threads; one per core by default.",
              R"man(The number of worker threads, from 1 to 256; by default one per processor core.)man"),
};

constexpr OptionSpec kHelpOptions[] = {
    InSynopsis(Described(kTextOption, "Prints the page as plain text.",
                         R"man(Prints the page as plain text instead, control characters written as escapes
.RB ( \ex1B );
needs no display.)man"),
               {.orNext = true}),
    Described(kListOption, "Prints the table of contents.",
              R"man(Prints the table of contents with the name of every page.)man"),
};

}  // namespace

const CommandSpec kLinksCommand{
    .name = "links",
    .description = "      Lists the web pages of the links window: caption and address.\n",
    .options = kLinksOptions,
    .needsWidgets = false,
    .run = RunLinksCommand,
    .usage =
        "\n"
        "Lists the web pages of the links window in the window's order: the caption,\n"
        "then the address. --json prints an array of objects with \"caption\", \"url\"\n"
        "and \"group\" (maker, other or donation).\n",
    .manualSynopsis = R"man(.B quillon links
.RB [ \-\-json ])man",
    .manual = R"man(Lists the web pages of the links window in the window's order: the caption, then the address.)man",
};

const CommandSpec kCalcCommand{
    .name = "calc",
    .after = "[--] KEYS...",
    .description =
        "      Types KEYS into the math calculator window and prints its display;\n"
        "      quillon calc --help lists the keys.\n",
    .options = kCalcOptions,
    .needsWidgets = true,
    .run = RunCalcCommand,
    .usage =
        "\n"
        "Types KEYS into the math calculator window, with no window on the screen, and prints\n"
        "the display text (without the two blanks after it), e.g. 5.00 or \"****** \".\n"
        "\n"
        "Every plain character of KEYS is a key typed into the calculator: 0-9 . + - * / = %\n"
        "@ (Sqrt) r (1/x). Named keys go in braces: {Enter} {Back} {Delete} {Esc} {F1} {F9}\n"
        "{Ctrl+L} (MC) {Ctrl+R} (MR) {Ctrl+M} (MS) {Ctrl+P} (M+) {Ctrl+S} (M-) {Ctrl+C} {Ctrl+V};\n"
        "the window's buttons {Reduce} {Sum}; mouse clicks on the keypad by caption:\n"
        "{click:MC} {click:MR} {click:MS} {click:M+} {click:M-} {click:Back} {click:CE} {click:C}\n"
        "{click:0}...{click:9} {click:.} {click:+/-} {click:+} {click:-} {click:*} {click:/}\n"
        "{click:=} {click:%} {click:Sqrt} {click:1/x}. Esc hides the window, as it does on the\n"
        "screen; the next key shows it again as the Calculator button would. Put -- before KEYS\n"
        "that begin with a minus.\n"
        "\n"
        "Options:\n"
        "  --clipboard TEXT  The clipboard's text before the first key (empty by default).\n"
        "  --json            Prints display, entry, memory, error, pending, beeps, clipboard and\n"
        "                    the texts of the message boxes shown, as JSON.\n"
        "Message boxes are written to standard error; they do not change the exit code.\n",
    .manualSynopsis = R"man(.B quillon calc
.RB [ \-\-json ]
.RB [ \-\-clipboard
.IR TEXT ]
.RB [ \-\- ]
.IR KEYS ...)man",
    .manual = R"man(Types
.I KEYS
into the math calculator window, with no window on the screen, and prints the display text
(without the two blanks after it), such as
.B 5.00
or
.RB \(lq "****** " \(rq.
The keys are described under
.BR "CALCULATOR KEYS" .
Message boxes that the calculator shows are written to standard error; they do not change the
exit status.)man",
    .completeWords = R"sh(# A key in braces is completed where its brace opens, after other keys of the word too.
local -a keys=('{Enter}' '{Back}' '{Delete}' '{Esc}' '{F1}' '{F9}' '{Ctrl+L}' '{Ctrl+R}'
    '{Ctrl+M}' '{Ctrl+P}' '{Ctrl+S}' '{Ctrl+C}' '{Ctrl+V}' '{Reduce}' '{Sum}' '{click:MC}'
    '{click:MR}' '{click:MS}' '{click:M+}' '{click:M-}' '{click:Back}' '{click:CE}' '{click:C}'
    '{click:0}' '{click:1}' '{click:2}' '{click:3}' '{click:4}' '{click:5}' '{click:6}'
    '{click:7}' '{click:8}' '{click:9}' '{click:.}' '{click:+/-}' '{click:+}' '{click:-}'
    '{click:*}' '{click:/}' '{click:=}' '{click:%}' '{click:Sqrt}' '{click:1/x}')
local open=${cur##*\{}
if [[ $cur == *\{* && $open != *\}* ]]; then
    local before=${cur%\{*} key
    COMPREPLY=()
    for key in "${keys[@]}"; do
        [[ $key == "{$open"* ]] && COMPREPLY+=("$before$key")
    done
    _quillon_trim_breaks
fi)sh",
};

const CommandSpec kBatchCommand{
    .name = "batch",
    .before = "[INPUT]",
    .description = "      Analyses every name of a list or a CSV column; see quillon batch --help.\n",
    .options = kBatchOptions,
    .needsWidgets = false,
    .run = RunBatchCommand,
    .usage =
        "\n"
        "Analyses every name of INPUT (a file; - or nothing: standard input) as the window\n"
        "would after pasting it, and writes one row per name, in input order: the name as\n"
        "analysed, the system, the three sums, their chains and final digits, the chart counts\n"
        "and, with a date, the date values.\n"
        "\n"
        "Input (one name per line, or CSV with --column):\n"
        "  --column NAME|N       the CSV column of the names, by header text or 1-based number;\n"
        "                        a column named by its header text makes the first row the header\n"
        "  --date-column NAME|N  the column of each row's date: day, month and year in the short\n"
        "                        date format of your regional settings (LANG, LC_TIME), each\n"
        "                        given and in range; an empty cell: no date\n"
        "  --date DATE           one date for every row\n"
        "\n"
        "Analysis:\n"
        "  --system pythagorean|chaldean\n"
        "  --vowel-y none|all    every Y a consonant (the default) or every Y a vowel\n"
        "  --fold-accents        accented letters valued as their base letters (É as E)\n"
        "  --where KEY=DIGIT     keeps the rows whose chain ends in DIGIT; KEY is vowels,\n"
        "                        consonants, total, date, namedate or a core number:\n"
        "                        expression, soulurge, personality, lifepath, birthday or\n"
        "                        maturity, whose DIGIT may be a master number 11, 22 or 33;\n"
        "                        several must all hold\n"
        "\n"
        "Output:\n"
        "  -o, --output FILE     the file to write (- or nothing: standard output); a file is\n"
        "                        replaced only when the run gets to its end\n"
        "  --format csv|tsv|jsonl\n"
        "  --core                adds the core numbers: the digit and the master number of\n"
        "                        each (expression, expression_master, ...; JSON: \"core\")\n"
        "  --no-header           no header row in CSV and TSV\n"
        "  --threads N           worker threads (default: the number of cores)\n"
        "\n"
        "A row that cannot be analysed (invalid UTF-8, a date that does not read, a missing\n"
        "column) is reported with its line number and skipped; the exit code is then 1.\n"
        "Exit code 2: a usage error, an input that cannot be read or an output that cannot be\n"
        "written.\n",
    .usageOptions = 1,
    .manualSynopsis = R"man(.B quillon batch
.RI [ INPUT ]
.RB [ \-o
.IR OUTPUT ]
.RI [ options ])man",
    .manual = R"man(Analyses every name of
.I INPUT
as the window would after pasting it, and writes one row per name in input order:
the name as analysed
.RB ( DataText ),
.BR Method ,
.BR VowelSum ,
.BR ConsonantSum ,
.BR GrandTotal ,
the chains
.BR VTot ,
.BR CTot ,
.BR Total ,
their final digits
.BR VowelDigit ,
.BR ConsonantDigit ,
.BR TotalDigit ,
the 27 chart counts
.BR V1 " .\|.\|. " T9
and, with a date,
.BR Dates ,
.BR DateTotal ,
.BR MonthDay ,
.BR DayTot ,
.BR NameDate ,
.B DateDigit
and
.BR NameDateDigit ,
and with
.B \-\-core
the core numbers.
The keys and values are those of
.BR "analyse \-\-json" .
.I INPUT
is a file with one name a line, or a CSV file with
.BR \-\-column ;
.B \-
or no
.I INPUT
reads standard input.
A UTF-8 byte-order mark and CRLF line ends are accepted.
.PP
A row that cannot be analysed (invalid UTF-8, a date that does not read as
.B analyse \-\-date
reads it, a missing column, a quoted field that never closes, a row over 1 MiB) is reported
with its line number and skipped, and the exit status is then 1.
A usage error, an input that cannot be read, an output that cannot be written and a header
without the named column end the run with status 2.
On a terminal a progress line shows how far the run is.)man",
    .completeWords = R"sh(((${#positional[@]} == 0)) && _filedir)sh",
};

const CommandSpec kHelpCommand{
    .name = "help",
    .after = "[PAGE]",
    .description =
        "      Opens the help viewer at PAGE or the start page; --text prints the page\n"
        "      as plain text, --list the table of contents.\n",
    .options = kHelpOptions,
    .needsWidgets = true,
    .run = RunHelpCommand,
    .usage =
        "\n"
        "Opens the help viewer at PAGE, or at the start page of the help.\n"
        "\n"
        "  --text     Prints the page as plain text instead; needs no display.\n"
        "  --list     Prints the table of contents with the name of every page.\n"
        "  -h, --help Shows this text.\n"
        "\n"
        "PAGE is a page of the help file as --list names it, such as html/quil3x2q.htm;\n"
        "a leading slash and backslashes are accepted. The help file quill.chm is taken\n"
        "from the current folder, else from the program's folder, else from\n"
        "share/quillon beside the program's bin folder.\n",
    .manualSynopsis = R"man(.B quillon help
.RB [ \-\-text " | " \-\-list ]
.RI [ PAGE ])man",
    .manual = R"man(Opens the help viewer at
.IR PAGE ,
or at the start page of the manual, and returns when it is closed.
The viewer needs a display.
.I PAGE
is a page of the help file as
.B \-\-list
names it, such as
.BR html/quil3x2q.htm ;
a leading slash and backslashes instead of slashes are accepted.
See
.B FILES
for where the help file is looked for.)man",
    .completeWords = R"sh(if ((${#positional[@]} == 0)); then
    local -a pages
    mapfile -t pages < <("$1" help --list 2>/dev/null | awk 'NF { print $NF }')
    _quillon_offer "${pages[@]}"
fi)sh",
};

}  // namespace quillon
