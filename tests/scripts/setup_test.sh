#!/usr/bin/env bash
# Runs scripts/setup.sh and scripts/run.sh against stand-ins for id, sudo, apt-get and
# dpkg-query, the build and the program, on a PATH that holds nothing else but bash, grep and
# dirname (no real sudo or apt-get can be reached), and checks for each case the exit status,
# what the script said and what it ran.
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A copy of the scripts, whose build.sh and program only record that they ran.
root=$tmp/root
mkdir -p "$root/scripts" "$root/build/app" "$tmp/bin" "$tmp/sudo"
scripts=$(dirname "$0")/../../scripts
cp "$scripts/setup.sh" "$scripts/run.sh" "$root/scripts/"
for tool in bash grep dirname; do
  ln -s "$(command -v "$tool")" "$tmp/bin/$tool"
done

# executable <file>: a bash script of the lines on stdin.
executable() {
  { echo '#!/usr/bin/env bash'; cat; } >"$1"
  chmod +x "$1"
}
for program in "$root/scripts/build.sh" "$root/build/app/quirelle"; do
  executable "$program" <<'EOF'
echo "${0##*/}${*:+ $*}" >>"$STUB_LOG"
EOF
done
# Root is whoever $STUB_UID says, or anyone through a sudo that $STUB_SUDO allows.
executable "$tmp/bin/id" <<'EOF'
echo "$STUB_UID"
EOF
executable "$tmp/sudo/sudo" <<'EOF'
echo "sudo $*" >>"$STUB_LOG"
if [ "$STUB_SUDO" = refused ]; then
  if [ "$1" = -n ]; then echo "sudo: a password is required" >&2
  else echo "sudo: 3 incorrect password attempts" >&2; fi
  exit 1
fi
while [[ $1 == -* ]]; do shift; done
STUB_UID=0 "$@"
EOF
# The package lists exist once the file $STUB_LISTS does.
executable "$tmp/bin/apt-get" <<'EOF'
echo "apt-get $*" >>"$STUB_LOG"
if [ "$STUB_UID" != 0 ]; then
  echo "E: Could not open lock file /var/lib/dpkg/lock-frontend - open (13: Permission denied)" >&2
  exit 100
fi
case $1 in
  update) : >"$STUB_LISTS" ;;
  install) [ -e "$STUB_LISTS" ] || { echo "E: Unable to locate package ${!#}" >&2; exit 100; } ;;
esac
EOF
# Every package is installed but those of $STUB_MISSING; not logged, it is asked once a package.
executable "$tmp/bin/dpkg-query" <<'EOF'
case " $STUB_MISSING " in
  *" ${!#} "*) echo "dpkg-query: no packages found matching ${!#}" >&2; exit 1 ;;
esac
echo "install ok installed"
EOF

failures=0
n=0
# run <command...>: runs it in the situation of the case being checked, output and errors
# together.
run() {
  env -i PATH="$path" STUB_LOG="$dir/log" STUB_LISTS="$dir/lists" STUB_MISSING="$missing" \
    STUB_SUDO="$sudo" ${environment:+"$environment"} "$@" 2>&1
}
fail() { echo "FAIL $name: $1"; failures=$((failures + 1)); }

# check <script> <uid> <sudo: allowed|refused|absent> <lists: present|empty> <missing packages>
#       <environment> <status> <commands run, "; " between them> <text said ("" = nothing)>
# A command to run as root that the script advises must succeed in the same situation.
check() {
  local script=$1 uid=$2 sudo=$3 lists=$4 missing=$5 environment=$6 status=$7 ran=$8 said=$9
  local name="$script uid=$uid sudo=$sudo lists=$lists missing='$missing' $environment"
  local dir=$tmp/case$((n += 1)) path=$tmp/bin out got=0 log advice
  mkdir "$dir"
  : >"$dir/log"
  [ "$lists" = empty ] || : >"$dir/lists"
  [ "$sudo" = absent ] || path=$tmp/sudo:$path
  out=$(run STUB_UID="$uid" bash "$root/scripts/$script") || got=$?
  log=$(<"$dir/log")
  log=${log//"$root/"/}
  log=${log//$'\n'/; }
  [ "$got" = "$status" ] || fail "exit status $got instead of $status"
  [ "$log" = "$ran" ] || fail "ran '$log' instead of '$ran'"
  if [ -z "$said" ]; then
    [ -z "$out" ] || fail "said '$out' instead of nothing"
  else
    [[ $out == *"$said"* ]] || fail "said '$out' without '$said'"
  fi
  advice=$(grep '^  apt-get' <<<"$out" || true)
  if [ -n "$advice" ]; then
    run STUB_UID=0 bash -c "$advice" >/dev/null || fail "the advice '$advice' fails as root"
  fi
}

update="apt-get update -qq"
install="apt-get install -y -qq --no-install-recommends xvfb zip"
sudo="sudo --preserve-env=DEBIAN_FRONTEND"
advice="Missing packages: xvfb zip.
Install them as root, then run this script again:
  apt-get update && apt-get install --no-install-recommends xvfb zip"
program="build.sh quirelle_program; quirelle build/samples/Exemple.bd"
graphical="quirelle needs a graphical session: neither DISPLAY nor WAYLAND_DISPLAY is set.
To try it without one, under a virtual display:
  bash scripts/setup.sh && xvfb-run -a ./scripts/run.sh"

#     script   uid  sudo    lists   missing    environment                 status
#       commands run                                              text said
check setup.sh 1000 absent  empty   ""         ""                          0 \
        ""                                                        ""
check setup.sh 0    absent  empty   "xvfb zip" ""                          0 \
        "$update; $install"                                       "Installing: xvfb zip"
check setup.sh 0    absent  present "xvfb zip" ""                          0 \
        "$update; $install"                                       "Installing: xvfb zip"
check setup.sh 1000 allowed empty   "xvfb zip" ""                          0 \
        "sudo -n true; $sudo $update; $update; $sudo $install; $install" "Installing: xvfb zip"
check setup.sh 1000 refused empty   "xvfb zip" ""                          1 \
        "sudo -n true"                                            "$advice"
check setup.sh 1000 absent  empty   "xvfb zip" ""                          1 \
        ""                                                        "$advice"
check run.sh   0    absent  present "xvfb zip" ""                          1 \
        ""                                                        "$graphical"
check run.sh   0    absent  present "xvfb zip" "DISPLAY="                  1 \
        ""                                                        "$graphical"
check run.sh   0    absent  present "xvfb zip" "DISPLAY=:99"               0 \
        "$update; $install; $program"                             "Installing: xvfb zip"
check run.sh   0    absent  present ""         "WAYLAND_DISPLAY=wayland-0" 0 \
        "$program"                                                ""
check run.sh   1000 absent  present "xvfb zip" "DISPLAY=:99"               1 \
        ""                                                        "$advice"

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "all cases pass"
