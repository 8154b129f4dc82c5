# shellcheck shell=bash
# Wine prefixes for the Windows tests: one per ANSI code page under the build folder, each with a
# persistent wineserver and a virtual desktop. Sourced by scripts/wine-run and scripts/test.
# Nothing here writes to stdout: the emulator's stdout belongs to the program it runs.

# Bump when the prefix settings below change: prefixes with another stamp are made anew.
ORVANDEL_PREFIX_VERSION=3
ORVANDEL_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

orvandel_die() {
    echo "wine-run: $*" >&2
    exit 125
}

orvandel_has_locale() {
    local wanted=${1,,}
    wanted=${wanted//-/}
    locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | tr -d '-' | grep -qx "$wanted"
}

# The Unix locale that gives Wine the ANSI code page $1 (a code page, or a code page and a variant
# such as 936-144dpi). A locale that is not generated makes Wine fall back to 1252 without a word,
# so a missing one is an error.
orvandel_locale_for() {
    case ${1%%-*} in
    1252)
        if orvandel_has_locale en_US.UTF-8; then echo en_US.UTF-8; else echo C.UTF-8; fi
        ;;
    936)
        orvandel_has_locale zh_CN.UTF-8 ||
            orvandel_die "locale zh_CN.UTF-8 is not generated (see /etc/locale.gen, locale-gen)"
        echo zh_CN.UTF-8
        ;;
    *) orvandel_die "no locale known for code page $1 (known: 1252, 936)" ;;
    esac
}

# The folder holding the prefixes: $ORVANDEL_WINE_ROOT, else <build>/wine where <build> is the
# nearest folder above the program that holds a CMakeCache.txt.
orvandel_wine_root() {
    if [[ -n ${ORVANDEL_WINE_ROOT:-} ]]; then
        echo "$ORVANDEL_WINE_ROOT"
        return
    fi
    local folder
    folder=$(cd "$(dirname "$1")" 2>/dev/null && pwd -P) || orvandel_die "no folder for $1"
    while [[ $folder != / ]]; do
        if [[ -f $folder/CMakeCache.txt ]]; then
            echo "$folder/wine"
            return
        fi
        folder=$(dirname "$folder")
    done
    orvandel_die "$1 is in no CMake build folder; set ORVANDEL_WINE_ROOT"
}

# Exports the environment of every Wine process for prefix $1 in locale $2.
orvandel_wine_env() {
    export WINEPREFIX=$1
    export WINEDEBUG=-all
    # No Mono or Gecko install prompts, no menu entries or file associations on the host.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export LANG=$2 LC_ALL=$2
    unset LANGUAGE WINEARCH WINESERVER WINELOADER
}

