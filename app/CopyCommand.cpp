#include "app/CopyCommand.h"

#include <ResourceLookup.h>

#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "catalogue/CatalogueAddress.h"
#include "catalogue/CatalogueCopy.h"
#include "catalogue/CatalogueLink.h"
#include "catalogue/OldCatalogue.h"
#include "res/Resource.h"

namespace {

void Say(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

int RunCopyCommand(const QString& source, const QString& target, const QString& link,
                   const QString& table, bool overwrite) {
    const CatalogueAddress address = CatalogueAddress::Resolve(target);
    const QString shownTarget = address.Shown();
    if (!link.isEmpty() && !address.IsServer()) {
        Say(AfxLoadString(IDP_COPY_LINK_NEEDS_SERVER).arg(shownTarget));
        return 1;
    }
    if (!link.isEmpty() && QFileInfo(link).size() > 0 && !overwrite) {
        Say(AfxLoadString(IDP_COPY_TARGET_NOT_EMPTY).arg(link));
        return 1;
    }
    if (OldCatalogue::Recognises(source)) {
        if (const QString warning = OldCatalogue::InUseWarning(source); !warning.isEmpty()) {
            Say(QStringLiteral("Warnung: ") + warning);
        }
    }
    CatalogueCopy copy(source, target, overwrite);
    copy.SetSourceTable(table);
    const long copied = copy.Run([](long done, long total) {
        std::fprintf(
            stderr, "\r%s",
            AfxLoadString(IDP_COPY_PROGRESS).arg(done).arg(total).toLocal8Bit().constData());
    });
    if (copied < 0) {
        Say(AfxLoadString(IDP_COPY_FAILED).arg(shownTarget, copy.GetError()));
        return 1;
    }
    if (!link.isEmpty()) {
        if (address.HoldsPassword()) {
            Say(AfxLoadString(IDP_COPY_LINK_WITHOUT_PASSWORD));
        }
        QFile file(link);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(
                CatalogueLink::Text(QString::fromStdString(address.GetConnection())).toUtf8()) <
                0) {
            Say(AfxLoadString(IDP_COPY_FAILED).arg(link, file.errorString()));
            return 1;
        }
    }
    Say(AfxLoadString(IDP_COPY_DONE).arg(copied).arg(shownTarget));
    return 0;
}
