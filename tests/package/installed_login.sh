#!/usr/bin/env bash
# Installs the program into a temporary root (DESTDIR), does what the package does
# on its first install, and starts the installed program on a virtual display as far
# as its login window; then logs in and waits for the main window.
#   installed_login.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(mktemp -d)
cleanup() {
    chmod -R u+w "$root" 2>/dev/null || true
    rm -rf "$root"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

DESTDIR=$root cmake --install "$build" --prefix /opt/dentrivale --strip >/dev/null
app=$root/opt/dentrivale
for f in Dentrivale config.ini banco/DBDentrivale.mdb language/Default_pt_BR.lpu language/en \
    relatorio/Dentrivale.rav skins/config.jpg skins/odontograma_permanentes.png help/index.html; do
    [[ -e $app/$f ]] || fail "$f is not installed"
done
[[ -x $root/usr/bin/dentrivale ]] || fail "no launcher in /usr/bin"
desktop=$root/usr/share/applications/dentrivale.desktop
grep -qx 'Categories=Office;MedicalSoftware;' "$desktop" || fail "desktop entry categories"
grep -qx 'Icon=dentrivale' "$desktop" || fail "desktop entry icon"
grep -qx 'Exec=/opt/dentrivale/Dentrivale' "$desktop" || fail "desktop entry command"
for size in 16 32 48 64 128 256; do
    [[ -s $root/usr/share/icons/hicolor/${size}x${size}/apps/dentrivale.png ]] || fail "no ${size}px icon"
done
# The installed program writes nothing into its own folder: database and backups in the data folder.
grep -qx 'DataBase=/var/lib/dentrivale/DBDentrivale.mdb' "$app/config.ini" || fail "config.ini database"
grep -qx 'DataFolder=/var/lib/dentrivale' "$app/config.ini" || fail "config.ini data folder"

# The first install, into the temporary root: the data folder with a copy of the database.
data=$root/var/lib/dentrivale
mkdir -p "$data/Backup"
cp "$app/banco/DBDentrivale.mdb" "$data/"
chmod u+w "$data/DBDentrivale.mdb"
sed "s#/var/lib/dentrivale#$data#g" "$app/config.ini" >"$root/config.ini"
chmod -R a-w "$app"

unset QT_QPA_PLATFORM
export HOME=$root/home LC_ALL=C.UTF-8
mkdir -p "$HOME"
xvfb-run -a -s "-screen 0 1024x768x24" bash -euc '
    "$1" --config "$2" &
    pid=$!
    trap "kill $pid 2>/dev/null || true" EXIT
    login=$(timeout 60 xdotool search --sync --onlyvisible --name "^Login$" | head -1)
    [[ -n $login ]] || { echo "FAIL: no login window" >&2; exit 1; }
    xdotool windowfocus --sync "$login"
    xdotool type --delay 20 admin
    xdotool key Tab
    xdotool type --delay 20 admin
    xdotool key Return
    timeout 60 xdotool search --sync --onlyvisible --name "^Dentrivale - Gerenciamento" >/dev/null ||
        { echo "FAIL: no main window after login" >&2; exit 1; }
    echo "installed program: login shown, main window after login"
' _ "$app/Dentrivale" "$root/config.ini"
