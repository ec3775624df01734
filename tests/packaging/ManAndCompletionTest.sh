#!/usr/bin/env bash
# The man page and the bash completion as they are installed: they are what the program's command
# definitions generate ("quillon --generate man|bash", with the hand-written parts of the page), the
# page is sound troff, and every command, every option and every fixed set of option values that
# the program's own usage texts name are in the page (in the command's own section) and offered by
# the completion.
#   ManAndCompletionTest.sh QUILLON BUILD_FOLDER SOURCE_FOLDER

# No pipefail: grep -q ends a pipeline early, and the SIGPIPE of the command before it is no failure.
program=$1
build=$2
source_dir=$3
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

work=$(mktemp -d)
stage=$(mktemp -d)
trap 'rm -rf "$work" "$stage"' EXIT

# --- What is installed is what the definitions generate ------------------------------------------

cmake --install "$build" --prefix "$stage/root" >/dev/null || fail "cmake --install failed"
man_page=$stage/quillon.1
completion=$stage/root/share/bash-completion/completions/quillon
zcat "$stage/root/share/man/man1/quillon.1.gz" >"$man_page" || fail "no manual page is installed"
[[ -f $completion ]] || fail "no bash completion is installed"

"$program" --generate bash | cmp -s - "$completion" || fail "the installed completion is not what quillon --generate bash prints"
generated=$("$program" --generate man)
grep -q '^\.SH COMMANDS$' <<<"$generated" || fail "quillon --generate man prints no COMMANDS section"
# The generated sections stand in the page as they are, between the hand-written parts.
[[ $(<"$man_page") == *"$generated"* ]] || fail "the installed page lacks the sections that quillon --generate man prints"
for part in "$source_dir"/packaging/man/*.troff; do
    [[ $(<"$man_page") == *"$(<"$part")"* ]] || fail "the installed page lacks the part $(basename "$part")"
done

# --- The page itself ---------------------------------------------------------------------------

warnings=$(groff -man -ww -z "$man_page" 2>&1)
[[ -z $warnings ]] || fail "groff -man -ww -z warns: $warnings"

version=$("$program" --version | grep -o '[0-9][0-9.]*$')
grep -q "^\.TH QUILLON 1 .*\"Quillon $version\"" "$man_page" ||
    fail "the page's .TH line does not name Quillon $version, the version the program shows"

# Plain text, no emphasis: sections start in column 0, subsections (one per command) in column 3.
rendered=$work/page.txt
groff -man -Tascii -P-cbou "$man_page" >"$rendered" 2>/dev/null

# The text of a section, or of a command's subsection.
section() { awk -v name="$1" '/^[A-Z]/ { on = ($0 == name) } on' "$rendered"; }
subsection() { awk -v name="$1" '/^[A-Z]/ || /^   [^ ]/ { on = ($0 == "   " name) } on' "$rendered"; }

# Whether an option stands as a word of its own in a text (--date is not --date-column).
names_option() { grep -Eq -- "(^|[^A-Za-z0-9-])$1([^A-Za-z0-9-]|\$)"; }

# The options a usage text names: -x and --xyz, but not the "-cased" of "upper-cased".
options_in() { grep -oE -- '(^|[][ |(,])--?[a-z][a-z-]*' | sed 's/^[][ |(,]//' | sort -u; }

# --- The completion, called as bash calls it ---------------------------------------------------

# shellcheck source=/dev/null
source /usr/share/bash-completion/bash_completion
# shellcheck source=/dev/null
source "$completion"
# compopt only works while bash itself is completing; its options do not change the candidates.
compopt() { :; }

# The candidates for the line up to the cursor, one a line. The line is cut into words as
# readline cuts it: at blanks, and around = and : (in COMP_WORDBREAKS).
complete_line() {
    local line=$1 word rest
    local -a raw words=()
    read -ra raw <<<"$line"
    [[ $line == *" " ]] && raw+=("")
    for word in "${raw[@]}"; do
        rest=$word
        while [[ $rest =~ ^([^=:]*)([=:]+)(.*)$ ]]; do
            [[ ${BASH_REMATCH[1]} ]] && words+=("${BASH_REMATCH[1]}")
            words+=("${BASH_REMATCH[2]}")
            rest=${BASH_REMATCH[3]}
        done
        [[ $rest || $word == "" || $word =~ [=:]$ ]] && words+=("$rest")
    done
    COMP_WORDS=("${words[@]}")
    COMP_CWORD=$((${#words[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    _quillon "${words[0]}" "${words[COMP_CWORD]}" "${words[COMP_CWORD - 1]}"
    ((${#COMPREPLY[@]} == 0)) || printf '%s\n' "${COMPREPLY[@]}"
}

# Fails unless the completion of the line offers every one of the expected candidates.
expect_offered() {
    local line=$1 candidate offered
    shift
    offered=$(complete_line "$line")
    for candidate; do
        grep -qxF -- "$candidate" <<<"$offered" ||
            fail "\"$line<TAB>\" does not offer \"$candidate\" (offers: $(echo $offered))"
    done
}

# Fails unless the completion of the line offers exactly the expected candidates.
expect_exactly() {
    local line=$1 offered expected
    shift
    offered=$(complete_line "$line" | sort)
    expected=$(printf '%s\n' "$@" | sort)
    [[ $offered == "$expected" ]] || fail "\"$line<TAB>\" offers \"$(echo $offered)\", not \"$*\""
}

# --- Every command and option of the usage texts --------------------------------------------

usage=$("$program" --help)
mapfile -t commands < <(sed -n '/^Commands:/,/^$/p' <<<"$usage" | grep -oE '^  [a-z]+' | sed 's/^ *//' | sort -u)
((${#commands[@]} >= 10)) || fail "the usage names only ${#commands[@]} commands: ${commands[*]}"
expect_exactly "quillon " "${commands[@]}"

# The words that lead to a command's options: its own words first, where it has any.
option_context() {
    case $1 in
        prepare) echo "quillon prepare print" ;;
        template) echo "quillon template save print" ;;
        *) echo "quillon $1" ;;
    esac
}

