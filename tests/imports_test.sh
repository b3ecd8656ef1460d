#!/bin/bash
# The Windows programs import only DLLs that every Windows has: the C and C++
# runtimes, winpthread and zlib are linked in, so a user copies one .exe.
#   imports_test.sh OBJDUMP PROGRAM.exe...
OBJDUMP=$1
shift
SYSTEM_DLLS='^(kernel32|user32|gdi32|advapi32|comctl32|comdlg32|shell32|ole32|msvcrt)\.dll$'
status=0
for program in "$@"; do
  imports=$("$OBJDUMP" -p "$program" | sed -n 's/^\s*DLL Name: //p')
  if [ -z "$imports" ]; then
    echo "FAIL $program: no imports read"
    status=1
  fi
  for dll in $imports; do
    if ! grep -qiE "$SYSTEM_DLLS" <<<"$dll"; then
      echo "FAIL $program imports $dll"
      status=1
    fi
  done
done
[ "$status" = 0 ] && echo "$# programs import only system DLLs"
exit "$status"
