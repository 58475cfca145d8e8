#!/usr/bin/env bash
# Builds the Debian package and the portable archive from a built tree, checks
# their contents and control fields, unpacks the package into a temporary root
# and runs it from there as a user would: the command-line tool, then the
# configurator (offscreen) as an unprivileged user whose program folder is not
# writable, so that it keeps its data in the user's data folder.
#   check_package.sh BUILD_DIR VERSION
set -euo pipefail
build="$1"
version="$2"

fail() { echo "FAIL: $*" >&2; exit 1; }
work="$(mktemp -d)"
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"

# --- The packages ----------------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log" >&2; fail "cpack"; }
arch="$(dpkg --print-architecture)"
deb="$work/out/loomwright_${version}-1_${arch}.deb"
tgz="$(ls "$work"/out/Loomwright-"$version"-portable-linux-*.tar.gz)"
[ -f "$deb" ] || fail "no $deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = loomwright ] || fail "Package: $(field Package)"
[ "$(field Version)" = "${version}-1" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = electronics ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ "$(field Description | wc -l)" -gt 3 ] || fail "no long Description"
# Dependencies come from the binaries (dpkg-shlibdeps), with their versions.
depends="$(field Depends)"
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libpugixml1v5 libc6; do
    grep -Eq "(^|, )$lib \(>= " <<<"$depends" || fail "Depends lacks $lib: $depends"
done

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/deb.list"
for path in /usr/bin/loomwright /usr/bin/loomwright-cli \
            /usr/share/loomwright/LANGUAGE/English.lng /usr/share/loomwright/LANGUAGE/Italian.lng \
            /usr/share/loomwright/LANGUAGE/German.lng /usr/share/loomwright/LANGUAGE/French.lng \
            /usr/share/loomwright/LANGUAGE/Spanish.lng /usr/share/loomwright/LANGUAGE/DefaultFlag.bmp \
            /usr/share/applications/org.loomwright.Loomwright.desktop \
            /usr/share/icons/hicolor/scalable/apps/org.loomwright.Loomwright.svg \
            /usr/share/metainfo/org.loomwright.Loomwright.metainfo.xml \
            /usr/share/man/man1/loomwright-cli.1.gz /usr/share/man/man1/loomwright.1.gz \
            /usr/share/doc/loomwright/copyright /usr/share/doc/loomwright/changelog.Debian.gz; do
    grep -qx "$path" "$work/deb.list" || fail "package lacks $path"
done
! grep -qi "netloader" "$work/deb.list" || fail "the stand-in updater is in the package"
! grep -q "^/usr/share/loomwright/LANGUAGE/.*\.\(xml\|txt\)$" "$work/deb.list" || fail "stray files in LANGUAGE"

tar tzf "$tgz" | sed 's|^[^/]*/||' >"$work/tgz.list"
for path in loomwright loomwright-cli README LANGUAGE/English.lng LANGUAGE/Spanish.bmp MASTER/ PROJECTS/ \
            qt.conf lib/libQt6Widgets.so.6 lib/libpugixml.so.1 plugins/platforms/libqxcb.so; do
    grep -qx "$path" "$work/tgz.list" || fail "archive lacks $path"
done
[ "$(grep -c '^MASTER/.' "$work/tgz.list")" = 0 ] || fail "MASTER/ is not empty"
[ "$(grep -c '^PROJECTS/.' "$work/tgz.list")" = 0 ] || fail "PROJECTS/ is not empty"
! grep -qi "netloader.exe$" "$work/tgz.list" || fail "the stand-in updater is in the archive"

# --- The unpacked package: validators, command-line tool ----------------------
root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/org.loomwright.Loomwright.desktop" \
    || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.loomwright.Loomwright.metainfo.xml" >"$work/as.log" 2>&1 \
    || { cat "$work/as.log" >&2; fail "appstreamcli validate"; }
exec_line="$(grep '^Exec=' "$root/usr/share/applications/org.loomwright.Loomwright.desktop")"
[ "$exec_line" = "Exec=loomwright" ] || fail "desktop entry: $exec_line"

cli="$root/usr/bin/loomwright-cli"
[ "$("$cli" --version)" = "loomwright-cli $version" ] || fail "--version: $("$cli" --version)"

project="$work/Plant"
mkdir -p "$project"
cat >"$project/ParGen.xml" <<'XML'
<Par_Gen><KNX_TYPE>0</KNX_TYPE><KNX_ID_DEV>1.1.200</KNX_ID_DEV><PROFINET_IP1>192</PROFINET_IP1><PROFINET_IP2>168</PROFINET_IP2><PROFINET_IP3>0</PROFINET_IP3><PROFINET_IP4>5</PROFINET_IP4><PROFINET_SM1>255</PROFINET_SM1><PROFINET_SM2>255</PROFINET_SM2><PROFINET_SM3>255</PROFINET_SM3><PROFINET_SM4>0</PROFINET_SM4><PROFINET_GAT1>192</PROFINET_GAT1><PROFINET_GAT2>168</PROFINET_GAT2><PROFINET_GAT3>0</PROFINET_GAT3><PROFINET_GAT4>1</PROFINET_GAT4><PROFINET_EN_GAT>0</PROFINET_EN_GAT><PROFINET_NAME_STA>devicename1</PROFINET_NAME_STA></Par_Gen><!--SW_VERSION = 1.002-->
XML
cat >"$project/KNX_SetAccess.xml" <<'XML'
<BACnet_to_KNX><KNX_in_Read/><KNX_in_Write><row Enable="Y" Source_Address="1.1.10" Destination_Address="1/2/3" APCI="WRITE" Priority="Low" Format="SWAP16" Extended="N" ReTest="Y" On_Command="Y" On_Change="N" On_Timer="Y" Poll_Time="500" Position="4" Bit_Mode="NO" Length="2" Mnemonic="example"/></KNX_in_Write></BACnet_to_KNX><!--SW_VERSION = 1.002-->
XML
out="$("$cli" compile "$project")" || fail "compile: $out"
grep -q "22528 bytes, 1 command," <<<"$out" || fail "compile said: $out"
[ "$(stat -c %s "$project/bin/bank.bin")" = 22528 ] || fail "bank.bin size"
"$cli" inspect "$project/bin/bank.bin" >/dev/null || fail "inspect of the compiled image"

