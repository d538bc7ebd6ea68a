// Apple's <objc/runtime.h>, as far as the Mac sources use it. Copied from objc4's
// runtime/runtime.h, nullability attributes and availability macros left out.
#pragma once

#include <objc/objc.h>

__BEGIN_DECLS
// runtime/runtime.h
Class objc_getClass(const char *name);
__END_DECLS
