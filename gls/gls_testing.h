/* Test seams of the gls module: what its tests replace so that they run on folders, registry
   keys and assertion reports of their own. A program never needs these; by default the module
   uses the real system folder, the real registry key and ends the program on a broken precondition. */
#ifndef KX_GLS_TESTING_H
#define KX_GLS_TESTING_H

#include "gls.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Receives "Assertion failed: <expression>, file gls, line <n>". A handler that returns does not
   stop the program from ending; a test's handler throws instead. */
typedef void (*GlsAssertHandler)(const char* pMessage);

/* Installs a handler (null restores the default report) and returns the previous one. */
GlsAssertHandler glsTestSetAssertHandler(GlsAssertHandler handler);

/* Makes detection and loading treat pFolder as the system folder; null restores the real one. */
void glsTestSetSystemFolder(const char* pFolder);

/* Moves the OverrideDispatch value to another key; a null pSubKey restores
   HKEY_LOCAL_MACHINE\Software\Silicon Graphics\OpenGL. */
void glsTestSetRegistryKey(HKEY hRoot, const char* pSubKey);

/* Unloads (restoring what loading changed) and returns the module to its state at program start:
   no found drivers, options 0, the four forwarding stubs in their slots. */
void glsTestRestoreStartState(void);

#ifdef __cplusplus
}
#endif

#endif
