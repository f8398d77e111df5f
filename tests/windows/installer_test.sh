#!/bin/bash
# The Windows installer and its uninstaller, silent, under Wine in a fresh
# prefix, for everyone and for one user: where the .scr lands, what the
# registry says, that the installed saver runs and previews, and that
# uninstalling takes it all away again and leaves the screen saver setting
# as the user would expect. Wine's user is an administrator, so /S alone
# installs for everyone.
# Usage: installer_test.sh SETUP.EXE ORBDRIFT.SCR PREVIEW-HOST.EXE VERSION OUTPUT-DIR [CERTIFICATE]
. "$(dirname "$0")/../support/prologue.sh" setup saver host version= out certificate? -- "$@"
. "$(dirname "$0")/../support/wine_prefix.sh"
start_wine "$out"

desktop_key='HKCU\Control Panel\Desktop'
system32=$WINEPREFIX/drive_c/windows/system32
local_app_data=$(wine cmd /c echo '%LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
machine_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\orbdrift'
user_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\orbdrift'
machine_dir="$WINEPREFIX/drive_c/Program Files/orbdrift"
user_dir=$(winepath -u "$local_app_data\\Programs\\orbdrift" 2>/dev/null)
user_dir=${user_dir%/}

# What each scope installs where, and the switches that choose it.
use_scope() {
    scope=$1
    if [ "$scope" = machine ]; then
        uninstall_key=$machine_key other_key=$user_key
        installed='C:\windows\system32\orbdrift.scr'
        installed_file=$system32/orbdrift.scr
        uninstaller_dir=$machine_dir
        switches=(/S)
    else
        uninstall_key=$user_key other_key=$machine_key
        installed="$local_app_data\Programs\orbdrift\orbdrift.scr"
        installed_file=$user_dir/orbdrift.scr
        uninstaller_dir=$user_dir
        switches=(/S /CurrentUser)
    fi
}

# The data of one registry value, or nothing (and failure) when it is absent.
value() {
    wine reg query "$1" /v "$2" /reg:64 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name { sub(/^ *[^ ]+ +[^ ]+ +/, ""); print; found = 1 } END { exit !found }'
}
set_saver() { wine reg add "$desktop_key" /v SCRNSAVE.EXE /d "$1" /f >/dev/null 2>&1; }
forget_saver() { wine reg delete "$desktop_key" /v SCRNSAVE.EXE /f >/dev/null 2>&1; }
saver_unset() { ! value "$desktop_key" SCRNSAVE.EXE >/dev/null; }
install() { timeout 60 wine "$setup" "${switches[@]}"; }

# As Windows' list of programs does: the quiet command from the uninstall
# key. The uninstaller copies itself away and returns at once, so the end
# is when its key is gone (the last thing it removes).
uninstall() {
    local command
    command=$(value "$uninstall_key" QuietUninstallString) || return 1
    eval "timeout 60 wine $(echo "$command" | sed 's/\\/\\\\/g')" || return 1
    for _ in $(seq 150); do
        value "$uninstall_key" DisplayName >/dev/null || return 0
        sleep 0.2
    done
    return 1
}
gone() { [ ! -e "$installed_file" ] && [ ! -e "$uninstaller_dir" ] &&
    ! value "$uninstall_key" DisplayName >/dev/null; }

# The installed saver as the settings start it: its preview in their window,
# and saving mode.
runs_installed() {
    wine "$host" "$installed" 3 >"$out/$scope-host.txt" &
    pid=$!
    wait_exit "$pid" 300
    check "the installed saver previews in its host's window, and ends with it (exit $rc)" \
        sh -c "test '$rc' = 0 && grep -q '^child 200x150' '$out/$scope-host.txt'"

    wine "$installed" /s &
    pid=$!
    window=$(window_named "Screen Saver")
    check "the installed saver shows its window" test -n "$window"
    sleep 1
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key a
    wait_exit "$pid"
    check "a key press ends it with 0" test "$rc" = 0
}

for scope in machine user; do
    use_scope "$scope"
    echo "for the $scope:"

    # A saver chosen before: the installer takes its place, the uninstaller puts
    # it back.
    set_saver 'C:\windows\system32\previous.scr'
    install
    check "the silent installer ends with 0" test $? -eq 0
    if [ "$scope" = machine ]; then
        check "it puts the .scr into the 64-bit System32" cmp -s "$saver" "$system32/orbdrift.scr"
        check "and nothing into SysWOW64" test ! -e "$WINEPREFIX/drive_c/windows/syswow64/orbdrift.scr"
    else
        check "it puts the .scr into the user's programs folder" cmp -s "$saver" "$installed_file"
        check "and nothing into System32" test ! -e "$system32/orbdrift.scr"
    fi
    check "it makes orbdrift the current screen saver" test "$(value "$desktop_key" SCRNSAVE.EXE)" = "$installed"
    check "and lists itself for the $scope alone" sh -c "! wine reg query '$other_key' >/dev/null 2>&1"

    wine reg query "$uninstall_key" /reg:64 >"$out/$scope-uninstall_key.txt" 2>&1
    check "the uninstall entry names orbdrift" test "$(value "$uninstall_key" DisplayName)" = "orbdrift screen saver"
    check "with the project's version" test "$(value "$uninstall_key" DisplayVersion)" = "$version"
    check "a publisher" test -n "$(value "$uninstall_key" Publisher)"
    check "the .scr's icon" test "$(value "$uninstall_key" DisplayIcon)" = "$installed,0"
    size_kb=$(($(stat -c %s "$saver") / 1024))
    estimated=$(($(value "$uninstall_key" EstimatedSize)))
    check "its size in KB ($estimated for $size_kb)" test "$estimated" -ge "$size_kb" -a "$estimated" -le $((size_kb + 64))
    check "and no modify or repair buttons" test "$(value "$uninstall_key" NoModify)$(value "$uninstall_key" NoRepair)" = 0x10x1
    uninstaller=$(value "$uninstall_key" UninstallString | tr -d '"')
    unix_path=$(winepath -u "$uninstaller" 2>/dev/null)
    check "the uninstaller is where its entry says" test -f "$unix_path" -a \
        "$(value "$uninstall_key" QuietUninstallString)" = "\"$uninstaller\" /S"

    # Signed with the certificate given: the installer, the .scr and the
    # uninstaller that the installer wrote.
    if [ -n "$certificate" ]; then
        for file in "$setup" "$saver" "$unix_path"; do
            osslsigncode verify -CAfile "$certificate" -in "$file" >"$out/verify.txt" 2>&1
            check "$(basename "$file") is signed with it" grep -q "^Signature verification: ok" "$out/verify.txt"
        done
    fi

    runs_installed

    # Installing again must not take orbdrift for the setting to restore.
    install
    check "a second install ends with 0" test $? -eq 0
    uninstall
    check "the uninstaller ends" test $? -eq 0
    check "it removes the .scr, itself and its entry" gone
    current=$(value "$desktop_key" SCRNSAVE.EXE)
    check "it restores the previous screen saver (now ${current:-none})" \
        test "$current" = 'C:\windows\system32\previous.scr'

    # No saver before: the uninstaller removes the setting it made.
    forget_saver
    install
    uninstall
    check "without a previous saver the setting goes with orbdrift" saver_unset

    # A saver chosen after installing is the user's choice: it stays.
    install
    set_saver 'C:\windows\system32\chosen.scr'
    uninstall
    check "it leaves a saver chosen since the install" \
        test "$(value "$desktop_key" SCRNSAVE.EXE)" = 'C:\windows\system32\chosen.scr'
    check "and still removes orbdrift" gone
    forget_saver
done

report
