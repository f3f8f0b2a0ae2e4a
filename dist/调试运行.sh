#!/bin/sh
# Runs the host service in the foreground; its messages show in this terminal (or the file the
# tool named). In a terminal window the window stays open after the service ends.
cd "$(dirname "$0")" || exit 1
here=$(pwd)
. "$here/service-lib.sh"

if [ -x "$program" ]; then
    "$program" --home "$here"
    status=$?
    echo "服务程序已结束（退出码 $status）"
else
    echo "找不到服务程序：$program"
    status=2
fi
if [ -t 0 ]; then
    printf '按回车键关闭此窗口'
    read -r _
fi
exit $status
