#include "ServerPasswordDialog.h"

#include <ModalSeam.h>
#include <ResourceLookup.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "res/Resource.h"

QString AskServerPassword(const QString& server) {
    const QString question = AfxLoadString(IDP_SERVER_PASSWORD).arg(server);
    const QString title = AfxLoadString(IDS_SERVER_PASSWORD_TITLE);
    if (ModalSeam::IsEnabled()) {
        const ModalAnswer answer = ModalSeam::Answer({ModalRequest::Kind::Dialog, question, title});
        return answer.result == IDOK ? answer.text : QString();
    }
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    auto* layout = new QFormLayout(&dialog);
    auto* text = new QLabel(question, &dialog);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    layout->addRow(text);
    auto* password = new QLineEdit(&dialog);
    password->setEchoMode(QLineEdit::Password);
    auto* label = new QLabel(AfxLoadString(IDS_SERVER_PASSWORD_LABEL), &dialog);
    label->setBuddy(password);
    layout->addRow(label, password);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    password->setFocus();
    // Wide enough for a server's name on one line, as the other dialogs are for their texts.
    dialog.setMinimumWidth(dialog.fontMetrics().averageCharWidth() * 60);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    const QString typed = password->text();
    password->clear();
    return accepted ? typed : QString();
}
