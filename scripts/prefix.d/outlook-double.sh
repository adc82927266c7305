# Sourced by prepare_prefix: puts the test system's Outlook double into the prefix at
# C:\outlook_double\outlook_double.exe. It is not registered here: the Outlook tests register it as
# "Outlook.Application" for their own run and remove it again, so other tests see no Outlook.
outlook_double_install() {
    local exe="$BUILD/windows/tests/doubles/outlook/outlook_double.exe" dir="$WINEPREFIX/drive_c/outlook_double"
    [ -f "$exe" ] || return 0
    mkdir -p "$dir"
    cp "$exe" "$dir/outlook_double.exe"
}
outlook_double_install
