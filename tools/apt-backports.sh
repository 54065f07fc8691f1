# Sourced by tools/bootstrap.sh: adds the backports suite of the Debian archive that the machine
# already uses, so that machines behind a local mirror or proxy fetch it from there too and no
# archive address is written into this project.

# write_backports_source APT_DIR CODENAME
# Finds the first enabled "deb" source of suite CODENAME in APT_DIR/sources.list,
# APT_DIR/sources.list.d/*.list (one-line form) or APT_DIR/sources.list.d/*.sources (deb822
# form) and writes the same archive (address, options, keyring) with the suite
# CODENAME-backports and the component main to APT_DIR/sources.list.d/backports.list or
# backports.sources, in the form of the source it copied. Fails when there is no such source.
write_backports_source() {
  local apt_dir=$1 codename=$2 file found=""
  local list_dir="$apt_dir/sources.list.d"
  mkdir -p "$list_dir"
  for file in "$apt_dir/sources.list" "$list_dir"/*.list; do
    [ -f "$file" ] && [ "$file" != "$list_dir/backports.list" ] || continue
    # deb [options] URI SUITE COMPONENT...
    found=$(awk -v suite="$codename" '
      $1 == "deb" {
        uri = 2
        if ($2 ~ /^\[/) { while (uri <= NF && $uri !~ /\]$/) uri++; uri++ }
        if ($(uri + 1) == suite) {
          line = "deb"
          for (i = 2; i <= uri; i++) line = line " " $i
          print line " " suite "-backports main"
          exit
        }
      }' "$file")
    if [ -n "$found" ]; then
      printf '%s\n' "$found" >"$list_dir/backports.list"
      rm -f "$list_dir/backports.sources"
      return 0
    fi
  done
  for file in "$list_dir"/*.sources; do
    [ -f "$file" ] && [ "$file" != "$list_dir/backports.sources" ] || continue
    found=$(awk -v suite="$codename" '
      BEGIN { RS = ""; FS = "\n" }
      {
        types = suites = enabled = ""
        for (i = 1; i <= NF; i++) {
          if ($i ~ /^Types:/) types = " " substr($i, 7) " "
          if ($i ~ /^Suites:/) suites = " " substr($i, 8) " "
          if ($i ~ /^Enabled:/) enabled = substr($i, 9)
        }
        gsub(/[ \t]+/, " ", types); gsub(/[ \t]+/, " ", suites); gsub(/[ \t]/, "", enabled)
        if (types !~ / deb / || suites !~ (" " suite " ") || enabled == "no") next
        for (i = 1; i <= NF; i++) {
          if ($i ~ /^#/) continue
          else if ($i ~ /^Suites:/) print "Suites: " suite "-backports"
          else if ($i ~ /^Components:/) print "Components: main"
          else if ($i ~ /^Types:/) print "Types: deb"
          else print $i
        }
        exit
      }' "$file")
    if [ -n "$found" ]; then
      printf '%s\n' "$found" >"$list_dir/backports.sources"
      rm -f "$list_dir/backports.list"
      return 0
    fi
  done
  echo "bootstrap: no Debian source for $codename in $apt_dir; add one, then run again" >&2
  return 1
}
