#include "CConflictDlg.h"

#include <AfxRes.h>
#include <DialogHelp.h>
#include <DialogWindow.h>
#include <ModalSeam.h>

#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "res/Resource.h"

namespace {

const std::array<QString, 4> kFieldNames{QStringLiteral("Zeitschriftennummer"),
                                         QStringLiteral("Zeitschriftenname"),
                                         QStringLiteral("Artikelname"), QStringLiteral("Seite")};

QString Heading(const QString& record) {
    return QStringLiteral(
               "Der %1 wurde inzwischen von einem anderen Programm oder Benutzer geändert. "
               "Welche Texte sollen gespeichert werden?")
        .arg(record);
}

QLineEdit* ReadOnlyText(const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setReadOnly(true);
    edit->setCursorPosition(0);
    return edit;
}

}  // namespace

CConflictDlg::CConflictDlg(const QString& recordName, const std::vector<ConflictField>& fields)
    : m_strRecord(recordName), m_fields(fields) {}

QString CConflictDlg::Text() const {
    QString text = Heading(m_strRecord);
    for (const ConflictField& f : m_fields) {
        text += QStringLiteral("\n\n%1:\nIhre Eingabe: „%2“\nJetzt gespeichert: „%3“")
                    .arg(kFieldNames[f.field], f.typed, f.stored);
    }
    return text;
}

int CConflictDlg::DoModal() {
    const QString caption = QStringLiteral("Periolex");
    if (ModalSeam::IsEnabled()) {
        return ModalSeam::Answer({ModalRequest::Kind::Dialog, Text(), caption, 0, IDH_CONFLICT})
            .result;
    }
    QDialog dialog;
    AfxMakeDialogWindow(&dialog);
    dialog.setWindowTitle(caption);
    AfxEnableDialogHelp(&dialog, IDH_CONFLICT);
    auto* layout = new QVBoxLayout(&dialog);
    auto* heading = new QLabel(Heading(m_strRecord), &dialog);
    heading->setWordWrap(true);
    layout->addWidget(heading);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("<b>Ihre Eingabe</b>"), &dialog), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("<b>Jetzt gespeichert</b>"), &dialog), 0, 2);
    int row = 1;
    for (const ConflictField& f : m_fields) {
        auto* name = new QLabel(kFieldNames[f.field] + QLatin1Char(':'), &dialog);
        QLineEdit* typed = ReadOnlyText(f.typed, &dialog);
        QLineEdit* stored = ReadOnlyText(f.stored, &dialog);
        typed->setAccessibleName(kFieldNames[f.field] + QStringLiteral(", Ihre Eingabe"));
        stored->setAccessibleName(kFieldNames[f.field] + QStringLiteral(", jetzt gespeichert"));
        name->setBuddy(typed);
        grid->addWidget(name, row, 0);
        grid->addWidget(typed, row, 1);
        grid->addWidget(stored, row, 2);
        ++row;
    }
    grid->setColumnMinimumWidth(1, 200);
    grid->setColumnMinimumWidth(2, 200);
    layout->addLayout(grid);

    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* mine =
        buttons->addButton(QStringLiteral("&Meine Eingabe speichern"), QDialogButtonBox::YesRole);
    QPushButton* theirs = buttons->addButton(QStringLiteral("&Gespeicherte Texte übernehmen"),
                                             QDialogButtonBox::NoRole);
    QPushButton* back =
        buttons->addButton(QStringLiteral("&Zurück zum Formular"), QDialogButtonBox::RejectRole);
    // Nothing is decided by a stray Enter: the safe answer is the default.
    back->setDefault(true);
    back->setFocus();
    layout->addWidget(buttons);

    int result = IDCANCEL;
    QObject::connect(mine, &QPushButton::clicked, &dialog, [&] {
        result = IDYES;
        dialog.accept();
    });
    QObject::connect(theirs, &QPushButton::clicked, &dialog, [&] {
        result = IDNO;
        dialog.accept();
    });
    QObject::connect(back, &QPushButton::clicked, &dialog, &QDialog::reject);
    dialog.exec();
    return result;
}
