#include "app/CopyCommand.h"

#include <ResourceLookup.h>

#include <AfxMessageBox.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
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

// Writes the link to `address` into the file `link`; why not, in German, when it cannot.
QString WriteLink(const QString& link, const CatalogueAddress& address) {
    const QDir folder = QFileInfo(link).absoluteDir();
    if (!folder.exists()) {
        return AfxLoadString(IDP_FOLDER_MISSING).arg(QDir::toNativeSeparators(folder.path()));
    }
    QFile file(link);
    const QByteArray text =
        CatalogueLink::Text(QString::fromStdString(address.GetConnection())).toUtf8();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) < 0 ||
        !file.flush()) {
        return AfxSystemErrorText(errno);
    }
    return {};
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
    bool progressShown = false;
    const long copied = copy.Run([&progressShown](long done, long total) {
        std::fprintf(
            stderr, "\r%s",
            AfxLoadString(IDP_COPY_PROGRESS).arg(done).arg(total).toLocal8Bit().constData());
        progressShown = true;
    });
    // The progress line stays, ended, above what follows.
    if (progressShown) {
        std::fputc('\n', stderr);
    }
    if (copied < 0) {
        Say(AfxLoadString(IDP_COPY_FAILED).arg(shownTarget, copy.GetError()));
        if (!copy.GetDetails().isEmpty()) {
            Say(AfxLoadString(IDS_DETAILS).arg(copy.GetDetails()));
        }
        return 1;
    }
    if (!link.isEmpty()) {
        if (address.HoldsPassword()) {
            Say(AfxLoadString(IDP_COPY_LINK_WITHOUT_PASSWORD));
        }
        if (const QString reason = WriteLink(link, address); !reason.isEmpty()) {
            Say(AfxLoadString(IDP_COPY_LINK_FAILED).arg(copied).arg(shownTarget, link, reason));
            return 1;
        }
    }
    Say(AfxLoadString(IDP_COPY_DONE).arg(copied).arg(shownTarget));
    return 0;
}
