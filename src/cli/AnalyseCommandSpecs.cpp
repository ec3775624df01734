// The commands that analyse names on the terminal: analyse and compare. Each definition carries
// its usage, its options and its part of the man page (troff).

#include "cli/AnalyseCommand.h"
#include "cli/CommandSpecs.h"
#include "cli/CompareCommand.h"
#include "cli/Options.h"

namespace quillon {
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
    InSynopsis(kFoldAccentsOption, {.order = 1}),
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
    Described(kJsonOption, "Prints the report's values as JSON.",
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
master being null without a master number.)man"),
};

constexpr OptionSpec kCompareOptions[] = {
    InSynopsis(WithManual(kDateOption, R"man(A date of birth, read as for
.BR analyse ;
the first
.B \-\-date
belongs to the first name, the second to the second, and so on.
Names without a date have no life path, birthday and maturity.)man"),
               {.value = "DATE", .repeated = true}),
    WithManual(kSystemOption, R"man(The letter-value system, as for
.BR analyse .)man"),
    WithManual(kFoldAccentsOption, ""),
    Described(kJsonOption, "Prints the core numbers of each name and the shared ones as JSON.",
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
then the keys of the numbers that every name has with the same final digit.)man"),
};

}  // namespace

const CommandSpec kAnalyseCommand{
    .name = "analyse",
    .after = "[--] TEXT",
    .description =
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
    .after = "[--] NAME NAME...",
    .description =
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

}  // namespace quillon
