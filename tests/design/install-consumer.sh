#!/usr/bin/env bash
# Installs a build into a staging folder (DESTDIR), checks what landed where,
# builds and runs a consumer project against it with find_package(Lumitra),
# then uninstalls and checks that nothing is left.
set -euo pipefail
build=${1:?usage: install-consumer.sh BUILD_DIR CONSUMER_SOURCE [SANITIZERS]}
consumer=${2:?usage: install-consumer.sh BUILD_DIR CONSUMER_SOURCE [SANITIZERS]}
sanitize=${3:-}

fail() { echo "install-consumer: $*" >&2; exit 1; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
stage=$tmp/stage
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
prefix=$(cache CMAKE_INSTALL_PREFIX)
libdir=$(cache CMAKE_INSTALL_LIBDIR)
plugindir=$(cache LUMITRA_DESIGNER_PLUGIN_DIR)
[[ "$plugindir" = /* ]] || plugindir=$prefix/$plugindir
root=$stage$prefix

echo "install-consumer: installing $build into $stage"
DESTDIR=$stage cmake --install "$build" >"$tmp/install.log" || { cat "$tmp/install.log"; fail "install failed"; }

for f in "$libdir/libLumitraRLib.so.1.0.1.7" "$libdir/libLumitraRLib.so.1" "$libdir/libLumitraRLib.so" \
         include/Lumitra/Lumitra.h include/Lumitra/TCustomControl.h \
         "$libdir/cmake/Lumitra/LumitraConfig.cmake" "$libdir/cmake/Lumitra/LumitraConfigVersion.cmake" \
         "$libdir/cmake/Lumitra/LumitraTargets.cmake" "$libdir/pkgconfig/lumitra.pc" bin/lumitra-demo; do
    [[ -e "$root/$f" ]] || fail "missing $prefix/$f"
done
plugin=$stage$plugindir/libLumitraDLib.so
[[ -f "$plugin" ]] || fail "missing $plugindir/libLumitraDLib.so"
readelf -d "$root/$libdir/libLumitraRLib.so.1.0.1.7" | grep -q 'SONAME.*\[libLumitraRLib.so.1\]' || fail "wrong SONAME"
grep -q 'PACKAGE_VERSION "1.0.1.7"' "$root/$libdir/cmake/Lumitra/LumitraConfigVersion.cmake" || fail "wrong package version"
grep -q 'Lumitra::RLib' "$root/$libdir/cmake/Lumitra/LumitraTargets.cmake" || fail "no Lumitra::RLib target"

# The installed plugin and demo find the installed library by their run paths.
for bin in "$plugin" "$root/bin/lumitra-demo"; do
    found=$(ldd "$bin" | sed -n 's/^[[:space:]]*libLumitraRLib.so.1 => \([^ ]*\) .*/\1/p')
    [[ -n "$found" && "$(realpath "$found")" == "$(realpath "$root/$libdir/libLumitraRLib.so.1")" ]] \
        || fail "$(basename "$bin") does not find the installed LumitraRLib (found: ${found:-none})"
done

export PKG_CONFIG_PATH=$root/$libdir/pkgconfig
[[ "$(pkg-config --modversion lumitra)" == "1.0.1.7" ]] || fail "pkg-config version"
grep -q '^Description: Lumitra Runtime Library$' "$root/$libdir/pkgconfig/lumitra.pc" || fail "pkg-config description"
[[ "$(realpath "$(pkg-config --variable=includedir lumitra)")" == "$root/include/Lumitra" ]] \
    || fail "pkg-config include folder: $(pkg-config --variable=includedir lumitra)"
[[ "$(realpath "$(pkg-config --variable=libdir lumitra)")" == "$root/$libdir" ]] \
    || fail "pkg-config library folder: $(pkg-config --variable=libdir lumitra)"

echo "install-consumer: building the consumer project"
flags=()
if [[ -n "$sanitize" ]]; then
    flags=("-DCMAKE_CXX_FLAGS=-fsanitize=$sanitize" "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=$sanitize")
fi
cmake -S "$consumer" -B "$tmp/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$root" "${flags[@]}" >"$tmp/consumer.log" 2>&1 \
    || { cat "$tmp/consumer.log"; fail "consumer configure failed"; }
cmake --build "$tmp/consumer" >>"$tmp/consumer.log" 2>&1 || { cat "$tmp/consumer.log"; fail "consumer build failed"; }
"$tmp/consumer/lumitra-consumer" || fail "consumer run failed"

echo "install-consumer: uninstalling"
DESTDIR=$stage cmake --build "$build" --target uninstall >"$tmp/uninstall.log" || { cat "$tmp/uninstall.log"; fail "uninstall failed"; }
left=$(find "$stage" -type f -o -type l)
[[ -z "$left" ]] || fail "left behind: $left"
# Only the prefix's standard folders may stay, empty.
extra=$(cd "$stage" && find . -mindepth 1 -type d | sed 's|^\.||' | grep -v -x -F \
    -e "$prefix/bin" -e "$prefix/include" -e "$prefix/lib" -e "$prefix/$libdir" -e "$prefix/$libdir/cmake" \
    -e "$prefix/$libdir/pkgconfig" | while read -r d; do
        case "$prefix/" in "$d"/*) ;; *) case "$plugindir/" in "$d"/*) ;; *) echo "$d" ;; esac ;; esac
    done)
[[ -z "$extra" ]] || fail "folders left behind: $extra"
echo "install-consumer: ok"
