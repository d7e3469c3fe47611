#!/bin/sh
# settings_folder_test.sh LAUNCHER: the launcher starts its command in
# $XDG_CONFIG_HOME/tervane or ~/.config/tervane, creating it, passes the
# arguments on untouched, and refuses a folder the user cannot write.
set -u
launcher=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
chmod 755 "$root"
failures=0

expect() {
    if [ "$2" != "$3" ]; then
        echo "FAIL: $1: got '$2', expected '$3'" >&2
        failures=$((failures + 1))
    fi
}

# Runs the launcher with a clean environment of the given variables.
launch() {
    env -i PATH="$PATH" "$@"
}

out=$(launch HOME="$root/home" XDG_CONFIG_HOME="$root/config" sh "$launcher" pwd)
expect "XDG_CONFIG_HOME, folder missing" "$out" "$root/config/tervane"

out=$(launch HOME="$root/home" sh "$launcher" pwd)
expect "no XDG_CONFIG_HOME" "$out" "$root/home/.config/tervane"

out=$(cd "$root" && launch HOME="$root/home" XDG_CONFIG_HOME=relative sh "$launcher" pwd)
expect "relative XDG_CONFIG_HOME is ignored" "$out" "$root/home/.config/tervane"
expect "nothing made for a relative XDG_CONFIG_HOME" "$(ls "$root" | tr '\n' ' ')" "config home "

out=$(launch HOME="$root/home" sh "$launcher" sh -c 'printf "%s|" "$@"' zero "two words" "" '$HOME')
expect "arguments passed on" "$out" 'two words||$HOME|'

out=$(launch HOME="$root/home" sh "$launcher" 2>/dev/null)
expect "no command: usage status" "$?" 2

# An unprivileged user whose settings folder cannot be made, or exists but
# cannot be written: an error, and the command is not started.
mkdir -p "$root/locked" "$root/readonly/.config/tervane"
if [ "$(id -u)" -eq 0 ]; then
    as_user="setpriv --reuid=nobody --regid=nogroup --clear-groups"
else
    chmod 555 "$root/locked" "$root/readonly/.config/tervane"
    as_user=""
fi
for home in "$root/locked" "$root/readonly"; do
    launch HOME="$home" $as_user sh "$launcher" echo started >"$root/out" 2>&1
    expect "unwritable $home: status" "$?" 1
    expect "unwritable $home: last words" "$(tail -n 1 "$root/out")" \
        "tervane-in-settings-folder: cannot use $home/.config/tervane for the settings"
done

[ "$failures" -eq 0 ] && echo "settings folder launcher: all cases pass"
[ "$failures" -eq 0 ]
