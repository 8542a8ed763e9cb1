/* Zeb API: capability queries. */
#ifndef ZEB_PROPERTY_H
#define ZEB_PROPERTY_H

#include "ZebCommon.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t ZebProperty_Key_t;

#ifdef __cplusplus
}
#endif

#endif
