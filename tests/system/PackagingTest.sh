#!/usr/bin/env bash
# PackagingTest.sh — what a packager and a new player rely on without building anything heavy: the
# manual pages render without a warning and name every option and command the programs offer,
# every quarn-zone command answers --help, the version is the same everywhere it is written, and
# `make run` installs no fuzzing runtime nor test library.
#   PackagingTest.sh SOURCE_DIR BUILD_DIR PROJECT_VERSION TEXT_VERSION PACKAGE_VERSION
set -u
source=$1 build=$2 project_version=$3 text_version=$4 package_version=$5
failed=0
fail() { echo "FAIL: $*"; failed=1; }
export ASAN_OPTIONS=detect_leaks=0 MANWIDTH=80

# The manual pages: man's own warnings (groff's too) go to stderr.
for page in quarn quarn-zone; do
  file=$build/man/$page.6
  [ -s "$file" ] || { fail "$page.6 was not built"; continue; }
  text=$(man --warnings -l "$file" 2>"$build/man/$page.warnings")
  [ -s "$build/man/$page.warnings" ] && { fail "man warns about $page.6:"; cat "$build/man/$page.warnings"; }
  grep -q "^NAME" <<<"$text" || fail "$page.6 renders without a NAME section"
  printf '%s\n' "$text" >"$build/man/$page.txt"
done
# Every option quarn --help lists is in quarn(6); every command of quarn-zone in quarn-zone(6).
options=$("$build/bin/quarn" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
[ -n "$options" ] || fail "quarn --help lists no option"
for option in $options; do
  grep -q -- "$option" "$build/man/quarn.txt" || fail "quarn(6) does not describe $option"
done
commands=$("$build/bin/quarn-zone" --help | sed -n 's/^.*quarn-zone \([a-z][a-z]*\) .*/\1/p' | sort -u)
[ "$(wc -w <<<"$commands")" -ge 4 ] || fail "quarn-zone --help lists only: $commands"
for command in $commands; do
  grep -q "^ *$command " "$build/man/quarn-zone.txt" || fail "quarn-zone(6) does not describe $command"
  out=$("$build/bin/quarn-zone" "$command" --help 2>&1)
  status=$?
  [ $status -eq 0 ] || fail "quarn-zone $command --help ended with $status: $out"
  grep -q "^usage: quarn-zone $command" <<<"$out" || fail "quarn-zone $command --help printed: $out"
done

# One version, written once in CMakeLists.txt: the program prints it, both screens show it, the
# metainfo's newest release and the Debian changelog carry it with the stage after a tilde, which
# sorts below the release it precedes; no other file writes it out.
version=$("$build/bin/quarn" --version | sed -n 's/^Quarn //p')
[ "$version" = "$text_version" ] || fail "quarn --version printed '$version', CMake says '$text_version'"
release=$(grep -o '<release version="[^"]*"' "$source/data/io.github.quarn.Quarn.metainfo.xml" |
  head -1 | cut -d'"' -f2)
[ "$release" = "$package_version" ] || fail "the metainfo's release is '$release', not '$package_version'"
changelog=$(sed -n '1s/^quarn (\([^)]*\)).*/\1/p' "$source/debian/changelog")
[ "$changelog" = "$package_version" ] || fail "debian/changelog is at '$changelog', not '$package_version'"
if command -v dpkg >/dev/null; then
  dpkg --compare-versions "$package_version" lt "$project_version" ||
    fail "the package version $package_version does not sort below $project_version"
fi
strays=$(grep -rnF -e "$text_version" -e "$package_version" \
  "$source/src" "$source/tools" "$source/tests" "$source/data" "$source/debian" "$source/docs" \
  "$source/scripts" "$source/README.md" 2>/dev/null |
  grep -v -e "^$source/debian/changelog:1:" -e "^$source/data/io.github.quarn.Quarn.metainfo.xml:.*<release " |
  grep -v -e "/src/Version.h.in:" -e "/tests/system/PackagingTest.sh:")
[ -z "$strays" ] || fail "the version is written out again: $strays"
for screen in GameLayout StartScreen; do
  grep -q 'erze " QUARN_VERSION_TEXT' "$source/src/ui/$screen.cpp" ||
    fail "src/ui/$screen.cpp does not show the configured version"
done

# What `make run` installs: the game's build and run needs, none of the tests', fuzzing's or
# the package's tools; and the suite's own list holds the run list.
run=$("$source/scripts/setup.sh" --list run) || fail "setup.sh --list run failed"
heavy=$(grep -E '^(clang|libclang|llvm|lld|valgrind|googletest|libgtest|libgmock|libbenchmark|lintian|debhelper|imagemagick|sox)' <<<"$run")
[ -z "$heavy" ] || fail "make run would install $(tr '\n' ' ' <<<"$heavy")"
for needed in g++ cmake libsdl2-dev xdg-utils scdoc fonts-liberation; do
  grep -qx "$needed" <<<"$run" || fail "make run would not install $needed"
done
suite=$("$source/scripts/setup.sh" --list test)
missing=$(comm -23 <(sort -u <<<"$run") <(sort -u <<<"$suite"))
[ -z "$missing" ] || fail "make test would not install $missing"
grep -qx libgtest-dev <<<"$suite" || fail "make test would not install GoogleTest"
"$source/scripts/setup.sh" --list nonsense >/dev/null 2>&1 && fail "setup.sh lists an unknown command"

[ $failed -eq 0 ] && echo "manual pages, --help, version and set-up lists fine"
exit $failed
