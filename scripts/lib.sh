# Helpers shared by scripts/run and scripts/test. Source it; do not run it.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}

PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-qpa-plugins qt6-l10n-tools qt6-translations-l10n
  libcpp-httplib-dev libboost-dev libgtest-dev libgmock-dev libbenchmark-dev
  libxlsxwriter-dev libsqlite3-dev poppler-utils unzip clang-format
  xvfb xauth imagemagick fonts-dejavu-core fonts-liberation2 curl sqlite3
)

# Installs the Debian packages that are missing; does nothing when all are there.
install_missing_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
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
