// Apple's Objective-C runtime types, as far as the Mac sources use them (see
// mach/mach_types.h here for what this check proves and what it does not). Copied from
// objc4's runtime/objc.h, nullability attributes and availability macros left out.
#pragma once

#include <sys/cdefs.h>

// runtime/objc.h
typedef struct objc_class *Class;
typedef struct objc_object *id;
typedef struct objc_selector *SEL;

__BEGIN_DECLS
// runtime/objc.h
SEL sel_registerName(const char *str);
__END_DECLS
