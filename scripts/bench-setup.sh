# Sourced by the timing scripts: installs the tools they need that are missing (hyperfine, and
# the Debian packages passed, each named as its program in /usr/bin) and builds the targets passed after "--" in a Release
# tree in build-rel (or $KALKORA_BUILD_DIR), which it leaves in $build_dir.
#   source scripts/bench-setup.sh [PACKAGE...] -- TARGET...
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build_dir=${KALKORA_BUILD_DIR:-build-rel}

bench_missing=()
for tool in hyperfine; do
  [ -x "/usr/bin/$tool" ] || bench_missing+=("$tool")
done
while (($#)) && [ "$1" != -- ]; do
  [ -x "/usr/bin/$1" ] || bench_missing+=("$1")
  shift
done
shift
if ((${#bench_missing[@]})); then
  bench_sudo=()
  [ "$(id -u)" -eq 0 ] || bench_sudo=(sudo)
  DEBIAN_FRONTEND=noninteractive "${bench_sudo[@]}" apt-get install -y -qq "${bench_missing[@]}"
fi

[ -f "$build_dir/CMakeCache.txt" ] \
  || cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKALKORA_BUILD_GUI=OFF
cmake --build "$build_dir" -j 2 --target "$@"
