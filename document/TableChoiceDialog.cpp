#include "TableChoiceDialog.h"

#include <AfxRes.h>
#include <ModalSeam.h>

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

QString AskTableChoice(const QString& file, const QStringList& tables) {
    const QString question =
        QStringLiteral(
            "„%1“ enthält mehrere Tabellen, und keine ist eindeutig die der Artikel. "
            "Welche Tabelle soll übernommen werden?")
            .arg(QDir::toNativeSeparators(file));
    const QString title = QStringLiteral("Tabelle wählen");
    if (ModalSeam::IsEnabled()) {
        const ModalAnswer answer = ModalSeam::Answer({ModalRequest::Kind::Dialog, question, title});
        return answer.result == IDOK ? answer.text : QString();
    }
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QLabel(question, &dialog);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto* label = new QLabel(QStringLiteral("&Tabellen:"), &dialog);
    auto* list = new QListWidget(&dialog);
    list->addItems(tables);
    list->setCurrentRow(0);
    label->setBuddy(list);
    layout->addWidget(label);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    list->setFocus();
    // Wide enough for a file's path on one line, as the other dialogs are for their texts.
    dialog.setMinimumWidth(dialog.fontMetrics().averageCharWidth() * 60);
    if (dialog.exec() != QDialog::Accepted || !list->currentItem()) {
        return {};
    }
    return list->currentItem()->text();
}
