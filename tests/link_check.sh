#!/bin/bash
# usage: link_check.sh EXECUTABLE...
# The logic is meant to run without a display: none of these may load Qt's GUI or widget libraries.
status=0
for exe in "$@"; do
    if gui=$(ldd "$exe" | grep -E 'libQt6(Gui|Widgets)'); then
        echo "$(basename "$exe") loads: $gui"
        status=1
    fi
done
[ $status = 0 ] && echo "$# logic tests, none loads QtGui or QtWidgets"
exit $status
