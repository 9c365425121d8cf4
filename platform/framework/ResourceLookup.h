#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

#include "Resources.h"

// The application's resource tables, set once at start-up; lookups by number.
void AfxSetResourceTables(const ResourceTables* tables);

QString AfxLoadString(unsigned id);  // empty when there is no such string
const MenuResource* AfxFindMenu(unsigned id);
const AcceleratorResource* AfxFindAccelerators(unsigned id);
const DialogResource* AfxFindDialog(unsigned id);
const ToolBarResource* AfxFindToolBar(unsigned id);
QPixmap AfxLoadBitmap(unsigned id);  // null when missing
QIcon AfxLoadIcon(unsigned id);      // null when missing
