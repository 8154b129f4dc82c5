# shellcheck shell=bash
# What the build and the tests need from a Debian 12 machine, installed only when missing.
# Sourced by scripts/test.

readonly ORVANDEL_PACKAGES=(
    # Linux build: the core, its unit tests and benchmarks, the sanitizer build with clang.
    cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
    # Windows build, and Wine to run it.
    g++-mingw-w64-x86-64-posix wine wine64 fonts-wine
    # A headless X server and the X client libraries Wine loads.
    xvfb xauth x11-utils libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1 libxinerama1
    libxfixes3 libxxf86vm1
    # Screenshots and real X input for the GUI tests; Chinese text.
    imagemagick xdotool fonts-wqy-microhei locales
    # The corpus checks' judges (php-cli, xmllint, node for the npm ones) and PHP code to read.
    php-cli libxml2-utils nodejs npm php-symfony php-laravel-framework php-league-commonmark
    php-twig php-phpseclib3 php-monolog
)

orvandel_missing_packages() {
    local package
    for package in "${ORVANDEL_PACKAGES[@]}"; do
        dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null | grep -q '^ii' ||
            echo "$package"
    done
}

orvandel_need_root() {
    if ((EUID != 0)); then
        echo "scripts/test: $1; run as root to install it" >&2
        exit 2
    fi
}

ensure_packages() {
    local missing=()
    mapfile -t missing < <(orvandel_missing_packages)
    ((${#missing[@]} == 0)) && return 0
    orvandel_need_root "missing packages: ${missing[*]}"
    echo "== installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq -o Dpkg::Use-Pty=0 "${missing[@]}" >/dev/null
}

# Generates the given UTF-8 locales unless they exist: Wine takes its code page from the locale and
# silently falls back to 1252 when the locale is missing.
ensure_locales() {
    local wanted=() name
    for name in "$@"; do
        orvandel_has_locale "$name" || wanted+=("$name")
    done
    ((${#wanted[@]} == 0)) && return 0
    orvandel_need_root "locales not generated: ${wanted[*]}"
    echo "== generating locales: ${wanted[*]}"
    for name in "${wanted[@]}"; do
        if grep -Eq "^# *$name UTF-8" /etc/locale.gen; then
            sed -i -E "s/^# *($name UTF-8)/\\1/" /etc/locale.gen
        elif ! grep -q "^$name UTF-8" /etc/locale.gen; then
            echo "$name UTF-8" >>/etc/locale.gen
        fi
    done
    locale-gen >/dev/null
}
