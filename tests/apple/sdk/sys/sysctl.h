// Apple's <sys/sysctl.h>, as far as the Mac sources use it (see mach/mach_types.h here for what
// this check proves and what it does not). Each declaration is copied token for token from
// XNU's bsd/sys/sysctl.h.
#pragma once

#include <stddef.h>           // size_t
#include <sys/types.h>        // the host's u_int64_t and u_int32_t; see below
#include <mach/mach_types.h>  // boolean_t

// bsd/sys/sysctl.h. Its field types come from bsd/sys/_types/_u_int64_t.h
// ("typedef unsigned long long u_int64_t;") and bsd/sys/_types/_u_int32_t.h
// ("typedef unsigned int u_int32_t;"). The host's <sys/types.h> has already declared
// u_int64_t as unsigned long, which is also 64 bits wide but a different type, so the host's
// is used: the fields' widths are Apple's, their exact spelling is not checked.
struct xsw_usage {
	u_int64_t       xsu_total;
	u_int64_t       xsu_avail;
	u_int64_t       xsu_used;
	u_int32_t       xsu_pagesize;
	boolean_t       xsu_encrypted;
};

__BEGIN_DECLS
// bsd/sys/sysctl.h (#else /* !KERNEL */)
int     sysctlbyname(const char *, void *, size_t *, void *, size_t);
__END_DECLS
