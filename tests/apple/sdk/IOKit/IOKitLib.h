// Apple's <IOKit/IOKitLib.h> as far as the Mac sources use it (what this proves:
// mach/mach_types.h here), copied from the macOS SDK's IOKit headers (kIOMainPortDefault: macOS
// 12 on) and XNU's osfmk/device/device_types.h named above each part, for LP64; attributes left out.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <mach/mach_types.h>

__BEGIN_DECLS
// osfmk/device/device_types.h
typedef char                    io_name_t[128];
// IOTypes.h (the user-space branch)
typedef mach_port_t     io_object_t;
typedef io_object_t     io_iterator_t;
typedef io_object_t     io_registry_entry_t;
typedef UInt32          IOOptionBits;
// IOKitLib.h
extern const mach_port_t kIOMainPortDefault;
kern_return_t IOObjectRelease(io_object_t object);
boolean_t IOObjectConformsTo(io_object_t object, const io_name_t className);
io_object_t IOIteratorNext(io_iterator_t iterator);
kern_return_t IOServiceGetMatchingServices(mach_port_t mainPort, CFDictionaryRef matching, io_iterator_t * existing);
kern_return_t IORegistryEntryGetName(io_registry_entry_t entry, io_name_t name);
CFTypeRef IORegistryEntryCreateCFProperty(io_registry_entry_t entry, CFStringRef key, CFAllocatorRef allocator, IOOptionBits options);
kern_return_t IORegistryEntryGetChildIterator(io_registry_entry_t entry, const io_name_t plane, io_iterator_t * iterator);
kern_return_t IORegistryEntryGetParentEntry(io_registry_entry_t entry, const io_name_t plane, io_registry_entry_t * parent);
CFMutableDictionaryRef IOServiceMatching(const char * name);
__END_DECLS
