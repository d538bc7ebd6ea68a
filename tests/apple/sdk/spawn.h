// The host's <spawn.h> plus the Darwin flag the Mac sources use, POSIX_SPAWN_CLOEXEC_DEFAULT
// (see mach/mach_types.h here for what this check proves and what it does not).
//
// Apple's <spawn.h> takes its flag values from <sys/spawn.h>. The standard ones the sources
// also use have the same values there as in the host's header (bsd/sys/spawn.h:
// POSIX_SPAWN_SETPGROUP 0x0002, POSIX_SPAWN_SETSIGDEF 0x0004, POSIX_SPAWN_SETSIGMASK 0x0008),
// so the host's are kept. posix_spawnattr_setflags and the other calls are the host's POSIX
// declarations, not Apple's.
#include_next <spawn.h>

#ifndef POSIX_SPAWN_CLOEXEC_DEFAULT
// bsd/sys/spawn.h (XNU), under #if !defined(_POSIX_C_SOURCE) || defined(_DARWIN_C_SOURCE)
#define POSIX_SPAWN_CLOEXEC_DEFAULT     0x4000
#endif
