#pragma once
// The version data ("Name=value" lines) that the build generates from the project version.

const char* CompiledVersionText();
