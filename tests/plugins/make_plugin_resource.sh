#!/bin/sh
# make_plugin_resource.sh NAME LIBRARY OUTPUT
# Writes a plug-in resource: the name's length as one byte, the name, then the
# library's bytes.
name=$1
library=$2
output=$3
{
  printf "$(printf '\\%03o' "${#name}")"
  printf '%s' "$name"
  cat "$library"
} >"$output"
