# Sourced by prepare_prefix: compiles the Linux locales that the Outlook add-in tests start the
# Outlook double under (Wine takes a process's user default language from LC_ALL), into
# C:\locales of the prefix; a test points LOCPATH there. The machine needs no installed locales.
user_locales_install() {
    local dir="$WINEPREFIX/drive_c/locales" name
    command -v localedef >/dev/null || return 0
    mkdir -p "$dir"
    for name in de_DE pt_PT; do
        [ -d "$dir/$name.UTF-8" ] && continue
        localedef -i "$name" -f UTF-8 "$dir/$name.UTF-8" >/dev/null 2>&1 || true
    done
}
user_locales_install
