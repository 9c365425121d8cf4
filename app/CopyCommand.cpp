#include "app/CopyCommand.h"

#include <ResourceLookup.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

#include "catalogue/CatalogueCopy.h"
#include "catalogue/CatalogueLink.h"
#include "catalogue/OldCatalogue.h"
#include "res/Resource.h"

namespace {

void Say(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

int RunCopyCommand(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    AfxSetResourceTables(&PeriolexResources());
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    arguments.removeAll(QStringLiteral("--copy"));
    const bool overwrite = arguments.removeAll(QStringLiteral("--overwrite")) > 0;
    const auto valueOf = [&arguments](const QString& option, bool& given) {
        const qsizetype at = arguments.indexOf(option);
        given = at >= 0;
        if (!given || at + 1 >= arguments.size()) {
            return QString();
        }
        const QString value = arguments.takeAt(at + 1);
        arguments.removeAt(at);
        return value;
    };
    bool linkGiven = false;
    bool tableGiven = false;
    const QString link = valueOf(QStringLiteral("--link"), linkGiven);
    const QString table = valueOf(QStringLiteral("--table"), tableGiven);
    if (arguments.size() != 2 || (linkGiven && link.isEmpty()) || (tableGiven && table.isEmpty())) {
        Say(AfxLoadString(IDP_COPY_USAGE));
        return 2;
    }
    const QString target = arguments[1];
    if (!link.isEmpty() && QFileInfo(link).size() > 0 && !overwrite) {
        Say(AfxLoadString(IDP_COPY_TARGET_NOT_EMPTY).arg(link));
        return 1;
    }
    if (OldCatalogue::Recognises(arguments[0])) {
        if (const QString warning = OldCatalogue::InUseWarning(arguments[0]); !warning.isEmpty()) {
            Say(QStringLiteral("Warnung: ") + warning);
        }
    }
    CatalogueCopy copy(arguments[0], target, overwrite);
    copy.SetSourceTable(table);
    const long copied = copy.Run([](long done, long total) {
        std::fprintf(
            stderr, "\r%s",
            AfxLoadString(IDP_COPY_PROGRESS).arg(done).arg(total).toLocal8Bit().constData());
    });
    if (copied < 0) {
        Say(AfxLoadString(IDP_COPY_FAILED).arg(target, copy.GetError()));
        return 1;
    }
    if (!link.isEmpty()) {
        QFile file(link);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(CatalogueLink::Text(target).toUtf8()) < 0) {
            Say(AfxLoadString(IDP_COPY_FAILED).arg(link, file.errorString()));
            return 1;
        }
    }
    Say(AfxLoadString(IDP_COPY_DONE).arg(copied).arg(target));
    return 0;
}
