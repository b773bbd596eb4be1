#!/bin/sh
# Writes the manual page tilava.1 (troff) from what the built program prints for --help and
# --version, so the page lists exactly the options the program knows and says them in its words.
# The page's date is SOURCE_DATE_EPOCH's (today's when it is not set), so a package build gives
# the same page every time.
#
# Usage: cmake/manpage.sh PROGRAM OUTPUT
#
# The help is read as the program prints it: a line "Heading: synopsis", then the description up
# to a blank line, then the options, each "  -x, --name ARG   text" with its continuation lines
# indented further, then paragraphs that close the page.
set -eu

program=${1:?usage: manpage.sh PROGRAM OUTPUT}
output=${2:?usage: manpage.sh PROGRAM OUTPUT}

# The help in Slovak whatever the builder's language, and without a display (none is needed);
# in a sanitizer build a leak report at the end would not be the help's business.
run() { env -u DISPLAY -u WAYLAND_DISPLAY ASAN_OPTIONS=detect_leaks=0 "$@"; }
help=$(run LC_ALL=sk_SK.UTF-8 LANG=sk_SK.UTF-8 LANGUAGE=sk "$program" --help 2>/dev/null)
version=$(run "$program" --version 2>/dev/null)
date=$(date -u -d "@${SOURCE_DATE_EPOCH:-$(date +%s)}" +%Y-%m-%d)

printf '%s\n' "$help" | awk -v version="$version" -v date="$date" '
# Text as troff reads it: a backslash is \e, and a line must not start a request.
function text(s) {
    gsub(/\\/, "\\e", s)
    if (s ~ /^[.\047]/)
        s = "\\&" s
    return s
}
# "-h, --help" in bold, "SÚBOR" in italics; a hyphen in an option is a minus sign.
function option(s,    n, i, words, out, word, comma) {
    n = split(s, words, " ")
    out = ""
    for (i = 1; i <= n; i++) {
        word = words[i]
        comma = sub(/,$/, "", word) ? "," : ""
        gsub(/\\/, "\\e", word)
        if (word ~ /^-/) {
            gsub(/-/, "\\-", word)
            word = "\\fB" word "\\fR"
        } else {
            word = "\\fI" word "\\fR"
        }
        out = out (i > 1 ? " " : "") word comma
    }
    return out
}
function trim(s) {
    sub(/^ +/, "", s)
    sub(/ +$/, "", s)
    return s
}
NR == 1 {
    colon = index($0, ": ")
    synopsis = colon ? substr($0, colon + 2) : $0
    part = "description"
    next
}
part == "description" && $0 == "" {
    if (description != "")
        part = "options"
    next
}
part == "description" {
    description = description text($0) "\n"
    if (summary == "") {
        # "Tilava – a name-day calendar. More." gives "a name-day calendar".
        summary = $0
        dash = index(summary, "– ")
        if (dash)
            summary = substr(summary, dash + length("– "))
        stop = index(summary, ". ")
        if (stop)
            summary = substr(summary, 1, stop - 1)
        sub(/\.$/, "", summary)
    }
    next
}
part == "options" && /^  ? ?-/ {
    line = trim($0)
    gap = index(line, "  ")
    names[++count] = option(gap ? substr(line, 1, gap - 1) : line)
    texts[count] = gap ? text(trim(substr(line, gap))) : ""
    next
}
part == "options" && count > 0 && /^     / {
    texts[count] = texts[count] (texts[count] == "" ? "" : "\n") text(trim($0))
    next
}
part == "options" && $0 == "" && count > 0 {
    part = "closing"
    next
}
part == "closing" && $0 == "" {
    closing = closing ".PP\n"
    next
}
part == "closing" {
    if (closing == "")
        closing = ".PP\n"
    closing = closing text($0) "\n"
    next
}
END {
    if (count == 0) {
        print "manpage.sh: the help lists no options" > "/dev/stderr"
        exit 1
    }
    name = synopsis
    sub(/ .*/, "", name)
    arguments = substr(synopsis, length(name) + 2)
    printf ".TH %s 1 \"%s\" \"%s\" \"Používateľské príkazy\"\n", toupper(name), date, version
    printf ".SH MENO\n%s \\- %s\n", name, text(summary)
    printf ".SH POUŽITIE\n.B %s\n%s\n", name, text(arguments)
    printf ".SH POPIS\n%s", description
    printf ".SH VOĽBY\n"
    for (i = 1; i <= count; i++)
        printf ".TP\n%s\n%s\n", names[i], texts[i]
    printf "%s", closing
}
' >"$output.tmp"
mv "$output.tmp" "$output"
