// Apple's <objc/message.h>, as far as the Mac sources use it. Copied from objc4's
// runtime/message.h (the declaration without OBJC_OLD_DISPATCH_PROTOTYPES, which callers cast
// to the method's own type).
#pragma once

#include <objc/objc.h>

__BEGIN_DECLS
// runtime/message.h
void objc_msgSend(void /* id self, SEL op, ... */ );
__END_DECLS
