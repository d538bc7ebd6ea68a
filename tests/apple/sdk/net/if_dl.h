// Apple's <net/if_dl.h> stands in here for the one constant the Mac sources take from Apple's
// <sys/socket.h>, which the host's own <sys/socket.h> lacks (see mach/mach_types.h here for
// what this check proves and what it does not). Copied from XNU's bsd/sys/socket.h.
#pragma once

#include <sys/socket.h>

// bsd/sys/socket.h
#ifndef AF_LINK
#define AF_LINK         18              /* Link layer interface */
#endif
