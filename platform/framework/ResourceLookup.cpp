#include "ResourceLookup.h"

#include <QCoreApplication>
#include <QFile>
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

QPixmap AfxLoadBitmap(unsigned id, int scale) {
    const ImageResource* r = FindById(Table(&ResourceTables::bitmaps), id);
    if (!r) {
        return {};
    }
    QString path = QString::fromUtf8(r->path);
    if (scale > 1) {
        path.insert(path.lastIndexOf(QLatin1Char('.')), QStringLiteral("@%1x").arg(scale));
    }
    QPixmap bitmap(path);
    bitmap.setDevicePixelRatio(scale);
    return bitmap;
}

QString AfxIconPath(unsigned id) {
    const ImageResource* r = FindById(Table(&ResourceTables::icons), id);
    return r ? QString::fromUtf8(r->path) : QString();
}

QIcon AfxLoadIcon(unsigned id) {
    const ImageResource* r = FindById(Table(&ResourceTables::icons), id);
    if (!r) {
        return {};
    }
    // The icon comes in several sizes; Qt picks the one that fits.
    QIcon icon;
    const QString base = QString::fromUtf8(r->path);
    for (const char* size : {"-16.png", "-32.png"}) {
        if (QFile::exists(base + QLatin1String(size))) {
            icon.addFile(base + QLatin1String(size));
        }
    }
    return icon;
}

QUrl AfxHelpUrl(unsigned id) {
    if (!s_pTables || !s_pTables->helpFolder) {
        return {};
    }
    const QString folder =
        QStringLiteral("qrc:") + QString::fromUtf8(s_pTables->helpFolder) + QLatin1Char('/');
    if (id == 0) {
        return QUrl(folder + QStringLiteral("index.html"));
    }
    const HelpTopic* topic = FindById(Table(&ResourceTables::helpTopics), id);
    return topic ? QUrl(folder + QString::fromUtf8(topic->page)) : QUrl();
}

QString AfxWhatsThisText(unsigned id, const QString& name) {
    const QString entry = AfxLoadString(id);
    const qsizetype newline = entry.indexOf(QLatin1Char('\n'));
    const QString prompt = newline < 0 ? entry : entry.left(newline);
    QString title = newline < 0 ? name : entry.mid(newline + 1);
    title = title.left(title.indexOf(QLatin1Char('\t'))).remove(QLatin1Char('&'));
    if (prompt.isEmpty()) {
        return {};
    }
    return title.isEmpty() || title == prompt
               ? prompt.toHtmlEscaped()
               : QStringLiteral("<b>%1</b><br>%2")
                     .arg(title.toHtmlEscaped(), prompt.toHtmlEscaped());
}
