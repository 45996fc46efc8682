#!/usr/bin/env bash
# The Debian package as a user meets it: cpack makes the .deb, dpkg-deb
# unpacks it into a temporary folder, the unpacked tessel-cli converts the
# sample project from an unrelated folder, and desktop-file-validate,
# appstreamcli and lintian check what the package holds.
#   check-package.sh BUILD_DIR VERSION MAKE_SAMPLE CPACK
set -euo pipefail
build=$1
version=$2
make_sample=$3
cpack=$4

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in dpkg dpkg-deb file desktop-file-validate appstreamcli lintian; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tessel-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The package, in its own folder so that the build folder's packages stay.
deb=$work/tessel_${version}_$(dpkg --print-architecture).deb
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack -G DEB failed"
fi
[ -f "$deb" ] || fail "cpack made no $(basename "$deb"): $(ls "$work")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in fonts-dejavu-core fonts-droid-fallback fonts-dseg libqt6core6 libqt6widgets6; do
  [[ ", $depends," == *", $package"[\ ,]* ]] || fail "Depends lacks $package"
done

recommends=$(dpkg-deb -f "$deb" Recommends)
[[ "$recommends" == *qt6-translations-l10n* ]] || fail "Recommends lacks qt6-translations-l10n"

root=$work/root
dpkg-deb -x "$deb" "$root"
for path in usr/bin/tessel usr/bin/tessel-cli usr/share/tessel/Tessel.pdf \
  usr/share/tessel/Tessel_en.pdf usr/share/tessel/fonts.txt usr/share/man/man1/tessel.1.gz \
  usr/share/man/man1/tessel-cli.1.gz \
  usr/share/applications/tessel.desktop usr/share/doc/tessel/copyright \
  usr/share/doc/tessel/changelog.gz; do
  [ -f "$root/$path" ] || fail "the package lacks /$path"
done
for size in 16 22 24 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/tessel.png
  file -b "$icon" | grep -q "PNG image data, $size x $size," ||
    fail "/usr/share/icons/hicolor/${size}x${size}/apps/tessel.png: $(file -b "$icon")"
done

# The unpacked tessel-cli, run from a folder that is neither the build tree
# nor the package's, finds its resources beside itself (../share/tessel).
"$make_sample" "$work/sample" >/dev/null
mkdir "$work/elsewhere" "$work/home"
cd "$work/elsewhere"
export HOME=$work/home
table=$root/usr/share/tessel/fonts.txt
system_font=$(sed -n 's/^font\.ttf=//p' "$table")
[ -f "$system_font" ] || fail "fonts.txt names no font.ttf that exists: '$system_font'"
"$root/usr/bin/tessel-cli" convert "$work/sample" -o "$work/out" --font ascii -y ||
  fail "the unpacked tessel-cli failed on the sample"
cmp "$work/out/private/truefont/font.ttf" "$system_font" ||
  fail "truefont/font.ttf is not the system file the package names"

# The table that is read is the unpacked one: point the Chinese font at a
# file made here and the next run must copy exactly that file.
head -c 4096 /dev/urandom >"$work/fixture.ttf"
sed -i "s|^中英文\.ttf=.*|中英文.ttf=$work/fixture.ttf|" "$table"
"$root/usr/bin/tessel-cli" convert "$work/sample" -o "$work/out2" --font cjk -y ||
  fail "the unpacked tessel-cli failed with the changed font table"
cmp "$work/out2/private/truefont/font.ttf" "$work/fixture.ttf" ||
  fail "the run did not use the unpacked share/tessel/fonts.txt"

# Both languages come with the programs.
for lang in zh_CN.UTF-8 C; do
  said=$(LC_ALL=$lang LANGUAGE= "$root/usr/bin/tessel-cli" convert "$work/missing" 2>&1 || true)
  case $lang:$said in
    zh_CN*:*"源路径无效：$work/missing"*) ;;
    C:*"Source folder not found: $work/missing"*) ;;
    *) fail "under $lang the unpacked tessel-cli said: $said" ;;
  esac
done

# The unpacked desktop program starts and waits in its dialog until it is
# stopped (timeout's 124), and the developers' programs are not packed.
status=0
QT_QPA_PLATFORM=offscreen timeout 5 "$root/usr/bin/tessel" >/dev/null 2>&1 || status=$?
[ "$status" -eq 124 ] || fail "the unpacked tessel did not start (status $status)"
[ ! -e "$root/usr/bin/tessel-screenshots" ] || fail "the package holds tessel-screenshots"

desktop-file-validate "$root/usr/share/applications/tessel.desktop" ||
  fail "desktop-file-validate"
for metainfo in "$root"/usr/share/metainfo/*.metainfo.xml; do
  [ -f "$metainfo" ] || fail "the package holds no AppStream metainfo"
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
done

# lintian: errors fail; everything else is shown.
lintian --fail-on error --display-info "$deb" 2>&1 | grep -v "root privileges" || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || fail "lintian reports errors"
echo "package: $(basename "$deb") passes"
