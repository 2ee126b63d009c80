#!/bin/bash
# The translators' files: the template kelvaro.pot, made from the texts of the sources and of the
# dialog templates, and one PO file a language beside it.
#   tools/update_translations.sh          writes kelvaro.pot anew and merges it into every PO file
#   tools/update_translations.sh --check  fails when a text of the program is missing from
#                                         kelvaro.pot, a PO file misses a translation of it, or
#                                         msgfmt --check finds a fault (a %s lost, a bad header)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
translations=src/resources/translations
template=$translations/kelvaro.pot
rc_file=src/resources/kelvaro.rc
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$repo"

# The dialog templates' and the menu's texts as calls xgettext knows, each on the line of the
# template it stands on, with what room the control gives it as a note for the translator.
# Horizontally four dialog units make an average character, vertically eight a line.
rc_texts() {
    perl -ne '
        my $note = "";
        my $text;
        if (/^\s*(CAPTION|POPUP|MENUITEM)\s+"((?:[^"\\]|\\.)*)"\s*(?:,|$)/) {
            $text = $2;
            $note = $1 eq "CAPTION" ? "a window title" : "a menu item";
        } elsif (/^\s*(LTEXT|RTEXT|CTEXT|PUSHBUTTON|DEFPUSHBUTTON|GROUPBOX|AUTOCHECKBOX|AUTORADIOBUTTON|CONTROL)\s+"((?:[^"\\]|\\.)*)"\s*,\s*\w+\s*,\s*(?:"[^"]*"\s*,\s*[^,]+,\s*)?(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)/) {
            my ($kind, $width, $height) = ($1, $5, $6);
            $text = $2;
            my $box = $kind =~ /CHECKBOX|RADIOBUTTON/ ? 12 : 0;
            my $characters = int(($width - $box) / 4);
            # Static texts wrap, buttons and boxes only when they are made to.
            my $wraps = $kind =~ /TEXT/ || /BS_MULTILINE/;
            my $lines = $wraps ? int($height / 8) || 1 : 1;
            $note = $lines > 1 ? "room for $lines lines of about $characters characters"
                               : "room for about $characters characters";
        } elsif (/^\s*IDS_\w+\s+"((?:[^"\\]|\\.)*)"\s*$/) {
            $text = $1;
            $note = "a menu item";
        }
        # Texts without a word, the name and the version, and texts put together with a macro
        # (translated where the program completes them) stay as they are.
        if (defined $text && $text =~ /[A-Za-z]{2}/ && $text ne "Kelvaro" && $text !~ /^Version /) {
            print "/* TRANSLATORS: $note */ Tr(\"$text\");\n";
        } else {
            print "\n";
        }' "$rc_file"
}

make_template() {
    rc_texts >"$work/kelvaro.rc.c"
    # The sources in a fixed order, so that the template changes only where the texts do.
    local sources
    mapfile -t sources < <(find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
    xgettext --from-code=UTF-8 --language=C++ --keyword --keyword=Tr --keyword=TrLater --keyword=TrC:1c,2 \
        --keyword=TrLaterC:1c,2 --keyword=TrN:1,2 --add-comments=TRANSLATORS: --package-name=Kelvaro \
        --msgid-bugs-address=translations@kelvaro.example --no-wrap --sort-by-file \
        -o "$work/sources.pot" "${sources[@]}" "$work/kelvaro.rc.c" 2>"$work/xgettext.log" || {
        cat "$work/xgettext.log" >&2
        return 1
    }
    {
        printf '%s\n' '# The texts of Kelvaro, to be translated. Copy this file to LANG.po (de.po, pt_BR.po),' \
            '# open it in Poedit and translate each text; keep %s where the English has it.' \
            'msgid ""' 'msgstr ""' '"Project-Id-Version: Kelvaro\n"' '"MIME-Version: 1.0\n"' \
            '"Content-Type: text/plain; charset=UTF-8\n"' '"Content-Transfer-Encoding: 8bit\n"' \
            '"Language: \n"' '"Plural-Forms: nplurals=2; plural=(n != 1);\n"' ''
        # xgettext's own header gives way to the one above.
        sed -e '1,/^$/d' -e "s|$work/kelvaro.rc.c|$rc_file|g" "$work/sources.pot"
    } >"$1"
}

if [ "${1:-}" = --check ]; then
    status=0
    make_template "$work/program.pot"
    # Every text of the program is in the template...
    if ! msgcmp --use-untranslated "$template" "$work/program.pot" 2>"$work/missing.txt"; then
        echo "$template misses texts of the program (run tools/update_translations.sh):" >&2
        cat "$work/missing.txt" >&2
        status=1
    fi
    for po in "$translations"/*.po; do
        # ... every language translates all of them, and keeps their %s and the header right.
        msgcmp "$po" "$template" || status=1
        msgfmt --check --check-accelerators=\& -o /dev/null "$po" || status=1
    done
    exit $status
fi

make_template "$template"
for po in "$translations"/*.po; do
    [ -f "$po" ] || continue
    msgmerge --quiet --update --backup=none --no-wrap --no-fuzzy-matching "$po" "$template"
done
