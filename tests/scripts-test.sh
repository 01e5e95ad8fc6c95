#!/usr/bin/env bash
# shellcheck disable=SC2009,SC2015,SC2016 # pass never fails; the stubs expand their own variables
# Checks scripts/setup and scripts/run without touching the machine's packages:
#  - which package list setup picks on apt, dnf, pacman and zypper systems, each played by stub
#    commands on a PATH of their own, that it installs only the missing packages, and that it
#    stops with a clear message on a system it does not know;
#  - that a jobs limit of 0 or a non-number is refused before anything is installed;
#  - that scripts/run --demo builds and names qz300-cli too, starts the program on the fake radio and stops the fake radio when the
#    program ends or is interrupted (needs BUILD_DIR holding qz300 and qz300-fakeradio).
#
#   tests/scripts-test.sh [BUILD_DIR]
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build=${1:-}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/qz300-scripts-test.XXXXXX")
demo_pid=""
cleanup() {
    [ -z "$demo_pid" ] || kill -KILL -- "-$demo_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

passed=0
failed=0
pass() { echo "ok:   $*"; passed=$((passed + 1)); }
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
contains_word() { [[ " $1 " == *" $2 "* ]]; }

bash_path=$(command -v bash)

# A system: a bin folder with the few tools setup runs besides its package manager, and stubs
# for the package manager's commands. Each stub records its command line in the system's log;
# a package counts as installed unless it is listed in the system's file "missing".
make_system() {
    local dir="$scratch/$1"
    shift
    mkdir -p "$dir/bin"
    : >"$dir/log"
    : >"$dir/missing"
    local tool
    for tool in bash grep id env; do
        ln -s "$(command -v "$tool")" "$dir/bin/$tool"
    done
    for tool in "$@"; do
        case "$tool" in
            dpkg-query) # dpkg-query -W -f=FORMAT NAME
                stub_body='grep -qx -- "${!#}" "$dir/missing" && exit 1; echo "install ok installed"' ;;
            rpm) # rpm -q --quiet NAME
                stub_body='grep -qx -- "${!#}" "$dir/missing" && exit 1; exit 0' ;;
            pacman) # pacman -Qq NAME, or pacman -S ... NAMES
                stub_body='if [ "$1" = -Qq ]; then grep -qx -- "$2" "$dir/missing" && exit 1; exit 0; fi
echo "pacman $*" >>"$dir/log"' ;;
            *) stub_body="echo \"$tool \$*\" >>\"\$dir/log\"" ;;
        esac
        printf '#!%s\ndir=%q\n%s\n' "$bash_path" "$dir" "$stub_body" >"$dir/bin/$tool"
        chmod +x "$dir/bin/$tool"
    done
    # Not root: installing goes through sudo, which the stub passes on.
    printf '#!%s\nexec "$@"\n' "$bash_path" >"$dir/bin/sudo"
    chmod +x "$dir/bin/sudo"
}
on_system() { # on_system NAME COMMAND...: runs COMMAND with only that system's bin folder on PATH
    local dir="$scratch/$1"
    shift
    env PATH="$dir/bin" "$@"
}

