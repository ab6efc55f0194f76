# Helpers shared by scripts/run and scripts/test. Source it; do not run it.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}

PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-qpa-plugins qt6-l10n-tools qt6-translations-l10n
  libcpp-httplib-dev libboost-dev libgtest-dev libgmock-dev libbenchmark-dev
  libxlsxwriter-dev libzip-dev libsqlite3-dev poppler-utils unzip clang-format
  xvfb xauth imagemagick fonts-dejavu-core fonts-liberation2 curl sqlite3
  libqt6sql6-psql libzip-dev libssl-dev openssl libpq-dev
)
# Only for the tests and the benchmarks, which start a PostgreSQL server of their own and check the package's systemd
# unit (systemd-analyze): scripts/run needs none.
TEST_PACKAGES=(postgresql systemd)
# For building the Debian package: dpkg-shlibdeps finds its dependencies.
PACKAGING_PACKAGES=(dpkg-dev file)

# Installs the Debian packages that are missing, PACKAGES and those given; does nothing when all are there.
install_missing_packages() {
  local missing=()
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Instalando pacotes: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Fails, naming the files, when a C++ source differs from the tree's .clang-format style.
check_format() {
  local unformatted=()
  while IFS= read -r file; do
    clang-format --dry-run --Werror "$ROOT/$file" >/dev/null 2>&1 || unformatted+=("$file")
  done < <(git -C "$ROOT" ls-files '*.cpp' '*.h')
  [ ${#unformatted[@]} -eq 0 ] && return 0
  echo "Fora do estilo do projeto (corrija com: clang-format -i ARQUIVO):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  return 1
}

build_all() {
  cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD_DIR" -j2
}

# Builds the Debian package (cpack -G DEB) into build/package from a built tree; prints the path of the .deb.
build_package() {
  rm -f "$BUILD_DIR"/package/*.deb
  (cd "$BUILD_DIR" && cpack -G DEB -B "$BUILD_DIR/package" >/dev/null)
  ls "$BUILD_DIR"/package/*.deb
}

# A private PostgreSQL cluster for the tests: a temporary folder, a free loopback port, owned by an unprivileged
# user (the server refuses to run as root; CI runs as root). Its superuser "fiscal" enters without a password; every
# other role, as an analyst's, with its password (scram). Exports FISCAL_TEST_POSTGRESQL, the address of its
# maintenance database, and FISCAL_TEST_PG_CTL, its pg_ctl (stop, start, restart) run as its owner.
start_test_cluster() {
  local bin owner port
  bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
  TEST_CLUSTER_DIR=$(mktemp -d /tmp/fiscal-pg.XXXXXX)
  owner=$(id -un)
  if [ "$(id -u)" -eq 0 ]; then
    owner=postgres
    chown "$owner" "$TEST_CLUSTER_DIR"
  fi
  port=$(free_port)
  cat >"$TEST_CLUSTER_DIR/pg_ctl" <<SCRIPT
#!/usr/bin/env bash
# pg_ctl of the test cluster, run as its owner.
cd "$TEST_CLUSTER_DIR"
if [ "\$(id -un)" = "$owner" ]; then exec "$bin/pg_ctl" -D "$TEST_CLUSTER_DIR/data" -w -l "$TEST_CLUSTER_DIR/log" "\$@"; fi
exec runuser -u "$owner" -- "$bin/pg_ctl" -D "$TEST_CLUSTER_DIR/data" -w -l "$TEST_CLUSTER_DIR/log" "\$@"
SCRIPT
  chmod 755 "$TEST_CLUSTER_DIR/pg_ctl"
  local as_owner=()
  [ "$owner" != "$(id -un)" ] && as_owner=(runuser -u "$owner" --)
  (cd "$TEST_CLUSTER_DIR" && "${as_owner[@]}" "$bin/initdb" -D "$TEST_CLUSTER_DIR/data" -U fiscal -A trust -E UTF8 \
    --locale=C.UTF-8 >/dev/null)
  cat >"$TEST_CLUSTER_DIR/data/pg_hba.conf" <<HBA
local all all trust
host all fiscal 127.0.0.1/32 trust
host all all 127.0.0.1/32 scram-sha-256
HBA
  cat >>"$TEST_CLUSTER_DIR/data/postgresql.conf" <<CONF
port = $port
listen_addresses = '127.0.0.1'
unix_socket_directories = '$TEST_CLUSTER_DIR'
fsync = off
CONF
  "$TEST_CLUSTER_DIR/pg_ctl" start >/dev/null
  export FISCAL_TEST_POSTGRESQL="postgresql://fiscal@127.0.0.1:$port/postgres"
  export FISCAL_TEST_PG_CTL="$TEST_CLUSTER_DIR/pg_ctl"
  echo "PostgreSQL de teste em 127.0.0.1:$port ($TEST_CLUSTER_DIR)"
}

stop_test_cluster() {
  [ -n "${TEST_CLUSTER_DIR:-}" ] || return 0
  "$TEST_CLUSTER_DIR/pg_ctl" stop -m immediate >/dev/null 2>&1 || true
  rm -rf "$TEST_CLUSTER_DIR"
  TEST_CLUSTER_DIR=
}

# A loopback TCP port nothing listens on.
free_port() {
  local port
  while :; do
    port=$((20000 + RANDOM % 30000))
    (echo >"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "$port"; return; }
  done
}
