#!/usr/bin/env bash
# What a loader reads of the built vimra.scr. Its imports: none beyond those
# of the saver before it knew monitors and DPI (commit 0dafe1b), so whatever
# loaded it then (Windows 95 and NT 4 among them) loads it now. Its manifest:
# RT_MANIFEST (24) 1, well-formed (Windows XP and later refuse to start a
# program whose manifest is not), declaring per-monitor DPI awareness.
#   scr_file_test.sh VIMRA_SCR OBJDUMP
set -uo pipefail
imported=$("$2" -p "$1" | awk '/DLL Name:/ { dll = $3 } /^\t[0-9a-f]+\t +[0-9]+  [A-Za-z_]/ { print dll, $3 }' | sort)
gained=$(comm -13 <(awk '/dll / { dll = $1; $1 = "" } { for (i = 1; i <= NF; ++i) if ($i != "") print dll, $i }' <<'IMPORTS' | sort
ADVAPI32.dll RegCloseKey RegOpenKeyA RegQueryValueExA
GDI32.dll BitBlt CreateCompatibleBitmap CreateCompatibleDC CreateDIBSection CreateSolidBrush DeleteDC DeleteObject
  Ellipse GdiFlush GetClipBox GetDeviceCaps GetStockObject PatBlt SelectObject SetBrushOrgEx SetStretchBltMode
  StretchBlt
KERNEL32.dll DeleteCriticalSection EnterCriticalSection ExitProcess FreeLibrary GetCommandLineA GetLastError
  GetModuleHandleA GetProcAddress GetStartupInfoA GetTickCount GetVersionExA InitializeCriticalSection
  LeaveCriticalSection LoadLibraryA RtlUnwind SetUnhandledExceptionFilter Sleep TlsGetValue UnhandledExceptionFilter
  VirtualProtect VirtualQuery
USER32.dll CharNextA CreateWindowExA DefWindowProcA DialogBoxParamA DispatchMessageA EndDialog FindWindowA
  GetClientRect GetCursorPos GetDC GetDesktopWindow GetForegroundWindow GetMessageA GetParent GetSystemMetrics
  GetWindowLongA GetWindowRect IsWindow KillTimer LoadIconA PeekMessageA PostMessageA PostQuitMessage RegisterClassA
  RegisterWindowMessageA ReleaseDC SendMessageA SetCursor SetForegroundWindow SetTimer SetWindowPos
  SystemParametersInfoA TranslateMessage
msvcrt.dll __getmainargs __initenv __p__acmdln __p__commode __p__fmode __set_app_type __setusermatherr _amsg_exit
  _cexit _errno _initterm _iob _onexit abort calloc exit fprintf free fwrite malloc memcpy memset signal strlen
  strncmp vfprintf time
IMPORTS
) <(echo "$imported"))
[ -n "$imported" ] && [ -z "$gained" ] || { echo "FAIL: imports beyond today's: ${gained:-none read}"; exit 1; }
wrestool -x --raw --type=24 --name=1 "$1" | python3 -c '
import sys, xml.etree.ElementTree as tree
root, v3 = tree.fromstring(sys.stdin.buffer.read()), "{urn:schemas-microsoft-com:asm.v3}"
setting = lambda year, name: root.findtext(f"{v3}application/{v3}windowsSettings/"
                                           f"{{http://schemas.microsoft.com/SMI/{year}/WindowsSettings}}{name}")
assert root.tag == "{urn:schemas-microsoft-com:asm.v1}assembly" and root.get("manifestVersion") == "1.0"
assert setting(2005, "dpiAware") == "true/pm" and setting(2016, "dpiAwareness") == "PerMonitorV2, PerMonitor"
' ||
  { echo "FAIL: no well-formed manifest (type 24, name 1) declaring per-monitor DPI awareness"; exit 1; }
echo "PASS: $(wc -l <<<"$imported") imports, all of them today's; the manifest declares per-monitor DPI awareness"
