#pragma once
// Resource ids shared by the resource scripts and the code that loads them.

// The version resource: its fixed file version is the plug-in's own version.
#define SABLA_VERSION_RESOURCE 1

// Interface texts live in the string table between these ids (inclusive); an id inside the
// range without a text loads as empty.
#define SABLA_FIRST_STRING_ID 40000
#define SABLA_LAST_STRING_ID 40069
