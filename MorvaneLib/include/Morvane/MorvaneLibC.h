/* The library's interface under plain C names, for programs that load it with dlopen.
 *
 * The functions behave as those of MorvaneLib.h; a null text counts as the empty text. */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

uint32_t funcLib(void);
uint32_t funcMorvaneLib(const char* description, const char* message, const char* problemTime,
                        int unattended);
uint32_t runFileCollection(const char* description);
/* text must hold 255 bytes: the description, at most 254 bytes, and its NUL. A null text
 * receives nothing. */
int getFileCollectionStatus(uint32_t runId, char* text);
double GetSizeMorvaneLib(const char* rule);

#ifdef __cplusplus
}
#endif
