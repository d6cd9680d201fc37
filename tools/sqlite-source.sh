#!/usr/bin/env bash
# Puts SQLite's amalgamation (sqlite3.c, sqlite3.h) into the folder given, for the comparison
# benchmark that builds it with the project's own cross compiler. The source comes from a package
# of the npm registry that ships the amalgamation unchanged (deps/sqlite3 of better-sqlite3),
# fetched with npm's ordinary client; the file's hash is checked, so every build compares against
# the same SQLite. Nothing is fetched when the folder holds it already.
set -euo pipefail
dest="${1:?usage: sqlite-source.sh FOLDER}"
package="better-sqlite3@13.2.0"
sha256="75a4760a7b9727a4c4c877aec92eacf39e52a8f2921ce00bd33be6d3a8e8e254"  # sqlite3.c, SQLite 3.54.1

if [ -f "$dest/sqlite3.c" ] && [ -f "$dest/sqlite3.h" ] &&
   echo "$sha256  $dest/sqlite3.c" | sha256sum -c --status; then
  exit 0
fi
if ! command -v npm >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends npm >/dev/null
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$package" >/dev/null)
tar -xzf "$work"/*.tgz -C "$work" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
echo "$sha256  $work/package/deps/sqlite3/sqlite3.c" | sha256sum -c --status ||
  { echo "sqlite-source.sh: $package holds another sqlite3.c than expected" >&2; exit 1; }
mkdir -p "$dest"
cp "$work/package/deps/sqlite3/sqlite3.c" "$work/package/deps/sqlite3/sqlite3.h" "$dest/"
