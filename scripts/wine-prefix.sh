# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that run the Windows program under wine: wine_prefix_fresh DIR ARCH makes
# a fresh wine prefix in DIR (x64 or x86) and exports what wine needs to use it quietly. Needs a
# display for the program's windows (the callers run under Xvfb).
wine_prefix_fresh() {
    export WINEPREFIX="$1"
    export WINEDEBUG=-all
    # Code page 1252, as on a western Windows.
    export LC_ALL=C.UTF-8
    # No Mono or Gecko: nothing here needs them, and asking for them would stall.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [[ "$2" == x86 ]]; then export WINEARCH=win32; else unset WINEARCH; fi
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    # A fresh prefix has no "MS Shell Dlg" or "Tahoma", so Qt's menus and message boxes would
    # fall back to a thin serif face: point them at Liberation Sans, as Windows' own fonts look.
    local face
    for face in "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma"; do
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
            /v "$face" /t REG_SZ /d "Liberation Sans" /f >/dev/null 2>&1 || return 1
    done
    # Windows left to no window manager: there is none on the test display, and wine would wait
    # two seconds for one each time a window is hidden.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || return 1
    wineserver -w
}
