#pragma once

#include <cstddef>
#include <span>

// Resource tables as an application hands them to the framework: plain data, looked up by number.
// Texts are UTF-8.

struct MenuItem {
    unsigned id = 0;  // command; 0 with no text is a separator
    const char* text = nullptr;
    std::span<const MenuItem> popup = {};
    bool grayed = false;

    bool IsSeparator() const { return id == 0 && text == nullptr; }
    bool IsPopup() const { return !popup.empty(); }
};

struct MenuResource {
    unsigned id;
    std::span<const MenuItem> bar;
};

// One accelerator: flags (FVIRTKEY, FSHIFT, FCONTROL, FALT, ...), virtual-key code, command.
struct AcceleratorEntry {
    unsigned flags;
    unsigned key;
    unsigned command;
};

struct AcceleratorResource {
    unsigned id;
    std::span<const AcceleratorEntry> entries;
};

struct StringResource {
    unsigned id;
    const char* text;
};

// A control of a dialog template; positions and sizes in dialog units.
struct DialogItem {
    const char* windowClass;  // "EDIT", "BUTTON" or "STATIC"
    unsigned id;
    const char* text;
    int x, y, cx, cy;
    unsigned style;
};

struct DialogResource {
    unsigned id;
    const char* caption;
    int cx, cy;
    unsigned style;
    const char* fontName;
    int pointSize;
    std::span<const DialogItem> items;
};

// Buttons of a tool bar: command numbers, 0 for a separator; the images are tiles of the bitmap
// of the same number, one per button in button order.
struct ToolBarResource {
    unsigned id;
    int buttonWidth, buttonHeight;
    std::span<const unsigned> buttons;
};

// An image shipped with the application, as a Qt resource path: a bitmap's file (with an
// "@2x" variant beside it for dense screens), or an icon's path without "-16.png" / "-32.png".
struct ImageResource {
    unsigned id;
    const char* path;
};

// The help page (a path below the help folder, with an optional #anchor) for a window, dialog,
// control or command number.
struct HelpTopic {
    unsigned id;
    const char* page;
};

struct ResourceTables {
    std::span<const MenuResource> menus;
    std::span<const AcceleratorResource> accelerators;
    std::span<const StringResource> strings;
    std::span<const DialogResource> dialogs;
    std::span<const ToolBarResource> toolBars;
    std::span<const ImageResource> bitmaps;
    std::span<const ImageResource> icons;
    const char* version;     // the program's version, "1.2.3.4"
    const char* helpFolder;  // Qt resource folder of the help pages; its index.html is the contents
    std::span<const HelpTopic> helpTopics;
};
