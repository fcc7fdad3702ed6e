#pragma once
// The version data compiled into the program as a Qt resource.

#include "platform/VersionData.h"

// Empty when the program carries none.
VersionData CompiledVersionData();