orvandel_windows_path() {
    local path=${1//\//\\}
    echo "Z:$path"
}

# The settings every test prefix gets, as a .reg file for regedit.
orvandel_prefix_settings() {
    local code_page=$1
    # The virtual desktop; .txt files open in Notepad through ShellExecute (Wine 8 reads HKCR from
    # the machine's classes only, not the user's); a crash ends the test instead of a dialog.
    cat <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1280x1000"

[HKEY_CLASSES_ROOT\.txt]
@="txtfile"
"Content Type"="text/plain"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
EOF
    if [[ $code_page == *-144dpi ]]; then
        # 150 % scaling.
        printf '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:00000090\n'
    fi
    if [[ $code_page == 1252 ]]; then
        # Under 1252 the UI fonts have no Chinese glyphs. The faces Wine lacks are replaced by one
        # that has them; the ones it has (Tahoma draws the title bars) borrow the missing glyphs
        # from it through a font link, as Windows does with SimSun.
        printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n'
        local face
        for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI" \
            "SimSun" "Microsoft YaHei" "Microsoft YaHei UI"; do
            printf '"%s"="WenQuanYi Micro Hei"\n' "$face"
        done
        printf '\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\n'
        local link
        link=$(orvandel_reg_multi_sz "WQY-MICROHEI.TTC,WenQuanYi Micro Hei")
        for face in "Tahoma" "Tahoma Bold" "Microsoft Sans Serif"; do
            printf '"%s"=%s\n' "$face" "$link"
        done
    fi
}

# A REG_MULTI_SZ of one ASCII string in .reg notation: hex(7):bytes,00,00.
orvandel_reg_multi_sz() {
    local bytes
    bytes=$(printf '%s' "$1" | od -An -v -tx1 | tr -s ' \n' ',')
    echo "hex(7):${bytes#,}00,00"
}

# Serialises the set-up of prefix $1/$2 between processes, on file descriptor 9. Everything started
# while it is held gets 9>&- so that no long-lived Wine process keeps the lock file open.
orvandel_lock() {
    mkdir -p "$1"
    exec 9>"$1/$2.lock"
    flock -w 900 9 || orvandel_die "timed out waiting for $1/$2.lock"
}

orvandel_unlock() {
    flock -u 9
    exec 9>&-
}

# Makes prefix $1/$2 unless it is complete for these settings and locale. The caller holds the lock.
orvandel_create_prefix() {
    local root=$1 code_page=$2
    local prefix=$root/$code_page locale
    locale=$(orvandel_locale_for "$code_page") || exit 125
    local stamp="$ORVANDEL_PREFIX_VERSION $locale"
    if [[ -f $prefix/.orvandel-prefix && $(<"$prefix/.orvandel-prefix") == "$stamp" ]]; then
        return 0
    fi

    local log=$root/$code_page.setup.log
    echo "wine-run: creating the Wine prefix $prefix ($locale); log in $log" >&2
    (
        orvandel_wine_env "$prefix" "$locale"
        # Without a display: the prefix is plain files, independent of any X session.
        unset DISPLAY
        set -e
        if [[ -d $prefix ]]; then
            timeout 30 wineserver -k 2>/dev/null || true
            rm -rf "$prefix"
        fi
        timeout 300 wineboot --init 9>&-
        timeout 120 wineserver -w 9>&-
        # Debian's Wine does not find its own fonts: title bar buttons come out as letters.
        mkdir -p "$prefix/drive_c/windows/Fonts"
        cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/"
        orvandel_prefix_settings "$code_page" >"$root/$code_page.settings.reg"
        timeout 120 wine regedit /S "$(orvandel_windows_path "$root/$code_page.settings.reg")" 9>&-
        timeout 120 wineserver -w 9>&-
        grep -q '"Default"="1280x1000"' "$prefix/user.reg"
        grep -q '^\[Software\\\\Classes\\\\.txt\]' "$prefix/system.reg"
        if [[ $code_page == 1252 ]]; then
            grep -q 'WQY-MICROHEI.TTC' "$prefix/system.reg"
        fi
    ) >"$log" 2>&1 || {
        tail -n 20 "$log" >&2
        orvandel_die "could not create the Wine prefix $prefix"
    }
    echo "$stamp" >"$prefix/.orvandel-prefix"
}

# Compiles the desktop keeper into $1 when missing or older than its source.
orvandel_build_keeper() {
    local exe=$1 source=$ORVANDEL_LIB_DIR/desktop_keeper.cpp
    [[ -f $exe && $exe -nt $source ]] && return 0
    x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -municode -mwindows -static \
        -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -o "$exe.tmp" "$source" -lshell32 >&2 &&
        mv "$exe.tmp" "$exe"
}

# Starts the desktop keeper and waits (bounded) until Wine's virtual desktop is up.
orvandel_start_desktop() {
    local root=$1 code_page=$2
    local keeper=$root/desktop_keeper.exe ready=$root/$code_page.desktop-ready
    if ! orvandel_build_keeper "$keeper"; then
        echo "wine-run: warning: no desktop keeper; GUI tests will be slower" >&2
        return 0
    fi
    rm -f "$ready"
    local pid
    pid=$(setsid -f bash -c 'echo $$; exec "$@" </dev/null >/dev/null 2>&1 9>&-' _ \
        wine "$keeper" "$(orvandel_windows_path "$ready")")
    local deadline=$((SECONDS + 60))
    until [[ -f $ready ]]; do
        if ! kill -0 "$pid" 2>/dev/null && [[ ! -f $ready ]]; then
            echo "wine-run: warning: the desktop keeper ended; is DISPLAY=$DISPLAY usable?" >&2
            return 0
        fi
        if ((SECONDS >= deadline)); then
            echo "wine-run: warning: Wine's desktop did not come up within 60 s" >&2
            return 0
        fi
        sleep 0.05
    done
}

# Makes sure prefix $1/$2 exists and has a persistent wineserver whose background processes
# (services, desktop) write to /dev/null: started by a test instead, they would inherit its
# output pipe and keep ctest waiting for them. A server left from another X session (other DISPLAY
# or XAUTHORITY) is replaced, because its desktop belongs to a display that is gone.
orvandel_wine_ready() {
    local root=$1 code_page=$2
    local prefix=$root/$code_page locale
    orvandel_lock "$root" "$code_page"
    orvandel_stop_other_desktops "$root" "$code_page"
    orvandel_create_prefix "$root" "$code_page"
    locale=$(orvandel_locale_for "$code_page") || exit 125
    (
        orvandel_wine_env "$prefix" "$locale"
        local session="display=${DISPLAY:-} xauthority=${XAUTHORITY:-}"
        local session_file=$root/$code_page.session
        local status=0
        wineserver -p </dev/null >/dev/null 2>&1 9>&- || status=$?
        if ((status == 2)) && [[ -f $session_file && $(<"$session_file") == "$session" ]]; then
            exit 0
        fi
        if ((status == 2)); then
            timeout 30 wineserver -k 2>/dev/null || true
            timeout 30 wineserver -w 2>/dev/null || true
            status=0
            wineserver -p </dev/null >/dev/null 2>&1 9>&- || status=$?
        fi
        ((status == 0)) || orvandel_die "could not start a wineserver for $prefix (status $status)"
        rm -f "$session_file"
        if [[ -n ${DISPLAY:-} ]]; then
            orvandel_start_desktop "$root" "$code_page"
        else
            # Still start the services here, with no pipe to inherit.
            timeout 120 wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 9>&- || true
        fi
        echo "$session" >"$session_file"
    ) || exit $?
    orvandel_unlock
}

# Stops the servers of the other prefixes under $1 that show a virtual desktop on this display:
# two desktops on one X display lie on top of each other, and a GUI test whose windows are hidden
# under the other desktop cannot see them on the screen.
orvandel_stop_other_desktops() {
    local root=$1 code_page=$2 session_file other
    [[ -n ${DISPLAY:-} ]] || return 0
    for session_file in "$root"/*.session; do
        [[ -f $session_file ]] || continue
        other=$(basename "$session_file" .session)
        [[ $other != "$code_page" ]] || continue
        if grep -qF "display=$DISPLAY " "$session_file"; then
            orvandel_wine_stop "$root" "$other"
        fi
    done
}

# Makes prefix $1/$2 if needed, without starting anything in it (scripts/test does this ahead).
orvandel_wine_prepare() {
    orvandel_lock "$1" "$2"
    orvandel_create_prefix "$1" "$2"
    orvandel_unlock
}

# Stops the wineserver (and every Wine process) of prefix $1/$2, if one runs.
orvandel_wine_stop() {
    local prefix=$1/$2
    [[ -d $prefix ]] || return 0
    WINEPREFIX=$prefix timeout 30 wineserver -k 2>/dev/null || true
    WINEPREFIX=$prefix timeout 30 wineserver -w 2>/dev/null || true
    rm -f "$1/$2.session"
}
