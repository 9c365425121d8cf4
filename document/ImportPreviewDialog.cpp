#include "ImportPreviewDialog.h"

#include <AfxRes.h>
#include <ModalSeam.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

namespace {

// Enough records to see what arrives, few enough to read a large file's start only.
constexpr std::size_t kPreviewRecords = 8;

const std::array<ColumnTarget, 6> kTargets{ColumnTarget::Issue,   ColumnTarget::Magazine,
                                           ColumnTarget::Article, ColumnTarget::Page,
                                           ColumnTarget::Year,    ColumnTarget::None};
const std::array<TextEncoding, 4> kEncodings{TextEncoding::Utf8, TextEncoding::Windows1252,
                                             TextEncoding::Utf16LE, TextEncoding::Utf16BE};
const std::array<std::pair<char, const char*>, 3> kSeparators{
    {{';', "Semikolon ( ; )"}, {',', "Komma ( , )"}, {'\t', "Tabulator"}}};

QString FormatName(ExchangeFormat format) {
    switch (format) {
        case ExchangeFormat::Csv:
            return QStringLiteral("CSV");
        case ExchangeFormat::Ris:
            return QStringLiteral("RIS");
        case ExchangeFormat::BibTex:
            return QStringLiteral("BibTeX");
        case ExchangeFormat::None:
            break;
    }
    return {};
}

QString OneLine(const QString& text) {
    QString line = text.simplified();
    return line.size() > 60 ? line.first(59) + QStringLiteral("…") : line;
}

}  // namespace

ImportPreviewDialog::ImportPreviewDialog(const QString& source) : m_strSource(source) {
    m_preview = ImportPreview::Of(m_strSource, m_chosen, kPreviewRecords);
    Build();
    Refresh(true);
}

ImportPreviewDialog::~ImportPreviewDialog() = default;

QString ImportPreviewDialog::Text() const {
    QStringList parts;
    for (const ImportColumn& column :
         m_preview.settings.columns.value_or(std::vector<ImportColumn>())) {
        parts << column.heading + QStringLiteral(" → ") + TargetName(column.target);
    }
    QString text = parts.join(QStringLiteral("; "));
    if (!m_preview.error.isEmpty()) {
        text += QLatin1Char('\n') + m_preview.error;
    }
    return text;
}

