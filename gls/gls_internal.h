// What the two halves of the gls module share and keep to themselves.
#pragma once

#include "gls.h"

#include <cstddef>

// Ends the program with "Assertion failed: <expression>, file gls, line <n>".
#define GLS_ASSERT(expression) ((expression) ? (void)0 : glsAssertFailed(#expression, __LINE__))
[[noreturn]] void glsAssertFailed(const char* pExpression, int line);

// The system folder as a full path without a trailing separator; false when it cannot be had.
bool glsGetSystemFolder(char (&folder)[GLS_PATH_SIZE]);

// Where loading keeps the OverrideDispatch value.
HKEY glsOpenGLRegistryRoot();
const char* glsOpenGLRegistryKey();
