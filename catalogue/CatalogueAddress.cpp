#include "CatalogueAddress.h"

#include <AfxMessageBox.h>
#include <CDaoDatabase.h>
#include <CDaoException.h>
#include <DaoErrorCode.h>
#include <ResourceLookup.h>

#include <QDir>
#include <QFileInfo>

#include "catalogue/CatalogueLink.h"
#include "res/Resource.h"

CatalogueAddress CatalogueAddress::Resolve(const QString& argument) {
    CatalogueAddress address;
    address.m_strArgument = argument;
    address.m_connection = argument.toStdString();
    // A file of that name is what the user means, even one whose name libpq could also read.
    if (!QFileInfo(argument).isFile()) {
        address.m_bServer = CDaoDatabase::IsServerPath(address.m_connection);
        return address;
    }
    const CatalogueLink link = CatalogueLink::Read(argument);
    switch (link.GetKind()) {
        case CatalogueLink::Kind::NotALink:
            break;
        case CatalogueLink::Kind::Server:
            address.m_bServer = true;
            address.m_connection = link.GetConnection().toStdString();
            break;
        case CatalogueLink::Kind::NoServer:
            address.m_strError = AfxLoadString(IDP_LINK_WITHOUT_SERVER);
            break;
        case CatalogueLink::Kind::HasPassword:
            address.m_strError = AfxLoadString(IDP_LINK_WITH_PASSWORD);
            break;
    }
    return address;
}

bool CatalogueAddress::HoldsPassword() const {
    return m_bServer && CDaoDatabase::HoldsPassword(m_connection);
}

QString CatalogueAddress::ShownConnection() const {
    if (!m_bServer) {
        return {};
    }
    // As written, unless that would show a password.
    return QString::fromStdString(HoldsPassword() ? CDaoDatabase::WithoutPassword(m_connection)
                                                  : m_connection);
}

QString CatalogueAddress::Shown() const {
    // A link's argument is its file; only an address given directly is a connection.
    if (m_bServer && CDaoDatabase::IsServerPath(m_strArgument.toStdString())) {
        return ShownConnection();
    }
    return QDir::toNativeSeparators(m_strArgument);
}

QString CatalogueAddress::ServerName() const {
    return m_bServer ? QString::fromStdString(CDaoDatabase::ServerName(m_connection)) : QString();
}

QString CatalogueAddress::Caption() const {
    if (!m_bServer) {
        return m_strArgument;
    }
    std::string user;
    const QString server = QString::fromStdString(CDaoDatabase::ServerName(m_connection, &user));
    return user.empty() ? server
                        : QStringLiteral("%1 (%2)").arg(server, QString::fromStdString(user));
}

QString CatalogueAddress::FailureText(const CDaoException& e) const {
    if (m_bServer) {
        switch (e.GetErrorCode()) {
            case DaoErrorCode::kRefused:
                return AfxLoadString(IDP_SERVER_REFUSED).arg(ServerName());
            case DaoErrorCode::kUnknownHost:
                return AfxLoadString(IDP_SERVER_UNKNOWN_HOST).arg(ServerName());
            case DaoErrorCode::kCertificate:
                return AfxLoadString(IDP_SERVER_CERTIFICATE).arg(ServerName());
            case DaoErrorCode::kTimeout:
                return AfxLoadString(IDP_SERVER_TIMEOUT).arg(ServerName());
            default:
                break;
        }
        switch (e.GetErrorCode() & 0xFF) {
            case DaoErrorCode::kAuth:
                return AfxLoadString(IDP_SERVER_LOGIN_FAILED).arg(ServerName());
            case DaoErrorCode::kCantOpen:
            case DaoErrorCode::kIoError:
                return AfxLoadString(IDP_SERVER_UNREACHABLE).arg(ServerName());
            default:
                break;
        }
    }
    return AfxDaoErrorText(e);
}
