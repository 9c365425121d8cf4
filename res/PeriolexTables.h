#pragma once

#include <Resources.h>

// The tables that make up the program's resources, one file each.
std::span<const MenuResource> PeriolexMenus();
std::span<const AcceleratorResource> PeriolexAccelerators();
std::span<const ToolBarResource> PeriolexToolBars();
std::span<const StringResource> PeriolexStrings();
std::span<const DialogResource> PeriolexDialogs();
std::span<const HelpTopic> PeriolexHelpTopics();
