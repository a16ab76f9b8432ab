#!/usr/bin/env bash
# Installs the Linux plug-in into Double Commander for the user who runs it:
# copies corvelle.wlx into the plug-in folder of Double Commander's
# configuration and lists it in doublecmd.xml with its detect string, so that
# F3 on a .pdb, .prc or .pqa file shows it. Run it while Double Commander is
# closed: it writes its whole configuration back when it exits.
#
#   tools/install-doublecmd.sh [--config-dir DIR] [--plugin FILE]
#
# DIR is Double Commander's configuration folder (~/.config/doublecmd, or the
# folder given to its --config-dir); FILE the plug-in (build/corvelle.wlx).
# Safe to run again: the plug-in's entry is replaced, nothing else changes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
config_dir=${XDG_CONFIG_HOME:-$HOME/.config}/doublecmd
plugin=$root/build/corvelle.wlx
while [ $# -gt 0 ]; do
  case $1 in
    --config-dir) config_dir=$2; shift 2 ;;
    --plugin) plugin=$2; shift 2 ;;
    *) echo "usage: $0 [--config-dir DIR] [--plugin FILE]" >&2; exit 2 ;;
  esac
done
if [ ! -f "$plugin" ]; then
  echo "install-doublecmd: $plugin not found: build it first (tools/build.sh native)" >&2
  exit 1
fi
target_dir=$config_dir/plugins/wlx/corvelle
mkdir -p "$target_dir"
# Copied beside itself and renamed: a Double Commander that has the old one
# loaded keeps it whole.
cp "$plugin" "$target_dir/corvelle.wlx.new"
mv -f "$target_dir/corvelle.wlx.new" "$target_dir/corvelle.wlx"
/usr/bin/python3 "$root/tools/dc/add-wlx-plugin.py" "$config_dir/doublecmd.xml" corvelle "$target_dir/corvelle.wlx"
echo "install-doublecmd: $target_dir/corvelle.wlx listed in $config_dir/doublecmd.xml"
