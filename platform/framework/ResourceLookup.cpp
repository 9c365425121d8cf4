#include "ResourceLookup.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

const ResourceTables* s_pTables = nullptr;

template <class T>
const T* FindById(std::span<const T> table, unsigned id) {
    auto it = std::find_if(table.begin(), table.end(), [id](const T& r) { return r.id == id; });
    return it == table.end() ? nullptr : &*it;
}

template <class T>
std::span<const T> Table(std::span<const T> ResourceTables::*member) {
    return s_pTables ? s_pTables->*member : std::span<const T>{};
}

}  // namespace

void AfxSetResourceTables(const ResourceTables* tables) {
    s_pTables = tables;
    if (tables && tables->version) {
        QCoreApplication::setApplicationVersion(QString::fromUtf8(tables->version));
    }
}

QString AfxLoadString(unsigned id) {
    const StringResource* s = FindById(Table(&ResourceTables::strings), id);
    return s ? QString::fromUtf8(s->text) : QString();
}

const MenuResource* AfxFindMenu(unsigned id) {
    return FindById(Table(&ResourceTables::menus), id);
}

const AcceleratorResource* AfxFindAccelerators(unsigned id) {
    return FindById(Table(&ResourceTables::accelerators), id);
}

const DialogResource* AfxFindDialog(unsigned id) {
    return FindById(Table(&ResourceTables::dialogs), id);
}

const ToolBarResource* AfxFindToolBar(unsigned id) {
    return FindById(Table(&ResourceTables::toolBars), id);
}

QPixmap AfxLoadBitmap(unsigned id) {
    const ImageResource* r = FindById(Table(&ResourceTables::bitmaps), id);
    return r ? QPixmap(QString::fromUtf8(r->path)) : QPixmap();
}

QIcon AfxLoadIcon(unsigned id) {
    const ImageResource* r = FindById(Table(&ResourceTables::icons), id);
    return r ? QIcon(QString::fromUtf8(r->path)) : QIcon();
}
