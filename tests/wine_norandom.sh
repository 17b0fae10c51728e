#!/bin/sh
# Starts Wine with the address space laid out without randomisation. Now and
# then a randomised layout puts something where Wine must map the shared
# user data page, and the program dies at start with "failed to map the
# shared user data"; a fixed layout leaves that place free every time.
# The setting is inherited by the processes Wine starts.
exec setarch "$(uname -m)" -R /usr/lib/wine/wine64 "$@"