void ImportPreviewDialog::Build() {
    m_pDialog = std::make_unique<QDialog>(QApplication::activeWindow());
    QDialog* dialog = m_pDialog.get();
    const QString name = QFileInfo(m_strSource).fileName();
    dialog->setWindowTitle(QStringLiteral("Datei importieren – %1").arg(name));
    auto* layout = new QVBoxLayout(dialog);

    auto* intro = new QLabel(
        QStringLiteral("„%1“ (%2) wird in einen neuen Katalog importiert. Legen Sie fest, welche "
                       "Spalte in welches Feld kommt; die Vorschau zeigt die ersten Datensätze so, "
                       "wie sie übernommen werden.")
            .arg(QDir::toNativeSeparators(name), FormatName(m_preview.format)),
        dialog);
    intro->setTextFormat(Qt::PlainText);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* form = new QFormLayout;
    m_pEncoding = new QComboBox(dialog);
    for (const TextEncoding encoding : kEncodings) {
        m_pEncoding->addItem(EncodingName(encoding), static_cast<int>(encoding));
    }
    auto* encodingLabel = new QLabel(QStringLiteral("&Zeichensatz:"), dialog);
    encodingLabel->setBuddy(m_pEncoding);
    form->addRow(encodingLabel, m_pEncoding);
    m_pSeparator = new QComboBox(dialog);
    for (const auto& [separator, shown] : kSeparators) {
        m_pSeparator->addItem(QString::fromUtf8(shown), static_cast<int>(separator));
    }
    m_pSeparatorLabel = new QLabel(QStringLiteral("&Trennzeichen:"), dialog);
    m_pSeparatorLabel->setBuddy(m_pSeparator);
    form->addRow(m_pSeparatorLabel, m_pSeparator);
    m_pHeader =
        new QCheckBox(QStringLiteral("&Erste Zeile enthält die Spaltenüberschriften"), dialog);
    form->addRow(m_pHeader);
    layout->addLayout(form);
    const bool csv = m_preview.format == ExchangeFormat::Csv;
    m_pSeparatorLabel->setVisible(csv);
    m_pSeparator->setVisible(csv);
    m_pHeader->setVisible(csv);

    m_pColumnsLabel = new QLabel(QStringLiteral("&Spalten und ihre Felder:"), dialog);
    layout->addWidget(m_pColumnsLabel);
    auto* scroll = new QScrollArea(dialog);
    scroll->setWidgetResizable(true);
    m_pColumns = new QWidget(scroll);
    m_pColumnGrid = new QGridLayout(m_pColumns);
    m_pColumnGrid->setColumnStretch(1, 1);
    scroll->setWidget(m_pColumns);
    // Room for six columns at once; the rest scroll.
    scroll->setMinimumHeight(QComboBox().sizeHint().height() * 6 + m_pColumnGrid->spacing() * 7);
    layout->addWidget(scroll, 1);

    auto* recordsLabel = new QLabel(QStringLiteral("&Vorschau der ersten Datensätze:"), dialog);
    m_pRecords = new QTableWidget(0, 4, dialog);
    m_pRecords->setHorizontalHeaderLabels({QStringLiteral("Zeitschriftennummer"),
                                           QStringLiteral("Zeitschriftenname"),
                                           QStringLiteral("Artikelname"), QStringLiteral("Seite")});
    m_pRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pRecords->setTabKeyNavigation(false);
    m_pRecords->setWordWrap(false);
    m_pRecords->setTextElideMode(Qt::ElideRight);
    // Number and page take what they need, magazine and title share the rest.
    QHeaderView* header = m_pRecords->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    header->setSectionResizeMode(2, QHeaderView::Stretch);
    header->setSectionResizeMode(3, QHeaderView::ResizeToContents);
    m_pRecords->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pRecords->setMinimumHeight(dialog->fontMetrics().height() * 12);
    recordsLabel->setBuddy(m_pRecords);
    layout->addWidget(recordsLabel);
    layout->addWidget(m_pRecords, 1);

    m_pError = new QLabel(dialog);
    m_pError->setTextFormat(Qt::PlainText);
    m_pError->setWordWrap(true);
    m_pError->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(m_pError);

    auto* buttons = new QDialogButtonBox(dialog);
    m_pImport = buttons->addButton(QStringLiteral("&Importieren"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    m_pImport->setDefault(true);
    QObject::connect(m_pImport, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    layout->addWidget(buttons);

    QObject::connect(m_pEncoding, &QComboBox::currentIndexChanged, dialog, [this] {
        m_chosen.encoding = static_cast<TextEncoding>(m_pEncoding->currentData().toInt());
        m_chosen.columns.reset();
        Refresh(true);
    });
    QObject::connect(m_pSeparator, &QComboBox::currentIndexChanged, dialog, [this] {
        m_chosen.separator = static_cast<char>(m_pSeparator->currentData().toInt());
        m_chosen.columns.reset();
        Refresh(true);
    });
    QObject::connect(m_pHeader, &QCheckBox::toggled, dialog, [this](bool on) {
        m_chosen.header = on;
        m_chosen.columns.reset();
        Refresh(true);
    });
    // Wide enough for a title and its magazine side by side.
    dialog->resize(dialog->fontMetrics().averageCharWidth() * 120,
                   dialog->fontMetrics().height() * 44);
    m_pImport->setFocus();
}

void ImportPreviewDialog::Refresh(bool columnsToo) {
    m_preview = ImportPreview::Of(m_strSource, m_chosen, kPreviewRecords);
    {
        const QSignalBlocker encodingBlocker(m_pEncoding);
        const QSignalBlocker separatorBlocker(m_pSeparator);
        const QSignalBlocker headerBlocker(m_pHeader);
        const ImportSettings& read = m_preview.settings;
        if (read.encoding) {
            m_pEncoding->setCurrentIndex(m_pEncoding->findData(static_cast<int>(*read.encoding)));
        }
        if (read.separator) {
            m_pSeparator->setCurrentIndex(
                m_pSeparator->findData(static_cast<int>(*read.separator)));
        }
        m_pHeader->setChecked(read.header.value_or(false));
    }
    if (columnsToo) {
        FillColumns();
    }
    FillRecords();
    m_pError->setText(m_preview.error);
    m_pError->setVisible(!m_preview.error.isEmpty());
    m_pImport->setEnabled(m_preview.error.isEmpty());
}

void ImportPreviewDialog::FillColumns() {
    for (QComboBox* target : m_targets) {
        target->disconnect();
    }
    m_targets.clear();
    while (QLayoutItem* item = m_pColumnGrid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    int row = 0;
    for (const ImportColumn& column :
         m_preview.settings.columns.value_or(std::vector<ImportColumn>())) {
        auto* heading = new QLabel(
            QString(column.heading).replace(QLatin1Char('&'), QStringLiteral("&&")), m_pColumns);
        auto* example = new QLabel(OneLine(column.example), m_pColumns);
        example->setTextFormat(Qt::PlainText);
        example->setEnabled(false);
        // A long example gives way before the field's choice does.
        example->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        auto* target = new QComboBox(m_pColumns);
        for (const ColumnTarget choice : kTargets) {
            target->addItem(TargetName(choice), static_cast<int>(choice));
        }
        target->setCurrentIndex(target->findData(static_cast<int>(column.target)));
        target->setAccessibleName(column.heading);
        heading->setBuddy(target);
        m_pColumnGrid->addWidget(heading, row, 0);
        m_pColumnGrid->addWidget(example, row, 1);
        m_pColumnGrid->addWidget(target, row, 2);
        QObject::connect(target, &QComboBox::currentIndexChanged, m_pColumns, [this] {
            TakeColumnChoices();
            Refresh(false);
        });
        m_targets.push_back(target);
        ++row;
    }
    m_pColumnGrid->setRowStretch(row, 1);
    m_pColumnsLabel->setBuddy(m_targets.empty() ? nullptr : m_targets.front());
    // The tab order follows the columns from top to bottom, then the preview.
    QWidget* previous = m_pHeader;
    for (QComboBox* target : m_targets) {
        QWidget::setTabOrder(previous, target);
        previous = target;
    }
    QWidget::setTabOrder(previous, m_pRecords);
}

void ImportPreviewDialog::TakeColumnChoices() {
    std::vector<ImportColumn> columns;
    const std::vector<ImportColumn> shown =
        m_preview.settings.columns.value_or(std::vector<ImportColumn>());
    for (std::size_t i = 0; i < m_targets.size() && i < shown.size(); ++i) {
        columns.push_back(
            {shown[i].heading, static_cast<ColumnTarget>(m_targets[i]->currentData().toInt())});
    }
    m_chosen.columns = std::move(columns);
}

void ImportPreviewDialog::FillRecords() {
    m_pRecords->setRowCount(static_cast<int>(m_preview.records.size()));
    for (std::size_t row = 0; row < m_preview.records.size(); ++row) {
        for (std::size_t field = 0; field < 4; ++field) {
            auto* item = new QTableWidgetItem(OneLine(m_preview.records[row][field]));
            item->setToolTip(m_preview.records[row][field]);
            m_pRecords->setItem(static_cast<int>(row), static_cast<int>(field), item);
        }
    }
}

int ImportPreviewDialog::DoModal() {
    if (ModalSeam::IsEnabled()) {
        const ModalAnswer answer =
            ModalSeam::Answer({ModalRequest::Kind::Dialog, Text(), m_pDialog->windowTitle(), 0});
        if (answer.fill) {
            answer.fill(m_pDialog.get());
        }
        return answer.result == IDOK && m_pImport->isEnabled() ? IDOK : IDCANCEL;
    }
    return m_pDialog->exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}
