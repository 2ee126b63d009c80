# Installs the Debian packages named as arguments that are not installed yet (as root); shows
# apt's output only when it fails. Sourced by the project's scripts.
install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local log
        log=$(mktemp)
        if ! { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"; } >"$log" 2>&1; then
            cat "$log"
            return 1
        fi
        rm -f "$log"
    fi
}
