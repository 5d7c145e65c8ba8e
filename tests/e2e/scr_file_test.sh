#!/usr/bin/env bash
# What a loader reads of the built vimra.scr. Its imports: none beyond those
# of the saver before it knew monitors and DPI (imports-0dafe1b.txt, read by
# objdump from commit 0dafe1b's build), so whatever loaded it then (Windows
# 95 and NT 4 among them) loads it now. Its manifest: RT_MANIFEST (24) 1,
# well-formed (Windows XP and later refuse to start a program whose manifest
# is not), declaring per-monitor DPI awareness.
#   scr_file_test.sh VIMRA_SCR OBJDUMP
set -uo pipefail
imported=$("$2" -p "$1" | awk '/DLL Name:/ { dll = $3 } /^\t[0-9a-f]+\t +[0-9]+  [A-Za-z_]/ { print dll, $3 }' | sort)
gained=$(comm -13 "$(dirname "$0")/imports-0dafe1b.txt" - <<<"$imported")
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
