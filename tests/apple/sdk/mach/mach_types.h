// Apple's Mach types, as far as the Mac sources (service/platform/mac/MacSystemSource.cpp,
// the __APPLE__ parts of service/Shell.cpp) use them, for the syntax check run by
// tests/apple/check-apple-sources on a machine that is not a Mac.
//
// Every declaration below is copied token for token from Apple's open-source XNU headers
// (the user-space branch, the one an application compiles against); the comment above each
// names the header. Where XNU has one header per architecture, the x86_64 one is copied,
// since the check runs on an x86_64 host; for the types used here arm64 declares the same
// (osfmk/mach/arm/vm_types.h for LP64), except boolean_t, noted below.
//
// This proves names and types, not availability: nothing here says that a Mac has these
// symbols, in which macOS release they appeared, or what they do at run time.
#pragma once

#include <stdint.h>     // the host's uint64_t and uintptr_t (Apple's come from its own stdint.h)
#include <sys/cdefs.h>  // the host's __BEGIN_DECLS / __END_DECLS

// bsd/i386/_types.h
typedef unsigned int            __darwin_natural_t;

// bsd/sys/_types.h
typedef __darwin_natural_t __darwin_mach_port_name_t; /* Used by mach */
typedef __darwin_mach_port_name_t __darwin_mach_port_t; /* Used by mach */

// bsd/sys/_types/_mach_port_t.h
typedef __darwin_mach_port_t mach_port_t;

// osfmk/mach/i386/vm_types.h
typedef __darwin_natural_t      natural_t;
typedef int                     integer_t;
// osfmk/mach/i386/vm_types.h (#ifdef __LP64__; the trailing __kernel_ptr_semantics, a macro
// of Apple's sys/cdefs.h that the host does not have, is left out)
typedef uintptr_t               vm_offset_t;
typedef uintptr_t               vm_size_t;

// osfmk/mach/i386/boolean.h (#if defined(__x86_64__); osfmk/mach/arm/boolean.h has int)
typedef unsigned int    boolean_t;

// osfmk/mach/i386/kern_return.h
typedef int             kern_return_t;

// osfmk/mach/kern_return.h
#define KERN_SUCCESS                    0

// osfmk/mach/port.h
typedef natural_t mach_port_name_t;

// osfmk/mach/message.h
typedef natural_t mach_msg_type_number_t;

// osfmk/mach/vm_types.h (__kernel_ptr_semantics left out, as above)
typedef vm_offset_t             vm_address_t;
// osfmk/mach/vm_types.h (#else /* KERNEL_PRIVATE */)
typedef mach_port_t             vm_map_t, vm_map_read_t, vm_map_inspect_t;

// osfmk/mach/mach_types.h (#else /* KERNEL */: "represented by ports at user-space")
typedef mach_port_t             ipc_space_t;
typedef mach_port_t             host_t;

// osfmk/mach/host_info.h
typedef integer_t       *host_info64_t;         /* varying array of int. */
typedef integer_t       host_flavor_t;
