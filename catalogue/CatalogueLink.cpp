#include "CatalogueLink.h"

#include <CDaoDatabase.h>

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

// libpq's reading decides, since it decodes what a text check would miss (%70assword); the text
// check stays for a line that libpq cannot read, and so would report with its text.
bool NamesPassword(const QString& connection) {
    if (CDaoDatabase::HoldsPassword(connection.toStdString())) {
        return true;
    }
    const QString decoded = QUrl::fromPercentEncoding(connection.toUtf8());
    if (decoded.contains(QStringLiteral("password"), Qt::CaseInsensitive)) {
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
    const std::string withoutPassword = CDaoDatabase::WithoutPassword(connection.toStdString());
    return QLatin1String(kMarker) + QLatin1Char('\n') + QString::fromStdString(withoutPassword) +
           QLatin1Char('\n');
}
