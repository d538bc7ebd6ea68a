// The host's <time.h> plus what Apple's adds that the Mac sources use:
// clock_gettime_nsec_np, CLOCK_UPTIME_RAW and CLOCK_MONOTONIC (see mach/mach_types.h here for
// what this check proves and what it does not).
//
// Copied from include/time.h of Apple's Libc. The index this was looked up in holds that file
// without naming the repository it took it from (its apple-oss-distributions/Libc copy has no
// include/ directory); the text is Apple's: APSL header, __DARWIN_ALIAS_C, __CLOCK_AVAILABILITY.
//
// Apple declares clockid_t itself, as an enumeration:
//   typedef enum {
//   _CLOCK_REALTIME __CLOCK_AVAILABILITY = 0, ... _CLOCK_THREAD_CPUTIME_ID ... = 16
//   } clockid_t;
// The host's <time.h> has already declared clockid_t, as an int, so Apple's enumeration is
// copied below under another name, orvane_darwin_clockid_t, and clock_gettime_nsec_np takes
// that. So a call still has to pass one of Apple's clock enumerators (C++ does not turn an
// int into an enumeration), as on a Mac; what is not checked is anything that uses the name
// clockid_t itself with Apple's meaning. The availability attributes (__CLOCK_AVAILABILITY:
// macOS 10.12) are left out. __uint64_t, the return type, is the host's (unsigned long);
// Apple's bsd/i386/_types.h has unsigned long long: same width, different spelling.
#include_next <time.h>

#ifndef ORVANE_DARWIN_TIME_ADDITIONS
#define ORVANE_DARWIN_TIME_ADDITIONS

#ifdef __cplusplus
extern "C" {
#endif

// include/time.h (Libc), the enumeration of clockid_t with its attributes left out, and the
// #if !defined(_POSIX_C_SOURCE) || defined(_DARWIN_C_SOURCE) around its Darwin-only members
typedef enum {
_CLOCK_REALTIME = 0,
_CLOCK_MONOTONIC = 6,
// The host's CLOCK_MONOTONIC is an int macro of its own; Apple's names the enumerator.
#undef CLOCK_MONOTONIC
#define CLOCK_MONOTONIC _CLOCK_MONOTONIC
_CLOCK_MONOTONIC_RAW = 4,
_CLOCK_MONOTONIC_RAW_APPROX = 5,
_CLOCK_UPTIME_RAW = 8,
#define CLOCK_UPTIME_RAW _CLOCK_UPTIME_RAW
_CLOCK_UPTIME_RAW_APPROX = 9,
_CLOCK_PROCESS_CPUTIME_ID = 12,
_CLOCK_THREAD_CPUTIME_ID = 16
} orvane_darwin_clockid_t;

// include/time.h (Libc), with clockid_t renamed as said above
__uint64_t clock_gettime_nsec_np(orvane_darwin_clockid_t __clock_id);

#ifdef __cplusplus
}
#endif

#endif