for command in "${commands[@]}"; do
    subsection "$command" | grep -q . || fail "the page has no section for the command $command"
    # The command's usage: its own --help and its part of quillon --help.
    text=$("$program" "$command" --help)$'\n'$(sed -n "/^  $command /,/^  [a-z]\|^\$/p" <<<"$usage" | sed '$d')
    # "analyse's options" stand for the options that shape the analysis; analyse's --json only
    # chooses analyse's own output.
    grep -q "analyse's options" <<<"$text" && text+=$'\n'$("$program" analyse --help | sed 's/--json//g')
    context=$(option_context "$command")
    while read -r option; do
        [[ $option ]] || continue
        # -h and --help belong to every command; the page explains them once, under OPTIONS.
        [[ $option == -h || $option == --help ]] && continue
        subsection "$command" | names_option "$option" || fail "the page's section $command lacks $option"
        expect_offered "$context -" "$option"
    done < <(options_in <<<"$text")
    # Fixed sets of values (--format csv|tsv|jsonl, prepare print|export) are offered in full.
    while read -r option values; do
        mapfile -t words < <(tr '|' '\n' <<<"$values" | grep -xE '[a-z]+')
        case $option in
            --*) expect_offered "$context $option " "${words[@]}" ;;
            *) expect_offered "${context% *} " "${words[@]}" ;;
        esac
    done < <(grep -oE -- '(--[a-z-]+|prepare|save) [a-z]+(\|[A-Za-z0-9,.[]+)+' <<<"$text" | tr -d '[')
done

# The options of the program as a whole, in the page's OPTIONS section and offered before a
# command or after --screenshot.
while read -r option; do
    section OPTIONS | names_option "$option" || fail "the page's section OPTIONS lacks $option"
    offered=$(complete_line "quillon -"; complete_line "quillon --screenshot $work -")
    grep -qxF -- "$option" <<<"$offered" || fail "no completion offers the option $option"
done < <(sed -n '/^Options:/,$p' <<<"$usage" | options_in)

# The page's other sections.
for name in NAME SYNOPSIS DESCRIPTION COMMANDS OPTIONS "CALCULATOR KEYS" "EXIT STATUS" ENVIRONMENT \
    FILES EXAMPLES "SEE ALSO"; do
    section "$name" | grep -q . || fail "the page has no section $name"
done
for status in 0 1 2; do
    section "EXIT STATUS" | grep -qE "^ +$status( |\$)" || fail "EXIT STATUS does not explain status $status"
done

# --- The calculator's keys ---------------------------------------------------------------------

mapfile -t keys < <("$program" calc --help | grep -oE '\{[^} ]+\}' | sort -u)
((${#keys[@]} >= 30)) || fail "quillon calc --help names only ${#keys[@]} keys"
expect_offered "quillon calc {" "${keys[@]}"
calc_keys=$(section "CALCULATOR KEYS")
for key in "${keys[@]}"; do
    # The page names the keys of the keypad by their captions, under {click:CAPTION}.
    name=${key#\{}
    name=${name%\}}
    name=${name#click:}
    grep -qF -- "$name" <<<"$calc_keys" || fail "the page's CALCULATOR KEYS lacks $key"
done
# After keys in the same word, and with the colon that readline cuts the word at.
expect_exactly "quillon calc 1234.00{Red" "1234.00{Reduce}"
expect_exactly "quillon calc {click:Sq" "Sqrt}"

# --- Values that are not in the usage texts as a set -----------------------------------------

expect_exactly "quillon analyse --system=ch" "chaldean"
expect_exactly "quillon analyse --vowel-y " "all"
expect_exactly "quillon batch --where to" "total="
expect_exactly "quillon batch --where total=" 0 1 2 3 4 5 6 7 8 9
expect_exactly "quillon batch --where total=7 -" "-o" "--output" "--format" "--column" "--date-column" \
    "--date" "--system" "--vowel-y" "--fold-accents" "--core" "--where" "--threads" "--no-header" "--help"
expect_exactly "quillon batch --where li" "lifepath="
expect_exactly "quillon batch --where maturity=" 0 1 2 3 4 5 6 7 8 9 11 22 33
expect_exactly "quillon -debug " "${commands[@]}"
expect_exactly "quillon analyse -- -"
expect_exactly "quillon template show $work/page.t" "$work/page.txt"

# Files where a file is named, folders only for --screenshot.
mkdir "$work/shots"
expect_exactly "quillon export -o $work/" "$work/page.txt" "$work/shots"
expect_exactly "quillon batch $work/p" "$work/page.txt"
expect_exactly "quillon --screenshot $work/" "$work/shots"

# The printers as "quillon printers" lists them, without the mark of the default one; the help
# pages as "quillon help --list" names them.
stub=$work/quillon
printf '#!/bin/sh\n[ "$1" = printers ] && printf "  Home_PDF\\n* Office\\n" && exit 0\nexec "%s" "$@"\n' \
    "$program" >"$stub"
chmod +x "$stub"
expect_exactly "$stub print --printer " "Home_PDF" "Office"
expect_exactly "$stub print --printer O" "Office"
if "$program" help --list >/dev/null 2>&1; then
    expect_exactly "$stub help html/quil5" "html/quil5n02.htm"
else
    fail "quillon help --list finds no help file beside the program"
fi

((failures == 0)) || { echo "$failures failures"; exit 1; }
echo "The man page and the completion cover every command and option of the usage texts."