echo "== package lists by system"
# family | commands the system has | packages the list must hold | packages it must not hold
cases=(
    "apt|apt-get dpkg-query|qt6-base-dev qt6-serialport-dev libqt6sql6-sqlite fonts-arphic-ukai fonts-arphic-uming qt6-translations-l10n qt6-l10n-tools qt6-tools-dev cmake ninja-build poppler-utils|qt6-translations qt6-tools poppler-tools"
    "dnf|dnf rpm|qt6-qtbase-devel qt6-qtserialport-devel gcc-c++ ninja-build cjkuni-ukai-fonts cjkuni-uming-fonts qt6-qttranslations qt6-qttools-devel qt6-linguist poppler-utils|qt6-translations-l10n fonts-arphic-ukai qt6-l10n-tools poppler"
    "pacman|pacman|qt6-base qt6-serialport ninja ttf-arphic-ukai ttf-arphic-uming qt6-translations qt6-tools poppler|qt6-translations-l10n qt6-base-dev qt6-tools-dev poppler-utils"
    "zypper|zypper rpm|qt6-base-devel qt6-printsupport-devel qt6-serialport-devel qt6-sql-sqlite qt6-test-devel arphic-ukai-fonts arphic-uming-fonts qt6-translations qt6-linguist-devel qt6-tools-linguist poppler-tools|qt6-qttranslations fonts-arphic-ukai qt6-linguist poppler-utils"
)
for row in "${cases[@]}"; do
    IFS='|' read -r family commands wanted unwanted <<<"$row"
    read -r -a command_list <<<"$commands"
    make_system "$family" "${command_list[@]}"
    line=$(on_system "$family" "$root/scripts/setup" --print-packages 2>&1)
    status=$?
    [ "$status" -eq 0 ] && [ "${line%%:*}" = "$family" ] && pass "$family: recognised" \
        || fail "$family: --print-packages gave status $status and '$line'"
    list=${line#*: }
    for name in $wanted; do
        contains_word "$list" "$name" || fail "$family: the list lacks $name ($list)"
    done
    for name in $unwanted; do
        ! contains_word "$list" "$name" || fail "$family: the list holds $name, a name of another system"
    done
done

# scripts/run builds no tests: the tests' own packages (pdftotext's) stay out of its list.
for row in "apt|poppler-utils" "dnf|poppler-utils" "pacman|poppler" "zypper|poppler-tools"; do
    IFS='|' read -r family test_only <<<"$row"
    line=$(on_system "$family" "$root/scripts/setup" --run --print-packages 2>&1)
    ! contains_word "${line#*: }" "$test_only" && pass "$family: --run leaves out $test_only" \
        || fail "$family: --run lists the test package $test_only ($line)"
done

echo "== only missing packages are installed"
# family | missing | the install command the stub must see (prefix)
install_cases=(
    "apt|qt6-translations-l10n fonts-arphic-uming|apt-get install -y -qq --no-install-recommends"
    "dnf|qt6-qttranslations cjkuni-uming-fonts|dnf install -y"
    "pacman|qt6-translations ttf-arphic-uming|pacman -S --needed --noconfirm"
    "zypper|qt6-translations arphic-uming-fonts|zypper --non-interactive install"
)
for row in "${install_cases[@]}"; do
    IFS='|' read -r family missing command <<<"$row"
    dir="$scratch/$family"
    tr ' ' '\n' <<<"$missing" >"$dir/missing"
    : >"$dir/log"
    on_system "$family" "$root/scripts/setup" --packages-only >/dev/null 2>&1
    status=$?
    installs=$(grep -E -- "install|-S " "$dir/log")
    # The missing ones, in the order of the list, and nothing else.
    expected_tail=$(tr ' ' '\n' <<<"$missing" | sort | tr '\n' ' ')
    got_tail=$(tr ' ' '\n' <<<"${installs#"$command" }" | sort | tr '\n' ' ')
    if [ "$status" -eq 0 ] && [[ $installs == "$command "* ]] && [ "$(wc -l <<<"$installs")" -eq 1 ] \
        && [ "$got_tail" = "$expected_tail" ]; then
        pass "$family: installs exactly: $missing"
    else
        fail "$family: status $status, install commands seen: '$installs'"
    fi

    : >"$dir/missing"
    : >"$dir/log"
    on_system "$family" "$root/scripts/setup" --packages-only >/dev/null 2>&1
    status=$?
    [ "$status" -eq 0 ] && [ ! -s "$dir/log" ] && pass "$family: nothing missing, package manager left alone" \
        || fail "$family: nothing missing, but status $status and: $(cat "$dir/log")"
done

echo "== unknown system"
make_system unknown
out=$(on_system unknown "$root/scripts/setup" --packages-only 2>"$scratch/unknown.err")
status=$?
err=$(cat "$scratch/unknown.err")
[ "$status" -eq 1 ] && pass "exit status 1" || fail "exit status $status on an unknown system"
[[ $err == *"no supported package manager"* ]] && [[ $err == *"Qt 6.4 or later"* ]] \
    && [[ $err == *"AR PL UKai"* ]] && [[ $err == *"translations"* ]] \
    && pass "says so and names what to install" || fail "message on an unknown system: '$err'"
[ -z "$out" ] && pass "nothing on standard output" || fail "standard output: '$out'"

echo "== jobs limit"
for bad in 0 -3 two ""; do
    dir="$scratch/dnf"
    echo qt6-qttranslations >"$dir/missing"
    : >"$dir/log"
    err=$(on_system dnf "$root/scripts/setup" --packages-only --jobs "$bad" 2>&1 >/dev/null)
    status=$?
    if [ -z "$bad" ]; then
        # An empty value means the default, as when QZ300_JOBS is unset.
        [ "$status" -eq 0 ] && pass "empty jobs value: the default" || fail "empty jobs value: status $status"
        continue
    fi
    [ "$status" -eq 2 ] && [[ $err == *"jobs must be"* ]] && [ ! -s "$dir/log" ] \
        && pass "jobs '$bad' refused before installing" || fail "jobs '$bad': status $status, '$err', $(cat "$dir/log")"
done
err=$(on_system dnf env QZ300_JOBS=0 "$root/scripts/setup" --packages-only 2>&1 >/dev/null)
status=$?
[ "$status" -eq 2 ] && pass "QZ300_JOBS=0 refused" || fail "QZ300_JOBS=0: status $status, '$err'"

echo "== scripts/run --demo"
if [ -z "$build" ] || [ ! -x "$build/src/qz300" ] || [ ! -x "$build/tools/fakeradio/qz300-fakeradio" ]; then
    fail "no build with qz300 and qz300-fakeradio given (tests/scripts-test.sh BUILD_DIR)"
else
    # pids of the processes named NAME (first 15 characters) in process group GROUP
    in_group() { ps -o pid=,comm= -g "$1" 2>/dev/null | awk -v n="${2:0:15}" '$2 == n {print $1}'; }
    # Waits up to SECONDS for COMMAND to succeed.
    wait_for() {
        local seconds=$1 i
        shift
        for ((i = 0; i < seconds * 10; ++i)); do
            "$@" && return 0
            sleep 0.1
        done
        return 1
    }
    gone() { [ -z "$(in_group "$1" "$2")" ]; }
    # Nothing of the group is left but the script's own exit status, waiting for this shell.
    group_ended() { ! ps -o stat= -g "$1" 2>/dev/null | grep -qv '^Z'; }
    up() { [ -n "$(in_group "$1" "$2")" ]; }
    started_on_fake_radio() { grep -q "^Fake radio on /dev/pts/" "$1"; }

    # ending: "program" (the program quits) or "interrupt" (Ctrl+C reaches the whole group)
    for ending in program interrupt; do
        work="$scratch/demo-$ending"
        mkdir -p "$work"
        # A group of its own, as a terminal gives the command it runs.
        (cd "$work" && exec setsid env QT_QPA_PLATFORM=offscreen QZ300_PORTS=/dev/null/never \
            QZ300_SKIP_PACKAGES=1 QZ300_RUN_BUILD_DIR="$build" "$root/scripts/run" --demo >"$work/out" 2>&1) &
        demo_pid=$!
        # setsid makes the script's pid the group id (it forks only when it already leads a group).
        if ! wait_for 120 started_on_fake_radio "$work/out" || ! wait_for 20 up "$demo_pid" qz300; then
            fail "$ending: the demo did not start the program on the fake radio"
            sed 's/^/      /' "$work/out"
            kill -KILL -- "-$demo_pid" 2>/dev/null
            wait "$demo_pid" 2>/dev/null
            demo_pid=""
            continue
        fi
        up "$demo_pid" qz300-fakeradio && pass "$ending: fake radio and program up" \
            || fail "$ending: no fake radio running beside the program"
        # Both programs are built and named, the command-line one where the README says.
        if grep -qF "qz300: $build/src/qz300  qz300-cli: $build/src/cli/qz300-cli" "$work/out" \
            && [ -x "$build/src/cli/qz300-cli" ]; then
            pass "$ending: scripts/run names qz300 and qz300-cli"
        else
            fail "$ending: scripts/run did not name both programs: $(head -c 300 "$work/out")"
        fi
        device=$(sed -n 's/^Fake radio on \([^;]*\);.*/\1/p' "$work/out")
        program_pid=$(in_group "$demo_pid" qz300)
        grep -qzx "QZ300_PORTS=$device" "/proc/$program_pid/environ" && pass "$ending: the program's port is $device" \
            || fail "$ending: the program was not given QZ300_PORTS=$device"
        if [ "$ending" = program ]; then
            kill -TERM "$program_pid"
        else
            kill -INT -- "-$demo_pid"
        fi
        if wait_for 10 gone "$demo_pid" qz300-fakeradio; then
            pass "$ending: the fake radio stopped"
        else
            fail "$ending: the fake radio still runs after the program ended"
        fi
        wait_for 10 group_ended "$demo_pid" && pass "$ending: scripts/run ended, nothing of it left running" \
            || fail "$ending: still running: $(ps -o pid=,stat=,comm= -g "$demo_pid" | tr '\n' ' ')"
        kill -KILL -- "-$demo_pid" 2>/dev/null
        wait "$demo_pid" 2>/dev/null
        demo_pid=""
    done
fi

echo "$passed passed, $failed failed"
((failed == 0))
