# Shared by the scripts: where the repository and the build trees are.
# ASTRO_BUILD_ROOT moves every build tree (default: <repo>/build), so a second
# checkout or a helper can build beside the main trees without touching them.
ASTRO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ASTRO_BUILD_ROOT=${ASTRO_BUILD_ROOT:-$ASTRO_ROOT/build}
ASTRO_JOBS=${ASTRO_JOBS:-$(nproc)}

say() { printf '%s: %s\n' "$(basename "$0")" "$*" >&2; }
die() {
  say "$*"
  exit 1
}
