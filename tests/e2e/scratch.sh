# Sourced by the end-to-end scripts: a scratch folder, $work, and the processes a script starts
# in the background, added to $children; all are gone when the script ends, however it ends.
work=$(mktemp -d)
children=()

cleanup() {
  for pid in "${children[@]}"; do kill "$pid" 2> /dev/null || true; done
  wait 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
