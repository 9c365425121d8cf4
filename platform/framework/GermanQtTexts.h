#pragma once

#include <QTranslator>
#include <memory>

// Qt's own German texts, as the program's dialogs and messages show them, with the program's
// words where Qt's translation says otherwise: a folder is an "Ordner" here, never a
// "Verzeichnis", and a full disk is said as the program's own messages say it.
class GermanQtTexts : public QTranslator {
public:
    explicit GermanQtTexts(QObject* parent = nullptr);
    ~GermanQtTexts() override;

    // Loads Qt's German translation; false when it is not installed.
    bool Load();

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override;
    bool isEmpty() const override;

private:
    std::unique_ptr<QTranslator> m_pQt;
};
