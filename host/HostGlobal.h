// Export macro shared by the host layer and the runtime library: both are
// compiled into LumitraRLib.
#pragma once

#include <QtCore/qglobal.h>

#if defined(LUMITRA_RLIB_BUILD)
#  define LUMITRA_EXPORT Q_DECL_EXPORT
#elif defined(LUMITRA_RLIB_STATIC)
#  define LUMITRA_EXPORT
#else
#  define LUMITRA_EXPORT Q_DECL_IMPORT
#endif
