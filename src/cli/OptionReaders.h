#pragma once
// The readers of the options that several commands share (defined in cli/Options.h). Every
// command that takes one of them, and --screenshot, reads it here, so that a value means the same
// everywhere and a wrong one gets the same message.

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandTable.h"
#include "cli/Options.h"
#include "common/SafeSave.h"
#include "numerology/Analysis.h"
#include "numerology/Dates.h"

class QTextStream;

namespace quillon {

// --system: Pythagorean unless another system is named; a name that is no system is a usage
// error. Returns the exit code.
int ReadSystem(const CommandArguments& arguments, LetterSystem& system, QTextStream& err);

// --vowel-y: which Ys are read as vowels.
struct VowelYChoice {
    bool all = false;
    std::vector<qsizetype> positions;  // 1-based, in the text as analysed
};
// Reads --vowel-y as "all" or positions (withPositions), or as "none" or "all" (a list, where each
// name has its own Ys). Returns the exit code.
int ReadVowelY(const CommandArguments& arguments, bool withPositions, VowelYChoice& choice, QTextStream& err);
// Marks the chosen Ys of the data as vowels (a small y); returns the usage error's message when a
// position holds no Y. With foldAccents the accented Ys are Ys too (Ý becomes ý).
std::optional<QString> ApplyVowelY(std::u16string& data, const VowelYChoice& choice, bool foldAccents = false);

// --fold-accents: accented letters valued as their base letters.
bool FoldAccentsOf(const CommandArguments& arguments);

// A typed date in upper case, as the date field reads it (month names in any case).
std::u16string UpperCaseDateText(std::u16string_view text);
// Reads a date given on the command line strictly (ReadStrictDate): no one sees what was read, so
// a day, month or year that is missing or out of range is refused instead of being guessed as the
// date field guesses. Month names are matched in any case.
DateReading ReadArgumentDate(const QString& text, const DateSettings& settings, const CivilDate& today);
// The same under today's regional settings; a date that does not read is reported on err as a
// usage error.
std::optional<CivilDate> ReadCommandDate(const QString& text, QTextStream& err);

// --template FILE and -o FILE, when given ("-" is standard output), as file names (FileNameBytes).
std::optional<QString> TemplateFileOf(const CommandArguments& arguments);
std::optional<QString> OutputOf(const CommandArguments& arguments);
// Opens the output that -o names: standard output for "-", else the file, replaced only when the
// writing is committed. Returns why it cannot be opened.
std::optional<std::string> OpenOutput(SafeSave& save, const QString& path);

}  // namespace quillon
