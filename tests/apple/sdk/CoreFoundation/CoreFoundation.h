// Apple's <CoreFoundation/CoreFoundation.h> as far as the Mac sources use it (what this proves:
// mach/mach_types.h here), copied from the macOS SDK headers named above each part, for LP64;
// Apple's attribute macros left out, CF_ENUM written as the C++ enum it declares (values used).
#pragma once

#include <sys/cdefs.h>

__BEGIN_DECLS
// MacTypes.h
typedef unsigned char                   Boolean;
typedef unsigned int                    UInt32;
// CFBase.h
typedef unsigned long CFTypeID;
typedef signed long CFIndex;
typedef const void * CFTypeRef;
typedef const struct __CFString * CFStringRef;
typedef const struct __CFAllocator * CFAllocatorRef;
extern const CFAllocatorRef kCFAllocatorDefault;
CFTypeID CFGetTypeID(CFTypeRef cf);
void CFRelease(CFTypeRef cf);
// CFNumber.h
typedef const struct __CFBoolean * CFBooleanRef;
CFTypeID CFBooleanGetTypeID(void);
Boolean CFBooleanGetValue(CFBooleanRef boolean);
enum CFNumberType : CFIndex { kCFNumberSInt64Type = 4, kCFNumberDoubleType = 13 };
typedef const struct __CFNumber * CFNumberRef;
CFTypeID CFNumberGetTypeID(void);
Boolean CFNumberIsFloatType(CFNumberRef number);
Boolean CFNumberGetValue(CFNumberRef number, CFNumberType theType, void *valuePtr);
// CFString.h
typedef UInt32 CFStringEncoding;
enum CFStringBuiltInEncodings : CFStringEncoding { kCFStringEncodingUTF8 = 0x08000100 };
CFTypeID CFStringGetTypeID(void);
CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char *cStr, CFStringEncoding encoding);
Boolean CFStringGetCString(CFStringRef theString, char *buffer, CFIndex bufferSize, CFStringEncoding encoding);
// CFDictionary.h
typedef const struct __CFDictionary * CFDictionaryRef;
typedef struct __CFDictionary * CFMutableDictionaryRef;
CFTypeID CFDictionaryGetTypeID(void);
CFIndex CFDictionaryGetCount(CFDictionaryRef theDict);
void CFDictionaryGetKeysAndValues(CFDictionaryRef theDict, const void **keys, const void **values);
__END_DECLS
