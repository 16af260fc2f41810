# Sourced by the build scripts: CMake arguments that compile through ccache when it is
# installed, so a rebuild compiles only what changed, in any clone of the project (paths are
# taken relative to the clone). A fresh machine gains nothing from it.
cache_args=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
  cache_args=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
