#!/bin/sh
# Every DLL the Windows programs import ships with Windows itself: the C++
# runtime is linked in, so nothing has to be copied beside the programs.
#   windows_imports_test.sh OBJDUMP PROGRAM.exe...
set -eu
objdump=$1
shift
status=0
for program in "$@"; do
  dlls=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
  [ -n "$dlls" ] || { echo "$program: no imports found" >&2; status=1; }
  for dll in $dlls; do
    case $(echo "$dll" | tr '[:upper:]' '[:lower:]') in
      kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | shell32.dll | wininet.dll | \
        advapi32.dll | msvcrt.dll | version.dll | ws2_32.dll) ;;
      *)
        echo "$program imports $dll, which Windows does not ship" >&2
        status=1
        ;;
    esac
  done
done
exit "$status"
