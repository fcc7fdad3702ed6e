#!/usr/bin/env bash
# package_check.sh BUILD_DIR WORK_DIR SAMPLE_DOC VERSION: builds the .deb from BUILD_DIR,
# checks its control fields and file list, validates its AppStream data, unpacks it into a
# temporary root and runs the unpacked programs from there.
set -euo pipefail
build=$1 work=$2 sample=$3 version=$4
for tool in dpkg-deb dpkg-shlibdeps cpack; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "package_check: SKIPPED: $tool is not installed (the Debian package tools are needed)"
    exit 77
  fi
done
fail() { echo "package_check: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" >cpack.log 2>&1) ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
arch=$(dpkg --print-architecture)
deb="$work/korvale_${version}_${arch}.deb"
[ -s "$deb" ] || fail "no $deb (cpack made: $(ls "$work"))"

# Control fields.
dpkg-deb -I "$deb" >"$work/control.txt"
field() { sed -n "s/^ $1: //p" "$work/control.txt"; }
[ "$(field Package)" = korvale ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = science ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
grep -q '^ Description: .\+' "$work/control.txt" || fail "no Description"
depends=$(field Depends)
for dep in fonts-liberation libc6 libstdc++6 libqt6widgets6; do
  case ", $depends," in
    *", $dep"[\ ,]*) ;;
    *) fail "Depends lacks $dep: $depends" ;;
  esac
done

# File list: everything under /usr, and the files a desktop needs.
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files.txt"
if grep -v '^/usr\(/\|$\)' "$work/files.txt" | grep -v '^/$'; then fail "files outside /usr"; fi
for f in /usr/bin/korvale /usr/bin/korvale-cli /usr/share/korvale/tracks.dat \
         /usr/share/korvale/Korvale.hlp /usr/share/applications/korvale.desktop \
         /usr/share/mime/packages/korvale.xml /usr/share/metainfo/korvale.metainfo.xml \
         /usr/share/icons/hicolor/scalable/apps/korvale.svg; do
  grep -qx "$f" "$work/files.txt" || fail "$f not in the package"
done
for size in 16 24 32 48 64 128 256; do
  grep -qx "/usr/share/icons/hicolor/${size}x${size}/apps/korvale.png" "$work/files.txt" ||
    fail "no ${size}x${size} icon"
done
if grep -q '\.kvl$\|\.rpl$\|korvale\.ini$' "$work/files.txt"; then fail "sample data or settings packaged"; fi
for f in /usr/share/doc/korvale/copyright /usr/share/doc/korvale/changelog.gz \
         /usr/share/man/man1/korvale.1.gz /usr/share/man/man1/korvale-cli.1.gz \
         /usr/share/icons/hicolor/scalable/mimetypes/application-x-korvale-telemetry.svg; do
  grep -qx "$f" "$work/files.txt" || fail "$f not in the package"
done

# Debian's own checks of a package: no error and no warning may remain. Informational tags
# are listed but allowed.
if command -v lintian >/dev/null 2>&1; then
  lintian --no-tag-display-limit --display-info "$deb" >"$work/lintian.log" 2>&1 || true
  cat "$work/lintian.log"
  if grep -q '^[EW]: ' "$work/lintian.log"; then fail "lintian reports errors or warnings"; fi
else
  echo "package_check: lintian missing, the package was not checked by it"
fi

# Unpack and run from the unpacked root; settings go to the user's configuration directory.
root="$work/root"
dpkg-deb -x "$deb" "$root"
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/korvale.metainfo.xml" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log" >&2; fail "AppStream data does not validate"; }
else
  echo "package_check: appstreamcli missing, AppStream data not validated"
fi
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$root/usr/share/applications/korvale.desktop" ||
    fail "desktop entry does not validate"
fi
if command -v update-mime-database >/dev/null 2>&1 && command -v gio >/dev/null 2>&1; then
  mime="$work/mime"
  mkdir -p "$mime/mime/packages"
  cp "$root/usr/share/mime/packages/korvale.xml" "$mime/mime/packages/"
  update-mime-database "$mime/mime" >/dev/null 2>&1 || fail "the MIME type does not build"
  cp "$sample" "$work/document-without-extension"
  type=$(XDG_DATA_HOME="$mime" XDG_DATA_DIRS="$mime:/usr/share" \
           gio info -a standard::content-type "$work/document-without-extension" 2>/dev/null |
           sed -n 's/^ *standard::content-type: //p')
  [ "$type" = application/x-korvale-telemetry ] ||
    fail "a document without its extension is taken for '$type'"
fi
"$root/usr/bin/korvale-cli" tracks list >"$work/tracks.txt" 2>"$work/cli.log" ||
  fail "unpacked korvale-cli tracks list failed: $(cat "$work/cli.log")"
grep -q "Kestrel Ridge Circuit" "$work/tracks.txt" || fail "unpacked korvale-cli listed no sample track"
home="$work/home"
mkdir -p "$home"
(unset KORVALE_SETTINGS; HOME="$home" XDG_CONFIG_HOME="$home/.config" QT_QPA_PLATFORM=offscreen \
  "$root/usr/bin/korvale" --screenshot "$work/shot.png" "$sample" >"$work/run.log" 2>&1) ||
  fail "unpacked korvale failed: $(cat "$work/run.log")"
[ -s "$work/shot.png" ] || fail "unpacked korvale wrote no screenshot"
if [ -n "$(find "$root" -name korvale.ini)" ]; then fail "settings written into the installed tree"; fi
echo "package_check: $(basename "$deb") OK"
