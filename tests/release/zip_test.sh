#!/bin/bash
# Unpacks the Windows build's release zip and runs its programs from there
# under Wine (the Wine prefix and display are the caller's).
#   zip_test.sh CPACK BUILD_DIR SOURCE_DIR HELP_BESIDE_PROGRAM VERSION OBJDUMP
CPACK=$1
BUILD=$2
SRC=$3
HELPER=$4
VERSION=$5
OBJDUMP=$6
source "$(dirname "$0")/../test_lib.sh"
WINE_RUN=$SRC/cmake/wine-run.sh

# windows_path PATH: the path as Wine's drive Z: shows the host's root.
windows_path() { echo "Z:${1//\//\\}"; }

"$CPACK" --config "$BUILD/CPackConfig.cmake" -B "$WORK/packages" >/dev/null
ZIP=$(find "$WORK/packages" -maxdepth 1 -name "Skyplate-$VERSION-win*.zip")
check "zip is named after the version" test -f "$ZIP"
NAME=$(basename "$ZIP" .zip)
unzip -q "$ZIP" -d "$WORK/unpacked"
DIR=$WORK/unpacked/$NAME

check "zip holds one folder: both programs, the help page and the README" diff \
  <(cd "$WORK/unpacked" && find . -type f | sort) - <<LIST
./$NAME/README.txt
./$NAME/Skyplate.exe
./$NAME/Skyplate.html
./$NAME/skyplate-cli.exe
LIST
case $NAME in
  *-win32) machine="Intel 80386" ;;
  *-win64) machine="x86-64" ;;
esac
for program in Skyplate.exe skyplate-cli.exe; do
  check "$program is built for $NAME" grep -q "$machine" <(file "$DIR/$program")
  imports=$("$OBJDUMP" -p "$DIR/$program" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z')
  check "$program imports only system DLLs" test -z "$(grep -vxE \
    '(advapi32|comctl32|comdlg32|gdi32|kernel32|msvcrt|ole32|shell32|user32)\.dll' <<<"$imports")"
done
check "README.txt has Windows line ends" test -z "$(grep -v $'\r$' "$DIR/README.txt")"
check "README.txt is the README" cmp -s <(tr -d '\r' <"$DIR/README.txt") "$SRC/README.md"
check "help page names the version" grep -q "version $VERSION\." "$DIR/Skyplate.html"

expect "skyplate-cli.exe names its version" 0 "^skyplate-cli $VERSION$" -- \
  "$WINE_RUN" "$DIR/skyplate-cli.exe" --version
copy_example "$WORK/hill"
expect "skyplate-cli.exe builds the example" 0 "^All Done$" -- \
  "$WINE_RUN" "$DIR/skyplate-cli.exe" "$(windows_path "$WORK/hill/Hill.track")"
check "skyplate-cli.exe writes the exact picture" cmp -s "$WORK/hill/Hill_mask_Topdown.bmp" \
  "$SRC/tests/data/hill_topdown.bmp"
expect "Skyplate.exe opens the help page beside itself" 0 "^opened: " -- \
  "$WINE_RUN" "$HELPER" "$(windows_path "$DIR")"

finish