# --- The configurator as an ordinary user ----------------------------------------
# root may write anywhere, so the run drops to nobody; the unpacked program
# folder stays root's and is not writable for that user.
home="$work/home"
mkdir -p "$home/data" "$home/runtime"
chmod 700 "$home/runtime"
as_user=()
if [ "$(id -u)" = 0 ]; then
    chown -R nobody: "$home"
    as_user=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --)
fi
chmod 555 "$root/usr/bin"
run_as_user() {
    env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime" \
        LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen "$@"
}

paths="$(run_as_user "${as_user[@]}" "$cli" --paths)" || fail "--paths"
grep -q "^Data folder: *$home/data/Loomwright (the user's data folder), not created yet$" <<<"$paths" \
    || fail "--paths before the first start: $paths"

LOOMWRIGHT_CLOSE_AFTER_START=1 timeout 60 \
    env -i PATH=/usr/bin:/bin HOME="$home" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime" \
        LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen LOOMWRIGHT_CLOSE_AFTER_START=1 \
        "${as_user[@]}" "$root/usr/bin/loomwright" >"$work/gui.log" 2>&1 \
    || { cat "$work/gui.log" >&2; fail "the configurator did not start and close by itself"; }

data="$home/data/Loomwright"
for folder in MASTER PROJECTS LANGUAGE; do
    [ -d "$data/$folder" ] || fail "no $data/$folder"
done
for name in English Italian German French Spanish; do
    cmp -s "$root/usr/share/loomwright/LANGUAGE/$name.lng" "$data/LANGUAGE/$name.lng" || fail "$name.lng not copied"
    cmp -s "$root/usr/share/loomwright/LANGUAGE/$name.bmp" "$data/LANGUAGE/$name.bmp" || fail "$name.bmp not copied"
done
[ -s "$data/Loomwright.xml" ] || fail "Loomwright.xml not written at exit"
grep -q "<language>English</language>" "$data/Loomwright.xml" || fail "settings: $(cat "$data/Loomwright.xml")"
if [ "$(id -u)" = 0 ]; then
    [ "$(stat -c %U "$data/Loomwright.xml")" = nobody ] || fail "the settings file belongs to $(stat -c %U "$data/Loomwright.xml")"
fi
[ -z "$(ls -A "$root/usr/bin" | grep -v '^loomwright\(-cli\)\?$')" ] || fail "files written beside the program"

# A user's own language file survives the next start.
echo "STR0 = mine" >"$data/LANGUAGE/Italian.lng"
run_as_user "${as_user[@]}" env LOOMWRIGHT_CLOSE_AFTER_START=1 timeout 60 "$root/usr/bin/loomwright" \
    >"$work/gui2.log" 2>&1 || { cat "$work/gui2.log" >&2; fail "second start"; }
[ "$(cat "$data/LANGUAGE/Italian.lng")" = "STR0 = mine" ] || fail "the user's Italian.lng was replaced"

# --- The portable archive runs in place -----------------------------------------
tar xzf "$tgz" -C "$work"
portable="$(ls -d "$work"/Loomwright-"$version"-portable-linux-*/)"
portable="${portable%/}"
[ "$("$portable/loomwright-cli" --version)" = "loomwright-cli $version" ] || fail "portable --version"
grep -q "^Data folder: *$portable (beside the program)$" <<<"$("$portable/loomwright-cli" --paths)" \
    || fail "portable --paths: $("$portable/loomwright-cli" --paths)"
ldd "$portable/loomwright" >"$work/ldd.log"
grep -qF "$portable/lib/libQt6Widgets.so.6" "$work/ldd.log" || fail "the portable copy does not use its own Qt"
# The portable configurator starts and closes by itself, keeping its settings beside it.
env -i PATH=/usr/bin:/bin HOME="$work" LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen LOOMWRIGHT_CLOSE_AFTER_START=1 \
    timeout 60 "$portable/loomwright" >"$work/portable.log" 2>&1 || { cat "$work/portable.log" >&2; fail "portable start"; }
[ -s "$portable/Loomwright.xml" ] || fail "the portable copy wrote no Loomwright.xml beside itself"
[ ! -e "$work/.local/share/Loomwright" ] || fail "the portable copy wrote into the user's data folder"
echo "package checks passed"
