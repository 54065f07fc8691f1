#!/bin/sh
# Creates the tests' Wine prefix: a 64-bit Windows (WOW64 for our 32-bit programs), Wine's own
# fonts with CJK replacements so every UI language renders, unmanaged X windows (no 2 s stall
# on hide/close without a window manager).
set -e
: "${WINEPREFIX:?set WINEPREFIX}"
export WINEDEBUG=-all
wineboot -i >/dev/null 2>&1 </dev/null
wineserver -w
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
R='HKCU\Software\Wine\Fonts\Replacements'
for f in "Segoe UI" "Segoe UI Semibold" "Microsoft Sans Serif"; do
  wine reg add "$R" /v "$f" /d "Tahoma" /f >/dev/null 2>&1 </dev/null
done
for f in "SimSun" "MS UI Gothic" "Gulim" "PMingLiU"; do
  wine reg add "$R" /v "$f" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1 </dev/null
done
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
wineserver -w
