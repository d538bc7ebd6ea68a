// Apple's <mach/mach_host.h>, as far as the Mac sources use it (see mach/mach_types.h here for
// what this check proves and what it does not).
//
// Apple generates this header with MIG from osfmk/mach/mach_host.defs (XNU), in
// libsyscall/xcodescripts/mach_install_mig.sh with -DLIBSYSCALL_INTERFACE. Each prototype
// below is the C prototype MIG writes for the routine named above it: every "in" argument
// becomes a parameter of its type; an "out" scalar becomes a pointer to it; an "out" array
// becomes a pointer of the array type for an inline array, or a pointer to one for an
// out-of-line (^array) one, followed by "mach_msg_type_number_t *<name>Cnt".
#pragma once

#include <mach/mach_types.h>
#include <mach/processor_info.h>

__BEGIN_DECLS

// osfmk/mach/mach_host.defs:
//   routine host_statistics64(
//           host_priv       : host_t;
//           flavor          : host_flavor_t;
//       out host_info64_out : host_info64_t, CountInOut);
// (host_info64_t is "array[*:256] of integer_t" in osfmk/mach/mach_types.defs: inline)
extern kern_return_t host_statistics64(host_t host_priv, host_flavor_t flavor,
                                       host_info64_t host_info64_out,
                                       mach_msg_type_number_t *host_info64_outCnt);

// osfmk/mach/mach_host.defs:
//   routine host_processor_info(
//           host                : host_t;
//           flavor              : processor_flavor_t;
//       out out_processor_count : natural_t;
//       out out_processor_info  : processor_info_array_t);
// (processor_info_array_t is "^array[] of integer_t" in osfmk/mach/mach_types.defs:
// out-of-line, so the caller receives a pointer and a count)
extern kern_return_t host_processor_info(host_t host, processor_flavor_t flavor,
                                         natural_t *out_processor_count,
                                         processor_info_array_t *out_processor_info,
                                         mach_msg_type_number_t *out_processor_infoCnt);

__END_DECLS
