#!/bin/sh
# Installs what the tests and the bench need, builds the suite twice (plain, and with
# AddressSanitizer and UndefinedBehaviorSanitizer) and runs it in both builds; the plain build
# also builds the bench programs, and one quick round of the bench shows that they still run.
set -eu
cd "$(dirname "$0")"
sh tools/setup-packages.sh bench

run_suite() {
    dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir"
    ctest --test-dir "$dir" --output-on-failure --timeout 300 -j2
}

export DBUS_SESSION_BUS_ADDRESS=disabled:
run_suite build/tests -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLOTARO_BENCH=ON
# The figures of one round say little; a measurement that fails fails the run.
/usr/bin/python3 bench/run.py --quick --build-dir build/tests

# Leaks count as failures; the suppressions cover only libraries outside the game.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$(pwd)/tests/support/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DLOTARO_SANITIZE=ON
