#pragma once

// libmdb's header, for the Jet sources of this folder only. glib comes first: libmdb includes it
// inside its extern "C" block, where glib's C++ parts do not compile.
#include <glib.h>
#include <mdbtools.h>
