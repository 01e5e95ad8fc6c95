# shellcheck shell=bash
# Sourced by the scripts: how many compile jobs to run at once.
#   qz300_jobs [N]  prints N when it is a positive whole number (and fails otherwise), or, without N,
#                   one job per processor and at most one per GiB of available memory: a compile
#                   job of this code takes up to about 1 GiB, and a small machine that runs out of
#                   memory stalls far longer than one that compiles one file less at a time.
qz300_jobs() {
    local given=${1:-}
    if [ -n "$given" ]; then
        # 0 would mean "no limit" to Ninja.
        if [[ ! $given =~ ^[1-9][0-9]*$ ]]; then
            echo "${0##*/}: jobs must be a whole number from 1 up, not '$given'" >&2
            return 1
        fi
        echo "$given"
        return 0
    fi
    local cpus mem_kib=0 key value rest
    cpus=$(nproc 2>/dev/null || getconf _NPROCESSORS_ONLN 2>/dev/null || echo 1)
    if [ -r /proc/meminfo ]; then
        while read -r key value rest; do
            [ "$key" != MemAvailable: ] || mem_kib=$value
        done </proc/meminfo
    fi
    local by_memory=$((mem_kib / 1048576))
    ((by_memory >= 1)) || by_memory=1
    [ -r /proc/meminfo ] || by_memory=$cpus
    echo $((cpus < by_memory ? cpus : by_memory))
}
