#!/usr/bin/env bash
# Compiler launcher of the native build: runs the compile command with every
# path inside the source tree made relative to the build folder.
#
#   relative-source-paths.sh SOURCE_DIR COMPILER ARGS...
#
# Clang writes the source file's path as it was given into the sanitizers'
# metadata (module names, global and check locations, lambda type names),
# where -ffile-prefix-map does not reach; given relative paths, two builds of
# one commit in different folders give the same bytes.
root=$1
shift
relative=$(realpath -m --relative-to="$PWD" "$root")
command=()
for argument in "$@"; do
  case $argument in
    "$root"/*) argument=$relative/${argument#"$root"/} ;;
    -I"$root"/*) argument=-I$relative/${argument#-I"$root"/} ;;
  esac
  command+=("$argument")
done
exec "${command[@]}"
