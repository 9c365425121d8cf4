#include "CatalogueLink.h"

#include <QFile>
#include <QUrl>
#include <QUrlQuery>

namespace {

// A link is a few lines; anything much longer is some other file.
constexpr qint64 kMaxLinkSize = 64 * 1024;

bool IsServerUri(const QString& text) {
    return text.startsWith(QStringLiteral("postgresql://")) ||
           text.startsWith(QStringLiteral("postgres://"));
}

bool NamesPassword(const QString& connection) {
    if (connection.contains(QStringLiteral("password"), Qt::CaseInsensitive)) {
        return true;
    }
    return IsServerUri(connection) && !QUrl(connection).password().isEmpty();
}

}  // namespace

CatalogueLink CatalogueLink::Read(const QString& path) {
    CatalogueLink link;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxLinkSize) {
        return link;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (lines.isEmpty() || lines.front().trimmed() != QLatin1String(kMarker)) {
        return link;
    }
    link.m_kind = Kind::NoServer;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        if (NamesPassword(line)) {
            link.m_kind = Kind::HasPassword;
        } else if (IsServerUri(line)) {
            link.m_kind = Kind::Server;
            link.m_connection = line;
        } else if (line.startsWith(QStringLiteral("service="))) {
            QUrlQuery query;
            query.addQueryItem(QStringLiteral("service"), line.mid(8));
            link.m_kind = Kind::Server;
            link.m_connection =
                QStringLiteral("postgresql:///?") + query.toString(QUrl::FullyEncoded);
        }
        break;
    }
    return link;
}

QString CatalogueLink::Text(const QString& connection) {
    return QLatin1String(kMarker) + QLatin1Char('\n') + connection + QLatin1Char('\n');
}
