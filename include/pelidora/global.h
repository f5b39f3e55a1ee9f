#pragma once

#include <QtCore/qglobal.h>

#if defined(PELIDORA_BUILDING_LIBRARY)
#  define PELIDORA_EXPORT Q_DECL_EXPORT
#else
#  define PELIDORA_EXPORT Q_DECL_IMPORT
#endif
