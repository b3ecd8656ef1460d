#!/bin/bash
# What `cmake --install` puts where, and that the installed pieces work: the
# tool builds the example, the manual page renders cleanly and lists every
# option, the completion offers every option and .track files; and the .deb
# made from the same rules passes lintian.
#   install_test.sh CMAKE CPACK BUILD_DIR SOURCE_DIR VERSION
CMAKE=$1
CPACK=$2
BUILD=$3
SRC=$4
VERSION=$5
source "$(dirname "$0")/test_lib.sh"

ROOT=$WORK/root
PREFIX=/opt/skyplate
DESTDIR=$ROOT "$CMAKE" --install "$BUILD" --prefix "$PREFIX" >/dev/null
INSTALLED=$ROOT$PREFIX
CLI=$INSTALLED/bin/skyplate-cli
MAN=$INSTALLED/share/man/man1/skyplate-cli.1
COMPLETION=$INSTALLED/share/bash-completion/completions/skyplate-cli

check "installs exactly the tool, its manual, completion and documents" diff \
  <(cd "$ROOT" && find . -type f | sort) - <<LIST
.$PREFIX/bin/skyplate-cli
.$PREFIX/share/bash-completion/completions/skyplate-cli
.$PREFIX/share/doc/skyplate/README.md
.$PREFIX/share/doc/skyplate/Skyplate.html
.$PREFIX/share/doc/skyplate/copyright
.$PREFIX/share/man/man1/skyplate-cli.1
LIST
expect "installed tool names its version" 0 "^skyplate-cli $VERSION$" -- "$CLI" --version
copy_example "$WORK/hill"
expect "installed tool builds the example" 0 "^All Done$" -- "$CLI" "$WORK/hill/Hill.track"
check "installed tool writes the exact picture" cmp -s "$WORK/hill/Hill_mask_Topdown.bmp" \
  "$SRC/tests/data/hill_topdown.bmp"
check "help page names the version" grep -q "version $VERSION\." \
  "$INSTALLED/share/doc/skyplate/Skyplate.html"

# Every option name --help prints, one a line.
options=$("$CLI" --help | grep -E '^ +-' | sed -E 's/^ +//; s/[ =].*//; s/,/\n/g')
check "help lists options" test -n "$options"

man_warnings=$(groff -man -ww -z "$MAN" 2>&1)
check "manual page has no groff warnings" test -z "$man_warnings"
[ -z "$man_warnings" ] || echo "$man_warnings"
rendered=$(MANWIDTH=80 man -l "$MAN" 2>"$WORK/man.err" | col -b)
check "man -l renders it without a word on stderr" test ! -s "$WORK/man.err"
# Wide enough that nothing wraps: texts compare word for word.
wide=$(MANWIDTH=1000 man -l "$MAN" 2>/dev/null | col -b)
for section in NAME SYNOPSIS DESCRIPTION OPTIONS "TRACK FILE" OUTPUT "EXIT STATUS" EXAMPLES; do
  check "manual page has the section $section" grep -qx "$section" <<<"$rendered"
done
for option in $options; do
  check "manual page describes $option" grep -qE -- "(^|[ ,])$option\b" <<<"$rendered"
done
# The exit statuses are those of --help, word for word.
squeeze() { tr -s ' \n' '  ' | sed 's/^ //; s/ $//'; }
help_statuses=$("$CLI" --help | sed '1,/^Exit status:$/d' | squeeze)
man_statuses=$(sed -n '/^EXIT STATUS$/,/^[A-Z]/p' <<<"$wide" | sed '1d;$d' | squeeze)
check "manual page gives the exit statuses of --help" test -n "$help_statuses" -a \
  "$man_statuses" = "$help_statuses"

# complete WORD...: what the installed completion offers for the last word.
complete_words() {
  PATH="$INSTALLED/bin:$PATH" bash -c 'source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _skyplate_cli; printf "%s\n" "${COMPREPLY[@]}"' \
    complete "$COMPLETION" skyplate-cli "$@"
}
for option in $options; do
  check "completion offers $option" grep -qx -- "$option" <(complete_words "$option")
done
check "completion offers only what fits" test "$(complete_words --qu)" = --quiet
mkdir -p "$WORK/tracks/sub"
touch "$WORK/tracks/a.track" "$WORK/tracks/a_mask.bmp"
check "completion offers track files and folders only" diff <(complete_words "$WORK/tracks/" | sort) \
  <(printf '%s\n' "$WORK/tracks/a.track" "$WORK/tracks/sub")
check "completion offers no option as an option's value" \
  test -z "$(complete_words --jobs -- | grep -- --quiet)"

# The .deb: the same rules under /usr, Debian's conventions, no lintian error.
"$CPACK" --config "$BUILD/CPackConfig.cmake" -B "$WORK/deb" >/dev/null
DEB=$(find "$WORK/deb" -maxdepth 1 -name "skyplate_${VERSION}_*.deb")
check "deb is named after the version" test -f "$DEB"
info=$(dpkg-deb --info "$DEB")
for field in "Package: skyplate" "Version: $VERSION" "Section: graphics" "Maintainer: .+ <.+@.+>" \
  "Depends: .*libc6" "Description: .+"; do
  check "deb control has $field" grep -qE "^ $field" <<<"$info"
done
check "deb holds the compressed manual page and changelog" test "$(dpkg-deb --contents "$DEB" |
  grep -cE '\./usr/share/(man/man1/skyplate-cli\.1|doc/skyplate/changelog)\.gz$')" = 2
lintian_out=$(lintian --fail-on error,warning "$DEB" 2>&1)
check "lintian finds no error or warning" test $? = 0
grep -E '^[EW]:' <<<"$lintian_out"

finish
