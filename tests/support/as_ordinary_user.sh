#!/bin/sh
# Runs a test program as an ordinary user. Root passes every permission and
# exclusivity check, so a test of one would prove nothing run as root; under
# root the program is copied where an unused uid may read it and run as that
# uid, with no groups (dialout included).
set -eu
program=$1
shift
if [ "$(id -u)" -ne 0 ]; then
    exec "$program" "$@"
fi
place=$(mktemp -d)
trap 'rm -rf "$place"' EXIT
cp "$program" "$place/"
chmod 755 "$place" "$place/$(basename "$program")"
cd "$place"
# Not exec: the trap must remove the copy afterwards.
HOME=$place setpriv --reuid=65534 --regid=65534 --clear-groups \
    "$place/$(basename "$program")" "$@"
