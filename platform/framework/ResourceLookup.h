#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QUrl>

#include "Resources.h"

// The application's resource tables, set once at start-up; lookups by number.
void AfxSetResourceTables(const ResourceTables* tables);

QString AfxLoadString(unsigned id);  // empty when there is no such string
const MenuResource* AfxFindMenu(unsigned id);
const AcceleratorResource* AfxFindAccelerators(unsigned id);
const DialogResource* AfxFindDialog(unsigned id);
const ToolBarResource* AfxFindToolBar(unsigned id);
// Null when missing. A scale of 2 gives the picture drawn for screens of twice the density.
QPixmap AfxLoadBitmap(unsigned id, int scale = 1);
QIcon AfxLoadIcon(unsigned id);  // null when missing
// The icon's resource path without size and extension ("-16.png", "-32.png", ".svg").
QString AfxIconPath(unsigned id);
// The text that the help mode shows for a command or control: its name in bold, then its prompt.
QString AfxWhatsThisText(unsigned id, const QString& name = {});
// The URL of the help page for a number; empty when it has none. Id 0 gives the contents.
QUrl AfxHelpUrl(unsigned id);
