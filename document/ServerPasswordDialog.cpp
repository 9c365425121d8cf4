#include "ServerPasswordDialog.h"

#include <DialogHelp.h>
#include <DialogWindow.h>
#include <ModalSeam.h>
#include <ResourceLookup.h>

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "res/Resource.h"

namespace {

QString Question(const QString& address, int attempt) {
    QString question = AfxLoadString(IDP_SERVER_PASSWORD).arg(address);
    if (attempt > 1) {
        question += QStringLiteral("\n\n") +
                    AfxLoadString(IDP_SERVER_PASSWORD_AGAIN).arg(attempt).arg(kServerLoginAttempts);
    }
    return question;
}

}  // namespace

std::optional<ServerLogin> AskServerLogin(const QString& address, const QString& user,
                                          int attempt) {
    const QString question = Question(address, attempt);
    QDialog dialog;
    AfxMakeDialogWindow(&dialog);
    dialog.setWindowTitle(AfxLoadString(IDS_SERVER_PASSWORD_TITLE));
    AfxEnableDialogHelp(&dialog, IDH_SERVER_PASSWORD);
    auto* layout = new QFormLayout(&dialog);
    auto* text = new QLabel(question, &dialog);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    layout->addRow(text);
    auto* name = new QLineEdit(user, &dialog);
    name->setObjectName(QStringLiteral("user"));
    auto* nameLabel = new QLabel(AfxLoadString(IDS_SERVER_USER_LABEL), &dialog);
    nameLabel->setBuddy(name);
    layout->addRow(nameLabel, name);
    auto* password = new QLineEdit(&dialog);
    password->setObjectName(QStringLiteral("password"));
    password->setEchoMode(QLineEdit::Password);
    auto* passwordLabel = new QLabel(AfxLoadString(IDS_SERVER_PASSWORD_LABEL), &dialog);
    passwordLabel->setBuddy(password);
    layout->addRow(passwordLabel, password);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    // Also after a refusal the keys go to the password: typed into a selected user name, as a
    // user who retypes at once would, it would replace the name. The name is a Shift+Tab away.
    password->setFocus();
    // Wide enough for a server's address on one line, up to a readable width, and as high as
    // its wrapped text needs: no empty band below the buttons, and no frame to maximize.
    const int averageChar = dialog.fontMetrics().averageCharWidth();
    const int firstLine = dialog.fontMetrics().horizontalAdvance(question.section('\n', 0, 0));
    text->setMinimumWidth(std::clamp(firstLine + averageChar, averageChar * 56, averageChar * 90));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    bool accepted = false;
    if (ModalSeam::IsEnabled()) {
        const ModalAnswer answer = ModalSeam::Answer(
            {ModalRequest::Kind::Dialog, question, dialog.windowTitle(), 0, IDH_SERVER_PASSWORD});
        if (answer.fill) {
            answer.fill(&dialog);
        }
        if (!answer.text.isNull()) {
            password->setText(answer.text);
        }
        accepted = answer.result == IDOK;
    } else {
        accepted = dialog.exec() == QDialog::Accepted;
    }
    ServerLogin login{name->text().trimmed(), password->text()};
    password->clear();
    if (!accepted || login.password.isEmpty()) {
        return std::nullopt;
    }
    return login;
}
