// Apple's <mach/processor_info.h>, as far as the Mac sources use it (see mach/mach_types.h
// here for what this check proves and what it does not). Each declaration is copied token for
// token from the XNU header named above it.
#pragma once

#include <mach/mach_types.h>

// osfmk/mach/machine.h (which Apple's processor_info.h includes)
#define CPU_STATE_MAX           4

#define CPU_STATE_USER          0
#define CPU_STATE_SYSTEM        1
#define CPU_STATE_IDLE          2
#define CPU_STATE_NICE          3

// osfmk/mach/processor_info.h
typedef integer_t       *processor_info_array_t;  /* varying array of int */

typedef int     processor_flavor_t;
#define PROCESSOR_CPU_LOAD_INFO 2       /* cpu load information */
