#include "AfxMessageBox.h"

#include <CDaoException.h>

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "AfxRes.h"
#include "DialogHelp.h"
#include "DialogWindow.h"
#include "ModalSeam.h"
#include "ResourceLookup.h"

namespace {

QMessageBox::Icon IconFor(unsigned type) {
    switch (type & 0xF0) {
        case MB_ICONSTOP:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

int RunMessageBox(const QString& text, unsigned type, const QString& caption,
                  const QString& details, QWidget* parent, unsigned nIDHelp) {
    QMessageBox box(IconFor(type), caption, text, QMessageBox::NoButton, parent);
    AfxMakeDialogWindow(&box, parent);
    AfxEnableDialogHelp(&box, nIDHelp);
    box.setDetailedText(details);
    const bool secondDefault = (type & MB_DEFBUTTON2) != 0;
    switch (type & 0x0F) {
        case MB_YESNO:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(secondDefault ? QMessageBox::No : QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::No);
            break;
        case MB_OKCANCEL:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(secondDefault ? QMessageBox::Cancel : QMessageBox::Ok);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            break;
    }
    // A message that follows a failed command must not wait behind a wait cursor.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    const int button = box.exec();
    if (waiting) {
        QApplication::restoreOverrideCursor();
    }
    switch (button) {
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        case QMessageBox::Cancel:
            return IDCANCEL;
        default:
            return IDOK;
    }
}

}  // namespace

namespace {

int ShowMessageBox(const QString& text, unsigned type, const QString& caption,
                   const QString& details, QWidget* parent, unsigned nIDHelp) {
    const QString title = caption.isEmpty() ? AfxLoadString(AFX_IDS_APP_TITLE) : caption;
    if (ModalSeam::IsEnabled()) {
        return ModalSeam::Answer(
                   {ModalRequest::Kind::MessageBox, text, title, type, nIDHelp, details})
            .result;
    }
    return RunMessageBox(text, type, title, details, parent, nIDHelp);
}

}  // namespace

int AfxMessageBox(const QString& text, unsigned type, const QString& caption, QWidget* parent) {
    return ShowMessageBox(text, type, caption, {}, parent, 0);
}

int AfxMessageBoxWithDetails(const QString& text, const QString& details, unsigned type,
                             const QString& caption, QWidget* parent) {
    return ShowMessageBox(text, type, caption, details, parent, 0);
}

int AfxMessageBox(unsigned stringId, unsigned type) {
    return AfxMessageBox(AfxLoadString(stringId), type);
}

int AfxMessageBox(const QString& text, unsigned type, unsigned nIDHelp) {
    return ShowMessageBox(text, type, {}, {}, nullptr, nIDHelp);
}

unsigned AfxDaoErrorTextId(const CDaoException& e) {
    const auto code = static_cast<unsigned>(e.GetErrorCode());
    for (const unsigned id :
         {AFX_IDP_DAO_EXTENDED_FIRST + code, AFX_IDP_DAO_FIRST + (code & 0xFF)}) {
        if (!AfxLoadString(id).isEmpty()) {
            return id;
        }
    }
    return AFX_IDP_DAO_GENERIC;
}

QString AfxDaoErrorText(const CDaoException& e) {
    return AfxLoadString(AfxDaoErrorTextId(e));
}

QString AfxSystemErrorText(int errnoValue) {
    const QString text = AfxLoadString(AFX_IDS_ERRNO_FIRST + static_cast<unsigned>(errnoValue));
    return text.isEmpty() ? AfxLoadString(AFX_IDS_ERRNO_OTHER).arg(errnoValue) : text;
}

void AfxReportDaoException(const CDaoException& e) {
    // SQLite's own words are English; they go to the log for whoever looks into it.
    std::fprintf(stderr, "%s\n", e.GetErrorMessage().c_str());
    AfxMessageBox(AfxDaoErrorText(e), MB_OK | MB_ICONEXCLAMATION, AfxDaoErrorTextId(e));
}
