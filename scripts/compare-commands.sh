#!/bin/bash
# Runs one fixed sequence of commands, each with its output, its exit code and the data files it
# leaves, against two builds of the program, and shows where they differ: a change of structure
# is to leave every one of them as it was. Usage: compare-commands.sh BUILD_BEFORE BUILD_AFTER
set -uo pipefail
before=${1:?build folder before}
after=${2:?build folder after}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

commands=(
  "--list" "--list --overdue" "--list --find kh" "--log" "--log --find 2026-12" "--month"
  "--month 2027-02" "--month --dir DATA" "--month 2027-13"
  "--add 开会 --finish 明天" "--add 开会 --finish 明天" "--add 写周报 --repeat 每周五"
  "--add 交房租 --repeat 每月15号 --finish 2026-12-15" "--add 看牙 --finish 明天下午3点"
  "--add=体检 --finish=2026-12-20 --set=2026-12-01" "--add x" "--add x --repeat a b"
  "--add x --finish 明日" "--add x --repeat 每周五下午5点" "--repeat 开会 每周" "--repeat 开会"
  "--repeat 没有的 每天" "--repeat 开会 每周五下午5点" "--time 开会 15:30" "--time 开会 off"
  "--time 开会 25点" "--time 开会" "--time 没有 15:00" "--done 开会" "--done 没有" "--done"
  "--list" "--log" "--backups" "--restore 2026-13-01" "--holidays" "--remind 08:30"
  "--remind off" "--remind x" "--caldav" "--caldav ftp://x/" "--caldav https://h/x/ --tasklist"
  "--user a" "--finish x" "--find" "--overdue" "--set 2026-12-01 --list" "--frobnicate"
  "--list --log" "--add a --done b" "--help" "--restore 2026-12-09" "--list"
)

run_all() {
  local build=$1 out=$2 data="$work/data"
  rm -rf "$data" && mkdir -p "$data" "$out"
  printf '"回电话",#2026-12-01#,#2026-12-05#\r\n"给爷爷拜年",#2026-12-01#,#2027-02-06#\r\n' |
    iconv -f UTF-8 -t GB18030 > "$data/agenda.txt"
  printf '旧事: 设置日期2026-11-01; 预定完成日期2026-11-02; 删除日期2026-11-03\r\n' |
    iconv -f UTF-8 -t GB18030 > "$data/my.log"
  local i=0
  for line in "${commands[@]}"; do
    i=$((i + 1))
    # Each word a separate argument; DATA is the data folder.
    read -r -a words <<< "${line//DATA/$data}"
    HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
      faketime '2026-12-09 10:00:00' "$build/kestrin" --dir "$data" "${words[@]}" \
      > "$out/$i.out" 2> "$out/$i.err" < /dev/null
    echo "$? $line" > "$out/$i.code"
    (cd "$data" && find . -type f ! -name '*.lock' | sort | xargs sha256sum) > "$out/$i.files"
  done
}

run_all "$before" "$work/before"
run_all "$after" "$work/after"
if diff -r "$work/before" "$work/after"; then
  echo "${#commands[@]} commands: output, exit codes and files the same"
else
  echo "differences above"
  exit 1
fi
