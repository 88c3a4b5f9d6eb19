#!/usr/bin/env bash
# Builds the Debian package of the build folder $1 (sources in $2) into a temporary folder,
# unpacks it into a temporary root and checks it as a dealer's machine would use it: the three
# programs run from there, the window finds the installed help and keeps its settings per user,
# the desktop entry, metainfo, manual pages, completion and udev rule are valid, lintian finds
# no error.
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "package: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/out" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; fail "cpack failed"; }
debs=("$tmp"/out/qm54win_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb in $tmp/out"
deb=${debs[0]}

# Dependencies come from the binaries (dpkg-shlibdeps), so the Qt libraries are among them.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6printsupport6 libc6 libstdc++6; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

# The package installs on this system: apt finds every dependency (a simulation, nothing changes).
apt-get install --simulate -q "$deb" >"$tmp/apt.log" 2>&1 && grep -q '^Conf qm54win ' "$tmp/apt.log" ||
  { cat "$tmp/apt.log"; fail "apt would not install the package"; }

root=$tmp/root
dpkg-deb -x "$deb" "$root"
usr=$root/usr
for f in bin/QM54Win bin/qm54 bin/qm54-sim \
         share/qm54win/help/QM54Win/index.html share/qm54win/help/QM54Win2/index.html \
         share/qm54win/help/guide/user-guide.md share/qm54win/help/guide/main-window.png \
         share/applications/org.qm54win.QM54Win.desktop share/metainfo/org.qm54win.QM54Win.metainfo.xml \
         share/icons/hicolor/scalable/apps/qm54win.svg share/icons/hicolor/48x48/apps/qm54win.png \
         share/icons/hicolor/256x256/apps/qm54win.png lib/udev/rules.d/70-qm54win-cables.rules \
         share/bash-completion/completions/qm54 share/doc/qm54win/copyright share/doc/qm54win/changelog.gz \
         share/man/man1/QM54Win.1.gz share/man/man1/qm54.1.gz share/man/man1/qm54-sim.1.gz; do
  [ -e "$usr/$f" ] || fail "the package lacks /usr/$f"
done

# The programs run from the unpacked root with a fresh home.
export HOME=$tmp/home XDG_RUNTIME_DIR=$tmp/run
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_STATE_HOME QM54WIN_HOME
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
"$usr/bin/qm54" new "$tmp/site.Q54" --band uhf
"$usr/bin/qm54" show "$tmp/site.Q54" >"$tmp/show.json"
grep -q '"Band"' "$tmp/show.json" || fail "qm54 show printed no Band"
"$usr/bin/qm54-sim" --help >/dev/null

# The installed window finds its help beside bin/ and keeps settings in the per-user folder,
# even when it could write its own folder (the check runs as root in CI).
QT_QPA_PLATFORM=offscreen QM54WIN_REPORT_HELP=1 timeout 60 "$usr/bin/QM54Win" >"$tmp/help.txt" ||
  fail "the installed window did not start: $(cat "$tmp/help.txt")"
grep -qx "QM54Win: $usr/share/qm54win/help/QM54Win" "$tmp/help.txt" || fail "help not found: $(cat "$tmp/help.txt")"
grep -qx "QM54Win2: $usr/share/qm54win/help/QM54Win2" "$tmp/help.txt" || fail "service help not found: $(cat "$tmp/help.txt")"
grep -qx "program folder: $HOME/.config/qm54win/" "$tmp/help.txt" || fail "not the per-user folder: $(cat "$tmp/help.txt")"
[ -z "$(ls -A "$usr/bin" | grep -v -x -e QM54Win -e qm54 -e qm54-sim)" ] || fail "the window wrote into bin/"

# The help links to the user guide, and the guide's pictures are there.
grep -q 'href="../guide/user-guide.md"' "$usr/share/qm54win/help/QM54Win/contents.html" || fail "the help does not link the guide"
for picture in $(grep -o '([a-z0-9-]*\.png)' "$usr/share/qm54win/help/guide/user-guide.md" | tr -d '()' | sort -u); do
  [ -f "$usr/share/qm54win/help/guide/$picture" ] || fail "the guide shows the missing $picture"
done

desktop-file-validate "$usr/share/applications/org.qm54win.QM54Win.desktop"
appstreamcli validate --no-net --explain "$usr/share/metainfo/org.qm54win.QM54Win.metainfo.xml"

# Manual pages: groff has no warning, each has a NAME line, qm54's names every verb.
for page in "$usr"/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page: $warnings"
  lexgrog "$page" >/dev/null || fail "$page has no NAME section whatis can read"
done
verbs=$("$usr/bin/qm54" --help | sed -n 's/^  \([a-z]\+\) .*/\1/p')
[ -n "$verbs" ] || fail "qm54 --help lists no verbs"
man_text=$(MANWIDTH=200 man -l "$usr/share/man/man1/qm54.1.gz" 2>/dev/null)
complete_verbs=$(sed -n 's/^ *local verbs="\(.*\)"$/\1/p' "$usr/share/bash-completion/completions/qm54")
for verb in $verbs; do
  grep -Eq "^ {7}$verb( |$)" <<<"$man_text" || fail "man qm54 does not explain the verb $verb"
  grep -qw "$verb" <<<"$complete_verbs" || fail "the completion lacks the verb $verb"
done
# The completion completes a verb, and an option and its values of that verb.
completion=$usr/share/bash-completion/completions/qm54
complete_at() {
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _qm54; echo "${COMPREPLY[*]}"' \
    complete "$completion" "$@"
}
[ "$(complete_at qm54 dow)" = download ] || fail "completion of a verb: $(complete_at qm54 dow)"
[ "$(complete_at qm54 download site.Q54 --ver)" = --verify ] || fail "completion of an option"
[ "$(complete_at qm54 set site.Q54 --mode d)" = dealer ] || fail "completion of a mode"

bash "$source/tests/package/check_udev_rule.sh" "$usr/lib/udev/rules.d/70-qm54win-cables.rules"

lintian --fail-on error --tag-display-limit 0 "$deb"
echo "package: $(basename "$deb") checked"
