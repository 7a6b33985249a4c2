# Shared by the build and release scripts (sourced, not run, from the
# project's root): the folder a build takes its code lists and registers from.

# The folder QUELT_DATA_DIR names, as an absolute path; a relative name is
# taken from $1, the folder the command was started in. Without the variable,
# the project's data/, the samples. A name that is no folder stops the script.
data_folder() {
  local dir=${QUELT_DATA_DIR:-$PWD/data}
  case $dir in
    /*) ;;
    *) dir=$1/$dir ;;
  esac
  if [ ! -d "$dir" ]; then
    echo "QUELT_DATA_DIR=$QUELT_DATA_DIR: there is no folder $dir" >&2
    return 1
  fi
  (cd "$dir" && pwd -P)
}

# Whether a folder is the project's data/: the samples, which the golden
# suite and the page's test need.
is_samples_folder() {
  [ "$(cd "$1" && pwd -P)" = "$(cd data && pwd -P)" ]
}

# Before a script configures build folder $1 with data folder $2: when the
# folder was configured with other lists, says so, since the configuration
# that follows switches it to $2 (CMake's cache would otherwise keep the old
# folder, and a build or test would silently carry its lists).
note_data_folder() {
  local was
  was=$(sed -n 's/^QUELT_DATA_DIR:[A-Z]*=//p' "$1/CMakeCache.txt" 2>/dev/null) || true
  [ -n "$was" ] || return 0
  [ -d "$was" ] && [ "$(cd "$was" && pwd -P)" = "$(cd "$2" && pwd -P)" ] && return 0
  echo "$1/ was configured with the lists of $was: configuring it with $2" >&2
}
