// Apple's <mach/mach.h>, as far as the Mac sources use it (see mach/mach_types.h here for what
// this check proves and what it does not). Apple's mach.h gathers the Mach types, the task's
// own ports (mach_init.h), the kernel page size (vm_page_size.h) and the MIG-generated calls
// (mach_interface.h: mach_port.h, vm_map.h, mach_host.h ...); each declaration below is copied
// token for token from the header named above it.
#pragma once

#include <mach/mach_types.h>
#include <mach/processor_info.h>
#include <mach/mach_host.h>

// osfmk/mach/vm_statistics.h
struct vm_statistics64 {
	natural_t       free_count;             /* # of pages free */
	natural_t       active_count;           /* # of pages active */
	natural_t       inactive_count;         /* # of pages inactive */
	natural_t       wire_count;             /* # of pages wired down */
	uint64_t        zero_fill_count;        /* # of zero fill pages */
	uint64_t        reactivations;          /* # of pages reactivated */
	uint64_t        pageins;                /* # of pageins */
	uint64_t        pageouts;               /* # of pageouts */
	uint64_t        faults;                 /* # of faults */
	uint64_t        cow_faults;             /* # of copy-on-writes */
	uint64_t        lookups;                /* object cache lookups */
	uint64_t        hits;                   /* object cache hits */
	uint64_t        purges;                 /* # of pages purged */
	natural_t       purgeable_count;        /* # of pages purgeable */
	natural_t       speculative_count;      /* # of pages speculative */

	/* added for rev1 */
	uint64_t        decompressions;         /* # of pages decompressed */
	uint64_t        compressions;           /* # of pages compressed */
	uint64_t        swapins;                /* # of pages swapped in (via compression segments) */
	uint64_t        swapouts;               /* # of pages swapped out (via compression segments) */
	natural_t       compressor_page_count;  /* # of pages used by the compressed pager to hold all the compressed data */
	natural_t       throttled_count;        /* # of pages throttled */
	natural_t       external_page_count;    /* # of pages that are file-backed (non-swap) */
	natural_t       internal_page_count;    /* # of pages that are anonymous */
	uint64_t        total_uncompressed_pages_in_compressor; /* # of pages (uncompressed) held within the compressor. */
} __attribute__((aligned(8)));

typedef struct vm_statistics64  vm_statistics64_data_t;

// osfmk/mach/host_info.h
#define HOST_VM_INFO64          4       /* 64-bit virtual memory stats */
#define HOST_VM_INFO64_COUNT ((mach_msg_type_number_t) \
	        (sizeof(vm_statistics64_data_t)/sizeof(integer_t)))

__BEGIN_DECLS

// libsyscall/mach/mach/mach_init.h
extern mach_port_t mach_host_self(void);

extern mach_port_t      mach_task_self_;
#define mach_task_self() mach_task_self_

// libsyscall/mach/mach/vm_page_size.h (its availability attribute,
// __OSX_AVAILABLE_STARTING(__MAC_10_9, __IPHONE_7_0), is left out: availability is not checked)
extern  vm_size_t       vm_kernel_page_size;

// osfmk/mach/mach_port.defs, generated into <mach/mach_port.h> (see mach/mach_host.h here
// for how MIG turns a routine into a prototype):
//   routine mach_port_deallocate(
//           task  : ipc_space_t;
//           name  : mach_port_name_t);
extern kern_return_t mach_port_deallocate(ipc_space_t task, mach_port_name_t name);

// osfmk/mach/vm_map.defs, generated into <mach/vm_map.h> with -DLIBSYSCALL_INTERFACE, under
// which PREFIX(vm_deallocate) is plain vm_deallocate:
//   routine PREFIX(vm_deallocate)(
//           target_task : vm_task_entry_t;
//           address     : vm_address_t;
//           size        : vm_size_t);
// vm_task_entry_t is declared in osfmk/mach/mach_types.defs with "cusertype: vm_map_t", so the
// user-side prototype takes a vm_map_t.
extern kern_return_t vm_deallocate(vm_map_t target_task, vm_address_t address, vm_size_t size);

__END_DECLS
