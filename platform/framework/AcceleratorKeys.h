#pragma once

#include <QKeySequence>

#include "Resources.h"

// The key of an accelerator entry (virtual-key code and Shift/Ctrl/Alt flags) as Qt names it.
QKeySequence AcceleratorKeySequence(const AcceleratorEntry& entry);
